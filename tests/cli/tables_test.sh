#!/usr/bin/env bash
# Tables as people hold them: every example data file written as CSV, as a German semicolon CSV
# with decimal commas, as TSV and piped through standard input gives the report of the data file
# itself, byte for byte apart from the line that names the input; text labels stand for their
# numbers; bad tables end before any dialog with one line naming file, row and column.
# Usage: tables_test.sh VELTRUM EXAMPLES_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=check.sh
. "$here/check.sh"
table_test_setup "$@"
names_line() { grep -aqxF "Eingabedatei ist $2"$'\r' "$1"; }
no_folder_left() { test -z "$(ls -A "$TMPDIR")"; }

# One row per run of the examples' tests: data file | letter and options.
while IFS='|' read -r example args; do
  [ -z "$example" ] && continue
  eval "set -- $args"
  for style in comma semicolon tab; do
    python3 "$here/dat_to_table.py" "$examples/$example.dat" "$work/$example.$style" "$style"
  done
  mv "$work/$example.comma" "$work/$example.csv"
  mv "$work/$example.semicolon" "$work/${example}_de.csv"
  mv "$work/$example.tab" "$work/$example.tsv"
  "$veltrum" --quiet --report "$work/fixed" --data "$examples/$example.dat" "$@" 2>/dev/null
  check "$example $1: the data file gives a report" test -s "$work/fixed"
  for input in "$example.csv" "${example}_de.csv" "$example.tsv"; do
    rm -f "$work/report"
    (cd "$work" && "$veltrum" --quiet --report "$work/report" --data "$input" "$@" 2>/dev/null)
    check "$input $*: the same report" same_but_name "$work/fixed" "$work/report"
    check "$input $1: the report names the file as given" names_line "$work/report" "$input"
  done
  rm -f "$work/report"
  "$veltrum" --quiet --report "$work/report" --data - "$@" <"$work/$example.csv" 2>/dev/null
  check "standard input, $example $*: the same report" same_but_name "$work/fixed" "$work/report"
  check "standard input, $example $1: named as such" names_line "$work/report" "<Standardeingabe>"
  check "$example $1: no private folder left" no_folder_left
done <<'RUNS'
toothgrowth|U --group-var supp --target len --groups 1,2 --list
toothgrowth|K --group-var dose10 --target len
toothgrowth|E --group-var supp --target len --groups 1,2
toothgrowth|S --group-var supp --target len --groups 1,2
airquality|K --group-var Month --target Ozone --groups all --list
airquality|T --group-var Month --target Temp --groups 5,7,9
plantgrowth|K --group-var group --target weight --list
plantgrowth|S --group-var group --target weight --groups 2,3
mtcars|N --group-var trans --target cyl --groups 1,2 --list
insectsprays|T --group-var spray --target count --groups all --list
chickweight|S --group-var Diet --target weight --groups 1,2
chickweight|E --group-var Chick --target weight --groups 7,16 --list
sleep|W --vars drug1,drug2 --list
sleep|V --vars 2,3 --list
survey|W --vars Wr.Hnd,NW.Hnd --group-var Sex --group 1 --list
survey|V --vars Wr.Hnd,NW.Hnd --group-var Sex --group 2
asthma|C --group-var Sequenz --periods PEF1,PEF2 --groups 2,1 --list
roundingtimes|F --targets RoundOut,NarrowAngle,WideAngle --list
attitude|F --targets 1,2,3,4,5,6,7 --list
RUNS

# Text labels: R's ToothGrowth as write.csv writes it (VC comes first, so VC is 1 and OJ 2).
tg="$examples/toothgrowth.csv"
"$veltrum" --quiet --report "$work/labels" --data "$tg" U --group-var supp --target len --groups OJ,VC 2>"$work/err"
check "labels: exit status" test $? -eq 0
check "labels: numbering said once" test "$(cat "$work/err")" = "veltrum: supp: 1 = VC, 2 = OJ"
"$veltrum" --quiet --report "$work/numbers" --data "$tg" U --group-var supp --target len --groups 2,1 2>/dev/null
check "labels: the report of the numbers" cmp -s "$work/labels" "$work/numbers"
"$veltrum" --quiet --report "$work/labels" --data "$examples/pflanzen.csv" K --group-var Gruppe --target Gewicht \
  --groups "Kontrolle,Behandlung 2" 2>"$work/err"
"$veltrum" --quiet --report "$work/numbers" --data "$examples/pflanzen.csv" K --group-var Gruppe --target Gewicht \
  --groups 1,3 2>/dev/null
check "German labels: the report of the numbers" cmp -s "$work/labels" "$work/numbers"
check "German labels: numbering" grep -qxF "veltrum: Gruppe: 1 = Kontrolle, 2 = Behandlung 1, 3 = Behandlung 2" "$work/err"
mkdir -p "$work/C" && cp "$examples/pflanzen.csv" "$work/C/"
"$veltrum" --quiet --report "$work/drive" --data 'C:\pflanzen.csv' K --group-var Gruppe --target Gewicht \
  --groups "Kontrolle,Behandlung 2" 2>/dev/null
check "a table under C:\\ is read there" same_but_name "$work/labels" "$work/drive"
check "a table under C:\\ is named so" names_line "$work/drive" 'C:\pflanzen.csv'

# Names the data file cannot hold are changed; options take the original name too.
printf 'dry weight,group\n4.17,ctrl\n5.58,ctrl\n4.81,trt1\n4.17,trt1\n' >"$work/names.csv"
"$veltrum" --quiet --report "$work/a" --data "$work/names.csv" U --group-var group --target "dry weight" --groups ctrl,trt1 2>"$work/err"
check "renamed: exit status" test $? -eq 0
check "renamed: said" grep -qxF 'veltrum: column 1: the name "dry weight" is written as dry_weight' "$work/err"
"$veltrum" --quiet --report "$work/b" --data "$work/names.csv" U --group-var 2 --target dry_weight --groups 1,2 2>/dev/null
check "renamed: the original name and the new one alike" cmp -s "$work/a" "$work/b"
check "renamed: the report shows the new name" grep -aqF "Variable 1 (dry_weight)" "$work/a"

# The options of the format: another separator, decimal commas, tokens for missing values, and the
# encoding of older spreadsheets give the report of the same table written plainly.
printf 'g,x\n1,\n1,3.5\n2,\n2,4\n1,2\n2,1.5\n' >"$work/plain.csv"
"$veltrum" --quiet --report "$work/a" --data "$work/plain.csv" U --group-var g --target x --groups 1,2 --list
printf 'g|x\n1|-99\n1|3,5\n2|.\n2|4\n1|2\n2|1,5\n' >"$work/other.txt"
"$veltrum" --quiet --report "$work/b" --data "$work/other.txt" --data-format csv --sep '|' --decimal , --na -99 --na . \
  U --group-var g --target x --groups 1,2 --list
check "--sep, --decimal, --na: the same report" same_but_name "$work/a" "$work/b"
printf 'Gr\xfc\xdfe;x\n1;2\n2;3,5\n1;4\n2;5\n' >"$work/cp1252.csv"
printf 'Grüße;x\n1;2\n2;3,5\n1;4\n2;5\n' >"$work/utf8.csv"
"$veltrum" --quiet --report "$work/a" --data "$work/cp1252.csv" --encoding windows-1252 U --group-var Grüße --target x --groups 1,2
"$veltrum" --quiet --report "$work/b" --data "$work/utf8.csv" U --group-var Grüße --target x --groups 1,2
check "--encoding windows-1252: the same report" same_but_name "$work/a" "$work/b"
printf 'g\tx\ty\n1\t\t3\n2\t4\t\n' >"$work/gaps.tsv"
"$veltrum" --print-script --data "$work/gaps.tsv" W --vars x,y >"$work/out"
check "TSV: empty cells between tabs keep their columns" test "$(cat "$work/out")" = "$(printf 'pick 203 1\npick 211 2\nenter')"

# Bad tables: name | exit status | standard error holds | the table (printf format) | options.
seq_header=$(seq -s, 1 201)
seq_row=$(seq -s, 1 201)
labels=$(for i in $(seq 1 1001); do printf 'g%d,%d\\n' "$i" "$i"; done)
while IFS='|' read -r name status message table args; do
  [ -z "$name" ] && continue
  # shellcheck disable=SC2059
  printf "$table" >"$work/bad.csv"
  eval "set -- $args"
  "$veltrum" --data "$work/bad.csv" "$@" >"$work/out" 2>"$work/err"
  check "$name: exit status" test $? -eq "$status"
  check "$name: message" grep -qF -- "$message" "$work/err"
  check "$name: one line" test "$(wc -l <"$work/err")" -eq 1
  check "$name: no report" test ! -s "$work/out"
  check "$name: no private folder left" no_folder_left
done <<ROWS
number beyond the float range|2|bad.csv: row 3, column 2 (x): the number 1e40 is beyond the range of the 4-byte floats the module stores|g,x\n1,2\n2,1e40\n|U --group-var g --target x --groups 1,2
negative beyond the float range|2|bad.csv: row 2, column 2 (x): the number -3.5E+39 is beyond the range|g,x\n1,-3.5E+39\n2,1\n|U --group-var g --target x --groups 1,2
infinity|2|bad.csv: row 2, column 2 (x): the number -Inf is beyond the range|g,x\n1,-Inf\n2,1\n|U --group-var g --target x --groups 1,2
below the float range|2|bad.csv: row 2, column 2 (x): the number 1e-50 is not zero but below the range|g,x\n1,1e-50\n2,1\n|U --group-var g --target x --groups 1,2
below the long double range|2|bad.csv: row 2, column 2 (x): the number 5e-99999 is not zero but below the range|g,x\n1,5e-99999\n2,1\n|U --group-var g --target x --groups 1,2
the missing-value code|2|bad.csv: row 2, column 2 (x): the number 1.0E32 is the value the data file uses for a missing value|g,x\n1,1.0E32\n2,1\n|U --group-var g --target x --groups 1,2
text column as target|2|veltrum: --target: column 2 (x) holds text (row 3: "n/a"), not numbers|g,x\n1,2\n2,n/a\n|U --group-var g --target x --groups 1,2
more than 1000 labels|2|veltrum: --group-var: column 1 (g) has 1001 different texts, more than the 1000 groups|g,x\n$labels|K --group-var g --target x
more than 200 columns|2|bad.csv: row 1, column 201: more than the 200 variables the module takes|$seq_header\n$seq_row\n|K --group-var 1 --target 2
a row too short|2|bad.csv: row 3, column 2 (x): this row has 1 cells, the header row 2 names|g,x\n1,2\n2\n|U --group-var g --target x --groups 1,2
a row too long|2|bad.csv: row 2, column 3: this row has more cells than the header row has names (2)|g,x\n1,2,3\n2,1\n|U --group-var g --target x --groups 1,2
unterminated quote|2|bad.csv: row 3, column 2 (x): a quote that is never closed|g,x\n1,2\n2,"3\n1,2\n|U --group-var g --target x --groups 1,2
quote inside a cell|2|bad.csv: row 2, column 2 (x): a quote inside an unquoted cell|g,x\n1,2"5\n2,1\n|U --group-var g --target x --groups 1,2
NUL byte|2|bad.csv: row 2, column 1 (g): a NUL byte|g,x\n1\\0,2\n2,1\n|U --group-var g --target x --groups 1,2
not UTF-8|2|bad.csv: row 3, column 1 (g): the text is not UTF-8|g,x\n1,2\nM\\374nchen,1\n|U --group-var g --target x --groups 1,2
outside Windows-1252|2|bad.csv: row 1, column 2: "数" has a character outside Windows-1252|g,数\n1,2\n2,1\n|U --group-var g --target 2 --groups 1,2
not Windows-1252|2|bad.csv: row 2, column 1 (g): the byte 129 is no Windows-1252 character|g,x\n\\201,2\n2,1\n|--encoding windows-1252 U --group-var g --target x --groups 1,2
empty input|2|bad.csv: row 1, column 1: the input is empty|\n|U --group-var g --target x --groups 1,2
separator of two characters|2|veltrum: --sep: takes one character (or "tab"), not "ab"|g,x\n1,2\n|--sep ab U --group-var g --target x --groups 1,2
decimal mark neither comma nor point|2|veltrum: --decimal: takes , or ., not "x"|g,x\n1,2\n|--decimal x U --group-var g --target x --groups 1,2
header without records|2|bad.csv: row 2, column 1: the header row has no records below it|g,x\r\n|U --group-var g --target x --groups 1,2
ROWS

"$veltrum" --data "$work/missing.csv" U --group-var 1 --target 2 --groups 1,2 >/dev/null 2>"$work/err"
check "a table that is not there: exit status" test $? -eq 2
check "a table that is not there: message" grep -qF "veltrum: cannot read $work/missing.csv: No such file or directory" "$work/err"

echo "$passed passed, $failed failed"
test "$failed" -eq 0
