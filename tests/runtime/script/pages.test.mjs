// quillmap.js on pages as site owners have them: one table of situations,
// each a page around the program's block. Whatever the page does, the menu
// keeps the editor's rectangles and the pixels it has on a bare page, its
// box never scrolls, Tab reaches exactly the buttons a visitor can see, and
// the block's plain links are never drawn. Without script, the plain links
// are what the visitor gets.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { threeButtons } from './designs.mjs';
import {
  BROWSER_TEST, buildBlock, closeTab, expectedRects, installRuntime, isWebKit, launchBrowser, makePicture, menuRects, partText, picturesSettled,
  previewPage, requireBrowserKit, serve, shoot, writeProject,
} from './harness.mjs';

const kit = await requireBrowserKit();

// Texts beyond ASCII reach the menu as typed: the page declares its encoding.
const TITLE = 'Café «menu» – ✓';

// The page's own style sheet at its most meddlesome: rules on every element,
// on links and pictures, on hover and focus, and inherited ones.
const HOSTILE = `<style>
  body { font: 30px/3 serif; color: green; letter-spacing: 4px; text-align: right; direction: rtl; text-transform: uppercase }
  div { font-size: 13px; line-height: 1.8; text-align: center; padding: 7px; background: white }
  * { box-sizing: border-box; margin: 3px }
  a:hover, a:focus { opacity: .6; outline: 6px solid lime }
  img { border: 4px solid red; max-width: 10px; opacity: .5 }
</style>`;

// A link after the menu, where Tab goes once the menu's buttons are done.
const AFTER = '<p><a id="after" href="#after">after the menu</a></p>';

const PASTED = '<script src="quillmap.js" defer></script>\r\n';
const withAttributes = (block, attributes) => block.replace('<applet ', `<applet ${attributes} `);

// Counts the frames drawn while the block's plain links were on show: the
// first script of every page that runs script.
const FRAME_PROBE = `window.__plainFrames = 0;
(function look() {
  if ([...document.querySelectorAll('applet > nav')].some((n) => n.getClientRects().length)) window.__plainFrames++;
  requestAnimationFrame(look);
})();`;

// The situations: the page around the block, the buttons Tab reaches in
// turn before the link after the menu, and what else must hold.
const situations = {
  bare: { design: 'inside', page: (block) => block, tabs: [1, 2, 3, 'after'] },
  hostile: {
    design: 'inside',
    page: (block) => HOSTILE + withAttributes(block, 'id="site-menu" class="nav main" name="menu" style="margin-left: 40px"'),
    tabs: [1, 2, 3, 'after'],
    same: 'bare',
    host: { id: 'site-menu', className: 'nav main quillmap', name: 'menu', marginLeft: '40px' },
  },
  // A strict security policy: no inline style, no inline script; the site
  // places the menu from its own style sheet. Any refusal the browser
  // reports is the runtime's.
  strict: {
    design: 'inside',
    policy: "default-src 'self'; style-src 'self'; script-src 'self'",
    page: (block) => '<link rel="stylesheet" href="site.css">'
      + withAttributes(block, 'id="site-menu" class="nav"'),
    tabs: [1, 2, 3, 'after'],
    same: 'hostile',
    host: { id: 'site-menu', className: 'nav quillmap', name: null, marginLeft: '40px' },
  },
  beyond: { design: 'beyond', page: (block) => block, tabs: [1, 2, 'after'] },
  hidden: { design: 'inside', page: (block) => withAttributes(block, 'id="m" style="display:none"'), tabs: ['after'], hidden: true },
  // Two menus pasted as Compile puts them on the clipboard, each with the
  // runtime's line, beside the head's.
  two: { design: 'inside', page: (block) => PASTED + block + PASTED + block, tabs: [1, 2, 3, 1, 2, 3, 'after'], same: 'bare', menus: 2 },
  // A screen of scale 2: the first button's picture has a sharp copy, the
  // others are drawn smoothly.
  sharp: { design: 'inside', page: (block) => block, tabs: [1, 2, 3, 'after'], scale: 2 },
  // A browser that cannot adopt style sheets (Safari before 16.4).
  unadopted: { design: 'inside', prelude: 'for (const i of [ShadowRoot, Document]) delete i.prototype.adoptedStyleSheets;',
    page: (block) => block, tabs: [1, 2, 3, 'after'], same: 'bare' },
  // The runtime's line without defer, the page sent with a pause after the block.
  early: { design: 'inside', early: true, page: (block) => block, tabs: [1, 2, 3, 'after'], same: 'bare' },
  // A page whose policy runs no script at all, as with script turned off.
  noscript: { design: 'inside', policy: "script-src 'none'", page: (block) => block, tabs: [1, 2, 3, 'after'], scripting: false },
};

let browser, server, designs;

// The designs, built once: every button inside the applet's rectangle, and
// one whose second button reaches below it and whose third lies wholly
// outside it, as when buttons are dragged below a surface.
before(async () => {
  const made = threeButtons();
  const variant = (name, change) => {
    const design = structuredClone(made.design);
    design.bgTitle = TITLE;
    change(design);
    const project = path.join(made.dir, `${name}.qmf`);
    writeProject(project, design);
    const built = buildBlock(project);
    return { built, rects: expectedRects(built) };
  };
  // A sharp copy beside the first button's picture, there before the block
  // is built: the block names it.
  makePicture(path.join(made.dir, 'b1@2x.gif'), 20, 20, ['#ff8000']);
  designs = {
    inside: variant('inside', () => {}),
    beyond: variant('beyond', (d) => {
      d.buttons[1].top = 300;
      d.buttons[2].top = 500;
    }),
  };
  installRuntime(made.dir);
  fs.writeFileSync(path.join(made.dir, 'site.css'), '.nav { margin-left: 40px }');
  fs.writeFileSync(path.join(made.dir, 'frames.js'), FRAME_PROBE);
  const slow = {};
  for (const [name, s] of Object.entries(situations)) {
    const html = previewPage(s.page(designs[s.design].built.html), AFTER).replace(s.early ? ' defer blocking="render"' : '\0', '');
    const head = (s.policy ? `\r\n<meta http-equiv="Content-Security-Policy" content="${s.policy}">` : '')
      + (s.scripting ?? true ? '\r\n<script src="frames.js"></script>' : '')
      + (s.prelude ? `\r\n<script>${s.prelude}</script>` : '');
    fs.writeFileSync(path.join(made.dir, `${name}.html`), html.replace('<HEAD>', `<HEAD>${head}`));
    const [start, rest] = fs.readFileSync(path.join(made.dir, `${name}.html`), 'utf8').split('</applet>');
    if (s.early) slow[`/${name}.html`] = (res) => {
      res.writeHead(200, { 'content-type': 'text/html' }).write(start);
      setTimeout(() => res.end(`</applet>${rest}`), 600);
    };
  }
  server = await serve(made.dir, slow);
  browser = await launchBrowser(kit);
});

after(async () => {
  await browser?.close();
  await server?.close();
});

// Pixels of the menu at rest and with the mouse on its first button.
async function menuShots(page, rects) {
  const rest = await shoot(page);
  const r = rects.buttons[0];
  await page.mouse.move(rest.origin.x + r.left + r.width / 2, rest.origin.y + r.top + r.height / 2);
  const hover = await shoot(page);
  await page.mouse.move(799, 599);
  const crop = (shot) => {
    const pixels = [];
    for (let y = 0; y < rects.height; y++) for (let x = 0; x < rects.width; x++) pixels.push(...(shot.at(x, y) ?? [-1, -1, -1]));
    return pixels;
  };
  return { rest: crop(rest), hover: crop(hover) };
}

// The button focused: in a menu, or among the plain links.
const focused = (page) => page.evaluate(() => {
  const a = document.activeElement;
  const plain = a.closest('nav');
  if (plain) return [...plain.querySelectorAll('a')].indexOf(a) + 1;
  return a.id === 'after' ? 'after' : Number(a.shadowRoot?.activeElement?.dataset.number ?? 0);
});


const reference = {};

for (const [name, s] of Object.entries(situations)) {
  // WebDriver cannot set a screen's scale.
  const unable = s.scale && isWebKit ? 'WebDriver sets no device scale' : false;
  test(`a menu on a page: ${name}`, { ...BROWSER_TEST, skip: unable }, async () => {
    const { rects } = designs[s.design];
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    const scripting = s.scripting ?? true;
    if (s.scale) await page.setViewport({ width: 800, height: 600, deviceScaleFactor: s.scale });
    await page.goto(`${server.url}${name}.html`, { waitUntil: 'load' });

    if (!scripting) {
      // Each button a link with its picture, loaded and drawn, named by its Title.
      assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('applet > nav li')].map((li) => {
        const img = li.querySelector('a[href] > img');
        return [img.alt, img.complete && img.naturalWidth > 0, img.getBoundingClientRect().width];
      })), [['Products', true, 120], ['Services', true, 120], ['Contact "us"', true, 120]]);
      assert.equal(await page.$('[data-quillmap="menu"]'), null);
    } else {
      await picturesSettled(page);
      // Where the script line holds the first frame back until the runtime
      // has run (firefox cannot yet), or the runtime runs before the body.
      if (s.early || await page.evaluate(() => 'blocking' in HTMLScriptElement.prototype)) {
        assert.equal(await page.evaluate(() => window.__plainFrames), 0, 'the plain links were never drawn');
      }
    }

    if (!scripting) {
      // Nothing more of the menu to look at.
    } else if (s.hidden) {
      assert.deepEqual(await page.$eval('#m', (m) => [getComputedStyle(m).display, m.getBoundingClientRect().height]), ['none', 0],
        'the applet\'s display:none hides the menu');
    } else {
      assert.deepEqual(await menuRects(page), Array(s.menus ?? 1).fill(rects));
      assert.equal(await partText(page, 'title'), TITLE);
      if (s.scale) {
        assert.deepEqual(await page.evaluate(() => {
          const img = (n) => document.querySelector('[data-quillmap="menu"]').shadowRoot.querySelector(`[data-number="${n}"] img`);
          return [img(1).currentSrc.split('/').pop(), getComputedStyle(img(2)).imageRendering];
        }), ['b1@2x.gif', 'auto'], 'the sharp copy where there is one, smooth scaling elsewhere');
      }
      const shots = await menuShots(page, rects);
      reference[name] = shots;
      if (s.same) {
        // WebKit rasterises a glyph's edge one level apart now and then,
        // from run to run of the same page: a level of 2 is no difference.
        const level = isWebKit ? 2 : 0;
        const differing = (k) => shots[k].filter((v, i) => Math.abs(v - reference[s.same][k][i]) > level).length;
        assert.equal(differing('rest'), 0, `the menu looks as on the ${s.same} page`);
        assert.equal(differing('hover'), 0, 'and so does its hover state');
      }
    }
    if (s.host) {
      assert.deepEqual(await page.$eval('[data-quillmap="menu"]', (m) => ({
        id: m.id, className: m.className, name: m.getAttribute('name'), marginLeft: getComputedStyle(m).marginLeft,
      })), s.host, 'the applet\'s id, class, name and style stay with the menu');
    }

    // Tab: each button the visitor can see, then on past the menu; the
    // menu's parts stay where they are.
    const walk = [];
    for (let i = 0; i < s.tabs.length; i++) {
      await page.keyboard.press('Tab');
      walk.push(await focused(page));
      if (!s.hidden && scripting) assert.deepEqual((await menuRects(page))[0], rects, `after Tab ${i + 1} the menu has not scrolled`);
    }
    assert.deepEqual(walk, s.tabs);

    if (s.hidden) {
      await page.$eval('#m', (m) => { m.style.display = ''; });
      await picturesSettled(page);
      assert.deepEqual((await menuRects(page))[0], rects, 'shown by the site, the menu is whole');
    }
    // Only the policy's own refusal of the runtime, where that is the point.
    assert.deepEqual(errors.filter((e) => scripting || !/Content-Security-Policy/.test(e)), []);
    await closeTab(page);
  });
}
