#!/bin/sh
# Installs the Debian 12 packages the build, the program and the tests need, when missing.
set -e
PACKAGES="cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
qt6-base-dev qt6-webengine-dev qt6-multimedia-dev libgl1-mesa-dev \
gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
fonts-liberation xvfb xauth xdotool libxcb1-dev \
espeak-ng sox pulseaudio pulseaudio-utils poppler-utils \
dpkg-dev desktop-file-utils appstream curl lintian librsvg2-bin file \
g++-mingw-w64-x86-64-posix wine \
qt6-httpserver-dev qt6-websockets-dev libqrencode-dev chromium zbar-tools"
missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
