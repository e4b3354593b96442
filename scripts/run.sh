#!/bin/sh
# Builds the program and starts it with a prepared program folder as working directory.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
JOBS="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZORVI_BUILD_TESTS=OFF -DZORVI_BUILD_BENCH=OFF
cmake --build build/release -j "$JOBS"
PROGRAM_FOLDER="build/release/program"
mkdir -p "$PROGRAM_FOLDER"
./scripts/prepare-program-folder.sh "$PROGRAM_FOLDER" build/release/services/qt/audioloop/AudioLoop \
    build/release/tools/zorvi-coupons
if [ "$(id -u)" = "0" ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cd "$PROGRAM_FOLDER"
exec ../app/zorvi
