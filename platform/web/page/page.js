// The page around the game: it loads zarvel.js where the browser can run it,
// shows the content's download, scales the picture to the window, offers the
// player's screenshots and logs as downloads, and says when the game ended.
'use strict';

var ZARVEL_PLAYER_DIR = '/home/web_user/.local/share/zarvel/';

var zvPage = (function () {
  function el(id) { return document.getElementById(id); }
  var stage = el('stage'), canvas = el('canvas');
  var stderrTail = [];
  var noteTimer = 0;
  var ended = false;

  // A short line in the bar below the picture.
  function note(text) {
    el('note').textContent = text;
    clearTimeout(noteTimer);
    noteTimer = setTimeout(function () { el('note').textContent = ''; }, 10000);
  }

  // A box over the picture: a heading, what to do, and any details.
  function message(heading, lines, details, isError) {
    var box = el('message');
    box.textContent = '';
    var h = document.createElement('h2');
    h.textContent = heading;
    box.appendChild(h);
    lines.forEach(function (line) {
      var p = document.createElement('p');
      p.textContent = line;
      box.appendChild(p);
    });
    if (details) {
      var pre = document.createElement('pre');
      pre.textContent = details;
      box.appendChild(pre);
    }
    box.classList.toggle('error', !!isError);
    box.hidden = false;
    el('loading').hidden = true;
  }

  function failed(what) {
    if (ended) return;
    ended = true;
    message('The game stopped with an error', ['Reload the page to try again.'],
      [String(what)].concat(stderrTail).join('\n'), true);
  }

  // Another tab of this browser runs the game (and holds the player's files).
  function alreadyRunning() {
    ended = true;
    message('Zarvel is already running', [
      'It is open in another tab or window of this browser. One copy at a time keeps your records safe.',
      'Close the other one, then reload this page.'
    ], null, false);
  }

  // The picture at the largest size that fits, at its own aspect ratio.
  function fit() {
    var w = canvas.width, h = canvas.height;
    var sw = stage.clientWidth, sh = stage.clientHeight;
    if (!w || !h || !sw || !sh) return;
    var s = Math.min(sw / w, sh / h);
    stage.style.setProperty('--zv-width', Math.max(1, Math.floor(w * s)) + 'px');
    stage.style.setProperty('--zv-height', Math.max(1, Math.floor(h * s)) + 'px');
    // Whole multiples keep each pixel sharp; any other scale is smoothed,
    // as uneven pixel widths would show.
    var d = s * (window.devicePixelRatio || 1);
    stage.classList.toggle('enlarged', d >= 1 && Math.abs(d - Math.round(d)) < 0.01);
  }

  // What the browser lacks to run the game, or null.
  function missingFeature() {
    if (typeof WebAssembly !== 'object') return 'WebAssembly';
    var gl = null;
    try { gl = document.createElement('canvas').getContext('webgl2'); } catch (e) { gl = null; }
    return gl ? null : 'WebGL 2';
  }

  // A file of the virtual file system offered as a download, named by its
  // file name. Returns false when there is no such file.
  function offer(path, type) {
    var data;
    try { data = Module.FS.readFile(path); } catch (e) { return false; }
    var name = path.slice(path.lastIndexOf('/') + 1);
    var url = URL.createObjectURL(new Blob([data], { type: type }));
    var a = document.createElement('a');
    a.href = url;
    a.download = name;
    a.hidden = true;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, 60000);
    note('Saved ' + name);
    return true;
  }

  function offerLog(name, what, type) {
    if (!Module.FS) {
      note('The game has not started yet: there is no ' + what + '.');
    } else if (!offer(ZARVEL_PLAYER_DIR + 'Logs/' + name, type)) {
      note('There is no ' + what + ' (Logs/' + name + ') yet.');
    }
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function (e) { note('Full screen was refused: ' + e.message); });
    } else {
      note('This browser has no full screen for pages.');
    }
  }

  function button(id, action) {
    var b = el(id);
    // The keys stay with the game: a button never keeps the focus.
    b.addEventListener('mousedown', function (e) { e.preventDefault(); });
    b.addEventListener('click', function () { action(); canvas.focus(); });
  }

  function setStatus(text) {
    if (ended) return;
    var loading = el('loading'), bar = el('progress');
    if (!text) { loading.hidden = true; return; }
    var m = /\((\d+(?:\.\d+)?)\/(\d+(?:\.\d+)?)\)\s*$/.exec(text);
    var label = text.replace(/\s*\([^)]*\)\s*$/, '');
    if (m && +m[2] > 0) {
      bar.max = +m[2];
      bar.value = Math.min(+m[1], +m[2]);
      label += ' ' + Math.floor(100 * bar.value / bar.max) + ' % of ' +
        (bar.max / 1048576).toFixed(1) + ' MB';
    } else {
      bar.removeAttribute('value');
    }
    el('status').textContent = label;
    loading.hidden = false;
  }

  var mostDependencies = 0;
  function monitorRunDependencies(left) {
    mostDependencies = Math.max(mostDependencies, left);
    if (left === 0 && mostDependencies > 0) setStatus('Starting…');
  }

  function exited(status) {
    if (ended) return;
    ended = true;
    el('loading').hidden = true;
    var code = el('exitcode');
    code.hidden = status === 18 || status === 0;
    code.textContent = 'The game ended with code ' + status + '.';
    el('thanks').hidden = false;
  }

  function fileSaved(path) {
    if (path.indexOf('/Screen Shots/') >= 0) offer(path, 'image/bmp');
  }

  function start() {
    new ResizeObserver(fit).observe(stage);
    new MutationObserver(fit).observe(canvas, { attributes: true, attributeFilter: ['width', 'height'] });
    fit();
    canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    // The game's own keys are not the browser's: F1 (frame counter) would
    // open the browser's help, F3 its search, Tab and the arrows would move
    // focus or scroll. The game still gets them (SDL listens on the window).
    window.addEventListener('keydown', function (e) {
      if (ended || e.ctrlKey || e.altKey || e.metaKey) return;
      if (/^(F[1-4]|Tab|Arrow(Up|Down|Left|Right)|Space| )$/.test(e.key) || e.code === 'Space')
        e.preventDefault();
    });
    button('fullscreen', toggleFullscreen);
    button('resultlog', function () { offerLog('QNResultLog.htm', 'result log', 'text/html'); });
    button('memorylog', function () { offerLog('QNMemory.log', 'memory log', 'text/plain'); });
    button('leaklog', function () { offerLog('QNMemleaks.log', 'leak report', 'text/plain'); });

    var missing = missingFeature();
    if (missing) {
      message('Zarvel cannot run in this browser', [
        'Zarvel needs ' + missing + ', which this browser does not offer' +
          (missing === 'WebGL 2' ? ' (or has turned off).' : '.'),
        'Try a current Firefox or Chromium, and check that hardware acceleration ' +
          'is turned on in the browser\'s settings (then restart the browser).'
      ], null, true);
      el('bar').hidden = true;
      return;
    }
    // The game's end unwinds its stack with an ExitStatus, already shown as
    // the thanks: it is no error. Anything else thrown by the game is.
    function ended(e) {
      var x = e.error || e.reason;
      if (!x || x.name !== 'ExitStatus') return false;
      e.preventDefault();
      return true;
    }
    window.addEventListener('unhandledrejection', ended);
    window.addEventListener('error', function (e) {
      if (!ended(e) && e.filename && /zarvel\.js$/.test(e.filename)) failed(e.message);
    });
    var script = document.createElement('script');
    script.src = 'zarvel.js';
    script.async = true;
    script.onerror = function () { failed('zarvel.js could not be loaded.'); };
    document.body.appendChild(script);
    canvas.focus();
  }

  return {
    start: start, setStatus: setStatus, monitorRunDependencies: monitorRunDependencies,
    failed: failed, exited: exited, fileSaved: fileSaved, alreadyRunning: alreadyRunning,
    stderr: function (text) {
      stderrTail.push(text);
      if (stderrTail.length > 20) stderrTail.shift();
    }
  };
})();

var Module = {
  canvas: document.getElementById('canvas'),
  zarvelFrames: 0,
  print: function (text) { console.log(text); },
  printErr: function (text) { zvPage.stderr(text); console.warn(text); },
  setStatus: zvPage.setStatus,
  monitorRunDependencies: zvPage.monitorRunDependencies,
  onAbort: zvPage.failed,
  onExit: zvPage.exited,
  zarvelFileSaved: zvPage.fileSaved,
  zarvelAlreadyRunning: zvPage.alreadyRunning
};

zvPage.start();
