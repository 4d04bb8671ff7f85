#!/bin/sh
# Installs what the Windows build and its Wine tests need.  Run as root on Debian or Ubuntu;
# non-interactive; does nothing when everything is there.
#
#   tests/wine/install.sh          everything below
#   tests/wine/install.sh i686     only the 32-bit emulation part (./dev i686)
#
# - The 32-bit emulation, for machines whose kernel runs no 32-bit programs: qemu-user (QEMU 8 or
#   newer: bookworm's 7.2 makes every Wine process spin for a minute at start-up, so Debian 12 gets
#   it from bookworm-backports, which is added to apt's sources) and Debian's i686 Linux cross
#   compiler for the unit tests as a 32-bit program.  Never qemu-user-binfmt or binfmt-support:
#   they register system-wide handlers that capture every 32-bit program on the machine; the tests
#   register their own handler in a private namespace (tests/wine/run_e2e.sh).
# - The MinGW-w64 cross compilers (i686 for the plug-in, x86-64 for the 64-bit stand-in build),
#   32- and 64-bit Wine with its fonts, Xvfb for a display, Python for the resource check,
#   ImageMagick for screenshots.
set -eu

export DEBIAN_FRONTEND=noninteractive
what=${1:-all}

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
# Waits for another apt or dpkg run on the machine instead of failing.
apt_get() { apt-get -o DPkg::Lock::Timeout=900 "$@"; }
# The major version of the qemu-user a suite offers ("" when none).
candidate_major() { apt-cache policy qemu-user 2>/dev/null | sed -n "s/^ *Candidate: \(1:\)\{0,1\}\([0-9]*\)\..*/\2/p"; }
installed_major() { dpkg-query -W -f='${Version}' qemu-user 2>/dev/null | sed -n 's/^\(1:\)\{0,1\}\([0-9]*\)\..*/\2/p'; }

updated=""
update() { [ -n "$updated" ] || { apt_get update -qq; updated=yes; }; }

# --- The 32-bit emulation ---------------------------------------------------------------------
install_emulation() {
  major=$(installed_major)
  if [ "${major:-0}" -lt 8 ]; then
    update
    suite=""
    if [ "$(candidate_major)" = "" ] || [ "$(candidate_major)" -lt 8 ]; then
      codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
      if [ "$codename" = bookworm ]; then
        suite=bookworm-backports
        if ! grep -rqs "bookworm-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
          echo "install.sh: adding $suite to apt's sources"
          printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
            'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' \
            > /etc/apt/sources.list.d/bookworm-backports.sources
          updated=""
          update
        fi
      fi
    fi
    # --no-install-recommends keeps qemu-user-binfmt out.
    if [ -n "$suite" ]; then
      apt_get install -y -qq --no-install-recommends -t "$suite" qemu-user ||
        echo "install.sh: no qemu-user from $suite; the Wine tests will run the 64-bit stand-in"
    else
      apt_get install -y -qq --no-install-recommends qemu-user ||
        echo "install.sh: no qemu-user; the Wine tests will run the 64-bit stand-in"
    fi
  fi
  have g++-i686-linux-gnu || { update; apt_get install -y -qq --no-install-recommends g++-i686-linux-gnu; }
  # The cross-built unit tests compile GoogleTest from the sources this package ships.
  have libgtest-dev || { update; apt_get install -y -qq --no-install-recommends libgtest-dev; }
}

install_emulation
[ "$what" = i686 ] && exit 0

# --- Cross compilers, Wine, display ---------------------------------------------------------------
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
  updated=""
fi
update
# shellcheck disable=SC2086
apt_get install -y --no-install-recommends $missing
