// Benchmark of quillmap.js on cold loads of bench.html: menus of 12 and 200
// buttons (two pictures each, the program's click sound) and a menu whose
// sound is a 16 MB AU file. Every figure comes from the browser's own
// performance entries:
//
//   build       the runtime's time from DOMContentLoaded to a complete menu
//               (a user-timing measure around its listener); in chromium also
//               the main thread's CPU time in that listener, from a trace,
//               which a busy machine does not stretch
//   longest task   the longest task while the page and its pictures load
//               (chromium's long tasks; firefox has none, so there the longest
//               gap between animation frames stands in)
//   runtime in frame  the longest stretch of quillmap.js inside one long
//               animation frame (chromium only)
//   first hover  the longest first-hover event (pointerover, pointerenter,
//               mouseover) up to the next paint, beside the same for the
//               page's own two-picture rollover in its corner (no runtime);
//               events under 16 ms are not reported by the browser, so "<16"
//               means within one frame; of a reported event, "waiting" is
//               the longest time before the browser handed it to the page
//               (input waits for the next frame), "handlers" the longest time
//               the page's listeners took, and "on screen within" the longest
//               time from the handlers' start to the frame that shows it
//               (the duration is rounded to 8 ms, so these are too)
//
//   second hover  the same for hovering those buttons again: the steady state
//               a first hover should match
//   written by hand  the hovers of the same buttons on a page without the
//               runtime (links placed by a style sheet, CSS :hover): what
//               the browser itself needs for a menu of that size
//   fully drawn  (chromium) on an emulated 100 ms / 10 Mbit link, the first
//               frame in which the 12-button menu stands with every picture,
//               on Preview's page and on a hand-written page of the same
//               pictures, texts and CSS :hover (its style sheet a file)
//
//   node bench/script/menubench.mjs [--engine chromium|firefox] [--runs N] [--runtime FILE ...] [--only link]
//
// Prints one line per design and runtime (median and range over the runs)
// and each runtime's gzipped size. The runtime is the program folder's
// quillmap.js unless --runtime names others (e.g. an older copy saved with
// "git show main:runtime/script/quillmap.js > /tmp/old.js", or an empty file
// for the page alone); their runs take turns, so a busy machine slows them
// alike. It is a benchmark, not a test: it passes no verdict.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';

const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(`--${name}`);
  return i >= 0 && args[i + 1] ? args[i + 1] : fallback;
};
process.env.QUILLMAP_BROWSER = option('engine', process.env.QUILLMAP_BROWSER || 'chromium');
const runs = Math.max(1, parseInt(option('runs', '5'), 10) || 5);
const linkOnly = option('only', '') === 'link';
const runtimeArgs = args.flatMap((a, i) => (a === '--runtime' && args[i + 1] ? [args[i + 1]] : []));

const h = await import('../../tests/runtime/script/harness.mjs');
const kit = await h.requireBrowserKit();
const here = path.dirname(fileURLToPath(import.meta.url));

// A PNG of noise: every picture is different, so none is decoded only once.
function writeNoisePng(file, width, height, seed) {
  const crcTable = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
  });
  const crc = (buf) => {
    let c = 0xffffffff;
    for (const b of buf) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
  };
  const chunk = (type, body) => {
    const head = Buffer.alloc(8);
    head.writeUInt32BE(body.length, 0);
    head.write(type, 4, 'latin1');
    const tail = Buffer.alloc(4);
    tail.writeUInt32BE(crc(Buffer.concat([head.subarray(4), body])), 0);
    return Buffer.concat([head, body, tail]);
  };
  let state = seed * 2654435761 >>> 0 || 1;
  const raw = Buffer.alloc(height * (width * 3 + 1));
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width * 3; x++) {
      state ^= state << 13; state ^= state >>> 17; state ^= state << 5; state >>>= 0;
      raw[y * (width * 3 + 1) + 1 + x] = state & 0xff;
    }
  }
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(width, 0);
  ihdr.writeUInt32BE(height, 4);
  ihdr[8] = 8; ihdr[9] = 2;
  fs.writeFileSync(file, Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', ihdr),
    chunk('IDAT', zlib.deflateSync(raw)), chunk('IEND', Buffer.alloc(0))]));
}

// A design of n buttons in rows of ten under the Title and Blurb.
function makeDesign(n, { bigSound = false } = {}) {
  const dir = h.tempDir(`quillmap-bench-${n}-`);
  const click = path.join(h.programFolderCopy(), 'sound/click.au');
  if (bigSound) {
    // 16 MB of mu-law samples: two seconds' worth of decoding for a naive decoder.
    const frames = 16 * 1024 * 1024;
    const au = Buffer.alloc(24 + frames);
    au.writeUInt32BE(0x2e736e64, 0); au.writeUInt32BE(24, 4); au.writeUInt32BE(frames, 8);
    au.writeUInt32BE(1, 12); au.writeUInt32BE(8000, 16); au.writeUInt32BE(1, 20);
    for (let i = 24; i < au.length; i++) au[i] = (i * 37) & 0xff;
    fs.writeFileSync(path.join(dir, 'big.au'), au);
  }
  const buttons = [];
  for (let i = 0; i < n; i++) {
    const image = path.join(dir, `b${i}.png`);
    const over = path.join(dir, `o${i}.png`);
    writeNoisePng(image, 60, 24, 2 * i + 1);
    writeNoisePng(over, 60, 24, 2 * i + 2);
    buttons.push({
      top: 150 + Math.floor(i / 10) * 30, left: 20 + (i % 10) * 66, height: 24, width: 60,
      image, rollOver: over, title: `Button ${i + 1}`, blurb: `What button ${i + 1} leads to\nin two lines`,
      link: `page${i + 1}.html`, target: '_self', sound: bigSound && i === 0 ? path.join(dir, 'big.au') : click,
    });
  }
  const design = {
    title: { top: 10, left: 20, height: 40, width: 640 },
    blurb: { top: 56, left: 20, height: 80, width: 640 },
    background: '#203050', textColor: '#ffe040',
    titleFont: { name: 'Times Roman', size: 24, style: 'Bold' },
    blurbFont: { name: 'Times Roman', size: 14, style: 'Normal' },
    showTitleAndBlurb: true, bgTitle: 'Benchmark', bgBlurb: 'Pick a button', blurbImage: '', stretch: true, buttons,
  };
  const project = path.join(dir, 'bench.qmf');
  h.writeProject(project, design);
  const built = h.buildBlock(project, { preview: true, cropped: true });
  fs.copyFileSync(click, path.join(dir, 'click.au'));
  h.installRuntime(dir);
  const template = fs.readFileSync(path.join(here, 'bench.html'), 'utf8');
  fs.writeFileSync(path.join(dir, 'index.html'), template.replace('<!--BLOCK-->', () => built.html));
  return { dir, built };
}

// One cold load: a fresh browser context, so nothing is cached.
async function measure(browser, url, built, { settle = 1000 } = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  try {
    // Tall enough for the 200 buttons: firefox moves the mouse only inside the view.
    await page.setViewport({ width: 800, height: 1000 });
    // Chromium's trace gives the main thread's CPU time of the build: on a
    // busy machine the thread waits for a core, and the wall time with it.
    const tracing = kit.engine === 'chromium';
    if (tracing) await page.tracing.start({ categories: ['devtools.timeline'] });
    await page.goto(url, { waitUntil: 'load' });
    const buildCpu = tracing ? JSON.parse(Buffer.from(await page.tracing.stop()).toString()).traceEvents
      .filter((e) => e.name === 'EventDispatch' && e.args?.data?.type === 'DOMContentLoaded')
      .reduce((m, e) => Math.max(m, (e.tdur ?? 0) / 1000), 0) : NaN;
    await page.waitForFunction(() => [...document.querySelectorAll('[data-quillmap="menu"]')]
      .flatMap((m) => [...(m.shadowRoot || m).querySelectorAll('img')]).every((img) => img.complete), { timeout: 20000 });
    await new Promise((r) => setTimeout(r, settle));
    const loaded = await page.evaluate(() => performance.now());

    // A hover of the plain element, then first hovers of ten buttons spread
    // over the menu.
    const frames = () => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    await page.mouse.move(720, 590);
    await frames();
    const controlStart = await page.evaluate(() => performance.now());
    await page.mouse.move(770, 12);
    await frames();
    const menuStart = await page.evaluate(() => performance.now());
    // A page without the runtime (an empty --runtime file) has no menu to hover.
    const origin = (await page.$('[data-quillmap="menu"]')) ? await h.menuOrigin(page) : await page.evaluate(() => {
      // The hand-written page's menu, or none.
      const r = document.querySelector('body > .m')?.getBoundingClientRect();
      return r ? { x: r.left, y: r.top } : null;
    });
    const count = origin ? built.buttons.length : 0;
    const hovered = [];
    for (let k = 0; k < Math.min(10, count); k++) {
      const b = built.buttons[Math.floor((k * count) / Math.min(10, count))];
      const x = origin.x + b.left - built.offsetLeft + b.width / 2;
      const y = origin.y + b.top - built.offsetTop + b.height / 2;
      hovered.push([x, y]);
      await page.mouse.move(x, y);
      await frames();
    }
    const secondStart = await page.evaluate(() => performance.now());
    for (const [x, y] of hovered) {
      await page.mouse.move(x, y);
      await frames();
    }
    await new Promise((r) => setTimeout(r, 300));
    return await page.evaluate(([until, controlStart, menuStart, secondStart]) => {
      const b = window.__bench;
      const build = performance.getEntriesByName('quillmap-build')[0];
      const runtimeIn = (loaf) => loaf.scripts.filter((s) => /quillmap\.js/.test(s.sourceURL)).reduce((t, s) => t + s.duration, 0);
      const hoverTypes = ['pointerover', 'pointerenter', 'mouseover', 'mouseenter'];
      const hovers = (from, to) => b.events.filter((e) => e.startTime >= from && e.startTime < to && hoverTypes.includes(e.name));
      const longest = (from, to) => hovers(from, to).reduce((m, e) => Math.max(m, e.duration), 0);
      return {
        build: build ? build.duration : NaN,
        longestTask: b.longtasks.filter((t) => t.startTime < until).reduce((m, t) => Math.max(m, t.duration), 0),
        hasLongTasks: PerformanceObserver.supportedEntryTypes.includes('longtask'),
        longestGap: b.frames.filter((f) => f.start < until).reduce((m, f) => Math.max(m, f.gap), 0),
        runtimeInFrame: b.loafs.filter((l) => l.startTime < until).reduce((m, l) => Math.max(m, runtimeIn(l)), 0),
        hasLoafs: PerformanceObserver.supportedEntryTypes.includes('long-animation-frame'),
        control: longest(controlStart, menuStart),
        hover: longest(menuStart, secondStart),
        handlers: hovers(menuStart, secondStart).reduce((m, e) => Math.max(m, e.processingEnd - e.processingStart), 0),
        waited: hovers(menuStart, secondStart).reduce((m, e) => Math.max(m, e.processingStart - e.startTime), 0),
        drawn: hovers(menuStart, secondStart).reduce((m, e) => Math.max(m, e.startTime + e.duration - e.processingStart), 0),
        second: longest(secondStart, Infinity),
      };
    }, [loaded, controlStart, menuStart, secondStart]).then((r) => ({ ...r, buildCpu }));
  } finally {
    await h.closeTab(page);
    await context.close().catch(() => {});
  }
}

// A menu as a designer could write it by hand: links placed by
// a style sheet, the mouse-over picture shown by :hover, the texts as text.
function handWritten(dir, built) {
  const px = (r) => `left:${r.left}px;top:${r.top}px;width:${r.width}px;height:${r.height}px`;
  const shift = (r) => ({ ...r, left: r.left - built.offsetLeft, top: r.top - built.offsetTop });
  const css = [`.m{position:relative;width:${built.appletWidth}px;height:${built.appletHeight}px;background:#203050;color:#ffe040}`,
    '.m a,.m div{position:absolute}.m img{position:absolute;width:100%;height:100%}.m .o,.m a:hover .i{display:none}.m a:hover .o{display:block}',
    `.t{${px(shift(built.title))};font:bold 26px serif}.u{${px(shift(built.blurb))};font:16px serif}`,
    ...built.buttons.map((b, i) => `#b${i}{${px(shift(b))}}`)];
  fs.writeFileSync(path.join(dir, 'hand.css'), css.join('\n'));
  const links = built.buttons.map((b, i) => `<a id="b${i}" href="page${i + 1}.html"><img class="i" src="b${i}.png" alt="Button ${i + 1}">`
    + `<img class="o" src="o${i}.png" alt=""></a>`);
  return `<link rel="stylesheet" href="hand.css"><div class="m"><div class="t">Benchmark</div><div class="u">Pick a button</div>${links.join('')}</div>`;
}

// Records the first frame in which the page's menu (the runtime's or the
// hand-written one) stands with every picture it shows.
const DRAWN_PROBE = `<script>(function look() { requestAnimationFrame(function (now) {
  var menu = document.querySelector('[data-quillmap="menu"]');
  var root = menu ? menu.shadowRoot : document.querySelector('.m');
  var shown = root ? [...root.querySelectorAll('img')].filter(function (i) { return i.getClientRects().length; }) : [];
  if (shown.length && shown.every(function (i) { return i.complete && i.naturalWidth; })) window.__drawn = now; else look();
}); })();</script>`;

async function fullyDrawn(browser, url) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  try {
    await page.emulateNetworkConditions({ download: 10e6 / 8, upload: 10e6 / 8, latency: 100 });
    await page.goto(url, { waitUntil: 'load' });
    await page.waitForFunction(() => window.__drawn !== undefined, { timeout: 20000 });
    return await page.evaluate(() => window.__drawn);
  } finally {
    await h.closeTab(page);
    await context.close().catch(() => {});
  }
}

const stats = (values) => {
  const v = [...values].sort((a, b) => a - b);
  return { median: v[Math.floor(v.length / 2)], min: v[0], max: v[v.length - 1] };
};
const show = (values, unit = ' ms') => {
  const s = stats(values);
  const f = (x) => (Number.isFinite(x) ? x.toFixed(1) : 'n/a');
  return `${f(s.median)}${unit} (${f(s.min)}-${f(s.max)})`;
};

const designs = [
  ['12 buttons, 24 pictures', () => makeDesign(12)],
  ['200 buttons, 400 pictures', () => makeDesign(200)],
  ['12 buttons, one 16 MB sound', () => makeDesign(12, { bigSound: true }), { settle: 3000 }],
];

const runtimes = (runtimeArgs.length ? runtimeArgs : [h.runtimeFile]).map((file) => ({ file, text: fs.readFileSync(file) }));
const browser = await h.launchBrowser(kit);
console.log(`${kit.engine} ${await browser.version()}, ${runs} cold loads per design and runtime`);
for (const r of runtimes) {
  console.log(`${r.file}: ${r.text.length} bytes, ${zlib.gzipSync(r.text, { level: 9 }).length} gzipped`);
}
try {
  for (const [name, make, options] of linkOnly ? [] : designs) {
    const { dir, built } = make();
    // The same buttons written by hand (CSS :hover, no runtime), hovered alike.
    const template = fs.readFileSync(path.join(here, 'bench.html'), 'utf8');
    fs.writeFileSync(path.join(dir, 'hand.html'), template.replace('<script src="quillmap.js"></script>', '')
      .replace('<!--BLOCK-->', () => handWritten(dir, built)));
    const hand = [];
    const servers = await Promise.all(runtimes.map((r) => h.serve(dir, { '/quillmap.js': r.text })));
    const results = runtimes.map(() => []);
    for (let i = 0; i < runs; i++) {
      for (const [k, server] of servers.entries()) results[k].push(await measure(browser, server.url + 'index.html', built, options));
      hand.push(await measure(browser, servers[0].url + 'hand.html', built, options));
    }
    await Promise.all(servers.map((server) => server.close()));
    for (const [k, list] of results.entries()) {
      const r0 = list[0];
      const parts = [`build ${show(list.map((r) => r.build))}`
        + (Number.isFinite(r0.buildCpu) ? ` (on the CPU ${show(list.map((r) => r.buildCpu))})` : '')];
      if (r0.hasLongTasks) parts.push(`longest task ${show(list.map((r) => r.longestTask))}`);
      parts.push(`longest frame gap ${show(list.map((r) => r.longestGap))}`);
      if (r0.hasLoafs) parts.push(`runtime in one frame ${show(list.map((r) => r.runtimeInFrame))}`);
      const hover = (key) => (list.every((r) => r[key] === 0) ? '<16 ms' : show(list.map((r) => r[key])));
      parts.push(`first hover ${hover('hover')} (waiting for the browser to hand it over ${show(list.map((r) => r.waited))}, `
        + `handlers ${show(list.map((r) => r.handlers))}, then on screen within ${show(list.map((r) => r.drawn))}), second ${hover('second')}, `
        + `page's own rollover ${hover('control')}`);
      console.log(`${name}${runtimes.length > 1 ? ` [${runtimes[k].file}]` : ''}: ${parts.join('; ')}`);
    }
    const handHover = (key) => (hand.every((r) => r[key] === 0) ? '<16 ms' : show(hand.map((r) => r[key])));
    console.log(`${name}, written by hand: first hover ${handHover('hover')} (on screen within ${show(hand.map((r) => r.drawn))}), `
      + `second ${handHover('second')}`);
  }
  if (kit.engine === 'chromium') {
    const { dir, built } = makeDesign(12);
    const head = (line) => `<!DOCTYPE html><html><head><meta charset="utf-8">${DRAWN_PROBE}${line}</head><body style="margin:0">`;
    fs.writeFileSync(path.join(dir, 'hand.html'), `${head('')}${handWritten(dir, built)}</body></html>`);
    const server = await h.serve(dir);
    const menus = { 'Preview page': [], 'hand-written': [] };
    for (const [name, r] of runtimes.entries()) {
      fs.writeFileSync(path.join(dir, `menu${name}.html`), `${head('<script src="quillmap.js" defer blocking="render"></script>')}${built.html}</body></html>`);
      fs.writeFileSync(path.join(dir, `quillmap${name}.js`), r.text);
    }
    const timed = runtimes.map(() => []);
    for (let i = 0; i < runs; i++) {
      menus['hand-written'].push(await fullyDrawn(browser, `${server.url}hand.html`));
      for (const k of runtimes.keys()) {
        fs.copyFileSync(path.join(dir, `quillmap${k}.js`), path.join(dir, 'quillmap.js'));
        timed[k].push(await fullyDrawn(browser, `${server.url}menu${k}.html`));
      }
    }
    await server.close();
    const hand = stats(menus['hand-written']).median;
    console.log(`100 ms / 10 Mbit link, fully drawn: hand-written page ${show(menus['hand-written'])}`);
    for (const [k, list] of timed.entries()) {
      console.log(`  Preview page${runtimes.length > 1 ? ` [${runtimes[k].file}]` : ''} ${show(list)}, ${(stats(list).median / hand).toFixed(2)}x`);
    }
  }
} finally {
  await browser.close();
}
