// Runs inside vexaro.js before the game starts: the page's data goes into the game's folder
// ("/", where SDL finds the executable), and the trace, when the page asks for one, is a device
// that hands each line to the page as the game writes it (a terminal to the C library, so each
// line arrives whole and at once).
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  var files = Module['vexaroFiles'] || [];
  files.forEach(function(file) {
    var parts = file.path.split('/');
    for (var i = 1; i < parts.length; i++) {
      var dir = '/' + parts.slice(0, i).join('/');
      if (!FS.analyzePath(dir).exists) FS.mkdir(dir);
    }
    FS.writeFile('/' + file.path, file.bytes);
  });
  var onLine = Module['vexaroTraceLine'];
  if (onLine) {
    var device = FS.makedev(64, 0);
    TTY.register(device, {
      put_char: function(tty, value) {
        if (value === null || value === 10) {
          if (tty.output.length) onLine(UTF8ArrayToString(tty.output, 0));
          tty.output = [];
        } else if (value !== 0) {
          tty.output.push(value);
        }
      },
      flush: function(tty) {
        if (tty.output && tty.output.length) onLine(UTF8ArrayToString(tty.output, 0));
        tty.output = [];
      },
    });
    FS.mkdev('/dev/vexaro-trace', device);
  }
});
