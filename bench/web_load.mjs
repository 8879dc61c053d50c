// What loading the designer's page costs, in headless Chromium: bytes over the wire and
// the time from navigation to its first drawn frame, cold (a new browser profile: no
// HTTP cache, no service worker) and warm (the service worker in control). Figures to
// read, not a test.
//
//   node bench/web_load.mjs [BUILD_WEB_DIR] [RUNS]     (build-web, 5)
//
// The site is served by web/serve.mjs behind a counting relay, so every byte counts:
// the page's requests and the service worker's own (its install). The first frame is
// the moment the page puts the designer's frame on its canvas (its title band's grey at
// a point of the band), taken in the page itself, on the clock that starts with the
// navigation.
import { spawn } from 'node:child_process';
import { statSync } from 'node:fs';
import { loadavg } from 'node:os';
import { createConnection, createServer } from 'node:net';
import { join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { Browser } from '../tests/web/cdp.mjs';

const buildDir = resolve(process.argv[2] ?? 'build-web');
const runs = Number(process.argv[3] ?? 5);
const ROOT = resolve(fileURLToPath(import.meta.url), '../..');
const site = join(buildDir, 'site');

function serve() {
  const server = spawn(process.execPath, [join(ROOT, 'web/serve.mjs'), site, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((res, rej) => {
    server.stdout.on('data', (d) => {
      const m = /127\.0\.0\.1:(\d+)/.exec(String(d));
      if (m) res({ server, port: Number(m[1]) });
    });
    server.on('exit', (code) => rej(new Error('the server ended: ' + code)));
  });
}

// A TCP relay in front of the server that counts the bytes each way.
function relay(targetPort) {
  const counts = { down: 0, up: 0 };
  const proxy = createServer((client) => {
    const upstream = createConnection(targetPort, '127.0.0.1');
    client.on('data', (d) => { counts.up += d.length; upstream.write(d); });
    upstream.on('data', (d) => { counts.down += d.length; client.write(d); });
    client.on('close', () => upstream.destroy());
    upstream.on('close', () => client.destroy());
    client.on('error', () => upstream.destroy());
    upstream.on('error', () => client.destroy());
  });
  return new Promise((res) => proxy.listen(0, '127.0.0.1', () => res({ proxy, counts, port: proxy.address().port })));
}

// Run in the page before its own scripts: notes when the designer's first frame is put
// on the canvas. (547, 18) of the client area is in its title band.
const FIRST_FRAME_PROBE = `(() => {
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    if (window.zorveFirstFrame === undefined && this.canvas.width === 595) {
      const p = this.getImageData(547, 18, 1, 1).data;
      if (p[0] === 204 && p[1] === 204 && p[2] === 204) window.zorveFirstFrame = performance.now();
    }
  };
})();`;

async function load(page, url) {
  await page.send('Page.navigate', { url });
  const ms = await page.waitFor('window.zorveFirstFrame', 30000);
  return ms;
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const kb = (n) => `${(n / 1024).toFixed(1)} KiB`;

const { server, port: serverPort } = await serve();
const { proxy, counts, port } = await relay(serverPort);
const url = `http://127.0.0.1:${port}/cordelune.html`;
const cold = [], warm = [];
let coldBytes = 0, installBytes = 0, warmBytes = 0;
try {
  for (let run = 0; run < runs; ++run) {
    const browser = await Browser.launch();
    try {
      const page = await browser.newPage();
      await page.send('Page.enable');
      await page.send('Page.addScriptToEvaluateOnNewDocument', { source: FIRST_FRAME_PROBE });
      counts.down = counts.up = 0;
      cold.push(await load(page, url));
      coldBytes = counts.down;
      // The worker installs once the page has loaded; its requests count too.
      await page.waitFor('navigator.serviceWorker.controller !== null', 30000);
      installBytes = counts.down - coldBytes;
      for (let w = 0; w < 3; ++w) {
        counts.down = counts.up = 0;
        warm.push(await load(page, url));
        warmBytes = counts.down;
      }
    } finally {
      await browser.close();
    }
  }
} finally {
  proxy.close();
  server.kill();
}

const size = (name) => statSync(join(site, name)).size;
const fmt = (xs) => `median ${median(xs).toFixed(0)} ms (min ${Math.min(...xs).toFixed(0)}, max ${Math.max(...xs).toFixed(0)}, ${xs.length} loads)`;
console.log(`the designer's page, ${url.replace(/^http:\/\/[^/]+/, '')}, served by web/serve.mjs:`);
console.log(`  program: cordelune.wasm ${kb(size('cordelune.wasm'))}, as br ${kb(size('cordelune.wasm.br'))}, ` +
  `as gzip ${kb(size('cordelune.wasm.gz'))}; cordelune.js ${kb(size('cordelune.js'))}, as br ${kb(size('cordelune.js.br'))}`);
console.log(`  cold: first frame ${fmt(cold)}; ${kb(coldBytes)} transferred until it, ` +
  `${kb(installBytes)} more for the service worker's install`);
console.log(`  warm: first frame ${fmt(warm)}; ${kb(warmBytes)} transferred`);
console.log(`  aim: under 1000 ms cold: ${median(cold) < 1000 ? 'met' : 'NOT met'}`);
// The machine's other work weighs on every figure: say how busy it was.
console.log(`  load average at the end: ${loadavg().map((l) => l.toFixed(1)).join(', ')}`);
