#!/bin/sh
# Installs what the Windows build and its Wine end-to-end tests need: the i686 MinGW cross
# compiler, 32-bit Wine, Xvfb for a display, and ImageMagick for screenshots.  Non-interactive;
# does nothing for packages that are already there.  Run as root (Debian or Ubuntu).
set -eu

export DEBIAN_FRONTEND=noninteractive

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=""
for p in g++-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb xauth imagemagick x11-apps; do
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
