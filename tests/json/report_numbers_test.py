#!/usr/bin/env python3
"""--json against the report: for each letter on example data the JSON document validates against
docs/veltrum-result.schema.json, and every number of the report's result lines equals the JSON
number rounded to the decimals the report prints.  The report is read with regular expressions
here, apart from the module's picture formatter; a result line with a number that no row of the
table below reads fails the test.

Usage: report_numbers_test.py VELTRUM EXAMPLES_DIR SCHEMA
"""
import json
import os
import re
import subprocess
import sys
import tempfile

import jsonschema

veltrum, examples, schema_path = sys.argv[1:4]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
work = tempfile.mkdtemp()
env = dict(os.environ, VELTRUM_DRIVE_C=os.path.join(work, "C"), SOURCE_DATE_EPOCH="1796634300")
failures = []


def run(args):
    """The report (UTF-8 text) and the JSON document of one run."""
    report = os.path.join(work, "report")
    out = subprocess.run([veltrum, "--json", "-", "--report", report] + args, env=env, capture_output=True)
    doc = json.loads(out.stdout.decode("utf-8"))
    text = ""
    if os.path.exists(report):
        with open(report, encoding="cp1252") as f:
            text = f.read().replace("\r\n", "\n")
        os.remove(report)
    return out.returncode, text, doc


def printed_matches(printed, value):
    """Whether `printed` (as the report shows it) is `value` rounded to the printed digits."""
    m = re.fullmatch(r"(-?)(\d*)\.?(\d*)(?:E([+-]\d+))?", printed)
    if not m or value is None:
        return False
    decimals = len(m.group(3))
    exponent = int(m.group(4) or 0)
    half = 0.5 * 10.0 ** (exponent - decimals)
    return abs(float(printed) - value) <= half * (1 + 1e-6) + 1e-12 * abs(value)


def path(doc, where):
    """doc at a path like 'results.comparisons.0.z'; 'abs:PATH' its absolute value."""
    if where.startswith("abs:"):
        return abs(path(doc, where[4:]))
    for key in where.split("."):
        doc = doc[int(key)] if isinstance(doc, list) else doc[key]
    return doc


R = "results."
N = r"(-?[\d.]+(?:E[+-]\d+)?)"  # a printed number
# Lines with digits that are not results: the header's date, the input block's file and the
# references.
IGNORED = [r".*\d\d\.\d\d\.\d{4} \(\d\d:\d\d\)", r"Eingabedatei ist .*", r".*\(\d{4}\).*", r".* \d{4}\.?",
           r".*(Kap\.|Wiley|Springer|Band \d|Biometri|Technometrics|Journal|Nr\. \d).*",
           r"DUNN: .*", r"NEMENYI: .*", r".*alpha=0\.05=5% und alpha=0\.01=1%.*", r"Die 90%- und 98%-.*",
           r"Die Konfidenzintervalle gelten für n1>9.*", r"Multiple Vergleiche für r.*",
           r"  i   Stichproben .*", r"Kategorie .*", r"Lageskizze der (\d+) Gruppen.*", r".*H0\(theta=theta0\):",
           r"VORSICHT: Die Summe .*", r"Vorzeichen   \|     -     0     \+  \|", r" *-+\d-+",
           r"Nemenyi, P\.: .*"]

# Rows: (regular expression of a whole line, function of the match giving the JSON paths of its
# numbers in order; a path None skips that number).
SHARED = [
    (r"  davon Variable (\d+) \(.*\)  und Gruppen-Var\. (\d+) \(.*\) = ([\d ]+)",
     lambda m: ["input.variables.0.column", "input.group_variable.column"]
     + [f"input.groups.{i}.number" for i in range(len(m.group(3).split()))]),
    (r"  davon Variable (\d+) \(.*\) - Variable (\d+) \(.*\)", lambda m: ["input.variables.0.column",
                                                                          "input.variables.1.column"]),
    (r"  und Gruppe Var\. (\d+) \(.*\) = (\d+)", lambda m: ["input.group_variable.column", "input.groups.0.number"]),
    (r" +(?:davon Variablen )?((?:\d+ \([^)]*\),? ?)+)",
     lambda m: [None] * len(re.findall(r"\d+ \(", m.group(1)))),
    (r"  und Gruppen Var\. (\d+) \(.*\) = (\d+) und (\d+)",
     lambda m: ["input.group_variable.column", "input.groups.0.number", "input.groups.1.number"]),
]
LETTER = {
    "H": [
        (rf"Vergleiche die absoluten Häufigkeiten n1={N} und n2={N}:", lambda m: [R + "n1", R + "n2"]),
        (rf"Prüfgröße Chi²= *{N} *: p={N} zweiseitig", lambda m: [R + "chi_square", R + "p_chi_square.value"]),
        (rf"Exakter Binomial-Test : p={N} ein!seitig", lambda m: [R + "p_binomial_one_sided.value"]),
        (rf"Exakter Binomial-Test : p={N} zweiseitig", lambda m: [R + "p_binomial_two_sided.value"]),
    ],
    "AG": [
        (rf" +{N} +{N}  [<>=] +{N} +{N} +{N} +{N} +{N}",
         lambda m: [None] + [f"{R}categories.{int(m.group(1)) - 1}.{k}"
                             for k in ("observed", "expected", "relative", "probability", "chi_square", "p.value")]),
        (rf" +Sum +{N} +{N} +{N} +{N} +{N} +{N}",
         lambda m: [R + k for k in ("total", "expected_sum", "relative_sum", "probability_sum", "q", "p_q.value")]),
        (rf"Erwartete Häufigkeit = *{N}", lambda m: [R + "expected_frequency"]),
        (rf"Prüfgröße: +Chi² = *{N}", lambda m: [R + "chi_square"]),
        (rf"mit Freiheitsgrad fg = *{N}", lambda m: [R + "df"]),
        (rf"und +p = *{N}", lambda m: [R + "p_chi_square.value"]),
    ],
    "B": [
        (rf"Anzahl Versuche n = {N}", lambda m: [R + "n"]),
        (rf"Anzahl Erfolge  k = *{N}", lambda m: [R + "k"]),
        (rf"Hypothetischer Wert aus H0: theta0 = {N}", lambda m: [R + "theta0"]),
        (rf"Errechnete relative Häufigkeit k/n = {N}", lambda m: [R + "ratio"]),
        (rf"Zur Alternative Ha\(theta<theta0\): P\(k<={N}\) = p = {N}", lambda m: [R + "k", R + "p_lower.value"]),
        (rf"Zur Alternative Ha\(theta>theta0\): P\(k>={N}\) = p = {N}", lambda m: [R + "k", R + "p_upper.value"]),
        (rf"Per Fisher's F mit Ablehnungsbereich p=2\*\(p/2\): p = {N}", lambda m: [R + "p_two_sided.value"]),
        (r"P\*100%-Konfidenzintervalle für theta:", lambda m: []),
        (rf"P = {N}: \( {N} , {N} \)( \(einseitig!\))?( \(approximativ\))?",
         lambda m: [f"{R}intervals.{['0.90', '0.95', '0.98', '0.99'].index(m.group(1))}.{k}"
                    for k in ("level", "lower", "upper")]),
    ],
    "U": [
        (rf"U = *{N}  \( p = {N} : exakter Test(?:, konservativ mit U={N})?\s*\)",
         lambda m: [R + "u", R + "p_u.value"] + ([R + "u_rounded"] if m.group(3) else [])),
        (rf"U = *{N}  \( p = {N} : exakter Test, linear interpoliert\)", lambda m: [R + "u", R + "p_u_interpolated.value"]),
        (rf"U = *{N}  \( p = {N} : approximativ \)", lambda m: [R + "u", R + "p_u.value"]),
        (rf"Z = *{N}  \( p = {N} : approximativ \)", lambda m: [R + "z", R + "p_z.value"]),
        (rf"Mann-Whitney-Schätzer für p=P\(X{N}<X{N}\) = *{N}",
         lambda m: [R + "group1", R + "group2", R + "mann_whitney_estimate"]),
        (rf"Hodges-Lehmann-Schätzer für 'X{N}-X{N}' = {N}", lambda m: [R + "group1", R + "group2", R + "hodges_lehmann"]),
        (rf"Stichprobe +{N} +\| +{N} +{N} +{N} +{N} +\| +{N} +{N}", None),  # read by group below
        (rf"P = {N}:  \( *{N} , *{N} \)",
         lambda m: [f"{R}{BLOCK[0]}.{LEVELS.index(m.group(1))}.{k}" for k in ("level", "lower", "upper")]),
    ],
    "K": [
        (rf"H = *{N} : Chi²-verteilt mit df = *{N} \( p = *{N} \)", lambda m: [R + "h", R + "df", R + "p_h.value"]),
        (rf" *{N} +{N} versus *{N} +{N} +{N} +{N} +{N} +{N} +{N}",
         lambda m: [f"{R}comparisons.{int(m.group(1)) - 1}.{k}".replace(R, "abs:" + R if k == "z" else R) for k in (
             "row", "first_group", "second_group", "z", "p.value", "p_holm.value", "p_holm_max.value", "chi_square",
             "p_nemenyi.value")]),
        (rf"Stichprobe +{N} +\| +{N} +{N} +{N} +{N} +\| +{N} +{N}", None),
    ],
    "NT": [
        (r"[\d |]+", lambda m: None),  # scores and count table, checked as a whole below
        (rf"Prüfgröße: Chi²={N} mit fg={N} und p={N}", lambda m: [R + "chi_square", R + "df", R + "p_chi_square.value"]),
    ],
    "E": [
        (rf"Resultierende Tafel \( M = Overall-Median = *{N} \)", lambda m: [R + "median"]),
        (rf"Stichprobe {N} : +{N} +{N} +\| +{N}",
         lambda m: [None] + [f"{R}{k}.{int(m.group(1)) - 1}" for k in ("below", "at_or_above", "row_totals")]),
        (rf"Gesamt: +{N} +{N} +\| +{N}", lambda m: [R + "below_total", R + "at_or_above_total", R + "n"]),
        (rf"Chi² = *{N} \(p = {N}, zweiseitig approximativ\)", lambda m: [R + "chi_square", R + "p_chi_square.value"]),
        (rf"Fisher's Test:  \(p = {N}, ein!seitig exakter Test\)", lambda m: [R + "p_fisher_one_sided.value"]),
        (rf"Fisher's Test:  \(p = {N}, zweiseitig exakter Test\)", lambda m: [R + "p_fisher_two_sided.value"]),
        (r"VORSICHT: Die Test-Voraussetzung phi\(ij\)>=5 und n>=20 ist nicht erfüllt\.", lambda m: []),
    ],
    "S": [
        (rf"Kolmogoroff-Smirnoff's delta = *{N} \( p [<>] *{N} \((?:exakter Test|approximativ)\) \)",
         lambda m: [R + "d", R + "p_d.level"]),
    ],
    "F": [
        (rf"Friedman's Chi² = *{N} \(fg  = *{N}, +p = *{N}\)", lambda m: [R + "chi_square", R + "df", R + "p_chi_square.value"]),
        (rf"Rijkoort-Wise's F = *{N} \(fg1 = *{N}, fg2 = *{N}, p = *{N}\)",
         lambda m: [R + "f", R + "df1", R + "df2", R + "p_f.value"]),
        (rf"Spalten *{N} und *{N}: D = *{N} \( p [<>] {N} \)", None),
        (rf"Spalten *{N} und *{N}: D = *{N}  p = {N}", None),
    ],
    "O": [
        (rf" *{N}: ([01 ]+)", None),
        (rf"Cochran's Q = *{N} : Chi² mit df = *{N} \( p = {N}\)", lambda m: [R + "q", R + "df", R + "p_q.value"]),
    ],
    "W": [
        (rf"Stichprobenumfang: n  = {N}", lambda m: [R + "n"]),
        (rf"Ungleiche Paare:   n' = {N}", lambda m: [R + "nonzero"]),
        (rf"Prüfgröße R\^ = *{N} \( p = *{N} (?:exakter Test|approximativ) \)", lambda m: [R + "r_hat", R + "p_r_hat.value"]),
        (rf"Prüfgröße Z  = *{N} \( p = *{N} approximativ \)", lambda m: [R + "z", R + "p_z.value"]),
        (rf"Hodges-Lehmann-Schätzer = *{N}", lambda m: [R + "hodges_lehmann"]),
        (rf"P = {N}:  \( *{N} , *{N} \)",
         lambda m: [f"{R}tukey_intervals.{['0.9000', '0.9500', '0.9900'].index(m.group(1))}.{k}"
                    for k in ("level", "lower", "upper")]),
    ],
    "V": [
        (rf"Häufigkeiten \| +{N} +{N} +{N}  \|", lambda m: [R + "minus", R + "zero", R + "plus"]),
        (rf"Binomial-Wahrscheinlichkeit p = *{N} \(exakt, ein!seitig\)", lambda m: [R + "p_one_sided.value"]),
        (rf"Binomial-Wahrscheinlichkeit p = *{N} \(exakt, zweiseitig\)", lambda m: [R + "p_two_sided.value"]),
    ],
    "C": [
        (rf"Stichprobenumfänge: +n1 = *{N}", lambda m: [R + "n1"]),
        (rf" +n2 = *{N}", lambda m: [R + "n2"]),
        (rf"(Nacheffekte|Haupteffekte|Erste Periode): +Wilcoxon's U = *{N} \( p = *{N} : (?:exakter Test|approximativ) \)",
         lambda m: [f"{R}analyses.{CROSS[m.group(1)]}.{k}" for k in ("u", "p_u.value")]),
        (rf" +Gauss' +Z = *{N} \( p = *{N} : approximativ \)", None),
    ],
}
LEVELS = ["0.9000", "0.9500", "0.9800", "0.9900"]
BLOCK = [None]  # the interval block of a U report being read
CROSS = {"Nacheffekte": "carry_over", "Haupteffekte": "treatment_effects", "Erste Periode": "first_period"}
# Which table reads each letter's report; U lines also appear for K with two groups.
TABLE = {"H": "H", "A": "AG", "G": "AG", "B": "B", "U": "U", "K": "K", "N": "NT", "T": "NT", "E": "E", "S": "S",
         "F": "F", "O": "O", "W": "W", "V": "V", "C": "C"}

# Each letter on its example data and on the inputs of the golden reports and command-line checks.
CASES = [
    ["H", "--n1", "0", "--n2", "7"],
    ["H", "--keyword", "Würfel", "--n1", "200", "--n2", "0"],
    ["A", "--freq", "30,20,10", "--prob", "0.5,0.3,0.2"],
    ["A", "--freq", "5,5", "--prob", "0.5,0.4"],
    ["G", "--freq", "10,20,30"],
    ["B", "--keyword", "Münze", "--n", "25", "--k", "7", "--theta", "0.4"],
    ["B", "--n", "10", "--k", "0", "--theta", "0.5"],
    ["B", "--n", "40000", "--k", "20000", "--theta", "0.5"],
    ["--data", "toothgrowth.dat", "U", "--group-var", "supp", "--target", "len", "--groups", "1,2"],
    ["--data", "plantgrowth.dat", "U", "--group-var", "group", "--target", "weight", "--groups", "3,1"],
    ["--data", "airquality.dat", "K", "--group-var", "Month", "--target", "Ozone", "--groups", "all"],
    ["--data", "toothgrowth.dat", "K", "--group-var", "supp", "--target", "len"],
    ["--data", "mtcars.dat", "N", "--group-var", "trans", "--target", "cyl", "--groups", "1,2"],
    ["--data", "insectsprays.dat", "T", "--group-var", "spray", "--target", "count", "--groups", "all"],
    ["--data", "toothgrowth.dat", "E", "--group-var", "supp", "--target", "len", "--groups", "1,2"],
    ["--data", "chickweight.dat", "E", "--group-var", "Chick", "--target", "weight", "--groups", "7,16"],
    ["--data", "chickweight.dat", "S", "--group-var", "Diet", "--target", "weight", "--groups", "1,2"],
    ["--data", "plantgrowth.dat", "S", "--group-var", "group", "--target", "weight", "--groups", "2,3"],
    ["--data", "roundingtimes.dat", "F", "--targets", "RoundOut,NarrowAngle,WideAngle"],
    ["--data", "attitude.dat", "F", "--targets", "1,2,3,4,5,6,7"],
    ["O", "--rows", "8", "--cols", "3", "--table", "1,1,0;1,1,1;0,1,0;1,1,0;0,0,0;1,1,1;1,1,0;1,0,0"],
    ["--data", "sleep.dat", "W", "--vars", "drug1,drug2"],
    ["--data", "survey.dat", "W", "--vars", "Wr.Hnd,NW.Hnd", "--group-var", "Sex", "--group", "1"],
    ["--data", "sleep.dat", "V", "--vars", "2,3"],
    ["--data", "asthma.dat", "C", "--group-var", "Sequenz", "--periods", "PEF1,PEF2", "--groups", "1,2"],
    ["M"],
]


def check_table_rows(name, doc, lines):
    """The numbers of table-like lines, compared row by row."""
    r = doc["results"]
    out = []
    for line in lines:
        m = re.fullmatch(rf"Stichprobe +{N} +\| +{N} +{N} +{N} +{N} +\| +{N} +{N}", line)
        if m:
            row = next(g for g in r["groups"] if g["group"] == int(m.group(1)))
            out += list(zip(m.groups()[1:], [row[k] for k in ("median", "minimum", "maximum", "n", "rank_sum",
                                                               "mean_rank")]))
        m = re.fullmatch(rf"Spalten *{N} und *{N}: D = *{N}(?: \( p [<>] {N} \)|  p = {N})", line)
        if m:
            row = next(c for c in r["comparisons"] if c["first"] == int(m.group(1)) and c["second"] == int(m.group(2)))
            out += [(m.group(3), row["d"])]
            out += [(m.group(4), row["p"]["level"])] if m.group(4) else [(m.group(5), row["p"]["value"])]
        m = re.fullmatch(rf" *{N}: ([01 ]+)", line)
        if m and "table" in r:
            out += list(zip(m.group(2).split(), r["table"][int(m.group(1)) - 1]))
        m = re.fullmatch(rf" +Gauss' +Z = *{N} \( p = *{N} : approximativ \)", line)
        if m:
            out.append((m.group(1), None))  # placed by the caller (the analysis above)
    return out


def validated_run(args):
    """Runs a case (.dat names taken from the examples); its name, exit status, report and
    document, or None after noting a document the schema refuses."""
    args = [os.path.join(examples, a) if a.endswith(".dat") else a for a in args]
    name = " ".join(os.path.basename(a) for a in args)
    status, report, doc = run(args)
    try:
        jsonschema.validate(doc, schema)
    except jsonschema.ValidationError as e:
        failures.append(f"{name}: schema: {e.message} at {list(e.absolute_path)}")
        return None
    return name, status, report, doc


for args in CASES:
    letter = next(a for a in args if re.fullmatch(r"[A-Z]", a))
    ran = validated_run(args)
    if ran is None:
        continue
    name, status, report, doc = ran
    if status != 0 or not doc["ok"] or doc["letter"] != letter:
        failures.append(f"{name}: exit {status}, ok {doc['ok']}")
        continue
    if letter == "M":
        continue
    table = LETTER[TABLE[letter]] + SHARED
    if letter == "K" and doc["results"].get("u") is not None:
        table = LETTER["U"] + SHARED
    compared = 0
    last_analysis = None
    for line in report.split("\n")[4:]:
        line = line.rstrip()
        if "Konfidenzintervalle zum Mann-Whitney" in line:
            BLOCK[0] = "mann_whitney_intervals"
        elif "Moses-Konfidenzintervalle" in line:
            BLOCK[0] = "moses_intervals"
        if not re.search(r"\d", line) or any(re.fullmatch(p, line) for p in IGNORED):
            continue
        for pattern, paths in table:
            m = re.fullmatch(pattern, line)
            if not m:
                continue
            if paths is None:
                pairs = check_table_rows(name, doc, [line])
                if pairs and pairs[0][1] is None:  # the Z line of a cross-over analysis
                    t = doc["results"]["analyses"][last_analysis]
                    pairs = [(m.group(1), t["z"]), (m.group(2), t["p_z"]["value"])]
            else:
                where = paths(m)
                if where is None:
                    break
                printed = [t for g in m.groups() if g for t in g.split() if re.fullmatch(N, t)]
                if len(printed) != len(where):
                    failures.append(f"{name}: '{line}': {len(printed)} numbers, {len(where)} paths")
                pairs = [(t, path(doc, p)) for t, p in zip(printed, where) if p is not None]
                if letter == "C" and m.lastindex and m.group(1) in CROSS:
                    last_analysis = CROSS[m.group(1)]
            for printed, value in pairs:
                compared += 1
                if not printed_matches(printed, value):
                    failures.append(f"{name}: '{line.strip()}': {printed} is not {value!r}")
            break
        else:
            failures.append(f"{name}: no row reads '{line}'")
    if letter in "NT":  # the scores and the count table, row by row
        r = doc["results"]
        body = report[report.index("Scores der Zielgröße"):report.index("Prüfgröße")]
        numbers = [float(x) for x in re.findall(r"-?\d+(?:\.\d+)?", body)]
        expected = list(r["scores"]) + [x for row, total in zip(r["counts"], r["row_totals"]) for x in row + [total]] \
            + r["column_totals"] + [r["n"]]
        if numbers != expected:
            failures.append(f"{name}: the scores and count table differ: {numbers} != {expected}")
        compared += len(numbers)
    if compared < 3:
        failures.append(f"{name}: only {compared} numbers compared")
    print(f"{name}: {compared} numbers")

# Runs that end without a report: the document validates, says "ok": false and why.
REFUSED = [
    ["H", "--n1", "0", "--n2", "0"],
    ["--data", "toothgrowth.dat", "U", "--group-var", "supp", "--target", "len", "--groups", "1,1"],
    ["--data", "sleep.dat", "W", "--vars", "drug1,drug1"],
    ["G", "--freq", "7"],
    ["O", "--rows", "3", "--cols", "11", "--table", "1,0;0,1"],
]
for args in REFUSED:
    ran = validated_run(args)
    if ran is None:
        continue
    name, status, report, doc = ran
    if status == 0 or doc["ok"] or not doc["messages"] or doc["results"] or doc["effect_sizes"]:
        failures.append(f"{name}: exit {status}, {doc}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"all {len(CASES)} runs agree with their reports")
