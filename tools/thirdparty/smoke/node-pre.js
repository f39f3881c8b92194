// Node.js has no page: no canvas, no window or document events, no Web Audio and (before version
// 21) no navigator. Under Node the smoke program uses SDL's dummy video driver, registers its
// listeners on stand-ins, finds no gamepads and plays into a silent stand-in of Web Audio (SDL's
// dummy audio driver needs a thread, which the single-threaded browser build has not).
Module['preRun'] = [function () {
  ENV['SDL_VIDEODRIVER'] = 'dummy';
}];
var nodeStandInTarget = { addEventListener: function () {}, removeEventListener: function () {} };
if (typeof window === 'undefined') globalThis.window = nodeStandInTarget;
if (typeof document === 'undefined') {
  globalThis.document = Object.assign({ getElementById: function () { return null; } },
                                      nodeStandInTarget);
}
if (typeof navigator === 'undefined') {
  globalThis.navigator = { getGamepads: function () { return []; } };
}
if (typeof AudioContext === 'undefined') {
  globalThis.AudioContext = function () {
    this.sampleRate = 44100;
    this.state = 'running';
    this.destination = {};
  };
  AudioContext.prototype.resume = function () {};
  AudioContext.prototype.close = function () {};
  AudioContext.prototype.createScriptProcessor = function () {
    return { connect: function () {}, disconnect: function () {} };
  };
}
