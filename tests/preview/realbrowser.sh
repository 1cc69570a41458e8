#!/usr/bin/env bash
# Runs the real-browser Preview test in a private X server. Skips (exit 77)
# with the reason when Chromium or Xvfb is missing.
set -u
test_binary=$1
if [ ! -x /usr/lib/chromium/chromium ]; then
  echo "SKIP: chromium is not installed (Debian package chromium)"
  exit 77
fi
if ! command -v xvfb-run >/dev/null; then
  echo "SKIP: xvfb-run is not installed (Debian package xvfb)"
  exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$test_binary"
