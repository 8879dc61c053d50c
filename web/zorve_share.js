// Share: a link that replays the person's session, and the opening of such a link.
//
// The page asks the runtime to keep the session (ZORVE_SESSION=SESSION_PATH in the
// program's environment): every event since the program started, in the lines of a
// recording, bounded by the runtime at 64 KB. Share deflates it (the browser's own
// CompressionStream), encodes it base64url and puts it in the page's address after
// "#play=": the link needs no server beyond the page's own files, and the fragment
// never leaves the browser. A page opened with such a link takes the session apart
// before the program starts (decoded, inflated within a bound, every line one the
// runtime reads in the form a recording writes it); only a whole, valid session is
// played (ZORVE_PLAY), at full speed, and the card then goes on live. Anything else is
// refused with a message, and the program starts with a new card.
'use strict';

var ZorveShare = (() => {
  const SESSION_PATH = '/zorve-session.scr';
  const SHARED_PATH = '/zorve-shared.scr';
  const PREFIX = '#play=';
  const LINK_LIMIT = 16 * 1024;     // characters of the encoded session in a link
  const SESSION_LIMIT = 64 * 1024;  // bytes of a session, as the runtime keeps it
  const KEY_CODE_MAX = 277;         // ZORVE_KEY_F12
  const INT_MAX = 2147483647;

  const el = (id) => document.getElementById(id);
  const say = (text) => { el('zorve-share-status').textContent = text; };
  const kb = (n) => (n / 1024).toFixed(1);

  // ---- encoding ---------------------------------------------------------------------

  async function through(bytes, transform) {
    return new Uint8Array(await new Response(new Blob([bytes]).stream().pipeThrough(transform)).arrayBuffer());
  }

  function base64url(bytes) {
    let s = '';
    for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(s).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }

  // Bytes, or null for text that is not base64url.
  function fromBase64url(text) {
    if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
    const s = atob(text.replace(/-/g, '+').replace(/_/g, '/') + '='.repeat((4 - text.length % 4) % 4));
    return Uint8Array.from(s, (c) => c.charCodeAt(0));
  }

  // A zlib stream's first two bytes, as CompressionStream('deflate') writes them.
  const zlibHeader = (b) => b.length >= 2 && (b[0] & 0x0f) === 8 && (b[0] >> 4) <= 7 && ((b[0] << 8) | b[1]) % 31 === 0;

  // The inflated bytes, 'too-long' past `limit` (read no further), or 'damaged'.
  async function inflate(bytes, limit) {
    const reader = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate')).getReader();
    const parts = [];
    let size = 0;
    try {
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        size += value.length;
        if (size > limit) {
          reader.cancel().catch(() => {});
          return 'too-long';
        }
        parts.push(value);
      }
    } catch (e) {
      return 'damaged';
    }
    const out = new Uint8Array(size);
    let at = 0;
    for (const p of parts) {
      out.set(p, at);
      at += p.length;
    }
    return out;
  }

  // ---- the session's lines ----------------------------------------------------------

  const N = '(-?\\d{1,10})';
  const FORMS = [
    [new RegExp(`^ZORVE_MOUSE\\(${N}, ${N}\\);$`), []],
    [/^ZORVE_KBD\((\d{1,3})\);$/, [255]],
    [/^ZORVE_PERIODIC\((\d{1,10})\);$/, []],
    [/^ZORVE_TEXT\("(?:[^"\\\r\n]|\\["\\nrt])*"\);$/, []],
    [new RegExp(`^ZORVE_(?:UP|XY)\\(${N}, ${N}, ([0-3])\\);$`), []],
    [new RegExp(`^ZORVE_BUTTON\\(${N}, ${N}, ([1-3])\\);$`), []],
    [/^ZORVE_(?:SPECIAL|LIFT)\((\d{1,3})\);$/, [KEY_CODE_MAX]],
  ];

  // The number of the first line that is not one a recording writes, or 0.
  function badLine(bytes) {
    const text = new TextDecoder('latin1').decode(bytes);
    if (!text.endsWith('\n')) return text.split('\n').length;
    const lines = text.slice(0, -1).split('\n');
    for (let i = 0; i < lines.length; ++i) {
      const line = lines[i];
      const form = line.length < (line.startsWith('ZORVE_TEXT') ? 1024 : 512) &&
        FORMS.find(([re]) => re.test(line));
      if (!form) return i + 1;
      const numbers = form[0].exec(line).slice(1).map(Number);
      if (numbers.some((n) => Math.abs(n) > INT_MAX)) return i + 1;
      if (form[1].length && numbers[0] > form[1][0]) return i + 1;
    }
    return 0;
  }

  // ---- a link opened ------------------------------------------------------------------

  // The session in `fragment`, checked whole, or a message saying why not.
  async function takeApart(fragment) {
    const refused = (why) => ({ why: `${why} A new card is started instead.` });
    if (fragment.length > LINK_LIMIT)
      return refused(`This link is longer than a card's link can be (${kb(fragment.length)} KB; a link holds 16 KB): it was not opened.`);
    const packed = fromBase64url(fragment);
    if (!packed || !zlibHeader(packed)) return refused('This link does not hold a card: it was not opened.');
    const session = await inflate(packed, SESSION_LIMIT);
    if (session === 'damaged') return refused('This link is damaged or cut short: the card cannot be rebuilt from it.');
    if (session === 'too-long') return refused("This link holds more than a card's session can (over 64 KB): it was not opened.");
    if (!session.length) return refused('This link holds no card.');
    const bad = badLine(session);
    if (bad) return refused(`This link holds a line that is not a card's event (line ${bad}): it was not opened.`);
    return { session };
  }

  // Before the program starts: its session kept, and a link's session checked and, if
  // whole, given it to play.
  function start(module, env) {
    env.ZORVE_SESSION = SESSION_PATH;
    el('zorve-share').addEventListener('click', () => shareSession(module.FS));
    const hash = location.hash;
    if (!hash.startsWith(PREFIX)) return;
    module.addRunDependency('zorve-shared-card');
    say('Opening the shared card\u2026');
    takeApart(hash.slice(PREFIX.length)).then((taken) => {
      if (taken.session) {
        module.FS.writeFile(SHARED_PATH, taken.session);
        env.ZORVE_PLAY = SHARED_PATH;
        watchPlayback(module.FS);
        say('Rebuilding the shared card\u2026');
      } else {
        say(taken.why);
      }
    }, () => say('This link cannot be read. A new card is started instead.'))
      .finally(() => module.removeRunDependency('zorve-shared-card'));
  }

  // The runtime closes the session it plays when it has played it all.
  function watchPlayback(FS) {
    const close = FS.close;
    FS.close = function (stream) {
      const path = stream.path;
      const result = close.apply(this, arguments);
      if (path === SHARED_PATH) {
        FS.close = close;
        say('The shared card is rebuilt: it is yours to go on with.');
      }
      return result;
    };
  }

  function running() { el('zorve-share').disabled = false; }

  // ---- Share --------------------------------------------------------------------------

  async function shareSession(FS) {
    const field = el('zorve-share-link');
    field.hidden = true;
    if (!FS.analyzePath(SESSION_PATH).exists) {
      say('This session is too long for a link: past 64 KB of events it is no longer kept.');
      return;
    }
    const session = FS.readFile(SESSION_PATH);
    if (!session.length) {
      say('Nothing to share yet: make a card first.');
      return;
    }
    const encoded = base64url(await through(session, new CompressionStream('deflate')));
    if (encoded.length > LINK_LIMIT) {
      say(`This session is too long for a link: ${kb(encoded.length)} KB encoded, and a link holds 16 KB.`);
      return;
    }
    const link = location.href.split('#')[0] + PREFIX + encoded;
    field.value = link;
    field.hidden = false;
    // Shown to be copied by hand as well; the keyboard stays the program's.
    document.querySelector('.zorve-window canvas')?.focus();
    try {
      await navigator.clipboard.writeText(link);
      say('Link copied to the clipboard: it rebuilds this card.');
    } catch (e) {
      say('Copy the link from the field: it rebuilds this card.');
    }
  }

  return { start, running };
})();
