#!/bin/sh
# Builds everything with warnings as errors and runs every test headless; makes the Debian
# package and starts the unpacked program; cross-builds the core for Windows and runs its
# tests under Wine; then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzzer for a short time.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
JOBS="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTEST_FUNCTION_TIMEOUT=120000

echo "== build and test"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DZORVI_WERROR=ON
cmake --build build/test -j "$JOBS"
ctest --test-dir build/test --output-on-failure -j "$JOBS"

echo "== Debian package: build, unpack, validate, start"
./scripts/test-package.sh build/test

echo "== Windows: cross-build of the engine, services and tools, tests under Wine"
./scripts/test-windows.sh

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DZORVI_WERROR=ON -DZORVI_SANITIZE=ON -DZORVI_BUILD_BENCH=OFF
cmake --build build/sanitize -j "$JOBS"
# The plain pass alone runs the voices and the program folder (shell scripts and recordings)
# and the served page's tests (chromium running our page); the hall server they talk to runs
# under the sanitizers in its own tests and the soak.
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0" \
ZORVI_KILL_ROUNDS=60 \
ctest --test-dir build/sanitize --output-on-failure -j "$JOBS" \
    -E '^(voices_build|program_folder_prepare|served_page_tests)$'

echo "== fuzzers"
./scripts/fuzz.sh "${ZORVI_FUZZ_SECONDS:-15}"
