// The browser's side of the game's waits (target_web.cpp). A wait hands the browser its turn and
// the game comes back where it was (Asyncify), when its time runs out or input comes. The
// wake-up comes through a message rather than straight from the timer: a timer set from inside
// another timer's callback waits at least 4 ms after a few rounds, which would stretch the game's
// 10 ms frames; a timer set from a message's callback waits what it was asked.
mergeInto(LibraryManager.library, {
  // $autoResumeAudioContext and $dynCall: SDL's own JavaScript (its audio) calls them, and its
  // EM_ASM blocks cannot ask for them; every build of the game has this function.
  vexaro_web_sleep__deps: ['$callUserCallback', '$autoResumeAudioContext', '$dynCall'],
  vexaro_web_sleep__sig: 'vi',
  vexaro_web_sleep: function(ms) {
    Asyncify.handleSleep(function(wakeUp) {
      var channel = Module.vexaroWakeChannel;
      if (!channel) {
        channel = Module.vexaroWakeChannel = new MessageChannel();
        channel.port1.onmessage = function() {
          var wake = Module.vexaroWake;
          Module.vexaroWake = null;
          if (wake) callUserCallback(wake);
        };
      }
      Module.vexaroWake = wakeUp;
      if (ms > 0) {
        Module.vexaroWakeTimer = setTimeout(function() {
          Module.vexaroWakeTimer = null;
          channel.port2.postMessage(0);
        }, ms);
      } else {
        channel.port2.postMessage(0);
      }
    });
  },

  // Input came during a wait (platform/web/screen.cpp): the game wakes now, not when the wait's
  // time runs out, so that a wait may be long without the page answering late.
  vexaro_web_wake__sig: 'v',
  vexaro_web_wake: function() {
    if (Module.vexaroWakeTimer == null) return;
    clearTimeout(Module.vexaroWakeTimer);
    Module.vexaroWakeTimer = null;
    Module.vexaroWakeChannel.port2.postMessage(0);
  },
});
