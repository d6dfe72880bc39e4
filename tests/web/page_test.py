"""The packed demo in a real headless Chromium: it loads with no console error, its first picture is
the headless replay's pixel for pixel, text types and a click ends a wait, a quick save and restore
give back the state, MIDI plays once the reader has clicked, a second tab is told another copy is
open, and a picture that cannot be fetched gives the desktop's box. A story of one choice, in a page
twice the picture's size: a click on the second line's scaled place picks it.
usage: page_test.py BUILD ROOT (the demo packed in ROOT/build-web/demo)"""
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading

from PIL import Image

from cdp import Browser

BUILD, ROOT = sys.argv[1], sys.argv[2]
DEMO = os.path.join(ROOT, "build-web", "demo")
BAR = 36  # the page's tool bar under the picture, in CSS pixels
failures = []


def check(what, ok):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/index.html" % server.server_address[1]


def state(b):
    return json.loads(b.eval("UTF8ToString(Module._Web_state())"))


def canvas_pixels(b):
    """The canvas's RGB bytes as a list, row by row."""
    return b.eval("Array.from(document.getElementById('picture').getContext('2d')"
                  ".getImageData(0, 0, 640, 480).data.filter((v, i) => i % 4 != 3))")


def replay_picture(ms, events=()):
    with tempfile.TemporaryDirectory() as work:
        shot = os.path.join(work, "shot.png")
        args = [os.path.join(BUILD, "veltrane-replay"), "--until", str(ms + 1), "--shot", "%d=%s" % (ms, shot)]
        for e in events:
            args += ["--event", e]
        subprocess.run(args + [os.path.join(ROOT, "demo")], check=True, capture_output=True)
        return list(Image.open(shot).convert("RGB").tobytes())


def replay_wait_picture():
    """The replay's picture at the demo's first click-wait, as --shots writes it."""
    with tempfile.TemporaryDirectory() as work:
        subprocess.run([os.path.join(BUILD, "veltrane-replay"), "--start-menu", "--until", "30000", "--shots", work,
                        os.path.join(ROOT, "demo")], check=True, capture_output=True)
        first = sorted(n for n in os.listdir(work) if n.endswith("-wait.png"))[0]
        return list(Image.open(os.path.join(work, first)).convert("RGB").tobytes())


def differing_outside(a, b, box):
    """Pixels of two 640 x 480 RGB pictures that differ by more than one level, outside box (left, top,
    right, bottom). FreeType built for 32-bit WebAssembly smooths a few edge pixels one level apart
    from the desktop's; a glyph missing or moved differs by far more."""
    left, top, right, bottom = box
    return sum(1 for i in range(0, len(a), 3)
               if max(abs(a[i + k] - b[i + k]) for k in range(3)) > 1
               and not (left <= (i // 3) % 640 < right and top <= (i // 3) // 640 < bottom))


def open_page(b, url, width=640, height=480):
    b.call("Emulation.setDeviceMetricsOverride", width=width, height=height + BAR, deviceScaleFactor=1, mobile=False)
    b.open(url)
    b.wait_for("typeof Module !== 'undefined' && Module.calledRun === true", 15)
    return b


def demo_cases(url):
    b = Browser()
    try:
        open_page(b, url)
        # the start menu waits, still, once the title has faded in
        b.wait_for("UTF8ToString(Module._Web_state()).includes('\"menu_state\":201')", 10)
        b.pump(1.5)
        check("the demo loads with no console error", b.errors == [])
        check("the first picture is the replay's", canvas_pixels(b) == replay_picture(3000))
        fetched = b.eval("performance.getEntriesByType('resource').map(e => e.name).join(' ')")
        check("no soundfont is fetched before the reader's first click", ".sf2" not in fetched)
        b.click(320, 350)  # the start menu's button
        b.wait_for("UTF8ToString(Module._Web_state()).includes('\"wait_run\":1')", 15)
        first = state(b)
        check("text types up to the first click-wait", first["cur"] > 0 and first["text_x"] > 0)
        # the text as the replay types it, every glyph (the ideographic space too); the wait's cursor
        # blinks at the end of the text, so its place is left out
        x, y, h = first["text_x"], first["text_y"], first["line_height"]
        check("the typed page is the replay's, glyph for glyph (within a level of smoothing)",
              differing_outside(canvas_pixels(b), replay_wait_picture(), (x - 4, y - 4, x + 40, y + h + 8)) == 0)
        b.wait_for("Module.page.audio.synthBlocks() > 0", 15)
        check("the title's MIDI piece plays after the first click", b.eval("Module.page.audio.running()"))
        b.key("F5", "F5", 116)
        b.pump(0.5)
        b.click(320, 240)
        b.wait_for("UTF8ToString(Module._Web_state()).includes('\"cur\":%d') == false" % first["cur"], 10)
        check("a click ends the wait", state(b)["cur"] != first["cur"])
        b.key("F9", "F9", 120)
        b.pump(1.0)
        back = state(b)
        check("a quick restore gives back the saved place",
              (back["script"], back["cur"], back["flags_on"]) == (first["script"], first["cur"], first["flags_on"]))
        check("no console error while playing", b.errors == [])
        second = b.new_tab(url)
        second.wait_for("document.getElementById('box').open", 15)
        check("a second tab is told another copy is open",
              second.eval("document.getElementById('box-text').textContent") == "既に起動していますよん♪")
        second.eval("document.getElementById('box-ok').click()")
        second.pump(2)
        check("the second tab then says the story has ended",
              second.eval("!document.getElementById('ended').hidden"))
    finally:
        b.close()


CHOICE = ["#set_text_area 40, 100, 600, 440", "#set_text_wait 0", "#select3 {", "one", "two", "three",
          "/#flag_on 1", "/#flag_on 2", "/#flag_on 3", "}", "#wait"]


def scaled_choice_case():
    # the second line spans picture rows 166 to 195 (as the replay picks it): at twice the size, 332 to 390
    with tempfile.TemporaryDirectory() as work:
        game, site = os.path.join(work, "choice"), os.path.join(work, "site")
        os.makedirs(os.path.join(game, "txt"))
        shutil.copytree(os.path.join(ROOT, "demo", "gdat"), os.path.join(game, "gdat"))
        with open(os.path.join(game, "txt", "config.tda"), "wb") as f:
            f.write("".join(line + "\r\n" for line in CHOICE).encode("cp932"))
        subprocess.run([os.path.join(BUILD, "veltrane-pack"), "--web", game, site], check=True)
        server, url = serve(site)
        b = Browser()
        try:
            open_page(b, url, 1280, 960)
            b.wait_for("UTF8ToString(Module._Web_state()).includes('\"select_run\":1')", 15)
            b.call("Input.dispatchMouseEvent", type="mouseMoved", x=160, y=360)
            b.pump(0.2)
            b.click(160, 360)
            b.wait_for("UTF8ToString(Module._Web_state()).includes('\"wait_run\":1')", 10)
            check("a click at the second line's scaled place picks it", state(b)["flags_on"] == [2])
            # the click let sound start: the audio runs for a box's chime, and rests once it is over
            b.eval("Module.page.audio.chime()")
            b.pump(0.3)
            check("the audio runs while a sound plays", b.eval("Module.page.audio.running()"))
            b.pump(3)
            check("the audio stops running while nothing sounds", not b.eval("Module.page.audio.running()"))
        finally:
            b.close()
        try:
            gamepad_choice(url)
        finally:
            server.shutdown()


# a stand-in for the browser's gamepads: one pad of the standard mapping, its buttons set by the test
PAD = """window.pad = { connected: true, mapping: "standard", axes: [0, 0, 0, 0],
  buttons: Array.from({ length: 17 }, function () { return { pressed: false, value: 0 }; }) };
navigator.getGamepads = function () { return [window.pad]; };
window.dispatchEvent(new Event("gamepadconnected"));"""


def gamepad_choice(url):
    # the d-pad down twice points at the second line, and A picks it
    b = Browser()
    try:
        open_page(b, url, 1280, 960)
        b.wait_for("UTF8ToString(Module._Web_state()).includes('\"select_run\":1')", 15)
        b.eval(PAD)
        for button in (13, 13, 0):
            b.eval("window.pad.buttons[%d].pressed = true" % button)
            b.pump(0.15)
            b.eval("window.pad.buttons[%d].pressed = false" % button)
            b.pump(0.15)
        b.wait_for("UTF8ToString(Module._Web_state()).includes('\"wait_run\":1')", 10)
        check("a pad's d-pad and A pick the second line", state(b)["flags_on"] == [2])
    finally:
        b.close()


def missing_picture_case(base):
    # a picture the server does not have is not found for the engine: the desktop's box, no hang
    with tempfile.TemporaryDirectory() as work:
        site = os.path.join(work, "site")
        shutil.copytree(DEMO, site)
        gone = [f for f in os.listdir(os.path.join(site, "game")) if f.startswith("title.")]
        os.unlink(os.path.join(site, "game", gone[0]))
        server, url = serve(site)
        b = Browser()
        try:
            open_page(b, url)
            b.wait_for("document.getElementById('box').open", 15)
            caption = b.eval("document.getElementById('box-caption').textContent")
            text = b.eval("document.getElementById('box-text').textContent")
            check("a picture that cannot be fetched gives the box", (caption, text) == ("Load_Bmp()", "画像読み込みに失敗しました"))
        finally:
            b.close()
            server.shutdown()


def main():
    if not os.path.exists(os.path.join(DEMO, "index.html")):
        print("FAIL no packed demo in %s (make test packs it)" % DEMO)
        return 1
    server, url = serve(DEMO)
    try:
        demo_cases(url)
    finally:
        server.shutdown()
    missing_picture_case(DEMO)
    scaled_choice_case()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
