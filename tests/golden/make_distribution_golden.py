#!/usr/bin/env python3
"""Writes the golden reports of letters E (median test) and S (Kolmogorov-Smirnov test) from the
documented report layout.

The statistics are R's (the call is written next to each number); the layout is applied here.
Nothing comes from the module's output.  A picture field shows the reference value rounded half
up to its places, and every printed statistic is checked to lie well away from a rounding
boundary, so that a result right to single precision prints the same digits.

The data are the example files of examples/ (written by examples/make_examples.R from R's data
sets); the tests copy them to C:\\ under the same name.

E: ToothGrowth len by supp (groups 1 = OJ and 2 = VC, 30 each): no warning.
   ChickWeight weight of chicks 7 and 16 (12 and 7 weighings): the warning, and a two-sided p
   where Fisher's rule of this module and R's differ.
S: PlantGrowth weight, groups 2 (trt1) and 3 (trt2), 10 each: the exact tables.
   ToothGrowth len by supp, 30 and 30 (e = 15): the tables by effective size.
   ChickWeight weight, diets 1 and 2, 220 and 120 (e = 77): the asymptotic constants.

Run from this directory:  python3 make_distribution_golden.py
"""
from functools import partial

import golden_layout
from golden_layout import group_input_block, header, plain, write

# A printed statistic must lie 2e-7 (absolute) away from a rounding boundary: that suits a p from
# the single-precision chi-square tail.  Fisher's p, summed in extended precision and stored in
# single precision, is right to about 1e-9 (error=1e-9); counts are exact.
field = partial(golden_layout.field, error=2e-7)


# ---- letter E ----------------------------------------------------------------------------------
E_LITERATURE = ("Literatur: Siegel, S., Castellan, N.J.: Nonparametric Statistics for the Behavioral Sciences, "
                "Kap. 6. McGraw-Hill, New York 1988.")


def median_report(median, table, warning, chi, p, one_sided, two_sided):
    """table: group 1 below M, at or above; group 2 below M, at or above."""
    rule = "-" * 25 + "-+-----"
    (a, b), (c, d) = table
    lines = ["Resultierende Tafel ( M = Overall-Median =" + plain(median) + ")", "",
             "                 < M <=M  |", rule]
    for g, (below, above) in enumerate(table, start=1):
        lines.append("Stichprobe" + plain(g) + ":  " + " " + field(below, 3, exact=True) + " " +
                     field(above, 3, exact=True) + "  |" + field(below + above, 5, exact=True))
    lines += [rule,
              "Gesamt:         " + field(a + c, 4, exact=True) + field(b + d, 4, exact=True) + "  |" +
              field(a + b + c + d, 5, exact=True),
              ""]
    if warning:
        lines += ["", "VORSICHT: Die Test-Voraussetzung phi(ij)>=5 und n>=20 ist nicht erfüllt.",
                  "Bitte für die ermittelten Häufigkeiten Fisher's exakten Test verwenden.", "", ""]
    lines += ["", "Chi² =" + field(chi, 4, 4) + " (p = " + field(p, 1, 6) + ", zweiseitig approximativ)",
              "", "Fisher's Test:  (p = " + field(one_sided, 1, 6, error=1e-9) + ", ein!seitig exakter Test)",
              "Fisher's Test:  (p = " + field(two_sided, 1, 6, error=1e-9) + ", zweiseitig exakter Test)",
              "", "", E_LITERATURE]
    return lines


# R: tg <- ToothGrowth; x <- tg$len[tg$supp == "OJ"]; y <- tg$len[tg$supp == "VC"]
#    M <- median(c(x, y)) = 19.25 (the mean of the 30th and 31st values 18.8 and 19.7, which is
#    19.25 in single precision as well); t <- rbind(c(sum(x < M), sum(x >= M)), c(sum(y < M),
#    sum(y >= M))) = (10, 20; 20, 10).  Expected counts all 15: no warning.
#    chisq.test(t, correct = TRUE): X-squared = 5.4, p-value = 0.0201367515503
#    fisher.test(t, alternative = "less")$p.value = 0.0096915941309 (the side of the table)
#    fisher.test(t)$p.value = 0.0193831882618 (R's two-sided rule and ours pick the same tables)
write("E_toothgrowth.txt",
      header("Median-Test.") + group_input_block([1, 2], "toothgrowth.dat", 1, "len", 2, "supp") +
      median_report(19.25, [(10, 20), (20, 10)], False, 5.4, 0.0201367515503, 0.0096915941309, 0.0193831882618))

# R: cw <- ChickWeight; ch <- as.integer(as.character(cw$Chick)); x <- cw$weight[ch == 7];
#    y <- cw$weight[ch == 16] (12 and 7 weighings); M = median(c(x, y)) = 57 (N = 19, the 10th
#    value); t = (2, 10; 6, 1).  N < 20: the warning.
#    chisq.test(t, correct = TRUE): X-squared = 6.04609713203, p-value = 0.0139370698593
#    fisher.test(t, alternative = "less")$p.value = 0.00627133444471 (the side of the table)
#    Two-sided, the rules differ: fisher.test(t)$p.value = 0.00627133444471 sums the tables no
#    more probable than this one; the tables at least as far from independence,
#      x <- 0:8; p <- dhyper(x, 12, 7, 8)
#      sum(p[floor(19 * abs(x / 12 - (8 - x) / 7) + 0.5) >= floor(19 * abs(2 / 12 - 6 / 7) + 0.5)])
#    give 0.0128205128205.
write("E_chickweight.txt",
      header("Median-Test.") + group_input_block([7, 16], "chickweight.dat", 1, "weight", 3, "Chick") +
      median_report(57, [(2, 10), (6, 1)], True, 6.04609713203, 0.0139370698593, 0.00627133444471,
                    0.0128205128205))

# ---- letter S ----------------------------------------------------------------------------------
S_LITERATURE = [
    "Literatur:",
    "Siegel, S., Castellan, N.J.: Nonparametric Statistics for the Behavioral Sciences, Kap. 6.7. McGraw-Hill, "
    "New York 1988.",
    "Smirnov, N.V.: On the estimation of the discrepancy between empirical curves of distribution",
    "for two independent samples. Bull. Math. Univ. Moscou 2 (1939), Nr. 2, 3-14.",
    ""]


def ks_report(d, significance):
    return ["Kolmogoroff-Smirnoff's delta =" + field(d, 2, 4) + " " + significance, "", ""] + S_LITERATURE


# R: pg <- PlantGrowth; ks.test(pg$weight[pg$group == "trt1"], pg$weight[pg$group == "trt2"])
#    D = 0.8.  The values lie at least 0.03 apart, the class width is (6.31 - 3.59)/998 = 0.0027,
#    so the grid keeps every value apart.  10 and 10: the entries 60, 70, 80 of m n D are reached,
#    class 0.01.
write("S_plantgrowth.txt",
      header("Kolmogoroff-Smirnoff-Test.") + group_input_block([2, 3], "plantgrowth.dat", 1, "weight", 2, "group") +
      ks_report(0.8, "( p < 0.0100 (exakter Test) )"))

# R: ks.test(tg$len[tg$supp == "OJ"], tg$len[tg$supp == "VC"]): D = 0.333333333333 (values at least
#    0.1 apart, class width 29.7/998 = 0.030).  30 and 30: e = 15, critical values 0.304, 0.338,
#    0.404 (Miller 1956): class 0.10, still labelled exact.
write("S_toothgrowth.txt",
      header("Kolmogoroff-Smirnoff-Test.") + group_input_block([1, 2], "toothgrowth.dat", 1, "len", 2, "supp") +
      ks_report(1 / 3, "( p < 0.1000 (exakter Test) )"))

# R: cw <- ChickWeight; ks.test(cw$weight[cw$Diet == 1], cw$weight[cw$Diet == 2]): D =
#    0.143939393939 (whole grams, class width 296/998 = 0.30).  220 and 120: e = 77, beyond the
#    tables; K sqrt(340 / 26400) = 0.1214, 0.1294, 0.1385 are reached, 0.1543 (K = 1.36) is not:
#    class 0.10, approximate.
write("S_chickweight.txt",
      header("Kolmogoroff-Smirnoff-Test.") + group_input_block([1, 2], "chickweight.dat", 1, "weight", 4, "Diet") +
      ks_report(0.143939393939, "( p < 0.1000 (approximativ) )"))
