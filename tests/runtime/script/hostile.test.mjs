// Button Titles written to break out of the comment line the program puts
// before each button: in both the Compile and the Preview form
// of the block no injected markup runs or even becomes an element, every
// comment ends where the program ends it, and the menu still shows each
// Title as the text it is.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { pageFor } from './designs.mjs';
import {
  BROWSER_TEST, closeTab, expectedRects, launchBrowser, makePicture, menuOrigin, partText, picturesSettled, requireBrowserKit,
  serve, tempDir, writeProject,
} from './harness.mjs';

const kit = await requireBrowserKit();

// Each calls window.__hit(n) if its markup ever runs.
const titles = [
  'end --!><img src=x onerror=window.__hit(1)><!--',
  'a --> <img src=x onerror=window.__hit(2)>',
  '--!><script>window.__hit(3)</script>',
  '><img src=x onerror=window.__hit(4)>',
  '-><img src=x onerror=window.__hit(5)>',
  '<!--><img src=x onerror=window.__hit(6)>',
  '---><svg onload=window.__hit(7)></svg>',
  '<img src=x onerror=window.__hit(8)>-',
  '"></applet><img src=x onerror=window.__hit(9)>--',
  '- -!> -- ->',
  'script link',
];
// The last button's link would run script: it must stay a picture.
const links = titles.map((t, i) => (i === titles.length - 1 ? ' JaVaScript:window.__hit(11)' : `page${i + 1}.html`));

const COLLECT = 'window.__hits = []; window.__hit = (n) => window.__hits.push(n);';

let browser, server;
const built = {};

before(async () => {
  const dir = tempDir('quillmap-hostile-');
  makePicture(path.join(dir, 'b.gif'), 8, 8, ['#3060c0']);
  const design = {
    title: { top: 10, left: 10, height: 30, width: 1400 },
    blurb: { top: 44, left: 10, height: 30, width: 1400 },
    background: '#202020',
    textColor: '#ffffff',
    titleFont: { name: 'Helvetica', size: 10, style: 'Normal' },
    blurbFont: { name: 'Helvetica', size: 10, style: 'Normal' },
    showTitleAndBlurb: true,
    bgTitle: 'Start', bgBlurb: 'Pick one', blurbImage: '', stretch: true,
    buttons: titles.map((title, i) => ({
      top: 90, left: 10 + i * 40, height: 30, width: 30, image: path.join(dir, 'b.gif'),
      title, blurb: `button ${i + 1}`, link: links[i], target: '_self',
    })),
  };
  const made = { dir, project: path.join(dir, 'hostile.qmf') };
  writeProject(made.project, design);
  built.compile = pageFor(made, { cropped: true, page: 'compile.html' });
  built.preview = pageFor(made, { preview: true, cropped: true, page: 'preview.html' });
  // The page keeps the record of every hit itself, before anything else runs.
  for (const form of Object.keys(built)) {
    const file = path.join(dir, `${form}.html`);
    fs.writeFileSync(file, fs.readFileSync(file, 'utf8').replace('<HEAD>', `<HEAD><script>${COLLECT}</script>`));
  }
  server = await serve(dir);
  browser = await launchBrowser(kit);
});

after(async () => {
  await browser?.close();
  await server?.close();
});

for (const form of ['compile', 'preview']) {
  test(`${form} form: hostile Titles stay inside their comments and the menu works`, BROWSER_TEST, async () => {
    const page = await browser.newPage();
    // Room for the menu's 1400-pixel areas at their full size.
    await page.setViewport({ width: 1600, height: 600 });
    await page.goto(`${server.url}${form}.html`, { waitUntil: ['load', 'networkidle0'] });
    await picturesSettled(page);

    // The page as the browser parses it: a comment of the Title's characters
    // for each button after the head comment, and no other element than
    // the applet's parameters.
    const parsed = await page.evaluate(async (name) => {
      const doc = new DOMParser().parseFromString(await (await fetch(name)).text(), 'text/html');
      const comments = [];
      const walk = doc.createTreeWalker(doc, NodeFilter.SHOW_COMMENT);
      while (walk.nextNode()) comments.push(walk.currentNode.data);
      return {
        comments,
        body: [...doc.body.querySelectorAll('*')].map((e) => e.tagName.toLowerCase()),
        links: [...doc.querySelectorAll('nav li')].map((li) => [li.querySelector('img').alt, li.querySelector('a')?.getAttribute('href') ?? null]),
      };
    }, `${form}.html`);
    const blankless = (t) => t.replace(/ /g, '');
    assert.deepEqual(parsed.comments.map(blankless), ['PellorySoftware', ...titles.map(blankless)]);
    // The plain links of the menu, one per button, carry the Titles as text.
    assert.deepEqual([...new Set(parsed.body)], ['applet', 'param', 'nav', 'ul', 'li', 'a', 'img']);
    assert.deepEqual(parsed.links, titles.map((t, i) => [t, i === titles.length - 1 ? null : links[i]]));

    // The menu: hovering each button shows its Title as plain text.
    const rects = expectedRects(built[form]);
    const origin = await menuOrigin(page);
    for (let i = 0; i < titles.length; i++) {
      const r = rects.buttons[i];
      await page.mouse.move(origin.x + r.left + r.width / 2, origin.y + r.top + r.height / 2);
      const shown = await partText(page, 'title');
      assert.equal(shown, titles[i], `Title of button ${i + 1}`);
    }
    // The button whose link is script is no link: a click runs nothing.
    const last = rects.buttons[titles.length - 1];
    assert.equal(await page.evaluate(() => document.querySelector('[data-quillmap="menu"]').shadowRoot
      .querySelector('[data-number="11"]').tagName), 'DIV');
    await page.mouse.click(origin.x + last.left + last.width / 2, origin.y + last.top + last.height / 2);
    await page.mouse.move(1, 1);
    // Give a late error event the chance to run.
    await new Promise((resolve) => setTimeout(resolve, 300));
    assert.deepEqual(await page.evaluate(() => window.__hits), [], 'injected markup ran');
    await closeTab(page);
  });
}
