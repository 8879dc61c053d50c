// The web presenter's input (linked in front of the program's own script, as the
// other web_*.js files): the queue that the page's handlers fill and the program takes
// when it looks for input, the program's wait on it, and keys as Win32 key codes and
// Latin-1 characters.
//
// (Emscripten's optimiser, which these files pass through, knows no `?.`.)
'use strict';

var ZorveInput = (() => {
  // What the queue holds, numbered as web_presenter.cpp reads it.
  const MOUSE = 1, KEY = 2, COMMAND = 3, CLOSE = 4, TEXT = 5, FOCUS = 6;

  // Win32 virtual-key codes of the keys with a name (KeyboardEvent.key).
  const NAMED_KEYS = {
    Backspace: 0x08, Tab: 0x09, Enter: 0x0D, Shift: 0x10, Control: 0x11, Pause: 0x13,
    CapsLock: 0x14, Escape: 0x1B, ' ': 0x20, PageUp: 0x21, PageDown: 0x22, End: 0x23,
    Home: 0x24, ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28,
    PrintScreen: 0x2C, Insert: 0x2D, Delete: 0x2E, Help: 0x2F, ContextMenu: 0x5D,
    NumLock: 0x90, ScrollLock: 0x91,
  };
  // Punctuation keys by their place on a US keyboard (KeyboardEvent.code), as VK_OEM_*.
  const OEM_KEYS = {
    Semicolon: 0xBA, Equal: 0xBB, Comma: 0xBC, Minus: 0xBD, Period: 0xBE, Slash: 0xBF,
    Backquote: 0xC0, BracketLeft: 0xDB, Backslash: 0xDC, BracketRight: 0xDD, Quote: 0xDE,
  };
  // Other layouts' letter keys (é, ß, ...) have layout-specific codes in Win32; one of
  // them is enough for their typed character to arrive.
  const VK_OEM_8 = 0xDF;

  const queue = [];
  let wakeUp = null;
  let wakeTimer = 0;
  let closed = false;
  // How often a wait ended because its time was up (a timer came due), for tests.
  const stats = { timeouts: 0 };

  function push(kind, handle, a = 0, b = 0, c = 0, text = '') {
    if (closed) return;
    queue.push({ kind, handle, a, b, c, text });
    if (wakeUp) {
      const wake = wakeUp;
      wakeUp = null;
      clearTimeout(wakeTimer);
      wake();
    }
  }

  // Moves the oldest input into the program's memory: record[0..4] (kind, window, a, b,
  // c) and, for a text, its Latin-1 characters. Returns 0 when there is none.
  function take(record, text, textSize) {
    const input = queue.shift();
    if (!input) return 0;
    const i = record >> 2;
    HEAP32[i] = input.kind;
    HEAP32[i + 1] = input.handle;
    HEAP32[i + 2] = input.a;
    HEAP32[i + 3] = input.b;
    HEAP32[i + 4] = input.c;
    const n = Math.min(input.text.length, textSize - 1);
    for (let k = 0; k < n; ++k) HEAPU8[text + k] = input.text.charCodeAt(k);
    HEAPU8[text + n] = 0;
    return 1;
  }

  // Resolves when input is queued, or after timeoutMs (< 0: only on input).
  function wait(timeoutMs) {
    if (queue.length) return Promise.resolve();
    return new Promise((resolve) => {
      wakeUp = resolve;
      if (timeoutMs >= 0) {
        wakeTimer = setTimeout(() => {
          wakeUp = null;
          ++stats.timeouts;
          resolve();
        }, timeoutMs);
      }
    });
  }

  // The program has ended: nothing more is queued.
  function close() {
    closed = true;
    queue.length = 0;
  }

  // Text in the platform's characters: what Latin-1 cannot hold is a question mark.
  function latin1(text) {
    let out = '';
    for (const ch of text) out += ch.codePointAt(0) <= 0xFF ? ch : '?';
    return out;
  }

  function virtualKey(e) {
    if (/^Key[A-Z]$/.test(e.code)) return e.code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(e.code)) return e.code.charCodeAt(5);
    if (/^Numpad[0-9]$/.test(e.code)) return 0x60 + Number(e.code[6]);
    const f = /^F([0-9]{1,2})$/.exec(e.key);
    if (f && Number(f[1]) >= 1 && Number(f[1]) <= 24) return 0x6F + Number(f[1]);
    if (e.key in NAMED_KEYS) return NAMED_KEYS[e.key];
    if (e.code in OEM_KEYS) return OEM_KEYS[e.code];
    if (/^[a-z]$/i.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
    if (/^[0-9]$/.test(e.key)) return e.key.charCodeAt(0);
    if (e.key.length === 1 && e.key.charCodeAt(0) >= 0xA0) return VK_OEM_8;
    return 0;
  }

  // The character a key types, as the platform's Latin-1 code; 0 for none or one
  // beyond Latin-1 (the platform then derives it from the key, Ctrl and Shift).
  function typedCharacter(e, altGr) {
    if (!altGr && (e.ctrlKey || e.altKey || e.metaKey)) return 0;
    const chars = [...e.key];
    if (chars.length !== 1) return 0;
    const code = chars[0].codePointAt(0);
    return code >= 0x20 && code !== 0x7F && (code < 0x80 || code >= 0xA0) && code <= 0xFF ? code : 0;
  }

  return { MOUSE, KEY, COMMAND, CLOSE, TEXT, FOCUS, push, take, wait, close, stats, latin1,
    virtualKey, typedCharacter };
})();
