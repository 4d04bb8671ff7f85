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
# The browser compiles a module's functions quickly first and optimises the busy ones while they
# run: the first runs of K 100x100 take up to several times as long, so WARM runs come before the
# RUNS measured (the very first is said too).
LOADS, WARM, RUNS = 7, 10, 21


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
window.veltrum[request.kind](request).then((r) => {
  const page = performance.now() - t;
  const rows = r.json.results.comparisons.length;  // the JSON document parsed
  done({ok: !!r.report && rows === 4950, page, parsed: performance.now() - t, worker: r.millis});
});
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
        page, parsed, inside = [], [], []
        for _ in range(WARM + RUNS):
            r = driver.execute_async_script(RUN, request)
            assert r["ok"], r
            page.append(r["page"])
            parsed.append(r["parsed"])
            inside.append(r["worker"])
        first = page[0]
        page, parsed, inside = page[WARM:], parsed[WARM:], inside[WARM:]
        print(f"K 100x100, {name}: median {median(page):.1f} ms in the page ({median(inside):.1f} ms in the "
              f"worker; {median(parsed):.1f} ms with the JSON document parsed), fastest {min(page):.1f} ms, "
              f"{RUNS} runs after {WARM}; the first of all {first:.1f} ms")
finally:
    driver.quit()
    server.shutdown()
