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
. "$(dirname "$(readlink -f "$0")")/x11kit.sh"
trap cleanup EXIT
cp -a "$app" "$work/prog"
printf '[GLOBAL]\r\nSplashState=No Splash\r\n' > "$work/prog/QM.INI"

start_xvfb || exit 1
(cd "$work/prog" && QT_QPA_PLATFORM=xcb exec ./quillmap >"$work/log" 2>&1) & apid=$!

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
