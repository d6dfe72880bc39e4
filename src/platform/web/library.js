// The page's side of the browser backend: the calls web_imports.h declares. The page itself
// (page.js) owns the canvas, the events, the box and the sound; these reach it through
// Module.page. Calls that wait hand the page back its thread through Asyncify.
mergeInto(LibraryManager.library, {
  Web_now: function () { return Module.page.now(); },

  Web_wait: function (ms, wakeOnEvent) {
    return Asyncify.handleSleep(function (wakeUp) { Module.page.wait(ms >>> 0, wakeOnEvent, wakeUp); });
  },
  Web_wake: function () { Module.page.wake(); },

  Web_window_open: function () { Module.page.openWindow(); },
  Web_window_close: function () { Module.page.closeWindow(); },
  Web_show: function (rgba, x, y, w, h, cw, ch) {
    Module.page.show(HEAPU8.subarray(rgba, rgba + w * h * 4), x, y, w, h, cw, ch);
  },
  Web_set_fullscreen: function (on) { Module.page.setFullscreen(!!on); },
  Web_is_fullscreen: function () { return Module.page.isFullscreen() ? 1 : 0; },
  Web_set_clipboard: function (text) {
    if (!navigator.clipboard) return 0;
    navigator.clipboard.writeText(UTF8ToString(text)).catch(function () {});
    return 1;
  },

  Web_box_show: function (text, caption) { Module.page.boxShow(UTF8ToString(text), UTF8ToString(caption)); },
  Web_box_answered: function () { return Module.page.boxAnswered() ? 1 : 0; },
  Web_box_hide: function () { Module.page.boxHide(); },

  Web_lock_held: function (key) {
    var name = UTF8ToString(key);
    return Asyncify.handleSleep(function (wakeUp) { Module.page.lockHeld(name).then(function (held) { wakeUp(held ? 1 : 0); }); });
  },
  Web_lock_take: function (key) {
    var name = UTF8ToString(key);
    return Asyncify.handleSleep(function (wakeUp) { Module.page.lockTake(name).then(function (taken) { wakeUp(taken ? 1 : 0); }); });
  },

  Web_fetch__deps: ["$PATH"],
  Web_fetch: function (path) {
    var name = UTF8ToString(path);
    name = PATH.normalize(name.charAt(0) === "/" ? name : FS.cwd() + "/" + name);
    // handleSleep every time, so that the call rewinds as it unwound; a file here already answers at once
    return Asyncify.handleSleep(function (wakeUp) {
      if (!Module.page.pending(name)) return wakeUp(0);
      Module.page.fetchFile(name).then(function () { wakeUp(0); });
    });
  },
  Web_sync: function () {
    return Asyncify.handleSleep(function (wakeUp) { Module.page.sync().then(function (ok) { wakeUp(ok ? 1 : 0); }); });
  },

  Web_sound_play: function (path, loop) {
    var name = UTF8ToString(path);
    return Asyncify.handleSleep(function (wakeUp) {
      Module.page.audio.playSound(name, !!loop).then(function (ok) { wakeUp(ok ? 1 : 0); });
    });
  },
  Web_sound_stop: function () { Module.page.audio.stopSound(); },
  Web_chime: function () { Module.page.audio.chime(); },
  Web_music_open: function (device, path, midi) {
    var name = UTF8ToString(path);
    return Asyncify.handleSleep(function (wakeUp) {
      Module.page.audio.openMusic(device, name, !!midi).then(wakeUp);
    });
  },
  Web_music_play: function (device) { Module.page.audio.playMusic(device); },
  Web_music_stop: function (device) { Module.page.audio.stopMusic(device); },
  Web_music_close: function (device) { Module.page.audio.closeMusic(device); },
  Web_volumes: function (effects, music) { Module.page.audio.volumes(effects, music); },
});
