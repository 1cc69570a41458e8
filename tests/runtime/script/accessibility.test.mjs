// quillmap.js for visitors with a keyboard or a screen reader, on the
// program's block for three buttons: two links and one button without a link.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { threeButtons } from './designs.mjs';
import {
  buildBlock, closeTab, expectedRects, installRuntime, isFirefox, isWebKit, launchBrowser, near, partText, picturesSettled,
  previewPage, requireBrowserKit, rgb, serve, shoot, writeProject,
} from './harness.mjs';

const kit = await requireBrowserKit();

// WCAG's contrast ratio of two colours given as [r, g, b].
function contrast(a, b) {
  const lum = (c) => c.map((v) => v / 255).map((v) => (v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
    .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
  const [hi, lo] = [lum(a), lum(b)].sort((x, y) => y - x);
  return (hi + 0.05) / (lo + 0.05);
}

let browser, server, rects;
const backgrounds = { dark: '#203050', light: '#e8e0a0' };

before(async () => {
  const made = threeButtons();
  installRuntime(made.dir);
  for (const [name, background] of Object.entries(backgrounds)) {
    const design = structuredClone(made.design);
    design.background = background;
    design.buttons[2].link = '';
    const project = path.join(made.dir, `${name}.qmf`);
    writeProject(project, design);
    const built = buildBlock(project);
    rects = expectedRects(built);
    fs.writeFileSync(path.join(made.dir, `${name}.html`), previewPage(built.html, '<p><a id="after" href="#after">after</a></p>'));
  }
  server = await serve(made.dir);
  browser = await launchBrowser(kit);
});

after(async () => {
  await browser?.close();
  await server?.close();
});

async function open(name) {
  const page = await browser.newPage();
  await page.goto(`${server.url}${name}.html`, { waitUntil: 'load' });
  await picturesSettled(page);
  // Counts what the live region says.
  await page.evaluate(() => {
    const live = document.querySelector('[data-quillmap="menu"]').shadowRoot.querySelector('[aria-live]');
    window.__said = [];
    new MutationObserver(() => window.__said.push(live.textContent)).observe(live, { childList: true, characterData: true, subtree: true });
  });
  return page;
}

// What a screen reader is told about each button: role, name, description;
// in chromium, inside which landmark and list item.
async function buttonsAsTold(page) {
  if (!isFirefox && !isWebKit) {
    const tree = await page.accessibility.snapshot({ interestingOnly: false });
    const found = [];
    (function walk(n, within) {
      if (['link', 'image'].includes(n.role) && n.name) found.push([n.role, n.name, n.description || '', within.join('>')]);
      const here = ['navigation', 'list', 'listitem'].includes(n.role) ? [...within, n.role + (n.name ? ` ${n.name}` : '')] : within;
      (n.children || []).forEach((c) => walk(c, here));
    })(tree, []);
    return found.filter(([, name]) => name !== 'after');
  }
  // Firefox's and WebKit's accessibility trees are out of reach: the same
  // facts, read from the elements it is computed from.
  return page.evaluate(() => [...document.querySelector('[data-quillmap="menu"]').shadowRoot.querySelectorAll('[data-quillmap="button"]')]
    .map((b) => [b.matches('a[href]') ? 'link' : b.getAttribute('role') === 'img' ? 'image' : '?', b.getAttribute('aria-label'),
      (b.getAttribute('aria-describedby') || '').split(' ').map((id) => b.getRootNode().getElementById(id)?.textContent || '')
        .join(' ').replace(/\s+/g, ' ').trim(), 'navigation Welcome>list>listitem']));
}

const focused = (page) => page.evaluate(() => {
  const a = document.activeElement;
  return a.id === 'after' ? 'after' : Number(a.shadowRoot?.activeElement?.dataset.number ?? 0);
});

// The colours of the lines drawn just inside a button's edge, from the edge
// inwards, at the middle of each side.
function ringAt(shot, r) {
  const mx = r.left + Math.floor(r.width / 2), my = r.top + Math.floor(r.height / 2);
  const sides = {
    top: (d) => shot.at(mx, r.top + d), bottom: (d) => shot.at(mx, r.top + r.height - 1 - d),
    left: (d) => shot.at(r.left + d, my), right: (d) => shot.at(r.left + r.width - 1 - d, my),
  };
  return Object.fromEntries(Object.entries(sides).map(([side, at]) => [side, [0, 1, 2, 3].map(at)]));
}

test('screen readers hear names, descriptions and every change; the keyboard sees its focus', { timeout: 90000 }, async () => {
  const page = await open('dark');
  const [r1, r2, r3] = rects.buttons;
  const origin = (await shoot(page)).origin;
  const centre = (r) => [origin.x + r.left + r.width / 2, origin.y + r.top + r.height / 2];

  // The first one's hover shows a picture in the Blurb area, and its link
  // opens a new window.
  const within = 'navigation Welcome>list>listitem';
  assert.deepEqual(await buttonsAsTold(page), [
    ['link', 'Products', 'Our products Opens in a new window.', within],
    ['link', 'Services', 'Fast Friendly Cheap', within],
    ['image', 'Contact "us"', 'Write to us', within],
  ]);

  // One announcement per change, however much the mouse moves.
  await page.mouse.move(...centre(r2));
  await page.mouse.move(centre(r2)[0] + 20, centre(r2)[1] + 5, { steps: 5 });
  await page.mouse.move(...centre(r3));
  await page.mouse.move(origin.x + 2, origin.y + 2);
  assert.deepEqual(await page.evaluate(() => window.__said), ['Services Fast Friendly Cheap', 'Contact "us" Write to us', '']);

  // Tab skips the button without a link. The screen reader says the
  // focused link's name and description: the live region keeps still.
  const walk = [];
  for (let i = 0; i < 3; i++) {
    await page.keyboard.press('Tab');
    walk.push(await focused(page));
  }
  assert.deepEqual(walk, [1, 2, 'after']);
  assert.deepEqual((await page.evaluate(() => window.__said)).slice(3), []);
  await closeTab(page);

  // The focus ring: 2 px at least, contrasting 3:1 with the background, on
  // a dark and on a light design, and still there when the visitor comes
  // back to the page from another tab.
  for (const name of Object.keys(backgrounds)) {
    const tab = await open(name);
    await tab.keyboard.press('Tab');
    const bg = rgb(backgrounds[name]);
    const check = async (when) => {
      const ring = ringAt(await shoot(tab), r1);
      for (const [side, [outer, second, lining]] of Object.entries(ring)) {
        const what = `${name} ${when}: ${side} ring ${outer} ${second} ${lining}`;
        assert.ok(near(outer, [0, 0, 0], 8) || near(outer, [255, 255, 255], 8), `${what}: black or white`);
        assert.ok(near(outer, second, 8), `${what}: 2 px wide`);
        assert.ok(contrast(outer, bg) >= 3, `${what}: contrasts with the background ${bg}`);
        assert.ok(contrast(outer, lining) >= 3, `${what}: lined with the other colour, to stand out on any picture`);
      }
      assert.equal(await partText(tab, 'title'), 'Products', `${name} ${when}: the focused button's state`);
    };
    await check('on Tab');
    const other = await browser.newPage();
    await other.bringToFront();
    await closeTab(other);
    await tab.bringToFront();
    await check('back on the page');
    await closeTab(tab);
  }
});

// axe-core, the accessibility checker, on the bare page: no violation in
// the menu.
test('axe-core finds nothing to mend in the menu', { timeout: 60000 }, async () => {
  const page = await open('dark');
  await page.evaluate(fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8'));
  const { passed, violations } = await page.evaluate(async () => {
    const results = await window.axe.run({ include: [['[data-quillmap="menu"]']] });
    return {
      passed: results.passes.map((r) => r.id),
      violations: results.violations.map((v) => `${v.id}: ${v.nodes.map((n) => JSON.stringify(n.target)).join(', ')}`),
    };
  });
  assert.deepEqual(violations, []);
  // It did look at the menu's links, names, landmark and list.
  for (const rule of ['link-name', 'aria-required-children', 'aria-required-parent', 'aria-valid-attr-value', 'color-contrast']) assert.ok(passed.includes(rule), rule);
  await closeTab(page);
});
