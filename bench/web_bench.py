#!/usr/bin/python3
"""The page's size and speed in Debian's headless Chromium (./dev web --bench).

Usage: web_bench.py SITE VELTRUM

Says the size of the WebAssembly; the time from opening the page to the first report (H through
window.veltrum.run), over fresh page loads; and K with 100 groups of 100 values (the data of
bench/cases.tsv "K 100x100") in the page: through window.veltrum.run as seen by the page (the
worker's round trip) and inside the worker (the command line's run alone), and as a dialog session
replayed from the actions the command line would play (veltrum --print-script).
"""
import os
import statistics
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "tests", "web")]
import browser  # noqa: E402  the page served and Chromium (tests/web/browser.py)
from vs_r import groups_file  # noqa: E402  the generator of bench/cases.tsv

site, veltrum = (os.path.abspath(p) for p in sys.argv[1:3])
LOADS, RUNS = 7, 21


server, url = browser.serve(site, fresh=True)  # every load fetches and compiles anew
driver = browser.chromium()

FIRST = """
const done = arguments[arguments.length - 1];
window.veltrum.run({letter: 'H', options: ['--n1', '0', '--n2', '7']})
  .then((r) => done({ok: r.ok, at: performance.now()}));
"""
RUN = """
const [request, done] = [arguments[0], arguments[arguments.length - 1]];
const t = performance.now();
window.veltrum[request.kind](request).then((r) => done({
  ok: !!r.report, page: performance.now() - t, worker: r.millis}));
"""


def median(xs):
    return statistics.median(xs)


try:
    wasm = os.path.getsize(os.path.join(site, "veltrum.wasm"))
    print(f"veltrum.wasm: {wasm} bytes ({wasm / 2**20:.2f} MB); veltrum.js: "
          f"{os.path.getsize(os.path.join(site, 'veltrum.js'))} bytes")

    firsts = []
    for _ in range(LOADS):
        driver.get("about:blank")
        driver.get(url)
        r = driver.execute_async_script(FIRST)
        assert r["ok"], r
        firsts.append(r["at"])
    print(f"first report after opening the page: first load {firsts[0]:.0f} ms, median of {LOADS} loads "
          f"{median(firsts):.0f} ms, slowest {max(firsts):.0f} ms")

    data, _ = groups_file(100, 100, 12)
    run = {"kind": "run", "letter": "K", "name": "k100.dat", "data": data,
           "options": ["--group-var", "g", "--target", "x", "--groups", "all"]}
    with tempfile.TemporaryDirectory() as work:
        open(os.path.join(work, "k100.dat"), "w").write(data)
        script = subprocess.run([veltrum, "--print-script", "--data", "k100.dat", "K"] + run["options"], cwd=work,
                                capture_output=True, text=True, check=True).stdout
    session = {"kind": "session", "letter": "K", "name": "k100.dat", "data": data, "actions": browser.session_actions(script)}
    for name, request in [("window.veltrum.run (command line, JSON document)", run),
                          ("dialog session replayed", session)]:
        page, inside = [], []
        for _ in range(RUNS):
            r = driver.execute_async_script(RUN, request)
            assert r["ok"], r
            page.append(r["page"])
            inside.append(r["worker"])
        print(f"K 100x100, {name}: median {median(page):.1f} ms in the page ({median(inside):.1f} ms in the "
              f"worker), fastest {min(page):.1f} ms, {RUNS} runs")
finally:
    driver.quit()
    server.shutdown()
