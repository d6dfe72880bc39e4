// The page around the engine: it lays out the game folder from the pack's list (each file fetched
// when the engine first opens it), keeps saves in the page storage, turns the reader's mouse, touch
// and keys into the engine's input, shows the picture on the canvas, the boxes as a dialog, and
// plays sound through Web Audio. window.VELTRANE is the pack's list (index.html).
"use strict";
(function () {
  var game = window.VELTRANE;
  var canvas = document.getElementById("picture");
  var context = canvas.getContext("2d", { alpha: false, desynchronized: true });
  var stage = document.getElementById("stage");
  var HOME = "/home/web";

  // ---- the clock: the page's monotonic clock, stopped while the page is hidden
  var hiddenTotal = 0, hiddenSince = document.hidden ? performance.now() : -1;
  function now() {
    var t = hiddenSince >= 0 ? hiddenSince : performance.now();
    return Math.floor(t - hiddenTotal) % 4294967296;
  }

  // ---- waits: a timer, or the next event when the wait allows it
  var waiting = null;
  function finishWait() {
    if (!waiting) return;
    var w = waiting;
    waiting = null;
    clearTimeout(w.timer);
    w.wakeUp(0);
  }
  function wait(ms, wakeOnEvent, wakeUp) {
    var w = { wakeUp: wakeUp, wakeOnEvent: wakeOnEvent, timer: 0 };
    waiting = w;
    // while hidden the story's clock stands still: nothing is due until the page shows again
    if (ms !== 4294967295) w.timer = setTimeout(finishWait, Math.min(ms, 2147483647));
  }
  function wake() { if (waiting && waiting.wakeOnEvent) setTimeout(finishWait, 0); }

  // ---- the canvas: as large as the page allows; the engine keeps the picture's shape in it
  var windowOpen = false;
  function fit() {
    var ratio = window.devicePixelRatio || 1;
    var w = Math.max(1, Math.round(stage.clientWidth * ratio)), h = Math.max(1, Math.round(stage.clientHeight * ratio));
    canvas.width = w;
    canvas.height = h;
    if (windowOpen) Module._Web_resized(w, h);
  }
  // the page keeps the story's title; the engine's caption names the engine
  function openWindow() {
    windowOpen = true;
    fit();
  }
  function closeWindow() { windowOpen = false; }
  var image = null, firstShown = 0; // ms after navigation the first picture came, for measuring
  function show(rgba, x, y, w, h, cw, ch) {
    if (cw !== canvas.width || ch !== canvas.height) return;
    if (!firstShown) firstShown = performance.now();
    if (!image || image.width !== w || image.height !== h) image = context.createImageData(w, h);
    image.data.set(rgba);
    context.putImageData(image, x, y);
  }
  function isFullscreen() { return !!document.fullscreenElement; }
  function setFullscreen(on) {
    if (on && !isFullscreen()) stage.requestFullscreen().catch(function () {});
    else if (!on && isFullscreen()) document.exitFullscreen().catch(function () {});
  }
  new ResizeObserver(fit).observe(stage);

  // ---- input
  var VK = { Enter: 13, NumpadEnter: 13, Space: 32, Escape: 27, Backspace: 8, Tab: 9, Delete: 46,
    PageUp: 33, PageDown: 34, Home: 36, End: 35, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
    ShiftLeft: 16, ShiftRight: 16, ControlLeft: 17, ControlRight: 17, AltLeft: 18, AltRight: 18 };
  function vkOf(code) {
    if (VK[code]) return VK[code];
    var m = /^Key([A-Z])$/.exec(code) || /^Digit([0-9])$/.exec(code);
    if (m) return m[1].charCodeAt(0);
    m = /^F([0-9]+)$/.exec(code);
    if (m && +m[1] >= 1 && +m[1] <= 12) return 0x6f + +m[1];
    return 0;
  }
  function key(e, down) {
    if (boxOpen || !windowOpen) return;
    var vk = vkOf(e.code);
    if (!vk) return;
    // F5 would reload the page and Tab would leave the canvas: the story takes them
    e.preventDefault();
    Module._Web_key(down ? 1 : 0, vk, e.repeat ? 1 : 0, e.altKey ? 1 : 0);
  }
  window.addEventListener("keydown", function (e) { unlockAudio(); key(e, true); });
  window.addEventListener("keyup", function (e) { key(e, false); });
  function at(e) {
    var r = canvas.getBoundingClientRect(), ratio = canvas.width / Math.max(1, r.width);
    return [Math.floor((e.clientX - r.left) * ratio), Math.floor((e.clientY - r.top) * ratio)];
  }
  function mouse(kind, e) {
    if (!windowOpen) return;
    var p = at(e);
    Module._Web_mouse(kind, e.button || 0, p[0], p[1]);
  }
  canvas.addEventListener("mousemove", function (e) { mouse(0, e); });
  canvas.addEventListener("mousedown", function (e) { unlockAudio(); e.preventDefault(); mouse(1, e); });
  window.addEventListener("mouseup", function (e) { mouse(2, e); });
  canvas.addEventListener("contextmenu", function (e) { e.preventDefault(); });
  canvas.addEventListener("wheel", function (e) {
    e.preventDefault();
    var p = at(e), notches = e.deltaY < 0 ? 1 : e.deltaY > 0 ? -1 : 0;
    if (windowOpen && notches) Module._Web_wheel(notches, p[0], p[1]);
  }, { passive: false });
  // a tap is a move, a press and a release, as the desktop delivers a quick click
  canvas.addEventListener("touchstart", function (e) {
    unlockAudio();
    e.preventDefault();
    var t = e.changedTouches[0], p = at(t);
    if (!windowOpen) return;
    Module._Web_mouse(0, 0, p[0], p[1]);
    Module._Web_mouse(1, 0, p[0], p[1]);
  }, { passive: false });
  canvas.addEventListener("touchend", function (e) {
    e.preventDefault();
    var t = e.changedTouches[0], p = at(t);
    if (windowOpen) Module._Web_mouse(2, 0, p[0], p[1]);
  }, { passive: false });
  // what a right-click and the wheel open, for a reader without them
  function press(vk) { Module._Web_key(1, vk, 0, 0); Module._Web_key(0, vk, 0, 0); }
  document.getElementById("menu-button").addEventListener("click", function () {
    if (!windowOpen) return;
    var c = [canvas.width >> 1, canvas.height >> 1];
    Module._Web_mouse(1, 2, c[0], c[1]);
    Module._Web_mouse(2, 2, c[0], c[1]);
  });
  document.getElementById("history-button").addEventListener("click", function () { if (windowOpen) press(33); });
  document.getElementById("fullscreen-button").addEventListener("click", function () { setFullscreen(!isFullscreen()); });
  document.addEventListener("fullscreenchange", fit);
  document.addEventListener("visibilitychange", function () {
    if (document.hidden) {
      hiddenSince = performance.now();
      audio.pause();
    } else if (hiddenSince >= 0) {
      hiddenTotal += performance.now() - hiddenSince;
      hiddenSince = -1;
      audio.resume();
      wake();
    }
  });

  // ---- the box: modal in the page, the engine waiting on its answer
  var boxOpen = false, answered = false;
  var dialog = document.getElementById("box");
  function boxShow(text, caption) {
    document.getElementById("box-caption").textContent = caption;
    document.getElementById("box-text").textContent = text;
    boxOpen = true;
    answered = false;
    if (!dialog.open) dialog.showModal();
    document.getElementById("box-ok").focus();
  }
  function answerBox() { answered = true; dialog.close(); wake(); }
  document.getElementById("box-ok").addEventListener("click", answerBox);
  dialog.addEventListener("cancel", function (e) { e.preventDefault(); });
  function boxHide() { boxOpen = false; if (dialog.open) dialog.close(); }

  // ---- gamepads: the standard mapping's buttons as the desktop's gamepad keys, read each frame
  // while one is connected (no frame is asked for otherwise); the d-pad, the stick and the
  // shoulders held come again as a held key does; A or B answers the box
  var PAD_KEYS = [0xC3, 0xC4, 0xC5, 0xC6, 0xC8, 0xC7, 0xC9, 0xCA, 0xD0, 0xCF, 0xD1, 0xD2, 0xCB, 0xCC, 0xCD, 0xCE];
  var STICK = [[1, -1, 0xD3], [1, 1, 0xD4], [0, 1, 0xD5], [0, -1, 0xD6]]; // axis, its sign, the key
  var padHeld = {}, padRepeat = null, padPolling = false;
  function repeats(vk) { return vk === 0xC7 || vk === 0xC8 || (vk >= 0xCB && vk <= 0xCE) || vk >= 0xD3; }
  function padKey(vk, down) {
    if (!!padHeld[vk] === down) return;
    padHeld[vk] = down;
    if (down && boxOpen && (vk === 0xC3 || vk === 0xC4)) return answerBox();
    if (down && repeats(vk)) padRepeat = { vk: vk, at: performance.now() + 400 };
    else if (!down && padRepeat && padRepeat.vk === vk) padRepeat = null;
    if (!boxOpen && windowOpen) Module._Web_key(down ? 1 : 0, vk, 0, 0);
  }
  function padsNow() {
    var all = navigator.getGamepads ? navigator.getGamepads() : [];
    return Array.prototype.filter.call(all, function (p) { return p && p.connected && p.mapping === "standard"; });
  }
  function readPads() {
    var pads = padsNow(), down = {};
    pads.forEach(function (p) {
      PAD_KEYS.forEach(function (vk, i) { if (p.buttons[i] && p.buttons[i].pressed) down[vk] = true; });
      // past half way goes down, under a quarter comes up: a stick near the line does not chatter
      STICK.forEach(function (s) {
        var v = (p.axes[s[0]] || 0) * s[1];
        if (v >= 0.5 || (padHeld[s[2]] && v >= 0.25)) down[s[2]] = true;
      });
    });
    Object.keys(padHeld).forEach(function (vk) { if (padHeld[vk] && !down[vk]) padKey(+vk, false); });
    Object.keys(down).forEach(function (vk) { padKey(+vk, true); });
    if (padRepeat && performance.now() >= padRepeat.at) {
      padRepeat.at = performance.now() + 80;
      if (!boxOpen && windowOpen) Module._Web_key(1, padRepeat.vk, 1, 0);
    }
    padPolling = pads.length > 0;
    if (padPolling) requestAnimationFrame(readPads);
  }
  window.addEventListener("gamepadconnected", function () {
    if (!padPolling) requestAnimationFrame(readPads);
    padPolling = true;
  });

  // ---- one copy of the story a browser: a lock held while the page lives
  function lockHeld(name) {
    if (!navigator.locks) return Promise.resolve(false);
    return navigator.locks.query().then(function (s) { return s.held.some(function (l) { return l.name === name; }); });
  }
  function lockTake(name) {
    if (!navigator.locks) return Promise.resolve(true);
    return new Promise(function (resolve) {
      navigator.locks.request(name, { ifAvailable: true }, function (lock) {
        resolve(!!lock);
        return lock ? new Promise(function () {}) : null;
      });
    });
  }

  // ---- game files: laid out empty, fetched whole when first opened, gone when they cannot be had
  var waitingFiles = {}, loading = 0;
  var bar = document.getElementById("loading");
  function layOut() {
    Object.keys(game.files).forEach(function (name) {
      var path = "/game/" + name, dirs = path.split("/").slice(1, -1), dir = "";
      dirs.forEach(function (d) { dir += "/" + d; try { FS.mkdir(dir); } catch (e) {} });
      FS.writeFile(path, new Uint8Array(0));
      waitingFiles[path] = game.files[name];
    });
  }
  function pending(path) { return Object.prototype.hasOwnProperty.call(waitingFiles, path); }
  function fetchFile(path) {
    var url = waitingFiles[path];
    delete waitingFiles[path];
    loading++;
    bar.hidden = false;
    return fetch(url).then(function (r) {
      if (!r.ok) throw new Error(r.status);
      return r.arrayBuffer();
    }).then(function (bytes) {
      FS.writeFile(path, new Uint8Array(bytes));
    }).catch(function () {
      try { FS.unlink(path); } catch (e) {}
    }).then(function () {
      if (--loading === 0) bar.hidden = true;
    });
  }

  // ---- the page storage: the saves, slots and settings, read before the story starts
  var storageOk = true;
  function sync() {
    return new Promise(function (resolve) {
      FS.syncfs(false, function (err) { storageOk = !err; resolve(!err); });
    });
  }

  // ---- the reader's saves as files: the newest written out, one read into the first free slot
  var SLOTS = 40;
  function saveDir() { return HOME + "/.local/share/veltrane/saves/" + game.id; }
  function saveFiles() {
    try {
      return FS.readdir(saveDir()).filter(function (n) { return /^(quick|[0-9]+)\.sav$/.test(n); });
    } catch (e) { return []; }
  }
  document.getElementById("export-button").addEventListener("click", function () {
    var files = saveFiles().map(function (n) { return { name: n, time: FS.stat(saveDir() + "/" + n).mtime }; });
    if (!files.length) return alert("セーブデータはまだありません。");
    files.sort(function (a, b) { return b.time - a.time; });
    var data = FS.readFile(saveDir() + "/" + files[0].name);
    var link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([data], { type: "application/octet-stream" }));
    link.download = game.id + "-" + files[0].name;
    link.click();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 1000);
  });
  var picker = document.getElementById("import-file");
  document.getElementById("import-button").addEventListener("click", function () { picker.click(); });
  picker.addEventListener("change", function () {
    var file = picker.files[0];
    picker.value = "";
    if (!file) return;
    if (file.size > 64 * 1024 * 1024) return alert("セーブデータではありません。");
    file.arrayBuffer().then(function (bytes) {
      var taken = saveFiles(), slot = 1;
      while (slot <= SLOTS && taken.indexOf(slot + ".sav") >= 0) slot++;
      if (slot > SLOTS) return alert("空いているスロットがありません。ロード画面でスロットを削除してください。");
      var dir = "";
      saveDir().split("/").slice(1).forEach(function (d) { dir += "/" + d; try { FS.mkdir(dir); } catch (e) {} });
      FS.writeFile(saveDir() + "/" + slot + ".sav", new Uint8Array(bytes));
      // the engine checks the file when it is loaded: a broken or foreign one is refused there
      sync().then(function (ok) {
        alert(ok ? "スロット" + slot + "に読み込みました。ロード画面から続きを読めます。"
                 : "ページの保存領域に書けませんでした。スロット" + slot + "はこのページを閉じるまで使えます。");
      });
    });
  });

  // ---- sound
  var audio = window.VeltraneAudio(function (device) { Module._Web_music_ended(device); wake(); }, game);
  function unlockAudio() { audio.unlock(); }

  // ---- the end of the story, and another copy open
  function ended() {
    windowOpen = false;
    document.getElementById("ended").hidden = false;
  }
  document.getElementById("again").addEventListener("click", function () { location.reload(); });

  window.Module = {
    canvas: canvas,
    arguments: ["--id", game.id],
    locateFile: function (path) { return path.endsWith(".wasm") ? game.wasm : path; },
    page: { now: now, wait: wait, wake: wake, openWindow: openWindow, closeWindow: closeWindow, show: show,
      isFullscreen: isFullscreen, setFullscreen: setFullscreen, boxShow: boxShow, boxHide: boxHide,
      boxAnswered: function () { return answered; }, lockHeld: lockHeld, lockTake: lockTake,
      pending: pending, fetchFile: fetchFile, sync: sync, audio: audio,
      firstShown: function () { return firstShown; } },
    preRun: [function () {
      ENV.HOME = HOME;
      FS.mkdir("/fonts");
      FS.mkdir(HOME);
      FS.mount(IDBFS, {}, HOME);
      layOut();
      addRunDependency("storage");
      FS.syncfs(true, function () { removeRunDependency("storage"); });
      addRunDependency("font");
      fetch(game.font).then(function (r) { return r.arrayBuffer(); }).then(function (bytes) {
        FS.writeFile("/fonts/story.ttf", new Uint8Array(bytes));
      }).catch(function () {}).then(function () { removeRunDependency("font"); });
    }],
    onExit: ended,
    onAbort: ended,
    print: function (t) { console.log(t); },
    printErr: function (t) { console.warn(t); },
  };
})();
