// Runs inside the Emscripten module, before the game: the player's saved files. /save is an IDBFS
// folder (IndexedDB) read before the game starts and written back after every change and when the
// page is hidden or closed.
//
// Emscripten's own IDBFS sync is replaced here (same database, store and entries, so saves of
// earlier builds still load), because a browser's storage fails in ways it does not answer:
// - a write refused (a full disk or quota, a transaction aborted, the storage closed under us, a
//   database held by another tab) must end the save with its reason, never leave it waiting;
// - an entry of the wrong shape (a timestamp that is no Date, a folder where the game keeps a
//   file, a file inside a file, contents that are not bytes) is repaired or skipped, told in the
//   console, and the game starts with what could be read.
// Whatever happens, the game plays on: when scores cannot be saved the page says so once, with
// why, and takes the message back as soon as a save goes through again.

var swayfire = Module['swayfire'] = Module['swayfire'] || {};

(function() {
  'use strict';

  var kStore = 'FILE_DATA';
  // Some private modes never answer: the game starts without its saves after this long.
  var kLoadMs = 4000;
  // The longest a sync of storage may take; the game's writes wait for it.
  var kSyncMs = 3000;
  // A save that has not answered by then counts as failed (the last guard: a sync answers
  // within kSyncMs); the next change tries again.
  var kSaveMs = 2 * kSyncMs;
  // The files the game keeps in /save (io/folders.h, core/score_file.h): a folder stored at one of
  // these names would keep the game from writing its file, so it is not loaded.
  var kGameFiles = ['/save/opt.ini', '/save/files/bullet.dds'];

  function failure(name, message) {
    var error = new Error(message);
    error.name = name;
    return error;
  }

  // What the player is told, in a few words.
  function describe(error) {
    var name = (error && error.name) || '';
    if (name === 'NoIndexedDB') return 'this browser keeps no files for the page';
    if (name === 'QuotaExceededError') return "the browser's storage for this page is full";
    if (name === 'Blocked') return 'another tab of this page holds the browser storage';
    if (name === 'Timeout') return 'browser storage did not answer';
    var text = (error && error.message) || String(error || '');
    return 'browser storage failed: ' + (name && text.indexOf(name) < 0 ? name + ': ' : '') + text;
  }

  // The state the page shows: storage works, or fails for a reason. A failure of this visit as a
  // whole (no IndexedDB, the saves not loaded, a file the game itself could not write) stays; a
  // refused save lasts only until a save goes through again.
  swayfire.storageOk = true;
  swayfire.storageProblem = '';
  swayfire.storageFailed = function(why, lasting) {
    if (lasting) swayfire.storageLasting = true;
    if (!swayfire.storageOk) return;
    swayfire.storageOk = false;
    swayfire.storageProblem = why;
    console.warn('swayfire: scores cannot be saved (' + why + '); they are kept for this visit');
    if (Module['onStorageFailed']) Module['onStorageFailed'](why);
  };
  swayfire.storageWorks = function() {
    if (swayfire.storageOk || swayfire.storageLasting) return;
    swayfire.storageOk = true;
    swayfire.storageProblem = '';
    console.log('swayfire: browser storage works again; scores are saved');
    if (Module['onStorageWorks']) Module['onStorageWorks']();
  };

  // ---- Reading what is stored, with every entry checked ----

  var databases = {};

  function forget(name, db) {
    if (databases[name] === db) delete databases[name];
  }

  function openDatabase(name, callback) {
    if (databases[name]) return callback(null, databases[name]);
    var answered = false;
    var answer = function(error, db) {
      if (answered) return;
      answered = true;
      callback(error, db);
    };
    var request;
    try {
      request = indexedDB.open(name, IDBFS.DB_VERSION);
    } catch (error) {
      return answer(error);
    }
    request.onupgradeneeded = function() {
      var db = request.result;
      var store = db.objectStoreNames.contains(kStore) ? request.transaction.objectStore(kStore) :
                                                         db.createObjectStore(kStore);
      if (!store.indexNames.contains('timestamp')) {
        store.createIndex('timestamp', 'timestamp', {unique: false});
      }
    };
    request.onsuccess = function() {
      var db = request.result;
      if (answered) {  // too late: blocked meanwhile
        db.close();
        return;
      }
      // Another tab upgrading the database, or the browser clearing it: let go, open anew later.
      db.onversionchange = function() {
        db.close();
        forget(name, db);
      };
      db.onclose = function() { forget(name, db); };
      databases[name] = db;
      answer(null, db);
    };
    request.onerror = function(event) {
      event.preventDefault();
      answer(request.error || failure('UnknownError', 'the database cannot be opened'));
    };
    request.onblocked = function() {
      answer(failure('Blocked', 'the database is held open by another tab'));
    };
  }

  // Stored timestamps are Dates; a number or a date's text is taken for what it says.
  function checkTime(value) {
    if (value instanceof Date && isFinite(value.getTime())) return {date: value};
    if (typeof value === 'number' || typeof value === 'string') {
      var date = new Date(typeof value === 'string' && /^\s*-?\d+(\.\d+)?\s*$/.test(value) ?
                              Number(value) : value);
      if (isFinite(date.getTime())) return {date: date, note: 'its timestamp was not a date'};
    }
    return {date: new Date(0), note: 'its timestamp was unreadable (taken as 1970)'};
  }

  // A file's contents as bytes; null when they cannot be.
  function checkBytes(value) {
    if (value instanceof Uint8Array) return {bytes: value};
    if (ArrayBuffer.isView(value)) {
      return {bytes: new Uint8Array(value.buffer, value.byteOffset, value.byteLength),
              note: 'its contents were not a byte array'};
    }
    if (value instanceof ArrayBuffer) return {bytes: new Uint8Array(value), note: 'its contents were not a byte array'};
    if (typeof value === 'string') return {bytes: new TextEncoder().encode(value), note: 'its contents were text'};
    if (Array.isArray(value) && value.every(function(b) { return b === (b & 255); })) {
      return {bytes: Uint8Array.from(value), note: 'its contents were a list of numbers'};
    }
    return null;
  }

  function parentOf(path) {
    return path.slice(0, path.lastIndexOf('/'));
  }

  // Checks the stored entries of the folder `root`: {entries: path -> {file, mode, date, bytes,
  // repaired}, skipped: key -> why, notes: what was repaired or skipped}.
  function checkStored(root, found) {
    var entries = {};
    var skipped = {};
    var notes = [];
    found.sort(function(a, b) {
      var x = String(a.key), y = String(b.key);
      return x < y ? -1 : x > y ? 1 : 0;
    });
    found.forEach(function(item) {
      var key = item.key;
      var value = item.value;
      var skip = function(why) {
        skipped[key] = why;
        notes.push('skipped ' + JSON.stringify(String(key)) + ': ' + why);
      };
      if (typeof key !== 'string' || key.indexOf(root + '/') !== 0 ||
          key.slice(root.length + 1).split('/').some(function(part) {
            return part === '' || part === '.' || part === '..';
          })) {
        return skip('not a name in ' + root);
      }
      if (!value || typeof value !== 'object' || typeof value.mode !== 'number' ||
          !(FS.isFile(value.mode) || FS.isDir(value.mode))) {
        return skip('neither a file nor a folder');
      }
      var file = FS.isFile(value.mode);
      var parent = parentOf(key);
      if (parent !== root) {
        if (parent in skipped) return skip('inside ' + parent + ', which was skipped');
        if (entries[parent] && entries[parent].file) return skip('inside the file ' + parent);
      }
      if (!file && kGameFiles.indexOf(key) >= 0) return skip('a folder where the game keeps a file');
      var time = checkTime(value.timestamp);
      var entry = {file: file, mode: value.mode, date: time.date, repaired: !!time.note};
      var repairs = time.note ? [time.note] : [];
      if (file) {
        var contents = checkBytes(value.contents);
        if (!contents) return skip('its contents are not bytes');
        entry.bytes = contents.bytes;
        if (contents.note) {
          entry.repaired = true;
          repairs.push(contents.note);
        }
      }
      if (repairs.length) notes.push('repaired ' + JSON.stringify(key) + ': ' + repairs.join(', '));
      entries[key] = entry;
    });
    return {entries: entries, skipped: skipped, notes: notes};
  }

  // Reads every stored entry (the whole store: a few small files), not only those the timestamp
  // index lists, so that an entry without a usable timestamp is seen too.
  function readStored(name, db, callback) {
    var found = [];
    var answered = false;
    var answer = function(error, stored) {
      if (answered) return;
      answered = true;
      callback(error, stored);
    };
    var transaction;
    try {
      transaction = db.transaction([kStore], 'readonly');
      var cursorRequest = transaction.objectStore(kStore).openCursor();
      cursorRequest.onsuccess = function() {
        var cursor = cursorRequest.result;
        if (!cursor) return;
        found.push({key: cursor.key, value: cursor.value});
        cursor.continue();
      };
    } catch (error) {
      forget(name, db);  // closed under us: the next save opens it anew
      return answer(error);
    }
    transaction.oncomplete = function() {
      try {
        answer(null, checkStored(name, found));
      } catch (error) {
        answer(error);
      }
    };
    transaction.onerror = function(event) {
      event.preventDefault();
      answer(event.target.error || transaction.error || failure('UnknownError', 'reading failed'));
    };
    transaction.onabort = function() {
      answer(transaction.error || failure('AbortError', 'reading was aborted'));
    };
  }

  // ---- Loading into /save and writing back ----

  // What /save holds now: path -> {file, mode, date}.
  function localEntries(root) {
    var entries = {};
    var folders = [root];
    while (folders.length) {
      var folder = folders.pop();
      FS.readdir(folder).forEach(function(name) {
        if (name === '.' || name === '..') return;
        var path = folder + '/' + name;
        var stat = FS.stat(path);
        if (FS.isDir(stat.mode)) folders.push(path);
        if (FS.isDir(stat.mode) || FS.isFile(stat.mode)) {
          entries[path] = {file: FS.isFile(stat.mode), mode: stat.mode, date: stat.mtime};
        }
      });
    }
    return entries;
  }

  // At the start, /save is empty: every checked entry goes in, in order (folders first). One that
  // cannot be made is skipped, and the others still load.
  function loadInto(stored, callback) {
    if (swayfire.loadAbandoned) return callback(failure('Timeout', 'loaded too late'));
    stored.notes.forEach(function(note) { console.warn('swayfire: saved files: ' + note); });
    Object.keys(stored.entries).sort().forEach(function(path) {
      var entry = stored.entries[path];
      try {
        if (entry.file) {
          FS.mkdirTree(parentOf(path));
          FS.writeFile(path, entry.bytes);
        } else {
          FS.mkdirTree(path, entry.mode);
        }
        FS.chmod(path, entry.mode);
        FS.utime(path, entry.date.getTime(), entry.date.getTime());
      } catch (error) {
        console.warn('swayfire: saved files: skipped ' + JSON.stringify(path) + ': it cannot be made (' +
                     describe(error) + ')');
      }
    });
    callback(null);
  }

  // Writes what changed in /save since it was stored (and what was repaired at load, and what
  // replaces a skipped entry), and removes what is gone. Skipped entries nothing replaces stay
  // stored as they were.
  function writeBack(root, db, stored, callback) {
    var local = localEntries(root);
    var puts = Object.keys(local).filter(function(path) {
      var mine = local[path];
      var theirs = stored.entries[path];
      return !theirs || theirs.repaired || theirs.file !== mine.file ||
          theirs.date.getTime() !== mine.date.getTime();
    });
    var removals = Object.keys(stored.entries).filter(function(path) { return !(path in local); });
    if (!puts.length && !removals.length) return callback(null);

    var answered = false;
    var answer = function(error) {
      if (answered) return;
      answered = true;
      callback(error);
    };
    var transaction;
    try {
      transaction = db.transaction([kStore], 'readwrite');
    } catch (error) {
      forget(root, db);
      return answer(error);
    }
    transaction.oncomplete = function() { answer(null); };
    // A refused request aborts the whole transaction: the stored files stay as they were.
    transaction.onerror = function(event) {
      answer(event.target.error || transaction.error || failure('UnknownError', 'a write failed'));
    };
    transaction.onabort = function() {
      answer(transaction.error || failure('AbortError', 'the browser aborted the write'));
    };
    try {
      var store = transaction.objectStore(kStore);
      puts.sort().forEach(function(path) {
        var entry = local[path];
        var record = {timestamp: entry.date, mode: entry.mode};
        if (entry.file) record.contents = FS.readFile(path);
        store.put(record, path);
      });
      removals.sort().reverse().forEach(function(path) { store.delete(path); });
    } catch (error) {
      try {
        transaction.abort();
      } catch (ignored) {}
      answer(error);
    }
  }

  // Syncs that ran out of time and have not answered yet.
  var silentSyncs = 0;

  // Replaces IDBFS.syncfs: populate reads storage into /save, else /save is written to storage.
  // The game waits for it at every write (the write's flush, fsync, syncs its folder), so it
  // always answers, within kSyncMs: at once when storage cannot be used this visit (the page says
  // so already) or when an earlier sync still has not answered.
  function syncSaves(mount, populate, callback) {
    if (!populate && swayfire.storageLasting) return callback(null);
    if (silentSyncs > 0) return callback(failure('Timeout', 'an earlier sync has not answered'));
    var answered = false;
    var timedOut = false;
    var answer = function(error) {
      if (answered) return;
      answered = true;
      clearTimeout(timer);
      callback(error || null);
    };
    var timer = setTimeout(function() {
      timedOut = true;
      silentSyncs++;
      answer(failure('Timeout', 'no answer'));
    }, kSyncMs);
    runSync(mount, populate, function(error) {
      if (timedOut) {
        silentSyncs--;
        return;
      }
      answer(error);
    });
  }

  function runSync(mount, populate, callback) {
    var root = mount.mountpoint;
    openDatabase(root, function(error, db) {
      if (error) return callback(error);
      readStored(root, db, function(error, stored) {
        if (error) return callback(error);
        try {
          if (populate) {
            loadInto(stored, callback);
          } else {
            writeBack(root, db, stored, callback);
          }
        } catch (error) {
          callback(error);
        }
      });
    });
  }

  // ---- Saving while the game runs ----

  // One write-back at a time; changes made meanwhile are written by one more pass after it.
  swayfire.saving = false;
  swayfire.saveAgain = false;
  swayfire.save = function() {
    if (!swayfire.mounted || swayfire.storageLasting) return;
    if (swayfire.saving) {
      swayfire.saveAgain = true;
      return;
    }
    swayfire.saving = true;
    var finished = false;
    var timer = 0;
    var finish = function(error) {
      if (finished) return;
      finished = true;
      clearTimeout(timer);
      swayfire.saving = false;
      if (error) {
        swayfire.storageFailed(describe(error), false);
      } else {
        swayfire.storageWorks();
      }
      if (swayfire.saveAgain) {
        swayfire.saveAgain = false;
        swayfire.save();
      }
    };
    timer = setTimeout(function() { finish(failure('Timeout', 'no answer')); }, kSaveMs);
    try {
      FS.syncfs(false, function(error) { finish(error); });
    } catch (error) {
      finish(error);
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
      // Without the stored files, writing back would put this visit's fresh files over them.
      if (error) {
        swayfire.loadAbandoned = true;
        swayfire.storageFailed(describe(error), true);
      }
      removeRunDependency('swayfire-saves');
    };
    addRunDependency('swayfire-saves');
    try {
      if (typeof indexedDB === 'undefined' || !indexedDB) {
        throw failure('NoIndexedDB', 'this browser keeps no files for the page');
      }
      IDBFS.syncfs = syncSaves;
      FS.mount(IDBFS, {}, '/save');
      swayfire.mounted = true;
      setTimeout(function() { finish(failure('Timeout', 'no answer')); }, kLoadMs);
      FS.syncfs(true, function(error) { finish(error); });
    } catch (error) {
      finish(error);
    }
  });

  addEventListener('pagehide', function() { swayfire.save(); });
  document.addEventListener('visibilitychange', function() {
    if (document.visibilityState === 'hidden') swayfire.save();
  });
})();
