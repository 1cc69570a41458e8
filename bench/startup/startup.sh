#!/usr/bin/env bash
# Start-up of Quillmap against a bare Qt window (a scroll area and a text
# edit): time from exec to the main window mapped, and peak memory, medians
# over RUNS starts of each, taking turns, on a private Xvfb display. The
# program runs in a copy of the program folder whose settings ask for no
# splash.
#
#   bench/startup/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-21}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$build/app" "$work/app"
printf '[GLOBAL]\r\nSplashState=No Splash\r\n' > "$work/app/QM.INI"
# Xvfb picks a free display and writes its number once it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
cd "$work/app"
"$build/bench/startupwatch" 3 "$build/bench/barewindow" >/dev/null   # warm the caches
# The two take turns, so a change in the machine's load falls on both.
"$build/bench/startupwatch" "$runs" "$build/bench/barewindow" -- "$work/app/quillmap"
