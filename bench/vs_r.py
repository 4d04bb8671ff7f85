#!/usr/bin/env python3
"""Whole-process timings of veltrum at the module's capacities, and of R doing the same statistics.

    bench/vs_r.py VELTRUM [--r] [--json] [--runs N] [--only TEXT]

Every case of bench/cases.tsv gets its data file generated here (the same file for both
programs), then `veltrum --quiet` runs it N times and, with --r, `Rscript` runs the case's R code
after bench/prelude.R.  Printed per case: the medians of wall time and of CPU time (user + system
of the whole process, from wait4), and with --r the ratio R/veltrum of the CPU medians.  CPU time
is the figure to compare on a machine shared with other work; wall time counts the waiting too.
A veltrum run that does not end with a report (exit status 0) stops the benchmark.

With --json each case also runs as `veltrum --quiet --json FILE`, the two commands taking turns,
and the difference of the CPU medians is what writing the JSON document adds.
"""
import argparse
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


# ---- data generators: spec words -> (file text, placeholders) ----

def groups_file(k, n, seed, distinct=False):
    """k groups of n values, "x;N;7;1 g;N;3;0"; on a grid of 0.1 (ties as in rounded data) or,
    distinct, all different."""
    rnd = random.Random(seed)
    lines = ["x;N;7;1 g;N;3;0"]
    if distinct:
        values = rnd.sample(range(100000), k * n)
    for i in range(1, k + 1):
        for j in range(n):
            x = values[(i - 1) * n + j] / 10 if distinct else rnd.randrange(2000) / 10 + i % 7
            lines.append(f"{x:8.1f} {i:3d}")
    return "\n".join(lines) + "\n", {}


def freq_file(k, seed):
    """k absolute frequencies around 100, one a line; {freq} and {prob} for the command line."""
    rnd = random.Random(seed)
    f = [70 + rnd.randrange(61) for _ in range(k)]
    return "\n".join(map(str, f)) + "\n", {"freq": ",".join(map(str, f)), "prob": ",".join(["0.01"] * k)}


def scores_file(k, n, seed):
    """k groups of n whole-number scores, 250 distinct values at most (1 to 250)."""
    rnd = random.Random(seed)
    lines = ["x;N;7;1 g;N;3;0"]
    for i in range(1, k + 1):
        lines += [f"{min(250, 1 + rnd.randrange(240) + i):8.1f} {i:3d}" for _ in range(n)]
    return "\n".join(lines) + "\n", {}


def pairs_file(n, seed):
    """n pairs "a;N;7;1 b;N;7;1" on a grid of 0.1, so that ties and zero differences occur."""
    rnd = random.Random(seed)
    lines = ["a;N;7;1 b;N;7;1"]
    for _ in range(n):
        a = rnd.randrange(1000) / 10
        lines.append(f"{a:8.1f} {a + (rnd.randrange(200) - 80) / 10:7.1f}")
    return "\n".join(lines) + "\n", {}


def blocks_file(rows, cols, seed):
    """rows blocks of cols values c1..cC on a grid of 0.5 (ties within rows); {targets} lists
    the columns."""
    rnd = random.Random(seed)
    names = [f"c{j}" for j in range(1, cols + 1)]
    lines = [" ".join(f"{name};N;4;1" for name in names)]
    for _ in range(rows):
        values = [rnd.randrange(21) / 2 + (j % 3) / 2 for j in range(cols)]
        lines.append(f"{values[0]:5.1f}" + "".join(f" {v:4.1f}" for v in values[1:]))
    return "\n".join(lines) + "\n", {"targets": ",".join(names)}


def binary_file(rows, cols, seed):
    """A 0/1 table of rows blocks and cols conditions; {table} is the same table for --table."""
    rnd = random.Random(seed)
    table = [[1 if rnd.random() < 0.3 + 0.4 * j / cols else 0 for j in range(cols)] for _ in range(rows)]
    lines = [" ".join(f"c{j};N;1;0" for j in range(1, cols + 1))]
    lines += [" " + " ".join(map(str, row)) for row in table]
    return "\n".join(lines) + "\n", {"rows": str(rows), "cols": str(cols),
                                     "table": ";".join(",".join(map(str, row)) for row in table)}


def crossover_file(n, seed):
    """Two sequences of n units, "p1;N;7;1 p2;N;7;1 g;N;3;0", values on a grid of 0.1."""
    rnd = random.Random(seed)
    lines = ["p1;N;7;1 p2;N;7;1 g;N;3;0"]
    for g in (1, 2):
        for _ in range(n):
            lines.append(f"{rnd.randrange(400) / 10:8.1f} {rnd.randrange(400) / 10 + g / 2:7.1f} {g:3d}")
    return "\n".join(lines) + "\n", {}


GENERATORS = {
    "groups": lambda k, n, seed: groups_file(int(k), int(n), int(seed)),
    "distinct": lambda k, n, seed: groups_file(int(k), int(n), int(seed), distinct=True),
    "freq": lambda k, seed: freq_file(int(k), int(seed)),
    "scores": lambda k, n, seed: scores_file(int(k), int(n), int(seed)),
    "pairs": lambda n, seed: pairs_file(int(n), int(seed)),
    "blocks": lambda rows, cols, seed: blocks_file(int(rows), int(cols), int(seed)),
    "binary": lambda rows, cols, seed: binary_file(int(rows), int(cols), int(seed)),
    "crossover": lambda n, seed: crossover_file(int(n), int(seed)),
}


def read_cases():
    cases = []
    with open(os.path.join(HERE, "cases.tsv"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            name, data, args, r_code = line.rstrip("\n").split("\t")
            cases.append((name, data, args, r_code))
    return cases


def run(command, env):
    """Runs once; returns (wall seconds, CPU seconds, exit status)."""
    start = time.perf_counter()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    errors = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.stderr.write(errors)
    return wall, usage.ru_utime + usage.ru_stime, code


def medians(command, env, runs):
    walls, cpus = [], []
    for _ in range(runs):
        wall, cpu, code = run(command, env)
        if code != 0:
            sys.exit(f"failed ({code}): {' '.join(command)}")
        walls.append(wall)
        cpus.append(cpu)
    return statistics.median(walls), statistics.median(cpus)


def cpu_medians_taking_turns(commands, env, runs):
    """The CPU medians of several commands run in turn, so that a drift of the machine's speed
    falls on all of them alike."""
    cpus = [[] for _ in commands]
    for _ in range(runs):
        for i, command in enumerate(commands):
            _, cpu, code = run(command, env)
            if code != 0:
                sys.exit(f"failed ({code}): {' '.join(command)}")
            cpus[i].append(cpu)
    return [statistics.median(c) for c in cpus]


def ms(seconds):
    return f"{seconds * 1000:9.1f}"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("veltrum")
    ap.add_argument("--r", action="store_true", help="also time R on the same data")
    ap.add_argument("--runs", type=int, default=11, help="runs of veltrum per case (R: a third, at least 3)")
    ap.add_argument("--only", default="", help="only the cases whose name contains this text")
    ap.add_argument("--json", action="store_true", help="also time --json FILE and give what it adds")
    opt = ap.parse_args()

    work = tempfile.mkdtemp(prefix="veltrum-bench-")
    env = dict(os.environ, VELTRUM_DRIVE_C=os.path.join(work, "C"), SOURCE_DATE_EPOCH="0")
    prelude = os.path.join(HERE, "prelude.R")
    r_runs = max(3, opt.runs // 3)

    head = f"{'case':<16}{'veltrum wall':>13}{'cpu':>10}"
    if opt.r:
        head += f"{'R wall':>10}{'cpu':>10}{'R/veltrum':>11}"
    if opt.json:
        head += f"{'cpu':>10}{'--json cpu':>11}{'added':>9}{'size KB':>9}"
    print(head + "   (medians, ms)")
    for number, (name, data, args, r_code) in enumerate(read_cases()):
        if opt.only not in name:
            continue
        path = os.path.join(work, f"case{number}.dat")
        values = {}
        if data != "-":
            kind, *words = data.split()
            text, values = GENERATORS[kind](*words)
            with open(path, "w", newline="\r\n") as f:
                f.write(text)
        values["data"] = path
        argv = [a.format(**values) for a in args.split()]
        command = [opt.veltrum, "--quiet"] + (["--data", path] if data != "-" else []) + argv
        v_wall, v_cpu = medians(command, env, opt.runs)
        line = f"{name:<16}{ms(v_wall):>13}{ms(v_cpu):>10}"
        if opt.r:
            script = f'source("{prelude}"); data <- "{path}"; invisible({{{r_code}}})'
            r_wall, r_cpu = medians(["Rscript", "-e", script], env, r_runs)
            line += f"{ms(r_wall):>10}{ms(r_cpu):>10}{r_cpu / max(v_cpu, 1e-4):>10.0f}x"
        if opt.json:
            document = os.path.join(work, "result.json")
            plain, with_json = cpu_medians_taking_turns([command, command[:2] + ["--json", document] + command[2:]],
                                                        env, opt.runs)
            line += f"{ms(plain):>10}{ms(with_json):>11}{(with_json - plain) * 1000:>9.2f}"
            line += f"{os.path.getsize(document) / 1024:>9.0f}"
        print(line, flush=True)


if __name__ == "__main__":
    main()
