#!/usr/bin/env bash
# Configures (once) and builds Quillmap with Ninja into ./build; the program
# folder is assembled in build/app. Arguments go to the build: run.sh builds
# only the program folder with "--target quillmap_program".
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLMAP_BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j "$(nproc)" "$@"
