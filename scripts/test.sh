#!/bin/sh
# Builds everything with warnings as errors and runs every test headless.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
JOBS="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVI_WERROR=ON
cmake --build build/test -j "$JOBS"
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTEST_FUNCTION_TIMEOUT=120000
ctest --test-dir build/test --output-on-failure -j "$JOBS"
