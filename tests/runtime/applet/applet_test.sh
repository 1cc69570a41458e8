#!/usr/bin/env bash
# The applet runtime's test: a copy of the program folder, a private X
# server, and the Java harness, which writes projects, has the program's
# command line build their blocks and runs the applet on them.
#
#   applet_test.sh JAVA HARNESS_CLASSES PROGRAM_FOLDER PROGRAM SCREENSHOT_FOLDER
#   applet_test.sh --skip REASON
set -u
if [ "${1:-}" = "--skip" ]; then
  echo "SKIP: ${2:-}"
  exit 77
fi
[ $# -eq 5 ] || { sed -n '2,8p' "$0"; exit 2; }
java=$1 classes=$2 app=$3 program=$4 shots=$5
if [ ! -f "$app/java/quillmap.zip" ]; then
  echo "FAIL: $app/java/quillmap.zip is missing: the applet runtime was not built"
  exit 1
fi
# A headless Java runtime has no X11 toolkit, and an applet is a window.
jhome=$(dirname "$(dirname "$(readlink -f "$(command -v "$java")")")")
if [ ! -e "$jhome/lib/libawt_xawt.so" ]; then
  echo "SKIP: the Java runtime in $jhome has no X11 toolkit (install openjdk-17-jre)"
  exit 77
fi
here=$(dirname "$(readlink -f "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "$app" "$work/app"
"$here/with_xvfb.sh" "$java" -cp "$classes" qmharness.AppletRuntimeTest \
  "$work/app" "$program" "$work" "$shots"
