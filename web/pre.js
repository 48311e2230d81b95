// Runs inside the Emscripten module, before the game (after saves.js, the player's saved files):
// the keyboard and focus events the game reads at each pass, and the small bridge to the page
// (page.js).

var swayfire = Module['swayfire'] = Module['swayfire'] || {};

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
  if (document.visibilityState === 'hidden') swayfire.events.push('f');
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

// The player's replays (the game keeps them in /save/files/replays) for the page's Replays part
// (replays.js), and the replay it asks the game to watch, taken at the game's next pass.
swayfire.replayFolder = '/save/files/replays';
swayfire.listReplays = function() {
  var names = [];
  try {
    names = FS.readdir(swayfire.replayFolder);
  } catch (error) {
    return [];
  }
  return names.filter(function(name) {
    try {
      return /\.replay$/.test(name) && FS.isFile(FS.stat(swayfire.replayFolder + '/' + name).mode);
    } catch (error) {
      return false;
    }
  });
};
swayfire.readReplay = function(name) {
  return swayfire.readText(swayfire.replayFolder + '/' + name);
};
swayfire.watchRequest = null;
swayfire.watch = function(name, text) {
  swayfire.watchRequest = {name: String(name), text: String(text)};
};
swayfire.takeWatchRequest = function() {
  var request = swayfire.watchRequest;
  swayfire.watchRequest = null;
  return request;
};
swayfire.replaysChanged = function() {
  if (window.swayfireReplays) window.swayfireReplays.changed();
};
swayfire.replayRefused = function(why) {
  console.warn('swayfire: ' + why);
  if (window.swayfireReplays) window.swayfireReplays.refused(why);
};

// Offers the contents (bytes or text) as a download under the name: screenshots, replays.
swayfire.download = function(name, contents, type) {
  var link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([contents], {type: type}));
  link.download = name;
  link.style.display = 'none';
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(function() { URL.revokeObjectURL(link.href); }, 60000);
};
