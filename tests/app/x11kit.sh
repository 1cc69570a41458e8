# Shared by the tests that run the real program in a private X server.
# Source it after setting $work (a temporary folder); the program's output is
# expected in $work/log.

# Ends the program ($apid) and the X server ($xpid), removes $work.
cleanup() {
  [ -n "${apid:-}" ] && kill "$apid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}

# Starts Xvfb and exports its DISPLAY; sets xpid. Xvfb picks a free display
# itself and tells its number once it accepts connections, so tests running
# side by side never share one.
start_xvfb() {
  local n
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/displayfd" >/dev/null 2>&1 & xpid=$!
  read -r -t 20 n <"$work/displayfd" || { echo "FAIL: Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$n
}

titles() {
  local w
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do xdotool getwindowname "$w"; done
}

# Waits until a visible window has exactly this title (and is not the window
# $2); prints its id.
wait_title() {
  local i w
  for i in $(seq 1 300); do
    for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      if [ "$(xdotool getwindowname "$w")" = "$1" ] && [ "$w" != "${2:-}" ]; then echo "$w"; return 0; fi
    done
    sleep 0.1
  done
  echo "FAIL: no window titled '$1'; the titles are:" >&2
  titles | sed 's/^/  /' >&2
  echo "program output:" >&2; sed 's/^/  /' "$work/log" >&2
  return 1
}
