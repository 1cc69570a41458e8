// Test kit for quillmap.js: project files written here, blocks built by the
// program's own command line, pictures made with ImageMagick, pages served
// from 127.0.0.1 and rendered through puppeteer-core by Debian's chromium or
// firefox-esr (over WebDriver BiDi), or by WebKitGTK's MiniBrowser through its
// WebDriver. QUILLMAP_BROWSER names the engine of a run: "chromium" (the
// default), "firefox" or "webkit".

import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';
import { findMiniBrowser, launchWebKit } from './webdriver.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const sourceRoot = path.resolve(here, '../../..');
export const appDir = process.env.QUILLMAP_APP_DIR || path.join(sourceRoot, 'build/app');
// The program itself builds the blocks, with its command line.
export const program = process.env.QUILLMAP_PROGRAM || path.join(appDir, 'quillmap');
// The runtime under test: the copy the build placed in the program folder.
export const runtimeFile = process.env.QUILLMAP_RUNTIME || path.join(appDir, 'java/quillmap.js');

// CTest counts this exit code as "skipped" and shows the reason printed before it.
export function skip(reason) {
  console.log(`SKIP: ${reason}`);
  process.exit(77);
}

function onPath(program) {
  for (const dir of (process.env.PATH || '').split(path.delimiter)) {
    const file = path.join(dir, program);
    if (dir && fs.existsSync(file)) return file;
  }
  return null;
}

// The engines the tests run in: the programs Debian installs for them and
// the variable that points at another copy.
const ENGINES = {
  chromium: { programs: ['chromium', 'chromium-browser'], variable: 'QUILLMAP_CHROMIUM', package: 'chromium' },
  firefox: { programs: ['firefox-esr', 'firefox'], variable: 'QUILLMAP_FIREFOX', package: 'firefox-esr' },
  webkit: { programs: ['WebKitWebDriver'], variable: 'QUILLMAP_WEBKIT_DRIVER', package: 'webkit2gtk-driver' },
};
export const engine = process.env.QUILLMAP_BROWSER || 'chromium';
export const isFirefox = engine === 'firefox';
export const isWebKit = engine === 'webkit';

export function findBrowser(name = engine) {
  const e = ENGINES[name];
  if (!e) return null;
  const named = process.env[e.variable];
  if (named) return fs.existsSync(named) ? named : null;
  return e.programs.map(onPath).find(Boolean) || null;
}

async function loadPuppeteer() {
  try {
    const require = createRequire(path.join(here, 'package.json'));
    return require('puppeteer-core');
  } catch {
    return null;
  }
}

// Everything a browser test needs, or a skip that says what is missing.
export async function requireBrowserKit({ needBlockgen = true } = {}) {
  if (!ENGINES[engine]) skip(`QUILLMAP_BROWSER=${engine} names no engine the tests know (chromium, firefox, webkit)`);
  const executable = findBrowser();
  if (!executable) skip(`${ENGINES[engine].package} is not installed (scripts/install-deps.sh --tests installs it)`);
  let puppeteer = null, miniBrowser = null;
  if (isWebKit) {
    miniBrowser = findMiniBrowser();
    if (!miniBrowser) skip('WebKitGTK\'s MiniBrowser is not installed (package webkit2gtk-driver brings it)');
    if (!process.env.DISPLAY && !onPath('Xvfb')) skip('Xvfb is not installed');
  } else {
    puppeteer = await loadPuppeteer();
    if (!puppeteer) skip(`puppeteer-core is not installed: run "npm ci" in ${here}`);
  }
  if (needBlockgen) {
    if (!fs.existsSync(program)) skip(`${program} is not built`);
    if (!onPath('convert')) skip('ImageMagick convert is not installed');
  }
  if (!fs.existsSync(runtimeFile)) skip(`${runtimeFile} is not built`);
  return { engine, executable, puppeteer, miniBrowser };
}

// Folders made for one run, removed when it ends (QUILLMAP_KEEP_TEMP=1 keeps
// them for a look).
const tempDirs = [];
process.on('exit', () => {
  if (process.env.QUILLMAP_KEEP_TEMP) return;
  for (const dir of tempDirs) fs.rmSync(dir, { recursive: true, force: true });
});

export function tempDir(prefix) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), prefix));
  tempDirs.push(dir);
  return dir;
}

// A limit for each browser test, so a browser that stops answering fails the
// test instead of holding the run up.
export const BROWSER_TEST = { timeout: 60000 };

// A headless browser with a fresh profile. The machine has no network: host
// names resolve to nothing (chromium) or go to a closed proxy (firefox), so a
// followed link never leaves it. Sounds may start without a gesture; firefox
// plays them into its test sink, as the machine has no sound card.
export async function launchBrowser({ engine: name, executable, puppeteer, miniBrowser }) {
  if (name === 'webkit') return launchWebKit(executable, miniBrowser);
  const profile = tempDir(`quillmap-${name}-`);
  const viewport = { width: 800, height: 600, deviceScaleFactor: 1 };
  let browser;
  if (name === 'firefox') {
    browser = await puppeteer.launch({
      browser: 'firefox',
      protocol: 'webDriverBiDi',
      executablePath: executable,
      headless: true,
      userDataDir: profile,
      defaultViewport: viewport,
      extraPrefsFirefox: {
        'media.autoplay.default': 0,
        'media.autoplay.blocking_policy': 0,
        'media.autoplay.block-webaudio': false,
        'media.cubeb.force_mock_context': true,
        'network.proxy.type': 1,
        'network.proxy.http': '127.0.0.1',
        'network.proxy.http_port': 9,
        'network.proxy.ssl': '127.0.0.1',
        'network.proxy.ssl_port': 9,
        'network.proxy.no_proxies_on': '127.0.0.1',
        'network.proxy.allow_hijacking_localhost': false,
      },
    });
  } else {
    const args = [
      '--headless',
      '--disable-gpu',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      `--user-data-dir=${profile}`,
      '--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1',
      '--autoplay-policy=no-user-gesture-required',
      '--hide-scrollbars',
      '--font-render-hinting=none',
    ];
    if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
    browser = await puppeteer.launch({ executablePath: executable, headless: true, args, defaultViewport: viewport });
  }
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await Promise.race([close().catch(() => {}), new Promise((resolve) => setTimeout(resolve, 5000))]);
    browser.process()?.kill('SIGKILL');
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// ---------------------------------------------------------------------------
// Designs

const quote = (v) => `"${v}"`;
const crlf = (text) => String(text).replace(/\r?\n/g, '\r\n');

// The project file of a design, as the program writes it. Colours are given
// as "#RRGGBB" and stored in the program's 0x00BBGGRR form.
export function colorRef(hex) {
  const v = parseInt(hex.slice(1), 16);
  const r = (v >> 16) & 0xff, g = (v >> 8) & 0xff, b = v & 0xff;
  return (b << 16) | (g << 8) | r;
}

export function writeProject(file, d) {
  const lines = [
    'Quillmap Version:', 'v1.0', 'Globals:',
    d.title.top, d.title.left, d.title.height, d.title.width,
    d.blurb.top, d.blurb.left, d.blurb.height, d.blurb.width,
    colorRef(d.background), colorRef(d.textColor),
    d.titleFont.size, d.titleFont.name, d.titleFont.style,
    d.blurbFont.size, d.blurbFont.name, d.blurbFont.style,
    d.showTitleAndBlurb ? 'true' : 'false',
    'Background:', d.bgTitle, crlf(d.bgBlurb), d.blurbImage || '', d.stretch ? 'true' : 'false',
  ];
  for (const b of d.buttons) {
    lines.push('Button:', b.top, b.left, b.height, b.width, b.image || '', b.rollOver || '',
      b.title, crlf(b.blurb || ''), b.blurbImage || '', b.link || '', b.relative ? 'true' : 'false',
      b.sound || '', b.target ?? '_self');
  }
  fs.writeFileSync(file, lines.map((v) => quote(v) + '\r\n').join(''));
}

// A picture made of equal vertical stripes of the given colours.
export function makePicture(file, width, height, colors) {
  const stripe = Math.max(1, Math.floor(width / colors.length));
  const args = [];
  colors.forEach((c, i) => {
    const w = i === colors.length - 1 ? width - stripe * (colors.length - 1) : stripe;
    args.push('-size', `${w}x${height}`, `xc:${c}`);
  });
  execFileSync('convert', [...args, '+append', file]);
}

// A Sun AU file. Samples are integers in the encoding's own range.
export function makeAu({ encoding, rate, channels, frames, dataSize }) {
  const width = encoding === 3 ? 2 : 1;
  const data = Buffer.alloc(frames.length * channels * width);
  let pos = 0;
  for (const frame of frames) {
    for (const s of frame) {
      if (width === 2) data.writeInt16BE(s, pos);
      else if (encoding === 2) data.writeInt8(s, pos);
      else data.writeUInt8(s, pos);
      pos += width;
    }
  }
  const head = Buffer.alloc(24);
  head.writeUInt32BE(0x2e736e64, 0);
  head.writeUInt32BE(24, 4);
  head.writeUInt32BE(dataSize ?? data.length, 8);
  head.writeUInt32BE(encoding, 12);
  head.writeUInt32BE(rate, 16);
  head.writeUInt32BE(channels, 20);
  return Buffer.concat([head, data]);
}

// A copy of the program folder, run from, as the program takes the current
// directory as its program folder.
let programCopy = null;
export function programFolderCopy() {
  if (!programCopy) {
    programCopy = tempDir('quillmap-app-');
    fs.cpSync(appDir, programCopy, { recursive: true });
  }
  return programCopy;
}

// The block and the editor's rectangles the program builds for a project.
// Compile's form also puts the runtime and the sounds beside the project,
// where the page goes.
export function buildBlock(projectFile, { preview = false, cropped = false } = {}) {
  const args = ['--compile', ...(preview ? ['--preview'] : ['--runtime', path.dirname(projectFile)]),
    ...(cropped ? ['--cropped'] : []), '--json', projectFile];
  const out = execFileSync(program, args, {
    cwd: programFolderCopy(),
    env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' },
  });
  return JSON.parse(out.toString('utf8'));
}

// The rectangles the editor shows, in applet coordinates, in the form the
// runtimes print.
export function expectedRects(built) {
  const shift = (r) => ({ left: r.left - built.offsetLeft, top: r.top - built.offsetTop, width: r.width, height: r.height });
  return {
    width: built.appletWidth,
    height: built.appletHeight,
    title: built.showTitleAndBlurb ? shift(built.title) : null,
    blurb: built.showTitleAndBlurb ? shift(built.blurb) : null,
    buttons: built.buttons.map(shift),
  };
}

// The page Preview writes: the script runtime's line and the character set
// in the head.
export function previewPage(block, extraBody = '') {
  return ['<HTML>', '<HEAD>', '<script src="quillmap.js" defer blocking="render"></script>', '<meta charset="utf-8">', '</HEAD>', '<BODY>',
    block + extraBody, '</BODY>', '</HTML>'].map((l) => l + '\r\n').join('');
}

export function installRuntime(dir) {
  fs.copyFileSync(runtimeFile, path.join(dir, 'quillmap.js'));
}

// ---------------------------------------------------------------------------
// A static file server on the loopback address.

export async function serve(dir, extra = {}) {
  const types = { '.html': 'text/html', '.css': 'text/css', '.js': 'text/javascript', '.gif': 'image/gif', '.png': 'image/png', '.au': 'audio/basic' };
  // What was asked for, path by path, and the status it got: every engine
  // can be asked so.
  const asked = new Map();
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    if (typeof extra[name] === 'function') return void (asked.set(name, 200), extra[name](res));
    if (extra[name] !== undefined) {
      asked.set(name, 200);
      res.writeHead(200, { 'content-type': types[path.extname(name)] || 'text/html' });
      res.end(extra[name]);
      return;
    }
    const file = path.join(dir, path.normalize(name));
    if (!file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      asked.set(name, 404);
      res.writeHead(404);
      res.end();
      return;
    }
    asked.set(name, 200);
    res.writeHead(200, { 'content-type': types[path.extname(file).toLowerCase()] || 'application/octet-stream' });
    res.end(fs.readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    asked,
    // The browser keeps connections open; they would hold close() up for minutes.
    close: () => new Promise((resolve) => {
      server.close(resolve);
      server.closeAllConnections();
    }),
  };
}

// ---------------------------------------------------------------------------
// In the page

// Closes a tab without waiting on it for long: chromium sometimes never
// reports a tab closed after a navigation out of a frame was cancelled.
export function closeTab(page) {
  return Promise.race([page.close().catch(() => {}), new Promise((resolve) => setTimeout(resolve, 2000))]);
}

// The rendered menus' rectangles in applet coordinates, one object per menu.
// The parts are drawn in the menu element's shadow root.
export function menuRects(page) {
  return page.evaluate(() => {
    const rel = (el, base) => {
      if (!el) return null;
      const r = el.getBoundingClientRect();
      return { left: Math.round(r.left - base.left), top: Math.round(r.top - base.top), width: Math.round(r.width), height: Math.round(r.height) };
    };
    return [...document.querySelectorAll('[data-quillmap="menu"]')].map((menu) => {
      const base = menu.getBoundingClientRect();
      const parts = menu.shadowRoot;
      return {
        width: Math.round(base.width),
        height: Math.round(base.height),
        title: rel(parts.querySelector('[data-quillmap="title"]'), base),
        blurb: rel(parts.querySelector('[data-quillmap="blurb"]'), base),
        buttons: [...parts.querySelectorAll('[data-quillmap="button"]')].map((b) => rel(b, base)),
      };
    });
  });
}

// The text a menu part shows ("title", "blurb"), or a property of a button.
export function partText(page, kind, index = 0) {
  return page.evaluate((k, i) => document.querySelectorAll('[data-quillmap="menu"]')[i].shadowRoot
    .querySelector(`[data-quillmap="${k}"]`).textContent, kind, index);
}

// The page position of a menu's top-left corner.
export function menuOrigin(page, index = 0) {
  return page.evaluate((i) => {
    const r = document.querySelectorAll('[data-quillmap="menu"]')[i].getBoundingClientRect();
    return { x: r.left, y: r.top };
  }, index);
}

// Waits until every picture of the page and of its menus has loaded or
// failed. A menu names its pictures a few at a time, after it is built.
export function picturesSettled(page) {
  return page.waitForFunction(() => [...document.images].every((img) => img.complete)
    && [...document.querySelectorAll('[data-quillmap="menu"]')].every((m) => [...m.shadowRoot.querySelectorAll('img')]
      .every((img) => img.getAttribute('src') && img.complete)), { timeout: 5000 });
}

// ---------------------------------------------------------------------------
// Pixels

// Decodes the 8-bit RGB or RGBA, non-interlaced PNG files chromium writes.
export function decodePng(buf) {
  let pos = 8;
  let width = 0, height = 0, colorType = 0;
  const idat = [];
  while (pos < buf.length) {
    const len = buf.readUInt32BE(pos);
    const type = buf.toString('latin1', pos + 4, pos + 8);
    const body = buf.subarray(pos + 8, pos + 8 + len);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('unsupported PNG');
      colorType = body[9];
    } else if (type === 'IDAT') {
      idat.push(body);
    }
    pos += 12 + len;
  }
  const bpp = colorType === 6 ? 4 : colorType === 2 ? 3 : 0;
  if (!bpp) throw new Error(`unsupported PNG colour type ${colorType}`);
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * bpp;
  const out = Buffer.alloc(width * height * 4);
  const line = Buffer.alloc(stride);
  const prior = Buffer.alloc(stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const src = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; i++) {
      const a = i >= bpp ? line[i - bpp] : 0;
      const b = prior[i];
      const c = i >= bpp ? prior[i - bpp] : 0;
      let v = src[i];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      line[i] = v & 0xff;
    }
    for (let x = 0; x < width; x++) {
      out[(y * width + x) * 4] = line[x * bpp];
      out[(y * width + x) * 4 + 1] = line[x * bpp + 1];
      out[(y * width + x) * 4 + 2] = line[x * bpp + 2];
      out[(y * width + x) * 4 + 3] = bpp === 4 ? line[x * bpp + 3] : 255;
    }
    line.copy(prior);
  }
  return { width, height, data: out };
}

// A screenshot of the tab, addressed in applet coordinates from the given
// page position of the menu's top-left corner.
export async function shootAt(page, origin, file) {
  const png = await page.screenshot({ type: 'png' });
  if (file) fs.writeFileSync(file, png);
  return shotAt(decodePng(png), origin);
}

// One decoded screenshot seen from another origin: several menus of a page
// are read from a single picture of it.
export function shotAt(img, origin) {
  const at = (x, y) => {
    const px = Math.round(origin.x) + x, py = Math.round(origin.y) + y;
    if (px < 0 || py < 0 || px >= img.width || py >= img.height) return null;
    const i = (py * img.width + px) * 4;
    return [img.data[i], img.data[i + 1], img.data[i + 2]];
  };
  return { at, img, origin };
}

// A screenshot of the page's first (or index-th) menu.
export async function shoot(page, index = 0, file) {
  return shootAt(page, await menuOrigin(page, index), file);
}

export function rgb(hex) {
  const v = parseInt(hex.slice(1), 16);
  return [(v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff];
}

export function near(a, b, tolerance = 0) {
  return !!a && Math.abs(a[0] - b[0]) <= tolerance && Math.abs(a[1] - b[1]) <= tolerance && Math.abs(a[2] - b[2]) <= tolerance;
}

// The smallest rectangle holding every pixel of an area that passes a test,
// or null when none does.
export function boundsWhere(shot, area, test) {
  let left = Infinity, top = Infinity, right = -Infinity, bottom = -Infinity;
  for (let y = area.top; y < area.top + area.height; y++) {
    for (let x = area.left; x < area.left + area.width; x++) {
      const c = shot.at(x, y);
      if (c && test(c, x, y)) {
        left = Math.min(left, x); top = Math.min(top, y);
        right = Math.max(right, x); bottom = Math.max(bottom, y);
      }
    }
  }
  return left === Infinity ? null : { left, top, width: right - left + 1, height: bottom - top + 1 };
}

export function grow(r, by) {
  return { left: r.left - by, top: r.top - by, width: r.width + 2 * by, height: r.height + 2 * by };
}

// The horizontal bands of an area that hold pixels passing a test: one per
// drawn text line.
export function rowBands(shot, area, test) {
  const bands = [];
  let open = null;
  for (let y = area.top; y < area.top + area.height; y++) {
    let hit = false;
    for (let x = area.left; x < area.left + area.width && !hit; x++) hit = test(shot.at(x, y) || [0, 0, 0]);
    if (hit && !open) open = { top: y, bottom: y };
    else if (hit) open.bottom = y;
    else if (open) { bands.push(open); open = null; }
  }
  if (open) bands.push(open);
  return bands;
}

export function samePixels(a, b) {
  return a.img.width === b.img.width && a.img.height === b.img.height && a.img.data.equals(b.img.data);
}
