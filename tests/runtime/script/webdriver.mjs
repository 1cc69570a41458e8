// WebKit for the browser tests: WebKitGTK's WebDriver drives its MiniBrowser
// in a private X server. Pages get the part of puppeteer's page interface
// the tests use; what WebDriver cannot do (device scale, scripts before a
// page's own, page errors, the accessibility tree) is not offered.

import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

export function findMiniBrowser() {
  const lib = '/usr/lib';
  for (const arch of fs.existsSync(lib) ? fs.readdirSync(lib) : []) {
    for (const api of ['webkit2gtk-4.1', 'webkit2gtk-4.0', 'webkitgtk-6.0']) {
      const file = `${lib}/${arch}/${api}/MiniBrowser`;
      if (fs.existsSync(file)) return file;
    }
  }
  return null;
}

function freePort() {
  return new Promise((resolve, reject) => {
    const s = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => resolve(port));
    }).on('error', reject);
  });
}

// A private X server, its display number read from the descriptor it writes it to.
function startXvfb() {
  const x = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1800x1600x24', '-nolisten', 'tcp'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  return new Promise((resolve, reject) => {
    let text = '';
    x.stdio[3].on('data', (d) => {
      text += d;
      if (text.includes('\n')) resolve({ display: `:${text.trim()}`, process: x });
    });
    x.on('exit', () => reject(new Error('Xvfb did not start')));
  });
}

// puppeteer's selectors in the page: "pierce/" looks into every shadow root too.
const QUERY = `function (sel, all) {
  const pierce = sel.startsWith('pierce/');
  if (pierce) sel = sel.slice(7);
  const roots = [document];
  for (let i = 0; pierce && i < roots.length; i++) {
    for (const el of roots[i].querySelectorAll('*')) if (el.shadowRoot) roots.push(el.shadowRoot);
  }
  const found = roots.flatMap((r) => [...r.querySelectorAll(sel)]);
  return all ? found : found[0] || null;
}`;

const KEYS = { Tab: '\uE004', Enter: '\uE007', Shift: '\uE008' };

export async function launchWebKit(driver, miniBrowser) {
  const x = process.env.DISPLAY ? null : await startXvfb();
  const port = await freePort();
  // Glyphs unhinted, at their true advances, as the editor lays them out
  // (a desktop's own settings would round them to whole pixels).
  const config = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmap-webkit-'));
  fs.mkdirSync(path.join(config, 'gtk-3.0'));
  fs.writeFileSync(path.join(config, 'gtk-3.0/settings.ini'),
    '[Settings]\ngtk-xft-antialias=1\ngtk-xft-hinting=0\ngtk-xft-hintstyle=hintnone\ngtk-xft-rgba=none\n');
  const env = { ...process.env, XDG_CONFIG_HOME: config, ...(x ? { DISPLAY: x.display } : {}) };
  const child = spawn(driver, [`--port=${port}`], { env, stdio: 'ignore' });
  const base = `http://127.0.0.1:${port}`;
  for (let i = 0; ; i++) {
    try {
      if ((await fetch(`${base}/status`)).ok) break;
    } catch { /* not listening yet */ }
    if (i > 100) throw new Error('WebKitWebDriver did not start');
    await new Promise((r) => setTimeout(r, 50));
  }
  const call = async (method, url, body) => {
    const res = await fetch(base + url, {
      method, headers: { 'content-type': 'application/json' }, body: body === undefined ? undefined : JSON.stringify(body),
    });
    const json = await res.json();
    if (!res.ok) throw new Error(`WebDriver ${method} ${url}: ${json.value?.message || res.status}`);
    return json.value;
  };
  const session = await call('POST', '/session', {
    capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation'] } } },
  });
  const s = `/session/${session.sessionId}`;
  // The window the session starts with stays open, blank: closing a
  // session's last window would end it.
  const home = await call('GET', `${s}/window`);
  let current = home;
  const focus = async (handle) => {
    if (handle !== current) await call('POST', `${s}/window`, { handle });
    current = handle;
  };
  const actions = (list) => call('POST', `${s}/actions`, { actions: list });

  const newPage = async () => {
    // New windows, not tabs: a tab behind another is never drawn, so its
    // screenshot would wait for ever. A new one needs an open current one.
    if (current === null) await focus(home);
    const { handle } = await call('POST', `${s}/window/new`, { type: 'window' });
    const run = async (script, args) => {
      await focus(handle);
      // Promises are awaited; a thrown error comes back as one.
      const out = await call('POST', `${s}/execute/async`, {
        script: `const done = arguments[arguments.length - 1];
          Promise.resolve().then(() => (${script}).apply(null, Array.prototype.slice.call(arguments, 0, -1)))
            .then((v) => done({ v: v === undefined ? null : v }), (e) => done({ e: String(e && e.stack || e) }));`,
        args,
      });
      if (out.e) throw new Error(out.e);
      return out.v;
    };
    const pointer = (steps) => actions([{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: steps }]);
    let at = { x: 0, y: 0 };
    const page = {
      async goto(url) {
        await focus(handle);
        await call('POST', `${s}/url`, { url });
      },
      evaluate(fn, ...args) {
        // A string is a script to run, as puppeteer takes it.
        if (typeof fn === 'string') return run(`function () { ${fn}\n; }`, []);
        return run(String(fn), args);
      },
      $eval(selector, fn, ...args) {
        return run(`function (sel, ...rest) { return (${fn})((${QUERY})(sel, false), ...rest); }`, [selector, ...args]);
      },
      $$eval(selector, fn, ...args) {
        return run(`function (sel, ...rest) { return (${fn})((${QUERY})(sel, true), ...rest); }`, [selector, ...args]);
      },
      async $(selector) {
        return (await run(`(sel) => !!(${QUERY})(sel, false)`, [selector])) ? {} : null;
      },
      async waitForFunction(fn, { timeout = 30000 } = {}, ...args) {
        const until = Date.now() + timeout;
        while (!(await run(String(fn), args))) {
          if (Date.now() > until) throw new Error(`waitForFunction timed out: ${fn}`);
          await new Promise((r) => setTimeout(r, 30));
        }
      },
      // The window is sized so that its viewport is the size asked for.
      async setViewport({ width, height, deviceScaleFactor = 1 }) {
        if (deviceScaleFactor !== 1) throw new Error('WebDriver cannot set a device scale');
        await focus(handle);
        // The window manager-less X server applies a new size a little later than
        // WebDriver answers, so each try waits for the viewport to follow.
        const inner = () => run('() => [innerWidth, innerHeight]', []);
        for (let i = 0; i < 5; i++) {
          const before = await inner();
          if (before[0] === width && before[1] === height) return;
          const rect = await call('GET', `${s}/window/rect`);
          await call('POST', `${s}/window/rect`, { width: rect.width + width - before[0], height: rect.height + height - before[1] });
          for (let t = 0; t < 20; t++) {
            const now = await inner();
            if (now[0] !== before[0] || now[1] !== before[1]) break;
            await new Promise((r) => setTimeout(r, 50));
          }
        }
        throw new Error(`the viewport cannot be made ${width} x ${height}`);
      },
      async screenshot() {
        // After two frames, so that what the last action changed is drawn.
        await run('() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))', []);
        return Buffer.from(await call('GET', `${s}/screenshot`), 'base64');
      },
      mouse: {
        async move(x, y, { steps = 1 } = {}) {
          await focus(handle);
          const moves = [];
          for (let i = 1; i <= steps; i++) {
            moves.push({ type: 'pointerMove', origin: 'viewport', duration: 0,
              x: Math.round(at.x + ((x - at.x) * i) / steps), y: Math.round(at.y + ((y - at.y) * i) / steps) });
          }
          at = { x, y };
          await pointer(moves);
        },
        async click(x, y) {
          await page.mouse.move(x, y);
          await pointer([{ type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }]);
        },
      },
      keyboard: {
        async press(key) {
          await page.keyboard.down(key);
          await page.keyboard.up(key);
        },
        // A key held stays down between actions, until its key goes up.
        async down(key) {
          await focus(handle);
          await actions([{ type: 'key', id: 'keys', actions: [{ type: 'keyDown', value: KEYS[key] || key }] }]);
        },
        async up(key) {
          await focus(handle);
          await actions([{ type: 'key', id: 'keys', actions: [{ type: 'keyUp', value: KEYS[key] || key }] }]);
        },
      },
      on() { /* WebDriver reports no page errors */ },
      bringToFront: () => focus(handle),
      async close() {
        await focus(handle);
        await call('DELETE', `${s}/window`);
        current = null;
      },
    };
    // As puppeteer's pages start.
    await page.setViewport({ width: 800, height: 600 });
    return page;
  };

  return {
    newPage,
    async close() {
      await call('DELETE', s).catch(() => {});
      child.kill('SIGKILL');
      x?.process.kill('SIGKILL');
      fs.rmSync(config, { recursive: true, force: true });
    },
  };
}
