// The page around the game: loads and checks its files, starts it on the canvas, enlarges the
// picture by whole factors, holds the sound back until the player's first key or click (as
// browsers require), keeps the games played here as a recording to save, plays a chosen one,
// and offers to start again when the game has ended.
'use strict';
(function () {
  const params = new URLSearchParams(location.search);
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const message = document.getElementById('message');
  const note = document.getElementById('note');
  const buttons = {
    full: document.getElementById('full'),
    save: document.getElementById('save'),
    play: document.getElementById('play'),
    saveTrace: document.getElementById('save-trace'),
  };
  const chooser = document.getElementById('chooser');
  const context = canvas.getContext('2d', { alpha: false });
  const RECORDING = '/vexaro.rec';
  const REPLAY_KEY = 'vexaro-replay';
  const tracing = params.has('trace');
  const traceLines = [];
  let ended = false;
  let endedRecording = null;

  // --- the picture ---------------------------------------------------------------------------

  // The largest whole factor at which the game fits the window (at least 1), centred on black.
  function layout() {
    const free = stage.getBoundingClientRect();
    const scale = Math.max(1, Math.floor(Math.min(free.width / canvas.width,
                                                  free.height / canvas.height)));
    canvas.style.width = canvas.width * scale + 'px';
    canvas.style.height = canvas.height * scale + 'px';
  }
  window.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);

  const SOUND_NOTE = note.textContent;
  function showScreen(pixels, width, height, minimised, x, y, w, h) {
    // Where the browser lets the page sound at once (or after the first key), the note goes.
    if (!note.hidden && note.textContent === SOUND_NOTE) {
      const audio = audioContext();
      if (audio && audio.state === 'running') note.hidden = true;
    }
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
      layout();
      x = y = 0, w = width, h = height;
    }
    // Only the rectangle that changed is copied to the canvas.
    const rgba = new Uint8ClampedArray(pixels.buffer, pixels.byteOffset, width * height * 4);
    if (w > 0 && h > 0) context.putImageData(new ImageData(rgba, width, height), 0, 0, x, y, w, h);
    if (minimised) say('Vexaro!! is minimised and paused. Press a key or click to bring it back.');
    else if (!ended && message.dataset.kind === 'minimised') hideMessage();
    if (minimised) message.dataset.kind = 'minimised';
  }

  // --- messages over the picture -------------------------------------------------------------

  function say(text, actions) {
    message.textContent = text;
    delete message.dataset.kind;
    for (const [label, act] of actions || []) {
      const button = document.createElement('button');
      button.textContent = label;
      button.addEventListener('click', act);
      message.append(document.createElement('br'), button);
    }
    message.hidden = false;
  }
  function hideMessage() {
    message.hidden = true;
    delete message.dataset.kind;
  }

  // --- keys the page keeps: full screen ------------------------------------------------------

  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(() => {});
  }
  // Before the game's own listeners: F11 and Alt+Enter are the page's, not the game's window's.
  window.addEventListener('keydown', (e) => {
    if (e.code === 'F11' || (e.altKey && (e.code === 'Enter' || e.code === 'NumpadEnter'))) {
      e.preventDefault();
      e.stopImmediatePropagation();
      if (!e.repeat) toggleFullScreen();
    }
  }, true);
  buttons.full.addEventListener('click', (e) => { e.currentTarget.blur(); toggleFullScreen(); });

  // --- sound: held back by the browser until the first key or click --------------------------

  function audioContext() {
    return window.Module && Module.SDL2 && Module.SDL2.audioContext;
  }
  function unlockSound() {
    const audio = audioContext();
    if (!audio) return;
    if (audio.state === 'running') {
      note.hidden = true;
      return;
    }
    audio.resume().then(() => { note.hidden = audio.state === 'running'; }, () => {});
  }
  for (const kind of ['keydown', 'mousedown', 'touchstart'])
    window.addEventListener(kind, unlockSound, true);

  // --- recordings ----------------------------------------------------------------------------

  function download(bytes, name, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }
  function stamp() {
    return new Date().toISOString().slice(0, 16).replace(/[-:]/g, '').replace('T', '-');
  }
  function recordingBytes() {
    if (endedRecording) return endedRecording;
    try {
      return window.FS ? FS.readFile(RECORDING) : null;
    } catch (error) {
      return null;
    }
  }
  buttons.save.addEventListener('click', (e) => {
    e.currentTarget.blur();
    const bytes = recordingBytes();
    if (!bytes || !bytes.length) {
      say('Nothing is kept yet: the recording is written at the end of every game.',
          [['OK', hideMessage]]);
      return;
    }
    download(bytes, 'vexaro-' + stamp() + '.rec', 'application/octet-stream');
  });
  buttons.saveTrace.hidden = !tracing;
  buttons.saveTrace.addEventListener('click', (e) => {
    e.currentTarget.blur();
    download(traceLines.join('\n') + '\n', 'vexaro-' + stamp() + '.trace', 'text/plain');
  });
  // A chosen recording plays in a fresh game: the page starts again with it.
  buttons.play.addEventListener('click', (e) => { e.currentTarget.blur(); chooser.click(); });
  chooser.addEventListener('change', async () => {
    const file = chooser.files[0];
    if (!file) return;
    const bytes = new Uint8Array(await file.arrayBuffer());
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    try {
      sessionStorage.setItem(REPLAY_KEY, btoa(text));
    } catch (error) {
      say('This recording is too large for the page to keep while it starts again.',
          [['OK', hideMessage]]);
      return;
    }
    location.reload();
  });
  function takeChosenRecording() {
    const kept = sessionStorage.getItem(REPLAY_KEY);
    if (kept === null) return null;
    sessionStorage.removeItem(REPLAY_KEY); // a reload afterwards starts a game of its own
    const text = atob(kept);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  // --- the end of the game -------------------------------------------------------------------

  function gameEnded(status) {
    ended = true;
    endedRecording = recordingBytes();
    const test = window.vexaroTest;
    if (test) test.exitStatus = status;
    say('The game has ended.', [['Play again', () => location.reload()],
                                ['Save recording', () => buttons.save.click()]]);
  }

  // --- loading: every file checked against the manifest before the game starts ---------------

  function failed(text) {
    ended = true;
    for (const button of Object.values(buttons)) button.disabled = true;
    note.hidden = true;
    say(text);
    if (window.vexaroTest) window.vexaroTest.failure = text;
  }

  async function fetchChecked(path, size) {
    let response;
    try {
      response = await fetch(path, { cache: 'no-cache' });
    } catch (error) {
      throw new Error(path + ' cannot be fetched (' + error.message + ').');
    }
    if (!response.ok) throw new Error(path + ' is missing (HTTP ' + response.status + ').');
    const bytes = new Uint8Array(await response.arrayBuffer());
    if (bytes.length !== size)
      throw new Error(path + ' is cut short or damaged: ' + bytes.length + ' bytes of ' + size + '.');
    return bytes;
  }

  async function load() {
    let manifest;
    try {
      const response = await fetch('manifest.json', { cache: 'no-cache' });
      if (!response.ok) throw new Error('HTTP ' + response.status);
      manifest = await response.json();
    } catch (error) {
      throw new Error('manifest.json, the list of the game\'s files, cannot be read (' +
                      error.message + ').');
    }
    const files = await Promise.all(manifest.data.map(async (file) => ({
      path: file.path, bytes: await fetchChecked('data/' + file.path, file.size) })));
    const wasm = await fetchChecked(manifest.wasm.path, manifest.wasm.size);
    const script = await fetchChecked(manifest.script.path, manifest.script.size);
    return { files, wasm, script };
  }

  function start(loaded) {
    const args = [];
    const replay = takeChosenRecording();
    if (replay) {
      loaded.files.push({ path: 'replay.rec', bytes: replay });
      args.push('--replay', '/replay.rec');
      buttons.save.disabled = true;
    } else {
      args.push('--record', RECORDING);
    }
    if (tracing) args.push('--trace', '/dev/vexaro-trace');
    window.Module = {
      canvas,
      arguments: args,
      wasmBinary: loaded.wasm.buffer,
      vexaroFiles: loaded.files,
      vexaroShowScreen: showScreen,
      vexaroTraceLine: tracing ? onTraceLine : undefined,
      // The game's own words (a file it cannot read, ...) are shown, not sent to the console.
      print: (text) => { if (text) note.textContent = text, note.hidden = false; },
      printErr: (text) => { if (text) note.textContent = text, note.hidden = false; },
      onExit: gameEnded,
      onAbort: (what) => failed('The game stopped: ' + what),
    };
    const url = URL.createObjectURL(new Blob([loaded.script], { type: 'text/javascript' }));
    const tag = document.createElement('script');
    tag.src = url;
    document.body.append(tag);
  }

  // --- the test hook: only with ?test in the address ------------------------------------------

  // The trace lines a scripted key may follow: those that every run of the same game writes
  // alike, on the desktop, headless and here (tests/web/recording_test.mjs counts the same).
  const ANCHORS = /"ev":"(frame|mode|message|sound|explode|window|countdown|load)"/;
  function onTraceLine(line) {
    traceLines.push(line);
    if (window.vexaroTest) window.vexaroTest.traced(line);
  }

  if (params.has('test')) {
    // A script of keys played at the game's own moments: each action waits for the trace line
    // it follows (`after` such lines), then for its delay after it, or goes at once when a frame
    // is next (a flight's keys are felt by the frame after the one they follow, however the
    // browser paces its frames).
    const test = window.vexaroTest = {
      lines: traceLines,
      compared: 0,
      actions: [],
      next: 0,
      startedAt: performance.now(),
      anchorAt: performance.now(),
      exitStatus: null,
      failure: null,
      traced(line) {
        if (test.lines.length === 1) test.startedAt = test.anchorAt = performance.now(); // tick 0
        if (!ANCHORS.test(line)) return;
        test.compared++;
        test.anchorAt = performance.now();
        test.pump();
      },
      play(actions) {
        test.actions = actions;
        test.next = 0;
        if (!test.compared) test.anchorAt = test.startedAt;
        test.pump();
      },
      key(type, code) {
        const names = { Space: ' ', ArrowLeft: 'ArrowLeft', ArrowRight: 'ArrowRight',
                        Enter: 'Enter', Escape: 'Escape', AltLeft: 'Alt', F10: 'F10' };
        window.dispatchEvent(new KeyboardEvent(type, { code, key: names[code] || code,
                                                       bubbles: true, cancelable: true }));
      },
      pump() {
        while (test.next < test.actions.length) {
          const action = test.actions[test.next];
          if (test.compared < action.after) return;
          const wait = action.atOnce ? 0 : test.anchorAt + action.delay - performance.now();
          if (wait > 0) {
            clearTimeout(test.timer);
            test.timer = setTimeout(test.pump, wait);
            return;
          }
          test.next++;
          if (action.type !== 'up') test.key('keydown', action.code);
          if (action.type !== 'down') test.key('keyup', action.code);
        }
      },
    };
  }

  window.addEventListener('error', (e) => failed('The page met an error: ' + e.message));

  layout();
  load().then(start, (error) => failed('The game cannot start: ' + error.message));
})();
