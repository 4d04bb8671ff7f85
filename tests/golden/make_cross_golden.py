#!/usr/bin/env python3
"""Writes the golden reports of letter C (cross-over analysis after Koch) from the documented
report layout.

The statistics are R's (the call is written next to each number); the layout (header, input
block, listing, pictures) is applied here.  Nothing comes from the module's output.  A picture
field shows the reference value rounded half up to its places; every printed statistic is checked
to lie at least 5e-8 (relative) away from a rounding boundary, so that a result right to single
precision prints the same digits.

Data: examples/asthma.dat, the AB/BA cross-over trial of formoterol and salbutamol in 13
children with asthma (peak expiratory flow, l/min) of Senn, S. (2002), Cross-over Trials in
Clinical Research, 2nd ed., Wiley, ch. 3; originally Graff-Lonnevig, V., Browaldh, L. (1990),
Clinical and Experimental Allergy 20, 429-432.  Variables: 1 Sequenz (1 = for/sal, 2 = sal/for),
2 PEF1 (period 1), 3 PEF2 (period 2).  The session: group variable 1, periods 2 and 3, groups
1 and 2, read from C:\\daten.dat.

Run from this directory:  python3 make_cross_golden.py
"""
from functools import partial

import golden_layout
from golden_layout import adaptive, header, write

# A printed statistic must lie 5e-8 (relative) away from a rounding boundary.
field = partial(golden_layout.field, relative=5e-8)

# R: g1p1 <- c(310, 310, 370, 410, 250, 380, 330); g1p2 <- c(270, 260, 300, 390, 210, 350, 365)
#    g2p1 <- c(370, 310, 380, 290, 260, 90);       g2p2 <- c(385, 400, 410, 320, 340, 220)
GROUP1 = [(310, 270), (310, 260), (370, 300), (410, 390), (250, 210), (380, 350), (330, 365)]
GROUP2 = [(370, 385), (310, 400), (380, 410), (290, 320), (260, 340), (90, 220)]

HEADER = header("Cross-Over: Nicht-parametrische Analyse nach Koch.")

# C names two periods and two groups: its own input block and listing.
# Input block: period variables and group variable each as a plain number with its trailing
# blank, followed by the name in parentheses; the two groups as plain numbers.
input_block = ["",
               "Eingabedatei ist C:\\daten.dat",
               "  davon Variablen 2 (PEF1), 3 (PEF2) ",
               "  und Gruppen Var. 1 (Sequenz) = 1 und 2 ",
               ""]


def analysis(label, u, p_exact, z, p_approx):
    """The U line (U in "########.#", the exact p in "( p =##.###### : exakter Test )"), the Z
    line and an empty line."""
    return [label + " Wilcoxon's U =" + field(u, 8, 1, True) + " ( p =" + field(p_exact, 2, 6) + " : exakter Test )",
            "               Gauss'     Z =" + field(z, 5, 4) + " ( p =" + field(p_approx, 2, 6) + " : approximativ )",
            ""]


results = ["", "Stichprobenumfänge:      n1 =" + field(7, 4, 0, True),
           "                         n2 =" + field(6, 4, 0, True), ""]
# Carry-over: sums s1 <- g1p1 + g1p2, s2 <- g2p1 + g2p2, no ties.
#   R: wilcox.test(s1, s2)$statistic = 19 (= U2; U1 = 42 - 19 = 23), U = 19
#   R: wilcox.test(s1, s2, exact = TRUE)$p.value = 0.835664335664336 (= 2 * pwilcox(19, 7, 6))
#   R: wilcox.test(s1, s2, exact = FALSE, correct = FALSE)$p.value = 0.775096962195985,
#      qnorm(0.775096962195985 / 2, lower.tail = FALSE) = 0.285714285714286
results += analysis("Nacheffekte:  ", 19, 0.835664335664336, 0.285714285714286, 0.775096962195985)
# Treatment effects: differences d1 <- g1p1 - g1p2, d2 <- g2p1 - g2p2, two ties within groups
# (40, 40 and -30, -30), so R gives no exact p; the exact p without ties is pwilcox's.
#   R: wilcox.test(d1, d2)$statistic = 39 (U1 = 3), U = 3; 2 * pwilcox(3, 7, 6) = 0.00815850815850816
#   R: wilcox.test(d1, d2, exact = FALSE, correct = FALSE)$p.value = 0.00992239293079857,
#      qnorm(0.00992239293079857 / 2, lower.tail = FALSE) = 2.57852218096469
results += analysis("Haupteffekte: ", 3, 0.00815850815850816, 2.57852218096469, 0.00992239293079857)
# First period: g1p1 against g2p1, ties 310 (3 times), 370 and 380 (twice each).
#   R: wilcox.test(g1p1, g2p1)$statistic = 28 (U1 = 14), U = 14; 2 * pwilcox(14, 7, 6) = 0.365967365967366
#   R: wilcox.test(g1p1, g2p1, exact = FALSE, correct = FALSE)$p.value = 0.313288834157801,
#      qnorm(0.313288834157801 / 2, lower.tail = FALSE) = 1.00834506818664
results += analysis("Erste Periode:", 14, 0.365967365967366, 1.00834506818664, 0.313288834157801)
results += ["", "",
            "Literatur:",
            "Grizzle, J.E.: The two-period change-over design and its use in clinical trials.",
            "   Biometrics 21 (1965), 467-480.",
            "Koch, G.G.: The use of non-parametric methods in the statistical analysis of the",
            "   two-period change-over design. Biometrics 28 (1972), 577-584.",
            "Jones, B., Kenward, M.G.: Design and Analysis of Cross-Over Trials. Chapman & Hall/CRC 2003."]

write("C_asthma.txt", HEADER + input_block + results)


# The listing: an empty line, then per group "Gruppe" with the group number as a plain number
# (with its trailing blank), an empty line, the column heads with the variable numbers in "##",
# each unit as its row number in "###" and both values in the adaptive field, an empty line.
def listing(groups):
    lines = [""]
    for number, rows in groups:
        lines += ["Gruppe " + str(number) + " ", "", "  i    Var. " + field(2, 2, 0, True) + "    Var. " + field(3, 2, 0, True)]
        lines += [field(i, 3, 0, True) + adaptive(a) + adaptive(b) for i, (a, b) in enumerate(rows, start=1)]
        lines += [""]
    return lines


write("C_asthma_listing.txt", HEADER + input_block + listing([(1, GROUP1), (2, GROUP2)]) + results)
