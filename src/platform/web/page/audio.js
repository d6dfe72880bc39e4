// Sound in the page: the effect and the music pieces through Web Audio. Browsers let sound start
// only after the reader's first click or key: until then music waits and starts then, and effects,
// which belong to their moment, are let go. MIDI pieces go to the General MIDI synthesizer, fetched
// with its soundfont when the first one plays; the engine has checked the file and its length.
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
  var waitingMidi = null; // a MIDI piece asked for before sound could start
  var blocks = 0; // blocks the synthesizer rendered, for the page's tests

  // A running context keeps the page's audio thread busy even in silence: it runs only while
  // something sounds, and stops a little after the last sound ends (a story's next effect often
  // follows at once).
  var quietTimer = 0, chimeUntil = 0;
  function sounding() {
    if (effect || chimeUntil > performance.now()) return true;
    return Object.keys(pieces).some(function (d) { return !!pieces[d].source; });
  }
  function settle() {
    if (unlocked && !hidden && sounding()) {
      clearTimeout(quietTimer);
      quietTimer = 0;
      if (ctx.state !== "running") ctx.resume();
    } else if (!quietTimer) {
      quietTimer = setTimeout(function () {
        quietTimer = 0;
        if (!(unlocked && !hidden && sounding())) ctx.suspend();
      }, 2000);
    }
  }
  ctx.suspend();

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
      if (!unlocked || hidden) return true;
      var source = ctx.createBufferSource();
      source.buffer = buffer;
      source.loop = loop;
      source.connect(effectGain);
      source.onended = function () {
        if (effect !== source) return;
        effect = null;
        settle();
      };
      effect = source;
      settle();
      source.start();
      return true;
    });
  }
  function stopSound() {
    if (!effect) return;
    var s = effect;
    effect = null;
    try { s.stop(); } catch (e) {}
    settle();
  }
  function chime() {
    if (!unlocked || hidden) return;
    chimeUntil = performance.now() + 500;
    settle();
    setTimeout(settle, 600);
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

  // ---- MIDI: the synthesizer renders the piece as it plays, a block at a time
  var synth = null; // a promise of { core, bank }
  function loadSynth() {
    if (!synth) {
      synth = Promise.all([import(new URL(game.synth, location.href).href),
        fetch(game.soundfont).then(function (r) { if (!r.ok) throw new Error(r.status); return r.arrayBuffer(); })])
        .then(function (got) { return { core: got[0], bank: got[0].SoundBankLoader.fromArrayBuffer(got[1]) }; });
    }
    return synth;
  }
  function playMidi(device, p) {
    loadSynth().then(function (s) {
      if (p.source !== "starting") return;
      var processor = new s.core.SpessaSynthProcessor(ctx.sampleRate, { eventsEnabled: false });
      processor.soundBankManager.addSoundBank(s.bank, "main");
      var sequencer = new s.core.SpessaSynthSequencer(processor);
      sequencer.loadNewSongList([s.core.BasicMIDI.fromArrayBuffer(p.midi)]);
      sequencer.loop = false;
      sequencer.play();
      var node = ctx.createScriptProcessor(4096, 0, 2), length = sequencer.midiData.duration;
      node.onaudioprocess = function (e) {
        blocks++;
        var left = e.outputBuffer.getChannelData(0), right = e.outputBuffer.getChannelData(1);
        for (var at = 0; at < left.length; at += 128) {
          sequencer.processTick();
          processor.process(left, right, at, Math.min(128, left.length - at));
        }
        if (sequencer.currentTime >= length && p.source === node) {
          p.source = null;
          node.disconnect();
          settle();
          onEnded(device);
        }
      };
      node.stop = function () { node.disconnect(); };
      p.source = node;
      node.connect(musicGain);
      settle();
    }).catch(function (e) {
      console.warn("the MIDI synthesizer could not start: " + e);
      if (p.source === "starting") p.source = null;
    });
  }

  function openMusic(device, path, midi) {
    closeMusic(device);
    if (midi) {
      pieces[device] = { midi: bytesOf(path), source: null };
      return Promise.resolve(game.synth && game.soundfont ? 1 : -2);
    }
    return decode(path).then(function (buffer) {
      if (!buffer) return -1;
      pieces[device] = { buffer: buffer, source: null };
      return buffer.duration;
    });
  }
  function playMusic(device) {
    var p = pieces[device];
    if (!p) return;
    stopMusic(device);
    if (p.midi) {
      // the synthesizer is fetched once the reader's first click or key lets sound start
      p.source = "starting";
      if (unlocked) playMidi(device, p);
      else waitingMidi = function () { playMidi(device, p); };
      return;
    }
    var source = ctx.createBufferSource();
    source.buffer = p.buffer;
    source.connect(musicGain);
    source.onended = function () {
      // only a piece that played to its end tells it
      if (p.source !== source) return;
      p.source = null;
      settle();
      onEnded(device);
    };
    p.source = source;
    settle();
    source.start();
  }
  function stopMusic(device) {
    var p = pieces[device];
    if (!p || !p.source) return;
    var s = p.source;
    p.source = null;
    if (s !== "starting") try { s.stop(); } catch (e) {}
    settle();
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
    unlock: function () {
      if (unlocked) return;
      unlocked = true;
      if (waitingMidi) waitingMidi();
      waitingMidi = null;
      settle();
    },
    pause: function () { hidden = true; ctx.suspend(); },
    resume: function () { hidden = false; settle(); },
    running: function () { return ctx.state === "running"; },
    synthBlocks: function () { return blocks; },
  };
};
