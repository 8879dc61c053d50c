// The web site as an app, from its bundle (cordelune-VERSION-web.tar.gz of the web
// build) unpacked into a folder and served by web/serve.mjs, in headless Chromium:
//  - the bundle: one folder with the index and every page it links to;
//  - precompressed files: sent with Content-Encoding when Accept-Encoding takes them,
//    the very bytes of the file once decoded, plain otherwise or when older than the
//    file; a known ETag is "not modified";
//  - the manifest: its fields, its icons (the heart the build draws) at their sizes, one
//    the pages' favicon, and the browser finding no reason not to install the app;
//  - offline: once the service worker controls the designer's page, with the server
//    stopped, the network offline and the HTTP cache emptied, a reload still draws the
//    designer's first frame, pixel for pixel the native designer's headless picture;
//  - a new build: its worker takes over, the old cache goes, the next load shows it.
//
//   node webapp_test.mjs BUILD_WEB_DIR NATIVE_CORDELUNE OUT_DIR
// Prints one line per check and ends with "N passed, N failed".
import { spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync, readdirSync, rmSync, utimesSync, writeFileSync } from 'node:fs';
import { request } from 'node:http';
import { join, resolve } from 'node:path';
import { brotliDecompressSync, gunzipSync, gzipSync } from 'node:zlib';
import { CANVAS, HEIGHT, WIDTH, canvasPixels, differences } from './canvas.mjs';
import { ROOT, check, finish, launchWithPage, runSessions, serve } from './harness.mjs';
import { readPng } from './png.mjs';

const [buildDir, cordelune, outDir] = process.argv.slice(2).map((p) => resolve(p));
rmSync(outDir, { recursive: true, force: true });
mkdirSync(outDir, { recursive: true });

// ---- the bundle ---------------------------------------------------------------------

const version = /^CMAKE_PROJECT_VERSION:STATIC=(.*)$/m.exec(readFileSync(join(buildDir, 'CMakeCache.txt'), 'utf8'))[1];
const bundleName = `cordelune-${version}-web`;
const unpacked = spawnSync('tar', ['-xzf', join(buildDir, `${bundleName}.tar.gz`), '-C', outDir], { encoding: 'utf8' });
const site = join(outDir, bundleName);
check(`${bundleName}.tar.gz unpacks into one folder ${bundleName}/`,
  unpacked.status === 0 && readdirSync(outDir).join() === bundleName, unpacked.stderr);
const index = existsSync(join(site, 'index.html')) ? readFileSync(join(site, 'index.html'), 'utf8') : '';
const linked = [...index.matchAll(/href="([^"]+\.html)"/g)].map((m) => m[1]);
const missing = linked.filter((page) => !['html', 'js', 'wasm'].every((ext) =>
  existsSync(join(site, page.replace(/html$/, ext)))));
check('its index links the designer and the examples, each a page with its program',
  linked.includes('cordelune.html') && linked.length >= 5 && missing.length === 0, `linked ${linked}; missing ${missing}`);

// ---- the server ---------------------------------------------------------------------

async function stop(server) {
  if (server.exitCode !== null) return;
  const ended = new Promise((r) => server.on('exit', r));
  server.kill();
  await ended;
}

// GET `path` with the given request headers: { status, headers, body } as sent.
function get(base, path, headers = {}) {
  return new Promise((res, rej) => {
    const r = request(base + path, { headers }, (response) => {
      const chunks = [];
      response.on('data', (c) => chunks.push(c));
      response.on('end', () => res({ status: response.statusCode, headers: response.headers, body: Buffer.concat(chunks) }));
    });
    r.on('error', rej);
    r.end();
  });
}

let { server, url: siteUrl } = await serve(site);
const port = new URL(siteUrl).port;
process.on('exit', () => server.kill());

// ---- precompressed files ------------------------------------------------------------

async function compression() {
  for (const file of ['cordelune.wasm', 'cordelune.js']) {
    const plain = readFileSync(join(site, file));
    const br = await get(siteUrl, '/' + file, { 'Accept-Encoding': 'gzip, deflate, br' });
    check(`${file}: brotli for "gzip, deflate, br", the file's bytes once decoded`,
      br.headers['content-encoding'] === 'br' && /accept-encoding/i.test(br.headers.vary ?? '') &&
      br.body.length < plain.length && brotliDecompressSync(br.body).equals(plain),
      JSON.stringify(br.headers));
    const gz = await get(siteUrl, '/' + file, { 'Accept-Encoding': 'gzip;q=0.8, br;q=0' });
    check(`${file}: gzip when brotli is refused`, gz.headers['content-encoding'] === 'gzip' &&
      gunzipSync(gz.body).equals(plain), JSON.stringify(gz.headers));
    for (const accept of [undefined, 'identity', 'gzip;q=0, br;q=0, *;q=0.5', 'deflate']) {
      const r = await get(siteUrl, '/' + file, accept === undefined ? {} : { 'Accept-Encoding': accept });
      check(`${file}: plain for ${accept === undefined ? 'no Accept-Encoding' : `"${accept}"`}`,
        r.status === 200 && r.headers['content-encoding'] === undefined && r.body.equals(plain) &&
        /accept-encoding/i.test(r.headers.vary ?? ''), JSON.stringify(r.headers));
    }
    const again = await get(siteUrl, '/' + file, { 'Accept-Encoding': 'br', 'If-None-Match': br.headers.etag });
    const other = await get(siteUrl, '/' + file, { 'Accept-Encoding': 'gzip', 'If-None-Match': br.headers.etag });
    check(`${file}: its ETag is "not modified" for the same encoding only`,
      again.status === 304 && again.body.length === 0 && other.status === 200, `${again.status} ${other.status}`);
  }
  // A file edited after its compressed form was made: the edit is what is sent.
  const edited = join(site, 'edited.js');
  writeFileSync(edited + '.gz', gzipSync('// before the edit\n'));
  utimesSync(edited + '.gz', new Date(Date.now() - 60000), new Date(Date.now() - 60000));
  writeFileSync(edited, '// after the edit\n');
  const fresh = await get(siteUrl, '/edited.js', { 'Accept-Encoding': 'gzip' });
  check('a compressed form older than its file is not sent', fresh.headers['content-encoding'] === undefined &&
    String(fresh.body).includes('after'), JSON.stringify(fresh.headers));
  rmSync(edited);
  rmSync(edited + '.gz');
  const type = (await get(siteUrl, '/cordelune.wasm', { 'Accept-Encoding': 'br' })).headers['content-type'];
  check('the program keeps its type for streaming compilation', type === 'application/wasm', type);
}

// ---- the browser --------------------------------------------------------------------

const { browser, page, errors: pageErrors } = await launchWithPage();
await page.send('Network.enable');
const responses = []; // of the page, as the browser got them
browser.on('Network.responseReceived', (e) => responses.push(e.response));

async function open(path) {
  responses.length = 0;
  await page.send('Page.navigate', { url: siteUrl + path });
  await page.waitFor("document.getElementById('zorve-status')?.textContent.startsWith('Running')");
}

// The headless designer's first frame: what the page must show, online and offline.
const native = spawnSync(cordelune, [], {
  cwd: outDir, encoding: 'utf8', timeout: 60000,
  env: { ...process.env, ZORVE_HEADLESS: '1', ZORVE_TICKS: '2', ZORVE_SNAPSHOT: 'first.png' },
});
const firstFrame = native.status === 0 ? readPng(readFileSync(join(outDir, 'first.png'))) : null;

// Whether the canvas comes to show the designer's first frame within a few seconds.
async function showsFirstFrame() {
  if (!firstFrame) return 'no headless picture: ' + native.stderr;
  const end = Date.now() + 10000;
  let differ = '';
  do {
    await page.waitFor(`${CANVAS}?.width === ${WIDTH}`);
    const shown = await canvasPixels(page);
    differ = differences(shown, firstFrame.rgb);
    if (!differ && shown.length === WIDTH * HEIGHT * 3) return '';
  } while (Date.now() < end);
  return `from the headless first frame: ${differ || 'not its size'}`;
}

async function manifest() {
  const { url, errors, data } = await page.send('Page.getAppManifest');
  check('the page links a manifest the browser reads without errors', url.endsWith('/cordelune.webmanifest') &&
    errors.length === 0, JSON.stringify(errors));
  const m = JSON.parse(data);
  const base = new URL(url);
  check('the manifest names Cordelune, starts at the designer\'s page, standalone',
    m.name === 'Cordelune' && m.short_name && new URL(m.start_url, base).href === siteUrl + '/cordelune.html' &&
    m.display === 'standalone' && new URL(m.scope, base).href === siteUrl + '/', data);
  // The icons: the heart the build draws, red in the middle on white corners, at each
  // size the manifest lists; one of them the pages' favicon.
  const bad = [];
  let installSize = 0;
  for (const icon of m.icons) {
    const r = await get(siteUrl, new URL(icon.src, base).pathname);
    let size = '', heart = false;
    try {
      const png = readPng(r.body);
      size = `${png.width}x${png.height}`;
      const at = (x, y) => png.rgb.readUIntBE(3 * (y * png.width + x), 3);
      const n = png.width;
      heart = at(n >> 1, n >> 1) === 0xFF0000 && at(0, 0) === 0xFFFFFF && at(n - 1, n - 1) === 0xFFFFFF;
      if (png.width === png.height) installSize = Math.max(installSize, n);
    } catch (e) {
      size = e.message;
    }
    if (r.status !== 200 || r.headers['content-type'] !== 'image/png' || size !== icon.sizes || !heart)
      bad.push(`${icon.src}: ${r.status} ${r.headers['content-type']} ${size}, listed ${icon.sizes}, heart ${heart}`);
  }
  check(`each of its ${m.icons.length} icons is the heart, a PNG of its listed size; one of 144 pixels or more`,
    m.icons.length > 0 && bad.length === 0 && installSize >= 144, bad.join('; '));
  const favicon = await page.eval("document.querySelector('link[rel=icon]')?.href ?? ''");
  check('the page\'s favicon is one of them', m.icons.some((i) => new URL(i.src, base).href === favicon), favicon);
  // What would keep the browser from offering to install the app.
  const { installabilityErrors } = await page.send('Page.getInstallabilityErrors');
  check('the browser finds no reason not to install it', installabilityErrors.length === 0,
    installabilityErrors.map((e) => e.errorId).join(', '));
}

async function offline() {
  await open('/cordelune.html');
  check('the designer\'s page draws its first frame, online', !(await showsFirstFrame()));
  const wasm = responses.find((r) => r.url.endsWith('/cordelune.wasm'));
  check('its program came compressed', ['br', 'gzip'].includes(wasm?.headers['content-encoding'] ??
    wasm?.headers['Content-Encoding']), JSON.stringify(wasm?.headers));
  const control = await page.waitFor('navigator.serviceWorker.controller !== null', 20000).then(() => '', (e) => e.message);
  check('the service worker takes control of the page that installed it', !control, control);
  await manifest();

  // Only the service worker's cache may serve now: not the server, not the network,
  // not the browser's HTTP cache (which would serve a reload offline by itself).
  await stop(server);
  await page.send('Network.clearBrowserCache');
  await page.send('Network.emulateNetworkConditions',
    { offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
  await open('/cordelune.html');
  const problem = await showsFirstFrame();
  check('offline, with the server stopped, a reload still draws the first frame, pixel for pixel', !problem, problem);
  const fromNetwork = responses.filter((r) => !r.fromServiceWorker).map((r) => r.url);
  check('... every file from the service worker', responses.length >= 4 && fromNetwork.length === 0,
    `${responses.length} responses; not from the worker: ${fromNetwork}`);
  await page.send('Network.emulateNetworkConditions',
    { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
}

// A new build: a page changed, the worker written again as the build writes it.
async function update() {
  const cacheNames = `caches.keys().then((k) => k.filter((n) => n.startsWith('cordelune ')))`;
  const before = await page.eval(cacheNames);
  const worker = readFileSync(join(site, 'zorve_worker.js'), 'utf8');
  const precache = JSON.parse(`[${/const PRECACHE = \[(.*)\];/.exec(worker)[1]}]`);
  const pagePath = join(site, 'cordelune.html');
  writeFileSync(pagePath, readFileSync(pagePath, 'utf8').replace('</body>', '<p id="new-build">a new build</p>\n</body>'));
  const rebuilt = spawnSync(process.execPath, [join(ROOT, 'web/site.mjs'), 'worker', site,
    join(ROOT, 'web/zorve_worker.js'), 'zorve_worker.js', ...precache], { encoding: 'utf8' });
  check('the site step writes a worker of a new version for the changed site', rebuilt.status === 0 &&
    readFileSync(join(site, 'zorve_worker.js'), 'utf8') !== worker, rebuilt.stderr);
  ({ server } = await serve(site, port));
  // This load is served from the old cache; the browser finds the new worker meanwhile.
  await open('/cordelune.html');
  await page.waitFor("document.getElementById('zorve-update')?.textContent.includes('reload')", 20000)
    .then(() => check('the new worker takes over and the page says to reload', true),
      (e) => check('the new worker takes over and the page says to reload', false, e.message));
  await open('/cordelune.html');
  const shown = await page.eval("document.getElementById('new-build') !== null");
  const after = await page.eval(cacheNames);
  check('the next load shows the new build, from the one new cache', shown &&
    after.length === 1 && before.length === 1 && after[0] !== before[0], `${before} -> ${after}`);
  check('... and draws its first frame', !(await showsFirstFrame()));
}

await runSessions([['compression', compression], ['offline', offline], ['update', update]]);
check('no errors in the page', pageErrors.length === 0, pageErrors.join('\n'));
await browser.close();
await stop(server);
finish();
