#!/usr/bin/env bash
# The titles that the X server holds for the program's windows must be
# exactly the captions the program sets. QWidget::windowTitle() cannot show
# this: the X11 platform appends the application's display name on its way
# to the server, so only the server's copy tells.
#
#   window_titles.sh PROGRAM_FOLDER
set -u
app=$(readlink -f "$1")
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "SKIP: needs Xvfb and xdotool"; exit 77
fi
work=$(mktemp -d)
cleanup() {
  [ -n "${apid:-}" ] && kill "$apid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp -a "$app" "$work/prog"
printf '[GLOBAL]\r\nSplashState=No Splash\r\n' > "$work/prog/QM.INI"

# Xvfb picks a free display itself and tells its number once it accepts
# connections, so tests running side by side never share one.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 & xpid=$!
read -r -t 20 n <"$work/displayfd" || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$n
(cd "$work/prog" && QT_QPA_PLATFORM=xcb exec ./quillmap >"$work/log" 2>&1) & apid=$!

titles() {
  local w
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do xdotool getwindowname "$w"; done
}
# Waits until a visible window has exactly this title; prints its id.
wait_title() {
  local i w
  for i in $(seq 1 300); do
    for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      if [ "$(xdotool getwindowname "$w")" = "$1" ]; then echo "$w"; return 0; fi
    done
    sleep 0.1
  done
  echo "FAIL: no window titled '$1'; the titles are:" >&2
  titles | sed 's/^/  /' >&2
  echo "program output:" >&2; sed 's/^/  /' "$work/log" >&2
  return 1
}

main=$(wait_title "Untitled - Quillmap v1.1") || exit 1
# Compile on an untitled design asks to save first, then shows Save As.
# The Compile button sits at (224, 0) of the 450-wide client area.
xdotool mousemove --window "$main" 252 28 click 1
wait_title "Information" >/dev/null || exit 1
xdotool key Return
save=$(wait_title "Save As") || exit 1
xdotool key --window "$save" Escape
if titles | grep -q -- '—'; then
  echo "FAIL: a title carries an appended name:" >&2; titles >&2; exit 1
fi
echo "PASS: titles are exactly the captions"
