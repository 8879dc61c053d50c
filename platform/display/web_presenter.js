// The page side of the web presenter, linked in front of the program's own script
// after web_input.js, web_menus.js and web_dialogs.js.
//
// Each top-level window of the program is a frame in the page element #zorve-screen: a
// title bar with a close box, the menu bar when the window has a menu, and a <canvas>
// showing the client area; a modal dialog is an HTML <dialog> (web_dialogs.js). The
// page's handlers only queue what the person does (web_input.js); the program takes
// the queue when it looks for input, and its waits end when something is queued or
// their time is up.
'use strict';

var ZorveWeb = (() => {
  const WM_KEYDOWN = 0x100, WM_KEYUP = 0x101, WM_MOUSEMOVE = 0x200;
  // Button down and up messages by the DOM's button number: left, middle, right.
  const BUTTON_DOWN = [0x201, 0x207, 0x204], BUTTON_UP = [0x202, 0x208, 0x205];
  const VK_SHIFT = 0x10, VK_CONTROL = 0x11;
  const input = ZorveInput, menus = ZorveMenus, dialogs = ZorveDialogs;

  const frames = new Map(); // window handle -> frame
  let mainFrame = null;     // the first ordinary window: the menu bar Alt opens
  let keyTarget = 0;        // the window that gets keys
  const held = { ctrl: false, shift: false };

  function screen() {
    let s = document.getElementById('zorve-screen');
    if (!s) {
      s = document.createElement('main');
      s.id = 'zorve-screen';
      document.body.append(s);
    }
    return s;
  }

  // ---- frames of ordinary windows ------------------------------------------------

  function titleBar(frame) {
    const bar = document.createElement('header');
    bar.className = 'zorve-title';
    const title = document.createElement('span');
    const close = document.createElement('button');
    close.type = 'button';
    close.className = 'zorve-close';
    close.title = 'Close';
    close.textContent = '\u00d7';
    close.addEventListener('click', () => input.push(input.CLOSE, frame.handle));
    bar.append(title, close);
    frame.titleText = title;
    return bar;
  }

  function makeWindowFrame(d) {
    const frame = { handle: d.handle, dialog: false, width: -1, height: -1 };
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
    el.append(titleBar(frame), frame.menubar, frame.canvas);
    el.addEventListener('mousedown', () => takeKeys(frame.handle), true);
    hookMouse(frame);
    if (!mainFrame) mainFrame = frame;
    return frame;
  }

  // Client coordinates of a mouse event, in canvas pixels whatever its CSS size, also
  // for an event outside the canvas (a drag that left it).
  function clientPoint(frame, e) {
    const c = frame.canvas;
    const r = c.getBoundingClientRect();
    return {
      x: Math.floor((e.clientX - r.left - c.clientLeft) * c.width / Math.max(c.clientWidth, 1)),
      y: Math.floor((e.clientY - r.top - c.clientTop) * c.height / Math.max(c.clientHeight, 1)),
    };
  }

  function hookMouse(frame) {
    const c = frame.canvas;
    let last = null;
    let held = 0;  // DOM buttons pressed on this canvas, as a bit set
    const move = (e) => {
      const p = clientPoint(frame, e);
      if (last && last.x === p.x && last.y === p.y) return;
      last = p;
      input.push(input.MOUSE, frame.handle, WM_MOUSEMOVE, p.x, p.y);
    };
    // A drag is followed past the canvas until its buttons are let go: the platform
    // passes what happens outside to a window that holds the mouse capture.
    const dragMove = (e) => { if (e.target !== c) move(e); };
    const dragUp = (e) => {
      if (e.target === c || !(held & (1 << e.button))) return;
      release(e);
    };
    const release = (e) => {
      held &= ~(1 << e.button);
      const p = clientPoint(frame, e);
      if (e.button <= 2) input.push(input.MOUSE, frame.handle, BUTTON_UP[e.button], p.x, p.y);
      if (!held) {
        window.removeEventListener('mousemove', dragMove, true);
        window.removeEventListener('mouseup', dragUp, true);
      }
    };
    c.addEventListener('mousedown', (e) => {
      menus.close();
      if (e.button > 2) return;
      e.preventDefault(); // no text selection, no scrolling by the middle button; the canvas takes the focus
      c.focus();
      if (!held) {
        window.addEventListener('mousemove', dragMove, true);
        window.addEventListener('mouseup', dragUp, true);
      }
      held |= 1 << e.button;
      const p = clientPoint(frame, e);
      input.push(input.MOUSE, frame.handle, BUTTON_DOWN[e.button], p.x, p.y);
    });
    c.addEventListener('mouseup', (e) => {
      if (e.button > 2) return;
      if (held & (1 << e.button)) {
        release(e);
        return;
      }
      const p = clientPoint(frame, e);
      input.push(input.MOUSE, frame.handle, BUTTON_UP[e.button], p.x, p.y);
    });
    c.addEventListener('mousemove', move);
    c.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  // Returns whether the canvas was made anew (created or resized, and so cleared).
  function syncWindowFrame(frame, d) {
    frame.titleText.textContent = d.title;
    frame.canvas.setAttribute('aria-label', d.title);
    frame.el.hidden = !d.visible;
    menus.sync(frame.menubar, d.menu, (id) => input.push(input.COMMAND, frame.handle, id));
    const w = Math.max(d.width, 0), h = Math.max(d.height, 0);
    if (w === frame.width && h === frame.height) return false;
    frame.width = w;
    frame.height = h;
    frame.canvas.width = w;
    frame.canvas.height = h;
    return true;
  }

  // Where the program put a dialog relative to its main window, over that window's
  // frame in the page (the page lays windows out itself).
  function placeDialog(frame, d) {
    if (!mainFrame || mainFrame.el.hidden) return;
    const r = mainFrame.canvas.getBoundingClientRect();
    const left = r.left + d.x - mainFrame.view.x;
    const top = r.top + d.y - mainFrame.view.y;
    if (left < 0 || top < 0 || left + d.width > innerWidth || top + d.height > innerHeight) return;
    Object.assign(frame.el.style, { margin: '0', left: left + 'px', top: top + 'px' });
  }

  // ---- keys and focus ------------------------------------------------------------

  function takeKeys(handle) {
    if (handle === keyTarget) return;
    keyTarget = handle;
    input.push(input.FOCUS, handle, 1);
  }

  // Ctrl and Shift as the program knows them follow the key event's own state: a press
  // or release that happened while the page had no focus is made up for here.
  function syncModifier(name, vk, down) {
    if (held[name] === down) return;
    held[name] = down;
    input.push(input.KEY, keyTarget, down ? WM_KEYDOWN : WM_KEYUP, vk, 0);
  }

  function focusKeyTarget() {
    const frame = frames.get(keyTarget);
    if (frame && frame.canvas) frame.canvas.focus();
  }

  function onKey(e) {
    if (!keyTarget || document.querySelector('dialog.zorve-dialog[open]')) return;
    const t = e.target;
    // The page's own fields keep their keys; every other key is the program's.
    if (t !== document.body && t.closest && !t.closest('.zorve-window') &&
        t.closest('input, textarea, select, [contenteditable]')) return;
    // Developer tools stay reachable (F12 is the program's, a key like the other eleven).
    if (e.ctrlKey && e.shiftKey && (e.key === 'I' || e.key === 'J')) return;
    if (menus.key(e, focusKeyTarget)) return;
    const down = e.type === 'keydown';
    // Alt combinations belong to the menu bar (Win32 makes them system keys, which the
    // program does not hear). AltGr, which some systems report as Ctrl+Alt, types.
    const altGr = !!(e.getModifierState && e.getModifierState('AltGraph'));
    if (e.altKey && !altGr) {
      const target = frames.get(keyTarget);
      const bar = target && target.menubar && !target.menubar.hidden ? target.menubar
        : mainFrame && mainFrame.menubar;
      if (e.key === 'Alt' || (down && e.key.length === 1 && bar && menus.openByMnemonic(bar, e.key))) {
        e.preventDefault();
      }
      return;
    }
    // The browser's own Ctrl shortcuts (find, print, reload, ...) are the program's here.
    e.preventDefault();
    const vk = input.virtualKey(e);
    if (vk === VK_CONTROL || vk === VK_SHIFT) {
      const name = vk === VK_CONTROL ? 'ctrl' : 'shift';
      if (down && held[name]) return; // auto-repeat of a held modifier
      held[name] = down;
      input.push(input.KEY, keyTarget, down ? WM_KEYDOWN : WM_KEYUP, vk, 0);
      return;
    }
    syncModifier('ctrl', VK_CONTROL, e.ctrlKey && !altGr);
    syncModifier('shift', VK_SHIFT, e.shiftKey);
    const character = down ? input.typedCharacter(e, altGr) : 0;
    if (!vk && !character) return;
    input.push(input.KEY, keyTarget, down ? WM_KEYDOWN : WM_KEYUP, vk, character);
  }

  window.addEventListener('keydown', onKey, true);
  window.addEventListener('keyup', onKey, true);
  // Keys released while another program has the focus never arrive: the program hears
  // that the focus went, and forgets what was held.
  window.addEventListener('blur', () => {
    held.ctrl = held.shift = false;
    if (keyTarget) input.push(input.FOCUS, keyTarget, 0);
  });
  window.addEventListener('focus', () => {
    if (keyTarget) input.push(input.FOCUS, keyTarget, 1);
  });
  document.addEventListener('mousedown', (e) => {
    if (!e.target.closest || !e.target.closest('.zorve-menubar')) menus.close();
  });

  // ---- called by the program (web_presenter.cpp) -----------------------------------

  // Returns whether the window's canvas was made anew, to be shown whole.
  function windowChanged(d) {
    let frame = frames.get(d.handle);
    if (!frame) {
      frame = d.dialog ? dialogs.make(d, titleBar) : makeWindowFrame(d);
      frames.set(d.handle, frame);
      screen().append(frame.el);
    }
    frame.view = d;
    if (frame.dialog) {
      dialogs.sync(frame, d, placeDialog);
      return false;
    }
    const fresh = syncWindowFrame(frame, d);
    if (!keyTarget && d.visible) {
      keyTarget = d.handle;
      if (document.hasFocus()) input.push(input.FOCUS, d.handle, 1);
    }
    return fresh;
  }

  function windowDestroyed(handle) {
    const frame = frames.get(handle);
    if (!frame) return;
    frames.delete(handle);
    if (frame.dialog) dialogs.hide(frame);
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

  function wait(timeoutMs) {
    watchForEnd();
    return input.wait(timeoutMs);
  }

  // The program has ended: its windows stay as they were, and take no more input.
  function programEnded() {
    input.close();
    menus.close();
    for (const frame of frames.values()) {
      frame.el.classList.add('zorve-ended');
      if (frame.dialog) dialogs.hide(frame);
    }
  }

  return { windowChanged, windowDestroyed, present, takeInput: input.take, wait, programEnded,
    stats: input.stats };
})();
Module['zorve'] = ZorveWeb;
