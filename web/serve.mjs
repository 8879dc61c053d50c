// A tiny static server for the built pages, on the loopback interface only.
//   node web/serve.mjs FOLDER [PORT]    (PORT 0 or none: any free port)
// Prints "Serving FOLDER on http://127.0.0.1:PORT/" once it listens.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';

const root = resolve(process.argv[2] ?? '.');
const port = Number(process.argv[3] ?? 0);
const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  // Streaming compilation of the program needs its type.
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// ---- precompressed files ----------------------------------------------------------------
// The build leaves NAME.br and NAME.gz beside the large files (web/site.mjs); a request
// whose Accept-Encoding takes one of them gets it, with the encoding said, and every
// answer for such a file says that it varies with Accept-Encoding.
const ENCODINGS = [{ name: 'br', suffix: '.br' }, { name: 'gzip', suffix: '.gz' }];

// The weight ("q") a request's Accept-Encoding gives an encoding; 0: not acceptable.
function acceptance(header) {
  const weights = new Map();
  for (const part of String(header ?? '').split(',')) {
    const [name, ...params] = part.split(';').map((s) => s.trim().toLowerCase());
    if (!name) continue;
    let q = 1;
    for (const p of params) if (p.startsWith('q=')) q = Number(p.slice(2)) || 0;
    weights.set(name, q);
  }
  return (encoding) => weights.get(encoding) ?? weights.get('*') ?? 0;
}

async function fileInfo(file) {
  try {
    const s = await stat(file);
    return s.isFile() ? s : null;
  } catch {
    return null;
  }
}

// The file to send for `file`: the best precompressed one the request accepts and that
// is not older than the file, else the file itself. `varies`: the file has precompressed forms.
async function choose(file, acceptEncoding) {
  const plain = await fileInfo(file);
  if (!plain) return null;
  const weight = acceptance(acceptEncoding);
  let best = { path: file, info: plain, encoding: null, q: 0 };
  let varies = false;
  for (const { name, suffix } of ENCODINGS) {
    const info = await fileInfo(file + suffix);
    if (!info) continue;
    varies = true;
    // Older than the file: made from what the file was before an edit.
    if (info.mtimeMs < plain.mtimeMs) continue;
    // The first of equal weights wins: brotli before gzip.
    if (weight(name) > best.q) best = { path: file + suffix, info, encoding: name, q: weight(name) };
  }
  return { ...best, varies };
}

// ---- the server -------------------------------------------------------------------------

const server = createServer(async (request, response) => {
  let path;
  try {
    path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
  } catch {
    response.writeHead(400).end();
    return;
  }
  const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
  if (file !== root && !file.startsWith(root + sep)) {
    response.writeHead(403).end();
    return;
  }
  const chosen = await choose(file, request.headers['accept-encoding']);
  if (!chosen) {
    response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
    return;
  }
  const { info, encoding } = chosen;
  const tag = `"${info.size.toString(36)}-${Math.floor(info.mtimeMs).toString(36)}${encoding ? '-' + encoding : ''}"`;
  // Kept, but asked again at every use: a rebuilt page is what the next load gets, and
  // an unchanged one costs a "not modified" (the service worker's install makes such
  // requests for what the page has just loaded).
  const headers = { 'Cache-Control': 'no-cache', ETag: tag };
  if (chosen.varies) headers.Vary = 'Accept-Encoding';
  const tags = String(request.headers['if-none-match'] ?? '').split(',').map((t) => t.trim());
  if (tags.includes(tag)) {
    response.writeHead(304, headers).end();
    return;
  }
  try {
    const body = await readFile(chosen.path);
    headers['Content-Type'] = TYPES[extname(file)] ?? 'application/octet-stream';
    headers['Content-Length'] = body.length;
    if (encoding) headers['Content-Encoding'] = encoding;
    response.writeHead(200, headers);
    response.end(request.method === 'HEAD' ? undefined : body);
  } catch {
    response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
  }
});
server.listen(port, '127.0.0.1', () => {
  console.log(`Serving ${root} on http://127.0.0.1:${server.address().port}/`);
});
