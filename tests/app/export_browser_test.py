#!/usr/bin/python3
# The HTML export opened in a real headless Chromium, driven over its
# DevTools protocol: the index and a node page load without console errors,
# a header click sorts, the filter hides rows, the pictures are loaded, and a
# node named with markup shows it as text.
# Usage: export_browser_test.py VANTREL_CLI COLLECT_DATA STORE_DATA [SCREENSHOT_DIR]
# Exits 77 (skipped) when Chromium or the websocket module is missing.
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.request

try:
    import websocket
except ImportError:
    print("skipped: python3-websocket is not installed")
    sys.exit(77)

CHROMIUM = shutil.which("chromium")
if not CHROMIUM:
    print("skipped: chromium is not installed")
    sys.exit(77)

cli, collect_data, store_data = sys.argv[1:4]
screenshots = pathlib.Path(sys.argv[4]) if len(sys.argv) > 4 else None
MARKUP = "<img src=x onerror=alert(1)> & \"Q's\""
NODES = [("WS-7", "10.213.9.7", "Workstation", f"{store_data}/workstation.json"),
         ("LAB-2", "10.213.9.2", "LAB-2", f"{collect_data}/desktop_2025.json"),
         (MARKUP, "10.213.9.3", MARKUP, f"{collect_data}/laptop_2025.json")]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def run(*args):
    done = subprocess.run([cli, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("%s failed: %s" % (" ".join(args), done.stderr))


def make_site(work):
    home = work / "home"
    home.mkdir()
    (home / "vantrel.ini").write_bytes(b"admin\r\nsecret\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n")
    table = "".join("%s\r\n%s\r\n%s\r\nTrue\r\n\r\n\r\nFalse\r\n" % (n, a, d) for n, a, d, _ in NODES)
    (home / "lg.ini").write_bytes(table.encode())
    for name, _, _, profile in NODES:
        run("--home", str(home), "scan", "--node", name, "--profile", profile)
    site = work / "site"
    run("--home", str(home), "export", "--html", str(site))
    return site


class Browser:
    def __init__(self, work):
        self.process = subprocess.Popen(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--remote-debugging-port=0",
             "--user-data-dir=" + str(work / "profile"), "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, start_new_session=True)
        port = None
        for line in self.process.stderr:
            if "DevTools listening on ws://" in line:
                port = line.split("ws://")[1].split("/")[0].split(":")[1]
                break
        if port is None:
            sys.exit("chromium gave no DevTools port")
        pages = json.load(urllib.request.urlopen("http://127.0.0.1:%s/json/list" % port))
        page = next(p for p in pages if p["type"] == "page")
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=30)
        self.next_id = 0
        self.errors = []
        for domain in ("Page", "Runtime", "Log"):
            self.call(domain + ".enable")
        self.call("Emulation.setDeviceMetricsOverride", width=1280, height=900, deviceScaleFactor=1, mobile=False)

    def _event(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.exceptionThrown":
            self.errors.append(params["exceptionDetails"].get("text", "exception"))
        elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
            self.errors.append("console.%s" % params["type"])
        elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
            self.errors.append(params["entry"]["text"])
        return method

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    sys.exit("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._event(message)

    def open(self, url):
        self.call("Page.navigate", url=url)
        deadline = time.time() + 30
        while time.time() < deadline:
            if self._event(json.loads(self.socket.recv())) == "Page.loadEventFired":
                return
        sys.exit("%s did not load" % url)

    def eval(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            sys.exit("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def screenshot(self, file):
        import base64
        data = self.call("Page.captureScreenshot", format="png", captureBeyondViewport=True)["data"]
        file.write_bytes(base64.b64decode(data))

    def close(self):
        self.socket.close()
        # The browser's helper processes write into its profile after the
        # main one is gone: end the whole group before the folder is removed.
        import signal
        try:
            os.killpg(self.process.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        self.process.wait(10)
        for _ in range(100):
            try:
                os.killpg(self.process.pid, 0)
            except ProcessLookupError:
                break
            time.sleep(0.05)
        else:
            os.killpg(self.process.pid, signal.SIGKILL)


def names(browser):
    return browser.eval("[...document.querySelectorAll('#nodes tbody tr')].filter(r => !r.hidden)"
                        ".map(r => r.cells[1].textContent)")


def main():
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as temp:
        work = pathlib.Path(temp)
        site = make_site(work)
        browser = Browser(work)
        try:
            browser.open((site / "index.html").as_uri())
            check(sorted(names(browser)) == sorted(["Workstation", "LAB-2", MARKUP]), "the index lists the three nodes")
            check(browser.eval("document.querySelectorAll('img[src=\"x\"]').length") == 0,
                  "the markup node's name made no element")
            browser.eval("document.querySelector('th.sortable button').click()")
            ascending = names(browser)
            check(ascending == [MARKUP, "LAB-2", "Workstation"], "a click on Name sorts up: %r" % ascending)
            browser.eval("document.querySelector('th.sortable button').click()")
            check(names(browser) == ascending[::-1], "a second click sorts down")
            browser.eval("var f = document.getElementById('filter'); f.value = 'lab';"
                         "f.dispatchEvent(new Event('input'))")
            check(names(browser) == ["LAB-2"], "the filter hides the other rows")
            check(browser.eval("document.getElementById('count').textContent") == "1 of 3 nodes shown",
                  "the count says what the filter shows")
            widths = browser.eval("Promise.all([...document.querySelectorAll('td.thumb img')].map(i => i.decode()"
                                  ".then(() => i.naturalWidth, () => 0)))")
            check(widths == [160, 160, 160], "every thumbnail is loaded: %r" % widths)
            browser.eval("var f = document.getElementById('filter'); f.value = '';"
                         "f.dispatchEvent(new Event('input'))")
            if screenshots:
                browser.screenshot(screenshots / "export-index.png")

            link = browser.eval("[...document.querySelectorAll('#nodes tbody a')]"
                                ".find(a => a.textContent === %s).href" % json.dumps(MARKUP))
            browser.open(link)
            check(browser.eval("document.querySelector('h1').textContent") == MARKUP, "the node page's title is text")
            check(browser.eval("document.title") == MARKUP + " - Vantrel inventory", "the window title is text")
            width = browser.eval("(i => i.decode().then(() => i.naturalWidth, () => 0))(document.querySelector('figure img'))")
            check(width == 640, "the node's picture is loaded: %r" % width)
            check(browser.eval("document.querySelectorAll('ul.tree li').length") > 10, "the hardware tree is listed")
            check(browser.eval("document.querySelectorAll('img').length") == 1, "no markup reached the node page")
            if screenshots:
                browser.screenshot(screenshots / "export-node.png")
            check(browser.errors == [], "no console errors: %r" % browser.errors)
        finally:
            browser.close()
    if failures:
        sys.exit(1)
    print("ok")


main()
