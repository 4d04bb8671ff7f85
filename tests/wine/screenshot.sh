#!/usr/bin/env bash
# A picture of one of the module's dialogs as Wine draws it, for looking at layout and texts.
#
#   tests/wine/screenshot.sh OUTPUT.png [LETTER [DATAFILE [SCRIPT]]]      (default letter H)
#
# DATAFILE: a file of this machine, copied to C:\ in the prefix and handed over as C:\<name>.
#
# Starts the test host under Xvfb in a fresh Wine prefix, waits until the letter's dialog is up
# (after the SCRIPT's actions, if one is given, e.g. to type values first), takes a picture of the
# whole screen with ImageMagick's `import`, then cancels.  Uses the build of run_e2e.sh (build-win,
# or build-win64 where the machine runs no 32-bit programs; VELTRUM_WINE_ARCH forces one).
# With VELTRUM_SHOT_VIEWER=1 the viewer of OSTREL.DLL really opens, and when the script computes
# a report (e.g. "type 102 0", "type 103 7", "enter") the picture shows the viewer instead.
set -eu

OUT=$(realpath -m "${1:?usage: screenshot.sh OUTPUT.png [LETTER [DATAFILE [SCRIPT]]]}")
LETTER=${2:-H}
DATA=${3:-}
SCRIPT=${4:-}
ROOT=$(cd "$(dirname "$0")/../.." && pwd)

can_run_32bit() { [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version > /dev/null 2>&1; }
ARCH=${VELTRUM_WINE_ARCH:-}
[ -n "$ARCH" ] || { if can_run_32bit && [ -x /usr/lib/wine/wine ]; then ARCH=win32; else ARCH=win64; fi; }
if [ "$ARCH" = win32 ]; then WINE=wine BUILD=${VELTRUM_BUILD_WIN:-$ROOT/build-win}; else WINE=/usr/lib/wine/wine64 BUILD=${VELTRUM_BUILD_WIN64:-$ROOT/build-win64}; fi

WIN_DATA=""
if [ -n "$DATA" ]; then DATA=$(realpath "$DATA"); WIN_DATA="C:\\$(basename "$DATA")"; fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/veltrum-shot.XXXXXX")
export WINEPREFIX="$WORK/prefix" WINEARCH="$ARCH" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k > /dev/null 2>&1; rm -rf "$WORK"' EXIT

APP="$WINEPREFIX/drive_c/veltrum"
if [ -n "${VELTRUM_SHOT_VIEWER:-}" ]; then LOG_ENV="env -u OSTREL_LOG"; else LOG_ENV="env OSTREL_LOG='C:\\veltrum\\ostrel.log'"; fi
cat > "$WORK/inside.sh" << EOF
set -eu
"$WINE" wineboot -i > /dev/null 2>&1
wineserver -w
# Without a window manager Wine draws the window frames and captions itself.
"$WINE" reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Decorated /d N /f > /dev/null 2>&1
"$WINE" reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
wineserver -w
mkdir -p "$APP"
cp "$BUILD/VELTRUM.DLL" "$BUILD/OSTREL.DLL" "$BUILD/testhost.exe" "$APP/"
if [ -n "$SCRIPT" ]; then cp "$SCRIPT" "$APP/shot.script"; else : > "$APP/shot.script"; fi
if [ -n "$DATA" ]; then cp "$DATA" "$WINEPREFIX/drive_c/"; fi
cd "$APP"
# The host waits 8 seconds before it cancels the dialog the script leaves open.
$LOG_ENV "$WINE" testhost.exe VELTRUM.DLL "$LETTER" "$WIN_DATA" shot.script --pause 8 \
  > "$WORK/host.out" 2>&1 &
for _ in \$(seq 1 300); do grep -q "^PAUSE " "$WORK/host.out" 2>/dev/null && break; sleep 0.2; done
sleep 1
import -window root "$OUT"
wait
EOF
xvfb-run -a -s "-screen 0 1024x768x24" bash "$WORK/inside.sh"
cat "$WORK/host.out"
echo "picture: $OUT"
