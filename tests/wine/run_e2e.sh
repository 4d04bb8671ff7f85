#!/usr/bin/env bash
# End-to-end tests of the Windows build under Wine.
#
#   tests/wine/run_e2e.sh [BUILD_WIN [NATIVE_BUILD]]
#
# Needs: the 32-bit cross build (BUILD_WIN, default build-win; cmake
# -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake), the native `veltrum` (NATIVE_BUILD/veltrum, else
# $VELTRUM_NATIVE, build/veltrum or build-native-win-e2e/veltrum), and the packages of
# tests/wine/install.sh.  Installs nothing.
#
# 1. Static checks of build-win: VELTRUM.DLL exports exactly LIBMAIN and Veltrum (stdcall, 12 bytes
#    of arguments), imports Ausgabe from OSTREL.DLL by name, needs no MinGW run-time DLL, and holds
#    the dialog texts with their umlauts; OSTREL.DLL exports Ausgabe (stdcall, 8 bytes).
# 2. The sessions: dialogs, message boxes and reports, driven by testhost.exe in ONE fresh Wine
#    prefix, with one Xvfb display and one persistent wineserver for the whole run.  The sessions run
#    the shipped 32-bit VELTRUM.DLL, testhost.exe and OSTREL.DLL of build-win, in the first of these
#    ways the machine offers:
#    native  the kernel runs 32-bit programs: 32-bit Wine in a 32-bit prefix.
#    qemu    it does not (ia32_emulation=off): the script runs itself again inside a private user
#            and mount namespace, mounts binfmt_misc there and registers qemu-i386 (QEMU 8 or newer)
#            for 32-bit x86 programs with the F flag.  Linux 6.7 and newer keep a binfmt_misc per
#            user namespace, so the handler exists only for this run and only for its processes;
#            the machine's own handlers (ls /proc/sys/fs/binfmt_misc) are checked to be unchanged
#            afterwards.  The prefix is made by 64-bit Wine; the 32-bit Wine loader runs testhost.exe
#            under qemu-i386.
#    win64   neither: the same sources built for 64 bits (build-win64, configured and built here
#            when missing or older than the sources) under 64-bit Wine, a stand-in that is NOT the
#            shipped DLL (tests/wine/README.md says what it leaves untested).
#    VELTRUM_WINE_ARCH=win32 asks for the 32-bit DLL (native or qemu, failing when neither can
#    be had), win32-qemu for the qemu way even where the kernel runs 32-bit programs, win64 for
#    the stand-in.
#
# The reports are compared byte for byte with the ones the native `veltrum` writes, except the date
# and time on the header's second line ("dd.mm.yyyy (hh:mm)", the Wine side has the clock, the
# native side SOURCE_DATE_EPOCH=0); the Wine side's date must be today's.
#
# Ends with "N passed, M failed; <which build ran>"; the exit status is non-zero when anything failed.
#
# A new session is a few lines at the end of this file: run_case (or same_as_native) and its expect
# checks; see the sessions below.
set -u

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD32=${1:-${VELTRUM_BUILD_WIN:-$ROOT/build-win}}
[ $# -ge 2 ] && [ -x "$2/veltrum" ] && export VELTRUM_NATIVE="$2/veltrum"
BUILD64=${VELTRUM_BUILD_WIN64:-$ROOT/build-win64}
HERE="$ROOT/tests/wine"

passed=0
failed=0
RAN=""  # which build the sessions ran, for the summary line
pass() { echo "PASS $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1: $2"; failed=$((failed + 1)); }
finish() {
  if [ -n "${VELTRUM_E2E_COUNTS:-}" ]; then  # inside the private namespace: the outer run sums up
    echo "$passed $failed $RAN" > "$VELTRUM_E2E_COUNTS"
    exit 0
  fi
  echo "$passed passed, $failed failed${RAN:+; $RAN}"
  [ "$failed" -eq 0 ]
  exit $?
}

# --- 0. Which way the sessions run ----------------------------------------------------------------
WINE32_LOADER=/usr/lib/wine/wine   # Debian's wine32:i386
WINE64_LOADER=/usr/lib/wine/wine64 # Debian's wine64
can_run_32bit() { [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version > /dev/null 2>&1; }
# qemu-i386 of QEMU 8 or newer: 7.2 makes each Wine process spin for a minute at start-up.
qemu_i386() {
  local q major
  q=$(command -v "${VELTRUM_QEMU_I386:-qemu-i386}" 2> /dev/null) || return 1
  major=$("$q" --version 2> /dev/null | sed -n '1s/.*version \([0-9]*\)\..*/\1/p')
  [ "${major:-0}" -ge 8 ] && echo "$q"
}
# Whether this kernel lets a private user namespace have a binfmt_misc of its own (Linux 6.7).
private_binfmt_possible() {
  unshare --user --map-root-user --mount --propagation private \
    sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc && [ -e /proc/sys/fs/binfmt_misc/register ]' \
    > /dev/null 2>&1
}
binfmt_entries() { ls -A /proc/sys/fs/binfmt_misc 2> /dev/null | tr '\n' ' '; }

if [ -z "${VELTRUM_E2E_COUNTS:-}" ]; then
  MODE=""
  case "${VELTRUM_WINE_ARCH:-}" in
    win64) MODE=win64 ;;
    "" | win32 | win32-qemu) ;;
    *)
      fail "VELTRUM_WINE_ARCH" "win32, win32-qemu or win64, not '$VELTRUM_WINE_ARCH'"
      finish
      ;;
  esac
  why_not_32=""
  if [ -z "$MODE" ]; then
    if [ ! -x "$WINE32_LOADER" ]; then
      why_not_32="no 32-bit Wine ($WINE32_LOADER, package wine32:i386)"
    elif can_run_32bit && [ "${VELTRUM_WINE_ARCH:-}" != win32-qemu ]; then
      MODE=native
    elif [ ! -x "$WINE64_LOADER" ]; then
      why_not_32="the kernel runs no 32-bit programs and there is no 64-bit Wine ($WINE64_LOADER) to make the prefix"
    elif ! QEMU=$(qemu_i386); then
      why_not_32="the kernel runs no 32-bit programs and there is no qemu-i386 of QEMU 8 or newer (tests/wine/install.sh)"
    elif ! command -v unshare > /dev/null 2>&1 || ! private_binfmt_possible; then
      why_not_32="the kernel runs no 32-bit programs and gives no binfmt_misc of its own to a private user namespace (Linux 6.7 or newer, user namespaces allowed)"
    else
      MODE=qemu
    fi
  fi
  if [ -z "$MODE" ]; then
    if [ -n "${VELTRUM_WINE_ARCH:-}" ]; then
      fail "32-bit Wine" "$why_not_32"
      finish
    fi
    MODE=win64
    echo "NOTE the sessions run the 64-bit stand-in build, not the shipped 32-bit DLL: $why_not_32"
  fi

  if [ "$MODE" = qemu ]; then
    # The whole run again inside a private user and mount namespace; its binfmt_misc and the
    # handler registered there end with it.
    before=$(binfmt_entries)
    counts=$(mktemp "${TMPDIR:-/tmp}/veltrum-e2e-counts.XXXXXX")
    VELTRUM_E2E_COUNTS=$counts VELTRUM_E2E_QEMU=$QEMU \
      unshare --user --map-root-user --mount --propagation private bash "$0" "$@"
    status=$?
    read -r passed failed RAN < "$counts" 2> /dev/null ||
      { passed=0 failed=0 RAN=""; fail "private namespace" "the run ended early (exit status $status)"; }
    rm -f "$counts"
    after=$(binfmt_entries)
    if [ "$before" = "$after" ]; then
      pass "the machine's binfmt_misc handlers are the same before and after the run (${after:-none})"
    else
      fail "binfmt_misc" "the machine's handlers changed: before '${before}', after '${after}'"
    fi
    finish
  fi
else
  # Inside the private namespace: the handler for 32-bit x86 programs (magic and mask of QEMU's
  # qemu-binfmt-conf.sh: ELF, 32 bits, little-endian, executable or shared object, machine 3).  The
  # F flag opens qemu-i386 now, so it serves in any mount namespace and working directory.
  MODE=qemu
  QEMU=$VELTRUM_E2E_QEMU
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  if ! mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc ||
     ! printf ':veltrum-i386:M::%s:%s:%s:F' "$magic" "$mask" "$QEMU" > /proc/sys/fs/binfmt_misc/register ||
     ! can_run_32bit; then
    fail "qemu-i386" "cannot register qemu-i386 for 32-bit programs in the private namespace"
    finish
  fi
  # qemu-user traces the system calls of its guest under QEMU_STRACE; a 32-bit program run by the
  # kernel itself ignores the variable.
  if QEMU_STRACE=1 /lib/ld-linux.so.2 --version 2>&1 > /dev/null | grep -q 'exit_group('; then
    pass "32-bit programs run under qemu-i386 in the private namespace"
  else
    fail "qemu-i386" "32-bit programs do not go through the handler of the private namespace"
  fi
fi

# --- 1. Static checks of the 32-bit plug-in ---------------------------------------------------------
OBJDUMP=${VELTRUM_OBJDUMP:-i686-w64-mingw32-objdump}
if [ ! -f "$BUILD32/VELTRUM.DLL" ] || [ ! -f "$BUILD32/OSTREL.DLL" ]; then
  fail "build" "no VELTRUM.DLL/OSTREL.DLL in $BUILD32 (cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake && cmake --build build-win -j2)"
  finish
fi
bash "$HERE/check_dll.sh" "$BUILD32" "$OBJDUMP" > "${TMPDIR:-/tmp}/veltrum-check-dll.$$" 2>&1
check_status=$?
while IFS= read -r line; do
  case "$line" in
    PASS\ *) pass "${line#PASS }" ;;
    FAIL\ *) rest=${line#FAIL }; fail "${rest%%: *}" "${rest#*: }" ;;
    *) echo "$line" ;;
  esac
done < "${TMPDIR:-/tmp}/veltrum-check-dll.$$"
rm -f "${TMPDIR:-/tmp}/veltrum-check-dll.$$"
[ $check_status -le 1 ] || fail "check_dll.sh" "exit status $check_status"

# --- 2. The Wine of the chosen way --------------------------------------------------------------
# WINE runs testhost.exe; WINEBOOT_WINE makes the prefix; STEP_TIMEOUT is testhost's limit for one
# step (seconds), CASE_TIMEOUT the limit of one session.
STEP_TIMEOUT=20
CASE_TIMEOUT=180
case "$MODE" in
  native)
    ARCH=win32
    WINE=${VELTRUM_WINE:-$WINE32_LOADER}
    WINEBOOT_WINE=$WINE
    BUILD=$BUILD32
    RAN="the 32-bit VELTRUM.DLL under 32-bit Wine"
    ;;
  qemu)
    # The prefix comes from 64-bit Wine (a 32-bit wineboot under emulation takes minutes); the
    # 64-bit wineserver serves the 32-bit processes as well.
    ARCH=win64
    WINE=${VELTRUM_WINE:-$WINE32_LOADER}
    WINEBOOT_WINE=$WINE64_LOADER
    export WINESERVER=/usr/lib/wine/wineserver64
    BUILD=$BUILD32
    STEP_TIMEOUT=60
    CASE_TIMEOUT=300
    RAN="the 32-bit VELTRUM.DLL under 32-bit Wine on qemu-i386 ($("$QEMU" --version | sed -n '1s/.*version \([^ ]*\).*/\1/p'))"
    ;;
  win64)
    ARCH=win64
    WINE=${VELTRUM_WINE:-$WINE64_LOADER}
    WINEBOOT_WINE=$WINE
    BUILD=$BUILD64
    RAN="the 64-bit STAND-IN build under 64-bit Wine, not the shipped 32-bit DLL"
    if [ ! -f "$BUILD64/VELTRUM.DLL" ] || [ ! -f "$BUILD64/testhost.exe" ] || [ ! -f "$BUILD64/OSTREL.DLL" ] ||
       [ -n "$(find "$ROOT/src" "$ROOT/resources" "$ROOT/tools" "$ROOT/tests/wine" -newer "$BUILD64/VELTRUM.DLL" -type f 2>/dev/null | head -1)" ]; then
      echo "building $BUILD64"
      mkdir -p "$BUILD64"
      { cmake -S "$ROOT" -B "$BUILD64" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" &&
        cmake --build "$BUILD64" -j2; } > "$BUILD64/e2e-build.log" 2>&1 ||
        { fail "build-win64" "the 64-bit build failed, see $BUILD64/e2e-build.log"; finish; }
    fi
    ;;
esac
[ -n "${WINESERVER:-}" ] && [ ! -x "$WINESERVER" ] && unset WINESERVER
SERVER=${WINESERVER:-wineserver}
for tool in "$WINE" "$WINEBOOT_WINE" "$SERVER" Xvfb; do
  command -v "$tool" > /dev/null 2>&1 || { fail "tools" "$tool is missing (tests/wine/install.sh)"; finish; }
done
if [ ! -f "$BUILD/testhost.exe" ]; then
  fail "build" "no testhost.exe in $BUILD"
  finish
fi

NATIVE=${VELTRUM_NATIVE:-}
if [ -z "$NATIVE" ]; then
  for candidate in "$ROOT/build/veltrum" "$ROOT/build-native-win-e2e/veltrum"; do
    [ -x "$candidate" ] && NATIVE=$candidate && break
  done
fi

# --- 3. One display, one wineserver, one Wine prefix for the run --------------------------------
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veltrum-wine.XXXXXX")
export WINEPREFIX="$WORK/prefix" WINEARCH="$ARCH" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
XVFB_PID=""
cleanup() {
  "$SERVER" -k > /dev/null 2>&1
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2> /dev/null
  if [ -n "${VELTRUM_E2E_KEEP:-}" ]; then echo "kept $WORK"; else rm -rf "$WORK"; fi
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$WORK/display" > "$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
if [ ! -s "$WORK/display" ]; then
  fail "Xvfb" "no display: $(tail -2 "$WORK/xvfb.log")"
  finish
fi
export DISPLAY=":$(head -1 "$WORK/display")"

echo "Wine: $("$WINE" --version 2>/dev/null) ($MODE, prefix $WINEARCH), $WINEPREFIX"
started=$SECONDS
mkdir -p "$WINEPREFIX"
"$SERVER" -p
if ! timeout 600 "$WINEBOOT_WINE" wineboot -u > "$WORK/wineboot.log" 2>&1; then
  fail "wineboot" "$(tail -3 "$WORK/wineboot.log")"
  finish
fi
echo "prefix ready in $((SECONDS - started)) s"
DRIVE_C="$WINEPREFIX/drive_c"
APP="$DRIVE_C/veltrum"
mkdir -p "$APP"
cp "$BUILD/VELTRUM.DLL" "$BUILD/OSTREL.DLL" "$BUILD/testhost.exe" "$APP/"

# run_case NAME LETTER DATAFILE [testhost options]; the script comes on standard input.
# Leaves $WORK/NAME.out (testhost's output), $WORK/NAME.log (the viewer log), $WORK/NAME.status.
# HOST_X87=HEX before run_case or same_as_native: the host's x87 control word (testhost --x87).
run_case() {
  local name=$1 letter=$2 data=$3 started=$SECONDS
  shift 3
  cat > "$APP/$name.script"
  rm -f "$DRIVE_C/Ausgabe" "$DRIVE_C/Hilfe" "$APP/ostrel.log" 2> /dev/null  # a session may make Ausgabe a directory
  (
    cd "$APP" &&
      OSTREL_LOG='C:\veltrum\ostrel.log' timeout "$CASE_TIMEOUT" "$WINE" testhost.exe VELTRUM.DLL "$letter" "$data" \
        "$name.script" --timeout "$STEP_TIMEOUT" ${HOST_X87:+--x87 "$HOST_X87"} "$@" \
        > "$WORK/$name.out" 2> "$WORK/$name.err"
  )
  echo $? > "$WORK/$name.status"
  if [ -f "$APP/ostrel.log" ]; then cp "$APP/ostrel.log" "$WORK/$name.log"; else : > "$WORK/$name.log"; fi
  sed 's/^/    | /' "$WORK/$name.out"
  echo "    ($name: $((SECONDS - started)) s)"
}

# expect NAME WHAT COMMAND...: one check of a case.
expect() {
  local name=$1 what=$2
  shift 2
  if "$@"; then pass "$name: $what"; else fail "$name" "$what"; fi
}
has_line() { grep -qxF -- "$2" "$WORK/$1.out"; }
count_lines() { grep -c -- "$2" "$WORK/$1.${3:-out}" || true; }
status_is() { [ "$(cat "$WORK/$1.status")" = "$2" ]; }

# The host window's rectangle as the module writes it: four fields of four characters.
rect_text() {
  local l t r b
  read -r _ l t r b < <(grep '^HOST ' "$WORK/$1.out")
  printf '%4d%4d%4d%4d' "$l" "$t" "$r" "$b"
}

# The date and time of the header's second line, masked.
mask_date() { sed -E '2s/[0-9]{2}\.[0-9]{2}\.[0-9]{4} \([0-9]{2}:[0-9]{2}\)/dd.mm.yyyy (hh:mm)/' "$1"; }

# --- (a) H: compute once, then cancel ------------------------------------------------------------------
day_before=$(date +%d.%m.%Y)
run_case h_report H "" <<'EOF'
# n1 = 0, n2 = 7, Rechnen; the dialog comes back and is cancelled.
type 102 0
type 103 7
enter
escape
EOF
day_after=$(date +%d.%m.%Y)
expect h_report "testhost played the script (exit 0)" status_is h_report 0
expect h_report "RESULT 0" has_line h_report "RESULT 0"
expect h_report "the dialog is shown twice" [ "$(count_lines h_report '^DIALOG Vergleich zweier Häufigkeiten\.$')" = 2 ]
expect h_report "the host's x87 control word comes back" has_line h_report "FPU 027f 027f"
expect h_report "exactly one Ausgabe call" [ "$(count_lines h_report '^Ausgabe|' log)" = 1 ]
rect=$(rect_text h_report)
expect h_report "Ausgabe gets C:\\Ausgabe. and the window rectangle" \
  grep -qxF "Ausgabe|C:\\Ausgabe.|$rect"$'\r' "$WORK/h_report.log"
if [ -f "$DRIVE_C/Ausgabe" ]; then
  cp "$DRIVE_C/Ausgabe" "$WORK/h_report.wine.txt"
  wine_date=$(sed -n '2p' "$WORK/h_report.wine.txt" | grep -oE '[0-9]{2}\.[0-9]{2}\.[0-9]{4} \([0-9]{2}:[0-9]{2}\)' | cut -c1-10)
  expect h_report "the report's date is today's" [ "$wine_date" = "$day_before" ] || [ "$wine_date" = "$day_after" ]
  if [ -n "$NATIVE" ]; then
    if SOURCE_DATE_EPOCH=0 VELTRUM_DRIVE_C="$WORK/native-C" "$NATIVE" H --n1 0 --n2 7 --quiet \
         --report "$WORK/h_report.native.txt" > "$WORK/native.out" 2>&1; then
      if cmp -s <(mask_date "$WORK/h_report.wine.txt") <(mask_date "$WORK/h_report.native.txt"); then
        pass "h_report: the report equals the native one byte for byte (date masked)"
      else
        fail "h_report" "the report differs from the native one:"
        diff <(mask_date "$WORK/h_report.native.txt" | iconv -f CP1252 -t UTF-8) \
             <(mask_date "$WORK/h_report.wine.txt" | iconv -f CP1252 -t UTF-8) | cat -A | sed 's/^/    /'
      fi
    else
      fail "h_report" "the native veltrum failed: $(head -3 "$WORK/native.out")"
    fi
  else
    fail "h_report" "no native veltrum to compare with (build it, or set VELTRUM_NATIVE)"
  fi
else
  fail "h_report" "no report file C:\\Ausgabe in the prefix"
fi

# --- (b) H: invalid input -------------------------------------------------------------------------
run_case h_invalid H "" <<'EOF'
type 102 0
type 103 0
enter
answer ok
escape
EOF
expect h_invalid "testhost played the script (exit 0)" status_is h_invalid 0
expect h_invalid "the message read back from the real message box" \
  has_line h_invalid "MESSAGE  Vorsicht!: Bitte überprüfen Sie die Eingabe!"
expect h_invalid "RESULT 0" has_line h_invalid "RESULT 0"
expect h_invalid "no Ausgabe call" [ "$(count_lines h_invalid '^Ausgabe|' log)" = 0 ]
expect h_invalid "one dialog, kept open after the message" \
  [ "$(count_lines h_invalid '^DIALOG ')" = 1 ]

# --- (c) K without a data file -------------------------------------------------------------------
run_case k_no_file K "" < /dev/null
expect k_no_file "testhost ended normally (exit 0)" status_is k_no_file 0
expect k_no_file "only the message 'Bitte öffnen Sie zuerst eine Datei!'" \
  [ "$(grep -E '^(MESSAGE|DIALOG)' "$WORK/k_no_file.out")" = "MESSAGE  Vorsicht!: Bitte öffnen Sie zuerst eine Datei!" ]
expect k_no_file "RESULT 0" has_line k_no_file "RESULT 0"
expect k_no_file "no Ausgabe call" [ "$(count_lines k_no_file '^Ausgabe|' log)" = 0 ]

# --- (d) M: the information text --------------------------------------------------------------------
run_case m_information M "" < /dev/null
expect m_information "testhost ended normally (exit 0)" status_is m_information 0
expect m_information "RESULT 0" has_line m_information "RESULT 0"
rect=$(rect_text m_information)
expect m_information "exactly one Ausgabe call, naming C:\\Hilfe." \
  [ "$(cat "$WORK/m_information.log")" = "Ausgabe|C:\\Hilfe.|$rect"$'\r' ]
expect m_information "the information file C:\\Hilfe exists" [ -s "$DRIVE_C/Hilfe" ]
expect m_information "no dialog, no message" [ "$(count_lines m_information '^\(DIALOG\|MESSAGE\) ')" = 0 ]

# --- (e) The data-file letters and A, G, B: the native command's own dialog actions (--print-script) played on
# the real dialogs, and the two reports compared.  The data files lie under C:\ on both sides.
same_as_native() {  # same_as_native NAME LETTER DATAFILE VELTRUM_ARGUMENTS...
  local name=$1 letter=$2 data=$3
  shift 3
  if [ -z "$NATIVE" ]; then
    fail "$name" "no native veltrum to take the dialog actions from"
    return
  fi
  mkdir -p "$WORK/native-C"
  cp "$ROOT"/examples/*.dat "$WORK/native-C/" 2>/dev/null
  cp "$ROOT"/examples/*.dat "$DRIVE_C/" 2>/dev/null
  if ! VELTRUM_DRIVE_C="$WORK/native-C" "$NATIVE" --print-script "$@" > "$WORK/$name.actions" 2> "$WORK/native.out"; then
    fail "$name" "veltrum --print-script failed: $(head -2 "$WORK/native.out")"
    return
  fi
  run_case "$name" "$letter" "$data" < "$WORK/$name.actions"
  expect "$name" "testhost played the script (exit 0)" status_is "$name" 0
  expect "$name" "RESULT 0" has_line "$name" "RESULT 0"
  expect "$name" "exactly one Ausgabe call" [ "$(count_lines "$name" '^Ausgabe|' log)" = 1 ]
  expect "$name" "no message" [ "$(count_lines "$name" '^MESSAGE ')" = 0 ]
  expect "$name" "the host's x87 control word comes back" \
    has_line "$name" "FPU ${HOST_X87:-027f} ${HOST_X87:-027f}"
  if [ ! -f "$DRIVE_C/Ausgabe" ]; then
    fail "$name" "no report file C:\\Ausgabe in the prefix"
    return
  fi
  cp "$DRIVE_C/Ausgabe" "$WORK/$name.wine.txt"
  if SOURCE_DATE_EPOCH=0 VELTRUM_DRIVE_C="$WORK/native-C" "$NATIVE" --quiet --report "$WORK/$name.native.txt" "$@" \
       > "$WORK/native.out" 2>&1 &&
     cmp -s <(mask_date "$WORK/$name.wine.txt") <(mask_date "$WORK/$name.native.txt"); then
    pass "$name: the report equals the native one byte for byte (date masked)"
  else
    fail "$name" "the report differs from the native one (or the native veltrum failed: $(head -2 "$WORK/native.out"))"
    diff <(mask_date "$WORK/$name.native.txt" | iconv -f CP1252 -t UTF-8) \
         <(mask_date "$WORK/$name.wine.txt" | iconv -f CP1252 -t UTF-8) | head -20 | sed 's/^/    /'
  fi
}

same_as_native u_data_file U 'C:\toothgrowth.dat' --data 'C:\toothgrowth.dat' U --group-var supp --target len --groups 1,2 --list
# The host runs the x87 unit rounding toward zero at 24-bit precision: the module computes at its
# own precision all the same (the same report) and gives the host its word back.
HOST_X87=0c7f same_as_native k_all_groups K 'C:\airquality.dat' --data 'C:\airquality.dat' K --group-var Month --target Ozone --groups all --list
same_as_native k_three_groups K 'C:\plantgrowth.dat' --data 'C:\plantgrowth.dat' K --group-var group --target weight --groups 3,1,2
same_as_native n_data_file N 'C:\mtcars.dat' --data 'C:\mtcars.dat' N --group-var trans --target cyl --groups 2,1
expect n_data_file "the two-group dialog has the caption of N" \
  [ "$(count_lines n_data_file '^DIALOG Mantel-Haenszel-Test (2 Gruppen)\.$')" = 2 ]
same_as_native t_all_groups T 'C:\insectsprays.dat' --data 'C:\insectsprays.dat' T --group-var spray --target count --groups all
expect t_all_groups "the k-group dialog has the caption of T" \
  [ "$(count_lines t_all_groups '^DIALOG Mantel-Haenszel-Zimmermann-Test (k Gruppen)\.$')" = 2 ]
same_as_native e_median E 'C:\chickweight.dat' --data 'C:\chickweight.dat' E --group-var Chick --target weight --groups 7,16 --list
same_as_native s_kolmogorov_smirnov S 'C:\chickweight.dat' --data 'C:\chickweight.dat' S --group-var Diet --target weight --groups 1,2
same_as_native c_cross_over C 'C:\asthma.dat' --data 'C:\asthma.dat' C --group-var Sequenz --periods PEF1,PEF2 --groups 2,1 --list

# C: the "&Hilfe!" box of the real dialog, read back from the message box.
run_case c_help C 'C:\asthma.dat' <<'EOF'
press 909
answer ok
escape
EOF
expect c_help "testhost played the script (exit 0)" status_is c_help 0
expect c_help "the help box read back from the real message box" \
  grep -qF "MESSAGE  Hilfe zum Cross-Over!: Im Cross-Over-Versuchsplan erhält die erste von zwei Gruppen" "$WORK/c_help.out"
expect c_help "no Ausgabe call" [ "$(count_lines c_help '^Ausgabe|' log)" = 0 ]
same_as_native f_friedman F 'C:\roundingtimes.dat' --data 'C:\roundingtimes.dat' F --targets RoundOut,NarrowAngle,WideAngle
same_as_native o_cochran O "" O --rows 8 --cols 3 --table "1,1,0;1,1,1;0,1,0;1,1,0;0,0,0;1,1,1;1,1,0;1,0,0"
same_as_native w_approximate W 'C:\survey.dat' --data 'C:\survey.dat' W --vars Wr.Hnd,NW.Hnd
same_as_native w_exact_group W 'C:\survey.dat' --data 'C:\survey.dat' W --vars 2,3 --group-var Sex --group 1 --list
same_as_native v_sign_test V 'C:\sleep.dat' --data 'C:\sleep.dat' V --vars drug1,drug2 --list
same_as_native a_goodness_of_fit A "" A --freq 30,20,10 --prob "0,5;0,3;0,2"
same_as_native g_uniform G "" G --freq 10,20,30
same_as_native b_binomial B "" B --keyword "Münzwurf" --n 25 --k 7 --theta 0.5

# --- (f) The host's x87 control word across the error trap ----------------------------------------
# The report path C:\Ausgabe is a directory: the report cannot be written, the test ends through its
# error trap (" Zugriffsverletzung!", then " Achtung!" and the dialog again), Escape ends the call.
# The host runs the x87 unit rounding toward zero at 24-bit precision (0c7f) and must get that word
# back; the module computes with its own setting meanwhile.
rm -f "$DRIVE_C/Ausgabe"
mkdir "$DRIVE_C/Ausgabe"
run_case g_error_trap G "" --x87 0c7f <<'EOF'
type 1004 10
enter
type 1004 20
enter
type 1004 30
enter
type 1004 
enter
answer ok
answer ok
escape
EOF
rmdir "$DRIVE_C/Ausgabe"
expect g_error_trap "testhost played the script (exit 0)" status_is g_error_trap 0
expect g_error_trap "the trap's two messages, in order" \
  [ "$(grep '^MESSAGE ' "$WORK/g_error_trap.out")" = \
    'MESSAGE  Zugriffsverletzung!: Schreibschutzfehler:\rStammverzeichnis nicht beschreibbar.'$'\n''MESSAGE  Achtung!: Berechnung ist nicht möglich!' ]
expect g_error_trap "the dialog comes back after the trap" [ "$(count_lines g_error_trap '^DIALOG ')" = 2 ]
expect g_error_trap "no Ausgabe call" [ "$(count_lines g_error_trap '^Ausgabe|' log)" = 0 ]
expect g_error_trap "the host's x87 control word 0c7f comes back" has_line g_error_trap "FPU 0c7f 0c7f"
expect g_error_trap "RESULT 0" has_line g_error_trap "RESULT 0"

finish
