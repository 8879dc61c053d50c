// A small Chrome DevTools Protocol client: starts Debian's Chromium headless and drives
// pages through flat sessions. Node's own WebSocket where it has one (Node 22, or 20
// with --experimental-websocket), else Debian's node-ws through NODE_PATH.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

function webSocketClass() {
  if (typeof globalThis.WebSocket === 'function') return globalThis.WebSocket;
  return createRequire(import.meta.url)('ws'); // require() honours NODE_PATH, import does not
}

export const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';

const FLAGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-default-apps', '--mute-audio', '--hide-scrollbars', '--window-size=1100,900',
];

export class Browser {
  static async launch() {
    const profile = mkdtempSync(join(tmpdir(), 'zorve-chromium-'));
    const proc = spawn(CHROMIUM, [...FLAGS, `--user-data-dir=${profile}`, '--remote-debugging-port=0',
      'about:blank'], { stdio: ['ignore', 'ignore', 'pipe'] });
    const url = await new Promise((resolve, reject) => {
      let log = '';
      const timer = setTimeout(() => reject(new Error('chromium did not start:\n' + log)), 30000);
      proc.stderr.on('data', (d) => {
        log += d;
        const m = /DevTools listening on (ws:\/\/\S+)/.exec(log);
        if (m) {
          clearTimeout(timer);
          resolve(m[1]);
        }
      });
      proc.on('exit', (code) => reject(new Error(`chromium exited (${code}):\n${log}`)));
    });
    proc.stderr.resume();
    const browser = new Browser(proc, profile);
    await new Promise((resolve, reject) => {
      const WS = webSocketClass();
      browser.ws = new WS(url);
      browser.ws.onopen = resolve;
      browser.ws.onerror = (e) => reject(new Error('websocket: ' + (e.message ?? 'error')));
      browser.ws.onmessage = (m) => browser.dispatch(JSON.parse(m.data));
    });
    return browser;
  }

  constructor(proc, profile) {
    this.proc = proc;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = new Set();
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const p = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (message.error) p.reject(new Error(`${p.method}: ${message.error.message}`));
      else p.resolve(message.result);
      return;
    }
    for (const listener of [...this.listeners]) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    this.ws.send(JSON.stringify({ id, method, params, sessionId }));
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject, method }));
  }

  // Calls fn(params, sessionId) for every event named `method`; returns the remover.
  on(method, fn) {
    const listener = (m) => { if (m.method === method) fn(m.params, m.sessionId); };
    this.listeners.add(listener);
    return () => this.listeners.delete(listener);
  }

  // The params of the first event named `method` that `accept` takes.
  waitEvent(method, accept = () => true, timeoutMs = 20000) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        remove();
        reject(new Error('timed out waiting for ' + method));
      }, timeoutMs);
      const remove = this.on(method, (params) => {
        if (!accept(params)) return;
        clearTimeout(timer);
        remove();
        resolve(params);
      });
    });
  }

  async newPage() {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    return new Page(this, sessionId);
  }

  async close() {
    try {
      await this.send('Browser.close');
    } catch { /* already gone */ }
    await new Promise((r) => (this.proc.exitCode !== null ? r() : this.proc.on('exit', r)));
    rmSync(this.profile, { recursive: true, force: true });
  }
}

export class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
  }

  send(method, params) { return this.browser.send(method, params, this.sessionId); }

  async eval(expression) {
    const r = await this.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
    if (r.exceptionDetails)
      throw new Error('in the page: ' + (r.exceptionDetails.exception?.description ?? r.exceptionDetails.text));
    return r.result.value;
  }

  // Resolves with the expression's value once it is truthy; the page is asked again
  // at each of its animation frames, so no time is guessed.
  async waitFor(expression, timeoutMs = 20000) {
    const end = Date.now() + timeoutMs;
    for (;;) {
      // An expression that throws (a page whose body is not parsed yet) is not true yet;
      // thrown inside the frame callback it would leave the promise unsettled for ever.
      const v = await this.eval(`new Promise((resolve) => requestAnimationFrame(() => {
        try { resolve(${expression}); } catch { resolve(false); }
      }))`);
      if (v) return v;
      if (Date.now() > end) throw new Error('timed out waiting for ' + expression);
    }
  }

  async mouse(type, x, y) {
    await this.send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
  }

  async click(x, y) {
    await this.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y });
    await this.mouse('mousePressed', x, y);
    await this.mouse('mouseReleased', x, y);
  }

  // One key: down then up. modifiers: 2 Ctrl, 8 Shift (CDP's bits).
  async key(key, { code, vk, text, modifiers = 0, up = true } = {}) {
    const event = { key, code, windowsVirtualKeyCode: vk, nativeVirtualKeyCode: vk, modifiers };
    await this.send('Input.dispatchKeyEvent', text ? { type: 'keyDown', text, unmodifiedText: text, ...event }
      : { type: 'rawKeyDown', ...event });
    if (up) await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...event });
  }

  async keyUp(key, { code, vk, modifiers = 0 } = {}) {
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', key, code, windowsVirtualKeyCode: vk,
      nativeVirtualKeyCode: vk, modifiers });
  }

  // Ctrl held down, a letter pressed, Ctrl released: as a person types a shortcut.
  async ctrl(letter) {
    const upper = letter.toUpperCase();
    await this.key('Control', { code: 'ControlLeft', vk: 17, modifiers: 2, up: false });
    await this.key(letter.toLowerCase(), { code: 'Key' + upper, vk: upper.charCodeAt(0), modifiers: 2 });
    await this.keyUp('Control', { code: 'ControlLeft', vk: 17 });
  }

  // Letters, digits, space and punctuation, each a key of its own (Shift for capitals).
  async type(text) {
    for (const ch of text) {
      const upper = ch.toUpperCase();
      const letter = /^[A-Za-z]$/.test(ch);
      const capital = letter && ch !== ch.toLowerCase();
      if (capital) await this.key('Shift', { code: 'ShiftLeft', vk: 16, modifiers: 8, up: false });
      await this.key(ch, {
        text: ch,
        code: letter ? 'Key' + upper : /^[0-9]$/.test(ch) ? 'Digit' + ch : ch === ' ' ? 'Space' : undefined,
        vk: letter ? upper.charCodeAt(0) : /^[0-9 ]$/.test(ch) ? ch.charCodeAt(0) : 0,
        modifiers: capital ? 8 : 0,
      });
      if (capital) await this.keyUp('Shift', { code: 'ShiftLeft', vk: 16 });
    }
  }

  async screenshot() {
    const shot = await this.send('Page.captureScreenshot', { format: 'png' });
    return Buffer.from(shot.data, 'base64');
  }
}
