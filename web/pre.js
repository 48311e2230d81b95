// Runs inside the Emscripten module, before the game: the player's saved files, the keyboard and
// focus events the game reads at each pass, and the small bridge to the page (page.js).
//
// Saved files: /save is an IDBFS folder (IndexedDB) read before the game starts and written back
// after every change and when the page is hidden or closed. When IndexedDB is missing or fails,
// the game plays on with /save in memory and the page says once that scores cannot be kept.

var swayfire = Module['swayfire'] = Module['swayfire'] || {};

swayfire.storageOk = true;
swayfire.storageFailed = function(why) {
  if (!swayfire.storageOk) return;
  swayfire.storageOk = false;
  console.warn('swayfire: browser storage does not work (' + why + '); scores are kept for this visit');
  if (Module['onStorageFailed']) Module['onStorageFailed']();
};

// One write-back at a time; changes made meanwhile are written by one more pass after it.
swayfire.saving = false;
swayfire.saveAgain = false;
swayfire.save = function() {
  if (!swayfire.storageOk || !swayfire.mounted) return;
  if (swayfire.saving) {
    swayfire.saveAgain = true;
    return;
  }
  swayfire.saving = true;
  try {
    FS.syncfs(false, function(error) {
      swayfire.saving = false;
      if (error) swayfire.storageFailed(String(error.message || error));
      if (swayfire.saveAgain) {
        swayfire.saveAgain = false;
        swayfire.save();
      }
    });
  } catch (error) {
    swayfire.saving = false;
    swayfire.storageFailed(String(error.message || error));
  }
};
// The game writes its score file key by key (up to 51 keys on a first start): the writes of one
// pass go out together, right after it.
swayfire.saveSoon = function() {
  if (swayfire.saveTimer) return;
  swayfire.saveTimer = setTimeout(function() {
    swayfire.saveTimer = 0;
    swayfire.save();
  }, 0);
};

// The page's Options panel (options.js) reads and writes the game's own opt.ini.
swayfire.readText = function(path) {
  try {
    return FS.readFile(path, {encoding: 'utf8'});
  } catch (error) {
    return null;
  }
};
swayfire.writeText = function(path, text) {
  FS.writeFile(path, text);
  swayfire.save();
};

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function mountSaves() {
  FS.mkdir('/save');
  var done = false;
  var finish = function(error) {
    if (done) return;
    done = true;
    if (error) swayfire.storageFailed(error);
    removeRunDependency('swayfire-saves');
  };
  addRunDependency('swayfire-saves');
  try {
    if (typeof indexedDB === 'undefined' || !indexedDB) throw new Error('no IndexedDB');
    FS.mount(IDBFS, {}, '/save');
    swayfire.mounted = true;
    // Some private modes never answer: after a few seconds the game starts without its saves.
    setTimeout(function() { finish('IndexedDB did not answer'); }, 4000);
    FS.syncfs(true, function(error) { finish(error ? String(error.message || error) : null); });
  } catch (error) {
    finish(String(error.message || error));
  }
});

addEventListener('pagehide', function() { swayfire.save(); });

// Keys and focus, queued for the game's next look at its window (Platform::DoEvents, EndFrame).
// Lines: "d CODE" pressed, "r CODE" held down (repeat), "u CODE" let go, "f" focus lost.
swayfire.events = [];
// Keys whose browser action (scrolling, quick find, going back) must not happen while playing.
swayfire.quietKeys = new Set([
  'ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Space', 'Enter', 'NumpadEnter', 'PageUp',
  'PageDown', 'Home', 'End', 'Backspace', 'Quote', 'Slash', 'Tab', 'F11'
]);
swayfire.toggleFullScreen = function() {
  var stage = document.getElementById('stage') || Module['canvas'];
  try {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage && stage.requestFullscreen) {
      var request = stage.requestFullscreen();
      if (request && request.catch) request.catch(function() {});
    }
  } catch (error) {}
};
addEventListener('keydown', function(event) {
  var code = event.code;
  var shortcut = event.ctrlKey || event.metaKey;
  if (!shortcut && swayfire.quietKeys.has(code)) event.preventDefault();
  // F11 and Alt+Enter switch to and from full screen (here, in the key's own event: the browser
  // allows it only there); the game does not see them.
  if ((code === 'F11' || ((code === 'Enter' || code === 'NumpadEnter') && event.altKey))) {
    event.preventDefault();
    if (!event.repeat) swayfire.toggleFullScreen();
    return;
  }
  if (code) swayfire.events.push((event.repeat ? 'r ' : 'd ') + code);
}, true);
addEventListener('keyup', function(event) {
  if (event.code) swayfire.events.push('u ' + event.code);
}, true);
addEventListener('blur', function() { swayfire.events.push('f'); });
document.addEventListener('visibilitychange', function() {
  if (document.visibilityState === 'hidden') {
    swayfire.events.push('f');
    swayfire.save();
  }
});
swayfire.takeEvents = function() {
  var lines = swayfire.events.join('\n');
  swayfire.events.length = 0;
  return lines;
};

// Sound for this visit alone, for a browser that keeps no files (a change of opt.ini would be lost
// before the game next reads it): the whole output goes through the sound context's master gain.
swayfire.soundHeard = true;
swayfire.hearSound = function(on) {
  swayfire.soundHeard = on;
  if (typeof AL !== 'undefined' && AL.currentCtx) AL.currentCtx.gain.gain.value = on ? 1 : 0;
};
swayfire.soundTimer = setInterval(function() {
  // The sound context is made at the game's start; a choice made before it applies once it is.
  if (typeof AL === 'undefined' || !AL.currentCtx) return;
  AL.currentCtx.gain.gain.value = swayfire.soundHeard ? 1 : 0;
  clearInterval(swayfire.soundTimer);
}, 250);
