// Modal dialogs of the web presenter: a platform dialog (window class "#32770") as an
// HTML <dialog> whose fields and buttons stand where the dialog's controls are.
//
// The platform runs the dialog (its modal loop, its keyboard interface, its end); this
// file only shows it and reports what the person does: an edited field as its new
// text, a pressed button as the button's click, Enter and Escape as the dialog's keys,
// the close box as the dialog's close request.
'use strict';

var ZorveDialogs = (() => {
  const WM_KEYDOWN = 0x100, WM_KEYUP = 0x101, WM_LBUTTONUP = 0x202;
  const VK_RETURN = 0x0D, VK_ESCAPE = 0x1B;
  const ES_MULTILINE = 0x4, BS_DEFPUSHBUTTON = 0x1;
  const input = ZorveInput;

  // A dialog's frame: `titleBar` is the window title bar with its close box, which the
  // caller makes as for its other windows.
  function make(d, titleBar) {
    const frame = { handle: d.handle, dialog: true, controls: [], shown: false };
    const el = document.createElement('dialog');
    el.className = 'zorve-dialog';
    el.dataset.handle = String(d.handle);
    frame.el = el;
    frame.client = document.createElement('div');
    frame.client.className = 'zorve-client';
    el.append(titleBar(frame), frame.client);
    // Enter (the default button) and Escape go to the dialog, which decides what they
    // do; stopping Escape also keeps the browser from closing the <dialog> itself.
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
      input.push(input.KEY, frame.handle, WM_KEYDOWN, vk, 0);
    });
    el.addEventListener('keyup', (e) => {
      const vk = dialogKey(e);
      if (!vk) return;
      e.preventDefault();
      input.push(input.KEY, frame.handle, WM_KEYUP, vk, 0);
    });
    el.addEventListener('cancel', (e) => e.preventDefault());
    // Only the program ends its dialog: closed any other way, it opens again.
    el.addEventListener('close', () => {
      if (frame.shown) el.showModal();
    });
    return frame;
  }

  function control(c, fontSize) {
    const made = { handle: c.handle, el: null, text: null, editable: c.class === 'Edit' };
    let el;
    if (made.editable) {
      el = document.createElement(c.style & ES_MULTILINE ? 'textarea' : 'input');
      if (el.tagName === 'INPUT') el.type = 'text';
      el.spellcheck = false;
      el.autocomplete = 'off';
      el.addEventListener('input', () => {
        made.text = input.latin1(el.value);
        input.push(input.TEXT, c.handle, 0, 0, 0, made.text);
      });
    } else if (c.class === 'Button') {
      el = document.createElement('button');
      el.type = 'button';
      if ((c.style & 0x0F) === BS_DEFPUSHBUTTON) el.classList.add('zorve-default');
      // What the platform's button acts on: the left button released over it.
      el.addEventListener('click', () => input.push(input.MOUSE, c.handle, WM_LBUTTONUP, 1, 1));
    } else {
      // Static texts, and controls of classes the presenter does not know, which show
      // their text at least.
      el = document.createElement('div');
      el.className = 'zorve-static';
      el.style.textAlign = ['left', 'center', 'right', 'left'][c.style & 0x3];  // SS_LEFT, ...
    }
    el.classList.add('zorve-control');
    Object.assign(el.style, {
      left: c.x + 'px', top: c.y + 'px', width: c.width + 'px', height: c.height + 'px',
      fontSize: fontSize + 'px',
    });
    el.dataset.handle = String(c.handle);
    el.dataset.id = String(c.id);
    made.el = el;
    return made;
  }

  function showText(made, text) {
    made.text = text;
    if (made.editable) made.el.value = text;
    else made.el.textContent = text;
  }

  // Takes over the dialog's title, size, controls and visibility. `place(frame, d)` puts
  // a dialog that is about to show where it belongs on the page.
  function sync(frame, d, place) {
    frame.titleText.textContent = d.title;
    Object.assign(frame.client.style, { width: d.width + 'px', height: d.height + 'px' });
    const same = d.controls.length === frame.controls.length &&
      d.controls.every((c, i) => c.handle === frame.controls[i].handle);
    if (!same) {
      // The dialog font's em is about five sixths of its cell height.
      const fontSize = Math.min(Math.max(Math.round(d.font_height * 5 / 6), 10), 20);
      frame.controls = d.controls.map((c) => control(c, fontSize));
      frame.client.replaceChildren(...frame.controls.map((c) => c.el));
    }
    // Texts the program set since; a field's own typing is already there.
    d.controls.forEach((c, i) => {
      if (frame.controls[i].text !== c.text) showText(frame.controls[i], c.text);
    });
    if (d.visible && !frame.shown) {
      frame.shown = true;
      place(frame, d);
      frame.el.showModal();
      const focus = frame.controls.find((c) => c.handle === d.focus) ||
        frame.controls.find((c) => c.editable);
      if (focus) focus.el.focus();
    } else if (!d.visible && frame.shown) {
      hide(frame);
    }
  }

  function hide(frame) {
    frame.shown = false;
    if (frame.el.open) frame.el.close();
  }

  return { make, sync, hide };
})();
