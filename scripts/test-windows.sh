#!/bin/sh
# Cross-builds the engine, the services without Qt and the command-line tools for 64-bit
# Windows with Debian's mingw-w64 toolchain, and runs their GoogleTest suites under Wine,
# headless, in a temporary Wine prefix. Called by scripts/test.sh.
set -e
cd "$(dirname "$0")/.."
JOBS="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DZORVI_WERROR=ON -DZORVI_BUILD_GUI=OFF -DZORVI_BUILD_BENCH=OFF
cmake --build build/windows -j "$JOBS"

WINEPREFIX="$(mktemp -d)"
export WINEPREFIX
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
# The first start makes the prefix; done once here so no test pays for it.
wineboot --init >/dev/null 2>&1 || true
ctest --test-dir build/windows --output-on-failure -j "$JOBS"
