// The site's service worker: once a page of the site has loaded, the site works
// offline. web/site.mjs fills in the version (a digest of the site's files) and the
// files kept from the install on: the designer's page and everything it loads. Other
// pages are kept as they are visited. Every answer comes from the cache when it is
// there; a build that changes any file is a new worker with a cache of its own, and the
// old cache goes when the new worker takes over.
'use strict';

const VERSION = '@ZORVE_SITE_VERSION@';
const PRECACHE = [@ZORVE_SITE_PRECACHE@];
// Sites in other folders of the same host have caches of their own.
const PREFIX = `cordelune ${self.registration.scope} `;
const CACHE = PREFIX + VERSION;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    // Checked with the server rather than taken from the browser's HTTP cache as it
    // is: what the page has just loaded costs a "not modified", and a stale copy is
    // never kept under the new version.
    await cache.addAll(PRECACHE.map((url) => new Request(url, { cache: 'no-cache' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith(PREFIX) && name !== CACHE) await caches.delete(name);
    // The page that installed the worker is served by it from now on, offline too.
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== location.origin || !request.url.startsWith(self.registration.scope))
    return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    // A page's query holds the program's arguments, not another page.
    const kept = await cache.match(request, { ignoreSearch: true });
    if (kept) return kept;
    const response = await fetch(request);
    if (response.status === 200 && response.type === 'basic') {
      url.search = '';
      await cache.put(url.href, response.clone());
    }
    return response;
  })());
});
