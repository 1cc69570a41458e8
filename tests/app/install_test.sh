#!/usr/bin/env bash
# The installed program as a user meets it: installed into a temporary
# prefix, its desktop entry, MIME type and metadata validated, started the
# way the desktop menu starts it from a fresh home folder with a project
# file, and its Compile compared with `quillmap --compile` run without any
# display on the same project.
#
#   install_test.sh BUILD_DIR
set -u
build=$(readlink -f "$1")
id=io.github.quillmap.quillmap
for tool in desktop-file-validate appstreamcli update-mime-database Xvfb xdotool xclip import identify; do
  command -v "$tool" >/dev/null || { echo "SKIP: needs $tool (scripts/install-deps.sh --tests installs it)"; exit 77; }
done
work=$(mktemp -d)
. "$(dirname "$(readlink -f "$0")")/x11kit.sh"
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }

# --- The files the desktop reads -------------------------------------------
desktop=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
grep -qx 'MimeType=application/x-quillmap;' "$desktop" || fail "the desktop entry has no project MIME type"
out=$(appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) ||
  { echo "$out"; fail "appstreamcli validate"; }
if echo "$out" | grep -Eq '^[EWIP]: '; then echo "$out"; fail "appstreamcli reports issues"; fi
mime=$prefix/share/mime
[ -f "$mime/packages/$id.xml" ] || fail "no MIME package $id.xml"
update-mime-database "$mime" 2>"$work/mime.err" || { cat "$work/mime.err"; fail "update-mime-database"; }
# Any case of .qmf (no case-sensitive flag), and the first line of a project.
grep -qx '50:application/x-quillmap:\*\.qmf' "$mime/globs2" || fail "no *.qmf glob in $(cat "$mime/globs2")"
grep -aq '"Quillmap Version:"' "$mime/magic" || fail "no magic for project files"
for size in 16 48 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x${size}" ] || fail "icon $icon"
done
# An installed program loads its modules from its own place only: no path
# into the build tree is among its constants (its debugging data may name
# the sources).
for f in "$prefix/bin/quillmap" "$prefix"/lib/*/quillmap/*; do
  readelf -p .rodata "$f" | grep -qF "$build" && fail "$f names the build folder $build"
done
[ -f "$prefix/share/quillmap/java/quillmap.js" ] && [ -f "$prefix/share/quillmap/help/QUILLMAP.HLP" ] ||
  fail "the program data is not in share/quillmap"

# --- A fresh home folder and a project in it ----------------------------------
home=$work/home
mkdir -p "$home/menus"
user=$home/.local/share/quillmap
crlf() { printf '%s\r\n' "$@"; }
{
  crlf '"Quillmap Version:"' '"v1.0"' '"Globals:"'
  crlf '"8"' '"46"' '"41"' '"300"' '"56"' '"46"' '"90"' '"180"' '"0"' '"16777215"'
  crlf '"28"' '"Times Roman"' '"Bold Italic"' '"11"' '"Helvetica"' '"Italic"' '"true"'
  crlf '"Background:"' '"Ünïcödé menus for a café whose title is far too long for its area"'
  crlf '"First line with enough words to wrap in the narrow Blurb area' '' '東京の地図と日本語の長い文章を折り返すためのテキスト' 'last"'
  crlf '""' '"true"'
  crlf '"Button:"' '"150"' '"150"' '"65"' '"156"'
  crlf "\"$user/images/default.gif\"" "\"$user/images/mouse.gif\""
  crlf '"Home"' '"A blurb for the first button, long enough to be wrapped twice or more"'
  crlf '""' '"https://example.org/"' '"false"' "\"$user/sound/click.au\"" '"_self"'
  crlf '"Button:"' '"220"' '"10"' '"65"' '"156"'
  crlf '"missing.gif"' '"missing-over.gif"'
  crlf '"A title that is longer than the Title area can show on one line"' '"short"'
  crlf '""' '"next.html"' '"true"' '"nowhere.au"' '"_blank"'
} >"$home/menus/Cafe.qmf"
cp "$home/menus/Cafe.qmf" "$work/Cafe-original.qmf"

# --- The command line, with no display at all ---------------------------------
(cd "$home" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_DATA_HOME HOME="$home" \
   "$prefix/bin/quillmap" --compile menus/Cafe.qmf -o "$work/cli.html") 2>"$work/cli.err" ||
  { cat "$work/cli.err"; fail "quillmap --compile"; }
grep -q 'deftag' "$work/cli.html" || fail "no block from --compile"
[ ! -e "$user" ] || fail "--compile made the user's folder"

# --- The window, started as the desktop menu starts it -------------------------
start_xvfb || exit 1
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
command=${exec_line//%f/menus/Cafe.qmf}
(cd "$home" && env -u XDG_DATA_HOME HOME="$home" PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=xcb \
   $command >"$work/log" 2>&1) & apid=$!

# After the splash the window shows the file, by its name on disk.
main=$(wait_title "$home/menus/Cafe.qmf - Quillmap") || exit 1
for entry in images sound java help bomb.wav; do
  [ "$(readlink -f "$user/$entry")" = "$prefix/share/quillmap/$entry" ] || fail "$user/$entry is no link to the installed $entry"
done
[ -d "$user/tmp" ] && [ -f "$user/QM.INI" ] || fail "the user's folder has no tmp/ or QM.INI"
# A new design's default picture is a real file, and the first button shows it.
[ -f "$(readlink -f "$user/images/default.gif")" ] || fail "the default picture is no file"
import -window "$main" "$work/window.png" 2>/dev/null || fail "no screenshot"
colours=$(convert "$work/window.png" -crop 156x65+150+206 +repage -format %k info:)
[ "$colours" -gt 16 ] || fail "the first button shows no picture ($colours colours)"

# Compile: the sound copied message, then No to the runtime files.
xdotool mousemove --window "$main" 252 28 click 1
info=$(wait_title "Information") || exit 1
xdotool key Return
wait_title "Information" "$info" >/dev/null || exit 1
xdotool key Escape
for i in $(seq 1 100); do
  xclip -o -selection clipboard -t UTF8_STRING >"$work/gui.html" 2>/dev/null && [ -s "$work/gui.html" ] && break
  sleep 0.1
done
cmp "$work/gui.html" "$work/cli.html" || {
  diff <(tr -d '\r' <"$work/gui.html") <(tr -d '\r' <"$work/cli.html") >&2
  fail "the window's Compile and --compile built different blocks"
}
[ -f "$home/menus/click.au" ] || fail "Compile copied no sound beside the project"
echo "PASS: installed, validated, opened from the menu; Compile and --compile agree ($(wc -l <"$work/cli.html") lines)"
