#!/usr/bin/env python3
"""Validation of veltrum's reports against R.

    tools/validate/validate.py VELTRUM [N] [--only LETTERS] [--work DIR] [--out FILE]

For every letter with a counterpart in R, N random cases (fixed seeds "LETTER-i") are generated
(letters.py), each run through `veltrum` and parsed from the German report, and all cases of a
letter are computed by one R process (reference.R).  Every number the report prints is compared
with R's value at one unit of its last printed place; classes such as "( p < 0.05 )" are compared
as text.  Where the module computes a quantity by its own documented definition that an R
function computes otherwise, reference.R writes both: the definition (compared, it must agree)
and the R function's value under NAME@std, whose departures are counted as known differences by
design with the reason given in KNOWN.  The table goes to FILE (docs/validation.md); the exit
status is 1 when an unexplained difference appeared, 2 on wrong usage.
"""
import argparse
import concurrent.futures
import datetime
import math
import os
import random
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from letters import LETTERS  # noqa: E402

# Known differences by design: (letter, quantity) -> the reason.  Counted, shown, never failed.
KNOWN = {
    ("K", "p"): "Dunn's two-sided p comes from a 13-term series for the normal distribution function "
                "(absolute error up to 1.4e-10 near z = 7, and 0 from z = 7 on), not from `pnorm`.",
    ("K", "pstar"): "Holm's p* multiplies the series' error by up to M = k(k-1)/2 (4950 with 100 groups), which "
                    "can reach the sixth decimal.",
    ("K", "maxpstar"): "As for p*.",
    ("U", "p_cons"): "With ties the exact p is the untied distribution's at the integer U next to the centre "
                     "(conservative) and the mean with the next one out (interpolated), not the conditional "
                     "distribution given the ties (`coin::wilcox_test(distribution = \"exact\")`).",
    ("U", "p_exact"): "With ties and a whole U the exact p is still the untied distribution's at U, not the "
                      "conditional exact p of `coin::wilcox_test(distribution = \"exact\")`.",
    ("U", "p_interp"): "As above: interpolated between the untied p at two integers, not the conditional exact p.",
    ("U", "moses_lo"): "Moses limits use h from the normal approximation for every size; R's "
                       "`wilcox.test(conf.int = TRUE)` uses the exact distribution for small untied samples "
                       "and an asymptotic root-finding interval otherwise.",
    ("U", "moses_hi"): "As for the lower Moses limit.",
    ("E", "fisher2"): "Two-sided Fisher p sums the tables at least as far from independence as the observed one, "
                      "measured by N·|a/(a+b) − c/(c+d)| rounded; `fisher.test` sums the tables no more "
                      "probable than the observed one.",
    ("E", "chi"): "The continuity correction N/2 is subtracted without limiting |ad − bc| − N/2 at 0; "
                  "`chisq.test(correct = TRUE)` limits the correction to |O − E|.",
    ("S", "D"): "D is taken on a grid of 999 classes over the range of both groups, so values closer than a "
                "class width count as equal; `ks.test` uses the raw values.",
    ("S", "class"): "The significance class comes from critical-value tables: exact two-sample tables up to 25 "
                    "values per group, the one-sample Kolmogorov table at the effective size e = n1·n2/(n1+n2) "
                    "up to 35, the rounded asymptotic constants beyond; R's `ks.test` p value (two-sample, exact "
                    "where R computes it) is classed here for comparison.",
    ("W", "Z"): "Z has neither continuity nor tie correction; `wilcox.test(paired = TRUE, exact = FALSE, "
                "correct = FALSE)` corrects the variance for ties.",
    ("W", "p_exact"): "With ties the exact p is the untied signed-rank distribution at floor(R^ + 0.5), not "
                      "the conditional distribution (`coin::wilcoxsign_test(distribution = \"exact\")`).",
    ("W", "hl"): "The Hodges-Lehmann estimate takes the Walsh averages of all n differences, zero differences "
                 "included; `wilcox.test(paired = TRUE, conf.int = TRUE)` drops the zeros first.",
    ("W", "tukey_lo"): "Tukey intervals use all n differences (zeros included) and, above n = 20, k from the "
                       "normal approximation; `wilcox.test(conf.int = TRUE)` drops zeros and uses its own "
                       "exact or asymptotic limits.",
    ("W", "tukey_hi"): "As for the lower Tukey limit.",
    ("C", "p_exact"): "With ties the exact p is the untied distribution at the integer U next to the centre, not "
                      "the conditional exact p (`coin::wilcox_test(distribution = \"exact\")`).",
    ("H", "chi"): "The continuity correction is (|n1 − n2| − 1)²/n also when |n1 − n2| < 1 (equal "
                  "frequencies give 1/n); `chisq.test` limits the correction and gives 0.",
    ("B", "p2"): "The two-sided p doubles the smaller tail (min(1, 2·p_low, 2·p_high)); `binom.test` sums the "
                 "outcomes no more probable than the observed one, which differs when theta0 ≠ 0.5.",
    ("B", "lo"): "At k = 0 (k = n) the interval is one-sided at the level P itself, from 0 (up to 1); from 16000 "
                 "successes or failures (and 0 < k < n) the limits come from a normal approximation; "
                 "`binom.test` gives the two-sided Clopper-Pearson limits at (1 − P)/2 each.",
    ("B", "hi"): "As for the lower limit.",
    ("F", "class"): "Wilcoxon-Wilcox classes come from the published table of critical differences, which the "
                    "reference forms as the studentized range qtukey(1 − α, c, ∞)·√(r·c·(c+1)/12) rounded "
                    "to one decimal; the unrounded critical difference is counted here.",
}

LETTER_NAMES = {
    "K": "Kruskal-Wallis with Dunn-Holm and Nemenyi", "U": "Wilcoxon-Mann-Whitney U",
    "N": "Mantel-Haenszel, 2 groups", "T": "Mantel-Haenszel, k groups", "S": "Kolmogorov-Smirnov, 2 samples",
    "E": "Median test, Fisher's exact test", "W": "Wilcoxon matched pairs", "V": "Sign test",
    "F": "Friedman with multiple comparisons", "O": "Cochran's Q", "C": "Cross-over after Koch",
    "H": "Two frequencies", "A": "Goodness of fit", "G": "Uniform distribution", "B": "Binomial test",
}

R_CALLS = {
    "K": "`kruskal.test`; Dunn's Z with each pair's ties, Holm, Nemenyi's chi-square and `pchisq` written out",
    "U": "`wilcox.test` (U, exact p without ties, p of Z), `pwilcox` at the bracketing integers with ties, "
         "`coin::wilcox_test(distribution = \"exact\")` for comparison; Mann-Whitney variance and "
         "Moses limits written out; `median(outer(x, y, \"-\"))`",
    "N": "`table`; `coin::independence_test(teststat = \"quadratic\")` (the mean-score statistic), `pchisq`",
    "T": "as N",
    "S": "the 999-class grid D written out; `ks.test` (D, p); the exact two-sample distribution "
         "(`psmirnov` of R's stats, C_pSmirnov2x) and the one-sample Kolmogorov distribution "
         "(C_pKolmogorov2x) for the class",
    "E": "`median`, `table`, `fisher.test` (one-sided), the distance-ordered two-sided sum written out "
         "with `dhyper`, `chisq.test`",
    "W": "`psignrank` at floor(R^ + 0.5), `wilcox.test(paired = TRUE)`, Walsh averages and Tukey's k "
         "(`psignrank` up to n = 20, `qnorm` above)",
    "V": "`binom.test`, `pbinom`",
    "F": "`friedman.test`, `pf` (Rijkoort-Wise), `qtukey` critical differences, `pchisq` (Schaich-Hamerle)",
    "O": "`rstatix::cochran_qtest` (small and medium tables), Cochran's Q written out",
    "C": "`wilcox.test` on sums, differences and period 1 (exact without ties, normal without correction), "
         "`pwilcox` with ties",
    "H": "`chisq.test`, `binom.test`",
    "A": "`chisq.test(f, p = p)`, `pchisq`",
    "G": "`chisq.test(f)`, `pchisq`",
    "B": "`pbinom`, `binom.test` (Clopper-Pearson limits), `qbeta` for the one-sided limits, the normal "
         "approximation written out",
}

# Values are stored in single precision (24 bits): where a picture prints more significant digits
# than that holds, the value is compared at this relative difference instead of one unit.
SINGLE = 1e-6
KNOWN[("*", "(single precision)")] = ("The value is stored in single precision and printed with more than six "
                                     "significant digits; compared at 1e-6 relative instead of one unit of the "
                                     "last place.")

NOTES = """## Notes

- R is given the values the module stores in single precision: the data values (9876.3 is
  9876.2998046875), typed probabilities and theta0, and for A and G the expected frequencies, the
  chi-square contributions and their running sum.  The binomial probabilities of B take n and k in
  single precision as the distribution function's interface does (above 2^24 = 16,777,216 they are
  rounded: n = 99,999,999 is computed as 100,000,000).
- Where no R function computes what the report prints, the formula is written out independently in
  `reference.R` (Dunn's pairwise tie correction, the Mann-Whitney variance, the Moses and Tukey
  limits, the distance-ordered two-sided Fisher p, the KS grid and class, the Wilcoxon-Wilcox
  critical differences from the studentized range).
- A table entry or a constant is checked only where a case reaches it: the small W cases run through
  n = 2 to 20 in turn, but a single cell of the Kolmogorov-Smirnov or Wilcoxon-Wilcox tables, or a
  class boundary constant, is found only when some D falls between the right and the wrong critical
  value.
- Planted faults (7 December 2026, two scratch builds, 100 cases per letter, never committed): found
  were H's continuity correction (|n1 - n2| - 1 to - 0.5: 110 numbers failed), K's pairwise tie
  term 12(N - 1) to 12N (144: Dunn p, p*, max(p*)), W's 95 % Tukey table entry for n = 14 (21 to 22:
  both limits of one case), U's Mann-Whitney variance term (n1 + n2 - 1) to (n1 + n2) (575: the
  asymptotic intervals), E's continuity correction N/2 to N/4 (159: chi-square and its p) and the KS
  class width (hi - lo)/998 to /999 (D in 8 cases).  Not found: the 5 % asymptotic KS constant 1.36
  to 1.35 (no D fell between the two critical values) and B's B = (7 - z^2)/18 to /17 of the normal
  limits (from 16000 successes it moves the limits by about 1e-9, below the sixth decimal).""".split("\n")

NOT_IN_R = ("M", "the information text on multiple comparisons: it computes nothing.")


def unit_of(text):
    """The value and one unit of the last printed place of a printed number."""
    m = re.fullmatch(r"(-?)(\d*)(?:\.(\d*))?(?:E([+-]\d+))?", text)
    if not m or not (m.group(2) or m.group(3)):
        return None
    decimals = len(m.group(3) or "")
    exponent = int(m.group(4) or 0)
    return float(text), 10.0 ** (exponent - decimals)


def run_veltrum(veltrum, case, env, drive):
    # Each case its own drive C: veltrum shows the report file it wrote there.
    env = dict(env, VELTRUM_DRIVE_C=drive)
    argv = [veltrum] + (["--data", case.data] if case.data else []) + case.argv
    proc = subprocess.run(argv, env=env, capture_output=True, timeout=600)
    return proc.returncode, proc.stdout.decode("utf-8", "replace"), proc.stderr.decode("utf-8", "replace")


def manifest_line(case_id, case):
    fields = "|".join(f"{k}={v}" for k, v in case.fields.items())
    return f"{case_id}\t{case.data or '-'}\t{fields}\n"


def read_reference(path):
    ref = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            case_id, name, value = line.rstrip("\n").split("\t")
            case = ref.setdefault(int(case_id), {})
            if name == "_branch" and name in case:  # K with two groups: its branch and U's
                value = case[name] + ";" + value
            case[name] = value
    return ref


class Tally:
    def __init__(self):
        self.cases = 0
        self.numbers = 0
        self.classes = 0
        self.largest = 0.0
        self.largest_at = ""
        self.failures = []
        self.known = {}  # quantity -> [cases differing, compared, largest units]
        self.branches = {}  # branch -> cases that took it
        self.seconds = 0.0

    def known_add(self, quantity, differs, units):
        entry = self.known.setdefault(quantity, [0, 0, 0.0])
        entry[1] += 1
        if differs:
            entry[0] += 1
            entry[2] = max(entry[2], units)


def compare(letter, case_id, parsed, ref, tally):
    printed_names = {name for name, _ in parsed}
    ref = ref.get(case_id, {})
    for name, value in ref.items():
        if "@" not in name and not name.startswith("_") and name not in printed_names:
            tally.failures.append((case_id, name, "(not printed)", value))
    # The branches the case takes by R's side (each one's quantities must all be printed).
    for b in filter(None, ref.get("_branch", "").split(";")):
        tally.branches[b] = tally.branches.get(b, 0) + 1
    for name, printed in parsed:
        key = name
        quantity = name.split(".")[0]
        if key not in ref:
            tally.failures.append((case_id, name, printed, "(no reference)"))
            continue
        expected = ref[key]
        number = unit_of(printed)
        if number is None or unit_of(expected) is None and not _is_float(expected):
            tally.classes += 1
            if printed.split() != expected.split():
                tally.failures.append((case_id, name, printed, expected))
        else:
            value, unit = number
            units = abs(value - float(expected)) / unit
            tally.numbers += 1
            if not units <= 1.0 and unit < SINGLE * abs(value) and abs(value - float(expected)) <= SINGLE * abs(value):
                # More digits printed than single precision holds: compared at 1e-6 relative.
                tally.known_add("(single precision)", True, units)
            elif not units <= 1.0:
                tally.failures.append((case_id, name, printed, expected))
            elif units > tally.largest:
                tally.largest, tally.largest_at = units, f"case {case_id} {name}"
        std = ref.get(name + "@std")
        if std is not None and (letter, quantity) in KNOWN:
            if number is None or not _is_float(std):
                tally.known_add(quantity, printed.split() != std.split(), 0.0)
            else:
                units = abs(number[0] - float(std)) / number[1]
                tally.known_add(quantity, units > 1.0, units)


def _is_float(text):
    try:
        return not math.isnan(float(text))
    except ValueError:
        return False


def git(*args):
    try:
        return subprocess.run(["git", "-C", HERE] + list(args), capture_output=True, text=True).stdout.strip()
    except OSError:
        return ""


def r_version():
    out = subprocess.run(["Rscript", "-e", "cat(R.version.string, ' coin ', format(packageVersion('coin')), "
                          "' rstatix ', format(packageVersion('rstatix')), sep = '')"], capture_output=True, text=True)
    return out.stdout.strip()


def markdown(n, tallies, seconds, failed):
    commit = git("rev-parse", "--short=12", "HEAD")
    # The table itself does not count as a change.
    changed = git("status", "--porcelain", "--untracked-files=no", "--", ":(top)", ":(top,exclude)docs/validation.md")
    dirty = " (with uncommitted changes)" if changed else ""
    lines = [
        "# Validation against R",
        "",
        "Written by `./dev validate " + str(n) + "` (`tools/validate/`); do not edit by hand.",
        "",
        f"- Date: {datetime.datetime.now(datetime.timezone.utc).strftime('%Y-%m-%d %H:%M UTC')}",
        f"- Commit: {commit}{dirty}",
        f"- R: {r_version()}",
        f"- Cases: {n} per letter (seeds \"LETTER-0\" to \"LETTER-{n - 1}\"; of every ten, four small, four "
        "medium, two at the module's capacity, values on coarse grids so that ties occur); run time "
        f"{seconds:.0f} s",
        f"- Result: {'FAILED: unexplained differences below' if failed else 'passed: no unexplained difference'}",
        "",
        "Every number the result part of a report prints is compared with R's value; it passes when it lies "
        "within one unit of its last printed place (\"units\" below).  Classes such as `( p < 0.05 )` and "
        "branch labels are compared as text.  Input echoes (the data listing, the input block, the "
        "literature) are not compared.",
        "",
        "| Letter | Test | Cases | Numbers compared | Classes compared | Largest difference (units) | Seconds | "
        "Branches (cases) | R |",
        "|---|---|---|---|---|---|---|---|---|",
    ]
    for letter, t in tallies.items():
        branches = ", ".join(f"{b} {c}" for b, c in sorted(t.branches.items()))
        lines.append(f"| {letter} | {LETTER_NAMES[letter]} | {t.cases} | {t.numbers} | {t.classes} | "
                     f"{t.largest:.2f} | {t.seconds:.0f} | {branches} | {R_CALLS[letter]} |")
    lines += ["", f"Letter {NOT_IN_R[0]} has no counterpart in R: {NOT_IN_R[1]}", ""] + NOTES + ["",
              "## Known differences by design", "",
              "The module's own definition is what is compared above (written out in R where no R function "
              "computes it).  Where a common R function computes the quantity otherwise, its value was "
              "compared too; these departures are expected and are not failures.", "",
              "| Letter | Quantity | Cases differing from the R function / compared | Largest (units) | Reason |",
              "|---|---|---|---|---|"]
    for letter, t in tallies.items():
        for quantity, (differs, compared, largest) in sorted(t.known.items()):
            lines.append(f"| {letter} | `{quantity}` | {differs} / {compared} | {largest:.0f} | "
                         f"{KNOWN.get((letter, quantity)) or KNOWN[('*', quantity)]} |")
    if failed:
        lines += ["", "## Unexplained differences", "", "| Letter | Case | Quantity | Printed | R |", "|---|---|---|---|---|"]
        for letter, t in tallies.items():
            for case_id, name, printed, expected in t.failures[:20]:
                lines.append(f"| {letter} | {case_id} | `{name}` | `{printed}` | `{expected}` |")
    return "\n".join(lines) + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("veltrum")
    ap.add_argument("n", nargs="?", type=int, default=100)
    ap.add_argument("--only", default="", help="only these letters, e.g. KU")
    ap.add_argument("--work", default="build-validate", help="data files, reports and R's results")
    ap.add_argument("--out", default="", help="the table (Markdown); default: none")
    opt = ap.parse_args()
    if opt.n < 1:
        ap.error("N must be at least 1")
    work = os.path.abspath(opt.work)
    os.makedirs(work, exist_ok=True)
    env = dict(os.environ, SOURCE_DATE_EPOCH="0")
    started = time.time()
    tallies, failed = {}, False
    letters = [l for l in LETTERS if not opt.only or l in opt.only]
    pool = concurrent.futures.ThreadPoolExecutor(max_workers=max(2, os.cpu_count() or 2))
    for letter in letters:
        generate, parse = LETTERS[letter]
        letter_started = time.time()
        t = tallies[letter] = Tally()
        lwork = os.path.join(work, letter)
        os.makedirs(lwork, exist_ok=True)
        cases = [generate(random.Random(f"{letter}-{i}"), i, lwork) for i in range(opt.n)]
        results = list(pool.map(lambda ic: run_veltrum(opt.veltrum, ic[1], env, os.path.join(lwork, f"C{ic[0]}")),
                                enumerate(cases)))
        manifest = os.path.join(lwork, "manifest.tsv")
        with open(manifest, "w", encoding="utf-8") as f:
            f.writelines(manifest_line(i, c) for i, c in enumerate(cases))
        reference = os.path.join(lwork, "reference.tsv")
        r = subprocess.run(["Rscript", os.path.join(HERE, "reference.R"), letter, manifest, reference],
                           capture_output=True, text=True)
        if r.returncode != 0:
            sys.stderr.write(r.stderr)
            sys.exit(f"validate: R failed for letter {letter}")
        ref = read_reference(reference)
        for i, (case, (code, report, errors)) in enumerate(zip(cases, results)):
            with open(os.path.join(lwork, f"report{i}.txt"), "w", encoding="utf-8") as f:
                f.write(report)
            t.cases += 1
            if "_noreport" in ref.get(i, {}):
                t.classes += 1
                if code != 1 or report.strip():
                    t.failures.append((i, "no report expected", f"exit status {code}", errors.strip()[:200]))
                continue
            if code != 0:
                t.failures.append((i, "exit status", str(code), errors.strip()[:200]))
                continue
            parsed = parse(report)
            if not parsed:
                t.failures.append((i, "report", "(nothing parsed)", ""))
                continue
            compare(letter, i, parsed, ref, t)
        t.seconds = time.time() - letter_started
        status = "ok" if not t.failures else f"{len(t.failures)} unexplained"
        print(f"{letter}: {t.cases} cases, {t.numbers} numbers, {t.classes} classes, largest "
              f"{t.largest:.2f} units ({t.largest_at}), {t.seconds:.0f} s; {status}", flush=True)
        for case_id, name, printed, expected in t.failures[:10]:
            print(f"  case {case_id} ({os.path.join(lwork, f'report{case_id}.txt')}): {name}: "
                  f"printed {printed}, R {expected}", file=sys.stderr)
        failed = failed or bool(t.failures)
    if opt.out:
        with open(opt.out, "w", encoding="utf-8") as f:
            f.write(markdown(opt.n, tallies, time.time() - started, failed))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
