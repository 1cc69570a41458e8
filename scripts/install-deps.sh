#!/usr/bin/env bash
# Installs the Debian packages Quillmap needs to build, run and test.
# Idempotent: only packages that are missing are installed.
#
#   install-deps.sh [--tests]
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-image-formats-plugins libgl-dev
  qt6-multimedia-dev
  libmagick++-6.q16-dev
  fonts-liberation
  libbenchmark-dev
  xvfb xauth xdotool xclip imagemagick
  openjdk-17-jdk-headless openjdk-17-jre gcab
  dpkg-dev file
)
# With --tests also what only the tests need: the two browser engines the
# script runtime is tested in and node to drive them. npm comes along unless
# node brought its own (the NodeSource nodejs package carries npm and
# conflicts with Debian's).
if [ "${1:-}" = "--tests" ]; then
  packages+=(chromium firefox-esr nodejs)
  # WebKit (the engine of Safari) is driven through WebKitGTK's WebDriver.
  packages+=(webkit2gtk-driver)
  # The installed program's desktop entry, MIME type and metadata are validated.
  packages+=(desktop-file-utils appstream shared-mime-info)
  # Start-up is checked under a real window manager.
  packages+=(openbox)
  # The package is checked by Debian's own checker.
  packages+=(lintian)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
