#!/usr/bin/env bash
# The Debian package CPack makes: the program and its desktop files under
# /usr, Depends from the shared libraries plus the fonts of the Title and
# Blurb, and nothing that only the build and the tests need.
#
#   package_test.sh BUILD_DIR
set -u
build=$(readlink -f "$1")
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "SKIP: needs $tool (scripts/install-deps.sh installs dpkg-dev)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/quillmap_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package in $work"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-liberation libqt6widgets6 libqt6gui6 libmagickcore-6.q16; do
  echo "$depends" | grep -q "$needed" || fail "Depends lacks $needed: $depends"
done
if echo "$depends" | grep -Eqi 'chromium|openjdk|jdk|nodejs|firefox'; then fail "Depends names a build or test tool: $depends"; fi
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
for f in ./usr/bin/quillmap ./usr/share/applications/io.github.quillmap.quillmap.desktop \
         ./usr/share/mime/packages/io.github.quillmap.quillmap.xml \
         ./usr/share/metainfo/io.github.quillmap.quillmap.metainfo.xml \
         ./usr/share/icons/hicolor/48x48/apps/io.github.quillmap.quillmap.png \
         ./usr/share/quillmap/images/default.gif ./usr/share/quillmap/java/quillmap.js \
         ./usr/lib/x86_64-linux-gnu/quillmap/libqmsound.so ./usr/lib/x86_64-linux-gnu/quillmap/qmdecode \
         ./usr/share/man/man1/quillmap.1.gz ./usr/share/doc/quillmap/copyright ./usr/share/doc/quillmap/changelog.gz; do
  grep -qx -- "$f" "$work/files" || fail "the package lacks $f"
done
grep -v '^\./usr/' "$work/files" | grep -qv '^\./$' && fail "files outside /usr: $(grep -v '^\./usr/' "$work/files")"
# Debian's own checker: no error and no warning the package does not explain
# in its overrides. The test set-up installs it, so its absence is a failure.
command -v lintian >/dev/null || fail "needs lintian (scripts/install-deps.sh --tests installs it)"
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1
grep -E '^[EW]: ' "$work/lintian" && fail "lintian reports the errors and warnings above"
# The manual page names every option --help names.
mkdir "$work/root" && dpkg-deb -x "$deb" "$work/root"
page=$(gzip -dc "$work/root/usr/share/man/man1/quillmap.1.gz" | sed 's/\\-/-/g')
for option in $("$build/app/quillmap" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
  grep -qF -- "$option" <<<"$page" || fail "the manual page lacks $option"
done
echo "PASS: $(basename "$deb"), Depends: $depends, lintian clean"
