// The web build in a real browser (Debian's Chromium, headless, driven through the
// DevTools protocol) as a person uses it:
//  - the card designer: clicks on the panel and the card, Object and Background Color,
//    typed keys, Ctrl+H and Ctrl+A, the Run menu; a session recorded with Ctrl+R and
//    downloaded, played back natively by the headless presenter, then uploaded into a
//    fresh page and played back there with Ctrl+P: the canvas must equal the headless
//    picture pixel for pixel, text included; Ctrl+S downloads the same picture, Ctrl+G
//    an animation; Ctrl+Q ends the program;
//  - Share: a card's link opened in another browser rebuilds it pixel for pixel; links
//    cut short, too long or made up are refused with a message;
//  - the text dialog (tests/e2e/text_probe.cpp): Enter answers, Escape and the close
//    box leave it open, the Okay button answers; clicks and keys afterwards;
//  - the paint and question examples played from their scripts (a drag and its release,
//    answers to dialogs), uploaded or in a link: the canvas must equal their golden
//    pictures.
//
//   node browser_test.mjs BUILD_WEB_DIR NATIVE_CORDELUNE OUT_DIR
// Prints one line per check and ends with "N passed, N failed".
import { spawnSync } from 'node:child_process';
import { mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { deflateSync } from 'node:zlib';
import { CANVAS, HEIGHT, WIDTH, canvasPixels, differences } from './canvas.mjs';
import { ROOT, check, finish, launchWithPage, runSessions, serve } from './harness.mjs';
import { readPng } from './png.mjs';

const [buildDir, cordelune, outDir] = process.argv.slice(2).map((p) => resolve(p));
rmSync(outDir, { recursive: true, force: true });
mkdirSync(join(outDir, 'downloads'), { recursive: true });

// ---- the site, the browser, the page --------------------------------------------------

const { server, url: siteUrl } = await serve(buildDir);
process.on('exit', () => server.kill());
const { browser, page, errors: pageErrors } = await launchWithPage();
const consoleLines = [];
browser.on('Runtime.consoleAPICalled', (e) => consoleLines.push(e.args.map((a) => a.value ?? '').join(' ')));
const downloads = new Map(); // guid -> suggested name
browser.on('Browser.downloadWillBegin', (e) => downloads.set(e.guid, e.suggestedFilename));
await browser.send('Browser.setDownloadBehavior',
  { behavior: 'allowAndName', downloadPath: join(outDir, 'downloads'), eventsEnabled: true });

// Does what starts a download called `name`, and returns the downloaded bytes.
async function download(name, start) {
  const done = browser.waitEvent('Browser.downloadProgress',
    (e) => e.state === 'completed' && downloads.get(e.guid) === name);
  await start();
  return readFileSync(join(outDir, 'downloads', (await done).guid));
}

async function open(path, p = page) {
  await p.send('Page.navigate', { url: siteUrl + path });
  await p.waitFor("document.getElementById('zorve-status').textContent.startsWith('Running')");
}

// ---- the graphics window: runtime coordinates, pixels, keys ---------------------------

async function clickAt(x, y) {
  const r = await page.eval(`(() => { const r = ${CANVAS}.getBoundingClientRect(); return [r.left, r.top]; })()`);
  // The runtime's origin is the client area's centre, y upwards.
  await page.click(Math.round(r[0]) + (WIDTH >> 1) + x, Math.round(r[1]) + (HEIGHT >> 1) - y);
}

const pixelAt = (x, y) =>
  `Array.from(${CANVAS}.getContext('2d').getImageData(${(WIDTH >> 1) + x}, ${(HEIGHT >> 1) - y}, 1, 1).data.slice(0, 3)).join()`;
async function waitPixel(what, x, y, rgb) {
  try {
    await page.waitFor(`${pixelAt(x, y)} === '${rgb}'`, 10000);
    return check(what, true);
  } catch {
    return check(what, false, `(${x},${y}) is ${await page.eval(pixelAt(x, y))}, not ${rgb}`);
  }
}

const menuItem = (label) =>
  `[...document.querySelectorAll('.zorve-menu-item')].find((b) => b.querySelector('.zorve-label').textContent === ${JSON.stringify(label)})`;
const isChecked = (label) => `${menuItem(label)}.getAttribute('aria-checked') === 'true'`;

async function clickElement(selector) {
  const c = await page.eval(`(() => { const r = (${selector}).getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2]; })()`);
  await page.click(Math.round(c[0]), Math.round(c[1]));
}

// Uploads a script into the open page and plays it to its end with Ctrl+P.
async function playUploaded(file) {
  const { root } = await page.send('DOM.getDocument');
  const { nodeId } = await page.send('DOM.querySelector', { nodeId: root.nodeId, selector: '#zorve-upload-script' });
  await page.send('DOM.setFileInputFiles', { nodeId, files: [file] });
  await page.waitFor("document.getElementById('zorve-file-status').textContent.startsWith('ZORVE.SCR loaded')");
  // Playback runs without waiting, so its check mark may come and go between two looks
  // at the page: the menu's changes are watched as they happen.
  await page.eval(`window.playbackMarks = [];
    new MutationObserver((changes) => { for (const c of changes) for (const n of c.addedNodes)
      for (const item of n.querySelectorAll ? n.querySelectorAll('.zorve-menu-item') : [])
        if (item.textContent.includes('Playback Script')) playbackMarks.push(item.getAttribute('aria-checked')); })
      .observe(document.querySelector('.zorve-menubar'), { childList: true, subtree: true }); true`);
  await page.ctrl('p');
  await page.waitFor("playbackMarks.includes('true') && playbackMarks.at(-1) === 'false'", 60000);
}

// ---- the card designer ------------------------------------------------------------------
// Hearts and starbursts are drawn with a new random number on every frame (rand(), seeded
// from the clock, and another generator in each C library), so the card the pictures are
// compared on holds a face and a message only: the heart made for Ctrl+A's pulse is
// deleted before the recording ends.

// Panel buttons: a click in the middle of each, below its top.
const BUTTON = { newShape: 213, newMessage: 175, nextObject: 120, backgroundColor: 65, objectColor: 27,
  selectObject: -28, deleteObject: -66 };
const pressButton = (name) => clickAt(-242, BUTTON[name]);
async function pressButtonIn(p, name) {
  const r = await p.eval(`(() => { const r = ${CANVAS}.getBoundingClientRect(); return [r.left, r.top]; })()`);
  await p.click(Math.round(r[0]) + (WIDTH >> 1) - 242, Math.round(r[1]) + (HEIGHT >> 1) - BUTTON[name]);
}
const RED = '255,0,0', GREEN = '0,255,0', BLUE = '0,0,255', BLACK = '0,0,0', ORANGE = '255,102,0',
  GRAY_20 = '204,204,204';
const FACE = [-60, 110], HEART = [120, 110], MESSAGE = [-100, -60], CARD_CORNER = [200, -140];
const clicks = []; // every click on the window, as the script must record it
async function click(x, y) {
  clicks.push(`ZORVE_MOUSE(${x}, ${y});`);
  await clickAt(x, y);
}
const press = async (name) => { clicks.push(`ZORVE_MOUSE(-242, ${BUTTON[name]});`); await pressButton(name); };

async function designerSession() {
  await open('/site/cordelune.html');
  await waitPixel('the designer draws its title band', 250, 230, GRAY_20);
  await clickElement("document.querySelector('.zorve-menu-title')");
  check('the Run menu opens with its items, shortcut texts and greyed lines',
    await page.eval(`(() => { const items = [...document.querySelectorAll('.zorve-menu.open .zorve-menu-item')];
      const save = ${menuItem('Save Picture')}, animation = ${menuItem('Save Animation')};
      return items.length === 14 && save.querySelector('.zorve-shortcut').textContent === 'Ctrl+S' &&
        save.querySelector('u').textContent === 'S' && items.indexOf(animation) === items.indexOf(save) + 1 &&
        animation.querySelector('.zorve-shortcut').textContent === 'Ctrl+G' &&
        animation.querySelector('u').textContent === 'A' && items.filter((b) => b.disabled).length === 4; })()`));
  await page.ctrl('l');
  await page.waitFor(isChecked('Logging'));
  check('Ctrl+L checks Logging in the open menu', true);
  await page.key('Escape', { code: 'Escape', vk: 27 });
  check('Escape closes the menu', await page.eval("!document.querySelector('.zorve-menu.open')"));
  // From the keyboard: Alt+R opens the menu, the underlined L picks Logging.
  await page.key('r', { code: 'KeyR', vk: 82, modifiers: 1 });
  check('Alt+R opens it at its first item',
    await page.eval(`document.activeElement === ${menuItem('Animate')}`));
  await page.key('l', { code: 'KeyL', vk: 76, text: 'l' });
  await page.waitFor(`!(${isChecked('Logging')})`);
  check('... and L picks Logging, which unchecks it', true);
  await clickElement("document.querySelector('.zorve-menu-title')");
  await clickElement(menuItem('Record Script'));
  await page.waitFor(isChecked('Record Script'));
  check('Run > Record Script starts recording: its item is checked', true);

  await press('newShape');
  await click(...FACE);
  await waitPixel('New Shape and a click on the card: a red heart there', ...FACE, RED);
  await press('nextObject');
  await press('nextObject');
  await waitPixel('Next Object twice: a face with black eyes', FACE[0] + 10, FACE[1] + 7, BLACK);
  await press('objectColor');
  await waitPixel('Object Color: the face turns green', ...FACE, GREEN);
  await press('backgroundColor');
  await waitPixel('Background Color: the card turns orange', ...CARD_CORNER, ORANGE);
  await press('newShape');
  await click(...HEART);
  await waitPixel('a second heart', ...HEART, RED);

  // Halted, ticks reach the program and make no periodic events; run again, the heart
  // pulses (its radius is drawn at random on every frame).
  await page.ctrl('h');
  await page.type('Be');
  const ticks = await page.eval('Module.zorve.stats.timeouts');
  await page.waitFor(`Module.zorve.stats.timeouts >= ${ticks + 3}`);
  await page.type(' Mine');
  await page.ctrl('a');
  const EDGE = `${pixelAt(HEART[0] + 32, HEART[1])}`;
  const edge = await page.eval(EDGE);
  await page.waitFor(`${EDGE} !== '${edge}'`).then(() => check('Ctrl+A: the heart pulses again', true),
    () => check('Ctrl+A: the heart pulses again', false));

  await press('selectObject');
  await click(...HEART);
  await press('deleteObject');
  await waitPixel('Select Object, a click on the heart, Delete Object: the heart is gone', ...HEART, ORANGE);
  await press('newMessage');
  await click(...MESSAGE);
  await page.waitFor(`(() => { const d = ${CANVAS}.getContext('2d').getImageData(${(WIDTH >> 1) + MESSAGE[0]}, ${(HEIGHT >> 1) - MESSAGE[1] - 20}, 60, 20).data;
    for (let i = 0; i < d.length; i += 4) if (d[i] === 0 && d[i + 1] === 0 && d[i + 2] === 255) return true; return false; })()`)
    .then(() => check('New Message and a click: blue text on the card', true),
      () => check('New Message and a click: blue text on the card', false));
  await page.ctrl('r');
  await page.waitFor(`!(${isChecked('Record Script')})`);
  check('Ctrl+R ends recording: the check mark goes', true);

  const script = String(await download('ZORVE.SCR',
    () => clickElement("document.getElementById('zorve-download-script')")));
  writeFileSync(join(outDir, 'ZORVE.SCR'), script);
  const lines = script.split('\n').filter((l) => l);
  check('the downloaded script holds every click at its runtime coordinates',
    JSON.stringify(lines.filter((l) => l.startsWith('ZORVE_MOUSE'))) === JSON.stringify(clicks), script);
  const keys = lines.filter((l) => l.startsWith('ZORVE_KBD')).map((l) => Number(/\d+/.exec(l)[0]));
  check('... and every typed key, Shift included', String.fromCharCode(...keys) === 'Be Mine', keys.join());
  const halted = lines.slice(lines.indexOf('ZORVE_KBD(66);'), lines.indexOf('ZORVE_KBD(32);'));
  check('... and no periodic event while halted, though ticks came',
    halted.length === 2 && !halted.some((l) => l.startsWith('ZORVE_PERIODIC')), halted.join(' '));
  const running = lines.slice(lines.lastIndexOf('ZORVE_KBD(101);'), lines.indexOf('ZORVE_MOUSE(-242, -28);'));
  check('... and periodic events again after Ctrl+A', running.some((l) => l.startsWith('ZORVE_PERIODIC')),
    running.join(' '));

  // The same script, played by the native program on the headless presenter.
  const native = spawnSync(cordelune, [], {
    cwd: outDir, encoding: 'utf8', timeout: 60000,
    env: { ...process.env, ZORVE_HEADLESS: '1', ZORVE_PLAY: 'ZORVE.SCR', ZORVE_SNAPSHOT: 'headless.png' },
  });
  check('the native designer plays the script back headless', native.status === 0, native.stderr);
  const expected = readPng(readFileSync(join(outDir, 'headless.png')));

  // A fresh page: the script uploaded, played back with Ctrl+P.
  await open('/site/cordelune.html');
  await playUploaded(join(outDir, 'ZORVE.SCR'));
  check('Ctrl+P plays the uploaded script to its end: Playback Script is checked, then not', true);
  const shown = await canvasPixels(page);
  writeFileSync(join(outDir, 'page.png'), await page.screenshot());
  check('the canvas equals the headless picture of the same script, pixel for pixel',
    expected.width === WIDTH && expected.height === HEIGHT && !differences(shown, expected.rgb),
    differences(shown, expected.rgb));

  const picture = readPng(await download('ZORVE1.png', () => page.ctrl('s')));
  check('Ctrl+S downloads ZORVE1.png, the same pixels', !differences(picture.rgb, shown), differences(picture.rgb, shown));
  const animation = await download('ZORVE1.gif', () => page.ctrl('g'));
  check('Ctrl+G downloads ZORVE1.gif, an animated GIF of the window\'s size that loops for ever',
    animation.subarray(0, 6).toString('latin1') === 'GIF89a' && animation.readUInt16LE(6) === WIDTH &&
      animation.readUInt16LE(8) === HEIGHT && animation.includes(Buffer.from('NETSCAPE2.0')),
    animation.subarray(0, 10).toString('hex'));
  // The console window, hidden by the designer, shows with its last line in black.
  check('... and shows the console with a line of text', await page.waitFor(`(() => {
    const w = [...document.querySelectorAll('.zorve-window')].find((f) => f.textContent.includes('ZORVE Text'));
    if (!w || w.hidden) return false;
    const c = w.querySelector('canvas'), d = c.getContext('2d').getImageData(0, c.height - 24, c.width, 24).data;
    for (let i = 0; i < d.length; i += 4) if (d[i] + d[i + 1] + d[i + 2] === 0) return true;
    return false; })()`).then(() => true, () => false));
  await page.ctrl('q');
  const status = await page.waitFor("document.getElementById('zorve-status').textContent.includes('ended') && document.getElementById('zorve-status').textContent");
  check('Ctrl+Q ends the program with status 0', status.includes('exit status 0'), status);
}

// ---- Share: a link that rebuilds the card -------------------------------------------------
// A card made in one page, its link opened in another browser with a profile of its own:
// the card rebuilt there is the first one pixel for pixel. Links cut short, too long or
// made up are refused with a message, and the page starts a new card. (The card holds
// no heart or starburst: they are drawn at random on every frame.)

const SHARE_STATUS = "document.getElementById('zorve-share-status').textContent";
const TURQUOISE = '153,255,204';

async function shareSession() {
  await open('/site/cordelune.html');
  await waitPixel('a fresh designer for Share', 250, 230, GRAY_20);
  await pressButton('newShape');
  await clickAt(...FACE);
  await pressButton('nextObject');
  await pressButton('nextObject');
  await pressButton('objectColor');
  await pressButton('backgroundColor');
  await pressButton('newMessage');
  await clickAt(...MESSAGE);
  await waitPixel('a green face on an orange card', ...FACE, GREEN);
  await page.ctrl('h');
  await browser.send('Browser.grantPermissions',
    { origin: siteUrl, permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite'] });
  await clickElement("document.getElementById('zorve-share')");
  await page.waitFor("!document.getElementById('zorve-share-link').hidden");
  const link = await page.eval("document.getElementById('zorve-share-link').value");
  const status = await page.eval(SHARE_STATUS);
  check('Share shows a link to this page with the session after #play=',
    link.startsWith(siteUrl + '/site/cordelune.html#play=') && /^[A-Za-z0-9_-]+$/.test(link.split('#play=')[1]), link);
  check('... and puts it on the clipboard', status.startsWith('Link copied') &&
    await page.eval('navigator.clipboard.readText()').catch(() => '') === link, status);
  const first = await canvasPixels(page);

  const { browser: other, page: there, errors } = await launchWithPage();
  try {
    // A link opened: the page starts afresh (not a jump within the page it shows).
    const visit = async (url) => {
      await there.send('Page.navigate', { url: 'about:blank' });
      await there.send('Page.navigate', { url });
      await there.waitFor("document.getElementById('zorve-status').textContent.startsWith('Running')");
    };
    await visit(link);
    await there.waitFor(`${SHARE_STATUS}.startsWith('The shared card is rebuilt')`, 30000)
      .then(() => check('the link opened in another browser plays the session to its end', true),
        async () => check('the link opened in another browser plays the session to its end', false,
          await there.eval(SHARE_STATUS)));
    await there.ctrl('h');
    const rebuilt = await canvasPixels(there);
    writeFileSync(join(outDir, 'shared.png'), await there.screenshot());
    check('... and its canvas equals the first page\'s, the animation halted in both',
      !differences(rebuilt, first), differences(rebuilt, first));
    await there.ctrl('a');
    await pressButtonIn(there, 'backgroundColor');
    await there.waitFor(`(${pixelAt(...CARD_CORNER)}) !== '${ORANGE}'`).then(
      () => check('... and the card is live: Background Color changes it there', true),
      () => check('... and the card is live: Background Color changes it there', false));

    const fragment = link.split('#play=')[1];
    const deflated = (text) => deflateSync(Buffer.from(text)).toString('base64url');
    const refusals = [
      ['a link cut short', fragment.slice(0, (fragment.length >> 1) & ~3), 'This link is damaged or cut short'],
      ['a link over 16 KB', 'A'.repeat(17 * 1024), 'This link is longer than'],
      ['a fragment that is not base64url', 'not-a-card!%20', 'This link does not hold a card'],
      ['a line that is no event', deflated('ZORVE_MOUSE(1, 1);\nZORVE_SYSTEM("rm");\n'),
        'This link holds a line that is not a card\'s event (line 2)'],
      ['a megabyte of newlines', deflated('\n'.repeat(1 << 20)), 'This link holds more than a card\'s session'],
    ];
    for (const [what, bad, message] of refusals) {
      await visit(`${siteUrl}/site/cordelune.html#play=${bad}`);
      const said = await there.waitFor(`${SHARE_STATUS}.startsWith('This link') && ${SHARE_STATUS}`);
      const fresh = await there.waitFor(`${pixelAt(...CARD_CORNER)} === '${TURQUOISE}' && ${pixelAt(...FACE)} === '${TURQUOISE}'`)
        .then(() => true, () => false);
      check(`${what} is refused with a message, and a new card starts`, said.startsWith(message) && fresh, said);
    }
    check('no errors in the other browser\'s page', errors.length === 0, errors.join('\n'));
  } finally {
    await other.close();
  }
}

// ---- the text dialog --------------------------------------------------------------------

const DIALOG = "document.querySelector('dialog.zorve-dialog')";
// Whether the program prints `text` (on the browser's console), asked at each frame.
async function waitLine(text) {
  const end = Date.now() + 10000;
  while (!consoleLines.includes(text)) {
    if (Date.now() > end) return false;
    await page.waitFor('true');
  }
  return true;
}
async function dialogSession() {
  await open('/site-tests/text_probe.html?arg=gets');
  await page.waitFor(`${DIALOG}?.open`);
  check('ZORVE_gets opens a dialog with its prompt, a focused field and Okay',
    await page.eval(`(() => { const d = ${DIALOG};
      return d.querySelector('.zorve-title span').textContent === 'ZORVE_gets' &&
        d.querySelector('.zorve-static').textContent.trim() === 'Your name?' &&
        document.activeElement === d.querySelector('textarea') &&
        d.querySelector('button.zorve-default').textContent === 'Okay'; })()`));
  await page.key('Escape', { code: 'Escape', vk: 27 });
  check('Escape leaves it open', await page.eval(`${DIALOG}.open`));
  await clickElement(`${DIALOG}.querySelector('.zorve-close')`);
  check('so does its close box', await page.eval(`${DIALOG}.open`));
  await clickElement(`${DIALOG}.querySelector('textarea')`);
  await page.type('Zoe Dart');
  await page.key('Enter', { code: 'Enter', vk: 13, text: '\r' });
  // The first answer: neither Escape nor the close box ended the dialog before.
  check('Enter answers with the typed text', await waitLine('gets 1 "Zoe Dart"') &&
    consoleLines.find((l) => l.startsWith('gets')) === 'gets 1 "Zoe Dart"', consoleLines.join(' | '));
  await page.waitFor(`${DIALOG}?.querySelector('.zorve-static').textContent.trim() === 'Once more?'`);
  await page.type('x');
  await clickElement(`${DIALOG}.querySelector('button.zorve-default')`);
  check('the next question, answered with the Okay button', await waitLine('gets 1 "x"'));
  await page.waitFor(`!${DIALOG}`);
  await clickAt(-20, 30);
  check('a click afterwards is the program\'s again, at its point', await waitLine('mouse -20 30'));
  await page.type('k');
  check('... and so is a key', await waitLine('key 107'));

}

// ---- examples played from their scripts -------------------------------------------------
// The examples' own scripts played in the page: the canvas must equal the golden picture
// the headless runs are held to.
async function exampleSessions() {
  const golden = (name) => readPng(readFileSync(join(ROOT, 'tests/data/examples', `${name}.png`)));
  const compare = async (name, how) => {
    const expected = golden(name), shown = await canvasPixels(page);
    writeFileSync(join(outDir, `${name}.png`), await page.screenshot());
    check(`${name}: its script ${how} gives its golden picture`,
      expected.width === WIDTH && expected.height === HEIGHT && !differences(shown, expected.rgb),
      differences(shown, expected.rgb));
  };
  // paint waits for the person: its script can be uploaded once the page runs.
  await open('/site/paint.html');
  const folder = join(outDir, 'paint-script');
  mkdirSync(folder, { recursive: true });
  writeFileSync(join(folder, 'ZORVE.SCR'), readFileSync(join(ROOT, 'examples/scripts/paint.scr')));
  await playUploaded(join(folder, 'ZORVE.SCR'));
  await compare('paint', 'uploaded and played with Ctrl+P');
  // question asks before anything could be uploaded: its script, answers included, comes
  // in a link, as a shared card does, played from the start. (catch goes on animating
  // live once its script ends, so the page holds no steady picture to compare.)
  const fragment = deflateSync(readFileSync(join(ROOT, 'examples/scripts/question.scr'))).toString('base64url');
  await open(`/site/question.html#play=${fragment}`);
  await page.waitFor(`${SHARE_STATUS}.startsWith('The shared card is rebuilt')`, 30000);
  await compare('question', 'played from a link');
}

await runSessions([['the card designer', designerSession], ['Share', shareSession],
  ['the text dialog', dialogSession], ['the examples', exampleSessions]]);
check('no errors in the page', pageErrors.length === 0, pageErrors.join('\n'));
await browser.close();
finish();
