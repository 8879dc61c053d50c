// The graphics window's canvas in a page of the web build, read back as RGB bytes to be
// compared with a picture of the native build (png.mjs reads those).

export const WIDTH = 595, HEIGHT = 496; // the client area of a 601 x 540 window with a menu bar
export const CANVAS = "document.querySelector('.zorve-window canvas')";

// The whole client area shown in page `p` as RGB bytes, rows from the top.
export async function canvasPixels(p) {
  const b64 = await p.eval(`(() => {
    const c = ${CANVAS}, rgba = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const rgb = new Uint8Array(c.width * c.height * 3);
    for (let i = 0, o = 0; i < rgba.length; i += 4, o += 3) rgb.set(rgba.subarray(i, i + 3), o);
    let s = '';
    for (let i = 0; i < rgb.length; i += 0x8000) s += String.fromCharCode.apply(null, rgb.subarray(i, i + 0x8000));
    return btoa(s);
  })()`);
  return Buffer.from(b64, 'base64');
}

// '' when the RGB bytes `actual` hold the client area `expected` holds, else how many
// pixels differ and where the first is.
export function differences(actual, expected) {
  let count = 0, first = '';
  for (let i = 0; i < expected.length; i += 3) {
    if (actual[i] === expected[i] && actual[i + 1] === expected[i + 1] && actual[i + 2] === expected[i + 2]) continue;
    if (!count++) first = ` first at (${(i / 3) % WIDTH},${Math.floor(i / 3 / WIDTH)})`;
  }
  return count ? `${count} pixels differ,${first}` : '';
}
