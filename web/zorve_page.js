// The page around a program on the runtime: starts it, says how it is doing, and moves
// its files between the browser's memory and the person's disk. The program writes and
// reads files in its working folder ("/" in memory): ZORVE.SCR, which the Run menu
// records and plays back, is downloaded and uploaded here; a picture or an animation it
// saves (ZORVEn.png, Ctrl+S; ZORVEn.gif, Ctrl+G) is offered for download as soon as it
// is written.
//
// Share hands the session on as a link: the runtime keeps every event of the run in
// memory (ZORVE_SESSION, see zorve_share.js), and the link carries it; a page
// opened with such a link plays it before anything else (ZORVE_PLAY), so the card is
// rebuilt and then goes on live.
'use strict';

var Module = (() => {
  const SCRIPT_PATH = '/ZORVE.SCR';
  const share = ZorveShare;
  const status = (text) => { document.getElementById('zorve-status').textContent = text; };
  const fileStatus = (text) => { document.getElementById('zorve-file-status').textContent = text; };
  const downloadButton = () => document.getElementById('zorve-download-script');
  const SAVED_FILES = { png: 'image/png', gif: 'image/gif' };

  function download(name, bytes, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  function scriptSize(FS) {
    const found = FS.analyzePath(SCRIPT_PATH);
    return found.exists ? found.object.usedBytes : -1;
  }

  function showScriptState(FS) {
    const size = scriptSize(FS);
    downloadButton().disabled = size < 0;
    if (size >= 0) fileStatus(`ZORVE.SCR: ${size} bytes`);
  }

  // The program's file calls reach these FS functions: a file it has closed, or a
  // picture it has moved into place (it writes pictures under another name first).
  function watchFiles(FS) {
    const close = FS.close;
    FS.close = function (stream) {
      const path = stream.path;
      const result = close.apply(this, arguments);
      if (path === SCRIPT_PATH) showScriptState(FS);
      return result;
    };
    const rename = FS.rename;
    FS.rename = function (from, to) {
      const result = rename.apply(this, arguments);
      const saved = /^\/?[^/]*\.(png|gif)$/i.exec(to);
      if (saved) {
        const name = to.split('/').pop();
        download(name, FS.readFile(to), SAVED_FILES[saved[1].toLowerCase()]);
        fileStatus(`${name} saved and downloaded`);
      }
      if (to === SCRIPT_PATH) showScriptState(FS);
      return result;
    };
  }

  function hookFileBar(FS) {
    // Used, the file bar hands the keyboard back to the program.
    const backToProgram = () => document.querySelector('.zorve-window canvas')?.focus();
    downloadButton().addEventListener('click', () => {
      backToProgram();
      if (scriptSize(FS) < 0) return;
      download('ZORVE.SCR', FS.readFile(SCRIPT_PATH), 'text/plain');
    });
    const upload = document.getElementById('zorve-upload-script');
    upload.addEventListener('change', async () => {
      const file = upload.files[0];
      if (!file) return;
      // Whatever the file is called on disk, the program plays back ZORVE.SCR.
      FS.writeFile(SCRIPT_PATH, new Uint8Array(await file.arrayBuffer()));
      upload.value = '';
      backToProgram();
      showScriptState(FS);
      fileStatus(`ZORVE.SCR loaded from ${file.name}: ${scriptSize(FS)} bytes; Ctrl+P plays it back`);
    });
  }

  return {
    // The program's command line: page.html?arg=one&arg=two.
    arguments: new URLSearchParams(location.search).getAll('arg'),
    print: (text) => console.log(text),
    printErr: (text) => console.error(text),
    preRun: [() => {
      watchFiles(Module.FS);
      hookFileBar(Module.FS);
      showScriptState(Module.FS);
      share.start(Module, ENV);
    }],
    onRuntimeInitialized: () => {
      status('Running.');
      share.running();
    },
    onExit: (code) => {
      if (Module.zorve) Module.zorve.programEnded();
      status(`The program has ended (exit status ${code}). Reload the page to start it again.`);
    },
    onAbort: (what) => status(`The program stopped on an error: ${what}`),
  };
})();
