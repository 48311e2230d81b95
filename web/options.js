// The Options panel: the two options of the game's own opt.ini (in browser storage, /save), read
// and written as a desktop player would edit the file. They take effect when the game next starts.
// FS: True in any case starts in full screen; SND: exactly True switches sound on.
(function() {
  'use strict';
  var panel = document.getElementById('options-panel');
  var sound = document.getElementById('option-sound');
  var full = document.getElementById('option-full-screen');
  var note = document.getElementById('options-note');
  var optionsFile = '/save/opt.ini';

  function bridge() {
    return window.Module && window.Module.swayfire && window.Module.swayfire.readText ?
      window.Module.swayfire : null;
  }
  function value(text, key) {
    var found = new RegExp('^\\s*' + key + '\\s*=(.*)$', 'mi').exec(text || '');
    return found ? found[1].trim() : '';
  }
  // Sets KEY=VALUE in the [OPTIONS] section, keeping every other line as it is.
  function withValue(text, key, newValue) {
    var line = new RegExp('^(\\s*' + key + '\\s*=).*$', 'mi');
    if (line.test(text)) return text.replace(line, '$1' + newValue);
    if (/^\s*\[OPTIONS\]\s*$/mi.test(text)) {
      return text.replace(/^(\s*\[OPTIONS\][^\r\n]*)(\r?\n|$)/mi, '$1\r\n' + key + '=' + newValue + '\r\n');
    }
    return text + (text && !/\n$/.test(text) ? '\r\n' : '') + '[OPTIONS]\r\n' + key + '=' + newValue + '\r\n';
  }
  function show() {
    var game = bridge();
    var text = game ? game.readText(optionsFile) : null;
    var ready = !!game && game.storageOk !== false;
    sound.checked = value(text, 'SND') === 'True';
    full.checked = value(text, 'FS').toLowerCase() === 'true';
    sound.disabled = full.disabled = !game;
    note.textContent = !game ? 'The options can be changed once the game has loaded.' :
      ready ? 'These are the values in opt.ini; a change takes effect when the game next starts.' :
      'This browser keeps no files: sound is switched for this visit only, and full screen at start ' +
      'cannot be kept.';
  }
  function write(key, on) {
    var game = bridge();
    if (!game) return;
    var text = game.readText(optionsFile);
    if (text === null) text = '[OPTIONS]\r\nFS=False\r\nSND=True\r\n';
    game.writeText(optionsFile, withValue(text, key, on ? 'True' : 'False'));
    show();
  }
  sound.addEventListener('change', function() {
    var game = bridge();
    // Without storage the file would be gone before the next start: switch the sound heard now.
    if (game && game.storageOk === false) game.hearSound(sound.checked);
    write('SND', sound.checked);
  });
  full.addEventListener('change', function() { write('FS', full.checked); });
  document.getElementById('options-button').addEventListener('click', function() {
    panel.hidden = !panel.hidden;
    if (!panel.hidden) show();
  });
  window.swayfireOptions = {show: show};
})();
