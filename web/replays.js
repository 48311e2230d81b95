// The Replays part of the page: the player's last game and best games, as the game keeps them in
// storage, each to download or to watch in the page; and any replay file, opened or dropped on
// the page, to watch. The game reads the replay and says when it cannot be played; watching
// writes nothing to storage. While a replay plays, the line under the game says how far it is.
(function() {
  'use strict';
  var panel = document.getElementById('replays-panel');
  var list = document.getElementById('replays-list');
  var picker = document.getElementById('replay-file');
  var line = document.getElementById('replay-line');
  // The game reads no larger replay.
  var kLargest = 16 * 1024 * 1024;
  var watching = '';  // the replay asked for, until the game is back after it
  var seen = false;   // the game has started playing it
  var refusal = '';
  var refusedAt = 0;

  function bridge() {
    return window.Module && window.Module.swayfire && window.Module.swayfire.listReplays ?
      window.Module.swayfire : null;
  }
  function status() {
    return window.swayfireStatus ? window.swayfireStatus() : {};
  }
  function title(name) {
    if (name === 'last.replay') return 'Last game';
    if (name === 'best-survival.replay') return 'Best survival game';
    var level = /^best-level-(\d+)\.replay$/.exec(name);
    return level ? 'Best game of level ' + level[1] : name;
  }
  function order(name) {
    if (name === 'last.replay') return -2;
    if (name === 'best-survival.replay') return -1;
    var level = /^best-level-(\d+)\.replay$/.exec(name);
    return level ? Number(level[1]) : 1000;
  }
  function duration(passes) {
    var seconds = Math.round(passes / 60);
    return Math.floor(seconds / 60) + ':' + String(seconds % 60).padStart(2, '0');
  }
  // "survival, score 39, 0:11" from the replay's first lines.
  function summary(text) {
    var head = {};
    (text || '').split('\n', 8).forEach(function(row) {
      var field = /^(mode|level|passes|score) (\S+)/.exec(row.trim());
      if (field) head[field[1]] = field[2];
    });
    if (!head.mode || !/^\d+$/.test(head.passes || '')) return 'not a replay this game can read';
    var what = head.mode === 'level' ? 'level ' + head.level : head.mode;
    return what + ', score ' + head.score + ', ' + duration(Number(head.passes));
  }
  function button(text, action) {
    var b = document.createElement('button');
    b.type = 'button';
    b.textContent = text;
    b.addEventListener('click', action);
    return b;
  }
  function show() {
    var game = bridge();
    list.textContent = '';
    var names = game ? game.listReplays() : [];
    names.sort(function(a, b) { return order(a) - order(b) || (a < b ? -1 : 1); });
    if (!names.length) {
      var none = document.createElement('li');
      none.textContent = game ? 'No replays yet: every game you play is kept here.' :
        'The replays can be shown once the game has loaded.';
      list.appendChild(none);
    }
    names.forEach(function(name) {
      var item = document.createElement('li');
      item.dataset.replay = name;
      var label = document.createElement('span');
      label.textContent = title(name) + ': ' + summary(game.readReplay(name)) + ' ';
      item.appendChild(label);
      item.appendChild(button('Watch', function() {
        var text = game.readReplay(name);
        if (text !== null) watch(title(name).toLowerCase() + ' (' + name + ')', text);
      }));
      item.appendChild(button('Download', function() {
        var text = game.readReplay(name);
        if (text !== null) game.download('swayfire-' + name, text, 'application/octet-stream');
      }));
      list.appendChild(item);
    });
  }
  function watch(name, text) {
    var game = bridge();
    if (!game) return;
    refusal = '';
    watching = name;
    seen = false;
    game.watch(name, text);
    var canvas = document.getElementById('screen');
    // Space and F belong to the replay now, not to the button that was clicked.
    if (canvas) canvas.focus({preventScroll: true});
    update();
  }
  function open(file) {
    if (!file) return;
    if (file.size > kLargest) {
      refused(file.name + ': too large for a replay (' + Math.round(file.size / 1048576) + ' MB)');
      return;
    }
    file.text().then(function(text) { watch(file.name, text); }, function(error) {
      refused(file.name + ': cannot be read (' + error + ')');
    });
  }
  function refused(why) {
    refusal = why;
    refusedAt = Date.now();
    watching = '';
    seen = false;
    update();
  }
  // The line under the game: how far the replay is, how it ended, or why it cannot be watched.
  function update() {
    var s = status();
    if (watching && s.mode === 'replay') {
      seen = true;
    } else if (watching && seen) {
      watching = '';  // it is over: the game is back
      seen = false;
    }
    if (refusal && Date.now() - refusedAt > 20000) refusal = '';
    var text = '';
    if (refusal) {
      text = 'This replay cannot be watched: ' + refusal;
    } else if (watching && !seen) {
      text = 'Starting ' + watching + '...';
    } else if (watching && s.replayDiffers >= 0) {
      text = 'Watching ' + watching + ': it differs from the recorded game after pass ' +
        s.replayDiffers + '. Escape returns to the game.';
    } else if (watching && s.replayPasses > 0 && s.replayPass >= s.replayPasses) {
      text = 'Watched ' + watching + ': final score ' + s.score + ', as recorded. ' +
        'Escape returns to the game.';
    } else if (watching) {
      text = 'Watching ' + watching + ': ' + duration(s.replayPass) + ' of ' +
        duration(s.replayPasses) + ', score ' + s.score +
        '. Space pauses, F held plays faster, Escape ends.';
    }
    if (line.textContent !== text) line.textContent = text;
  }

  document.getElementById('replays-button').addEventListener('click', function() {
    panel.hidden = !panel.hidden;
    if (!panel.hidden) show();
  });
  picker.addEventListener('change', function() {
    open(picker.files[0]);
    picker.value = '';
  });
  addEventListener('dragover', function(event) {
    if (event.dataTransfer && Array.prototype.indexOf.call(event.dataTransfer.types, 'Files') >= 0) {
      event.preventDefault();
      event.dataTransfer.dropEffect = 'copy';
    }
  });
  addEventListener('drop', function(event) {
    if (!event.dataTransfer || !event.dataTransfer.files.length) return;
    event.preventDefault();
    open(event.dataTransfer.files[0]);
  });
  setInterval(update, 250);

  window.swayfireReplays = {
    // The game kept a replay: the list shows it.
    changed: function() {
      if (!panel.hidden) show();
    },
    refused: refused,
    show: show
  };
})();
