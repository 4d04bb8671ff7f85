#!/usr/bin/env python3
"""One test per stratum: `veltrum --by` against R looping in one process and against one veltrum
process per stratum.

    bench/strata.py VELTRUM [--r] [--runs N] [--sample S]

Two cases, each a CSV table generated here (columns stratum, g, x; distinct values on a grid of
0.01, so the U test is exact in both programs):
  U  10,000 strata of 20 + 20 values: `veltrum --by stratum U`, every report shown (to /dev/null);
     R: `wilcox.test(x, y, conf.int = TRUE)` for each stratum in one Rscript process.
  K  1,000 strata of 5 groups of 20: `veltrum --by stratum K`; R: `kruskal.test` for each.
Printed per case: medians of wall and CPU time (user + system, whole process, from wait4) of N
runs; with --r the same for Rscript (its start-up included, about 0.2 s) and the ratio of the
CPU medians; then one veltrum process per stratum, measured on the first S strata (each its own
CSV file, written beforehand) and scaled to all strata, with the ratio to `--by`.
"""
import argparse
import os
import random
import statistics
import sys
import tempfile

from vs_r import run

CASES = [
    # name, strata, groups, values a group, letter and options
    ("U", 10000, 2, 20, ["U", "--group-var", "g", "--target", "x", "--groups", "1,2"]),
    ("K", 1000, 5, 20, ["K", "--group-var", "g", "--target", "x"]),
]

R_CODE = {
    "U": "for (p in s) wilcox.test(p$x[p$g == 1], p$x[p$g == 2], conf.int = TRUE)",
    "K": "for (p in s) kruskal.test(x ~ g, data = p)",
}


def table(strata, groups, n, seed):
    """The rows of every stratum, in stratum order: [(stratum, lines)]."""
    rnd = random.Random(seed)
    out = []
    for s in range(1, strata + 1):
        values = rnd.sample(range(100000), groups * n)
        out.append((f"S{s}", [f"S{s},{j // n + 1},{v / 100:.2f}" for j, v in enumerate(values)]))
    return out


def timed(command, env):
    """Runs once (standard output to /dev/null, the reports written there all the same); returns
    (wall seconds, CPU seconds)."""
    wall, cpu, code = run(command, env)
    if code != 0:
        sys.exit(f"failed ({code}): {' '.join(command)}")
    return wall, cpu


def medians(command, env, runs):
    times = [timed(command, env) for _ in range(runs)]
    return statistics.median(t[0] for t in times), statistics.median(t[1] for t in times)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("veltrum")
    ap.add_argument("--r", action="store_true")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--sample", type=int, default=200)
    args = ap.parse_args()
    veltrum = os.path.abspath(args.veltrum)
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, VELTRUM_DRIVE_C=os.path.join(work, "C"), SOURCE_DATE_EPOCH="0", TMPDIR=work)
        print(f"{'case':<28} {'wall ms':>9} {'CPU ms':>9}  ratio")
        for name, strata, groups, n, letter in CASES:
            rows = table(strata, groups, n, seed=strata + groups)
            data = os.path.join(work, f"{name}.csv")
            with open(data, "w") as f:
                f.write("stratum,g,x\n" + "".join(line + "\n" for _, lines in rows for line in lines))
            by = [veltrum, "--data", data, "--by", "stratum"] + letter
            wall, cpu = medians(by, env, args.runs)
            label = f"{name} {strata} strata --by"
            print(f"{label:<28} {wall * 1000:9.0f} {cpu * 1000:9.0f}", flush=True)
            if args.r:
                script = os.path.join(work, f"{name}.R")
                with open(script, "w") as f:
                    f.write(f'd <- read.csv("{data}")\n'
                            "s <- split(d, factor(d$stratum, levels = unique(d$stratum)))\n"
                            f"{R_CODE[name]}\n")
                r_wall, r_cpu = medians(["Rscript", "--vanilla", script], env, args.runs)
                label = f"{name} {strata} strata R loop"
                print(f"{label:<28} {r_wall * 1000:9.0f} {r_cpu * 1000:9.0f}  R/veltrum {r_cpu / cpu:.1f}",
                      flush=True)
            # One process per stratum, on the first strata, each its own file.
            sample = min(args.sample, strata)
            files = []
            for k, (_, lines) in enumerate(rows[:sample]):
                files.append(os.path.join(work, f"{name}-{k}.csv"))
                with open(files[-1], "w") as f:
                    f.write("stratum,g,x\n" + "".join(line + "\n" for line in lines))
            walls, cpus = 0.0, 0.0
            for file in files:
                w, c = timed([veltrum, "--data", file] + letter, env)
                walls, cpus = walls + w, cpus + c
            scale = strata / sample
            label = f"{name} {strata} processes"
            print(f"{label:<28} {walls * scale * 1000:9.0f} {cpus * scale * 1000:9.0f}  "
                  f"processes/--by {cpus * scale / cpu:.0f} (CPU), {walls * scale / wall:.0f} (wall); "
                  f"{sample} measured, scaled", flush=True)


if __name__ == "__main__":
    main()
