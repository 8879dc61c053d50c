// A tiny static server for the built pages, on the loopback interface only.
//   node web/serve.mjs FOLDER [PORT]    (PORT 0 or none: any free port)
// Prints "Serving FOLDER on http://127.0.0.1:PORT/" once it listens.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
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
};

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
  try {
    const body = await readFile(file);
    // A rebuilt program shows at the next reload.
    response.writeHead(200, { 'Content-Type': TYPES[extname(file)] ?? 'application/octet-stream',
                              'Cache-Control': 'no-store' });
    response.end(request.method === 'HEAD' ? undefined : body);
  } catch {
    response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
  }
});
server.listen(port, '127.0.0.1', () => {
  console.log(`Serving ${root} on http://127.0.0.1:${server.address().port}/`);
});
