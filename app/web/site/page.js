// The page around the game: the canvas follows the window, the start cover
// starts the game inside the click (browsers start sound only after one), the
// full-screen button, ?log for the game's log lines, and a message where WebGL
// is missing or the game has ended.
'use strict';
(function () {
  const canvas = document.getElementById('game');
  const cover = document.getElementById('cover');
  const message = document.getElementById('message');
  const stage = document.getElementById('stage');
  const logLines = new URLSearchParams(location.search).has('log');
  let runtimeReady = false;
  let wanted = false;
  let running = false;

  function showMessage(text) {
    message.textContent = text;
    message.hidden = false;
    cover.hidden = true;
  }

  function webglWorks() {
    try {
      const probe = document.createElement('canvas');
      return !!(probe.getContext('webgl') || probe.getContext('experimental-webgl'));
    } catch (error) {
      return false;
    }
  }

  // The canvas in device pixels, so the picture stays sharp on dense screens.
  function pixelSize() {
    const box = canvas.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    return [Math.max(1, Math.round(box.width * ratio)), Math.max(1, Math.round(box.height * ratio))];
  }

  // Hands the game a new window size (the game then letterboxes its 5:3 picture).
  function followSize() {
    if (!running) return;
    const [width, height] = pixelSize();
    if (width !== canvas.width || height !== canvas.height) Browser.setCanvasSize(width, height);
  }

  function start() {
    if (running || !runtimeReady || !wanted) return;
    running = true;
    callMain([]);
    // A start-up failure ends main before the frames begin.
    if (!Browser.mainLoop.func) {
      running = false;
      showMessage('Quavero could not start here; index.html?log shows why in the browser console.');
      return;
    }
    followSize();
  }

  function play(event) {
    event.preventDefault();
    cover.hidden = true;
    canvas.focus();
    wanted = true;
    if (typeof SDL !== 'undefined' && SDL.audioContext) SDL.audioContext.resume();
    start();
  }

  let resizeTimer = 0;
  window.addEventListener('resize', () => {
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(followSize, 100);
  });
  document.addEventListener('fullscreenchange', followSize);
  document.getElementById('fullscreen').addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (stage.requestFullscreen) stage.requestFullscreen();
    canvas.focus();
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  // Leaving the page ends the game as its own exit does.
  window.addEventListener('pagehide', () => {
    if (running) Module._quavero_leave();
  });

  const log = (text) => console.log(text);
  window.Module = {
    canvas: canvas,
    noInitialRun: true,
    print: logLines ? log : () => {},
    printErr: logLines ? log : (text) => console.warn(text),
    // The game logs where QUAVERO_LOG is set, as on the desktop.
    preRun: [() => { if (logLines) ENV.QUAVERO_LOG = '1'; }],
    onRuntimeInitialized: () => {
      runtimeReady = true;
      start();
    },
    onGameEnded: () => {
      running = false;
      showMessage('Thanks for playing Quavero. Reload the page to play again.');
    },
    onAbort: (what) => {
      running = false;
      showMessage('The game stopped: ' + what);
    },
  };

  if (!webglWorks()) {
    showMessage('Quavero needs WebGL, which this browser does not offer here. ' +
                'Turn on hardware acceleration, or try another browser.');
    return;
  }
  const script = document.createElement('script');
  script.src = 'quavero.js';
  document.body.appendChild(script);
  cover.hidden = false;
  cover.addEventListener('click', play);
  cover.addEventListener('touchend', play);
})();
