// The two runtimes of the menu, the applet and quillmap.js, must put every
// part of the same block at the same rectangle, and at the rectangle the
// editor showed. Each runtime reports what it rendered; the glyphs may
// differ, the rectangles may not.

import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { promisify } from 'node:util';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { buttonsOnly, centred, pageFor, threeButtons } from './designs.mjs';
import { closeTab, expectedRects, launchBrowser, menuRects, picturesSettled, requireBrowserKit, serve, skip } from './harness.mjs';

const appletRects = process.env.QUILLMAP_APPLET_RECTS;
if (!appletRects || !fs.existsSync(appletRects)) skip('the applet runtime was not built, so there is nothing to compare with');
const kit = await requireBrowserKit();

let browser;
before(async () => { browser = await launchBrowser(kit); });
after(async () => { await browser?.close(); });

async function scriptRects(dir) {
  const server = await serve(dir);
  const page = await browser.newPage();
  try {
    await page.goto(server.url + 'index.html', { waitUntil: 'load' });
    await picturesSettled(page);
    return (await menuRects(page))[0];
  } finally {
    await closeTab(page);
    await server.close();
  }
}

async function appletRectsOf(dir) {
  const { stdout } = await promisify(execFile)(appletRects, [path.join(dir, 'index.html')], { timeout: 60000 });
  return JSON.parse(stdout);
}

const cases = [
  ['three buttons, absolute, Compile form', threeButtons, {}],
  ['no Title and Blurb, Preview form', buttonsOnly, { preview: true }],
  ['centred pictures, cropped, Preview form', centred, { preview: true, cropped: true }],
];

for (const [name, design, options] of cases) {
  test(`same rectangles in both runtimes and the editor: ${name}`, { timeout: 120000 }, async () => {
    const made = design();
    const built = pageFor(made, options);
    const expected = expectedRects(built);
    const [script, applet] = await Promise.all([scriptRects(made.dir), appletRectsOf(made.dir)]);
    assert.deepEqual(applet, expected, 'the applet puts each part where the editor showed it');
    assert.deepEqual(script, expected, 'quillmap.js puts each part where the editor showed it');
  });
}
