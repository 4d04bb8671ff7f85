#!/usr/bin/env python3
"""Writes the golden reports of letters F (Friedman) and O (Cochran) from the documented report
layout.

The statistics are R's (the call is written next to each number); the layout (pictures, the
input block, the listing) is applied here.  Nothing comes from the module's output.  A picture
field shows the reference value rounded half up to its places; every printed statistic is
checked to lie at least 5e-8 (relative) away from a rounding boundary.

F, Wilcoxon-Wilcox branch: Hollander & Wolfe (1973), p. 140ff., rounding first base (R's
   friedman.test example "RoundingTimes"), 22 players x 3 methods, examples/roundingtimes.dat.
F, Schaich-Hamerle branch (r = 30 > 25), with the data listed: R's attitude data set
   (Chatterjee & Price 1977), 30 departments x 7 ratings, examples/attitude.dat.
O: an 8 x 3 table typed into the dialog (the same as in tests/cli/cli_test.sh).

Run from this directory:  python3 make_blocked_golden.py
"""
from fractions import Fraction
from functools import partial

import golden_layout
from golden_layout import adaptive, f32, header, write

# A printed statistic must lie 5e-8 (relative, but at least 5e-8 of the last place) away from a
# rounding boundary.
field = partial(golden_layout.field, relative=5e-8, places=5e-8)


# ---- letter F ---------------------------------------------------------------------------------
def variables_line(names):
    """"  davon Variablen", each target's index in the plain number form (blank, digits, blank),
    "(name)," after all but the last, and a new line of 17 blanks after every fourth."""
    text, lines = "  davon Variablen", []
    for k, name in enumerate(names, start=1):
        text += f" {k} ({name})"
        if k < len(names):
            text += ","
            if k % 4 == 0:
                lines.append(text)
                text = " " * 17
    return lines + [text]


# F lists its variables, not a target and a group variable: its own input block and listing.
def input_block(names):
    return ["", "Eingabedatei ist C:\\daten.dat"] + variables_line(names) + [""]


def listing(rows):
    """Heading "  i" and "    Var. ##" per column, then "###" and the adaptive field per value;
    a new line and three blanks before columns 8, 15, ... (not needed for up to 7 columns)."""
    c = len(rows[0])
    assert c <= 7
    lines = ["", "  i" + "".join(f"    Var. {k:2d}" for k in range(1, c + 1))]
    lines += [f"{i:3d}" + "".join(adaptive(f32(v)) for v in row) for i, row in enumerate(rows, start=1)]
    return lines + [""]


def friedman_lines(chi, df, p, f, df1, df2, pf):
    return ["Friedman's Chi² =  " + field(chi, 4, 4) + " (fg  =" + field(df, 3) + "," + "            p =" +
            field(p, 2, 6) + ")",
            "Rijkoort-Wise's F =" + field(f, 4, 4) + " (fg1 =" + field(df1, 3) + "," + " fg2 =" + field(df2, 4) +
            "," + " p =" + field(pf, 2, 6) + ")"]


FRIEDMAN_LITERATURE = ["Literatur:",
                       "Friedman, M.: The use of ranks to avoid the assumption of normality implicit",
                       "   in the analysis of variance. J. Amer. Statist. Assoc. 32 (1937), 675-701."]
TEXTBOOK = "Sachs, L.: Angewandte Statistik. Springer, Berlin, Heidelberg."
TITLE = "Friedman-Test mit Multiplen Vergleichen."

# Wilcoxon-Wilcox: RoundingTimes.
# R: friedman.test(RoundingTimes): Friedman chi-squared = 11.1428571428571, df = 2,
#    p-value = 0.00380504077551136;  F <- 21 * chi / (2 * 22 - chi) = 7.12173913043478,
#    pf(F, 2, 42, lower.tail = FALSE) = 0.00217129838760752
# R: colSums(t(apply(RoundingTimes, 1, rank))) = 53 47 32; critical differences for r = 22,
#    c = 3 (Wilcoxon & Wilcox 1964): 15.5 (5 %), 19.3 (1 %).
RANK_SUMS = [53, 47, 32]


def ww_class(d):
    return " ( p > 0.05 )" if d < 15.5 else " ( p < 0.05 )" if d < 19.3 else " ( p < 0.01 )"


ww = header(TITLE) + input_block(["RoundOut", "NarrowAngle", "WideAngle"]) + [""]
ww += friedman_lines(11.1428571428571, 2, 0.00380504077551136, 7.12173913043478, 2, 42, 0.00217129838760752)
ww += ["", "", "Multiple Vergleiche für r<=25 und c<=10: Wilcoxon-Wilcox-Test.", ""]
for i in range(1, 3):
    for j in range(i + 1, 4):
        d = abs(RANK_SUMS[j - 1] - RANK_SUMS[i - 1])
        ww.append("Spalten" + field(i, 3) + " und" + field(j, 3) + ": D = " + field(d, 4, 2, True) + ww_class(d))
    ww.append("")
ww += [""] + FRIEDMAN_LITERATURE + ["Wilcoxon, F., Wilcox, R.A.: Some Rapid Approximate Statistical Procedures.",
                                    "   Lederle Laboratories, Pearl River, New York 1964.", TEXTBOOK]
write("F_roundingtimes.txt", ww)

# Schaich-Hamerle: attitude, with the data listed.
ATTITUDE = [[43, 51, 30, 39, 61, 92, 45], [63, 64, 51, 54, 63, 73, 47], [71, 70, 68, 69, 76, 86, 48],
            [61, 63, 45, 47, 54, 84, 35], [81, 78, 56, 66, 71, 83, 47], [43, 55, 49, 44, 54, 49, 34],
            [58, 67, 42, 56, 66, 68, 35], [71, 75, 50, 55, 70, 66, 41], [72, 82, 72, 67, 71, 83, 31],
            [67, 61, 45, 47, 62, 80, 41], [64, 53, 53, 58, 58, 67, 34], [67, 60, 47, 39, 59, 74, 41],
            [69, 62, 57, 42, 55, 63, 25], [68, 83, 83, 45, 59, 77, 35], [77, 77, 54, 72, 79, 77, 46],
            [81, 90, 50, 72, 60, 54, 36], [74, 85, 64, 69, 79, 79, 63], [65, 60, 65, 75, 55, 80, 60],
            [65, 70, 46, 57, 75, 85, 46], [50, 58, 68, 54, 64, 78, 52], [50, 40, 33, 34, 43, 64, 33],
            [64, 61, 52, 62, 66, 80, 41], [53, 66, 52, 50, 63, 80, 37], [40, 37, 42, 58, 50, 57, 49],
            [63, 54, 42, 48, 66, 75, 33], [66, 77, 66, 63, 88, 76, 72], [78, 75, 58, 74, 80, 78, 49],
            [48, 57, 44, 45, 51, 83, 38], [85, 85, 71, 71, 77, 74, 55], [82, 82, 39, 59, 64, 78, 39]]
# R: colSums(t(apply(attitude, 1, rank))) = 140.5 152.5 80 92 146.5 184.5 44
# R: friedman.test(as.matrix(attitude)): chi-squared = 104.875226039783, df = 6,
#    p-value = 2.40685643741852e-20;  F <- 29 * chi / (6 * 30 - chi) = 40.4844020797227,
#    pf(F, 6, 174, lower.tail = FALSE) = 1.30359138177918e-30
# R, each pair i < j: D <- (R[i] - R[j]) / 30; x <- 6 * 30 * D^2 / (7 * 8);
#    pchisq(x, 6, lower.tail = FALSE)
SH_P = {(1, 2): 0.997660292925455, (1, 3): 0.0419017450560949, (1, 4): 0.210178948842707,
        (1, 5): 0.999957802497734, (1, 6): 0.328846852890957, (1, 7): 9.35256478127512e-06,
        (2, 3): 0.00456593510674582, (2, 4): 0.0419017450560949, (2, 5): 0.999957802497734,
        (2, 6): 0.722958590538703, (2, 7): 1.80255646478557e-07, (3, 4): 0.997660292925455,
        (3, 5): 0.0149048651974948, (3, 6): 7.15471781686446e-07, (3, 7): 0.592254049735374,
        (4, 5): 0.101272650477862, (4, 6): 3.07800259991449e-05, (4, 7): 0.221831346900389,
        (5, 6): 0.523822305325664, (5, 7): 1.39263418237163e-06, (6, 7): 3.22739943174085e-13}
SH_RANK_SUMS = [Fraction(281, 2), Fraction(305, 2), 80, 92, Fraction(293, 2), Fraction(369, 2), 44]
names = ["rating", "complaints", "privileges", "learning", "raises", "critical", "advance"]
sh = header(TITLE) + input_block(names) + listing(ATTITUDE) + [""]
sh += friedman_lines(104.875226039783, 6, 2.40685643741852e-20, 40.4844020797227, 6, 174, 1.30359138177918e-30)
sh += ["", "", "Multiple Vergleiche für r>25 bzw. c>10: Schaich-Hamerle-Vergleiche.", ""]
for i in range(1, 7):
    for j in range(i + 1, 8):
        d = Fraction(SH_RANK_SUMS[i - 1] - SH_RANK_SUMS[j - 1]) / 30
        sh.append("Spalten" + field(i, 3) + " und" + field(j, 3) + ": D = " + field(d, 4, 2) + "  p =" +
                  field(SH_P[(i, j)], 2, 6))
    sh.append("")
sh += [""] + FRIEDMAN_LITERATURE + [
    "Schaich, E., Hamerle, A.: Verteilungsfreie statistische Prüfverfahren (1984).", TEXTBOOK]
write("F_attitude_listing.txt", sh)

# ---- letter O ---------------------------------------------------------------------------------
TABLE = [[1, 1, 0], [1, 1, 1], [0, 1, 0], [1, 1, 0], [0, 0, 0], [1, 1, 1], [1, 1, 0], [1, 0, 0]]
# R: x <- matrix(c(1,1,0, 1,1,1, 0,1,0, 1,1,0, 0,0,0, 1,1,1, 1,1,0, 1,0,0), ncol = 3, byrow = TRUE)
#    k <- 3; L <- rowSums(x); C <- colSums(x); G <- sum(x)
#    Q <- (k - 1) * (k * sum(C^2) - G^2) / (k * G - sum(L^2)) = 6.4
#    pchisq(Q, 2, lower.tail = FALSE) = 0.0407622039783662
o = header("Cochran's Q-Test.") + ["Eingegebene Daten:", ""]
o += [field(i, 2) + ": " + "".join(field(v, 2) for v in row) for i, row in enumerate(TABLE, start=1)]
o += ["", "Cochran's Q =" + field(6.4, 4, 4) + " : Chi² mit df =" + field(2, 3) + " ( p =" +
      field(0.0407622039783662, 2, 6) + ")",
      "",
      "Literatur:",
      "Cochran, W.G.: The comparison of percentages in matched samples.",
      "   Biometrika 37 (1950), 256-266.",
      "Lienert, G.A.: Verteilungsfreie Methoden in der Biostatistik, Band 1.",
      "   Hain, Meisenheim am Glan 1973."]
write("O_8x3.txt", o)
