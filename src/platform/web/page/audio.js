// Sound in the page: the effect and the music pieces through Web Audio. Browsers let sound start
// only after the reader's first click or key: until then music waits and starts then, and effects,
// which belong to their moment, are let go. MIDI pieces go to the synthesizer (synth.js), fetched
// with its soundfont when the first one opens.
"use strict";
window.VeltraneAudio = function (onEnded, game) {
  var Context = window.AudioContext || window.webkitAudioContext;
  var ctx = new Context();
  var effectGain = ctx.createGain(), musicGain = ctx.createGain();
  effectGain.connect(ctx.destination);
  musicGain.connect(ctx.destination);
  var unlocked = false, hidden = false;
  var decoded = {}; // path -> AudioBuffer, for effects played again
  var effect = null;
  var pieces = {}; // device -> { buffer, midi, source }
  var playing = 0;

  function bytesOf(path) {
    var b = FS.readFile(path);
    return b.buffer.slice(b.byteOffset, b.byteOffset + b.byteLength);
  }
  function decode(path) {
    if (decoded[path]) return Promise.resolve(decoded[path]);
    return new Promise(function (resolve) {
      try {
        ctx.decodeAudioData(bytesOf(path), function (buffer) { decoded[path] = buffer; resolve(buffer); },
          function () { resolve(null); });
      } catch (e) { resolve(null); }
    });
  }

  function playSound(path, loop) {
    return decode(path).then(function (buffer) {
      if (!buffer) return false;
      stopSound();
      if (ctx.state !== "running") return true;
      effect = ctx.createBufferSource();
      effect.buffer = buffer;
      effect.loop = loop;
      effect.connect(effectGain);
      effect.start();
      return true;
    });
  }
  function stopSound() {
    if (effect) { try { effect.stop(); } catch (e) {} effect = null; }
  }
  function chime() {
    if (ctx.state !== "running") return;
    [[880, 0], [660, 0.12]].forEach(function (n) {
      var o = ctx.createOscillator(), g = ctx.createGain();
      o.frequency.value = n[0];
      g.gain.setValueAtTime(0.2, ctx.currentTime + n[1]);
      g.gain.exponentialRampToValueAtTime(0.001, ctx.currentTime + n[1] + 0.3);
      o.connect(g).connect(effectGain);
      o.start(ctx.currentTime + n[1]);
      o.stop(ctx.currentTime + n[1] + 0.3);
    });
  }

  function openMusic(device, path, midi) {
    closeMusic(device);
    var made = midi ? window.VeltraneSynth ? window.VeltraneSynth.render(ctx, bytesOf(path), game) : null : decode(path);
    if (!made) return Promise.resolve(-2);
    return made.then(function (buffer) {
      if (!buffer) return midi ? -2 : -1;
      pieces[device] = { buffer: buffer, source: null };
      return buffer.duration;
    });
  }
  function playMusic(device) {
    var p = pieces[device];
    if (!p) return;
    stopMusic(device);
    var source = ctx.createBufferSource();
    source.buffer = p.buffer;
    source.connect(musicGain);
    source.onended = function () {
      // only a piece that played to its end tells it
      if (p.source !== source) return;
      p.source = null;
      if (playing === device) playing = 0;
      onEnded(device);
    };
    p.source = source;
    playing = device;
    source.start();
  }
  function stopMusic(device) {
    var p = pieces[device];
    if (!p || !p.source) return;
    var s = p.source;
    p.source = null;
    try { s.stop(); } catch (e) {}
    if (playing === device) playing = 0;
  }
  function closeMusic(device) {
    stopMusic(device);
    delete pieces[device];
  }
  function volumes(effects, music) {
    effectGain.gain.value = effects;
    musicGain.gain.value = music;
  }

  return {
    playSound: playSound, stopSound: stopSound, chime: chime, openMusic: openMusic, playMusic: playMusic,
    stopMusic: stopMusic, closeMusic: closeMusic, volumes: volumes,
    unlock: function () { unlocked = true; if (!hidden) ctx.resume(); },
    pause: function () { hidden = true; ctx.suspend(); },
    resume: function () { hidden = false; if (unlocked) ctx.resume(); },
    running: function () { return ctx.state === "running"; },
  };
};
