// The page side of the web presenter (linked in front of the program's own script).
//
// Each top-level window of the program is a frame in the page element #zorve-screen: a
// title bar with a close box, the menu bar when the window has a menu, and a <canvas>
// showing the client area. A modal dialog is an HTML <dialog> whose fields and buttons
// stand where the dialog's controls are. Handlers only queue what the person does;
// the program takes the queue (takeInput) when it looks for input, and its waits
// (wait) end when something is queued or their time is up.
'use strict';

var ZorveWeb = (() => {
  const INPUT_MOUSE = 1, INPUT_KEY = 2, INPUT_COMMAND = 3, INPUT_CLOSE = 4, INPUT_TEXT = 5,
    INPUT_FOCUS = 6;
  const WM_KEYDOWN = 0x100, WM_KEYUP = 0x101, WM_MOUSEMOVE = 0x200, WM_LBUTTONDOWN = 0x201,
    WM_LBUTTONUP = 0x202;
  const VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_ESCAPE = 0x1B;
  const MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_POPUP = 0x10,
    MF_SEPARATOR = 0x800;
  const ES_MULTILINE = 0x4, BS_DEFPUSHBUTTON = 0x1;

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
  const frames = new Map(); // window handle -> frame
  let mainFrame = null;     // the first ordinary window: keys go there by default
  let keyTarget = 0;        // the window that gets keys
  const held = { ctrl: false, shift: false };
  let ended = false;
  // How often a wait ended because its time was up (a timer came due), for tests.
  const stats = { timeouts: 0 };

  function screen() {
    let s = document.getElementById('zorve-screen');
    if (!s) {
      s = document.createElement('main');
      s.id = 'zorve-screen';
      document.body.append(s);
    }
    return s;
  }

  function push(kind, handle, a = 0, b = 0, c = 0, text = '') {
    if (ended) return;
    queue.push({ kind, handle, a, b, c, text });
    if (wakeUp) {
      const wake = wakeUp;
      wakeUp = null;
      clearTimeout(wakeTimer);
      wake();
    }
  }

  // ---- frames of ordinary windows ------------------------------------------------

  function makeTitleBar(frame) {
    const bar = document.createElement('header');
    bar.className = 'zorve-title';
    const title = document.createElement('span');
    const close = document.createElement('button');
    close.type = 'button';
    close.className = 'zorve-close';
    close.title = 'Close';
    close.textContent = '\u00d7';
    close.addEventListener('click', () => push(INPUT_CLOSE, frame.handle));
    bar.append(title, close);
    frame.titleText = title;
    return bar;
  }

  function makeWindowFrame(d) {
    const frame = { handle: d.handle, dialog: false, menuJson: 'null', width: -1, height: -1 };
    const el = document.createElement('section');
    el.className = 'zorve-window';
    el.dataset.handle = String(d.handle);
    frame.el = el;
    frame.menubar = document.createElement('nav');
    frame.menubar.className = 'zorve-menubar';
    frame.menubar.hidden = true;
    frame.canvas = document.createElement('canvas');
    frame.canvas.tabIndex = 0;
    frame.ctx = frame.canvas.getContext('2d');
    el.append(makeTitleBar(frame), frame.menubar, frame.canvas);
    el.addEventListener('mousedown', () => takeKeys(frame.handle), true);
    hookMouse(frame);
    screen().append(el);
    if (!mainFrame) mainFrame = frame;
    return frame;
  }

  // Client coordinates of a mouse event, in canvas pixels whatever its CSS size.
  function clientPoint(frame, e) {
    const c = frame.canvas;
    return {
      x: Math.floor(e.offsetX * c.width / Math.max(c.clientWidth, 1)),
      y: Math.floor(e.offsetY * c.height / Math.max(c.clientHeight, 1)),
    };
  }

  function hookMouse(frame) {
    const c = frame.canvas;
    let last = null;
    c.addEventListener('mousedown', (e) => {
      closeMenus();
      if (e.button !== 0) return;
      e.preventDefault(); // no text selection; the canvas takes the focus below
      c.focus();
      const p = clientPoint(frame, e);
      push(INPUT_MOUSE, frame.handle, WM_LBUTTONDOWN, p.x, p.y);
    });
    c.addEventListener('mouseup', (e) => {
      if (e.button !== 0) return;
      const p = clientPoint(frame, e);
      push(INPUT_MOUSE, frame.handle, WM_LBUTTONUP, p.x, p.y);
    });
    c.addEventListener('mousemove', (e) => {
      const p = clientPoint(frame, e);
      if (last && last.x === p.x && last.y === p.y) return;
      last = p;
      push(INPUT_MOUSE, frame.handle, WM_MOUSEMOVE, p.x, p.y);
    });
    c.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  function syncWindowFrame(frame, d) {
    frame.titleText.textContent = d.title;
    frame.el.hidden = !d.visible;
    syncMenu(frame, d.menu);
    const w = Math.max(d.width, 0), h = Math.max(d.height, 0);
    if (w === frame.width && h === frame.height) return false;
    frame.width = w;
    frame.height = h;
    // A new size clears the canvas: the program's pixels are shown again whole.
    frame.canvas.width = w;
    frame.canvas.height = h;
    return true;
  }

  // ---- menu bars -----------------------------------------------------------------

  // "&Logging\tCtrl+L": the text with its mnemonic underlined, and the shortcut text.
  function menuLabel(text) {
    const tab = text.indexOf('\t');
    const label = tab < 0 ? text : text.slice(0, tab);
    const span = document.createElement('span');
    span.className = 'zorve-label';
    for (let i = 0; i < label.length; ++i) {
      if (label[i] === '&' && i + 1 < label.length) {
        ++i;
        if (label[i] !== '&') {
          const u = document.createElement('u');
          u.textContent = label[i];
          span.append(u);
          continue;
        }
      }
      span.append(label[i]);
    }
    return { label: span, shortcut: tab < 0 ? '' : text.slice(tab + 1) };
  }

  function menuItems(frame, items) {
    const list = document.createElement('div');
    list.className = 'zorve-menu-items';
    list.setAttribute('role', 'menu');
    for (const item of items) {
      if (item.flags & MF_SEPARATOR) {
        const line = document.createElement('hr');
        line.className = 'zorve-separator';
        list.append(line);
        continue;
      }
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'zorve-menu-item';
      const { label, shortcut } = menuLabel(item.text);
      const check = document.createElement('span');
      check.className = 'zorve-check';
      check.textContent = item.flags & MF_CHECKED ? '\u2713' : '';
      const keys = document.createElement('span');
      keys.className = 'zorve-shortcut';
      keys.textContent = shortcut;
      button.append(check, label, keys);
      button.disabled = (item.flags & (MF_GRAYED | MF_DISABLED)) !== 0;
      button.dataset.id = String(item.id);
      if (item.flags & MF_POPUP) {
        const sub = document.createElement('div');
        sub.className = 'zorve-submenu';
        sub.append(button, menuItems(frame, item.items || []));
        list.append(sub);
        continue;
      }
      button.setAttribute('role', 'menuitemcheckbox');
      button.setAttribute('aria-checked', item.flags & MF_CHECKED ? 'true' : 'false');
      button.addEventListener('click', () => {
        closeMenus();
        push(INPUT_COMMAND, frame.handle, item.id);
      });
      list.append(button);
    }
    return list;
  }

  function syncMenu(frame, menu) {
    const json = JSON.stringify(menu);
    if (json === frame.menuJson) return;
    frame.menuJson = json;
    const open = [...frame.menubar.children].findIndex((m) => m.classList.contains('open'));
    frame.menubar.replaceChildren();
    frame.menubar.hidden = !menu;
    if (!menu) return;
    menu.forEach((top, index) => {
      const m = document.createElement('div');
      m.className = 'zorve-menu';
      const title = document.createElement('button');
      title.type = 'button';
      title.className = 'zorve-menu-title';
      title.append(menuLabel(top.text).label);
      title.disabled = (top.flags & (MF_GRAYED | MF_DISABLED)) !== 0;
      if (top.flags & MF_POPUP) {
        title.setAttribute('aria-haspopup', 'menu');
        m.append(title, menuItems(frame, top.items || []));
        title.addEventListener('click', () => {
          const wasOpen = m.classList.contains('open');
          closeMenus();
          if (!wasOpen) m.classList.add('open');
        });
        // Moving along the bar while a menu is open opens the one under the pointer.
        title.addEventListener('mouseenter', () => {
          if (frame.menubar.querySelector('.zorve-menu.open') && !m.classList.contains('open')) {
            closeMenus();
            m.classList.add('open');
          }
        });
      } else {
        m.append(title);
        title.addEventListener('click', () => push(INPUT_COMMAND, frame.handle, top.id));
      }
      if (index === open) m.classList.add('open');
      frame.menubar.append(m);
    });
  }

  function closeMenus() {
    for (const m of document.querySelectorAll('.zorve-menu.open')) m.classList.remove('open');
  }

  // ---- dialogs -------------------------------------------------------------------

  function makeDialogFrame(d) {
    const frame = { handle: d.handle, dialog: true, controls: [], shown: false };
    const el = document.createElement('dialog');
    el.className = 'zorve-dialog';
    el.dataset.handle = String(d.handle);
    frame.el = el;
    frame.client = document.createElement('div');
    frame.client.className = 'zorve-client';
    el.append(makeTitleBar(frame), frame.client);
    // Enter answers with the default button and Escape is the dialog's too: both go to
    // the dialog, which decides. Stopping Escape here also keeps the browser from
    // closing the <dialog> itself.
    const dialogKey = (e) => (e.key === 'Enter' && !e.isComposing ? VK_RETURN
      : e.key === 'Escape' ? VK_ESCAPE : 0);
    el.addEventListener('keydown', (e) => {
      // The browser's own Ctrl shortcuts (save, print, find, ...) mean nothing here;
      // those that edit the field keep working.
      if ((e.ctrlKey || e.metaKey) && !['a', 'c', 'v', 'x', 'z'].includes(e.key.toLowerCase())) {
        e.preventDefault();
      }
      const vk = dialogKey(e);
      if (!vk) return;
      e.preventDefault();
      push(INPUT_KEY, frame.handle, WM_KEYDOWN, vk, 0);
    });
    el.addEventListener('keyup', (e) => {
      const vk = dialogKey(e);
      if (!vk) return;
      e.preventDefault();
      push(INPUT_KEY, frame.handle, WM_KEYUP, vk, 0);
    });
    el.addEventListener('cancel', (e) => e.preventDefault());
    // Only the program ends its dialog: closed any other way, it opens again.
    el.addEventListener('close', () => {
      if (frame.shown && frames.get(frame.handle) === frame) el.showModal();
    });
    screen().append(el);
    return frame;
  }

  function controlElement(frame, c, fontSize) {
    let el;
    if (c.class === 'Edit') {
      el = document.createElement(c.style & ES_MULTILINE ? 'textarea' : 'input');
      if (el.tagName === 'INPUT') el.type = 'text';
      el.spellcheck = false;
      el.autocomplete = 'off';
      el.addEventListener('input', () => {
        control.text = latin1(el.value);
        push(INPUT_TEXT, c.handle, 0, 0, 0, control.text);
      });
    } else if (c.class === 'Button') {
      el = document.createElement('button');
      el.type = 'button';
      if ((c.style & 0x0F) === BS_DEFPUSHBUTTON) el.classList.add('zorve-default');
      // What the platform's button acts on: the left button released over it.
      el.addEventListener('click', () => push(INPUT_MOUSE, c.handle, WM_LBUTTONUP, 1, 1));
    } else {
      // Static texts, and controls of classes the presenter does not know, which show
      // their text at least.
      el = document.createElement('div');
      el.className = 'zorve-static';
      el.style.textAlign = ['left', 'center', 'right', 'left'][c.style & 0x3];
    }
    el.classList.add('zorve-control');
    Object.assign(el.style, {
      left: c.x + 'px', top: c.y + 'px', width: c.width + 'px', height: c.height + 'px',
      fontSize: fontSize + 'px',
    });
    el.dataset.handle = String(c.handle);
    el.dataset.id = String(c.id);
    const control = { handle: c.handle, el, text: null, editable: c.class === 'Edit' };
    return control;
  }

  function showText(control, text) {
    control.text = text;
    if (control.editable) control.el.value = text;
    else control.el.textContent = text;
  }

  function syncDialogFrame(frame, d) {
    frame.titleText.textContent = d.title;
    Object.assign(frame.client.style, { width: d.width + 'px', height: d.height + 'px' });
    const same = d.controls.length === frame.controls.length &&
      d.controls.every((c, i) => c.handle === frame.controls[i].handle);
    if (!same) {
      // The dialog font's em is about five sixths of its cell height.
      const fontSize = Math.min(Math.max(Math.round(d.font_height * 5 / 6), 10), 20);
      frame.controls = d.controls.map((c) => controlElement(frame, c, fontSize));
      frame.client.replaceChildren(...frame.controls.map((c) => c.el));
    }
    d.controls.forEach((c, i) => {
      const control = frame.controls[i];
      if (control.text !== c.text) showText(control, c.text);
    });
    if (d.visible && !frame.shown) {
      frame.shown = true;
      placeDialog(frame, d);
      frame.el.showModal();
      const focus = frame.controls.find((c) => c.handle === d.focus) ||
        frame.controls.find((c) => c.editable);
      if (focus) focus.el.focus();
    } else if (!d.visible && frame.shown) {
      frame.shown = false;
      frame.el.close();
    }
    return false;
  }

  // Where the program put the dialog relative to its main window, over that window's
  // frame in the page (the page lays windows out itself).
  function placeDialog(frame, d) {
    if (!mainFrame || !mainFrame.view || mainFrame.el.hidden) return;
    const r = mainFrame.canvas.getBoundingClientRect();
    const left = r.left + d.x - mainFrame.view.x;
    const top = r.top + d.y - mainFrame.view.y;
    if (left < 0 || top < 0 || left + d.width > innerWidth || top + d.height > innerHeight) return;
    Object.assign(frame.el.style, { margin: '0', left: left + 'px', top: top + 'px' });
  }

  // ---- keys and focus ------------------------------------------------------------

  function latin1(text) {
    let out = '';
    for (const ch of text) {
      const code = ch.codePointAt(0);
      out += code <= 0xFF ? ch : '?';
    }
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

  function takeKeys(handle) {
    if (handle === keyTarget) return;
    keyTarget = handle;
    push(INPUT_FOCUS, handle, 1);
  }

  // Ctrl and Shift as the program knows them follow the key event's own state: a press
  // or release that happened while the page had no focus is made up for here.
  function syncModifier(name, vk, down) {
    if (held[name] === down) return;
    held[name] = down;
    push(INPUT_KEY, keyTarget, down ? WM_KEYDOWN : WM_KEYUP, vk, 0);
  }

  // ---- the menu bar from the keyboard: Alt and an underlined letter open a menu, the
  // arrows move through it, Enter or an item's letter picks, Escape closes.

  // (Emscripten's optimiser, which this file passes through, knows no `?.`.)
  function mnemonicOf(el) {
    const u = el.querySelector('.zorve-label u');
    return u ? u.textContent.toLowerCase() : '';
  }

  const focusOn = (el) => el && el.focus();

  function openMenu(menu) {
    closeMenus();
    menu.classList.add('open');
    focusOn(menu.querySelector(':scope > .zorve-menu-items > .zorve-menu-item:enabled'));
  }

  // Keys for an open menu: all but Ctrl shortcuts, which still reach the program.
  function menuKey(menu, e) {
    if (e.ctrlKey || e.metaKey || e.key === 'Control' || e.key === 'Shift') return false;
    e.preventDefault();
    if (e.type !== 'keydown') return true;
    const items = [...menu.querySelectorAll(':scope > .zorve-menu-items > .zorve-menu-item:enabled')];
    const at = items.indexOf(document.activeElement);
    const menus = [...menu.parentElement.children];
    const step = (list, from, by) => list[(from + by + list.length) % list.length];
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      focusOn(step(items, at < 0 ? (e.key === 'ArrowDown' ? -1 : 0) : at, e.key === 'ArrowDown' ? 1 : -1));
    } else if (e.key === 'ArrowLeft' || e.key === 'ArrowRight') {
      openMenu(step(menus, menus.indexOf(menu), e.key === 'ArrowRight' ? 1 : -1));
    } else if (e.key === 'Enter' || e.key === ' ') {
      if (at >= 0) items[at].click();
    } else if (e.key === 'Escape') {
      closeMenus();
      const frame = frames.get(keyTarget);
      if (frame && frame.canvas) frame.canvas.focus();
    } else {
      const item = items.find((i) => mnemonicOf(i) === e.key.toLowerCase());
      if (item) item.click();
    }
    return true;
  }

  // Alt and a letter: the menu of the window's bar that the letter is underlined in.
  function menuOfMnemonic(e) {
    const target = frames.get(keyTarget);
    const frame = target && target.menuJson && target.menuJson !== 'null' ? target : mainFrame;
    if (!frame || !frame.menubar || e.key.length !== 1) return null;
    return [...frame.menubar.children].find((m) => mnemonicOf(m.firstChild) === e.key.toLowerCase() &&
      !m.firstChild.disabled) || null;
  }

  function onKey(e) {
    if (!keyTarget || document.querySelector('dialog.zorve-dialog[open]')) return;
    const t = e.target;
    // The page's own fields keep their keys; every other key is the program's.
    if (t !== document.body && t.closest && !t.closest('.zorve-window') &&
        t.closest('input, textarea, select, [contenteditable]')) return;
    // Developer tools stay reachable.
    if (e.key === 'F12' || (e.ctrlKey && e.shiftKey && (e.key === 'I' || e.key === 'J'))) return;
    const open = document.querySelector('.zorve-menu.open');
    if (open && menuKey(open, e)) return;
    const down = e.type === 'keydown';
    // Alt combinations belong to the menu bar (Win32 makes them system keys, which the
    // program does not hear). AltGr, which some systems report as Ctrl+Alt, types.
    const altGr = !!(e.getModifierState && e.getModifierState('AltGraph'));
    if (e.altKey && !altGr) {
      const menu = down ? menuOfMnemonic(e) : null;
      if (menu || e.key === 'Alt') e.preventDefault();
      if (menu) openMenu(menu);
      return;
    }
    // The browser's own Ctrl shortcuts (find, print, reload, ...) are the program's here.
    e.preventDefault();
    const vk = virtualKey(e);
    if (vk === VK_CONTROL || vk === VK_SHIFT) {
      const name = vk === VK_CONTROL ? 'ctrl' : 'shift';
      if (down && held[name]) return; // auto-repeat of a held modifier
      held[name] = down;
      push(INPUT_KEY, keyTarget, down ? WM_KEYDOWN : WM_KEYUP, vk, 0);
      return;
    }
    syncModifier('ctrl', VK_CONTROL, e.ctrlKey && !altGr);
    syncModifier('shift', VK_SHIFT, e.shiftKey);
    const character = down ? typedCharacter(e, altGr) : 0;
    if (!vk && !character) return;
    push(INPUT_KEY, keyTarget, down ? WM_KEYDOWN : WM_KEYUP, vk, character);
  }

  window.addEventListener('keydown', onKey, true);
  window.addEventListener('keyup', onKey, true);
  // Keys released while another program has the focus never arrive: the program hears
  // that the focus went, and forgets what was held.
  window.addEventListener('blur', () => {
    held.ctrl = held.shift = false;
    if (keyTarget) push(INPUT_FOCUS, keyTarget, 0);
  });
  window.addEventListener('focus', () => {
    if (keyTarget) push(INPUT_FOCUS, keyTarget, 1);
  });
  document.addEventListener('mousedown', (e) => {
    if (!e.target.closest || !e.target.closest('.zorve-menubar')) closeMenus();
  });

  // ---- called by the program (web_presenter.cpp) -----------------------------------

  function windowChanged(d) {
    let frame = frames.get(d.handle);
    if (!frame) {
      frame = d.dialog ? makeDialogFrame(d) : makeWindowFrame(d);
      frames.set(d.handle, frame);
    }
    frame.view = d;
    const fresh = frame.dialog ? syncDialogFrame(frame, d) : syncWindowFrame(frame, d);
    if (!keyTarget && !frame.dialog && d.visible) {
      keyTarget = d.handle;
      if (document.hasFocus()) push(INPUT_FOCUS, d.handle, 1);
    }
    return fresh;
  }

  function windowDestroyed(handle) {
    const frame = frames.get(handle);
    if (!frame) return;
    frames.delete(handle);
    if (frame.dialog && frame.el.open) frame.el.close();
    frame.el.remove();
    if (frame === mainFrame) mainFrame = null;
    if (keyTarget === handle) keyTarget = mainFrame ? mainFrame.handle : 0;
  }

  // Shows a rectangle of a client area: 0x00RRGGBB words in the program's memory, rows
  // `stride` words apart, onto the canvas as RGBA.
  function present(handle, pixels, stride, x, y, width, height) {
    const frame = frames.get(handle);
    if (!frame || frame.dialog || width <= 0 || height <= 0) return;
    const image = frame.ctx.createImageData(width, height);
    const out = new Uint32Array(image.data.buffer);
    const heap = HEAPU32; // looked up on each call: memory growth replaces it
    for (let row = 0; row < height; ++row) {
      let from = (pixels >> 2) + (y + row) * stride + x;
      let to = row * width;
      for (let col = 0; col < width; ++col) {
        const p = heap[from++];
        out[to++] = 0xFF000000 | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >>> 16) & 0xFF);
      }
    }
    frame.ctx.putImageData(image, x, y);
  }

  function takeInput(record, text, textSize) {
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

  // The program's main returns long after its first wait suspended it, to a caller
  // that no longer listens; Asyncify still says when that happens, and the program
  // then ends as it would had main returned at once.
  let watchingEnd = false;
  function watchForEnd() {
    if (watchingEnd || Asyncify.asyncPromiseHandlers) return;
    watchingEnd = true;
    Asyncify.whenDone().then((status) => {
      try {
        exit(status);
      } catch (e) {
        if (!(e instanceof ExitStatus)) throw e;
      }
    });
  }

  // Resolves when input is queued, or after timeoutMs (< 0: only on input).
  function wait(timeoutMs) {
    watchForEnd();
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

  // The program has ended: its windows stay as they were, and take no more input.
  function programEnded() {
    ended = true;
    queue.length = 0;
    closeMenus();
    for (const frame of frames.values()) {
      frame.el.classList.add('zorve-ended');
      if (frame.dialog && frame.el.open) {
        frame.shown = false;
        frame.el.close();
      }
    }
  }

  return { windowChanged, windowDestroyed, present, takeInput, wait, programEnded, stats };
})();
Module['zorve'] = ZorveWeb;
