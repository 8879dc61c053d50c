// Menu bars of the web presenter: a window's Win32 menu as HTML buttons, with the
// mnemonics underlined, check marks, greyed items and shortcut texts; used with the
// mouse, or from the keyboard (Alt and an underlined letter opens a menu, the arrows
// move through it, Enter or an item's letter picks, Escape closes).
'use strict';

var ZorveMenus = (() => {
  const MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_POPUP = 0x10, MF_SEPARATOR = 0x800;

  // "&Logging\tCtrl+L": the text with its mnemonic underlined, and the shortcut text.
  function label(text) {
    const tab = text.indexOf('\t');
    const shown = tab < 0 ? text : text.slice(0, tab);
    const span = document.createElement('span');
    span.className = 'zorve-label';
    for (let i = 0; i < shown.length; ++i) {
      if (shown[i] === '&' && i + 1 < shown.length) {
        ++i;
        if (shown[i] !== '&') {
          const u = document.createElement('u');
          u.textContent = shown[i];
          span.append(u);
          continue;
        }
      }
      span.append(shown[i]);
    }
    return { label: span, shortcut: tab < 0 ? '' : text.slice(tab + 1) };
  }

  const disabled = (flags) => (flags & (MF_GRAYED | MF_DISABLED)) !== 0;

  function itemList(items, pick) {
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
      const parts = label(item.text);
      const check = document.createElement('span');
      check.className = 'zorve-check';
      check.textContent = item.flags & MF_CHECKED ? '\u2713' : '';
      const keys = document.createElement('span');
      keys.className = 'zorve-shortcut';
      keys.textContent = parts.shortcut;
      button.append(check, parts.label, keys);
      button.disabled = disabled(item.flags);
      button.dataset.id = String(item.id);
      if (item.flags & MF_POPUP) {
        const sub = document.createElement('div');
        sub.className = 'zorve-submenu';
        sub.append(button, itemList(item.items || [], pick));
        list.append(sub);
        continue;
      }
      button.setAttribute('role', 'menuitemcheckbox');
      button.setAttribute('aria-checked', item.flags & MF_CHECKED ? 'true' : 'false');
      button.addEventListener('click', () => {
        close();
        pick(item.id);
      });
      list.append(button);
    }
    return list;
  }

  // Builds the bar anew when the menu changed; a menu that was open stays open.
  // pick(id) is called with the id of the item the person picks.
  function sync(bar, menu, pick) {
    const json = JSON.stringify(menu);
    if (json === bar.dataset.menu) return;
    bar.dataset.menu = json;
    const open = [...bar.children].findIndex((m) => m.classList.contains('open'));
    bar.replaceChildren();
    bar.hidden = !menu;
    if (!menu) return;
    menu.forEach((top, index) => {
      const m = document.createElement('div');
      m.className = 'zorve-menu';
      const title = document.createElement('button');
      title.type = 'button';
      title.className = 'zorve-menu-title';
      title.append(label(top.text).label);
      title.disabled = disabled(top.flags);
      if (top.flags & MF_POPUP) {
        title.setAttribute('aria-haspopup', 'menu');
        m.append(title, itemList(top.items || [], pick));
        title.addEventListener('click', () => {
          const wasOpen = m.classList.contains('open');
          close();
          if (!wasOpen) m.classList.add('open');
        });
        // Moving along the bar while a menu is open opens the one under the pointer.
        title.addEventListener('mouseenter', () => {
          if (bar.querySelector('.zorve-menu.open') && !m.classList.contains('open')) {
            close();
            m.classList.add('open');
          }
        });
      } else {
        m.append(title);
        title.addEventListener('click', () => pick(top.id));
      }
      if (index === open) m.classList.add('open');
      bar.append(m);
    });
  }

  function close() {
    for (const m of document.querySelectorAll('.zorve-menu.open')) m.classList.remove('open');
  }

  function mnemonicOf(el) {
    const u = el.querySelector('.zorve-label u');
    return u ? u.textContent.toLowerCase() : '';
  }

  const focusOn = (el) => el && el.focus();

  function open(menu) {
    close();
    menu.classList.add('open');
    focusOn(menu.querySelector(':scope > .zorve-menu-items > .zorve-menu-item:enabled'));
  }

  // The open menu, if any, takes every key but Ctrl shortcuts, which still reach the
  // program. Returns whether it took the key; closed() is called when Escape closes it.
  function key(e, closed) {
    const menu = document.querySelector('.zorve-menu.open');
    if (!menu || e.ctrlKey || e.metaKey || e.key === 'Control' || e.key === 'Shift') return false;
    e.preventDefault();
    if (e.type !== 'keydown') return true;
    const items = [...menu.querySelectorAll(':scope > .zorve-menu-items > .zorve-menu-item:enabled')];
    const at = items.indexOf(document.activeElement);
    const menus = [...menu.parentElement.children];
    const step = (list, from, by) => list[(from + by + list.length) % list.length];
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      focusOn(step(items, at < 0 ? (e.key === 'ArrowDown' ? -1 : 0) : at, e.key === 'ArrowDown' ? 1 : -1));
    } else if (e.key === 'ArrowLeft' || e.key === 'ArrowRight') {
      open(step(menus, menus.indexOf(menu), e.key === 'ArrowRight' ? 1 : -1));
    } else if (e.key === 'Enter' || e.key === ' ') {
      if (at >= 0) items[at].click();
    } else if (e.key === 'Escape') {
      close();
      closed();
    } else {
      const item = items.find((i) => mnemonicOf(i) === e.key.toLowerCase());
      if (item) item.click();
    }
    return true;
  }

  // Alt and a letter: opens the menu of the bar whose title has the letter underlined.
  // Returns whether there was one.
  function openByMnemonic(bar, letter) {
    const menu = [...bar.children].find((m) => mnemonicOf(m.firstChild) === letter.toLowerCase() &&
      !m.firstChild.disabled);
    if (menu) open(menu);
    return !!menu;
  }

  return { sync, close, key, openByMnemonic };
})();
