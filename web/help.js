// The Help panel: how to play, over the page. Its text is the "How to play" part of README.md,
// cut out at build time into how-to-play.md (cmake/web.cmake) and shown here as HTML. While the
// panel is open the game receives no keys; Escape or a click closes it.
(function() {
  'use strict';
  var panel = document.getElementById('help-panel');
  var body = document.getElementById('help-body');
  var button = document.getElementById('help-button');
  var loaded = false;

  function escape(text) {
    return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
  }
  function inline(text) {
    return escape(text)
      .replace(/\*\*([^*]+)\*\*/g, '<strong>$1</strong>')
      .replace(/`([^`]+)`/g, '<code>$1</code>');
  }
  function cells(line) {
    return line.trim().replace(/^\||\|$/g, '').split('|').map(function(cell) {
      return inline(cell.trim());
    });
  }
  // The few kinds of Markdown the README's part uses: headings, paragraphs, tables.
  function render(markdown) {
    var html = [];
    markdown.split(/\n\s*\n/).forEach(function(block) {
      var lines = block.split('\n').filter(function(line) {
        return line.trim() && !/^<!--/.test(line.trim());
      });
      if (!lines.length) return;
      var heading = /^(#+)\s+(.*)/.exec(lines[0]);
      if (heading && lines.length === 1) {
        html.push('<h2>' + inline(heading[2]) + '</h2>');
      } else if (lines[0].trim().charAt(0) === '|') {
        var rows = lines.filter(function(line) { return !/^\s*\|[\s:|-]+\|\s*$/.test(line); });
        html.push('<table><tr><th>' + cells(rows[0]).join('</th><th>') + '</th></tr>' +
          rows.slice(1).map(function(row) {
            return '<tr><td>' + cells(row).join('</td><td>') + '</td></tr>';
          }).join('') + '</table>');
      } else {
        html.push('<p>' + inline(lines.join(' ')) + '</p>');
      }
    });
    return html.join('\n');
  }

  function open() {
    panel.hidden = false;
    if (!loaded) {
      loaded = true;
      fetch('how-to-play.md').then(function(response) {
        if (!response.ok) throw new Error(response.status);
        return response.text();
      }).then(function(text) {
        body.innerHTML = render(text);
      }).catch(function() {
        loaded = false;
        body.textContent = 'The help could not be loaded; README.md beside this page says how to play.';
      });
    }
  }
  function close() {
    panel.hidden = true;
    var canvas = document.getElementById('screen');
    if (canvas) canvas.focus({preventScroll: true});
  }
  window.swayfireHelp = {open: open, close: close, isOpen: function() { return !panel.hidden; }};

  button.addEventListener('click', function(event) {
    event.stopPropagation();
    open();
  });
  panel.addEventListener('click', close);
  // Registered before the game's own listeners (this script runs first): while the panel is open
  // no key goes on to the game, and Escape closes it.
  ['keydown', 'keyup'].forEach(function(type) {
    addEventListener(type, function(event) {
      if (panel.hidden) return;
      event.stopImmediatePropagation();
      if (type === 'keydown' && event.code === 'Escape') {
        event.preventDefault();
        close();
      }
    }, true);
  });
})();
