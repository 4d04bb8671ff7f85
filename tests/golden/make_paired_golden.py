#!/usr/bin/env python3
"""Writes the golden reports of letters W and V from the documented report layout.

The data are the example files of ../../examples (R's sleep data and the student survey of
MASS), read as the module reads them: fixed-width columns, each value the 32-bit float of its
decimal text, a blank entry missing (the pair is dropped), differences x - y rounded to a 32-bit
float.  The statistics are R's: the differences are handed to Rscript (see R_PROGRAM: rank,
psignrank, pnorm, qnorm, qsignrank, the sorted Walsh averages, pbinom, binom.test) and only the
layout is applied here.  Nothing comes from the module's output.  A picture field shows R's value
rounded half up; every printed statistic is checked to lie at least 5e-7 (relative) away from a
rounding boundary, so that a result right to single precision prints the same digits.

Run from this directory:  python3 make_paired_golden.py
"""
import os
import subprocess
from functools import partial

import golden_layout
from golden_layout import adaptive, f32, header, plain, write

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples")
LEVELS = [0.90, 0.95, 0.99]

R_PROGRAM = r"""
options(digits = 17)
d <- scan(file("stdin"), quiet = TRUE)
n <- length(d); nz <- d[d != 0]; m <- length(nz)
cat("n", n, "\n"); cat("nonzero", m, "\n")
# Sign test: the smaller signed count (plus when equal) under B(n*, 1/2).
minus <- sum(d < 0); plus <- sum(d > 0); k <- if (plus > minus) minus else plus
cat("signs", minus, n - m, plus, "\n")
cat("p1", pbinom(k, m, 0.5), "\n")
cat("binom.test", if (m > 0) binom.test(k, m)$p.value else 1, "\n")
if (m >= 2) {
  r <- rank(abs(nz))                      # mid-ranks
  rp <- sum(r[nz > 0]); rm <- sum(r[nz < 0]); rh <- min(rp, rm)
  z <- abs(rh - m * (m + 1) / 4) / sqrt(m * (m + 1) * (2 * m + 1) / 24)
  cat("rhat", rh, "\n"); cat("z", z, "\n"); cat("pa", 2 * pnorm(z, lower.tail = FALSE), "\n")
  if (m <= 180) { p1 <- psignrank(floor(rh + 0.5), m); cat("pexact", if (p1 <= 0.5) 2 * p1 else 1, "\n") }
  if (n <= 500) {
    a <- outer(d, d, "+") / 2; w <- sort(a[upper.tri(a, diag = TRUE)]); M <- length(w)
    cat("walsh", w[M %/% 2], w[M %/% 2 + 1], w[(M + 1) %/% 2], M, "\n")
    for (P in c(0.90, 0.95, 0.99)) {
      if (n <= 20) { k <- qsignrank((1 - P) / 2, n) - 1; a <- k }
      else { a <- n * (n + 1) / 4 - qnorm(1 - (1 - P) / 2) * sqrt(n * (n + 1) * (2 * n + 1) / 24) + 0.5; k <- floor(a) }
      cat("level", P, k, a, if (k > -1) c(w[k + 1], w[M - k]) else c(NA, NA), "\n")
    }
  }
}
"""


# A printed statistic must lie 2e-7 (relative: a float's rounding and a little) away from a
# rounding boundary, or `error` (absolute, with relative=0) where a statistic's error is known.
field = partial(golden_layout.field, relative=2e-7)


def read_data(name):
    """Names and rows of an example file: each row a list of 32-bit floats or None (blank)."""
    with open(os.path.join(EXAMPLES, name), "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    fields = [h.split(";") for h in lines[0].split(" ")]
    names = [f[0] for f in fields]
    spans, start = [], 0
    for i, f in enumerate(fields):
        width = int(f[2]) + (1 if i == 0 else 0)
        spans.append((start, start + width))
        start += width + 1
    rows = []
    for line in lines[1:]:
        if not line.strip():
            continue
        rows.append([f32(float(line[a:b])) if line[a:b].strip() else None for a, b in spans])
    return names, rows


def pairs(rows, first, second, group_var=0, group=0):
    """(x, y) of the rows taken: the group matches (when chosen), neither value missing."""
    taken = []
    for row in rows:
        if group_var:
            g = row[group_var - 1]
            if g is None or round(g) != group:
                continue
        x, y = row[first - 1], row[second - 1]
        if x is None or y is None:
            continue
        taken.append((x, y))
    return taken


# Only this generator calls R; the others carry R's values as literals.
def r_values(d):
    out = subprocess.run(["Rscript", "-e", R_PROGRAM], input=" ".join(repr(v) for v in d), text=True,
                         capture_output=True, check=True).stdout
    values = {"level": []}
    for line in out.splitlines():
        key, *rest = line.split()
        if key == "level":
            values["level"].append(rest)
        else:
            values[key] = [float(v) for v in rest]
    print(out)
    return values


# W and V name a pair of variables and at most one group: their own input block and listing.
def input_block(names, first, second, group_var, group):
    lines = ["", "Eingabedatei ist C:\\daten.dat",
             "  davon Variable" + plain(first) + f"({names[first - 1]}) " + "- Variable" + plain(second) +
             f"({names[second - 1]}) "]
    if group_var:
        lines.append("  und Gruppe Var." + plain(group_var) + f"({names[group_var - 1]}) " + "=" + plain(group))
    return lines + [""]


def listing(taken, first, second, group):
    lines = [""]
    if group > 0:
        lines += ["Gruppe" + plain(group), ""]
    lines += ["  i      Var" + field(first, 3) + "     " + "Var" + field(second, 3) + "     Diff", ""]
    for i, (x, y) in enumerate(taken, 1):
        lines.append(field(i, 3) + ":" + adaptive(x) + adaptive(y) + adaptive(f32(x - y)))
    return lines + [""]


def w_lines(taken):
    d = [f32(x - y) for x, y in taken]
    r = r_values(d)
    n, m = int(r["n"][0]), int(r["nonzero"][0])
    lines = ["", "Stichprobenumfang: n  =" + plain(n), "Ungleiche Paare:   n' =" + plain(m), ""]
    rhat = r["rhat"][0]
    line = "Prüfgröße R^ =" + "  " + field(rhat, 5, 2, exact=True)
    if m <= 180:
        line += " ( p =" + field(r["pexact"][0], 2, 6) + " exakter Test )"
    else:
        line += " ( p =" + field(r["pa"][0], 2, 6, relative=0, error=2.5e-7) + " approximativ )"
    lines.append(line)
    # p_a is 2 (1 - Phi(Z)) with Phi in single precision: absolute errors up to about 1.2e-7.
    lines.append("Prüfgröße Z  = " + field(r["z"][0], 4, 4) + " ( p =" +
                 field(r["pa"][0], 2, 6, relative=0, error=2.5e-7) + " approximativ )")
    if n > 500:
        lines += ["", "Konfidenzintervalle werden nur bis n<=500 berechnet."]
    else:
        lo, hi, mid, M = r["walsh"]
        hl = f32((f32(lo) + f32(hi)) / 2) if int(M) % 2 == 0 else f32(mid)
        lines += ["", "Hodges-Lehmann-Schätzer =" + adaptive(hl), "", "Tukey-Konfidenzintervalle:", ""]
        intervals = []
        for (P, k, a, lower, upper) in r["level"]:
            # k = INT(a + 0.5) must not depend on the last bits of the normal quantile.
            if n > 20:
                assert abs(float(a) - round(float(a))) > 1e-4, a
            if int(k) > -1:
                intervals.append("P =" + field(f32(float(P)), 2, 4, exact=True) + ":  (" + adaptive(f32(float(lower))) +
                                 " ," + adaptive(f32(float(upper))) + " )")
        lines += intervals or ["Keine Intervalle berechenbar!"]
    return lines + ["", "", "Literatur:",
                    "Hollander, M., Wolfe, D.A.: Nonparametric Statistical Methods, Kap. 3. Wiley, New York 1999.",
                    "Lehmann, E.L.: Nonparametrics: Statistical Methods Based on Ranks. Holden-Day, San Francisco 1975."]


def v_lines(taken):
    r = r_values([f32(x - y) for x, y in taken])
    minus, zero, plus = (int(v) for v in r["signs"])
    p1 = r["p1"][0]
    p2 = 2 * p1 if p1 <= 0.5 else 1.0
    assert abs(p2 - r["binom.test"][0]) < 1e-12  # binom.test(k, n*) for p = 1/2
    return ["Vorzeichen   |     -     0     +  |",
            "-----------------------------------",
            "Häufigkeiten |" + "".join(" " + field(c, 5) for c in (minus, zero, plus)) + "  |",
            "",
            "Binomial-Wahrscheinlichkeit p =" + field(p1, 2, 6) + " (exakt, ein!seitig)",
            "Binomial-Wahrscheinlichkeit p =" + field(p2, 2, 6) + " (exakt, zweiseitig)",
            "", "", "Literatur:",
            "Dixon, W.J., Mood, A.M.: The Statistical Sign Test.",
            "Journal of the American Statistical Association 41 (1946), 557-566."]


def report(letter, data, first, second, group_var=0, group=0, listed=False):
    names, rows = read_data(data)
    taken = pairs(rows, first, second, group_var, group)
    title = "Wilcoxon-matched-pairs." if letter == "W" else "Vorzeichen-Test."
    lines = header(title) + input_block(names, first, second, group_var, group)
    if listed:
        lines += listing(taken, first, second, group)
    lines.append("")
    return lines + (w_lines(taken) if letter == "W" else v_lines(taken))


if __name__ == "__main__":
    # sleep: drug1 (2) against drug2 (3); one zero difference, the tie |d| = 1.3; exact p.
    write("W_sleep_listing.txt", report("W", "sleep.dat", 2, 3, listed=True))
    write("V_sleep.txt", report("V", "sleep.dat", 2, 3))
    # survey: Wr.Hnd (2) against NW.Hnd (3), one pair missing: n' = 195, the approximate line and
    # the intervals from the normal formula.
    write("W_survey.txt", report("W", "survey.dat", 2, 3))
    # The women only (Sex = 1): the exact line with mid-ranks.
    write("W_survey_group.txt", report("W", "survey.dat", 2, 3, group_var=1, group=1))
    write("V_survey_group.txt", report("V", "survey.dat", 2, 3, group_var=1, group=1, listed=True))
