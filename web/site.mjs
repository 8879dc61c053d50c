// Build steps of the site that need more than CMake has (run by web/CMakeLists.txt):
//
//   node web/site.mjs compress FILE...
//       writes FILE.br and FILE.gz beside each file, for servers that send precompressed
//       files (web/serve.mjs, nginx's gzip_static and brotli_static, most static hosts);
//   node web/site.mjs worker SITE_DIR TEMPLATE NAME PRECACHE...
//       writes SITE_DIR/NAME, the service worker, from TEMPLATE: its version is a digest
//       of every file of the site, so that a build that changes any of them installs a
//       new worker, whose cache replaces the old one; PRECACHE are the files it keeps
//       from its install on (the designer's page and what that page loads); then
//       compresses the site's other files that are worth it.
import { createHash } from 'node:crypto';
import { readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { extname, join, relative } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

// Text and code compress; pictures are compressed already. Below a kilobyte the
// saving is lost in the headers.
const COMPRESSED_TYPES = new Set(['.wasm', '.js', '.css', '.html', '.webmanifest', '.json', '.svg']);
const MIN_SIZE = 1024;
const VARIANTS = ['.br', '.gz'];

function isVariant(file) {
  return VARIANTS.includes(extname(file));
}

function upToDate(target, source) {
  try {
    return statSync(target).mtimeMs >= statSync(source).mtimeMs;
  } catch {
    return false;
  }
}

function compress(file) {
  if (upToDate(file + '.br', file) && upToDate(file + '.gz', file)) return;
  const data = readFileSync(file);
  writeFileSync(file + '.gz', gzipSync(data, { level: 9 }));
  writeFileSync(file + '.br', brotliCompressSync(data, {
    params: {
      [constants.BROTLI_PARAM_QUALITY]: constants.BROTLI_MAX_QUALITY,
      [constants.BROTLI_PARAM_MODE]: extname(file) === '.wasm' ? constants.BROTLI_MODE_GENERIC
        : constants.BROTLI_MODE_TEXT,
      [constants.BROTLI_PARAM_SIZE_HINT]: data.length,
    },
  }));
}

function siteFiles(dir) {
  const out = [];
  for (const entry of readdirSync(dir, { withFileTypes: true })) {
    const path = join(dir, entry.name);
    if (entry.isDirectory()) out.push(...siteFiles(path));
    else if (entry.isFile()) out.push(path);
  }
  return out.sort();
}

function worker(siteDir, template, name, precache) {
  const target = join(siteDir, name);
  const all = siteFiles(siteDir);
  const files = all.filter((f) => f !== target && !isVariant(f));
  const digest = createHash('sha256');
  for (const f of files) {
    digest.update(relative(siteDir, f) + '\0');
    digest.update(readFileSync(f));
  }
  for (const p of precache)
    if (p !== './' && !files.includes(join(siteDir, p))) throw new Error(`site.mjs: ${p} is not in ${siteDir}`);
  const text = readFileSync(template, 'utf8')
    .replace('@ZORVE_SITE_VERSION@', digest.digest('hex').slice(0, 16))
    .replace('@ZORVE_SITE_PRECACHE@', precache.map((p) => JSON.stringify(p)).join(', '));
  // Written only when it changes: an unchanged worker keeps its validators, and the
  // browser keeps the worker it has.
  let old = null;
  try {
    old = readFileSync(target, 'utf8');
  } catch { /* first build */ }
  if (old !== text) writeFileSync(target, text);
  const worthIt = new Set([...files, target].filter((f) =>
    COMPRESSED_TYPES.has(extname(f)) && statSync(f).size >= MIN_SIZE));
  for (const f of worthIt) compress(f);
  // A variant of a file that is gone, or no longer compressed, would be served for it.
  for (const f of all) if (isVariant(f) && !worthIt.has(f.slice(0, -3))) rmSync(f);
}

const [command, ...args] = process.argv.slice(2);
if (command === 'compress') {
  for (const f of args) compress(f);
} else if (command === 'worker' && args.length >= 3) {
  worker(args[0], args[1], args[2], args.slice(3));
} else {
  console.error('usage: node web/site.mjs compress FILE... | worker SITE_DIR TEMPLATE NAME PRECACHE...');
  process.exit(2);
}
