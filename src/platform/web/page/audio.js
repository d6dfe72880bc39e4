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
          onEnded(device);
        }
      };
      node.stop = function () { node.disconnect(); };
      p.source = node;
      node.connect(musicGain);
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
      onEnded(device);
    };
    p.source = source;
    source.start();
  }
  function stopMusic(device) {
    var p = pieces[device];
    if (!p || !p.source) return;
    var s = p.source;
    p.source = null;
    if (s !== "starting") try { s.stop(); } catch (e) {}
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
      if (!hidden) ctx.resume();
      if (waitingMidi) waitingMidi();
      waitingMidi = null;
    },
    pause: function () { hidden = true; ctx.suspend(); },
    resume: function () { hidden = false; if (unlocked) ctx.resume(); },
    running: function () { return ctx.state === "running"; },
    synthBlocks: function () { return blocks; },
  };
};
