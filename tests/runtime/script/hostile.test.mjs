// Button Titles written to break out of the comment line the program puts
// before each button, in Chromium: in both the Compile and the Preview form
// of the block no injected markup runs or even becomes an element, every
// comment ends where the program ends it, and the menu still shows each
// Title as the text it is.

import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { pageFor } from './designs.mjs';
import {
  BROWSER_TEST, closeTab, expectedRects, launchBrowser, makePicture, menuOrigin, picturesSettled, requireBrowserKit,
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
];

let browser, server, made;
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
      title, blurb: `button ${i + 1}`, link: `page${i + 1}.html`, target: '_self',
    })),
  };
  const project = path.join(dir, 'hostile.qmf');
  writeProject(project, design);
  made = { dir, design, project };
  built.compile = pageFor(made, { cropped: true, page: 'compile.html' });
  built.preview = pageFor(made, { preview: true, cropped: true, page: 'preview.html' });
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
    const dialogs = [];
    page.on('dialog', (d) => { dialogs.push(d.message()); d.dismiss().catch(() => {}); });
    await page.evaluateOnNewDocument(() => {
      window.__hits = [];
      window.__hit = (n) => window.__hits.push(n);
    });
    // Navigations away (a followed link) are not wanted here.
    await page.setRequestInterception(true);
    page.on('request', (req) => {
      if (req.isNavigationRequest() && !req.url().endsWith(`/${form}.html`)) req.abort();
      else req.continue();
    });
    await page.goto(`${server.url}${form}.html`, { waitUntil: ['load', 'networkidle0'] });
    await picturesSettled(page);

    // The page as the browser parses it: one comment per button after the
    // head comment, each holding its whole line, and nothing in the applet
    // element but its parameters.
    const parsed = await page.evaluate(async (name) => {
      const html = await (await fetch(name)).text();
      const doc = new DOMParser().parseFromString(html, 'text/html');
      const comments = [];
      const walk = doc.createTreeWalker(doc, NodeFilter.SHOW_COMMENT);
      while (walk.nextNode()) comments.push(walk.currentNode.data);
      const applet = doc.querySelector('applet');
      return {
        comments,
        children: applet ? [...applet.children].map((c) => c.tagName.toLowerCase()) : null,
        elsewhere: doc.querySelectorAll('img, svg, body > script').length,
      };
    }, `${form}.html`);
    assert.equal(parsed.comments.length, titles.length + 1, parsed.comments.join('\n'));
    assert.equal(parsed.comments[0], ' Pellory Software ');
    for (let i = 0; i < titles.length; i++) {
      assert.equal(parsed.comments[i + 1].replace(/ /g, ''), titles[i].replace(/ /g, ''),
        `comment of button ${i + 1} holds the Title's characters`);
    }
    assert.ok(parsed.children.every((t) => t === 'param'), parsed.children.join(','));
    assert.equal(parsed.elsewhere, 0);

    // The menu: hovering each button shows its Title as plain text.
    const rects = expectedRects(built[form]);
    const origin = await menuOrigin(page);
    for (let i = 0; i < titles.length; i++) {
      const r = rects.buttons[i];
      await page.mouse.move(origin.x + r.left + r.width / 2, origin.y + r.top + r.height / 2);
      const shown = await page.$eval('[data-quillmap="title"]', (el) => el.textContent);
      assert.equal(shown, titles[i], `Title of button ${i + 1}`);
    }
    await page.mouse.move(1, 1);
    // Give a late error event the chance to run.
    await new Promise((resolve) => setTimeout(resolve, 300));
    assert.deepEqual(await page.evaluate(() => window.__hits), [], 'injected markup ran');
    assert.deepEqual(dialogs, []);
    await closeTab(page);
  });
}
