// Runs inside zarvel.js before the program: the player's folder is kept in
// the browser's IndexedDB (emscripten's IDBFS), read back before the program
// starts and stored again whenever the program has written to it.
var ZV_PLAYER_DIR = '/home/web_user/.local/share/zarvel';

// One copy at a time, as on the desktop: a second tab's store would write its
// older view of the folder over the first one's records (a store removes what
// it does not have). The first tab holds a Web Lock for as long as it lives;
// another one does not start and says why. Where the browser has no Web
// Locks (a page served over plain http from another machine) the game starts.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  addRunDependency('zarvel-player-files');
  function mount() {
    FS.mkdirTree(ZV_PLAYER_DIR);
    FS.mount(IDBFS, {}, ZV_PLAYER_DIR);
    FS.syncfs(true, function (err) {
      if (err) Module.printErr('zarvel: the saved files could not be read from the browser storage (' + err + ')');
      removeRunDependency('zarvel-player-files');
    });
  }
  if (typeof navigator === 'undefined' || !navigator.locks) {
    mount();
    return;
  }
  navigator.locks.request('zarvel-player-files', { ifAvailable: true }, function (lock) {
    if (!lock) {
      if (Module.zarvelAlreadyRunning) Module.zarvelAlreadyRunning();
      else Module.printErr('zarvel: Zarvel is already running in another tab of this browser');
      return undefined;
    }
    mount();
    // Held until the program has ended and stored its last files, or the tab goes.
    return new Promise(function (release) { Module.zarvelReleaseLock = release; });
  });
});

// One store at a time: a request while one runs is run after it. Each store
// is one IndexedDB transaction, so a tab closed during it keeps the files of
// the store before (the program writes a record as a new file renamed over
// the old one, and the store copies whole files).
(function () {
  var running = null;
  var again = false;
  function storeOnce() {
    return new Promise(function (resolve) {
      FS.syncfs(false, function (err) {
        if (err) Module.printErr('zarvel: the saved files could not be written to the browser storage (' + err + ')');
        resolve();
      });
    });
  }
  Module.zarvelStore = function () {
    if (running) {
      again = true;
      return running;
    }
    running = storeOnce().then(function () {
      running = null;
      if (again) {
        again = false;
        return Module.zarvelStore();
      }
    });
    return running;
  };
})();

// The page may close at any moment: what was written is stored once more.
if (typeof window !== 'undefined') {
  window.addEventListener('pagehide', function () { if (Module.zarvelStore) Module.zarvelStore(); });
}

// The program's last logs (the leak report) are written as it exits: they are
// stored before the page hears of the exit.
Module.onExit = (function (page) {
  return function (status) {
    Module.zarvelStore().then(function () {
      if (Module.zarvelReleaseLock) Module.zarvelReleaseLock();
    });
    if (page) page(status);
  };
})(Module.onExit);
