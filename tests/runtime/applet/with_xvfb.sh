#!/usr/bin/env bash
# Runs a command inside a private X server of its own, which is stopped
# afterwards; applets need a display. The server picks a free display number
# itself (-displayfd), so runs side by side never collide.
#
#   with_xvfb.sh COMMAND [ARGS...]
#
# Exits 77 (skipped) when Xvfb is not installed.
set -u
if ! command -v Xvfb >/dev/null; then
  echo "SKIP: Xvfb is not installed (Debian package xvfb)"
  exit 77
fi
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dfile" >/dev/null 2>&1 &
xpid=$!
cleanup() {
  kill "$xpid" 2>/dev/null
  wait "$xpid" 2>/dev/null
  rm -f "$dfile"
}
trap cleanup EXIT
for _ in $(seq 1 200); do
  [ -s "$dfile" ] && break
  kill -0 "$xpid" 2>/dev/null || break
  sleep 0.05
done
n=$(head -n 1 "$dfile")
if [ -z "$n" ]; then
  echo "FAIL: Xvfb did not start"
  exit 1
fi
export DISPLAY=":$n"
"$@"
