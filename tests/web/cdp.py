"""A small client of Chromium's DevTools protocol for the page's tests: a headless Chromium on a
fresh profile, one page, its console and exceptions collected, JavaScript evaluated, input sent."""
import base64
import json
import os
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket


class Page:
    """One tab, driven through its own connection: its console and exceptions collected."""

    def __init__(self, ws_url):
        self.ws = websocket.create_connection(ws_url, timeout=30)
        self.next_id = 0
        self.console, self.errors = [], []
        self.call("Runtime.enable")
        self.call("Page.enable")
        self.call("Log.enable")

    def _event(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
            if params["type"] == "error":
                self.errors.append(text)
        elif method == "Runtime.exceptionThrown":
            d = params["exceptionDetails"]
            self.errors.append(d.get("exception", {}).get("description", d.get("text", "")))
        elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
            self.errors.append(params["entry"]["text"])

    def call(self, method, **params):
        self.next_id += 1
        wanted = self.next_id
        self.ws.send(json.dumps({"id": wanted, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == wanted:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._event(message)

    def pump(self, seconds):
        """Collects the page's events for a while."""
        end = time.time() + seconds
        self.ws.settimeout(0.05)
        try:
            while time.time() < end:
                try:
                    self._event(json.loads(self.ws.recv()))
                except websocket.WebSocketTimeoutException:
                    pass
        finally:
            self.ws.settimeout(30)

    def eval(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, seconds=10):
        end = time.time() + seconds
        while time.time() < end:
            value = self.eval(expression)
            if value:
                return value
            self.pump(0.05)
        raise TimeoutError("not within %ss: %s" % (seconds, expression))

    def open(self, url):
        self.call("Page.navigate", url=url)

    def click(self, x, y, button="left"):
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, clickCount=1)

    def key(self, code, key, vk):
        for kind in ("rawKeyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, code=code, key=key, windowsVirtualKeyCode=vk)

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))


class Browser:
    """A headless Chromium on a fresh profile, and its first tab (whose calls it answers itself)."""

    def __init__(self, chromium="chromium"):
        self.profile = tempfile.mkdtemp(prefix="veltrane-chromium.")
        self.process = subprocess.Popen(
            [chromium, "--headless=new", "--no-sandbox", "--disable-gpu", "--remote-debugging-port=0",
             "--user-data-dir=" + self.profile, "--autoplay-policy=user-gesture-required",
             "--window-size=1280,1024", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        for _ in range(300):
            if os.path.exists(port_file) and open(port_file).read().count("\n") >= 1:
                break
            time.sleep(0.05)
        self.port = open(port_file).read().split("\n")[0]
        pages = json.load(urllib.request.urlopen("http://127.0.0.1:%s/json" % self.port))
        self.page = Page(next(p for p in pages if p["type"] == "page")["webSocketDebuggerUrl"])

    def __getattr__(self, name):
        return getattr(self.page, name)

    def new_tab(self, url):
        """Another tab of the same browser, its storage and locks shared, at url."""
        request = urllib.request.Request("http://127.0.0.1:%s/json/new?%s" % (self.port, url), method="PUT")
        return Page(json.load(urllib.request.urlopen(request))["webSocketDebuggerUrl"])

    def close(self):
        try:
            self.page.ws.close()
        finally:
            self.process.kill()
            self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)
