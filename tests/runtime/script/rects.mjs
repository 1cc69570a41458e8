// Renders an applet block with quillmap.js in headless chromium and prints
// where the menu's parts landed, in applet coordinates:
//
//   node tests/runtime/script/rects.mjs BLOCK.html
//
//   {"width":W,"height":H,"title":{"left":..,"top":..,"width":..,"height":..} or null,
//    "blurb":{...} or null,"buttons":[{...}, ...]}
//
// BLOCK.html holds the block (or a whole page holding it); pictures are
// looked up beside it. Title and Blurb are null for a design without them.
// The runtime is the program folder's java/quillmap.js (QUILLMAP_RUNTIME
// names another). Exit code 77 when chromium or puppeteer-core is missing.

import fs from 'node:fs';
import path from 'node:path';
import { launchBrowser, menuRects, requireBrowserKit, runtimeFile, serve } from './harness.mjs';

const file = process.argv[2];
if (!file || process.argv.length > 3) {
  console.error('usage: node rects.mjs BLOCK.html');
  process.exit(2);
}

const kit = await requireBrowserKit({ needBlockgen: false });
const dir = path.dirname(path.resolve(file));
// The page's own script line is dropped: the runtime under test is served instead.
const block = fs.readFileSync(file, 'utf8').replace(/<script\b[^>]*quillmap\.js[^>]*>\s*<\/script>/gi, '');
const page = `<!DOCTYPE html><html><head><base href="/"><script src="/__quillmap__/quillmap.js"></script></head><body>${block}</body></html>`;
const server = await serve(dir, {
  '/__quillmap__/rects.html': page,
  '/__quillmap__/quillmap.js': fs.readFileSync(runtimeFile, 'utf8'),
});
const browser = await launchBrowser(kit);
let status = 0;
try {
  const tab = await browser.newPage();
  await tab.goto(server.url + '__quillmap__/rects.html', { waitUntil: 'load' });
  const menus = await menuRects(tab);
  if (menus.length === 0) {
    console.error('rects.mjs: no Quillmap applet element found');
    status = 1;
  } else {
    console.log(JSON.stringify(menus[0]));
  }
} finally {
  await browser.close();
  await server.close();
}
process.exit(status);
