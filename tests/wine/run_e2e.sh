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
# 2. The dialogs, message boxes and reports, driven by testhost.exe in ONE fresh Wine prefix under
#    Xvfb.  This runs the 32-bit VELTRUM.DLL of build-win when the machine can run 32-bit
#    programs.  A Linux kernel without 32-bit emulation (ia32_emulation=off) runs no 32-bit Wine;
#    there the same sources built for 64 bits (build-win64, configured and built here when missing)
#    run under 64-bit Wine instead, and the runner says so.  VELTRUM_WINE_ARCH=win32|win64 forces
#    one of the two.
#
# The report of letter H is compared byte for byte with the one the native `veltrum` writes, except
# the date and time on the header's second line ("dd.mm.yyyy (hh:mm)", the Wine side has the clock,
# the native side SOURCE_DATE_EPOCH=0); the Wine side's date must be today's.
#
# Ends with "N passed, M failed"; the exit status is non-zero when anything failed.
set -u

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD32=${1:-${VELTRUM_BUILD_WIN:-$ROOT/build-win}}
[ $# -ge 2 ] && [ -x "$2/veltrum" ] && VELTRUM_NATIVE="$2/veltrum"
BUILD64=${VELTRUM_BUILD_WIN64:-$ROOT/build-win64}
HERE="$ROOT/tests/wine"

passed=0
failed=0
pass() { echo "PASS $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1: $2"; failed=$((failed + 1)); }
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit $?
}

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

# --- 2. Which Wine -------------------------------------------------------------------------------------
can_run_32bit() { [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version > /dev/null 2>&1; }
ARCH=${VELTRUM_WINE_ARCH:-}
if [ -z "$ARCH" ]; then
  if can_run_32bit && [ -x /usr/lib/wine/wine ]; then ARCH=win32; else ARCH=win64; fi
fi
case "$ARCH" in
  win32)
    WINE=${VELTRUM_WINE:-wine}
    BUILD=$BUILD32
    ;;
  win64)
    WINE=${VELTRUM_WINE:-/usr/lib/wine/wine64}
    BUILD=$BUILD64
    echo "NOTE this machine runs no 32-bit programs: the Wine tests run the 64-bit build of the same sources ($BUILD64)"
    if [ ! -f "$BUILD64/VELTRUM.DLL" ] || [ ! -f "$BUILD64/testhost.exe" ] || [ ! -f "$BUILD64/OSTREL.DLL" ] ||
       [ -n "$(find "$ROOT/src" "$ROOT/resources" "$ROOT/tools" "$ROOT/tests/wine" -newer "$BUILD64/VELTRUM.DLL" -type f 2>/dev/null | head -1)" ]; then
      echo "building $BUILD64"
      mkdir -p "$BUILD64"
      { cmake -S "$ROOT" -B "$BUILD64" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" &&
        cmake --build "$BUILD64" -j2; } > "$BUILD64/e2e-build.log" 2>&1 ||
        { fail "build-win64" "the 64-bit build failed, see $BUILD64/e2e-build.log"; finish; }
    fi
    ;;
  *)
    fail "VELTRUM_WINE_ARCH" "win32 or win64, not '$ARCH'"
    finish
    ;;
esac
for tool in "$WINE" xvfb-run; do
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

# --- 3. One Wine prefix for the run ------------------------------------------------------------
WORK=$(mktemp -d "${TMPDIR:-/tmp}/veltrum-wine.XXXXXX")
export WINEPREFIX="$WORK/prefix" WINEARCH="$ARCH" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
cleanup() {
  wineserver -k > /dev/null 2>&1
  if [ -n "${VELTRUM_E2E_KEEP:-}" ]; then echo "kept $WORK"; else rm -rf "$WORK"; fi
}
trap cleanup EXIT

echo "Wine: $("$WINE" --version 2>/dev/null) ($ARCH), prefix $WINEPREFIX"
if ! timeout 300 xvfb-run -a "$WINE" wineboot -i > "$WORK/wineboot.log" 2>&1; then
  fail "wineboot" "$(tail -3 "$WORK/wineboot.log")"
  finish
fi
wineserver -w > /dev/null 2>&1
DRIVE_C="$WINEPREFIX/drive_c"
APP="$DRIVE_C/veltrum"
mkdir -p "$APP"
cp "$BUILD/VELTRUM.DLL" "$BUILD/OSTREL.DLL" "$BUILD/testhost.exe" "$APP/"

# run_case NAME LETTER DATAFILE [testhost options]; the script comes on standard input.
# Leaves $WORK/NAME.out (testhost's output), $WORK/NAME.log (the viewer log), $WORK/NAME.status.
run_case() {
  local name=$1 letter=$2 data=$3
  shift 3
  cat > "$APP/$name.script"
  rm -f "$DRIVE_C/Ausgabe" "$DRIVE_C/Hilfe" "$APP/ostrel.log"
  (
    cd "$APP" &&
      OSTREL_LOG='C:\veltrum\ostrel.log' timeout 180 xvfb-run -a "$WINE" testhost.exe VELTRUM.DLL "$letter" "$data" \
        "$name.script" "$@" > "$WORK/$name.out" 2> "$WORK/$name.err"
  )
  echo $? > "$WORK/$name.status"
  if [ -f "$APP/ostrel.log" ]; then cp "$APP/ostrel.log" "$WORK/$name.log"; else : > "$WORK/$name.log"; fi
  wineserver -w > /dev/null 2>&1
  sed 's/^/    | /' "$WORK/$name.out"
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
same_as_native k_all_groups K 'C:\airquality.dat' --data 'C:\airquality.dat' K --group-var Month --target Ozone --groups all --list
same_as_native k_three_groups K 'C:\plantgrowth.dat' --data 'C:\plantgrowth.dat' K --group-var group --target weight --groups 3,1,2
same_as_native w_approximate W 'C:\survey.dat' --data 'C:\survey.dat' W --vars Wr.Hnd,NW.Hnd
same_as_native w_exact_group W 'C:\survey.dat' --data 'C:\survey.dat' W --vars 2,3 --group-var Sex --group 1 --list
same_as_native v_sign_test V 'C:\sleep.dat' --data 'C:\sleep.dat' V --vars drug1,drug2 --list
same_as_native a_goodness_of_fit A "" A --freq 30,20,10 --prob "0,5;0,3;0,2"
same_as_native g_uniform G "" G --freq 10,20,30
same_as_native b_binomial B "" B --keyword "Münzwurf" --n 25 --k 7 --theta 0.5

finish
