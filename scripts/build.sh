#!/usr/bin/env bash
# Configures (once) and builds Quillmap with Ninja into ./build; the program
# folder is assembled in build/app.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLMAP_BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)"
