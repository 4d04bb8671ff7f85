#!/bin/sh
# Installs what the Windows build and its Wine tests need: the MinGW-w64 cross compilers (i686 for
# the plug-in, x86-64 for the 64-bit stand-in build), 32- and 64-bit Wine with its fonts, Xvfb for
# a display, Python for the resource check, ImageMagick for screenshots.  Non-interactive; does
# nothing when everything is there.  Run as root on Debian or Ubuntu.
set -eu

export DEBIAN_FRONTEND=noninteractive

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=""
for p in g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine xvfb xauth python3 imagemagick; do
  have "$p" || missing="$missing $p"
done
if [ -z "$missing" ]; then
  echo "install.sh: everything is installed"
  exit 0
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $missing
