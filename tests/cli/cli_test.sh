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

# shellcheck source=check.sh
. "$(dirname "$0")/check.sh"
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
check "empty field names the option" test "$(cat "$work/err")" = "veltrum: the dialog needs a value for --n1"

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

# Letters A, G and B.
"$veltrum" --quiet --report "$work/report" G --freq 10,20,30 2>"$work/err"
check "G exit status" test $? -eq 0
check "G report is the golden file" cmp -s "$work/report" "$golden/G_10_20_30.txt"
check "G no messages" test ! -s "$work/err"
"$veltrum" --quiet --report "$work/report" A --freq 30,20,10 --prob 0.5,0.3,0.2
check "A report is the golden file" cmp -s "$work/report" "$golden/A_30_20_10.txt"
"$veltrum" --quiet --report "$work/report" A --freq "30;20;10" --prob "0,5;0,3;0,2"
check "A semicolon list with decimal commas" cmp -s "$work/report" "$golden/A_30_20_10.txt"
"$veltrum" A --freq 5,5 --prob 0.5,0.4 >"$work/out"
check "A probabilities not summing to 1" has_line "$work/out" "VORSICHT: Die Summe der eingegebenen Wahrscheinlichkeiten ist nicht 1!"
check "A no computation" has_line "$work/out" "Keine Berechnung."
"$veltrum" A --freq 5,5 --prob 0.5 >/dev/null 2>"$work/err"
check "A lists of different lengths are a usage error" test $? -eq 2
"$veltrum" G --freq 10,,30 >/dev/null 2>&1
check "G empty list value is a usage error" test $? -eq 2
"$veltrum" G --freq 7 >"$work/out" 2>"$work/err"
check "G one category exits without report" test $? -eq 1
check "G one category message" test "$(cat "$work/err")" = " Vorsicht!: Der Stichprobenumfang ist zu klein !"
check "G one category shows nothing" test ! -s "$work/out"
"$veltrum" G --freq 10,2.5,30 >/dev/null 2>"$work/err"
check "G fractional frequency" grep -qxF " Vorsicht!: Bitte keine negativen und keine reellen Zahlen verwenden!" "$work/err"
"$veltrum" G --freq "$(seq -s, 1 101)" >"$work/out" 2>"$work/err"
check "G 101st category exit status" test $? -eq 1
check "G 101st category message" grep -qF " Achtung!: Es sind höchstens 100 Kategorien möglich!" "$work/err"
check "G 101st category refused" grep -qxF 'veltrum: the dialog did not accept --freq value 101 (101)' "$work/err"
check "G no report without the 101st category" test ! -s "$work/out"

"$veltrum" --quiet --report "$work/report" B --n 10 --k 0 --theta 0.5
check "B report is the golden file" cmp -s "$work/report" "$golden/B_10_0.txt"
"$veltrum" --quiet --report "$work/report" B --keyword "Münze" --n 25 --k 7 --theta 0.4
check "B keyword report is the golden file" cmp -s "$work/report" "$golden/B_25_7_keyword.txt"
"$veltrum" B --n 12,0 --k 3 --theta 0,5 >"$work/out" 2>"$work/err"
check "B decimal comma in theta refused" test $? -eq 1
check "B theta message" test "$(cat "$work/err")" = " Vorsicht!: Wahrscheinlichkeiten p nur 0<p<1!"
"$veltrum" B --n 12,0 --k 30 --theta 0.25 >"$work/out"
check "B n with decimal comma, k set to n" has_line "$work/out" "Anzahl Erfolge  k = 12"
# R: binom.test(12, 12, alternative = "greater", conf.level = 0.9)$conf.int[1] = 0.825404185268018
check "B one-sided mark" has_line "$work/out" "P = 0.90: ( 0.825404 , 1.000000 ) (einseitig!)"
check "help names A, G, B" grep -q -- "--prob" <("$veltrum" A --help)
check "help explains LIST" grep -q -- "semicolons" <("$veltrum" G --help)

# Letters U and K on the example data files (R's datasets).
examples=$(cd "$golden/../../examples" && pwd)
"$veltrum" --data "$examples/toothgrowth.dat" U --group-var supp --target len --groups 1,2 >"$work/out" 2>"$work/err"
check "U exit status" test $? -eq 0
check "U input block" has_line "$work/out" "  davon Variable 1 (len)  und Gruppen-Var. 2 (supp) = 1 2 "
# R: wilcox.test(len ~ supp, ToothGrowth, exact = FALSE, correct = FALSE)$p.value = 0.0634296763969
check "U approximate p" grep -qF "( p = 0.063430 : approximativ )" "$work/out"
check "U no messages" test ! -s "$work/err"

"$veltrum" --data "$examples/airquality.dat" K --group-var Month --target Ozone --groups all >"$work/out"
check "K all groups exit status" test $? -eq 0
check "K groups by first appearance" has_line "$work/out" "  davon Variable 1 (Ozone)  und Gruppen-Var. 5 (Month) = 5 6 7 8 9 "
# R: kruskal.test(Ozone ~ Month, airquality): 29.26658, p = 6.900714e-06
check "K statistic" grep -qF "H =  29.2666 : Chi²-verteilt mit df = 4 ( p = 0.000007 )" "$work/out"

# Columns by number, groups in entry order, the listing.  R: airquality$Ozone[airquality$Month == 7][1:2] = 135 49
"$veltrum" --data "$examples/airquality.dat" K --group-var 5 --target 1 --groups 7,5,9 --list >"$work/out"
check "K entered groups" has_line "$work/out" "  davon Variable 1 (Ozone)  und Gruppen-Var. 5 (Month) = 7 5 9 "
check "K listing group" has_line "$work/out" "Gruppe 7 "
check "K listing values" grep -qzF $'  1:   135.0000\n  2:    49.0000\n' "$work/out"

# R: kruskal.test(weight ~ group, PlantGrowth): 7.988229, p = 0.01842376
"$veltrum" --data "$examples/plantgrowth.dat" K --group-var group --target weight >"$work/out"
check "K default is all groups" grep -qF "H =   7.9882 : Chi²-verteilt mit df = 2 ( p = 0.018424 )" "$work/out"

"$veltrum" --data "$examples/toothgrowth.dat" K --group-var dose --target len >"$work/out" 2>"$work/err"
check "group value 0.5 is refused" test $? -eq 1
check "range message" grep -qF "<1 bzw. >1000. Der hier vorhandene Wert 0" "$work/err"
check "range message shows no report" test ! -s "$work/out"

"$veltrum" --data "$examples/toothgrowth.dat" U --group-var supp --target len --groups 1,1 >"$work/out" 2>"$work/err"
check "equal groups exit status" test $? -eq 1
check "equal groups message" test "$(head -n 1 "$work/err")" = " Vorsicht!: Bitte verschiedene Gruppen vergleichen!"

"$veltrum" --data "$examples/toothgrowth.dat" U --group-var Dosis --target len --groups 1,2 >/dev/null 2>"$work/err"
check "unknown variable is a usage error" test $? -eq 2
check "unknown variable named" grep -qF '"Dosis"' "$work/err"
"$veltrum" --data "$examples/toothgrowth.dat" U --group-var supp --target 9 --groups 1,2 >/dev/null 2>&1
check "column beyond the variables is a usage error" test $? -eq 2
"$veltrum" --data "$examples/toothgrowth.dat" U --group-var supp --target len --groups all >/dev/null 2>&1
check "all groups is for K only" test $? -eq 2
check "help names --group-var" grep -q -- "--group-var" <("$veltrum" K --help)

# Letters N and T: R's mtcars and InsectSprays (tests/golden/make_score_golden.py has the reports).
"$veltrum" --data "$examples/mtcars.dat" N --group-var trans --target cyl --groups 1,2 >"$work/out" 2>"$work/err"
check "N exit status" test $? -eq 0
check "N input block" has_line "$work/out" "  davon Variable 2 (cyl)  und Gruppen-Var. 5 (trans) = 1 2 "
# R: (32 - 1) * cor(mtcars$cyl, mtcars$am)^2 = 8.46666189, pchisq(., 1, lower.tail = FALSE) = 0.00361715
check "N statistic" has_line "$work/out" "Prüfgröße: Chi²=8.4667 mit fg=1 und p=0.003617"
check "N table row" has_line "$work/out" "  3  4 12| 19"
check "N no messages" test ! -s "$work/err"

"$veltrum" --data "$examples/insectsprays.dat" T --group-var spray --target count --groups all >"$work/out"
check "T all groups exit status" test $? -eq 0
# R: (72 - 1) * summary(lm(count ~ spray, InsectSprays))$r.squared = 51.43517, p = 7.0e-10
check "T statistic" has_line "$work/out" "Prüfgröße: Chi²=51.4352 mit fg=5 und p=0.000000"
check "T 24 scores wrap after 23 cells" has_line "$work/out" "  0| 12"
check "T four reference lines" test "$(sed -n '/^Literatur:$/,$p' "$work/out" | wc -l)" -eq 5

# R: s <- split(InsectSprays$count, InsectSprays$spray)[c(3, 4, 5)]: 35 * R^2 = 8.73488774, p = 0.01268362
"$veltrum" --data "$examples/insectsprays.dat" T --group-var spray --target count --groups 3,4,5 >"$work/out"
check "T entered groups" has_line "$work/out" "Prüfgröße: Chi²=8.7349 mit fg=2 und p=0.012684"

"$veltrum" --data "$examples/insectsprays.dat" T --group-var spray --target count --groups 2 >"$work/out" 2>"$work/err"
check "T one group exit status" test $? -eq 1
check "T one group message" test "$(cat "$work/err")" = " Vorsicht!: Es müssen mindestens 2 Gruppen vorhanden sein!"
# The dialog actions come from the letter's option table in a fixed order (ticks, list choices,
# typed fields, entries), whatever the order of the options; messages name options, not letters.
"$veltrum" --print-script --data "$examples/toothgrowth.dat" U --list --groups 1,2 --target len --group-var supp >"$work/out"
check "print-script order" test "$(cat "$work/out")" = "$(printf 'tick 407\npick 201 1\npick 401 0\ntype 403 1\ntype 404 2\nenter')"
"$veltrum" --print-script --data "$examples/toothgrowth.dat" K --groups 7,5 >"$work/out"
check "print-script counted entries" test "$(cat "$work/out")" = "$(printf 'type 403 2\nenter\ntype 404 7\nenter\ntype 404 5\nenter\nenter')"
"$veltrum" --data "$examples/toothgrowth.dat" U --groups 1,2,3 >/dev/null 2>"$work/err"
check "too many fields is a usage error" test $? -eq 2
check "too many fields names the option" test "$(cat "$work/err")" = "veltrum: --groups: takes at most 2 values"

# Letters E and S: the example files under C:\, so that the reports are the golden ones (R's values,
# tests/golden/make_distribution_golden.py).
mkdir -p "$work/C"
cp "$examples"/*.dat "$work/C/"
"$veltrum" --data 'C:\toothgrowth.dat' --quiet --report "$work/report" E --group-var supp --target len --groups 1,2 2>"$work/err"
check "E exit status" test $? -eq 0
check "E report is the golden file" cmp -s "$work/report" "$golden/E_toothgrowth.txt"
check "E no messages" test ! -s "$work/err"
"$veltrum" --data 'C:\chickweight.dat' E --group-var Chick --target weight --groups 7,16 >"$work/out"
check "E warning" has_line "$work/out" "VORSICHT: Die Test-Voraussetzung phi(ij)>=5 und n>=20 ist nicht erfüllt."
check "E Fisher two-sided" has_line "$work/out" "Fisher's Test:  (p = 0.012821, zweiseitig exakter Test)"
for run in "plantgrowth group 2,3" "toothgrowth supp 1,2" "chickweight Diet 1,2"; do
  set -- $run
  "$veltrum" --data "C:\\$1.dat" --quiet --report "$work/report" S --group-var "$2" --target 1 --groups "$3"
  check "S $1 report is the golden file" cmp -s "$work/report" "$golden/S_$1.txt"
done
# All values equal (class width 0): D = 0, not significant.
printf 'Gruppe;N;5;0 Wert;N;6;2\r\n     1   3.50\r\n     1   3.50\r\n     2   3.50\r\n     2   3.50\r\n' >"$work/C/gleich.dat"
"$veltrum" --data 'C:\gleich.dat' S --group-var Gruppe --target Wert --groups 1,2 >"$work/out"
check "S equal values" has_line "$work/out" "Kolmogoroff-Smirnoff's delta = 0.0000 ( p > 0.1000 (exakter Test) )"
# A group of one value: the message, no report.
printf 'Gruppe;N;5;0 Wert;N;6;2\r\n     1   3.50\r\n     2   1.00\r\n     2   2.00\r\n' >"$work/C/klein.dat"
for letter in E S; do
  "$veltrum" --data 'C:\klein.dat' $letter --group-var Gruppe --target Wert --groups 1,2 >"$work/out" 2>"$work/err"
  check "$letter small group exit status" test $? -eq 1
  check "$letter small group message" test "$(head -n 1 "$work/err")" = " Vorsicht!: Der Stichprobenumfang mindestens einer Gruppe ist zu klein!"
  check "$letter small group shows no report" test ! -s "$work/out"
done
check "help names E and S" grep -q -- "--groups" <("$veltrum" S --help)
# Letter C on Senn's asthma trial (examples/asthma.dat); groups entered 2,1 are read as 1 and 2.
"$veltrum" --data "$examples/asthma.dat" C --group-var Sequenz --periods PEF1,PEF2 --groups 2,1 --list >"$work/out" 2>"$work/err"
check "C exit status" test $? -eq 0
check "C input block" has_line "$work/out" "  davon Variablen 2 (PEF1), 3 (PEF2) "
check "C smaller group first" has_line "$work/out" "  und Gruppen Var. 1 (Sequenz) = 1 und 2 "
check "C listing" grep -qzF $'Gruppe 2 \n\n  i    Var.  2    Var.  3\n  1   370.0000   385.0000\n' "$work/out"
# R: d1 <- c(40, 50, 70, 20, 40, 30, -35); d2 <- c(-15, -90, -30, -30, -80, -130); 2 * pwilcox(3, 7, 6) = 0.008159
check "C treatment effects" has_line "$work/out" "Haupteffekte:  Wilcoxon's U =       3.0 ( p = 0.008159 : exakter Test )"
check "C no messages" test ! -s "$work/err"
"$veltrum" --data "$examples/asthma.dat" C --group-var 1 --periods 2 --groups 1,2 >/dev/null 2>&1
check "C needs two periods" test $? -eq 2
"$veltrum" --data "$examples/asthma.dat" C --group-var 1 --periods 2,3 --groups 1,1 >/dev/null 2>"$work/err"
check "C equal groups message" test "$(head -n 1 "$work/err")" = " Vorsicht!: Bitte verschiedene Gruppen vergleichen!"
printf 'press 909\nescape\n' >"$work/help"
"$veltrum" --data "$examples/asthma.dat" --script "$work/help" C >"$work/out" 2>"$work/err"
check "C help box" test "$(head -n 1 "$work/err")" = " Hilfe zum Cross-Over!: Im Cross-Over-Versuchsplan erhält die erste von zwei Gruppen"
check "C help box lines" test "$(wc -l <"$work/err")" -eq 12
check "C help box shows no report" test ! -s "$work/out"
# Letter F on the example data (Hollander & Wolfe's rounding times; R's attitude).
"$veltrum" --data "$examples/roundingtimes.dat" F --targets RoundOut,NarrowAngle,WideAngle >"$work/out" 2>"$work/err"
check "F exit status" test $? -eq 0
check "F input block" has_line "$work/out" "  davon Variablen 1 (RoundOut), 2 (NarrowAngle), 3 (WideAngle)"
check "F chi-square" has_line "$work/out" "Friedman's Chi² =    11.1429 (fg  =  2,            p = 0.003805)"
check "F Wilcoxon-Wilcox" has_line "$work/out" "Spalten  1 und  3: D =   21.00 ( p < 0.01 )"
check "F no messages" test ! -s "$work/err"
"$veltrum" --quiet --report "$work/f" --data "$examples/attitude.dat" F --targets 1,2,3,4,5,6,7 --list
check "F with listing is the golden report but for the file name" \
  cmp -s <(sed 1,7d "$work/f") <(sed 1,7d "$golden/F_attitude_listing.txt")
"$veltrum" --data "$examples/attitude.dat" F --targets rating,raises >"$work/out" 2>"$work/err"
check "F with two targets ends without report" test $? -eq 1
check "F two targets advice" test "$(cat "$work/err")" = \
  " Vorsicht!: Für c=2 'Spalten' ist der Wilcoxon-matched-pairs-Test trennschärfer!"
"$veltrum" --data "$examples/attitude.dat" F --targets rating,salary >/dev/null 2>&1
check "F unknown target is a usage error" test $? -eq 2

# Letter O: the table typed cell by cell.
"$veltrum" --raw O --rows 8 --cols 3 --table "1,1,0;1,1,1;0,1,0;1,1,0;0,0,0;1,1,1;1,1,0;1,0,0" >"$work/raw"
check "O report is the golden file" cmp -s "$work/raw" "$golden/O_8x3.txt"
"$veltrum" --print-script O --rows 2 --cols 2 --table "1,0;0,1" >"$work/out"
check "O print-script" test "$(cat "$work/out")" = "$(printf 'type 1304 2\ntype 1305 2\ntype 1308 1\nenter\ntype 1308 0\nenter\ntype 1308 0\nenter\ntype 1308 1\nenter\nenter')"
"$veltrum" O --rows 3 --cols 11 --table "1,0;0,1" >"$work/out" 2>"$work/err"
check "O beyond ten columns ends without report" test $? -eq 1
check "O columns message" test "$(head -n 1 "$work/err")" = " Vorsicht!: Bitte 2 bis 10 Spalten (Bedingungen) angeben!"
"$veltrum" O --rows 2 --cols 2 --table "1,0;1" >/dev/null 2>&1
check "O ragged table is a usage error" test $? -eq 2
# Letters W and V on paired example data (R's sleep data; the student survey of MASS).
# R: x <- sleep$extra[1:10]; y <- sleep$extra[11:20]; nz <- (x - y)[x != y]; 2 * psignrank(0, 9) = 0.00390625;
# Z = 22.5 / sqrt(9 * 10 * 19 / 24), 2 * pnorm(-Z) = 0.007686
"$veltrum" --data "$examples/sleep.dat" W --vars drug1,drug2 >"$work/out" 2>"$work/err"
check "W exit status" test $? -eq 0
check "W sample sizes" has_line "$work/out" "Ungleiche Paare:   n' = 9 "
check "W exact line" has_line "$work/out" "Prüfgröße R^ =      0.00 ( p = 0.003906 exakter Test )"
check "W normal line" has_line "$work/out" "Prüfgröße Z  =    2.6656 ( p = 0.007686 approximativ )"
check "W no messages" test ! -s "$work/err"
# R: binom.test(0, 9)$p.value = 0.00390625, pbinom(0, 9, 0.5) = 0.001953125
"$veltrum" --data "$examples/sleep.dat" V --vars 2,3 --list >"$work/out"
check "V counts" has_line "$work/out" "Häufigkeiten |     9     1     0  |"
check "V two-sided" has_line "$work/out" "Binomial-Wahrscheinlichkeit p = 0.003906 (exakt, zweiseitig)"
check "V listing heading" has_line "$work/out" "  i      Var  2     Var  3     Diff"
# Group 1 of Sex, as the golden report W_survey_group.txt.
"$veltrum" --data "$examples/survey.dat" W --vars Wr.Hnd,NW.Hnd --group-var Sex --group 1 >"$work/out"
check "W group line" has_line "$work/out" "  und Gruppe Var. 1 (Sex) = 1 "
check "W group exact line" has_line "$work/out" "Prüfgröße R^ =   1873.50 ( p = 0.011640 exakter Test )"
# A group number without a group variable: the question; No (the default) keeps the dialog open.
"$veltrum" --data "$examples/survey.dat" V --vars 2,3 --group 1 >"$work/out" 2>"$work/err"
check "group without variable, No: exit status" test $? -eq 1
check "group without variable, No: the question" grep -qF "Soll die Gruppennummer '1' ignoriert werden?" "$work/err"
"$veltrum" --yes --data "$examples/survey.dat" V --vars 2,3 --group 1 >"$work/out" 2>"$work/err"
check "group without variable, Yes: the whole file" has_line "$work/out" "Häufigkeiten |    93    41   102  |"
"$veltrum" --data "$examples/sleep.dat" W --vars drug1,drug1 >"$work/out" 2>"$work/err"
status=$?
check "the same variable twice is refused" grep -qF "Bitte verschiedene Variablen!" "$work/err"
check "the same variable twice: no report" test $status -eq 1 -a ! -s "$work/out"
"$veltrum" --data "$examples/sleep.dat" W --vars drug1 >/dev/null 2>&1
check "--vars needs two variables" test $? -eq 2
check "--print-script of W" test "$("$veltrum" --data "$examples/survey.dat" --print-script W --vars 2,3 --group-var Sex --group 2)" = "$(printf 'pick 203 1\npick 211 2\npick 201 1\ntype 202 2\nenter')"

"$veltrum" --print-script H --keyword "Würfel" --n1 12,5 --n2 3 >"$work/out"
check "print-script exit status" test $? -eq 0
check "print-script actions" test "$(cat "$work/out")" = "$(printf 'type 101 Würfel\ntype 102 12,5\ntype 103 3\nenter')"
"$veltrum" --print-script H --n1 1 --n2 1 >"$work/script"
"$veltrum" --script "$work/script" --quiet --report "$work/a" H
"$veltrum" --quiet --report "$work/b" H --n1 1 --n2 1
check "a printed script replays the same session" cmp -s "$work/a" "$work/b"

# Bad input: each ends in a clear message on standard error and a non-zero exit, never in a cut or
# reduced report.  One row each: name | exit status | a text standard error must hold | arguments.
air="$examples/airquality.dat"
survey="$examples/survey.dat"
printf 'type 102 3\rtype 103 4\renter\r' >"$work/cr.script"
printf 'g;N;8;2 ;N;8;2 z;N;8;2\r\n       1       2       3\r\n' >"$work/empty-name.dat"
printf 'choose 102 \033[31mred\nenter\n' >"$work/esc.script"
printf 'type 999 3\nenter\n' >"$work/unknown-control.script"
printf 'answer ok\ntype 102 3\ntype 103 4\nenter\n' >"$work/answer.script"
printf 'select 102 0\ntype 102 3\ntype 103 4\nenter\n' >"$work/select-edit.script"
printf 'tick 102\ntype 102 3\ntype 103 4\nenter\n' >"$work/tick-edit.script"
printf '# nothing to do\n\n' >"$work/empty.script"
: >"$work/empty.dat"
mkfifo "$work/pipe.dat"
# Pairs 6e38 apart; a cell beyond the float range.
printf 'x;N;8;1 y;N;8;1\r\n   3e+38   -3e+38\r\n  -3e+38    3e+38\r\n   3e+38   -3e+38\r\n  -3e+38    3e+38\r\n' >"$work/apart.dat"
printf 'x;N;8;1 y;N;8;1\r\n     0.7      1.9\r\n    1e40      0.8\r\n     nan      1.1\r\n' >"$work/beyond.dat"
while IFS='|' read -r name status message args; do
  [ -z "$name" ] && continue
  eval "set -- $args"
  "$veltrum" "$@" >"$work/out" 2>"$work/err"
  check "$name: exit status" test $? -eq "$status"
  check "$name: message" grep -qF -- "$message" "$work/err"
done <<'ROWS'
report copy on a full disk|1|veltrum: cannot write /dev/full|--report /dev/full H --n1 3 --n2 4
value longer than its field|2|veltrum: --n1: "0000000012" is longer than the dialog's field takes (9 characters)|H --n1 0000000012 --n2 3
n beyond the field|2|veltrum: --n: "2147483648" is longer than the dialog's field takes (9 characters)|B --n 2147483648 --k 1 --theta 0.5
list value beyond the field|2|veltrum: --freq: "00000000000020" is longer than the dialog's field takes (11 characters)|G --freq 30,00000000000020,10
probability 0 refused|1|veltrum: the dialog did not accept --freq and --prob value 2 (6, 0)|A --freq 5,6,7 --prob 0.5,0,0.5
negative frequency refused|1|veltrum: the dialog did not accept --freq and --prob value 2 (-6, 0.3)|A --freq 5,-6,7 --prob 0.3,0.3,0.4
last pair refused|1|veltrum: the dialog did not accept --freq and --prob value 2 (6, 0)|A --freq 5,6 --prob 1,0
frequency beyond the float range|1|veltrum: the dialog did not accept --freq and --prob value 1 (1e40, 0.5)|A --freq 1e40,5 --prob 0.5,0.5
probability beyond the float range|1|veltrum: the dialog did not accept --freq and --prob value 2 (6, 1e39)|A --freq 5,6 --prob 0.5,1e39
uniform frequency beyond the float range|1|veltrum: the dialog did not accept --freq value 1 (1e40)|G --freq 1e40,5
duplicate K group|1| Vorsicht!: Bitte verschiedene Gruppen vergleichen!|--data "$air" K --group-var Month --target Ozone --groups 5,5
group 0|1|veltrum: the dialog did not accept --groups value "0"|--data "$air" K --group-var Month --target Ozone --groups 0
empty n1|1|veltrum: the dialog did not accept --n1 ""|H --n1 "" --n2 3
empty n|1|veltrum: the dialog did not accept --n ""|B --n "" --k 1 --theta 0.5
n beyond the 32-bit range|1| Vorsicht!: Anzahl Versuche höchstens 2147483647 !|B --n 1e12 --k 1 --theta 0.5
unknown letter|2|veltrum: unknown letter 'X'; the letters are K, |X
path outside Windows-1252|2|veltrum: --data: the path "数.dat" has characters the module cannot hold (it takes Windows-1252 only)|--data 数.dat K --group-var 1 --target 2
empty variable name|2|empty-name.dat": Die  Datei  ist  l e e r  oder  fehlerhaft, möglicherweise bedingt durch Import.|--data "$work/empty-name.dat" K --group-var 1 --target z
control characters escaped|2|veltrum: script line 1 (choose 102 \x1b[31mred): no entry with that text|--script "$work/esc.script" H
O table wider than its count of columns|2|veltrum: --table: the table has 2 x 3 values, the options say 2 x 2|O --rows 2 --cols 2 --table "1,0,1;0,1,1"
O table longer than its count of rows|2|veltrum: --table: the table has 3 x 2 values, the options say 2 x 2|O --rows 2 --cols 2 --table "1,0;0,1;1,1"
O cell neither 0 nor 1|2|veltrum: --table: row 1 value 2 is "x", not 0 or 1|O --rows 2 --cols 2 --table "1,x;0,1"
O rows beyond 16 bits|1| Vorsicht!: Höchstens 1001 Zeilen (Blöcke) sind möglich!|O --rows 40000 --cols 2 --table "1,0;0,1"
two groups for one|2|veltrum: --group: takes one number, not "1,2"|--data "$survey" V --vars Wr.Hnd,NW.Hnd --group-var Sex --group 1,2
two groups by semicolon|2|veltrum: --group: takes one number, not "1;2"|--data "$survey" W --vars Wr.Hnd,NW.Hnd --group-var Sex --group "1;2"
an empty group between two|2|veltrum: --group: takes one number, not "1,,2"|--data "$survey" F --targets 2,3,4 --group-var Sex --group 1,,2
group beyond 16 bits|1| Vorsicht!: Gruppennummern nur >0 und <=1000!|--data "$survey" W --vars Wr.Hnd,NW.Hnd --group-var Sex --group 99999
cell beyond the float range|1|in Zeile 3 der aktiven Datei liegt außerhalb des|--data "$work/beyond.dat" W --vars x,y
Walsh averages beyond the float range|1| Achtung!: Berechnung ist nicht möglich!|--data "$work/apart.dat" W --vars x,y
sum of frequencies beyond the float range|1| Achtung!: Berechnung ist nicht möglich!|G --freq 3e38,3e38
data file missing|2|none.dat": no such file|--data "$work/none.dat" K --group-var 1 --target 2
data file a directory|2|": a directory|--data "$work" K --group-var Month --target Ozone
data file a device|2|veltrum: --data: cannot read "/dev/null": not a regular file|--data /dev/null K --group-var Month --target Ozone
data file a pipe by column number|2|": not a regular file|--data "$work/pipe.dat" K --group-var 1 --target 2
data file empty|2|": the file is empty|--data "$work/empty.dat" K --group-var 1 --target 2
script control unknown|2|veltrum: script line 1 (type 999 3): dialog HAUFIG has no such control|--script "$work/unknown-control.script" H
script answer without a box|2|no message box to answer|--script "$work/answer.script" H
script select on an edit field|2|(select 102 0): not a multi-selection list box|--script "$work/select-edit.script" H
script tick on an edit field|2|(tick 102): not a check box|--script "$work/tick-edit.script" H
script empty|2|empty.script holds no actions|--script "$work/empty.script" H
keyword with a line end|2|veltrum: --keyword: a line end cannot be typed into the dialog|H --keyword $'Zeile\r\nZwei' --n1 3 --n2 4
ROWS

SOURCE_DATE_EPOCH=99999999999999 "$veltrum" H --n1 1 --n2 2 >/dev/null 2>"$work/err"
check "date beyond 9999: exit status" test $? -eq 2
check "date beyond 9999: message" grep -qF "SOURCE_DATE_EPOCH=99999999999999 is not" "$work/err"
"$veltrum" --script "$work/cr.script" --quiet --report "$work/cr" H
"$veltrum" --quiet --report "$work/lf" H --n1 3 --n2 4
check "a script with CR line ends plays" cmp -s "$work/cr" "$work/lf"
printf '\xef\xbb\xbftype 102 3\ntype 103 4\nenter\n' >"$work/bom.script"
"$veltrum" --script "$work/bom.script" --quiet --report "$work/bom" H
check "a script's byte order mark is skipped" cmp -s "$work/bom" "$work/lf"

# Standard output that cannot take the report: full or closed.
"$veltrum" H --n1 3 --n2 7 >/dev/full 2>"$work/err"
check "full standard output: exit status" test $? -eq 1
check "full standard output: message" has_line "$work/err" "veltrum: cannot write standard output"
"$veltrum" H --n1 3 --n2 7 >&- 2>"$work/err"
check "closed standard output: exit status" test $? -eq 1
check "closed standard output: message" has_line "$work/err" "veltrum: cannot write standard output"
cp "$work/C/Ausgabe" "$work/closed"
"$veltrum" --quiet --report "$work/h37" H --n1 3 --n2 7
check "closed standard output: the report file whole" cmp -s "$work/closed" "$work/h37"

# Control characters of a variable name are shown escaped on a terminal, kept in the report file.
printf 'g;N;4;0 a\033[2Jb;N;6;1\r\n   1    3.0\r\n   1    4.0\r\n   2    5.0\r\n   2    6.0\r\n' >"$work/esc.dat"
"$veltrum" --data "$work/esc.dat" U --group-var g --target 2 --groups 1,2 >"$work/out"
check "escape in a name shown escaped" grep -qF '(a\x1b[2Jb)' "$work/out"
check "escape in a name not obeyed" test "$(grep -c $'\033' "$work/out")" -eq 0
check "escape in a name kept in the report file" grep -qF $'(a\033[2Jb)' "$work/C/Ausgabe"

# Letter M on a full drive C: the write-error message, no text shown.
mkdir -p "$work/full"
ln -s /dev/full "$work/full/Hilfe"
VELTRUM_DRIVE_C="$work/full" "$veltrum" M >"$work/out" 2>"$work/err"
check "M on a full drive: exit status" test $? -eq 1
check "M on a full drive: message" grep -qF " Achtung!: Schreibfehler:" "$work/err"
check "M on a full drive: nothing shown" test ! -s "$work/out"

# A read-only drive C holding an earlier G report: H, B and O say why and show nothing (as root,
# the runs are made as nobody, for whom the drive is read-only).
other() { if [ "$(id -u)" -eq 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi; }
chmod 755 "$work"
mkdir -p "$work/ro"
cp "$golden/G_10_20_30.txt" "$work/ro/Ausgabe"
chmod a-w "$work/ro/Ausgabe" "$work/ro"
for run in "H --n1 3 --n2 7" "B --n 10 --k 3 --theta 0.5" "O --rows 2 --cols 2 --table 1,0;0,1"; do
  VELTRUM_DRIVE_C="$work/ro" other "$veltrum" $run >"$work/out" 2>"$work/err"
  check "read-only drive, ${run%% *}: exit status" test $? -eq 1
  check "read-only drive, ${run%% *}: nothing shown" test ! -s "$work/out"
  check "read-only drive, ${run%% *}: message" grep -qF "was not written by this run" "$work/err"
done
chmod u+w "$work/ro"

# Sixteen runs at once on one drive C, twenty rounds: every report is its own single run's.
mkdir -p "$work/many"
for i in $(seq 16); do "$veltrum" --raw H --n1 "$i" --n2 $((i * 3)) >"$work/many/single$i"; done
mixed=0
for round in $(seq 20); do
  for i in $(seq 16); do "$veltrum" --raw H --n1 "$i" --n2 $((i * 3)) >"$work/many/run$i" & done
  wait
  for i in $(seq 16); do cmp -s "$work/many/run$i" "$work/many/single$i" || mixed=$((mixed + 1)); done
done
check "16 runs at once, 20 rounds: every report its own ($mixed mixed)" test "$mixed" -eq 0
"$veltrum" --data "$air" K --group-var Month --target Ozone --groups ALL >"$work/out"
check "ALL in capitals takes every group" grep -qF "H =  29.2666 : Chi²-verteilt mit df = 4 ( p = 0.000007 )" "$work/out"
cp "$examples/toothgrowth.dat" "$work/größe.dat"
"$veltrum" --raw --data "$work/größe.dat" U --group-var supp --target len --groups 1,2 >"$work/out"
check "a UTF-8 path is written in Windows-1252" grep -qaF "$(printf 'gr\xf6\xdfe.dat')" "$work/out"

# Every letter's help ends with a pointer to its section of docs/methods.md: an anchor that
# GitHub makes of one of its headings (lower case, punctuation dropped, blanks as hyphens; the
# lines of code blocks are no headings).
methods="$golden/../../docs/methods.md"
awk '/^```/ { code = !code; next } !code && /^#+ / { sub(/^#+ /, ""); print }' "$methods" |
  tr 'A-Z' 'a-z' | sed 's/[^a-z0-9 _-]//g; s/ /-/g' >"$work/anchors"
letters=$("$veltrum" X 2>&1 | sed -n 's/.*the letters are //p' | tr -d ',.')
check "the letters are listed" test "$(wc -w <<<"$letters")" -eq 16
for letter in $letters; do
  last=$("$veltrum" "$letter" --help | tail -n 1)
  check "$letter help points to its methods section" grep -qxF -- "${last#Methods: docs/methods.md#}" "$work/anchors"
  check "$letter help ends with the methods line" test "${last%%#*}" = "Methods: docs/methods.md"
done

echo "$passed passed, $failed failed"
test "$failed" -eq 0
