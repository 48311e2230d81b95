// What the page shows around the game's start and end: the loading percentage, a clear message
// when the browser has no WebGL 2, and Play again once the game has ended from its menu (a reload:
// the scores are in the browser's storage).
(function() {
  'use strict';
  var notice = document.getElementById('notice');
  var loadingText = document.getElementById('loading-text');

  function show(html) {
    notice.innerHTML = html;
    notice.hidden = false;
  }

  window.swayfirePage = {
    loaded: function(fraction) {
      if (loadingText) loadingText.textContent = 'Loading Swayfire... ' + Math.floor(100 * fraction) + ' %';
    },
    ended: function() {
      show('<p>Swayfire has ended.</p><button id="play-again" type="button">Play again</button>');
      document.getElementById('play-again').addEventListener('click', function() {
        location.reload();
      });
    },
    // The page goes on after the end (a replay watched): the ending's notice goes.
    resumed: function() {
      if (document.getElementById('play-again')) notice.hidden = true;
    },
    noWebGL: function() {
      show('<p>Swayfire needs WebGL 2, and this browser does not offer it.</p>' +
        '<p>Try a recent Firefox, Chrome or Edge, and check that hardware acceleration ' +
        '(graphics acceleration) is switched on in the browser\'s settings.</p>');
    }
  };

})();
