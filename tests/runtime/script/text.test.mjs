// What the designer sees is what visitors get: for every font name the
// dialogs offer, at four sizes and in the four styles, the Title and every
// line of a Blurb are inked where the editor inks them (within 2 pixels in
// place and width), and no line is cut at its box's edge; a PNG button's
// clear and half-clear pixels show the surface.

import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, test } from 'node:test';
import fs from 'node:fs';
import {
  boundsWhere, buildBlock, closeTab, expectedRects, installRuntime, isWebKit, launchBrowser, makePicture, menuOrigin, near, picturesSettled,
  previewPage, requireBrowserKit, rowBands, serve, shootAt, shotAt, tempDir, writeProject,
} from './harness.mjs';

const kit = await requireBrowserKit();

let browser;
before(async () => { browser = await launchBrowser(kit); });
after(async () => { await browser?.close(); });

const fonts = ['Times Roman', 'Helvetica', 'Courier', 'Dialog', 'Symbol'];
const sizes = [10, 14, 24, 36];
const styles = ['Normal', 'Bold', 'Italic', 'Bold Italic'];

// White text on black: a pixel is ink when a quarter covered, as the editor counts it.
const inked = (c) => c[0] >= 64 || c[1] >= 64 || c[2] >= 64;

// The design of one menu; the first also has a PNG button, clear on the
// left and half-covered red on the right, at its own size.
function design(dir, font, size, style, png) {
  const d = {
    // Inside the 450 x 321 surface the menu is as large as.
    title: { top: 10, left: 20, height: size * 2 + 12, width: 420 },
    blurb: { top: size * 2 + 30, left: 20, height: size * 5 + 20, width: 420 },
    background: '#000000',
    textColor: '#ffffff',
    titleFont: { name: font, size, style: styles[style] },
    blurbFont: { name: font, size, style: styles[(style + 1) % 4] },
    showTitleAndBlurb: true,
    bgTitle: 'Studio Quill Web Design',
    bgBlurb: 'Fresh coffee beans\ndelivered\n\nevery Monday',
    blurbImage: '',
    stretch: true,
    buttons: png ? [{ top: 250, left: 20, height: 20, width: 40, image: path.join(dir, 'clear.png'), title: 'Clear',
      blurb: 'Clear', link: 'clear.html', target: '_self' }] : [],
  };
  const project = path.join(dir, `text${style}.qmf`);
  writeProject(project, d);
  return buildBlock(project, { preview: true });
}

// One page per face and size with a menu in each of the four styles.
function page(font, size, png) {
  const dir = tempDir('quillmap-text-');
  if (png) makePicture(path.join(dir, 'clear.png'), 40, 20, ['none', 'rgba(255,0,0,0.5)']);
  const built = styles.map((_, style) => design(dir, font, size, style, png && !style));
  installRuntime(dir);
  fs.writeFileSync(path.join(dir, 'index.html'), previewPage(built.map((b) => b.html).join('<br>\r\n')));
  return { dir, built };
}

// Where each line is inked in an area, one rectangle per band of ink.
function inkLines(shot, area) {
  return rowBands(shot, area, inked).map((band) =>
    boundsWhere(shot, { left: area.left, top: band.top, width: area.width, height: band.bottom - band.top + 1 }, inked));
}

test('every line is inked where the editor inks it, in every face, size and style', { timeout: 240000 }, async () => {
  const problems = [];
  // One tab for every page, with room for the four menus one above the other.
  const tab = await browser.newPage();
  await tab.setViewport({ width: 800, height: 1400 });
  for (const font of fonts) {
    for (const size of sizes) {
      const png = font === fonts[0] && size === sizes[0];
      const made = page(font, size, png);
      const server = await serve(made.dir);
      try {
        await tab.goto(server.url + 'index.html', { waitUntil: 'load' });
        await picturesSettled(tab);
        const page = await shootAt(tab, { x: 0, y: 0 });
        for (let m = 0; m < made.built.length; m++) {
          const built = made.built[m];
          const rects = expectedRects(built);
          const shot = shotAt(page.img, await menuOrigin(tab, m));
          // Its clear pixels show the surface, the others are blended over it.
          if (built.buttons.length) {
            const clear = shot.at(30, 260), half = shot.at(50, 260);
            if (!near(clear, [0, 0, 0], 1) || !near(half, [128, 0, 0], 1)) problems.push(`PNG button drawn ${clear} and ${half}`);
          }
          for (const [part, area, lines, style] of [['Title', rects.title, built.titleLines, m], ['Blurb', rects.blurb, built.blurbLines, (m + 1) % 4]]) {
            const want = lines.filter((l) => l.ink.width > 0)
              .map((l) => ({ text: l.text, left: area.left + l.ink.left, top: area.top + l.ink.top, width: l.ink.width }));
            const got = inkLines(shot, area);
            const what = `${font} ${size} pt ${styles[style]}, ${part}`;
            if (got.length !== want.length) {
              problems.push(`${what}: ${got.length} inked lines, the editor has ${want.length}`);
              continue;
            }
            want.forEach((w, i) => {
              const g = got[i];
              // WebKitGTK inks the runtime's scaled-down glyphs up to a pixel wider.
              const off = Math.max(Math.abs(g.left - w.left), Math.abs(g.top - w.top), Math.abs(g.width - w.width) - (isWebKit ? 1 : 0));
              if (off > 2) problems.push(`${what}: "${w.text}" inked at ${g.left},${g.top} ${g.width} wide, the editor at ${w.left},${w.top} ${w.width}`);
              if (g.left + g.width > area.left + area.width - 1) problems.push(`${what}: "${w.text}" is cut at the box's edge`);
            });
          }
        }
      } finally {
        await server.close();
      }
    }
  }
  await closeTab(tab);
  assert.deepEqual(problems, [], 'lines inked where the editor inks them');
});
