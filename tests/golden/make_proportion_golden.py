#!/usr/bin/env python3
"""Writes the golden reports of letters A, G and B from the documented report layout.

The numbers are the reference values of R (the call is written next to each one) or plain
arithmetic on the typed data; nothing here comes from the module's own output.  A picture field
shows the reference value rounded half up to its places, which is what the module must print for
a result that is right to single precision (none of the values here lies within a float's
spacing of a rounding boundary except 0.5553155226, whose true digits 0.555316 are printed).
Typed data (theta0, the levels) are taken as the 32-bit floats the module stores.

Run from this directory:  python3 make_proportion_golden.py
"""
from golden_layout import f32, field, header, write

# field is used without a margin check: the 99 % upper limit of B_25_7, 0.5553155226, lies within
# a float's spacing of a rounding boundary and its true digits are printed (see above).


# ---- letters A and G -------------------------------------------------------------------------

RULE = "-" * 79
FIT_HEAD = "Kategorie  Beobachtet  ?  Erwartet   RelHäuf.   Wahrsch.   Chi²(df=1)   p(Chi²)"


def fit_row(i, f, e, rel, prob, c, p):
    mark = "  < " if f < e else "  > " if f > e else "  = "
    return (field(i, 9) + "  " + field(f, 10) + mark + field(e, 7, 1) + "    " + field(rel, 2, 4) + "    " +
            field(prob, 2, 4) + " " + field(c, 9, 2) + " " + field(p, 2, 6))


def fit_sum(F, FS, S, Q, p):
    return ("      Sum  " + field(F, 10) + "     " + field(FS, 6, 1) + "    " + field(1, 2, 4) + "    " +
            field(S, 2, 4) + "   " + field(Q, 7, 2) + " " + field(p, 2, 6))


def fit_result(chi, df, p, expected=None):
    lines = []
    if expected is not None:
        lines.append("Erwartete Häufigkeit =" + field(expected, 6, 2))
    lines += ["Prüfgröße:      Chi² =" + field(chi, 6, 2), "mit Freiheitsgrad fg =" + field(df, 9),
              "und                p =" + field(p, 2, 6), "", "",
              "Literatur: Conover, W.J.: Practical Nonparametric Statistics (1999), Kap. 4.5."]
    return lines


# G with 10, 20, 30: F = 60, e = 20, c = 5, 0, 5, Q = 10, df = 2.
p5 = 0.0253473186774683    # R: pchisq(5, 1, lower.tail = FALSE)
p10 = 0.00673794699908547  # R: pchisq(10, 2, lower.tail = FALSE)
write("G_10_20_30.txt", header("Test auf Gleichverteilung.") + [
    "Eingelesene Daten:", "", FIT_HEAD, RULE,
    fit_row(1, 10, 20, 10 / 60, 20 / 60, 5, p5),
    fit_row(2, 20, 20, 20 / 60, 20 / 60, 0, 1),
    fit_row(3, 30, 20, 30 / 60, 20 / 60, 5, p5),
    RULE, fit_sum(60, 60, 1, 10, p10), "", "",
] + fit_result(10, 2, p10, expected=20))

# A with (30, 0.5), (20, 0.3), (10, 0.2): e = 30, 18, 12; c = 0, 4/18, 4/12.
pa2 = 0.637351888233937  # R: pchisq(4/18, 1, lower.tail = FALSE)
pa3 = 0.563702861650773  # R: pchisq(4/12, 1, lower.tail = FALSE)
qa = 4 / 18 + 4 / 12
pqa = 0.757465128396966  # R: pchisq(4/18 + 4/12, 2, lower.tail = FALSE)
write("A_30_20_10.txt", header("Anpassungstest.") + [
    "Eingelesene Daten:", "", FIT_HEAD, RULE,
    fit_row(1, 30, 30, 0.5, 0.5, 0, 1),
    fit_row(2, 20, 18, 20 / 60, 0.3, 4 / 18, pa2),
    fit_row(3, 10, 12, 10 / 60, 0.2, 4 / 12, pa3),
    RULE, fit_sum(60, 60, 1, qa, pqa), "", "",
] + fit_result(qa, 2, pqa))

# A with (5, 0.5), (5, 0.4): S = 0.9, e = 5, 4; F |1 - S| = 1 > 0.1 gives no test.
p025 = 0.617075077451974  # R: pchisq(0.25, 1, lower.tail = FALSE)
write("A_sum_0_9.txt", header("Anpassungstest.") + [
    "Eingelesene Daten:", "", FIT_HEAD, RULE,
    fit_row(1, 5, 5, 0.5, 0.5, 0, 1),
    fit_row(2, 5, 4, 0.5, 0.4, 0.25, p025),
    RULE, fit_sum(10, 9, 0.9, 0.25, p025), "",
    "VORSICHT: Die Summe der eingegebenen Wahrscheinlichkeiten ist nicht 1!", "",
    "", "Keine Berechnung.",
])

# ---- letter B --------------------------------------------------------------------------------

LEVELS = [0.90, 0.95, 0.98, 0.99]


def binomial(n, k, theta, p_low, p_high, p_two, limits, keyword=None):
    lines = header("Binominal-Verteilung: Hypothetischen Wert theta testen.")
    if keyword:
        lines += ["Stichwort: " + keyword, "", ""]
    width = len(" " + str(n))  # the number text of n with its leading blank
    lines += ["Anzahl Versuche n =" + str(n).rjust(width), "Anzahl Erfolge  k =" + str(k).rjust(width), "", "",
              "Hypothetischer Wert aus H0: theta0 =" + field(f32(theta), 2, 6), "",
              "Errechnete relative Häufigkeit k/n =" + field(k / n, 2, 6), "", "",
              "Einseitige Binomial-Tests der Nullhypothese H0(theta=theta0):", "",
              f"Zur Alternative Ha(theta<theta0): P(k<={k}) = p =" + field(p_low, 2, 6),
              f"Zur Alternative Ha(theta>theta0): P(k>={k}) = p =" + field(p_high, 2, 6), "", "",
              "Zweiseitiger Test der Nullhypothese H0(theta=theta0):", "",
              "Per Fisher's F mit Ablehnungsbereich p=2*(p/2): p =" + field(p_two, 2, 6), "", "",
              "P*100%-Konfidenzintervalle für theta:", ""]
    for level, (low, high) in zip(LEVELS, limits):
        line = "P = " + field(f32(level), 1, 2) + ": (" + field(low, 2, 6) + " ," + field(high, 2, 6) + " )"
        if f32(low) == 0 or f32(high) == 1:
            line += " (einseitig!)"
        lines.append(line)
    lines += ["", "Die 90%- und 98%-Konfidenzintervalle sind für Äquivalenztests mit den",
              "Irrtumswahrscheinlichkeiten alpha=0.05=5% und alpha=0.01=1% verwendbar!", "", "",
              "Literatur: Sachs, L.: Angewandte Statistik. Springer-Verlag, Berlin.",
              "           Conover, W.J.: Practical Nonparametric Statistics (1999), Kap. 3.1."]
    return lines


# n = 10, k = 0, theta0 = 0.5.  R: pbinom(0, 10, 0.5) = 0.0009765625; p_high = 1.
# Upper limits: R: binom.test(0, 10, alternative = "less", conf.level = P)$conf.int[2]
write("B_10_0.txt", binomial(10, 0, 0.5, 0.0009765625, 1, 0.001953125, [
    (0, 0.205671765275719), (0, 0.258865550893052), (0, 0.323756662193759), (0, 0.369042655519807)]))

# n = 25, k = 7, theta0 = 0.4, keyword "Münze".
# R: pbinom(7, 25, 0.4) = 0.153551734755933; pbinom(6, 25, 0.4, lower.tail = FALSE) = 0.926434742169826
# Limits: R: binom.test(7, 25, conf.level = P)$conf.int
write("B_25_7_keyword.txt", binomial(25, 7, 0.4, 0.153551734755933, 0.926434742169826, 0.307103469511867, [
    (0.139475306578930, 0.462208921703645), (0.120716688504067, 0.493876821806255),
    (0.101015984370605, 0.530561409380138), (0.0888898433918276, 0.5553155226497157)], keyword="Münze"))

# n = 40000, k = 20000, theta0 = 0.5: n - k >= 16000, the normal approximation.
# R: pbinom(20000, 40000, 0.5) = 0.5019946989351 = pbinom(19999, 40000, 0.5, lower.tail = FALSE)
# Limits: R, the approximation written out:
#   z <- qnorm((1 + P)/2); A <- (z^2 + 2)/3; B <- (7 - z^2)/18; D <- n + 2*A - 1; S <- n + 11*B - 4
#   c((k - 1 + A - z*sqrt((k - B)*(n - k + 1 - B)/S))/D, (k + A + z*sqrt((k + 1 - B)*(n - k - B)/S))/D)
write("B_40000_20000.txt", binomial(40000, 20000, 0.5, 0.5019946989351, 0.5019946989351, 1, [
    (0.495875461829428, 0.504124538170572), (0.495087739193834, 0.504912260806166),
    (0.494171864575373, 0.505828135424627), (0.493548235448268, 0.506451764551732)]))
