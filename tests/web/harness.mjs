// What the browser tests share besides the canvas: checks counted and printed one a
// line, sessions of checks run in turn, a folder served as a static host serves it
// (web/serve.mjs), and a browser with a page whose errors are kept.
import { spawn } from 'node:child_process';
import { join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { Browser } from './cdp.mjs';

export const ROOT = resolve(fileURLToPath(import.meta.url), '../../..');

let passed = 0, failed = 0;
// Counts and prints one check; gives back whether it passed.
export function check(name, ok, detail = '') {
  if (ok) ++passed;
  else ++failed;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${!ok && detail ? ': ' + detail : ''}`);
  return ok;
}

// Runs each [name, async function] in turn: one that throws is a failed check, and the
// next runs all the same.
export async function runSessions(sessions) {
  for (const [name, session] of sessions) {
    try {
      await session();
    } catch (e) {
      check(`${name}: the session goes on to its end`, false, e.message);
    }
  }
}

// The last line, "N passed, M failed", and the exit status.
export function finish() {
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}

// Serves `folder` on `port` (0: a free one): { server, url }, the url without its last /.
export function serve(folder, port = 0) {
  const server = spawn(process.execPath, [join(ROOT, 'web/serve.mjs'), folder, String(port)],
    { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((res, rej) => {
    server.stdout.on('data', (d) => {
      const m = /(http:\/\/\S+)/.exec(String(d));
      if (m) res({ server, url: m[1].replace(/\/$/, '') });
    });
    server.on('exit', (code) => rej(new Error('the server ended: ' + code)));
  });
}

// Headless Chromium with one page, ended with this process at the latest: { browser,
// page, errors }, errors the page's uncaught exceptions.
export async function launchWithPage() {
  const browser = await Browser.launch();
  process.on('exit', () => browser.proc.kill());
  const page = await browser.newPage();
  const errors = [];
  browser.on('Runtime.exceptionThrown', (e) =>
    errors.push(e.exceptionDetails.exception?.description ?? e.exceptionDetails.text));
  await page.send('Runtime.enable');
  await page.send('Page.enable');
  return { browser, page, errors };
}
