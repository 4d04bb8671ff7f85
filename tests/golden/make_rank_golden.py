#!/usr/bin/env python3
"""Writes the golden reports of letters U and K from the documented report layout.

The statistics are R's (the call is written next to each number); the layout (pictures, the
summary table, the location sketch) is applied here.  Nothing comes from the module's output.
A picture field shows the reference value rounded half up to its places; every printed value
is checked to lie at least 5e-8 (relative) away from a rounding boundary, so that a result
right to single precision prints the same digits.  Data values are taken as the 32-bit floats
the module stores.

U: R's ToothGrowth, len at dose 1.0, supp OJ as group 2 and VC as group 1 of the data file,
   compared as "2 versus 1" (U = 11.5 with ties: the conservative and the interpolated line).
K: R's chickwts, weight of the feeds casein, horsebean, linseed and meatmeal as groups 3, 11, 5
   and 8, all groups of the file.

Run from this directory:  python3 make_rank_golden.py
"""
import math
from functools import partial

import golden_layout
from golden_layout import f32, group_input_block, header, write

# A printed statistic must lie 5e-8 (relative) away from a rounding boundary.
field = partial(golden_layout.field, relative=5e-8)
adaptive = partial(golden_layout.adaptive, relative=5e-8)


def summary(rows):
    """rows: (group number, median, minimum, maximum, n, rank sum)."""
    lines = ["               |     Median    Minimum    Maximum   n  |  Rangsumme  Normiert",
             "---------------+---------------------------------------+---------------------"]
    for g, med, lo, hi, n, r in rows:
        lines.append("Stichprobe" + field(g, 3) + "  |" + adaptive(f32(med)) + adaptive(f32(lo)) + adaptive(f32(hi)) +
                     field(n, 4) + "  | " + field(f32(r), 8, 1, True) + field(f32(r / n), 8, 1, True))
    return lines


LEVELS = [f32(0.90), f32(0.95), f32(0.98), f32(0.99)]


def level(p):
    return "P =" + field(p, 2, 4, True) + ":  ("


# ---- letter U --------------------------------------------------------------------------------
# R: tg <- ToothGrowth; x <- tg$len[tg$supp == "OJ" & tg$dose == 1]   (group 2 of the file)
#    y <- tg$len[tg$supp == "VC" & tg$dose == 1]                       (group 1 of the file)
OJ = [19.7, 23.3, 23.6, 26.4, 20.0, 25.2, 25.8, 21.2, 14.5, 27.3]
VC = [16.5, 16.5, 15.2, 17.3, 22.5, 17.3, 13.6, 14.5, 18.8, 15.5]

u_lines = header("Wilcoxon-Mann-Whitney-Test.") + group_input_block([2, 1]) + [
    "Prüfgrößen:",
    "",
    # U1 = 11.5 (OJ below VC), U2 = 88.5; R: wilcox.test(x, y)$statistic = 88.5.
    # Equal sizes: conservative at U = 12, R: 2 * pwilcox(12, 10, 10) = 0.00287947346771;
    # interpolated with U = 11, R: 2 * pwilcox(11, 10, 10) = 0.00208924202732, mean 0.00248435774752
    "U =" + field(11.5, 7, 1) + "  ( p = " + field(0.00287947346771, 1, 6) + " : exakter Test, konservativ mit U=12)",
    "U =" + field(11.5, 7, 1) + "  ( p = " + field(0.00248435774752, 1, 6) + " : exakter Test, linear interpoliert)",
    # R: wilcox.test(x, y, exact = FALSE, correct = FALSE)$p.value = 0.00357270987695;
    #    qnorm(0.00357270987695 / 2, lower.tail = FALSE) = 2.91361432849
    "Z =" + field(2.91361432849, 4, 4) + "  ( p = " + field(0.00357270987695, 1, 6) + " : approximativ )",
    "",
    "",
    # p = U1 / 100
    "Mann-Whitney-Schätzer für p=P(X2<X1) =" + field(0.115, 2, 6),
    "",
    "Asymptotische Konfidenzintervalle zum Mann-Whitney-Schätzer:",
    "",
]
# R (direct triple sums, see tests/unit/mann_whitney_test.cpp): q1 = 0.783333333333,
# q2 = 0.841111111111, sigma^2 = 0.00623725; p -/+ qnorm(P') * sqrt(sigma^2) with P' the
# single-precision 1 - (1 - P)/2 (0.9499999881, 0.9750000238, 0.9900000095, 0.9950000048):
MW = [(0, 0.244904382287), (0, 0.269790661874), (0, 0.29872628806), (0, 0.318429396649)]
for p, (lo, hi) in zip(LEVELS, MW):
    u_lines.append(level(p) + field(lo, 4, 6) + " ," + field(hi, 4, 6) + " )")
u_lines += ["", "",
            # R: median(outer(x, y, "-")) = 6.4
            "Hodges-Lehmann-Schätzer für 'X2-X1' = " + field(6.4, 12, 4).lstrip(),
            "",
            "Moses-Konfidenzintervalle zum Hodges-Lehmann-Schätzer:",
            ""]
# R: d <- sort(outer(x, y, "-")); h <- floor(50 - qnorm(P') * sqrt(100 * 21 / 12) + 0.5)
#    = 28, 24, 19, 16; d[c(h, 101 - h)]
MOSES = [(3.5, 9.1), (3.2, 9.7), (2.4, 10.0), (1.1, 10.3)]
for p, (lo, hi) in zip(LEVELS, MOSES):
    u_lines.append(level(p) + adaptive(lo, False) + " ," + adaptive(hi, False) + " )")
u_lines += ["", ""]
# R: r <- rank(c(x, y)); sum(r[1:10]) = 143.5, sum(r[11:20]) = 66.5; median(x) = 23.45,
#    median(y) = 16.5
u_lines += summary([(2, (f32(23.3) + f32(23.6)) / 2, 14.5, 27.3, 10, 143.5),
                    (1, 16.5, 13.6, 22.5, 10, 66.5)])
u_lines += ["", "",
            "Literatur: Hollander, M., Wolfe, D.A.: Nonparametric Statistical Methods, Kap. 4. Wiley, New York 1999.",
            "           Lehmann, E.L.: Nonparametrics: Statistical Methods Based on Ranks. Holden-Day, San Francisco 1975.",
            "           Wellek, S.: Testing Statistical Hypotheses of Equivalence. Chapman & Hall/CRC, Boca Raton 2003."]
write("U_toothgrowth.txt", u_lines)

# ---- letter K --------------------------------------------------------------------------------
# R: g <- split(chickwts$weight, chickwts$feed)[1:4]: casein, horsebean, linseed, meatmeal as
# groups 3, 11, 5, 8 of the file (in this order of first appearance).  Ties: 260 (casein,
# linseed) and 257 (linseed, meatmeal).
GROUPS = {3: [368, 390, 379, 260, 404, 318, 352, 359, 216, 222, 283, 332],
          11: [179, 160, 136, 227, 217, 168, 108, 124, 143, 140],
          5: [309, 229, 181, 141, 260, 203, 148, 169, 213, 257, 244, 271],
          8: [325, 257, 303, 315, 380, 153, 263, 242, 206, 344, 258]}


def median(values):
    v = sorted(f32(x) for x in values)
    n = len(v)
    return (v[n // 2 - 1] + v[n // 2]) / 2 if n % 2 == 0 else v[n // 2]


lo = min(f32(x) for v in GROUPS.values() for x in v)
hi = max(f32(x) for v in GROUPS.values() for x in v)


def column(x):
    return math.floor((f32(x) - lo) * 70 / (hi - lo) + 0.5) + 1


def sketch_line(g, values):
    a, b, m = column(min(values)), column(max(values)), column(median(values))
    mark = str(g) if g < 10 else "0"
    return " " * (a - 1) + "".join(mark if c == m else "-" for c in range(a, b + 1))


def comparison(r, a, b, z, p, ps, mx, chi, pn):
    return (field(r, 3) + " " + field(a, 3) + " versus" + field(b, 3) + " " + field(z, 3, 3) + " " + field(p, 2, 6) +
            "    " + field(ps, 2, 6) + " " + field(mx, 2, 6) + " " + field(chi, 7, 2) + " " + field(pn, 2, 6))


k_lines = header("Kruskal-Wallis-Test.") + group_input_block(list(GROUPS)) + [
    "Prüfgröße für den Globaltest:",
    "",
    # R: kruskal.test(g): chi-squared = 24.6861136733, df = 3, p-value = 1.79587130391e-05
    "H =" + field(24.6861136733, 4, 4) + " : Chi²-verteilt mit df =" + field(3, 2) + " ( p =" +
    field(1.79587130391e-05, 2, 6) + " )",
    "",
    "",
]
# R: tapply(rank(unlist(g)), rep(1:4, sapply(g, length)), sum) = 417.5 85 225 307.5;
#    sapply(g, median) = 342 151.5 221 263
RANK_SUMS = {3: 417.5, 11: 85.0, 5: 225.0, 8: 307.5}
k_lines += summary([(g, median(v), min(v), max(v), len(v), RANK_SUMS[g]) for g, v in GROUPS.items()])
k_lines += ["", "", "Lageskizze der 4 Gruppen (Extrema und Median=Zahl):", ""]
k_lines += [sketch_line(g, v) for g, v in GROUPS.items()]
k_lines += ["", "",
            "DUNN-TESTs mit alpha-Korrektur nach HOLM:                        NEMENYI-Tests:",
            " " * 61,
            "  i   Stichproben       Z    p=P(Z)  p*=p(N-i+1)   max(p*)       Chi² p-NEMENYI",
            "",
            # R: dunn(g) of tests/unit/kruskal_wallis_test.cpp; group indices 1..4 are 3, 11, 5, 8
            comparison(1, 3, 11, 4.67522859406, 2.93626366041e-06, 1.76175819625e-05, 1.76175819625e-05,
                       21.85776240668, 6.98307174466e-05),
            comparison(2, 11, 8, 3.39010565652, 6.98656909121e-04, 3.49328454561e-03, 3.49328454561e-03,
                       11.49281636238, 9.33878003305e-03),
            comparison(3, 3, 5, 2.99188480832, 2.77260860286e-03, 1.10904344114e-02, 1.10904344114e-02,
                       8.95078502415, 2.99524335686e-02),
            comparison(4, 11, 5, 1.82267232034, 6.83530349793e-02, 2.05059104938e-01, 2.05059104938e-01,
                       3.32213438735, 3.44573812560e-01),
            comparison(5, 5, 8, 1.67897855821, 9.31562226589e-02, 1.86312445318e-01, 2.05059104938e-01,
                       2.81878329610, 4.20417178980e-01),
            comparison(6, 3, 8, 1.24710143014, 2.12360308640e-01, 2.12360308640e-01, 2.12360308640e-01,
                       1.55526197705, 6.69575857639e-01),
            "",
            "DUNN: Signifikanz am Niveau alpha für alle Vergleiche mit Holm's max(p*)<=alpha",
            "NEMENYI: Approximative p-Werte für k>3 Gruppen und auch ungleiche Fallzahlen ni",
            "",
            "",
            "Literatur:",
            "Kruskal, W.H., Wallis, W.A.: Use of ranks in one-criterion variance analysis.",
            "   Journal of the American Statistical Association 47 (1952), 583-621.",
            "Dunn, O.J.: Multiple comparisons using rank sums.",
            "   Technometrics 6 (1964), 241-252.",
            "Holm, S.: A simple sequentially rejective multiple test procedure.",
            "   Scandinavian Journal of Statistics 6 (1979), 65-70.",
            "Nemenyi, P.: Distribution-free multiple comparisons. Dissertation, Princeton 1963;",
            "   Hollander, M., Wolfe, D.A.: Nonparametric Statistical Methods, Kap. 6. Wiley 1999."]
write("K_chickwts.txt", k_lines)


# ---- the same reports with the data listed ---------------------------------------------------
# Per group: a blank line, "Gruppe" with the group number in the plain number form and its
# trailing blank, a blank line, each value as its position in "###:" and the adaptive field, a
# blank line; the input block's closing blank line follows the listing.
def listing(groups):
    lines = []
    for g, values in groups:
        lines += ["", "Gruppe " + str(g) + " ", ""]
        lines += [str(j).rjust(3) + ":" + adaptive(f32(v)) for j, v in enumerate(values, start=1)]
        lines += [""]
    return lines


# header (5 lines), blank, "Eingabedatei ist", "  davon Variable", blank: 9 lines before the listing.
write("U_toothgrowth_listing.txt", u_lines[:9] + listing([(2, OJ), (1, VC)]) + u_lines[9:])
write("K_chickwts_listing.txt", k_lines[:9] + listing(GROUPS.items()) + k_lines[9:])
