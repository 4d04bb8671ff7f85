#!/usr/bin/env python3
"""Writes the golden reports of letters N and T from the documented report layout.

The chi-square statistics and p-values are R's (the call is written next to each number); the
layout is applied here: the distinct values as the scores, the count table with cells of
w = digits of N characters plus a blank, q = 70 // (w + 1) cells a line, the rule and the
margins.  Nothing comes from the module's output.  A picture field shows the reference value
rounded half up to its places; each printed statistic is checked to lie well away from a
rounding boundary.

N: R's mtcars, cyl (4, 6, 8) by transmission (group 1 = automatic, 2 = manual; am + 1).
T: R's InsectSprays, count by spray A to F (groups 1 to 6), all groups of the file: 24 scores,
   so each row of 72 values wraps after 23 two-digit cells and the rule has no "+".

The records are (group, value) in R's row order; tests/unit/mantel_haenszel_golden_test.cpp
writes the same records into the test's data file C:\\daten.dat.

Run from this directory:  python3 make_score_golden.py
"""
from functools import partial

import golden_layout
from golden_layout import group_input_block, header, number_text, write

# A printed statistic must lie 1e-7 (relative, but at least 1e-7 of the last place) away from a
# rounding boundary.
field = partial(golden_layout.field, relative=1e-7, places=1e-7)


def report(title, records, chi, p, references):
    groups = []
    for g, _ in records:
        if g not in groups:
            groups.append(g)
    scores = sorted({x for _, x in records})
    counts = [[sum(1 for g2, x in records if g2 == g and x == s) for s in scores] for g in groups]
    totals = [sum(c[j] for c in counts) for j in range(len(scores))]
    n = len(records)
    w = len(str(n))
    q = 70 // (w + 1)
    cell = w + 1

    score_lines, line = [], ""
    for s in scores:
        assert s >= 0  # a negative score would take an extra blank before its "-"
        line += number_text(s)
        if len(line) > 70:
            score_lines.append(line)
            line = ""
    score_lines.append(line)

    def row(cells, total):
        lines, text = [], ""
        for j, c in enumerate(cells, start=1):
            text += " " + str(c).rjust(w)
            if j % q == 0 and j < len(cells):
                lines.append(text)
                text = ""
        return lines + [text + "| " + str(total).rjust(w)]

    table = []
    for c in counts:
        table += row(c, sum(c))
    rule = "-" * (min(q, len(scores)) * cell)
    if len(scores) * cell <= 70 or len(scores) % q == 0:
        rule += "+" + "-" * cell
    table += [rule] + row(totals, n)

    chi_text = field(chi, 10, 4).lstrip()
    p_text = field(p, 3, 6).lstrip()
    return (header(title) + group_input_block(groups) +
            ["Scores der Zielgröße (Spalten):", ""] + score_lines + ["", "",
             "Ermittelte Tafel (Zeilen=Gruppen):", ""] + table + ["", "",
             f"Prüfgröße: Chi²={chi_text} mit fg={len(groups) - 1} und p={p_text}", "", "",
             "Literatur:"] + references)


MANTEL = ["Mantel, N.: Chi-square tests with one degree of freedom; extensions of the",
          "   Mantel-Haenszel procedure. J. Amer. Statist. Assoc. 58 (1963), 690-700."]
LANDIS = ["Landis, J.R., Heyman, E.R., Koch, G.G.: Average partial association in three-way",
          "   contingency tables. International Statistical Review 46 (1978), 237-254."]

# R: cat(mtcars$am + 1, sep = ", "); cat(mtcars$cyl, sep = ", ")
MT_GROUP = [2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2]
MT_CYL = [6, 6, 4, 6, 8, 6, 8, 4, 4, 6, 6, 8, 8, 8, 8, 8, 8, 4, 4, 4, 4, 8, 8, 8, 8, 4, 4, 4, 8, 6, 8, 4]
# The dialog's groups are 1 and 2 in this order.
mt = sorted(zip(MT_GROUP, MT_CYL), key=lambda r: r[0])
# R: x <- mtcars$cyl; g <- mtcars$am; chi <- (32 - 1) * cor(x, g)^2 = 8.46666188957759225,
#    pchisq(chi, 1, lower.tail = FALSE) = 0.00361714620085878
write("N_mtcars.txt", report("Mantel-Haenszel-Test (2 Gruppen).", mt, 8.46666188957759225, 0.00361714620085878,
                             MANTEL))

# R: cat(InsectSprays$count, sep = ", ")
IS_COUNT = [10, 7, 20, 14, 14, 12, 10, 23, 17, 20, 14, 13, 11, 17, 21, 11, 16, 14, 17, 17, 19, 21, 7, 13,
            0, 1, 7, 2, 3, 1, 2, 1, 3, 0, 1, 4, 3, 5, 12, 6, 4, 3, 5, 5, 5, 5, 2, 4, 3, 5, 3, 5, 3, 6, 1, 1,
            3, 2, 6, 4, 11, 9, 15, 22, 15, 16, 13, 10, 26, 26, 24, 13]
insect = [(i // 12 + 1, x) for i, x in enumerate(IS_COUNT)]
# R: (72 - 1) * summary(lm(count ~ spray, InsectSprays))$r.squared = 51.4351701049584;
#    pchisq(51.4351701049584, 5, lower.tail = FALSE) = 7.04335755090346e-10 (0.000000)
write("T_insectsprays.txt", report("Mantel-Haenszel-Zimmermann-Test (k Gruppen).", insect, 51.4351701049584,
                                   7.04335755090346e-10, MANTEL + LANDIS))
