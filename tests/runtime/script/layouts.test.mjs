// quillmap.js on the other layouts the program builds: a design without
// Title and Blurb, a cropped design with centred Blurb pictures inside a
// frame, and the Preview page opened from disk. Saves the screenshots of the
// Preview page before and during a hover.

import assert from 'node:assert/strict';
import { execFile, execFileSync } from 'node:child_process';
import { promisify } from 'node:util';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';
import { buttonsOnly, centred, colors, pageFor, threeButtons, tone } from './designs.mjs';
import {
  BROWSER_TEST, isWebKit, boundsWhere, closeTab, expectedRects, grow, launchBrowser, makeAu, makePicture, menuOrigin, menuRects, near, partText,
  picturesSettled, program, programFolderCopy, requireBrowserKit, rgb, rowBands, samePixels, serve, shoot, shootAt, tempDir, writeProject,
} from './harness.mjs';

const kit = await requireBrowserKit();
const here = path.dirname(fileURLToPath(import.meta.url));
const shotDir = process.env.QUILLMAP_SHOT_DIR || process.cwd();

const center = (r, origin) => ({ x: origin.x + r.left + r.width / 2, y: origin.y + r.top + r.height / 2 });
const inside = (x, y, r) => x >= r.left && y >= r.top && x < r.left + r.width && y < r.top + r.height;

let browser;
before(async () => { browser = await launchBrowser(kit); });
after(async () => { await browser?.close(); });

async function open(url) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(url, { waitUntil: 'load' });
  await picturesSettled(page);
  return { page, errors };
}

test('a design without Title and Blurb draws its buttons on the background and nothing else', BROWSER_TEST, async () => {
  const made = buttonsOnly();
  // After the menu: a damaged block and another applet, which must not disturb it.
  const built = pageFor(made, {
    extraBody: '<applet code="quillmap.class" width=50 height=20><param name="left1" value="x"><param name="table_color" value="red"></applet>'
      + '<applet code="other.class" width=10 height=10></applet>',
  });
  assert.match(built.html, /<param name="head_width" value="1">/);
  const rects = expectedRects(built);
  assert.equal(rects.width, built.surface.width, 'absolute positioning: as large as the design surface');

  const { page, errors } = await open(pathToFileURL(path.join(made.dir, 'index.html')).href);
  const menus = await menuRects(page);
  assert.deepEqual(menus[0], rects);
  assert.deepEqual(menus[1], { width: 50, height: 20, title: null, blurb: null, buttons: [{ left: 0, top: 0, width: 0, height: 0 }] });
  assert.equal(await page.$$eval('applet', (a) => a.map((e) => e.getAttribute('code')).join()), 'other.class', 'other applets stay');
  const bg = rgb(made.design.background);
  const shot = await shoot(page);
  const stray = boundsWhere(shot, { left: 0, top: 0, width: rects.width, height: rects.height },
    (c, x, y) => !near(c, bg, 2) && !rects.buttons.some((r) => inside(x, y, r)));
  assert.equal(stray, null, 'no Title, Blurb or anything else is drawn');
  for (const r of rects.buttons) assert.deepEqual(boundsWhere(shot, grow(r, 10), (c) => !near(c, bg, 2)), r);

  const [r1] = rects.buttons;
  await page.mouse.move(center(r1, shot.origin).x, center(r1, shot.origin).y);
  const hover = await shoot(page);
  assert.deepEqual(boundsWhere(hover, grow(r1, 10), (c) => near(c, rgb(colors.b2Over), 2)), r1);
  await page.mouse.move(shot.origin.x + 1, shot.origin.y + 1);
  assert.ok(samePixels(await shoot(page), shot), 'leaving restores the picture');
  assert.deepEqual(errors, []);
  await closeTab(page);
});

test('a cropped design: offsets, centred Blurb pictures, and _top/_parent links from inside a frame',
  { ...BROWSER_TEST, skip: isWebKit && 'WebDriver intercepts no navigation' }, async () => {
  const made = centred();
  const built = pageFor(made, { cropped: true });
  assert.equal(built.offsetLeft, 55);
  assert.equal(built.offsetTop, 35);
  const rects = expectedRects(built);
  assert.deepEqual(rects.title, { left: 5, top: 5, width: 260, height: 36 });

  // The rectangles as the comparison command prints them.
  const blockFile = path.join(made.dir, 'block.html');
  fs.writeFileSync(blockFile, built.html);
  const { stdout } = await promisify(execFile)(process.execPath, [path.join(here, 'rects.mjs'), blockFile], { timeout: 60000 });
  const printed = JSON.parse(stdout);
  assert.deepEqual(printed, rects);

  const server = await serve(made.dir, { '/outer.html': '<body style="margin:0"><iframe src="index.html" style="border:0;position:absolute;left:30px;top:20px" width="500" height="400"></iframe></body>' });
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  const navigations = [];
  await page.setRequestInterception(true);
  page.on('request', (req) => {
    if (req.isNavigationRequest() && !/\/(outer|index)\.html$/.test(req.url())) {
      navigations.push({ url: req.url(), top: req.frame() === page.mainFrame() });
      req.abort();
    } else {
      req.continue();
    }
  });
  await page.goto(server.url + 'outer.html', { waitUntil: 'load' });
  const frame = page.frames().find((f) => f.url().endsWith('/index.html'));
  await picturesSettled(frame);
  assert.deepEqual((await menuRects(frame))[0], rects);

  // Screenshots are of the whole tab; the menu sits where the frame puts it.
  const inFrame = await menuOrigin(frame);
  const origin = { x: 30 + inFrame.x, y: 20 + inFrame.y };
  const grab = () => shootAt(page, origin);
  const title = () => partText(frame, 'title');
  const green = (c) => near(c, rgb(colors.bgPicture), 2);
  const magenta = (c) => near(c, rgb(colors.blurbPicture), 2);
  const b = rects.blurb;

  let shot = await grab();
  assert.deepEqual(boundsWhere(shot, b, green), { left: b.left + 110, top: b.top + 20, width: 40, height: 30 },
    'the background Blurb picture at its own size, centred');
  assert.equal(await title(), 'Cropped');

  const [r1, r2] = rects.buttons;
  await page.mouse.move(center(r1, origin).x, center(r1, origin).y);
  shot = await grab();
  assert.equal(await title(), 'Left');
  assert.equal(boundsWhere(shot, b, green), null);
  assert.deepEqual(boundsWhere(shot, b, magenta), { left: b.left + 114, top: b.top + 24, width: 31, height: 21 },
    'an odd-sized picture centred with the halves cut to whole pixels');

  await page.mouse.move(center(r2, origin).x, center(r2, origin).y);
  shot = await grab();
  assert.equal(boundsWhere(shot, b, (c) => green(c) || magenta(c)), null);
  assert.equal(rowBands(shot, b, (c) => !near(c, rgb(made.design.background), 24)).length, 1, 'the button\'s Blurb text');

  await page.mouse.click(center(r1, origin).x, center(r1, origin).y);
  await page.mouse.click(center(r2, origin).x, center(r2, origin).y);
  await new Promise((r) => setTimeout(r, 300));
  assert.deepEqual(navigations, [
    { url: server.url + 'left.html', top: true },
    { url: server.url + 'right.html', top: true },
  ], '_top and _parent leave the frame');
  assert.deepEqual(errors, []);
  await closeTab(page);
  await server.close();
});

test('the Preview page opened from disk shows the menu; screenshots before and during a hover', BROWSER_TEST, async () => {
  const made = threeButtons();
  const built = pageFor(made, { preview: true, page: 'preview.html' });
  assert.match(built.html, /<param name="URL3" value="file:\/\/\//);
  const rects = expectedRects(built);
  const { page, errors } = await open(pathToFileURL(path.join(made.dir, 'preview.html')).href);
  assert.deepEqual((await menuRects(page))[0], rects);

  const before = await shoot(page, 0, path.join(shotDir, 'preview-before.png'));
  const [r1, r2] = rects.buttons;
  for (const r of rects.buttons) assert.deepEqual(boundsWhere(before, grow(r, 10), (c) => !near(c, rgb(colors.background), 24)), r);

  await page.mouse.move(center(r2, before.origin).x, center(r2, before.origin).y);
  const hover = await shoot(page, 0, path.join(shotDir, 'preview-hover.png'));
  assert.ok(near(hover.at(r2.left + 60, r2.top + 20), rgb(colors.b2Over), 2));
  assert.equal(rowBands(hover, rects.blurb, (c) => !near(c, rgb(colors.background), 24)).length, 3);
  assert.ok(near(hover.at(r1.left + 20, r1.top + 20), rgb(colors.b1[0]), 2));

  // The relative link points at the file itself.
  const href = await page.$eval('pierce/[data-quillmap="button"][data-number="3"]', (a) => a.href);
  assert.equal(href, pathToFileURL(path.join(made.dir, 'contact/next.html')).href);
  assert.deepEqual(errors, []);
  await closeTab(page);
});

test('on a phone the menu scales down to its container, keeping its proportions and its hover', BROWSER_TEST, async () => {
  const made = threeButtons();
  const rects = expectedRects(pageFor(made));
  const { page, errors } = await open(pathToFileURL(path.join(made.dir, 'index.html')).href);
  // The browser window of WebKit's WebDriver is never as narrow as a
  // phone: there the page's body is made the phone's width instead.
  if (isWebKit) await page.evaluate(() => { document.body.style.width = '375px'; });
  else await page.setViewport({ width: 375, height: 667 });
  await page.waitForFunction((w) => document.querySelector('[data-quillmap="menu"]').getBoundingClientRect().width < w,
    {}, rects.width);
  const menu = (await menuRects(page))[0];
  const room = await page.evaluate(() => document.body.getBoundingClientRect().width);
  assert.ok(Math.abs(menu.width - room) <= 1, `as wide as the room it has (${menu.width} of ${room})`);
  assert.ok(Math.abs(menu.height / menu.width - rects.height / rects.width) < 0.01, 'in the design\'s proportions');
  assert.equal(await page.evaluate(() => document.scrollingElement.scrollWidth <= innerWidth), true, 'no sideways scroll');
  // The last button, where the scaled menu shows it, still takes the hover.
  const scale = menu.width / rects.width;
  const r3 = rects.buttons[2];
  const origin = await menuOrigin(page);
  await page.mouse.move(origin.x + (r3.left + r3.width / 2) * scale, origin.y + (r3.top + r3.height / 2) * scale);
  await page.waitForFunction(() => document.querySelector('[data-quillmap="menu"]').shadowRoot
    .querySelector('[data-quillmap="title"]').textContent === 'Contact "us"');
  assert.deepEqual(errors, []);
  await closeTab(page);
});

// Published as a designer publishes it: Compile's clipboard text alone as the
// page, the runtime copied beside it, the folder served over http. The check
// finds nothing (--strict), and every picture, sharp copy and sound arrives.
test('the pasted text alone, served from the project folder, gets every file it asks for', BROWSER_TEST, async () => {
  const dir = tempDir('quillmap-deploy-');
  for (const sub of ['art', 'snd']) fs.mkdirSync(path.join(dir, sub));
  makePicture(path.join(dir, 'art/b1.gif'), 10, 10, [colors.b2]);
  makePicture(path.join(dir, 'art/b1@2x.gif'), 20, 20, [colors.b2]);
  makePicture(path.join(dir, 'art/b1o.gif'), 10, 10, [colors.b2Over]);
  makePicture(path.join(dir, 'art/pic.gif'), 20, 20, [colors.blurbPicture]);
  fs.writeFileSync(path.join(dir, 'snd/tone.au'), makeAu({ encoding: 3, rate: tone.rate, channels: 2, frames: tone.frames }));
  const design = structuredClone(threeButtons().design);
  design.buttons = [{ ...design.buttons[0], image: path.join(dir, 'art/b1.gif'), rollOver: path.join(dir, 'art/b1o.gif'),
    blurbImage: path.join(dir, 'art/pic.gif'), sound: path.join(dir, 'snd/tone.au'), link: 'next.html' }];
  const project = path.join(dir, 'menu.qmf');
  writeProject(project, design);
  const pasted = execFileSync(program, ['--compile', '--strict', '--runtime', dir, project],
    { cwd: programFolderCopy(), env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } }).toString('utf8');
  fs.writeFileSync(path.join(dir, 'page.html'), pasted);

  const server = await serve(dir);
  const page = await browser.newPage();
  const { asked } = server;
  await page.goto(`${server.url}page.html`, { waitUntil: 'load' });
  await picturesSettled(page);
  await page.waitForFunction(() => performance.getEntriesByType('resource').some((e) => /tone\.au$/.test(e.name)));
  await new Promise((r) => setTimeout(r, 200));
  for (const file of ['/quillmap.js', '/art/b1.gif', '/art/b1o.gif', '/art/pic.gif', '/tone.au']) {
    assert.equal(asked.get(file), 200, `${file} arrives`);
  }
  // (The browser's own favicon request aside.)
  assert.deepEqual([...asked].filter(([file, status]) => status !== 200 && file !== '/favicon.ico'), [], 'nothing the page asks for is missing');
  assert.equal(await page.$$eval('[data-quillmap="menu"]', (m) => m.length), 1);
  await closeTab(page);
  await server.close();
});
