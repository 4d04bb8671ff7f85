#!/usr/bin/env bash
# Static checks of the 32-bit Windows build:
#   tests/wine/check_dll.sh [BUILD_DIR [OBJDUMP]]       (default build-win, i686-w64-mingw32-objdump)
# One line per check, "PASS what" or "FAIL what: why"; exit status 1 when a check failed.
set -u

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build-win}
OBJDUMP=${2:-i686-w64-mingw32-objdump}
DLL="$BUILD/VELTRUM.DLL"
OSTREL="$BUILD/OSTREL.DLL"
status=0
pass() { echo "PASS $1"; }
fail() { echo "FAIL $1: $2"; status=1; }

command -v "$OBJDUMP" > /dev/null || { fail "objdump" "$OBJDUMP is missing (g++-mingw-w64-i686)"; exit 1; }

# The names of a DLL's exports, sorted, one a line.
exports() { "$OBJDUMP" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort; }
# "DLL name" lines of a PE file's import table.
imported_dlls() { "$OBJDUMP" -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
# The names imported from one DLL.
imports_from() {
  "$OBJDUMP" -p "$1" | awk -v dll="$2" '
    /^[ \t]*DLL Name: / { inside = (tolower($3) == tolower(dll)); next }
    inside && /^[ \t]*$/ { if (seen) inside = 0; next }
    inside && /^[ \t]*[0-9a-f]+[ \t]+[0-9]+[ \t]+[^ \t]+/ { seen = 1; print $3 }'
}
# The argument bytes a stdcall export removes: the operand of the first "ret" from its entry.
ret_bytes() {
  local file=$1 name=$2 base rva index
  base=$("$OBJDUMP" -p "$file" | awk '/^ImageBase/ { print $2 }')
  index=$("$OBJDUMP" -p "$file" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n "s/^\s*\[ *\([0-9]*\)\] $name\$/\1/p")
  [ -n "$index" ] || return 1
  # Without ordinal gaps the name table's order is the export address table's order.
  rva=$("$OBJDUMP" -p "$file" | sed -n '/Export Address Table -- Ordinal Base/,/^$/p' |
    awk -v i="$index" '$0 ~ "^[ \t]*\\[ *" i "\\]" { for (f = 1; f <= NF; ++f) if ($f ~ /^[0-9a-f]+$/ && $(f + 1) == "Export") print $f }')
  [ -n "$rva" ] || return 1
  local start=$((0x$base + 0x$rva))
  "$OBJDUMP" -d --start-address=$start --stop-address=$((start + 65536)) "$file" |
    grep -m1 -E '\sret[lw]?\b' | grep -oE '\$0x[0-9a-f]+' || echo "none"
}

if [ "$(exports "$DLL" | tr '\n' ' ')" = "LIBMAIN Veltrum " ]; then
  pass "VELTRUM.DLL exports exactly LIBMAIN and Veltrum"
else
  fail "VELTRUM.DLL exports exactly LIBMAIN and Veltrum" "found: $(exports "$DLL" | tr '\n' ' ')"
fi
for name in LIBMAIN Veltrum; do
  r=$(ret_bytes "$DLL" "$name")
  if [ "$r" = '$0xc' ]; then pass "$name is stdcall with 12 bytes of arguments"; else fail "$name is stdcall with 12 bytes of arguments" "first ret: $r"; fi
done
if imports_from "$DLL" OSTREL.DLL | grep -qx Ausgabe; then
  pass "VELTRUM.DLL imports Ausgabe from OSTREL.DLL by name"
else
  fail "VELTRUM.DLL imports Ausgabe from OSTREL.DLL by name" "imports from OSTREL.DLL: $(imports_from "$DLL" OSTREL.DLL | tr '\n' ' ')"
fi
for file in "$DLL" "$OSTREL" "$BUILD/testhost.exe"; do
  [ -f "$file" ] || continue
  extra=$(imported_dlls "$file" | grep -viE '^(kernel32|user32|gdi32|oleaut32|shell32|msvcrt|ostrel)\.dll$' | tr '\n' ' ')
  if [ -z "$extra" ]; then pass "$(basename "$file") needs only system DLLs"; else fail "$(basename "$file") needs only system DLLs" "also: $extra"; fi
done

if [ "$(exports "$OSTREL" | tr '\n' ' ')" = "Ausgabe " ]; then
  pass "OSTREL.DLL exports exactly Ausgabe"
else
  fail "OSTREL.DLL exports exactly Ausgabe" "found: $(exports "$OSTREL" | tr '\n' ' ')"
fi
r=$(ret_bytes "$OSTREL" Ausgabe)
if [ "$r" = '$0x8' ]; then pass "Ausgabe is stdcall with 8 bytes of arguments"; else fail "Ausgabe is stdcall with 8 bytes of arguments" "first ret: $r"; fi

# Dialog texts are UTF-16 in the resources; the umlauts must survive the resource compiler.
for text in "Vergleich zweier Häufigkeiten." "&Löschen" "1. absolute Häufigkeit:"; do
  if python3 - "$DLL" "$text" << 'EOF'; then
import sys
data = open(sys.argv[1], "rb").read()
sys.exit(0 if sys.argv[2].encode("utf-16-le") in data else 1)
EOF
    pass "the dialog text '$text' is in VELTRUM.DLL"
  else
    fail "the dialog text '$text' is in VELTRUM.DLL" "not found as UTF-16"
  fi
done

exit $status
