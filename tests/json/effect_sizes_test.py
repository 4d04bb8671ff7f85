#!/usr/bin/env python3
"""--json runs against R: the effect sizes on R's data sets (the call that gives each reference
number beside it, R 4.2 with effectsize 0.8.3 and rstatix 0.7), a p below the report's last digit
kept, a refused run, and standard output that holds the JSON document only.

Usage: effect_sizes_test.py VELTRUM EXAMPLES_DIR
"""
import json
import math
import os
import subprocess
import sys
import tempfile

veltrum, examples = sys.argv[1:3]
work = tempfile.mkdtemp()
env = dict(os.environ, VELTRUM_DRIVE_C=os.path.join(work, "C"), SOURCE_DATE_EPOCH="1796634300")
failures = []


def run(args):
    out = subprocess.run([veltrum, "--json", "-"] + args, env=env, capture_output=True)
    return out.returncode, out.stdout.decode("utf-8"), out.stderr.decode("utf-8", "replace")


def data(name):
    return os.path.join(examples, name)


TG = ["--data", data("toothgrowth.dat"), "U", "--group-var", "supp", "--target", "len", "--groups", "1,2"]
PG = ["--data", data("plantgrowth.dat"), "U", "--group-var", "group", "--target", "weight", "--groups", "3,1"]
CO = ["--data", data("asthma.dat"), "C", "--group-var", "Sequenz", "--periods", "PEF1,PEF2", "--groups", "1,2"]
# In R: tg <- ToothGrowth; pg <- PlantGrowth; pef1 <- c(310, 310, 370, 410, 250, 380, 330, 370,
# 310, 380, 290, 260, 90); pef2 <- c(270, 260, 300, 390, 210, 350, 365, 385, 400, 410, 320, 340,
# 220), the asthma cross-over of examples/make_examples.R (group 1 = units 1:7).
# (arguments, effect size, analysis, value, 95 % interval or None)
EFFECTS = [
    # rank_biserial(tg$len[tg$supp == "OJ"], tg$len[tg$supp == "VC"])
    (TG, "rank_biserial", None, 0.27888888888888891, (-0.00812187915862957, 0.52344686737603008)),
    # vd_a(tg$len[tg$supp == "OJ"], tg$len[tg$supp == "VC"])$p_superiority
    (TG, "vargha_delaney_a", None, 0.639444444444444, None),
    # rstatix::wilcox_effsize(tg, len ~ supp)$effsize (|r|; OJ tends higher, so positive)
    (TG, "r_z", None, 0.239630203408666, None),
    # rank_biserial(pg$weight[pg$group == "trt2"], pg$weight[pg$group == "ctrl"])
    (PG, "rank_biserial", None, 0.5, (0.030738729305766, 0.788655074576659)),
    # vd_a(pg$weight[pg$group == "trt2"], pg$weight[pg$group == "ctrl"])$p_superiority
    (PG, "vargha_delaney_a", None, 0.75, None),
    # wilcox_effsize(droplevels(subset(pg, group != "trt1")), weight ~ group)$effsize
    (PG, "r_z", None, 0.422577127364258, None),
    # rank_epsilon_squared(count ~ spray, data = InsectSprays)
    (["--data", data("insectsprays.dat"), "K", "--group-var", "spray", "--target", "count"], "epsilon_squared", None,
     0.770300628484105, None),
    # kruskal_effsize(InsectSprays, count ~ spray)$effsize
    (["--data", data("insectsprays.dat"), "K", "--group-var", "spray", "--target", "count"], "eta_squared_h", None,
     0.752899160945022, None),
    # aq <- na.omit(airquality[, c("Ozone", "Month")]); rank_epsilon_squared(Ozone ~ Month, data = aq)
    (["--data", data("airquality.dat"), "K", "--group-var", "Month", "--target", "Ozone"], "epsilon_squared", None,
     0.254491967879278, None),
    # kruskal_effsize(aq, Ozone ~ Month)$effsize
    (["--data", data("airquality.dat"), "K", "--group-var", "Month", "--target", "Ozone"], "eta_squared_h", None,
     0.227626813568621, None),
    # rank_epsilon_squared(weight ~ Diet, data = ChickWeight)
    (["--data", data("chickweight.dat"), "K", "--group-var", "Diet", "--target", "weight"], "epsilon_squared", None,
     0.0423742414214556, None),
    # kruskal_effsize(as.data.frame(ChickWeight), weight ~ Diet)$effsize
    (["--data", data("chickweight.dat"), "K", "--group-var", "Diet", "--target", "weight"], "eta_squared_h", None,
     0.037369228745958, None),
    # rank_biserial(sleep$extra[1:10] - sleep$extra[11:20])
    (["--data", data("sleep.dat"), "W", "--vars", "drug1,drug2"], "matched_rank_biserial", None, -1, (-1, -1)),
    # rank_biserial(attitude$rating - attitude$complaints)
    (["--data", data("attitude.dat"), "W", "--vars", "rating,complaints"], "matched_rank_biserial", None,
     -0.312169312169312, (-0.637878332452704, 0.108268030764635)),
    # rank_biserial(attitude$learning - attitude$raises)
    (["--data", data("attitude.dat"), "W", "--vars", "learning,raises"], "matched_rank_biserial", None,
     -0.744827586206896, (-0.880497975420311, -0.496380920401422)),
    # kendalls_w(RoundingTimes), the matrix of examples/make_examples.R (= friedman.test()$statistic / 44)
    (["--data", data("roundingtimes.dat"), "F", "--targets", "RoundOut,NarrowAngle,WideAngle"], "kendalls_w", None,
     0.253246753246753, None),
    # kendalls_w(as.matrix(attitude))
    (["--data", data("attitude.dat"), "F", "--targets", "1,2,3,4,5,6,7"], "kendalls_w", None, 0.582640144665461, None),
    # phi(table(tg$supp, tg$len >= median(tg$len)), adjust = FALSE)
    (["--data", data("toothgrowth.dat"), "E", "--group-var", "supp", "--target", "len", "--groups", "1,2"], "phi",
     None, 0.333333333333333, None),
    # cohens_g(matrix(c(0, 19, 31, 0), 2))
    (["H", "--n1", "31", "--n2", "19"], "cohens_g", None, 0.12, None),
    # cohens_g(matrix(c(1, 0, 9, 0), 2)): 9 pairs drug1 < drug2, 1 equal, none above
    (["--data", data("sleep.dat"), "V", "--vars", "drug1,drug2"], "cohens_g", None, 0.5, None),
    # cohens_w(c(30, 20, 10), p = c(0.5, 0.3, 0.2))
    (["A", "--freq", "30,20,10", "--prob", "0.5,0.3,0.2"], "cohens_w", None, 0.0962250448649376, None),
    # cohens_w(c(10, 20, 30))
    (["G", "--freq", "10,20,30"], "cohens_w", None, 0.408248290463863, None),
    # rank_biserial((pef1 + pef2)[1:7], (pef1 + pef2)[8:13]), and so on
    (CO, "rank_biserial", "carry_over", -0.0952380952380953, (-0.6344617481363056, 0.5063386221550963)),
    (CO, "rank_biserial", "treatment_effects", 0.857142857142857, (0.557468956172351, 0.959199304140643)),
    (CO, "rank_biserial", "first_period", 0.333333333333333, (-0.297475508864059, 0.761550020873238)),
    # vd_a((pef1 - pef2)[1:7], (pef1 - pef2)[8:13])$p_superiority
    (CO, "vargha_delaney_a", "treatment_effects", 0.928571428571429, None),
    # wilcox_effsize(data.frame(y = v, g = factor(rep(1:2, c(7, 6)))), y ~ g)$effsize, v the sums (carry-over:
    # group 1 tends lower, so negative), the differences, period 1
    (CO, "r_z", "carry_over", -0.0792428851750328, None),
    (CO, "r_z", "treatment_effects", 0.71515337987611, None),
    (CO, "r_z", "first_period", 0.279664603592935, None),
]

cache = {}
for args, name, analysis, value, ci in EFFECTS:
    key = tuple(args)
    if key not in cache:
        cache[key] = json.loads(run(args)[1])
    found = [e for e in cache[key]["effect_sizes"] if e["name"] == name and e.get("analysis") == analysis]
    where = f"{' '.join(os.path.basename(a) for a in args)}: {name} {analysis or ''}"
    if len(found) != 1:
        failures.append(f"{where}: {len(found)} found")
        continue
    e = found[0]
    if not abs(e["value"] - value) <= 1e-6:
        failures.append(f"{where}: {e['value']} != R's {value}")
    if ci is None:
        continue
    if not e["ci"] or e["ci"]["level"] != 0.95:
        failures.append(f"{where}: no 95 % interval")
    elif not (abs(e["ci"]["lower"] - ci[0]) <= 1e-6 and abs(e["ci"]["upper"] - ci[1]) <= 1e-6):
        failures.append(f"{where}: interval {e['ci']} != R's {ci}")

# Two groups of 30 apart: the exact p, 2 / choose(60, 30) = 1.69112338921448e-17
# (wilcox.test(101:130, 1:30, exact = TRUE)$p.value), is far below the report's 0.000000.
apart = os.path.join(work, "apart.dat")
with open(apart, "w", newline="") as f:
    f.write("x;N;3;0 g;N;1;0\r\n" + "".join(f"{x:4d} {g}\r\n" for g, xs in ((1, range(101, 131)),
                                                                           (2, range(1, 31))) for x in xs))
status, out, err = run(["--data", apart, "U", "--group-var", "g", "--target", "x", "--groups", "1,2"])
p = json.loads(out)["results"]["p_u"]
if status != 0 or p["method"] != "exact" or not math.isclose(p["value"], 1.69112338921448e-17, rel_tol=1e-5):
    failures.append(f"small p: exit {status}, {p}")
# The Z line: wilcox.test(101:130, 1:30, exact = FALSE, correct = FALSE)$p.value = 2.87194906632033e-11
p = json.loads(out)["results"]["p_z"]
if not math.isclose(p["value"], 2.87194906632033e-11, rel_tol=1e-4):
    failures.append(f"small p of Z: {p}")

# All values equal: the median table has an empty column, so chi-square and phi are not defined
# (null and left out), while Fisher's p of the only table with these margins is 1.
equal = os.path.join(work, "equal.dat")
with open(equal, "w", newline="") as f:
    f.write("x;N;3;0 g;N;1;0\r\n" + "".join(f"   5 {g}\r\n" for g in (1, 1, 1, 2, 2, 2)))
status, out, err = run(["--data", equal, "E", "--group-var", "g", "--target", "x", "--groups", "1,2"])
doc = json.loads(out)
r = doc["results"]
if status != 0 or r["chi_square"] is not None or doc["effect_sizes"] != [] or r["p_fisher_two_sided"]["value"] != 1:
    failures.append(f"median test of equal values: exit {status}, {doc}")

# A CSV table with text groups: the labels the command line numbered name the groups in "input".
plants = os.path.join(work, "plants.csv")
with open(plants, "w") as f:
    f.write("weight,group\n4.17,ctrl\n5.58,ctrl\n5.18,ctrl\n4.81,trt1\n4.17,trt1\n4.41,trt1\n")
status, out, err = run(["--data", plants, "U", "--group-var", "group", "--target", "weight", "--groups", "trt1,ctrl"])
groups = json.loads(out)["input"]["groups"]
if status != 0 or groups != [{"number": 2, "n": 3, "label": "trt1"}, {"number": 1, "n": 3, "label": "ctrl"}]:
    failures.append(f"CSV labels: exit {status}, {groups}")

# A refused run: the message box in the document, "ok": false, the exit status as without --json.
status, out, err = run(["H", "--n1", "0", "--n2", "0"])
doc = json.loads(out)
if status != 1 or doc["ok"] is not False or doc["messages"] != [
        {"caption": " Vorsicht!", "text": "Bitte überprüfen Sie die Eingabe!"}]:
    failures.append(f"refused run: exit {status}, {doc}")
# A message from the command line itself is in the document too.
status, out, err = run(["H", "--n2", "7"])
doc = json.loads(out)
if status != 1 or doc["ok"] or doc["messages"][-1]["text"] != "the dialog needs a value for --n1":
    failures.append(f"command-line message: exit {status}, {doc['messages']}")

# Standard output holds the document and nothing else (json.loads takes no trailing text); the
# report is not shown there.
for args in (TG, ["M"], ["--data", data("toothgrowth.dat"), "U", "--group-var", "supp", "--target", "len",
                         "--groups", "1,1"], ["--data", b"/tmp/\xff.dat", "U", "--groups", "1,2"]):
    status, out, err = run(args)
    try:
        doc = json.loads(out)
    except json.JSONDecodeError as e:
        failures.append(f"{args[-1]}: standard output is not one JSON document: {e}")
        continue
    if doc["ok"] != (status == 0):
        failures.append(f"{args}: ok {doc['ok']} with exit status {status}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"{len(EFFECTS)} effect sizes agree with R; small p, refusal and standard output as expected")
