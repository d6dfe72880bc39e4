#!/usr/bin/python3
"""The packed page in headless Chromium, against the page's targets. One line per figure:
  first picture    ms from navigation to the demo's first picture on the canvas (localhost)
  before picture   what the page fetched before it, the story's own files and the font subset left out,
                   gzip-compressed as a web server sends it (KB)
  code             every script and the WebAssembly the folder holds, the synthesizer included, gzip (KB)
  folder           the demo's page, its pictures, sounds, music and the soundfont left out (MB)
  typing           CPU % of one core, all of Chromium's processes, while 318 characters are typed 30 ms
                   apart (the scene bench/desktop.sh types; compare its typing line)
  click wait       CPU % of one core at the click wait after them, over 5 s
  canvas floor     CPU % of one core for a bare page that puts a glyph-sized image on a 640 x 480 canvas
                   every 30 ms, the canvas made as the page makes it: what this Chromium costs for the
                   typing's frames alone, whatever draws them
Not part of the tests: the figures depend on the machine. Takes about 50 s.
usage: bench/web.py [BUILD]   (default build: its veltrane-pack, and build-web/demo beside it)"""
import functools
import gzip
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.realpath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
from cdp import Browser  # noqa: E402

BUILD = os.path.realpath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
DEMO = os.path.join(ROOT, "build-web", "demo")
HZ = os.sysconf("SC_CLK_TCK")


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/index.html" % server.server_address[1]


def gz(path):
    with open(path, "rb") as f:
        return len(gzip.compress(f.read(), 9))


def tree_ticks(pid):
    """CPU ticks of a process and all its descendants."""
    total, todo = 0, [pid]
    while todo:
        p = todo.pop()
        try:
            with open("/proc/%d/stat" % p) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
            with open("/proc/%d/task/%d/children" % (p, p)) as f:
                todo += [int(c) for c in f.read().split()]
        except OSError:
            pass
    return total


def cpu_percent(browser, seconds):
    start = tree_ticks(browser.process.pid)
    browser.pump(seconds)
    return 100.0 * (tree_ticks(browser.process.pid) - start) / HZ / seconds


def typing_scene(folder):
    os.makedirs(os.path.join(folder, "txt"))
    subprocess.run(["cp", "-r", os.path.join(ROOT, "demo", "gdat"), folder], check=True)
    sentence = "夜の港町に静かな雨が降り石畳に映る街灯の光が波のようにゆらいでいる"
    text = (sentence * 20)[:318]
    lines = ["#g_load BG back_black.bgh", "#g_change STRETCH_Y", "#set_text_wait 30"]
    lines += [text[i:i + 53] for i in range(0, 318, 53)] + ["#wait"]
    with open(os.path.join(folder, "txt", "config.tda"), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def demo_figures():
    server, url = serve(DEMO)
    b = Browser()
    try:
        b.call("Emulation.setDeviceMetricsOverride", width=640, height=516, deviceScaleFactor=1, mobile=False)
        b.open(url)
        first = b.wait_for("typeof Module !== 'undefined' && Module.page.firstShown()", 10)
        fetched = b.eval("performance.getEntriesByType('resource').filter(e => e.startTime < %f)"
                         ".map(e => new URL(e.name).pathname)" % first)
    finally:
        b.close()
        server.shutdown()
    before = sum(gz(DEMO + p) for p in fetched if not p.startswith("/game/") and not p.endswith(".ttf"))
    before += gz(os.path.join(DEMO, "index.html"))
    engine = os.path.join(DEMO, "engine")
    code = [os.path.join(engine, n) for n in os.listdir(engine) if n.endswith((".js", ".wasm"))]
    code_kb = (sum(gz(p) for p in code) + gz(os.path.join(DEMO, "index.html"))) / 1000
    folder = sum(os.path.getsize(os.path.join(d, n)) for d, _, names in os.walk(DEMO) for n in names
                 if "/game" not in d and not n.endswith(".sf2"))
    print("first picture   %.0f ms" % first)
    print("before picture  %.0f KB" % (before / 1000))
    print("code            %.0f KB" % code_kb)
    print("folder          %.2f MB" % (folder / 1e6))


def typing_figures():
    with tempfile.TemporaryDirectory() as work:
        game, page = os.path.join(work, "typing"), os.path.join(work, "page")
        typing_scene(game)
        subprocess.run([os.path.join(BUILD, "veltrane-pack"), "--web", game, page], check=True)
        server, url = serve(page)
        b = Browser()
        try:
            b.call("Emulation.setDeviceMetricsOverride", width=640, height=516, deviceScaleFactor=1, mobile=False)
            b.open(url)
            b.wait_for("typeof Module !== 'undefined' && Module.page.firstShown()", 10)
            b.pump(1.0)  # the background's transition
            print("typing          %.1f %%" % cpu_percent(b, 8))
            b.wait_for("UTF8ToString(Module._Web_state()).includes('\"wait_run\":1')", 10)
            b.pump(0.5)
            print("click wait      %.1f %%" % cpu_percent(b, 5))
        finally:
            b.close()
            server.shutdown()


FLOOR_PAGE = """<!DOCTYPE html><html><body style="margin:0;background:#000">
<canvas id="c" width="640" height="480" style="display:block"></canvas><script>
var context = document.getElementById("c").getContext("2d", { alpha: false, desynchronized: true });
var glyph = context.createImageData(19, 19), n = 0;
glyph.data.fill(200);
(function put() {
  context.putImageData(glyph, (n % 32) * 20, ((n / 32) | 0) % 24 * 20);
  n++;
  setTimeout(put, 30);
})();
</script></body></html>"""


def floor_figure():
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "index.html"), "w") as f:
            f.write(FLOOR_PAGE)
        server, url = serve(work)
        b = Browser()
        try:
            b.call("Emulation.setDeviceMetricsOverride", width=640, height=516, deviceScaleFactor=1, mobile=False)
            b.open(url)
            b.pump(1.0)
            print("canvas floor    %.1f %%" % cpu_percent(b, 8))
        finally:
            b.close()
            server.shutdown()


if __name__ == "__main__":
    demo_figures()
    typing_figures()
    floor_figure()
