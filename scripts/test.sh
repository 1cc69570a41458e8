#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite. With
# QUILLMAP_NO_SKIPS set (CI sets it), a test that skips itself fails the run:
# the set-up installs everything the tests need, so a skip there means a
# browser or tool is missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --tests
"$root/scripts/build.sh"
cd "${QUILLMAP_BUILD_DIR:-$root/build}"
mkdir -p Testing
# Twice as many tests as cores: the browser tests spend most of their time
# waiting for a page or a frame, so two per core finish in two thirds of the time.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(( $(nproc) * 2 ))" "$@" | tee Testing/last-run.txt
if [ -n "${QUILLMAP_NO_SKIPS:-}" ] && grep -q '(Skipped)' Testing/last-run.txt; then
  echo "FAIL: tests skipped where the set-up should have installed what they need:" >&2
  grep '(Skipped)' Testing/last-run.txt >&2
  exit 1
fi
