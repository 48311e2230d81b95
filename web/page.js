// The page around the game: the loading bar, the line that speaks to the player, focus, and the
// read-only status tests look at (window.swayfireStatus()).
(function() {
  'use strict';
  var canvas = document.getElementById('screen');
  var loading = document.getElementById('loading');
  var bar = document.getElementById('loading-bar');
  var message = document.getElementById('message');

  // The drawing context, made now so that the browser starts its graphics while the game's files
  // download (the first one can take a second); the game takes this same context later. Same
  // settings as the game asks for (web_gl.cpp).
  var context = null;
  try {
    context = canvas.getContext('webgl2', {
      alpha: false, depth: false, stencil: false, antialias: false, preserveDrawingBuffer: false
    });
  } catch (error) {}
  if (!context) swayfirePage.noWebGL();

  var texts = {
    storage: function(why) {
      return 'Scores cannot be saved in this browser (' + why + '); they are kept until you leave ' +
        'the page.';
    },
    ended: 'Swayfire has ended. Play again starts it afresh, with your scores.'
  };
  var modes = ['loading', 'splash', 'menu', 'game', 'ended', 'replay'];
  var state = {
    passes: 0, mode: 'loading', menuSelection: 0, paused: false, score: 0, level: 0,
    replayPass: 0, replayPasses: 0, replayDiffers: -1,
    storage: 'ok', storageProblem: '', storageMessages: 0, firstFrameMs: null
  };

  function say(text) {
    message.textContent = text;
  }

  window.swayfireStatus = function() {
    return Object.assign({}, state);
  };

  // Focus goes to the game on the first click or key.
  function focusGame() {
    if (document.activeElement !== canvas) canvas.focus({preventScroll: true});
  }
  addEventListener('mousedown', focusGame, {once: true});
  addEventListener('keydown', focusGame, {once: true});
  canvas.addEventListener('mousedown', focusGame);

  window.Module = {
    canvas: canvas,
    // The game decodes its own pictures and sounds: the browser need not decode the packed files
    // again before the game may start.
    noImageDecoding: true,
    noAudioDecoding: true,
    print: function(text) { console.log(text); },
    printErr: function(text) { console.warn(text); },
    // Emscripten reports the download as "Downloading data... (done/total)", and "" when it runs.
    setStatus: function(text) {
      var progress = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
      if (progress && Number(progress[2]) > 0) {
        var fraction = Math.min(1, Number(progress[1]) / Number(progress[2]));
        bar.style.width = 100 * fraction + '%';
        swayfirePage.loaded(fraction);
      }
      if (!text) {
        bar.style.width = '100%';
        loading.classList.add('hidden');
      }
    },
    // Said once when saving stops working, with why; taken back when it works again.
    onStorageFailed: function(why) {
      state.storage = 'unavailable';
      state.storageProblem = why;
      if (state.mode !== 'ended') {
        say(texts.storage(why));
        state.storageMessages++;
      }
    },
    onStorageWorks: function() {
      state.storage = 'ok';
      state.storageProblem = '';
      if (state.mode !== 'ended') say('');
    },
    onAbort: function(what) {
      say('Swayfire stopped: ' + what);
    },
    swayfire: {
      // Called by the game whenever it gives the browser its turn.
      publish: function(passes, mode, menuSelection, paused, score, level, replayPass,
                        replayPasses, replayDiffers) {
        var was = state.mode;
        state.passes = passes;
        state.mode = modes[mode] || state.mode;
        // A replay watched after the game had ended, and the game that starts afresh after it.
        if (was === 'ended' && state.mode !== 'ended') {
          swayfirePage.resumed();
          say(state.storage === 'ok' ? '' : texts.storage(state.storageProblem));
        }
        state.replayPass = replayPass;
        state.replayPasses = replayPasses;
        state.replayDiffers = replayDiffers;
        state.menuSelection = menuSelection;
        state.paused = !!paused;
        state.score = score;
        state.level = level;
        if (state.firstFrameMs === null && mode >= 1) state.firstFrameMs = performance.now();
        if (mode >= 1) loading.classList.add('hidden');
      },
      ended: function(normally) {
        state.mode = 'ended';
        if (normally) {
          say(texts.ended);
          swayfirePage.ended();
        }
      },
      notice: function(title, text) {
        console.warn(title + ': ' + text);
        if (state.mode !== 'ended' && state.storage === 'ok') say(text);
      },
      fatal: function(text) {
        say('Swayfire stopped: ' + text);
      }
    }
  };
})();
