#!/bin/sh
# Builds the program and starts it with a prepared program folder as working directory.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
JOBS="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZORVI_BUILD_TESTS=OFF -DZORVI_BUILD_BENCH=OFF
cmake --build build/release -j "$JOBS"
if [ ! -x build/release/app/zorvi ]; then
  echo "The operator window is not built yet: only the engine and services exist."
  exit 0
fi
PROGRAM_FOLDER="build/release/program"
mkdir -p "$PROGRAM_FOLDER"
if [ -d data/html ]; then cp -r data/html "$PROGRAM_FOLDER/"; fi
if [ "$(id -u)" = "0" ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cd "$PROGRAM_FOLDER"
exec ../app/zorvi
