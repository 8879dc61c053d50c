// Reads 8-bit RGB and RGBA PNG files (what the runtime writes, and screenshots) into
// { width, height, rgb } with 3 bytes per pixel, rows from the top.
import { inflateSync } from 'node:zlib';

export function readPng(bytes) {
  if (bytes.readUInt32BE(0) !== 0x89504e47) throw new Error('not a PNG file');
  let width = 0, height = 0, channels = 0;
  const data = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const [depth, colour, , , interlace] = body.subarray(8);
      channels = { 2: 3, 6: 4 }[colour];
      if (depth !== 8 || !channels || interlace !== 0) throw new Error('unsupported PNG layout');
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const line = width * channels;
  const pixels = Buffer.alloc(line * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (line + 1)];
    const src = raw.subarray(y * (line + 1) + 1, (y + 1) * (line + 1));
    const out = pixels.subarray(y * line, (y + 1) * line);
    const up = y > 0 ? pixels.subarray((y - 1) * line, y * line) : Buffer.alloc(line);
    for (let i = 0; i < line; ++i) {
      const a = i >= channels ? out[i - channels] : 0, b = up[i], c = i >= channels ? up[i - channels] : 0;
      let p = a;
      if (filter === 0) p = 0;
      else if (filter === 2) p = b;
      else if (filter === 3) p = (a + b) >> 1;
      else if (filter === 4) {
        const pa = Math.abs(b - c), pb = Math.abs(a - c), pc = Math.abs(a + b - 2 * c);
        p = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      out[i] = (src[i] + p) & 0xFF;
    }
  }
  const rgb = Buffer.alloc(width * height * 3);
  for (let i = 0, o = 0; i < pixels.length; i += channels, o += 3) pixels.copy(rgb, o, i, i + 3);
  return { width, height, rgb };
}
