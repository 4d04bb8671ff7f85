#!/usr/bin/python3
"""The page in Debian's headless Chromium against the command line.

Usage: web_test.py SITE VELTRUM EXAMPLES ARTEFACTS

Every letter run through window.veltrum.run gives the command line's report byte for byte (the
date line masked) and its JSON document (numbers within a relative 1e-12: long double is software
arithmetic in WebAssembly).  K, W and O are then worked through the drawn dialogs as a user would:
picks, typing, a tick, a refused input, a message box, "&Rechnen"; each dialog's screenshot is
kept in ARTEFACTS.  Runs under Debian's own Python, which has python3-selenium.
"""
import base64
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

import browser
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

site, veltrum, examples, artefacts = (os.path.abspath(p) for p in sys.argv[1:5])
os.makedirs(artefacts, exist_ok=True)
failures = []


def check(name, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + name + ("" if ok else ": " + detail))
    if not ok:
        failures.append(name)


# Each letter once, on the example data (a CSV table for U, the host's data files elsewhere).
CASES = [
    ("H", None, ["--n1", "0", "--n2", "7"]),
    ("A", None, ["--freq", "30,20,10", "--prob", "0.5,0.3,0.2"]),
    ("G", None, ["--freq", "10,20,30"]),
    ("B", None, ["--keyword", "Münze", "--n", "25", "--k", "7", "--theta", "0.4"]),
    ("U", "toothgrowth.csv", ["--group-var", "supp", "--target", "len", "--groups", "OJ,VC"]),
    ("K", "airquality.dat", ["--group-var", "Month", "--target", "Ozone", "--groups", "all"]),
    ("N", "mtcars.dat", ["--group-var", "trans", "--target", "cyl", "--groups", "1,2"]),
    ("T", "insectsprays.dat", ["--group-var", "spray", "--target", "count", "--groups", "all"]),
    ("E", "toothgrowth.dat", ["--group-var", "supp", "--target", "len", "--groups", "1,2"]),
    ("S", "plantgrowth.dat", ["--group-var", "group", "--target", "weight", "--groups", "2,3"]),
    ("F", "attitude.dat", ["--targets", "1,2,3,4,5,6,7", "--list"]),
    ("O", None, ["--rows", "8", "--cols", "3", "--table", "1,1,0;1,1,1;0,1,0;1,1,0;0,0,0;1,1,1;1,1,0;1,0,0"]),
    ("W", "sleep.dat", ["--vars", "drug1,drug2"]),
    ("V", "sleep.dat", ["--vars", "2,3"]),
    ("C", "asthma.dat", ["--group-var", "Sequenz", "--periods", "PEF1,PEF2", "--groups", "1,2"]),
    ("M", None, []),
]

TABLE_RUN = ["K", "--group-var", "g", "--target", "x", "--groups", "all"]
TABLES = [
    ("quoted.csv", b'"g","x"\r\n"1", 2.5\r\n2 ,"3"\n\n1,"4"\n2,  5  \n1,6\n2,"7"'),
    ("doubled.csv", b'g,"x ""cm"""\n1,1\n2,2\n1,3\n2,4\n'),
    ("semicolon.csv", b"g;x\n1;1,5\n2;2,5\n1;3,5\n2;4,5\n"),
    ("tabs.tsv", b"g\tx\n1\t 1\n2\t2 \n1\t\t\n2\t4\n1\t5\n"),
    ("labels.csv", b'g,x\nA,1\n"B",2\n A ,3\n"B ",4\nA,5\nB,6\n'),
    ("cr.csv", b"g,x\r1,1\r2,2\r1,3\r2,4\r"),
    ("open.csv", b'g,x\n1,"2\n2,3\n'),
    ("after.csv", b'g,x\n1,"2"3\n2,3\n'),
    ("inner.csv", b'g,x\n1,2"3\n2,3\n'),
    ("spaced-quote.csv", b'g,x\n1,"2" "\n2,3\n'),
]

DATE = re.compile(rb"\d\d\.\d\d\.\d{4} \(\d\d:\d\d\)")


def masked(report):
    return DATE.sub(b"DD.MM.YYYY (hh:mm)", report)


def native(letter, data, options):
    """The command line's report bytes and JSON document, run where the data file lies."""
    with tempfile.TemporaryDirectory() as work:
        if data:
            shutil.copy(os.path.join(examples, data), work)
        env = dict(os.environ, VELTRUM_DRIVE_C=os.path.join(work, "C"))
        args = [veltrum, "--json", "-", "--report", os.path.join(work, "report")]
        args += (["--data", data] if data else []) + [letter] + options
        out = subprocess.run(args, cwd=work, env=env, capture_output=True)
        report = open(os.path.join(work, "report"), "rb").read() if os.path.exists(os.path.join(work, "report")) else b""
        return out.returncode, report, json.loads(out.stdout)


def same_json(a, b, where="$"):
    """Where two documents differ (numbers within a relative 1e-12), or None."""
    if isinstance(a, float) or isinstance(b, float):
        if isinstance(a, (int, float)) and isinstance(b, (int, float)) and not isinstance(a, bool):
            if a == b or math.isclose(a, b, rel_tol=1e-12, abs_tol=1e-300):
                return None
        return f"{where}: {a!r} != {b!r}"
    if type(a) is not type(b):
        return f"{where}: {a!r} != {b!r}"
    if isinstance(a, dict):
        if sorted(a) != sorted(b):
            return f"{where}: keys {sorted(a)} != {sorted(b)}"
        for k in a:
            d = same_json(a[k], b[k], f"{where}.{k}")
            if d:
                return d
        return None
    if isinstance(a, list):
        if len(a) != len(b):
            return f"{where}: {len(a)} != {len(b)} items"
        for i, (x, y) in enumerate(zip(a, b)):
            d = same_json(x, y, f"{where}[{i}]")
            if d:
                return d
        return None
    return None if a == b else f"{where}: {a!r} != {b!r}"


server, url = browser.serve(site)
driver = browser.chromium()

RUN = """
const [request, done] = [arguments[0], arguments[arguments.length - 1]];
const bytes = Uint8Array.from(atob(request.data64 || ''), (c) => c.charCodeAt(0));
if (request.data64 !== undefined) request.data = bytes.buffer;
delete request.data64;
window.veltrum.run(request).then((r) => {
  let s = '';
  for (const b of (r.reportBytes || [])) s += String.fromCharCode(b);
  done({ok: r.ok, status: r.status, report: btoa(s), json: r.json, messages: r.messages, text: r.report});
}, (e) => done({error: String(e)}));
"""

SESSION = RUN.replace("window.veltrum.run", "window.veltrum.session")

try:
    driver.get(url)
    WebDriverWait(driver, 30).until(lambda d: d.execute_script("return document.body.dataset.ready === 'true'"))
    letters = driver.execute_script("return Array.from(document.querySelectorAll('#letter option')).map(o => o.value)")
    check("the page offers the sixteen letters", len([x for x in letters if x]) == 16, str(letters))

    # ---- every letter through window.veltrum.run against the command line -----------------------
    for letter, data, opts in CASES:
        status, report, document = native(letter, data, opts)
        request = {"letter": letter, "options": opts}
        if data:
            request.update(name=data, data64=base64.b64encode(open(os.path.join(examples, data), "rb").read()).decode())
        page = driver.execute_async_script(RUN, request)
        if "error" in page:
            check(f"{letter} runs in the page", False, page["error"])
            continue
        page_report = base64.b64decode(page["report"])
        check(f"{letter} exit status {status}", page["ok"] == (status == 0) and page["status"] == status,
              f"{page['status']} {page['messages']}")
        check(f"{letter} report byte for byte", len(report) > 0 and masked(page_report) == masked(report),
              f"{len(page_report)} against {len(report)} bytes")
        check(f"{letter} report shown as UTF-8", page["text"] == page_report.decode("cp1252").replace("\r\n", "\n"))
        diff = same_json(page["json"], document)
        check(f"{letter} JSON document", diff is None, str(diff))
        # The same options as a dialog session replayed from the actions they stand for.
        with tempfile.TemporaryDirectory() as work:
            if data:
                shutil.copy(os.path.join(examples, data), work)
            script = subprocess.run([veltrum, "--print-script"] + (["--data", data] if data else []) + [letter] + opts,
                                    cwd=work, capture_output=True, text=True).stdout
        request.update(actions=browser.session_actions(script))
        session = driver.execute_async_script(SESSION, request)
        check(f"{letter} dialog session gives the same report and JSON", masked(base64.b64decode(
            session["report"])) == masked(report) and same_json(session["json"], document) is None,
              str(session.get("error")) + " " + str(same_json(session["json"], document)))

    # Tables that try the reader (the page's own build of libcsv's calls, web/csv/): quotes, blanks,
    # line ends, separators and faults give the command line's report or message.
    for name, table in TABLES:
        with tempfile.TemporaryDirectory() as work:
            open(os.path.join(work, name), "wb").write(table)
            args = [veltrum, "--report", os.path.join(work, "report"), "--quiet", "--data", name] + TABLE_RUN
            out = subprocess.run(args, cwd=work, env=dict(os.environ, VELTRUM_DRIVE_C=os.path.join(work, "C")),
                                 capture_output=True)
            report = open(os.path.join(work, "report"), "rb").read() if out.returncode == 0 else b""
        page = driver.execute_async_script(RUN, {"letter": TABLE_RUN[0], "name": name, "options": TABLE_RUN[1:],
                                                 "data64": base64.b64encode(table).decode()})
        check(f"table {name}: status, messages and report as on the command line",
              page["status"] == out.returncode and page["messages"] == out.stderr.decode().splitlines() and
              masked(base64.b64decode(page["report"])) == masked(report),
              f"{page['status']} {page['messages']} against {out.returncode} {out.stderr.decode().splitlines()}")

    # ---- whole sessions through the drawn dialogs ------------------------------------------------
    def replays():
        return int(driver.execute_script("return Number(document.body.dataset.replays || 0)"))

    def control(cid):
        return driver.find_element(By.CSS_SELECTOR, f'.dialog [data-control-id="{cid}"]')

    def message():
        """The open message box: caption, text and buttons, or None."""
        boxes = driver.find_elements(By.CSS_SELECTOR, "#modal .message-box")
        if not boxes:
            return None
        box = boxes[0]
        return (box.find_element(By.CSS_SELECTOR, ".caption").get_attribute("textContent"),
                box.find_element(By.CSS_SELECTOR, ".text").get_attribute("textContent"),
                [b.text for b in box.find_elements(By.TAG_NAME, "button")], box)

    def answer(label):
        next(b for b in message()[3].find_elements(By.TAG_NAME, "button") if b.text == label).click()

    def acknowledge():
        """OK on a message box: the dialog behind it comes back without another replay."""
        answer("OK")
        WebDriverWait(driver, 30).until(lambda d: message() is None and d.execute_script(
            "return document.body.dataset.idle !== undefined"))

    def act(fn):
        """Does something that replays the session and waits for it."""
        before = replays()
        driver.execute_script("delete document.body.dataset.idle")
        fn()
        WebDriverWait(driver, 30).until(lambda d: replays() > before and (
            message() is not None or d.execute_script("return document.body.dataset.idle !== undefined")))

    def typed(cid, text, enter=False):
        field = control(cid)
        field.clear()
        field.send_keys(text)
        if enter:
            act(lambda: field.send_keys(Keys.ENTER))
        else:
            field.send_keys(Keys.TAB)

    def start(letter, data):
        act(lambda: driver.execute_script(
            "document.getElementById('letter').value = arguments[0];"
            "window.veltrum.useData(arguments[1], Uint8Array.from(atob(arguments[2]), c => c.charCodeAt(0)).buffer);"
            "document.getElementById('letter').dispatchEvent(new Event('change'));",
            letter, data, base64.b64encode(open(os.path.join(examples, data), "rb").read()).decode() if data else ""))

    def shown_report():
        return driver.find_element(By.ID, "report").get_attribute("textContent")

    def dialog_matches_template(name):
        """Every control of the template drawn at its place, carrying its id."""
        tmpl = driver.execute_async_script(
            "window.veltrum.templates().then(t => arguments[arguments.length - 1](t.dialogs[arguments[0]]))", name)
        origin = driver.find_element(By.CSS_SELECTOR, ".dialog .client").rect
        wrong = []
        for c in tmpl["controls"]:
            if c["id"] < 0:
                continue
            r = control(c["id"]).rect
            x, y = round(c["rect"][0] * 6 / 4), round(c["rect"][1] * 13 / 8)
            if abs(r["x"] - origin["x"] - x) > 1 or abs(r["y"] - origin["y"] - y) > 1:
                wrong.append(c["id"])
        return wrong

    def native_text(letter, data, opts):
        return masked(native(letter, data, opts)[1]).decode("cp1252").replace("\r\n", "\n")

    # K: a message box (Rechnen without a group variable), a refused group number, then picks,
    # the groups one by one with Enter, the listing ticked, Rechnen.
    start("K", "airquality.dat")
    check("K dialog drawn from its template", dialog_matches_template("KRUSKAL") == [], "")
    Select(control(401)).select_by_visible_text("Ozone")
    act(lambda: control(1).click())
    box = message()
    check("K message box without a group variable",
          box is not None and box[:3] == (" Vorsicht!", "Bitte Gruppenvariable angeben!", ["OK"]), str(box and box[:3]))
    acknowledge()
    Select(control(201)).select_by_visible_text("Month")
    typed(403, "2", enter=True)
    typed(404, "x", enter=True)
    check("K a group 'x' refused: the field keeps it, no report", control(404).get_attribute("value") == "x" and
          control(406).text == "1. Gruppe :" and shown_report() == "", control(404).get_attribute("value"))
    typed(404, "5", enter=True)
    typed(404, "7", enter=True)
    act(lambda: control(407).find_element(By.TAG_NAME, "input").click())
    check("K listing ticked", control(407).find_element(By.TAG_NAME, "input").is_selected())
    driver.find_element(By.CSS_SELECTOR, ".dialog").screenshot(os.path.join(artefacts, "K_dialog.png"))
    act(lambda: control(1).click())
    expected = native_text("K", "airquality.dat", ["--group-var", "Month", "--target", "Ozone", "--groups", "5,7", "--list"])
    check("K picture beside the report (web/plots.js)",
          len(driver.find_elements(By.CSS_SELECTOR, "#plot svg")) == 1)
    driver.save_screenshot(os.path.join(artefacts, "K_page.png"))
    downloaded = base64.b64decode(driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const link = document.querySelector('#downloads a[download="Ausgabe.txt"]');
        fetch(link.href).then((r) => r.arrayBuffer()).then((b) => {
          let s = '';
          for (const x of new Uint8Array(b)) s += String.fromCharCode(x);
          done(btoa(s));
        });"""))
    check("K download is the report file (Windows-1252, CR LF)", masked(downloaded) == masked(native(
        "K", "airquality.dat", ["--group-var", "Month", "--target", "Ozone", "--groups", "5,7", "--list"])[1]))
    check("K session report equals the command line's", DATE.sub(b"DD.MM.YYYY (hh:mm)", shown_report().encode(
        "cp1252")).decode("cp1252") == expected, shown_report()[:300])

    # W: a group number without a group variable asks Yes/No; No keeps the dialog, Yes computes.
    start("W", "sleep.dat")
    check("W dialog drawn from its template", dialog_matches_template("WMP") == [], "")
    Select(control(203)).select_by_visible_text("drug1")
    Select(control(211)).select_by_visible_text("drug2")
    typed(202, "1")
    act(lambda: control(210).find_element(By.TAG_NAME, "input").click())
    driver.find_element(By.CSS_SELECTOR, ".dialog").screenshot(os.path.join(artefacts, "W_dialog.png"))
    act(lambda: control(1).click())
    box = message()
    check("W Yes/No question", box is not None and box[1].endswith("Soll die Gruppennummer '1' ignoriert werden?")
          and box[2] == ["Ja", "Nein"], str(box and box[:3]))
    act(lambda: answer("Nein"))
    check("W No keeps the dialog without a report", shown_report() == "" and message() is None and
          len(driver.find_elements(By.CSS_SELECTOR, ".dialog")) == 1)
    act(lambda: control(1).click())
    act(lambda: answer("Ja"))
    expected = native_text("W", "sleep.dat", ["--vars", "drug1,drug2", "--list"])
    check("W session report equals the command line's", DATE.sub(b"DD.MM.YYYY (hh:mm)", shown_report().encode(
        "cp1252")).decode("cp1252") == expected, shown_report()[:300])

    # O: eleven columns are refused with a message box, a 5 in the table is refused, then 2 x 3.
    table = [[1, 1, 0], [1, 1, 1], [0, 1, 0], [1, 1, 0]]
    start("O", None)
    check("O dialog drawn from its template", dialog_matches_template("COCHRAN") == [], "")
    typed(1304, "4")
    typed(1305, "11")
    typed(1308, "1", enter=True)
    box = message()
    check("O message box for eleven columns",
          box is not None and box[1] == "Bitte 2 bis 10 Spalten (Bedingungen) angeben!", str(box and box[:3]))
    acknowledge()
    typed(1305, "3")
    typed(1308, "5", enter=True)
    check("O a 5 refused: the field keeps it", control(1308).get_attribute("value") == "5")
    first = True
    for row in table:
        for v in row:
            typed(1308, str(v), enter=True)
            if first:
                driver.find_element(By.CSS_SELECTOR, ".dialog").screenshot(os.path.join(artefacts, "O_dialog.png"))
                check("O prompt moves on", control(1307).text == "1. Zeile, 2. Spalte :", control(1307).text)
                first = False
    act(lambda: control(1).click())
    expected = native_text("O", None, ["--rows", "4", "--cols", "3", "--table", ";".join(
        ",".join(map(str, r)) for r in table)])
    check("O session report equals the command line's", DATE.sub(b"DD.MM.YYYY (hh:mm)", shown_report().encode(
        "cp1252")).decode("cp1252") == expected, shown_report()[:300])
    for name in ("K", "W", "O"):
        path = os.path.join(artefacts, f"{name}_dialog.png")
        check(f"{name} screenshot kept", os.path.exists(path) and os.path.getsize(path) > 1000, path)
    origin = url.rsplit("/", 1)[0] + "/"
    fetched = driver.execute_script("return performance.getEntriesByType('resource').map(e => e.name)")
    check("nothing fetched but the page's own files",
          all(f.startswith((origin, "blob:", "data:")) for f in fetched), str(fetched))
    errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE" and "plots.js" not in e["message"]]
    check("no errors in the browser's console", errors == [], str(errors))
finally:
    driver.quit()
    server.shutdown()

print(f"{len(failures)} failed" if failures else "all web checks passed")
sys.exit(1 if failures else 0)
