"""The letters of the validation: per letter a case generator and a report parser.

A generator takes (random.Random, case number, work directory) and returns a Case: the veltrum
arguments, the data file it wrote (or none) and the fields the R side reads from the manifest.
Sizes follow the case number: numbers 0-3 of every ten are small, 4-7 medium, 8-9 at the
module's capacity.  Values lie on coarse grids so that ties occur.

A parser takes the report (UTF-8 text) and returns [(name, printed text)], one entry for every
number of the result part of the report; the R side (reference.R) writes the same names.
Classes such as "( p < 0.05 )" are returned as text and compared as text.
"""
import os
import re

NUM = r"-?\d*\.?\d+(?:E[+-]\d+)?"


class Case:
    def __init__(self, argv, data=None, **fields):
        self.argv = argv
        self.data = data
        self.fields = fields


def size_class(i):
    return ("small", "small", "small", "small", "medium", "medium", "medium", "medium", "capacity", "capacity")[i % 10]


def data_file(path, columns, rows):
    """The host's fixed-width data file: a header of "name;N;width;decimals" fields separated by
    a blank, then one record a line, every field a blank and `width` characters, right-aligned
    (None: an empty cell, which reads as missing).  CR LF line ends."""
    lines = [" ".join(f"{name};N;{width};{decimals}" for name, width, decimals in columns)]
    for row in rows:
        cells = []
        for (name, width, decimals), value in zip(columns, row):
            text = "" if value is None else f"{value:.{decimals}f}"
            assert len(text) <= width, (name, text)
            cells.append(" " + text.rjust(width))
        lines.append("".join(cells))
    with open(path, "w", newline="\r\n", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")
    return path


def find(report, pattern, names, out, flags=0):
    """Every match of `pattern` in the report adds its groups under `names` (a format string
    may use the match number {m} and the groups by index {g0}, {g1}, ...)."""
    count = 0
    for m in re.finditer(pattern, report, flags | re.M):
        count += 1
        groups = m.groups()
        for name, text in zip(names, groups):
            if name is None or text is None:  # an optional group that did not match
                continue
            out.append((name.format(m=count, g=groups), text.strip()))
    return count


# ---- groups of one variable: K, U, N, T, E, S ------------------------------------------------

def group_values(rnd, n, grid, shift=0.0):
    """n values on a grid of 0.1 spanning `grid` steps (few steps: many ties), shifted."""
    return [round(rnd.randrange(grid) / 10 + shift, 1) for _ in range(n)]


def write_groups(work, name, groups, decimals=1):
    """groups: [(group number, values)], written group by group; returns the path."""
    rows = [(x, g) for g, values in groups for x in values]
    width = max(7, max(len(f"{x:.{decimals}f}") for x, _ in rows))
    return data_file(os.path.join(work, name), [("x", width, decimals), ("g", 4, 0)], rows)


def gen_k(rnd, i, work):
    kind = size_class(i)
    if kind == "small":
        k = rnd.randint(2, 5)  # two groups: the report of U
        sizes = [rnd.randint(2, 8) for _ in range(k)]
    elif kind == "medium":
        k = rnd.randint(3, 10)
        sizes = [rnd.randint(10, 80) for _ in range(k)]
    elif i % 20 == 8:
        k, sizes = 10, [1001] * 10
    else:
        k, sizes = 100, [101] * 100
    grid = rnd.choice([20, 200, 2000])
    numbers = rnd.sample(range(1, 1001), k)
    groups = [(g, group_values(rnd, n, grid, rnd.randrange(3) * grid / 40)) for g, n in zip(numbers, sizes)]
    path = write_groups(work, f"K{i}.dat", groups)
    return Case(["K", "--group-var", "g", "--target", "x", "--groups", "all"], path)


def summary_rows(report, out):
    """The group summary table, by its columns: "Stichprobe###  |", median, minimum and maximum
    in 11 positions each, n in 4 (they may touch), "  | " and the two rank sums."""
    for m in re.finditer(r"^Stichprobe\s*(\d+)  \|(.*)$", report, re.M):
        g, rest = m.group(1), m.group(2)
        fields = [rest[0:11], rest[11:22], rest[22:33], rest[33:37]] + rest[41:].split()
        for name, text in zip(("median", "min", "max", "n", "R", "Rn"), fields):
            out.append((f"{name}.{g}", text.strip()))


def parse_k(report):
    out = []
    if "Wilcoxon-Mann-Whitney" in report or "Prüfgrößen:" in report:
        return parse_u(report)
    find(report, rf"^H =\s*({NUM}) : Chi²-verteilt mit df =\s*(\d+) \( p =\s*({NUM}) \)", ["H", "df", "p"], out)
    summary_rows(report, out)
    find(report, rf"^\s*(\d+)\s+(\d+) versus\s*(\d+)\s+({NUM})\s+({NUM})\s+({NUM})\s+({NUM})\s+({NUM})\s+({NUM})$",
         [None, None, None, "Z.{g[1]}.{g[2]}", "p.{g[1]}.{g[2]}", "pstar.{g[0]}", "maxpstar.{g[0]}",
          "chi.{g[1]}.{g[2]}", "pnem.{g[1]}.{g[2]}"], out)
    return out


def gen_u(rnd, i, work):
    kind = size_class(i)
    if kind == "small":
        n1, n2 = rnd.randint(2, 10), rnd.randint(2, 10)
    elif kind == "medium":
        n1, n2 = rnd.randint(10, 160), rnd.randint(10, 160)
    else:
        n1, n2 = rnd.choice([(52, 52), (20, 150), (151, 151), (501, 499), (1001, 1001), (52, 53)])
    grid = rnd.choice([15, 100, 100000])
    g1, g2 = rnd.sample(range(1, 1001), 2)
    groups = [(g1, group_values(rnd, n1, grid)), (g2, group_values(rnd, n2, grid, rnd.randrange(4) * grid / 40))]
    rnd.shuffle(groups)  # records of the second group typed may come first
    path = write_groups(work, f"U{i}.dat", groups)
    return Case(["U", "--group-var", "g", "--target", "x", "--groups", f"{g1},{g2}"], path, g1=g1, g2=g2)


def parse_u(report):
    out = []
    find(report, rf"^U =\s*({NUM})  \( p = ({NUM}) : (exakter Test|approximativ)", ["U", None, None], out)
    for m in re.finditer(rf"^U =\s*{NUM}  \( p = ({NUM}) : (exakter Test|approximativ)(.*)$", report, re.M):
        tail = m.group(3)
        if m.group(2) == "approximativ":
            out.append(("p_u_approx", m.group(1)))
        elif "konservativ" in tail:
            out.append(("p_cons", m.group(1)))
            out.append(("u_cons", re.search(r"U=(\d+)", tail).group(1)))
        elif "interpoliert" in tail:
            out.append(("p_interp", m.group(1)))
        else:
            out.append(("p_exact", m.group(1)))
    find(report, rf"^Z =\s*({NUM})  \( p = ({NUM}) : approximativ \)", ["Z", "p_approx"], out)
    find(report, rf"^Mann-Whitney-Schätzer für p=P\(X\d+<X\d+\) =\s*({NUM})", ["mw"], out)
    mw, hl = report.find("Mann-Whitney-Schätzer"), report.find("Hodges-Lehmann")
    if "Konfidenzintervalle nicht berechenbar" in report:
        out.append(("mw_ci", "nicht berechenbar"))
    section = report[mw:hl if hl > 0 else len(report)]
    find(section, rf"^P =\s*({NUM}):  \(\s*({NUM}) ,\s*({NUM}) \)", ["level.mw.{m}", "mw_lo.{g[0]}", "mw_hi.{g[0]}"], out)
    if "(Für n1,n2>150: Konservative Schätzung" in report:
        out.append(("mw_note", "ja"))
    find(report, rf"^Hodges-Lehmann-Schätzer für 'X\d+-X\d+' = ({NUM})", ["hl"], out)
    if hl > 0 and "Keine Intervalle berechenbar!" in report[hl:]:
        out.append(("moses", "keine"))
    if "Die Konfidenzintervalle gelten für n1>9" in report:
        out.append(("moses_note", "ja"))
    if "Hodges-Lehmann: Konfidenzintervalle werden nur" in report:
        out.append(("hl_skipped", "ja"))
    if hl > 0:
        find(report[hl:], rf"^P =\s*({NUM}):  \(\s*({NUM}) ,\s*({NUM}) \)",
             ["level.moses.{m}", "moses_lo.{g[0]}", "moses_hi.{g[0]}"], out)
    summary_rows(report, out)
    return out


def gen_scores(letter):
    def gen(rnd, i, work):
        kind = size_class(i)
        k = 2 if letter == "N" else rnd.randint(3, 10) if kind != "small" else rnd.randint(2, 4)
        if kind == "small":
            sizes, levels = [rnd.randint(2, 8) for _ in range(k)], rnd.randint(2, 5)
        elif kind == "medium":
            sizes, levels = [rnd.randint(10, 100) for _ in range(k)], rnd.randint(3, 30)
        else:
            sizes, levels = [1001] * k, 250
        scores = sorted(rnd.sample(range(-200, 1000), levels))
        numbers = rnd.sample(range(1, 1001), k)
        groups = [(g, [float(scores[min(levels - 1, rnd.randrange(levels) + j % 2)]) for _ in range(n)])
                  for j, (g, n) in enumerate(zip(numbers, sizes))]
        path = write_groups(work, f"{letter}{i}.dat", groups, decimals=0)
        chosen = ",".join(map(str, numbers)) if letter == "N" else "all"
        return Case([letter, "--group-var", "g", "--target", "x", "--groups", chosen], path)
    return gen


def parse_scores(report):
    out = []
    start = report.index("Scores der Zielgröße")
    table = report.index("Ermittelte Tafel")
    for j, s in enumerate(re.findall(NUM, report[start + 30:table]), start=1):
        out.append((f"score.{j}", s))
    end = report.index("Prüfgröße:")
    row, cells = 0, []
    for line in report[table:end].split("\n")[1:]:
        if not line.strip() or line.startswith("-"):
            continue
        left, bar, total = line.partition("|")
        cells += left.split()
        if bar:  # the rows of the groups, then the column totals as row k + 1
            row += 1
            out += [(f"f.{row}.{j}", c) for j, c in enumerate(cells, start=1)] + [(f"rowtotal.{row}", total.strip())]
            cells = []
    find(report, rf"^Prüfgröße: Chi²=({NUM}) mit fg=(\d+) und p=({NUM})", ["chi", "df", "p"], out)
    return out


def gen_e(rnd, i, work):
    kind = size_class(i)
    if kind == "small":
        n1, n2 = rnd.randint(2, 12), rnd.randint(2, 12)
    elif kind == "medium":
        n1, n2 = rnd.randint(10, 200), rnd.randint(10, 200)
    else:
        n1, n2 = rnd.choice([(1000, 1001), (1001, 1000), (600, 700)])
    grid = rnd.choice([5, 50, 5000])
    g1, g2 = rnd.sample(range(1, 1001), 2)
    groups = [(g1, group_values(rnd, n1, grid)), (g2, group_values(rnd, n2, grid, rnd.randrange(4) * grid / 30))]
    path = write_groups(work, f"E{i}.dat", groups)
    return Case(["E", "--group-var", "g", "--target", "x", "--groups", f"{g1},{g2}"], path)


def parse_e(report):
    out = []
    find(report, rf"Overall-Median =\s*({NUM}) \)", ["median"], out)
    # Counts in " ###" pictures (a fourth digit widens them) and the totals in "####" (which a
    # fourth digit fills, so that two totals touch).
    find(report, r"^Stichprobe (\d) :\s+(\d+)\s+(\d+)  \|\s*(\d+)$", [None, "below.{g[0]}", "above.{g[0]}", "n.{g[0]}"], out)
    find(report, r"^Gesamt:         (....)(....)  \|\s*(\d+)$", ["below.total", "above.total", "N"], out)
    if "VORSICHT" in report:
        out.append(("warning", "ja"))
    find(report, rf"^Chi² =\s*({NUM}) \(p = ({NUM}), zweiseitig", ["chi", "p_chi"], out)
    if "Chi²-Test ist nicht ausführbar" in report:
        out.append(("chi_na", "ja"))
    if "Exakter Test ist nicht ausführbar!" in report:
        out.append(("fisher_na", "ja"))
    find(report, rf"^Fisher's Test:  \(p = ({NUM}), ein!seitig", ["fisher1"], out)
    find(report, rf"^Fisher's Test:  \(p = ({NUM}), zweiseitig", ["fisher2"], out)
    return out


def gen_s(rnd, i, work):
    kind = size_class(i)
    if kind == "small":
        n1, n2 = rnd.randint(2, 25), rnd.randint(2, 25)
    elif kind == "medium":
        n1, n2 = rnd.choice([(rnd.randint(2, 25), rnd.randint(26, 60)), (rnd.randint(26, 200), rnd.randint(26, 200))])
    else:
        n1, n2 = rnd.choice([(1001, 1001), (25, 25), (1001, 36)])
    # The range is fixed at `steps` steps of 0.1 (group 1 holds both ends).  With an odd number of
    # steps that is no multiple of 499, no value lies on a boundary of the 998 classes but the
    # ends, so that single-precision rounding cannot move a value into the next class; 39 steps
    # keep distinct values in distinct classes, 1999 and 2999 put about two and three steps into
    # one class.
    steps = rnd.choice([39, 1999, 2999])
    shift = rnd.randrange(5) * steps // 10
    x1 = [0.0, steps / 10] + [rnd.randrange(steps + 1) / 10 for _ in range(n1 - 2)]
    x2 = [(shift + rnd.randrange(steps + 1 - shift)) / 10 for _ in range(n2)]
    g1, g2 = rnd.sample(range(1, 1001), 2)
    groups = [(g1, x1), (g2, x2)]
    path = write_groups(work, f"S{i}.dat", groups)
    return Case(["S", "--group-var", "g", "--target", "x", "--groups", f"{g1},{g2}"], path)


def parse_s(report):
    out = []
    find(report, rf"^Kolmogoroff-Smirnoff's delta =\s*({NUM}) (\( p [<>]\s*{NUM}) \((exakter Test|approximativ)\) \)",
         ["D", "class", "label"], out)
    return out


# ---- paired, blocked and cross-over data: W, V, F, O, C ---------------------------------------

def gen_pairs(letter):
    def gen(rnd, i, work):
        kind = size_class(i)
        # The small sizes run through 2..20 in turn (every entry of the tables up to n = 20).
        n = {"small": 2 + (i // 10 * 4 + i % 10) % 19, "medium": rnd.randint(21, 200)}.get(kind) \
            or rnd.choice([180, 181, 500, 501, 1001])
        spread = rnd.choice([4, 20, 400])
        shift = rnd.choice([0, 0, 1, 3]) * spread / 20
        rows = []
        for _ in range(n):
            a = rnd.randrange(400) / 2
            rows.append((a, a + (rnd.randrange(spread) - spread / 2) / 2 + shift))
        path = data_file(os.path.join(work, f"{letter}{i}.dat"), [("a", 7, 1), ("b", 7, 1)], rows)
        return Case([letter, "--vars", "a,b"], path)
    return gen


def parse_w(report):
    out = []
    find(report, r"^Stichprobenumfang: n  =\s*(\d+)", ["n"], out)
    find(report, r"^Ungleiche Paare:   n' =\s*(\d+)", ["n1"], out)
    for m in re.finditer(rf"^Prüfgröße R\^ =\s*({NUM}) \( p =\s*({NUM}) (exakter Test|approximativ) \)", report, re.M):
        out += [("R", m.group(1)), ("p_exact" if m.group(3) == "exakter Test" else "p_approx_R", m.group(2))]
    find(report, rf"^Prüfgröße Z  =\s*({NUM}) \( p =\s*({NUM}) approximativ \)", ["Z", "p_approx"], out)
    find(report, rf"^Hodges-Lehmann-Schätzer =\s*({NUM})", ["hl"], out)
    if "Konfidenzintervalle werden nur bis" in report:
        out.append(("hl_skipped", "ja"))
    if "Keine Intervalle berechenbar" in report:
        out.append(("tukey", "keine"))
    find(report, rf"^P =\s*({NUM}):  \(\s*({NUM}) ,\s*({NUM}) \)", [None, "tukey_lo.{g[0]}", "tukey_hi.{g[0]}"], out)
    return out


def parse_v(report):
    out = []
    find(report, r"^Häufigkeiten \|\s*(\d+)\s+(\d+)\s+(\d+)  \|", ["minus", "zero", "plus"], out)
    find(report, rf"^Binomial-Wahrscheinlichkeit p =\s*({NUM}) \(exakt, ein!seitig\)", ["p1"], out)
    find(report, rf"^Binomial-Wahrscheinlichkeit p =\s*({NUM}) \(exakt, zweiseitig\)", ["p2"], out)
    return out


def gen_f(rnd, i, work):
    kind = size_class(i)
    if kind == "small":
        r, c = rnd.randint(2, 25), rnd.randint(3, 6)
    elif kind == "medium":
        r, c = rnd.choice([(rnd.randint(2, 25), rnd.randint(3, 10)), (rnd.randint(26, 200), rnd.randint(3, 10))])
    else:
        r, c = rnd.choice([(25, 10), (1001, 10), (26, 3), (1001, 3)])
    steps = rnd.choice([3, 10, 1000])
    rows = [[rnd.randrange(steps) / 2 + j * rnd.choice([0, 0.5]) for j in range(c)] for _ in range(r)]
    names = [f"c{j}" for j in range(1, c + 1)]
    path = data_file(os.path.join(work, f"F{i}.dat"), [(name, 7, 1) for name in names], rows)
    return Case(["F", "--targets", ",".join(names)], path)


def parse_f(report):
    out = []
    find(report, rf"^Friedman's Chi² =\s*({NUM}) \(fg  =\s*(\d+),\s+p =\s*({NUM})\)", ["chi", "df", "p"], out)
    find(report, rf"^Rijkoort-Wise's F =\s*({NUM}) \(fg1 =\s*(\d+), fg2 =\s*(\d+), p =\s*({NUM})\)",
         ["F", "df1", "df2", "pF"], out)
    if "Exakte Verteilung s." in report:
        out.append(("exact_note", "ja"))
    find(report, rf"^Spalten\s*(\d+) und\s*(\d+): D =\s*({NUM}) (\( p [<>] 0\.0[15] \))$",
         [None, None, "D.{g[0]}.{g[1]}", "class.{g[0]}.{g[1]}"], out)
    find(report, rf"^Spalten\s*(\d+) und\s*(\d+): D =\s*({NUM})  p =\s*({NUM})$",
         [None, None, "D.{g[0]}.{g[1]}", "p.{g[0]}.{g[1]}"], out)
    return out


def gen_o(rnd, i, work):
    kind = size_class(i)
    if kind == "small":
        r, c = rnd.randint(2, 12), rnd.randint(2, 5)
    elif kind == "medium":
        r, c = rnd.randint(13, 200), rnd.randint(2, 10)
    else:
        r, c = rnd.choice([(1001, 10), (1001, 2), (500, 10)])
    base = [rnd.random() for _ in range(c)]
    table = [[1 if rnd.random() < 0.2 + 0.6 * base[j] else 0 for j in range(c)] for _ in range(r)]
    text = ";".join(",".join(map(str, row)) for row in table)
    return Case(["O", "--rows", str(r), "--cols", str(c), "--table", text], None, rows=r, cols=c, table=text)


def parse_o(report):
    out = []
    find(report, rf"^Cochran's Q =\s*({NUM}) : Chi² mit df =\s*(\d+) \( p =\s*({NUM})\)", ["Q", "df", "p"], out)
    return out


def gen_c(rnd, i, work):
    kind = size_class(i)
    if kind == "small":
        n1, n2 = rnd.randint(2, 12), rnd.randint(2, 12)
    elif kind == "medium":
        n1, n2 = rnd.randint(10, 120), rnd.randint(10, 120)
    else:
        n1, n2 = rnd.choice([(500, 500), (52, 52), (53, 53)])
    grid = rnd.choice([20, 200, 20000])
    g1, g2 = rnd.sample(range(1, 1001), 2)
    rows = []
    for g, n, effect in ((g1, n1, 0), (g2, n2, rnd.randrange(3) * grid / 40)):
        for _ in range(n):
            rows.append((rnd.randrange(grid) / 2, rnd.randrange(grid) / 2 + effect, g))
    rnd.shuffle(rows)
    path = data_file(os.path.join(work, f"C{i}.dat"), [("p1", 8, 1), ("p2", 8, 1), ("g", 4, 0)], rows)
    return Case(["C", "--group-var", "g", "--periods", "p1,p2", "--groups", f"{g1},{g2}"], path)


def parse_c(report):
    out = []
    find(report, r"n1 =\s*(\d+)", ["n1"], out)
    find(report, r"n2 =\s*(\d+)", ["n2"], out)
    for label, key in (("Nacheffekte:", "sum"), ("Haupteffekte:", "diff"), ("Erste Periode:", "first")):
        m = re.search(rf"^{label}\s+Wilcoxon's U =\s*({NUM}) \( p =\s*({NUM}) : (exakter Test|approximativ) \)\n"
                      rf"\s+Gauss'     Z =\s*({NUM}) \( p =\s*({NUM}) : approximativ \)", report, re.M)
        if m:
            exact = m.group(3) == "exakter Test"
            out += [(f"U.{key}", m.group(1)), (f"{'p_exact' if exact else 'p_approx_U'}.{key}", m.group(2)),
                    (f"Z.{key}", m.group(4)), (f"p_approx.{key}", m.group(5))]
    return out


# ---- typed input: H, A, G, B ------------------------------------------------------------------

def gen_h(rnd, i, work):
    kind = size_class(i)
    hi = {"small": 20, "medium": 2000}.get(kind, 32767)
    n1, n2 = rnd.randint(0, hi), rnd.randint(0, hi)
    if n1 + n2 == 0 or n1 + n2 > 32767 and kind == "capacity":
        n1, n2 = rnd.choice([(32767, 0), (16000, 16767), (1, 0)])
    if i % 17 == 5:
        n2 = n1 or 1
    return Case(["H", "--n1", str(n1), "--n2", str(n2)], None, n1=n1, n2=n2)


def parse_h(report):
    out = []
    find(report, rf"^Prüfgröße Chi²=\s*({NUM}) ?: p=({NUM}) zweiseitig", ["chi", "p_chi"], out)
    find(report, rf"^Exakter Binomial-Test : p=({NUM}) ein!seitig", ["p1"], out)
    find(report, rf"^Exakter Binomial-Test : p=({NUM}) zweiseitig", ["p2"], out)
    return out


def gen_fit(letter):
    def gen(rnd, i, work):
        kind = size_class(i)
        k = {"small": rnd.randint(2, 5), "medium": rnd.randint(6, 40)}.get(kind) or 100
        scale = rnd.choice([5, 50, 5000])
        f = [rnd.randrange(scale) + (j % 3) * scale // 10 for j in range(k)]
        if sum(f) == 0:
            f[0] = 1
        case = Case([letter, "--freq", ",".join(map(str, f))], None, freq=",".join(map(str, f)))
        if letter == "A":
            # probabilities of four decimals summing to 1
            w = [rnd.randint(1, 20) for _ in range(k)]
            p = [round(x / sum(w), 4) for x in w]
            p[-1] = round(1 - sum(p[:-1]), 4)
            if p[-1] <= 0:
                p = [round(1 / k, 6)] * k
                p[-1] = round(1 - sum(p[:-1]), 6)
            case.argv += ["--prob", ",".join(f"{x:g}" for x in p)]
            case.fields["prob"] = ",".join(f"{x:g}" for x in p)
        return case
    return gen


def parse_fit(report):
    out = []
    row = rf"\s+({NUM})\s+[<>=]\s+({NUM})\s+({NUM})\s+({NUM})\s+({NUM})\s+({NUM})$"
    find(report, r"^\s*(\d+)" + row, [None, "f.{g[0]}", "e.{g[0]}", "rel.{g[0]}", "prob.{g[0]}", "c.{g[0]}", "pc.{g[0]}"], out)
    find(report, rf"^      Sum\s+({NUM})\s+({NUM})\s+({NUM})\s+({NUM})\s+({NUM})\s+({NUM})$",
         ["F", "FS", "one", "S", "Q", "pQ"], out)
    if "Keine Berechnung." in report:
        out.append(("keine", "Keine Berechnung."))
    find(report, rf"^Erwartete Häufigkeit =\s*({NUM})", ["expected"], out)
    find(report, rf"^Prüfgröße:      Chi² =\s*({NUM})", ["chi"], out)
    find(report, r"^mit Freiheitsgrad fg =\s*(\d+)", ["df"], out)
    find(report, rf"^und                p =\s*({NUM})", ["p"], out)
    return out


def gen_b(rnd, i, work):
    kind = size_class(i)
    if kind == "small":
        n = rnd.randint(1, 30)
    elif kind == "medium":
        n = rnd.randint(31, 15000)
    else:
        n = rnd.choice([16000, 40000, 1000000, 99999999])
    k = rnd.choice([0, n, rnd.randint(0, n), rnd.randint(0, n), int(n * rnd.random() ** 3)])
    theta = rnd.choice([0.5, round(rnd.uniform(0.01, 0.99), 4), round(k / n, 3) or 0.001])
    theta = min(max(theta, 0.0001), 0.9999)
    return Case(["B", "--n", str(n), "--k", str(k), "--theta", f"{theta:g}"], None, n=n, k=k, theta=theta)


def parse_b(report):
    out = []
    find(report, rf"^Hypothetischer Wert aus H0: theta0 =\s*({NUM})", ["theta"], out)
    find(report, rf"^Errechnete relative Häufigkeit k/n =\s*({NUM})", ["kn"], out)
    find(report, rf"^Zur Alternative Ha\(theta<theta0\): P\(k<=\S+\) = p =\s*({NUM})", ["p_low"], out)
    find(report, rf"^Zur Alternative Ha\(theta>theta0\): P\(k>=\S+\) = p =\s*({NUM})", ["p_high"], out)
    find(report, rf"^Per Fisher's F mit Ablehnungsbereich p=2\*\(p/2\): p =\s*({NUM})", ["p2"], out)
    find(report, rf"^P = ({NUM}): \(\s*({NUM}) ,\s*({NUM}) \)( \(einseitig!\))?$",
         [None, "lo.{g[0]}", "hi.{g[0]}", "one_sided.{g[0]}"], out)
    return out


LETTERS = {
    "K": (gen_k, parse_k), "U": (gen_u, parse_u), "N": (gen_scores("N"), parse_scores),
    "T": (gen_scores("T"), parse_scores), "S": (gen_s, parse_s), "E": (gen_e, parse_e),
    "W": (gen_pairs("W"), parse_w), "V": (gen_pairs("V"), parse_v), "F": (gen_f, parse_f),
    "O": (gen_o, parse_o), "C": (gen_c, parse_c), "H": (gen_h, parse_h), "A": (gen_fit("A"), parse_fit),
    "G": (gen_fit("G"), parse_fit), "B": (gen_b, parse_b),
}
