#!/usr/bin/env bash
# --by VAR: each stratum's report and JSON document are those of a single run on the stratum's
# records as a data file of their own (split here by tests/cli/by_strata.py, not by veltrum); a
# stratum the test refuses names itself and the others go on; records without a value are
# counted; wrong usage ends before any stratum.
# Usage: by_test.sh VELTRUM EXAMPLES_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=check.sh
. "$here/check.sh"
table_test_setup "$@"
strata() { python3 "$here/by_strata.py" "$@"; }

# One row per letter: data file | variable | letter and options.
while IFS='|' read -r data var args; do
  [ -z "$data" ] && continue
  eval "set -- $args"
  rm -rf "$work/s" && mkdir "$work/s"
  strata split "$examples/$data" "$var" "$work/s" >"$work/values"
  "$veltrum" --quiet --report "$work/all" --json "$work/all.jsonl" --data "$examples/$data" --by "$var" "$@" \
    2>"$work/err"
  check "$data --by $var $1: every stratum gives a report" test $? -eq 0
  n=0
  while read -r value; do
    n=$((n + 1))
    file=$(ls "$work/s/$n".*)
    "$veltrum" --quiet --report "$work/one" --json "$work/one.json" --data "$file" "$@" 2>/dev/null
    strata report "$work/all" "$n" "$work/part"
    check "$data --by $var $1, $var = $value: the report of the stratum's own file" same_but_name "$work/one" "$work/part"
    check "$data --by $var $1, $var = $value: the stratum line" \
      grep -aqxF -- "--- Schicht $var = $value ---"$'\r' "$work/all"
    check "$data --by $var $1, $var = $value: the JSON document of the stratum's own file" \
      strata json "$work/all.jsonl" "$n" "$work/one.json" >"$work/by"
    check "$data --by $var $1, $var = $value: its \"by\"" grep -qF "\"variable\": \"$var\"" "$work/by"
  done <"$work/values"
  check "$data --by $var $1: as many strata as values" test "$(grep -c . "$work/all.jsonl")" -eq "$n"
  check "$data --by $var $1: each document names the data file as given" \
    test "$(grep -cF "\"data_file\":\"$examples/$data\"" "$work/all.jsonl")" -eq "$n"
  check "$data --by $var $1: no folder left" test -z "$(ls -A "$TMPDIR")"
done <<'ROWS'
toothgrowth.csv|dose|U --group-var supp --target len --groups OJ,VC
toothgrowth.csv|supp|W --vars len,dose
toothgrowth.dat|supp|K --group-var dose10 --target len --groups all
survey.dat|Sex|W --vars Wr.Hnd,NW.Hnd
airquality.dat|Month|F --targets Ozone,Wind,Temp
mtcars.dat|cyl|E --group-var trans --target mpg --groups 1,2
ROWS

# A stratum without orange juice at 2 mg: U refuses it, names it, and the other two give reports;
# two records without a dose are counted.
awk -F, 'NR == 2 || NR == 12 { sub(/,[^,]*$/, ",") } !($2 == "\"OJ\"" && $3 == "2")' \
  "$examples/toothgrowth.csv" >"$work/gaps.csv"
"$veltrum" --data "$work/gaps.csv" --by dose U --group-var supp --target len --groups OJ,VC >"$work/out" 2>"$work/err"
check "a stratum without a report: exit status 1" test $? -eq 1
check "the other strata give reports" test "$(grep -c '^--- Schicht dose = ' "$work/out")" -eq 2
check "the refused stratum is not shown" test "$(grep -c '^--- Schicht dose = 2 ---' "$work/out")" -eq 0
check "its message names it" grep -q '^dose = 2: ' "$work/err"
check "it is counted" grep -qxF "veltrum: --by dose: 1 of 3 strata gave no report" "$work/err"
check "records without a value counted" grep -qxF "veltrum: --by dose: 2 records without a value left out" "$work/err"
"$veltrum" --json - --data "$work/gaps.csv" --by supp U --group-var supp --target len --groups OJ,VC \
  >"$work/out" 2>/dev/null
check "JSON Lines: one document per stratum, each without a report" \
  test "$(grep -c '"ok":false' "$work/out")" -eq 2
check "JSON Lines: a label is a text" grep -qF '"by":{"variable":"supp","value":"VC"}' "$work/out"

# A session script plays once per stratum, as the options do.
tooth=(--data "$examples/toothgrowth.dat" --by dose)
"$veltrum" --print-script "${tooth[@]}" U --group-var supp --target len --groups 1,2 >"$work/script"
"$veltrum" --quiet --report "$work/options" "${tooth[@]}" U --group-var supp --target len --groups 1,2
"$veltrum" --quiet --report "$work/scripted" --script "$work/script" "${tooth[@]}" U
check "--script: the reports of the options" cmp -s "$work/options" "$work/scripted"

# Wrong usage: exit status 2 and one line, before any stratum.
while IFS='|' read -r why message args; do
  [ -z "$why" ] && continue
  eval "set -- $args"
  "$veltrum" "$@" >"$work/out" 2>"$work/err"
  check "$why: exit status 2" test $? -eq 2
  check "$why: the message" grep -qF -- "$message" "$work/err"
  check "$why: nothing shown" test ! -s "$work/out"
done <<ROWS
an unknown variable|the table has no column "dosis"|--data $examples/toothgrowth.csv --by dosis U --group-var supp --target len --groups OJ,VC
an unknown variable of a data file|the data file has no variable "dosis"|--data $examples/toothgrowth.dat --by dosis U --group-var supp --target len --groups 1,2
a letter without a data file|the test H reads no data file|--by supp H --n1 3 --n2 4
no data file|--by needs the data file to split|--by supp U --group-var supp --target len --groups 1,2
ROWS

echo "by: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
