"""The page served on the loopback interface and Debian's Chromium driving it, for the web test and
the web benchmark.  Runs under Debian's own Python (python3-selenium)."""
import functools
import http.server
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def serve(site, fresh=False):
    """Serves SITE on a free port; gives the server and the page's address.  With `fresh` every
    load fetches the files anew (no cache)."""

    class Quiet(http.server.SimpleHTTPRequestHandler):
        extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map, **{".wasm": "application/wasm"})

        def log_message(self, *args):
            pass

        def end_headers(self):
            if fresh:
                self.send_header("Cache-Control", "no-store")
            super().end_headers()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_port}/index.html"


def chromium():
    """Headless Chromium without its own network calls (root needs --no-sandbox)."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-default-apps", "--disable-extensions", "--metrics-recording-only", "--mute-audio",
                 "--disable-features=Translate,OptimizationHints,MediaRouter,AutofillServerCommunication",
                 "--window-size=1400,1000", "--force-device-scale-factor=1"]:
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service(executable_path="/usr/bin/chromedriver"), options=options)
    driver.set_script_timeout(120)
    return driver


def session_actions(script):
    """The actions of a --script text (veltrum --print-script) as window.veltrum.session takes them."""
    actions = []
    for line in script.splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        verb, *rest = line.split(" ", 2)
        action = {"verb": verb}
        if verb == "answer":
            action["text"] = rest[0]
        elif rest:
            action["id"] = int(rest[0])
            if verb in ("pick", "select", "unselect"):
                action["index"] = int(rest[1])
            elif len(rest) > 1 or verb in ("type", "choose"):
                action["text"] = rest[1] if len(rest) > 1 else ""
        actions.append(action)
    return actions
