// The browser's half of the store (store.cpp): the program's files that
// outlive the tab, kept in IndexedDB. One object store holds each file under
// its name, its value the file's bytes exactly as the program made them. A save is one put in one read-write transaction
// opened with strict durability, and counts as done only at the
// transaction's `complete`; an abort or an error (quota, the site's data
// cleared, a closed database, private mode) ends it as a failure, so that
// nothing waits for ever.
//
// Included before the program's own JavaScript (--pre-js): the heap is the
// program's.

var TSStore = (function () {
  'use strict';

  // The names are the program's (storage/web/store.h), printed into the
  // page script after this part: read when first needed.
  var N = function () { return TSNames; };
  // Where earlier versions of the site kept the data folder: emscripten's
  // IDBFS, one record per path, the file's bytes in `contents`.
  var REGULAR_FILE = 0x8000;
  var FILE_TYPE = 0xF000;
  // A transaction the browser neither completes nor aborts counts as failed
  // after this long.
  var GIVE_UP_MS = 20000;

  var current = null;   // the open database, or null
  var opening = null;   // the promise of the database being opened
  var loaded = null;    // the bytes load() read, until take() hands them over

  function forget(db) {
    if (current === db) {
      current = null;
    }
    try {
      db.close();
    } catch (e) {
      // already closed
    }
  }

  function adopt(db) {
    if (db) {
      // A newer version of the site asks for the database: let it have it.
      db.onversionchange = function () { forget(db); };
      current = db;
    }
    return db;
  }

  // The database, opened (and made) when needed; null without IndexedDB.
  // The page's first script may have started opening it already (the same
  // names, in index.html), to overlap the program's download.
  function connection() {
    if (current) {
      return Promise.resolve(current);
    }
    var early = typeof window !== 'undefined' ? window.tsEarly : null;
    if (!opening && early && early.database) {
      opening = early.database.then(adopt, function () { return null; });
      early.database = null;
    }
    if (!opening) {
      opening = new Promise(function (resolve) {
        var request;
        try {
          request = indexedDB.open(N().DATABASE, 1);
        } catch (e) {
          resolve(null);
          return;
        }
        request.onupgradeneeded = function () {
          request.result.createObjectStore(N().FILES);
        };
        request.onsuccess = function () { resolve(adopt(request.result)); };
        request.onerror = function (event) {
          event.preventDefault();
          resolve(null);
        };
      });
    }
    return opening.then(function (db) {
      opening = null;
      return db;
    });
  }

  // Runs `work(store)` in one transaction; resolves with `result()` at its
  // complete, or with `failed` at its abort or error.
  function transaction(db, mode, work, result, failed) {
    return new Promise(function (resolve) {
      var timer = setTimeout(function () { resolve(failed); }, GIVE_UP_MS);
      function finish(value) {
        clearTimeout(timer);
        resolve(value);
      }
      var tx;
      try {
        tx = mode === 'readwrite' ? db.transaction(N().FILES, mode, {durability: 'strict'})
                                  : db.transaction(N().FILES, mode);
        work(tx.objectStore(N().FILES));
      } catch (e) {
        // The database was closed under the page (the site's data cleared):
        // this save fails, the next one opens a fresh database.
        forget(db);
        finish(failed);
        return;
      }
      tx.oncomplete = function () { finish(result()); };
      tx.onabort = function () {
        // Whatever stopped it (the quota, the data cleared under the page)
        // may stay with this connection: the next save opens a fresh one,
        // which sees the storage as it is then.
        forget(db);
        finish(failed);
      };
      tx.onerror = function (event) { event.preventDefault(); };  // the abort follows
    });
  }

  // The file's bytes, null when there is no such file, undefined when it
  // could not be read.
  function getFile(db, name) {
    var request = null;
    return transaction(db, 'readonly', function (store) { request = store.get(name); },
                       function () { return request.result instanceof Uint8Array ? request.result : null; },
                       undefined);
  }

  function putFile(db, name, bytes) {
    return transaction(db, 'readwrite', function (store) { store.put(bytes, name); },
                       function () { return true; }, false);
  }

  // Whether an earlier version's database may be there: where the browser
  // lists its databases, only when it is listed (opening one to see costs a
  // start several milliseconds).
  function mayHaveLegacy() {
    if (!indexedDB.databases) {
      return Promise.resolve(true);
    }
    return indexedDB.databases().then(function (all) {
      return all.some(function (each) { return each.name === N().EARLIER_DATABASE; });
    }, function () { return true; });
  }

  // The files an earlier version kept, by name; empty when there is no such
  // database (it is not made by looking).
  function legacyFiles() {
    return mayHaveLegacy().then(function (may) {
      return may ? openLegacyFiles() : [];
    });
  }

  function openLegacyFiles() {
    return new Promise(function (resolve) {
      var request;
      try {
        request = indexedDB.open(N().EARLIER_DATABASE);
      } catch (e) {
        resolve([]);
        return;
      }
      request.onupgradeneeded = function () { request.transaction.abort(); };
      request.onerror = function (event) {
        event.preventDefault();
        resolve([]);
      };
      request.onsuccess = function () {
        var db = request.result;
        if (!db.objectStoreNames.contains(N().EARLIER_FILES)) {
          db.close();
          resolve([]);
          return;
        }
        var files = [];
        var earlier = N().EARLIER_FILES;
        var cursor = db.transaction(earlier, 'readonly').objectStore(earlier).openCursor();
        cursor.onsuccess = function () {
          var at = cursor.result;
          if (!at) {
            db.close();
            resolve(files);
            return;
          }
          var key = String(at.key);
          var value = at.value || {};
          var folder = N().EARLIER_DATABASE + '/';
          var name = key.slice(folder.length);
          // Regular files directly in the folder; not the temporary files
          // of a save that was cut short (their names begin with a dot).
          if (key.indexOf(folder) === 0 && name.indexOf('/') < 0 && name.charAt(0) !== '.' &&
              (value.mode & FILE_TYPE) === REGULAR_FILE && value.contents instanceof Uint8Array) {
            files.push({name: name, bytes: value.contents});
          }
          at.continue();
        };
        cursor.onerror = function (event) {
          event.preventDefault();
          db.close();
          resolve([]);
        };
      };
    });
  }

  // Moves the files of an earlier version into the store, once: only while
  // the store holds no settings file (`existing`: its bytes, null when there
  // is none, undefined when it could not be read), and the old database goes
  // only after every file has been put.
  function migrate(db, existing) {
    if (existing !== null) {
      return Promise.resolve(false);  // there already, or unreadable: nothing is moved over it
    }
    return legacyFiles().then(function (files) {
      if (files.length === 0) {
        return false;
      }
      return files.reduce(function (all, file) {
        return all.then(function (ok) {
          return ok && putFile(db, file.name, file.bytes);
        });
      }, Promise.resolve(true)).then(function (ok) {
        if (ok) {
          try {
            indexedDB.deleteDatabase(N().EARLIER_DATABASE);
          } catch (e) {
            // kept; it is not read again once the store holds the file
          }
        }
        return true;
      });
    });
  }

  // The stored settings file: what the page's first script read already
  // (index.html, once it held the lock), the first time; else read now.
  function firstRead(db, name) {
    var early = typeof window !== 'undefined' ? window.tsEarly : null;
    var settings = early ? early.settings : undefined;
    if (early) {
      delete early.settings;
    }
    return Promise.resolve(settings).then(function (bytes) {
      return bytes === undefined || name !== N().SETTINGS ? getFile(db, name) : bytes;
    });
  }

  // Asked once a start; the browser decides without asking the user, and
  // answers yes for an installed app.
  function askToKeep() {
    if (navigator.storage && navigator.storage.persisted) {
      navigator.storage.persisted().then(function (persisted) {
        if (!persisted && navigator.storage.persist) {
          navigator.storage.persist();
        }
      }, function () {});
    }
  }

  return {
    // Opens the store and reads the stored file `name`, whose bytes then
    // wait for take(): their count, -2 when there is no such file, -1
    // without a store or when the file could not be read.
    load: function (name) {
      askToKeep();
      return connection().then(function (db) {
        if (!db) {
          return -1;
        }
        return firstRead(db, name).then(function (bytes) {
          return migrate(db, bytes).then(function (moved) {
            return moved ? getFile(db, name) : bytes;
          });
        }).then(function (bytes) {
          if (bytes === undefined) {
            return -1;
          }
          if (bytes === null) {
            return -2;
          }
          loaded = bytes;
          return bytes.length;
        });
      }, function () { return -1; });
    },

    // Copies the bytes load() read to the program's memory at `to`.
    take: function (to) {
      HEAPU8.set(loaded, to);
      loaded = null;
    },

    // Stores `bytes` as the file `name`: true once the browser has
    // committed them.
    put: function (name, bytes) {
      return connection().then(function (db) {
        return db ? putFile(db, name, bytes) : false;
      }, function () { return false; });
    }
  };
})();
