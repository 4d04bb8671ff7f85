#!/usr/bin/env bash
# The veltrum command as a user meets it: options typed into the dialog, what is shown, what goes
# to standard error, and the exit status.
# Usage: cli_test.sh VELTRUM GOLDEN_DIR
set -u
veltrum=$1
golden=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VELTRUM_DRIVE_C="$work/C"
export SOURCE_DATE_EPOCH=1796634300   # 07.12.2026 09:05 UTC

passed=0
failed=0
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}
has_line() { grep -qxF -- "$2" "$1"; }

"$veltrum" H --n1 0 --n2 7 >"$work/out" 2>"$work/err"
check "H exit status" test $? -eq 0
check "H chi line" has_line "$work/out" "Prüfgröße Chi²=  5.14 : p=0.023342 zweiseitig"
check "H one-sided" has_line "$work/out" "Exakter Binomial-Test : p=0.007813 ein!seitig"
check "H two-sided" has_line "$work/out" "Exakter Binomial-Test : p=0.015625 zweiseitig"
check "H no messages" test ! -s "$work/err"

"$veltrum" H --n1 0 --n2 7 --quiet --report "$work/report" >"$work/out"
check "quiet shows nothing" test ! -s "$work/out"
check "report copy is the golden file" cmp -s "$work/report" "$golden/H_0_7.txt"
check "report file under C:" cmp -s "$work/C/Ausgabe" "$golden/H_0_7.txt"

"$veltrum" --raw H --n1 0 --n2 7 >"$work/raw"
check "raw shows the report bytes" cmp -s "$work/raw" "$golden/H_0_7.txt"

"$veltrum" H --keyword "Würfel" --n1 200 --n2 0 >"$work/out"
check "exponent picture" has_line "$work/out" "Prüfgröße Chi²=0.2E+03: p=0.000000 zweiseitig"
check "keyword line" has_line "$work/out" "Stichwort: Würfel"

"$veltrum" H --n1 0 --n2 0 >"$work/out" 2>"$work/err"
check "invalid input exit status" test $? -eq 1
check "invalid input message" test "$(tail -n 1 "$work/err")" = " Vorsicht!: Bitte überprüfen Sie die Eingabe!"
check "invalid input shows no report" test ! -s "$work/out"

"$veltrum" H --n1 12.5 --n2 13.5 >"$work/out"
check "halves to even" has_line "$work/out" "Vergleiche die absoluten Häufigkeiten n1=12 und n2=14:"

"$veltrum" H --n2 7 >"$work/out" 2>"$work/err"
check "empty field ends without report" test $? -eq 1
check "empty field gives no message" test ! -s "$work/err"

"$veltrum" M >"$work/out"
check "M exit status" test $? -eq 0
check "M title" test "$(head -n 1 "$work/out")" = "   MULTIPLE VERGLEICHE."

printf 'type 102 0\ntype 103 0\nenter\nanswer ok\ntype 103 7\nenter\n' >"$work/session"
"$veltrum" --script "$work/session" H >"$work/out" 2>"$work/err"
check "script exit status" test $? -eq 0
check "script message" grep -qF "Bitte überprüfen Sie die Eingabe!" "$work/err"
check "script report" has_line "$work/out" "Vergleiche die absoluten Häufigkeiten n1=0 und n2=7:"

printf 'jump 3\n' >"$work/bad"
"$veltrum" --script "$work/bad" H >/dev/null 2>"$work/err"
check "bad script is a usage error" test $? -eq 2
"$veltrum" H --n9 3 >/dev/null 2>&1
check "unknown option is a usage error" test $? -eq 2
"$veltrum" >/dev/null 2>&1
check "missing letter is a usage error" test $? -eq 2
"$veltrum" --help >"$work/out"
check "help exits 0" test $? -eq 0
check "help names H" grep -q -- "--n1" <("$veltrum" H --help)

echo "$passed passed, $failed failed"
test "$failed" -eq 0
