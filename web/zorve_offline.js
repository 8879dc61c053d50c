// The site as an app: registers the site's service worker (zorve_worker.js), which
// keeps the site for offline use, once the page has loaded and its program runs, so
// that the page's own work comes first. A new build found later is installed in the
// background and serves from the next load; the page says so rather than reload under
// a person's card.
'use strict';

(() => {
  if (!('serviceWorker' in navigator)) return;
  const updating = !!navigator.serviceWorker.controller;
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (!updating) return;  // the first install: this page's own files, nothing new
    let note = document.getElementById('zorve-update');
    if (!note) {
      note = document.createElement('p');
      note.id = 'zorve-update';
      note.setAttribute('role', 'status');
      document.body.append(note);
    }
    note.textContent = 'A new version of this site is installed: reload the page to use it.';
  });
  const register = () => navigator.serviceWorker.register('zorve_worker.js').catch((e) =>
    console.warn(`This page does not work offline: ${e.message}`));
  // A program's page: once the program runs, so that the worker's start and its copies
  // of the files do not delay the program's first frame. Other pages: once loaded.
  addEventListener('load', () => {
    const status = document.getElementById('zorve-status');
    if (!status || !status.textContent.startsWith('Loading')) {
      register();
      return;
    }
    const watch = new MutationObserver(() => {
      if (status.textContent.startsWith('Loading')) return;
      watch.disconnect();
      setTimeout(register, 200);
    });
    watch.observe(status, { childList: true, characterData: true, subtree: true });
  });
})();
