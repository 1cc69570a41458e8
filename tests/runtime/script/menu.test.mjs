// quillmap.js in a real browser, on the block the program builds for a
// design of three buttons, served over HTTP as a compiled menu page would
// be: drawing, hover, sound, links, keyboard, touch and broken files.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { colors, pageFor, threeButtons, tone } from './designs.mjs';
import {
  BROWSER_TEST, boundsWhere, closeTab, expectedRects, grow, isFirefox, isWebKit, launchBrowser, menuRects, near, partText, picturesSettled,
  requireBrowserKit, rgb, rowBands, samePixels, serve, shoot,
} from './harness.mjs';

const kit = await requireBrowserKit();

const bg = rgb(colors.background);
const notBackground = (c) => !near(c, bg, 24);
const textLike = (c) => near(c, rgb(colors.text), 90);
const center = (r, origin) => ({ x: origin.x + r.left + r.width / 2, y: origin.y + r.top + r.height / 2 });

let browser, server, made, built, rects;

// Records what the page plays instead of listening to it.
function recordSounds() {
  window.__played = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    const b = this.buffer;
    const channels = [];
    for (let c = 0; c < b.numberOfChannels; c++) channels.push(Array.from(b.getChannelData(c)));
    window.__played.push({ sampleRate: b.sampleRate, length: b.length, channels });
    return start.apply(this, args);
  };
}

// The page itself keeps the log of where links go: each click that a link
// would follow, stopped after everything else has seen it (a new window
// noted apart). So every engine is asked alike, WebDriver's too.
function logLinks() {
  window.__navigations = [];
  window.__popups = [];
  addEventListener('click', (e) => {
    const a = e.composedPath().find((n) => n.localName === 'a' && n.href);
    if (!a || e.defaultPrevented) return;
    e.preventDefault();
    if (a.target.toLowerCase() === '_blank') window.__popups.push(a.href);
    else window.__navigations.push({ url: a.href, frame: a.target === '_self' ? '' : a.target });
  });
}

// A fresh tab on the menu page, with the log of its links: `navigations()`.
async function openMenu({ touch = false } = {}) {
  const page = await browser.newPage();
  if (touch) await page.setViewport({ width: 800, height: 600, deviceScaleFactor: 1, hasTouch: true });
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  // Network idle: the sounds, fetched when the menu starts, are in.
  await page.goto(server.url + 'index.html', { waitUntil: ['load', 'networkidle0'] });
  await page.evaluate(logLinks);
  await picturesSettled(page);
  // WebKit, as Safari, lets a page play sound only once the visitor has
  // clicked or typed: a click on the page beside the menu.
  if (isWebKit) await page.mouse.click(799, 599);
  const origin = (await shoot(page)).origin;
  const navigations = () => page.evaluate(() => window.__navigations);
  return { page, errors, navigations, origin };
}

function titleText(page) {
  return partText(page, 'title');
}

async function waitForSounds(page, count) {
  await page.waitForFunction((n) => window.__played.length >= n, { timeout: 5000 }, count);
  return page.evaluate(() => window.__played);
}

before(async () => {
  made = threeButtons();
  // The frame the second button targets sits after the menu, so Tab reaches
  // the menu's buttons first.
  // The page records its sounds itself, before the runtime starts.
  built = pageFor(made, { extraBody: '<iframe name="content" src="about:blank" width="100" height="40"></iframe>'
    + `<script>(${recordSounds})()</script>` });
  rects = expectedRects(built);
  server = await serve(made.dir);
  browser = await launchBrowser(kit);
});

after(async () => {
  await browser?.close();
  await server?.close();
});

test('the block is the program\'s own: compile form, relative names, three buttons', () => {
  assert.match(built.html, /<applet archive="quillmap.zip" code="quillmap.class" width=\d+ height=\d+>/);
  assert.match(built.html, /<param name="img1" value="b1.gif">/);
  assert.match(built.html, /<param name="URL3" value="contact\/next.html,_self">/);
  assert.match(built.html, /<param name="blurb2" value="Fast\r\n\|Friendly\r\n\|Cheap">/);
  assert.match(built.html, /<param name="tag3" value="Contact &quot;us&quot;">/);
  assert.equal(built.buttons.length, 3);
});

test('draws the background, the pictures and the texts at the editor\'s rectangles', BROWSER_TEST, async () => {
  const { page, errors } = await openMenu();
  assert.deepEqual((await menuRects(page))[0], rects);
  const shot = await shoot(page);

  // Background everywhere outside the parts.
  for (const [x, y] of [[0, 0], [rects.width - 1, rects.height - 1], [5, 150], [rects.width - 1, 0], [150, 210]]) {
    assert.ok(near(shot.at(x, y), bg), `background at ${x},${y}: ${shot.at(x, y)}`);
  }
  // Each picture stretched over exactly its button's rectangle.
  const [r1, r2, r3] = rects.buttons;
  for (const r of rects.buttons) assert.deepEqual(boundsWhere(shot, grow(r, 10), notBackground), r);
  assert.ok(near(shot.at(r1.left, r1.top), rgb(colors.b1[0]), 2), 'button 1 starts red');
  assert.ok(near(shot.at(r1.left + r1.width - 1, r1.top + r1.height - 1), rgb(colors.b1[1]), 2), 'button 1 ends green');
  assert.deepEqual(boundsWhere(shot, r1, (c) => near(c, rgb(colors.b1[0]), 2)), { ...r1, width: r1.width / 2 },
    'the left half of button 1 is red, pixels repeated as in the editor');
  assert.ok(near(shot.at(r2.left + 60, r2.top + 20), rgb(colors.b2), 2));
  assert.ok(near(shot.at(r3.left + 60, r3.top + 20), rgb(colors.b3), 2));

  // The Title's text inside its rectangle, in the text colour; the Blurb's
  // two display lines one under the other.
  const title = boundsWhere(shot, grow(rects.title, 6), notBackground);
  assert.ok(title, 'the Title shows text');
  assert.ok(title.left >= rects.title.left && title.top >= rects.title.top
    && title.left + title.width <= rects.title.left + rects.title.width
    && title.top + title.height <= rects.title.top + rects.title.height, `title text ${JSON.stringify(title)} inside ${JSON.stringify(rects.title)}`);
  assert.ok(boundsWhere(shot, rects.title, textLike), 'the Title is drawn in the text colour');
  assert.equal(rowBands(shot, rects.blurb, notBackground).length, 2, 'two Blurb lines');
  assert.equal(await titleText(page), 'Welcome');
  assert.deepEqual(errors, []);
  await closeTab(page);
});

test('hovering swaps picture, Title and Blurb and plays the sound; leaving restores everything', BROWSER_TEST, async () => {
  const { page, errors, origin } = await openMenu();
  const [r1, r2, r3] = rects.buttons;
  const before = await shoot(page);

  await page.mouse.move(center(r1, origin).x, center(r1, origin).y);
  let shot = await shoot(page);
  assert.deepEqual(boundsWhere(shot, grow(r1, 10), (c) => near(c, rgb(colors.b1Over), 2)), r1, 'mouse-over picture over the whole button');
  assert.equal(await titleText(page), 'Products');
  assert.deepEqual(boundsWhere(shot, grow(rects.blurb, 6), (c) => near(c, rgb(colors.blurbPicture), 2)), rects.blurb,
    'the Blurb picture stretched over the Blurb area');
  assert.ok(boundsWhere(shot, rects.title, textLike), 'the new Title is drawn');
  let played = await waitForSounds(page, 1);
  assert.equal(played[0].sampleRate, tone.rate);
  assert.equal(played[0].channels.length, 2);
  assert.deepEqual(played[0].channels[0].map((s) => Math.round(s * 32768)), tone.frames.map((f) => f[0]));
  assert.deepEqual(played[0].channels[1].map((s) => Math.round(s * 32768)), tone.frames.map((f) => f[1]));

  // Straight onto the next button: the first is restored at once.
  await page.mouse.move(center(r2, origin).x, center(r2, origin).y);
  shot = await shoot(page);
  assert.ok(near(shot.at(r1.left, r1.top), rgb(colors.b1[0]), 2) && near(shot.at(r1.left + r1.width - 1, r1.top), rgb(colors.b1[1]), 2),
    'button 1 shows its own picture again');
  assert.deepEqual(boundsWhere(shot, grow(r2, 10), (c) => near(c, rgb(colors.b2Over), 2)), r2);
  assert.equal(await titleText(page), 'Services');
  assert.equal(boundsWhere(shot, rects.blurb, (c) => near(c, rgb(colors.blurbPicture), 30)), null, 'no Blurb picture');
  const bands = rowBands(shot, rects.blurb, notBackground);
  assert.equal(bands.length, 3, 'three Blurb lines, as the editor broke them');
  assert.ok(bands.every((b) => b.top > rects.blurb.top && b.bottom < rects.blurb.top + rects.blurb.height));
  played = await waitForSounds(page, 2);
  const click = fs.readFileSync(path.join(made.dir, 'click.au'));
  assert.equal(played[1].sampleRate, click.readUInt32BE(16));
  assert.equal(played[1].length, click.length - 24, "the program's mu-law click, copied beside the page by the build");

  // A button without a mouse-over picture keeps its own; its missing sound
  // plays nothing and breaks nothing.
  await page.mouse.move(center(r3, origin).x, center(r3, origin).y);
  shot = await shoot(page);
  assert.deepEqual(boundsWhere(shot, grow(r3, 10), (c) => near(c, rgb(colors.b3), 2)), r3);
  assert.equal(await titleText(page), 'Contact "us"', 'a quote in a text arrives whole');
  assert.deepEqual(rowBands(shot, rects.blurb, notBackground).length, 1);

  await page.mouse.move(origin.x + 2, origin.y + rects.height - 2);
  await new Promise((r) => setTimeout(r, 300));
  assert.ok(samePixels(await shoot(page), before), 'leaving restores every pixel');
  assert.equal((await page.evaluate(() => window.__played.length)), 2, 'the missing sound played nothing');
  assert.deepEqual(errors, []);
  await closeTab(page);
});

test('a click opens the address before the last comma in the target after it', BROWSER_TEST, async () => {
  const { page, navigations, origin } = await openMenu();
  const [r1, r2, r3] = rects.buttons;

  await page.mouse.click(center(r1, origin).x, center(r1, origin).y);
  // _blank: a new window
  assert.deepEqual(await page.evaluate(() => window.__popups), ['http://example.invalid/products.html?list=a,b']);
  await page.mouse.click(center(r2, origin).x, center(r2, origin).y);
  await page.mouse.click(center(r3, origin).x, center(r3, origin).y);
  await new Promise((r) => setTimeout(r, 300));
  assert.deepEqual(await navigations(), [
    { url: 'http://example.invalid/services.html', frame: 'content' },
    { url: server.url + 'contact/next.html', frame: '' },
  ]);
  await closeTab(page);
});

test('keyboard: Tab reaches each button with its hover state, Enter follows the link; names for screen readers', BROWSER_TEST, async () => {
  const { page, navigations } = await openMenu();
  const [r1, r2] = rects.buttons;

  await page.keyboard.press('Tab');
  let shot = await shoot(page);
  assert.equal(await titleText(page), 'Products');
  assert.ok(near(shot.at(r1.left + 60, r1.top + 20), rgb(colors.b1Over), 2), 'focus shows the mouse-over picture');
  assert.equal((await waitForSounds(page, 1))[0].sampleRate, tone.rate, 'and plays the sound');

  await page.keyboard.press('Tab');
  shot = await shoot(page);
  assert.equal(await titleText(page), 'Services');
  assert.ok(near(shot.at(r1.left + 20, r1.top + 20), rgb(colors.b1[0]), 2), 'button 1 restored when focus moves on');
  assert.ok(near(shot.at(r2.left + 60, r2.top + 20), rgb(colors.b2Over), 2));
  await page.keyboard.press('Enter');
  await new Promise((r) => setTimeout(r, 200));
  assert.deepEqual(await navigations(), [{ url: 'http://example.invalid/services.html', frame: 'content' }]);

  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
  assert.equal(await titleText(page), 'Products');

  // The accessibility tree is read over the DevTools protocol, which firefox
  // and WebDriver do not speak; accessibility.test.mjs checks the names there.
  if (!isFirefox && !isWebKit) {
    const tree = await page.accessibility.snapshot();
    const links = [];
    (function walk(n) {
      if (n.role === 'link') links.push(n.name);
      (n.children || []).forEach(walk);
    })(tree);
    assert.deepEqual(links, ['Products', 'Services', 'Contact "us"']);
  }

  // Without a mouse or focus on a button the defaults come back.
  await page.evaluate(() => document.activeElement.shadowRoot.activeElement.blur());
  assert.equal(await titleText(page), 'Welcome');
  assert.ok(near((await shoot(page)).at(r1.left + 20, r1.top + 20), rgb(colors.b1[0]), 2));
  await closeTab(page);
});

test('touch: the first tap shows the hover state, a second tap on the same button follows the link',
  { ...BROWSER_TEST, skip: isWebKit && 'WebKitGTK\'s WebDriver taps as a mouse clicks' }, async () => {
  const { page, navigations, origin } = await openMenu({ touch: true });
  const [r1, , r3] = rects.buttons;
  const tap = (r) => page.touchscreen.tap(center(r, origin).x, center(r, origin).y);
  const settle = () => new Promise((r) => setTimeout(r, 250));

  await tap(r1);
  await settle();
  assert.equal(await titleText(page), 'Products');
  assert.ok(near((await shoot(page)).at(r1.left + 60, r1.top + 20), rgb(colors.b1Over), 2));
  assert.deepEqual(await navigations(), [], 'the first tap does not follow the link');

  await tap(r3);
  await settle();
  assert.equal(await titleText(page), 'Contact "us"');
  assert.ok(near((await shoot(page)).at(r1.left + 20, r1.top + 20), rgb(colors.b1[0]), 2), 'button 1 restored');
  assert.deepEqual(await navigations(), []);

  await page.touchscreen.tap(origin.x + 5, origin.y + rects.height - 5);
  await settle();
  assert.equal(await titleText(page), 'Welcome', 'a tap on the background restores the defaults');

  await tap(r3);
  await settle();
  if (isWebKit) console.log('EV', await page.evaluate(() => window.__ev));
  assert.deepEqual(await navigations(), []);
  await tap(r3);
  await settle();
  assert.deepEqual(await navigations(), [{ url: server.url + 'contact/next.html', frame: '' }]);
  await closeTab(page);
});

test('a broken or missing picture leaves its element empty and the rest working', BROWSER_TEST, async () => {
  fs.writeFileSync(path.join(made.dir, 'b2.gif'), 'GIF89a this is not a picture');
  fs.rmSync(path.join(made.dir, 'b1o.gif'));
  fs.writeFileSync(path.join(made.dir, 'tone.au'), 'not a sound');
  const { page, errors, origin } = await openMenu();
  const [r1, r2, r3] = rects.buttons;
  let shot = await shoot(page);
  assert.equal(boundsWhere(shot, grow(r2, 4), notBackground), null, 'the broken picture shows nothing, not a broken-image sign');
  assert.deepEqual(boundsWhere(shot, grow(r3, 4), notBackground), r3);

  await page.mouse.move(center(r1, origin).x, center(r1, origin).y);
  shot = await shoot(page);
  assert.equal(boundsWhere(shot, grow(r1, 4), notBackground), null, 'the missing mouse-over picture leaves the button empty');
  assert.equal(await titleText(page), 'Products');
  assert.deepEqual(boundsWhere(shot, grow(rects.blurb, 6), (c) => near(c, rgb(colors.blurbPicture), 2)), rects.blurb);

  await page.mouse.move(center(r2, origin).x, center(r2, origin).y);
  assert.equal(await titleText(page), 'Services');
  assert.ok(near((await shoot(page)).at(r2.left + 60, r2.top + 20), rgb(colors.b2Over), 2), 'its mouse-over picture still shows');
  assert.equal((await waitForSounds(page, 1))[0].sampleRate, 8000, 'the broken sound is skipped, the next one plays');
  assert.deepEqual(errors, []);
  await closeTab(page);
});
