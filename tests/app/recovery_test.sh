#!/usr/bin/env bash
# Unsaved work survives a kill: edits are written to the recovery file a few
# seconds after they are made, kill -9 ends the program, the next start asks
# whether to restore them, and Save then writes them into the project file.
#
#   recovery_test.sh PROGRAM_FOLDER PROJECT_FILE
set -u
app=$(readlink -f "$1")
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: needs $tool (scripts/install-deps.sh --tests installs it)"; exit 77; }
done
work=$(mktemp -d)
. "$(dirname "$(readlink -f "$0")")/x11kit.sh"
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; sed 's/^/  /' "$work/log" >&2; exit 1; }
cp -a "$app" "$work/prog"
printf '[GLOBAL]\r\nSplashState=No Splash\r\n' > "$work/prog/QM.INI"
cp "$2" "$work/menu.qmf"
# The recent projects and the desktop's list of recent files stay here too.
export XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb
state=$work/state/quillmap
start_xvfb || exit 1
start() { (cd "$work/prog" && exec ./quillmap "$@" >>"$work/log" 2>&1) & apid=$!; }
# Waits for a visible window whose title matches $1; prints its id.
wait_window() {
  local i w
  for i in $(seq 1 150); do
    w=$(xdotool search --all --onlyvisible --pid "$apid" --name "$1" 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}

start "$work/menu.qmf"
main=$(wait_window 'menu.qmf - Quillmap') || fail "the project did not open"
sleep 0.5
# Into the Title area (at 46, 8 of the surface, which starts 56 down).
xdotool mousemove --window "$main" 120 76 click 1
sleep 0.5
xdotool type --delay 30 'Kept9'
for _ in $(seq 1 150); do
  grep -qs 'Kept9' "$state"/*.qmrecover && break
  sleep 0.1
done
grep -qs 'Kept9' "$state"/*.qmrecover || fail "no recovery file with the edit in $state"
kill -9 "$apid"; wait "$apid" 2>/dev/null
grep -q 'Kept9' "$work/menu.qmf" && fail "the edit reached the project without Save"

start
ask=$(wait_window '^Recover unsaved design$') || fail "the next start did not offer the design back"
sleep 0.3
for _ in $(seq 1 20); do
  xdotool search --all --onlyvisible --pid "$apid" --name '^Recover unsaved design$' >/dev/null 2>&1 || break
  xdotool key --window "$ask" alt+y
  sleep 0.3
done
main=$(wait_window 'menu.qmf - Quillmap') || fail "the restored design does not carry its file name"
# Save (the fourth tool button) shows its dialog with the project's name.
sleep 0.5
xdotool mousemove --window "$main" 196 28 click 1
save=$(wait_window '^Save As$') || fail "Save showed no dialog"
sleep 0.5
xdotool key --window "$save" Return
for _ in $(seq 1 50); do
  grep -q 'Kept9' "$work/menu.qmf" && break
  # Replacing the file may be confirmed first.
  confirm=$(xdotool search --all --onlyvisible --pid "$apid" --name '^Save As$' 2>/dev/null | grep -v "^$save\$" | head -1)
  [ -n "$confirm" ] && xdotool key --window "$confirm" alt+y
  sleep 0.2
done
grep -q 'Kept9' "$work/menu.qmf" || fail "Save did not write the restored edits"
ls "$state"/*.qmrecover >/dev/null 2>&1 && fail "the recovery file outlived the Save: $(ls "$state")"
echo "PASS: edits, kill -9, restore, Save"
