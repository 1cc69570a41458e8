#!/usr/bin/env bash
# Starts Quillmap again and again and counts the starts that show the main
# window within a time limit, in each splash mode, under a window manager
# (openbox) and without one, on a private Xvfb display.
#
#   bench/startup/startloop.sh [BUILD_DIR] [RUNS] [LIMIT_S] [MODES...]
#
# MODES are "wm" and "bare" (default both). Prints one line per splash mode
# and window manager: "<wm> <mode>: N of RUNS showed the window (slowest S s)"
# and exits 1 when any start failed.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-100}
limit=${3:-5}
shift $(( $# < 3 ? $# : 3 ))
wms=("$@")
[ ${#wms[@]} -gt 0 ] || wms=(wm bare)
work=$(mktemp -d)
xvfb="" wm=""
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$build/app" "$work/app"
# -noreset: with no window manager, the server would otherwise reset each
# time its last client leaves, and a program starting in that moment finds no
# display (a desktop always has clients: its window manager, its panel).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
export XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
chmod 700 "$work"

failed=0
for wmname in "${wms[@]}"; do
  if [ "$wmname" = wm ]; then
    command -v openbox >/dev/null || { echo "SKIP: needs openbox (scripts/install-deps.sh --tests installs it)"; exit 77; }
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    sleep 1
  fi
  for mode in "Splash And Sound" "Splash (No Sound)" "No Splash"; do
    printf '[GLOBAL]\r\nSplashState=%s\r\n' "$mode" > "$work/app/QM.INI"
    ok=0 slowest=0
    for _ in $(seq "$runs"); do
      start=$(date +%s%N)
      (cd "$work/app" && exec ./quillmap >/dev/null 2>&1) &
      pid=$!
      shown=""
      while [ $(( ($(date +%s%N) - start) / 1000000 )) -lt $(( limit * 1000 )) ]; do
        if xdotool search --all --onlyvisible --pid "$pid" --name ' - Quillmap' >/dev/null 2>&1; then
          shown=$(( ($(date +%s%N) - start) / 1000000 ))
          break
        fi
        sleep 0.05
      done
      if [ -n "$shown" ]; then
        ok=$((ok + 1))
        [ "$shown" -gt "$slowest" ] && slowest=$shown
      fi
      kill -9 "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      rm -rf "$work/state"
    done
    printf '%s %s: %d of %d showed the window (slowest %d.%03d s)\n' \
      "$wmname" "$mode" "$ok" "$runs" $((slowest / 1000)) $((slowest % 1000))
    [ "$ok" -eq "$runs" ] || failed=1
  done
  if [ -n "$wm" ]; then
    kill "$wm" 2>/dev/null
    wait "$wm" 2>/dev/null
    wm=""
    sleep 0.5
  fi
done
exit $failed
