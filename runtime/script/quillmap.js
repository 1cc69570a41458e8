/*
 * quillmap.js - plays a Quillmap rollover menu in browsers without Java:
 *     <script src="quillmap.js" defer blocking="render"></script>
 * (or without defer: then Firefox too never draws the plain links). Each
 * <applet code="quillmap.class"> becomes a <quillmap-menu> (keeping its id,
 * class, name and style) that draws the menu in a shadow root. Plain ES2017;
 * Node gets the AU decoder.
 */
(function (global) {
  'use strict';

  // One G.711 mu-law byte to a 16-bit sample (-32124 ... 32124).
  function muLawToPcm(byte) {
    var u = ~byte & 0xff;
    var magnitude = ((((u & 0x0f) << 3) + 0x84) << ((u >> 4) & 0x07)) - 0x84;
    return (u & 0x80) && magnitude ? -magnitude : magnitude;
  }

  // A Sun AU header, or null: mu-law (1), 8- and 16-bit PCM (2, 3). A size
  // of all ones or past the end means to the end.
  function auHeader(data) {
    var bytes;
    if (data instanceof ArrayBuffer) bytes = new Uint8Array(data);
    else if (data && ArrayBuffer.isView(data)) bytes = new Uint8Array(data.buffer, data.byteOffset, data.byteLength);
    else return null;
    if (bytes.length < 24) return null;
    var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    if (view.getUint32(0) !== 0x2e736e64) return null; // ".snd"
    var offset = view.getUint32(4);
    var size = view.getUint32(8);
    var encoding = view.getUint32(12);
    var rate = view.getUint32(16);
    var channels = view.getUint32(20);
    var width = encoding === 1 || encoding === 2 ? 1 : encoding === 3 ? 2 : 0;
    if (!width || offset < 24 || offset > bytes.length || !rate || !channels || channels > 32) return null;
    var available = bytes.length - offset;
    if (size === 0xffffffff || size > available) size = available;
    return {
      bytes: bytes, view: view, offset: offset, encoding: encoding, width: width,
      sampleRate: rate, channelCount: channels, frames: Math.floor(size / (width * channels))
    };
  }

  // Decodes frames [from, to) into one Float32Array per channel.
  function auFrames(h, channels, from, to) {
    var n = h.channelCount;
    var pos = h.offset + from * n * h.width;
    for (var f = from; f < to; f++) {
      for (var c = 0; c < n; c++) {
        channels[c][f] = h.encoding === 1 ? muLawToPcm(h.bytes[pos]) / 32768
          : h.encoding === 2 ? h.view.getInt8(pos) / 128 : h.view.getInt16(pos) / 32768;
        pos += h.width;
      }
    }
  }

  // { sampleRate, channels } of a whole file, or null.
  function decodeAu(data) {
    var h = auHeader(data);
    if (!h) return null;
    var channels = [];
    for (var c = 0; c < h.channelCount; c++) channels.push(new Float32Array(h.frames));
    auFrames(h, channels, 0, h.frames);
    return { sampleRate: h.sampleRate, channels: channels };
  }

  var api = { decodeAu: decodeAu, muLawToPcm: muLawToPcm };

  if (typeof module === 'object' && module && module.exports) module.exports = api;
  if (typeof document === 'undefined') return; // Node
  // Each pasted menu brings the line that loads this file: it runs once.
  if (global.Quillmap) return;
  global.Quillmap = api;

  var audioContext = null;
  var sounds = new Map(); // name -> Promise of AudioBuffer or null
  var keyboard = false;   // the visitor's last input was a key

  function getAudioContext() {
    try {
      audioContext = audioContext || new (global.AudioContext || global.webkitAudioContext)();
    } catch (e) { /* no audio */ }
    return audioContext;
  }

  // After the next frame: starting audio first takes tens of milliseconds.
  function afterFrame(job) {
    requestAnimationFrame(function () { setTimeout(job, 0); });
  }

  // Audio starts only after a click or key, not a hover: each wakes the
  // context for the next hover. Keys also tell keyboard focus from a pointer's.
  function onInput(e) {
    keyboard = e.type === 'keydown';
    if (sounds.size) afterFrame(function () {
      var ctx = getAudioContext();
      if (ctx && ctx.state === 'suspended') ctx.resume().catch(function () {});
    });
  }
  document.addEventListener('keydown', onInput, true);
  document.addEventListener('pointerdown', onInput, true);

  // work(from, to) over [0, total) in slices of about 8 ms.
  function inSlices(total, work) {
    return new Promise(function (resolve) {
      var done = 0;
      (function slice() {
        var until = performance.now() + 8;
        do {
          var end = Math.min(total, done + 8192);
          work(done, end);
          done = end;
        } while (done < total && performance.now() < until);
        if (done < total) setTimeout(slice, 0);
        else resolve();
      })();
    });
  }

  // An AudioBuffer of a file, resampled linearly where the rate is refused.
  function toAudioBuffer(data) {
    var h = data && auHeader(data);
    if (!h || !h.frames) return null;
    var buffer = null;
    try {
      buffer = new AudioBuffer({ length: h.frames, numberOfChannels: h.channelCount, sampleRate: h.sampleRate });
    } catch (e) { /* rate out of range */ }
    var channels = [];
    for (var c = 0; c < h.channelCount; c++) channels.push(buffer ? buffer.getChannelData(c) : new Float32Array(h.frames));
    return inSlices(h.frames, function (a, b) { auFrames(h, channels, a, b); }).then(function () {
      var ctx = !buffer && getAudioContext();
      if (!ctx) return buffer;
      var ratio = h.sampleRate / ctx.sampleRate;
      var out = ctx.createBuffer(channels.length, Math.max(1, Math.floor(h.frames / ratio)), ctx.sampleRate);
      return inSlices(out.length, function (a, b) {
        channels.forEach(function (s, c) {
          var t = out.getChannelData(c);
          for (var i = a; i < b; i++) {
            var x = i * ratio, i0 = Math.floor(x), i1 = Math.min(i0 + 1, h.frames - 1);
            t[i] = s[i0] + (s[i1] - s[i0]) * (x - i0);
          }
        });
      }).then(function () { return out; });
    });
  }

  // Fetches and decodes a sound once per name; later hovers reuse it.
  function loadSound(name) {
    if (name && !sounds.has(name)) {
      sounds.set(name, fetch(name)
        // Through a Blob: off chromium's main thread.
        .then(function (response) { return response.ok ? response.blob() : null; })
        .then(function (blob) { return blob && blob.arrayBuffer(); })
        .then(toAudioBuffer)
        .catch(function () { return null; }));
    }
    return sounds.get(name);
  }

  function playSound(name) {
    var asked = Date.now();
    var pending = name && loadSound(name);
    if (pending) pending.then(function (buffer) {
      var ctx = buffer && getAudioContext();
      if (!ctx) return;
      var start = function () {
        // Dropped rather than played late, out of context.
        if (ctx.state !== 'running' || Date.now() - asked > 1500) return;
        var source = ctx.createBufferSource();
        source.buffer = buffer;
        source.connect(ctx.destination);
        source.start();
      };
      if (ctx.state === 'running') start();
      else ctx.resume().then(start, function () {});
    }).catch(function () {});
  }

  // Applet fonts: CSS families, the first the editor's face, the next with
  // its metrics; then its ascent, descent and line gap per 2048-unit em.
  var FONT_FAMILIES = {
    timesroman: ['"Liberation Serif", "Times New Roman", Times, serif', 1825, 443, 87],
    helvetica: ['"Liberation Sans", Arial, Helvetica, sans-serif', 1854, 434, 67],
    courier: ['"Liberation Mono", "Courier New", Courier, monospace', 1705, 615, 0],
    dialog: ['"Liberation Sans", Arial, Helvetica, sans-serif', 1854, 434, 67],
    symbol: ['"Liberation Serif", "Times New Roman", Times, serif', 1825, 443, 87]
  };

  // The editor's line step: each metric rounded to 1/64 px, the sum up.
  function lineStep(face, size) {
    var sum = 0;
    for (var i = 1; i <= 3; i++) sum += Math.floor((face[i] * size * 64 + 1024) / 2048);
    return Math.floor((sum + 63) / 64);
  }

  function readParams(applet) {
    var params = new Map();
    var list = applet.getElementsByTagName('param');
    for (var i = 0; i < list.length; i++) {
      var name = (list[i].getAttribute('name') || '').toLowerCase();
      // Names ignore case, as an applet's did; &quot; is already a quote.
      if (name && !params.has(name)) params.set(name, list[i].getAttribute('value') || '');
    }
    var text = function (name) { return params.get(name.toLowerCase()) || ''; };
    return { params: params, text: text, int: function (name) { return parseInt(text(name), 10) || 0; } };
  }

  function color(value, fallback) {
    value = value.trim();
    return /^[0-9a-fA-F]{6}$/.test(value) ? '#' + value : fallback;
  }

  // The CSS of a font (the size in pixels), and of its lines where advances
  // are whole pixels (WebKitGTK): laid out 16 times as large, scaled down.
  function font(family, style, size) {
    style = style.trim().toLowerCase();
    var face = FONT_FAMILIES[family.trim().toLowerCase()] || FONT_FAMILIES.timesroman;
    size = Math.max(1, size);
    var step = lineStep(face, size);
    return {
      css: ';font-family:' + face[0] +
        ';font-weight:' + (/^bold/.test(style) ? 'bold' : 'normal') +
        ';font-style:' + (/italic$/.test(style) ? 'italic' : 'normal') +
        ';font-size:' + size + 'px;line-height:' + step + 'px',
      lines: rounds() ? 'font-size:' + size * 16 + 'px;line-height:' + step * 16 + 'px;transform-origin:0 0;transform:scale(.0625)' : ''
    };
  }

  // Ten advances of the mono face at 16 px, 96.02 px unrounded; measured
  // only in WebKit (Chromium and Gecko never round).
  var rounded;
  function rounds() {
    var c = rounded === undefined && /AppleWebKit(?!.*Chrom)/.test(navigator.userAgent) && document.createElement('canvas').getContext('2d');
    if (c) {
      c.font = '16px ' + FONT_FAMILIES.courier[0];
      rounded = Math.abs(c.measureText('iiiiiiiiii').width - 96.015625) >= 1;
    }
    return rounded;
  }

  // The display lines of a value, joined by "|"; source line breaks are
  // layout only, and a line is never re-wrapped.
  function displayLines(value) {
    return value.split('|').map(oneLine).join('\n');
  }

  function oneLine(value) {
    return value.replace(/[\r\n]/g, '');
  }

  // head_left ... head_height, left3 ... height3 and the like.
  function rect(p, prefix, suffix) {
    suffix = suffix || '';
    return {
      left: p.int(prefix + 'left' + suffix),
      top: p.int(prefix + 'top' + suffix),
      width: p.int(prefix + 'width' + suffix),
      height: p.int(prefix + 'height' + suffix)
    };
  }

  function size(applet, name) {
    return Math.max(0, parseInt(applet.getAttribute(name), 10) || 0);
  }

  // An address a browser would run as script. Browsers drop tabs and line
  // breaks in it and controls before it, and ignore the scheme's case.
  function isScriptAddress(address) {
    return /^(javascript|vbscript|data):/i.test(address.replace(/[\t\n\r]/g, '').replace(/^[\x00-\x20]+/, ''));
  }

  // The block's plain links name the pictures' sharp copies (srcsets).
  function sharpPictures(applet) {
    var nav = null;
    for (var c = applet.firstElementChild; c && !nav; c = c.nextElementSibling) {
      if (c.localName === 'nav') nav = c;
    }
    var items = nav ? nav.getElementsByTagName('li') : [];
    var attr = function (el, name) { return (el && el.getAttribute(name)) || ''; };
    return {
      blurb: attr(nav, 'data-blurb-srcset'),
      button: function (i) {
        var li = items[i];
        var img = li && li.getElementsByTagName('img')[0];
        return { image: attr(img, 'srcset'), rollOver: attr(li, 'data-over-srcset'), blurbImage: attr(li, 'data-blurb-srcset') };
      }
    };
  }

  function readDesign(applet) {
    var p = readParams(applet);
    var sharp = sharpPictures(applet);
    var design = {
      width: size(applet, 'width'),
      height: size(applet, 'height'),
      background: color(p.text('table_color'), '#000000'),
      textColor: color(p.text('text_color'), '#ffffff'),
      title: rect(p, 'head_'),
      titleFont: font(p.text('head_font'), p.text('head_style'), p.int('head_size')),
      blurb: rect(p, 'mainbox_'),
      // Every Blurb text uses it, as in the editor.
      blurbFont: font(p.text('mainbox_font'), p.text('mainbox_style'), p.int('mainbox_size')),
      defTitle: oneLine(p.text('deftag')),
      defBlurb: displayLines(p.text('defmaintext')),
      defImage: p.text('defimg').trim(),
      defImageSet: sharp.blurb,
      center: p.text('defcenter').trim().toLowerCase() === 'true',
      buttons: []
    };
    // Numbered from 1; the first missing number ends the list.
    for (var n = 1; p.params.has('left' + n); n++) {
      // Address and target, split at the last comma.
      var link = p.text('URL' + n);
      var comma = link.lastIndexOf(',');
      var address = (comma < 0 ? link : link.slice(0, comma)).trim();
      // Such a button stays a picture without a link.
      if (isScriptAddress(address)) address = '';
      design.buttons.push({
        number: n,
        rect: rect(p, '', n),
        tag: oneLine(p.text('tag' + n)),
        blurb: displayLines(p.text('blurb' + n)),
        image: p.text('img' + n).trim(),
        rollOver: p.text('rollOverImg' + n).trim(),
        blurbImage: p.text('imageCenter' + n).trim(),
        sound: p.text('sound' + n).trim(),
        address: address,
        target: comma < 0 ? '' : link.slice(comma + 1).trim(),
        sets: sharp.button(n - 1)
      });
    }
    return design;
  }

  // Drawing. Parts carry data-quillmap: "menu" on the element, "title",
  // "blurb" and "button" in its shadow root.

  // The reset stops what the page passes down. The box clips, never
  // scrolls, so focus cannot move the menu. The focus ring: 2 px inside,
  // black or white (what stands out more), lined with the other.
  var CSS =
    ':host{display:inline-block;vertical-align:baseline}' +
    '.m{all:initial;direction:ltr;unicode-bidi:isolate;visibility:inherit;display:block;position:relative;overflow:hidden;overflow:clip;contain:strict}' +
    '.a{position:absolute;overflow:hidden;overflow:clip;outline:0}' +
    '.x{position:absolute;left:3px;top:3px;white-space:pre}' +
    '.k[href]{cursor:pointer}' +
    '.p{position:absolute;left:0;top:0;width:100%;height:100%}' +
    // As the editor stretches them at scale 1; sharper screens: smoothly.
    '@media (max-resolution:1.49dppx){.p{image-rendering:pixelated}}' +
    '.f:after{content:"";position:absolute;inset:0;border:2px solid var(--r);box-shadow:inset 0 0 0 1px var(--s)}' +
    '.s{position:absolute;width:1px;height:1px;overflow:hidden;clip-path:inset(50%);white-space:nowrap}';
  function make(tag, className, parent, css) {
    var el = document.createElement(tag);
    if (className) el.className = className;
    // Not cssText: WebKit holds it to a policy's rule on inline styles.
    if (css) setCss(el, css);
    parent.appendChild(el);
    return el;
  }

  // Through the CSSOM, which a policy refusing inline styles allows. No
  // value here holds a semicolon.
  function setCss(el, css) {
    css.split(';').forEach(function (declaration) {
      var colon = declaration.indexOf(':');
      if (colon > 0) el.style.setProperty(declaration.slice(0, colon).trim(), declaration.slice(colon + 1).trim());
    });
  }

  // A site's style declarations, parsed by the browser (a value may hold a
  // semicolon, as a data: address does) in a sheet of their own.
  function copyStyle(text, el) {
    if (typeof CSSStyleSheet !== 'function' || !('replaceSync' in CSSStyleSheet.prototype)) return setCss(el, text);
    var parsed = new CSSStyleSheet();
    try { parsed.replaceSync('x{' + text + '}'); } catch (e) { return; }
    var rule = parsed.cssRules[0];
    if (!rule || !rule.style) return;
    for (var i = 0; i < rule.style.length; i++) {
      var name = rule.style[i];
      el.style.setProperty(name, rule.style.getPropertyValue(name), rule.style.getPropertyPriority(name));
    }
  }

  // One sheet, adopted by every menu; a <style> where sheets cannot be.
  var sheet = null;
  function canAdopt(root) {
    return 'adoptedStyleSheets' in root && typeof CSSStyleSheet === 'function' && 'replaceSync' in CSSStyleSheet.prototype;
  }
  function adoptStyles(shadow) {
    if (canAdopt(shadow)) {
      if (!sheet) {
        sheet = new CSSStyleSheet();
        sheet.replaceSync(CSS);
      }
      shadow.adoptedStyleSheets = [sheet];
    } else {
      make('style', '', shadow).textContent = CSS;
    }
  }

  function place(r) {
    return 'left:' + r.left + 'px;top:' + r.top + 'px;width:' + Math.max(0, r.width) + 'px;height:' + Math.max(0, r.height) + 'px';
  }

  // 1 x 1 stands for a Title or Blurb the design does not use.
  function isUsed(r) {
    return r.width > 1 || r.height > 1;
  }

  // Relative luminance of "#rrggbb".
  function luminance(hex) {
    return [1, 3, 5].reduce(function (sum, i, k) {
      var v = parseInt(hex.substr(i, 2), 16) / 255;
      v = v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4);
      return sum + v * [0.2126, 0.7152, 0.0722][k];
    }, 0);
  }

  // Loads start a few at a time, visible ones first: no frame held up.
  var queue = [];
  var queued = 0;

  function later(job, first) {
    if (first) queue.splice(queued++, 0, job); // after the other visible ones
    else queue.push(job);
    if (queue.length === 1) setTimeout(drain, 0);
  }

  function drain() {
    queue.splice(0, 16).forEach(function (job) { job(); });
    queued = Math.max(0, queued - 16);
    if (queue.length) setTimeout(drain, 0);
  }

  // A picture (hidden if broken), decoded off the main thread; a hidden one
  // ahead, so showing it takes no longer than a frame.
  function picture(src, parent, visible, srcset) {
    var img = make('img', 'p', parent, visible ? '' : 'display:none');
    img.alt = '';
    img.draggable = false;
    img.decoding = 'async';
    later(function () {
      if (srcset) img.srcset = srcset;
      img.src = src;
      if (!visible && img.decode) img.decode().catch(function () {});
    }, visible);
    return img;
  }

  // A Blurb picture, stretched or at its own size centred (halves truncated).
  function blurbPicture(src, parent, area, center, visible, srcset) {
    var img = picture(src, parent, visible, srcset);
    if (center) {
      img.style.visibility = 'hidden';
      img.addEventListener('load', function () {
        var w = img.naturalWidth, h = img.naturalHeight;
        setCss(img, 'visibility:visible;' + place({ left: Math.trunc((area.width - w) / 2), top: Math.trunc((area.height - h) / 2), width: w, height: h }));
      });
    }
    return img;
  }

  // A text area: lines never wrapped, cut at the edges.
  function textArea(parent, r, f, kind) {
    var el = make('div', 'a', parent, place(r) + f);
    el.setAttribute('data-quillmap', kind);
    return el;
  }

  function setText(el, text) {
    if (el.textContent !== text) el.textContent = text;
  }

  function Menu(applet) {
    var d = readDesign(applet);
    var self = this;
    var host = document.createElement('quillmap-menu');
    ['id', 'name'].forEach(function (a) {
      if (applet.hasAttribute(a)) host.setAttribute(a, applet.getAttribute(a));
    });
    // The applet's own style, as the site wrote it, through the CSSOM too.
    if (applet.hasAttribute('style')) copyStyle(applet.getAttribute('style'), host);
    host.className = ((applet.getAttribute('class') || '') + ' quillmap').trim();
    host.setAttribute('data-quillmap', 'menu');
    var shadow = host.attachShadow({ mode: 'open' });
    adoptStyles(shadow);
    var dark = luminance(d.background) > 0.1791; // black contrasts more
    var box = make('div', 'm', shadow, 'width:' + d.width + 'px;height:' + d.height + 'px;background:' + d.background +
      ';color:' + d.textColor + ';--r:' + (dark ? '#000' : '#fff') + ';--s:' + (dark ? '#fff' : '#000'));

    // A navigation landmark named by the default Title, its buttons a list.
    box.setAttribute('role', 'navigation');
    box.setAttribute('aria-label', d.defTitle.trim() || 'Menu');

    // Says what a hover puts up (a focused link says its own name).
    this.live = make('div', 's', box);
    this.live.setAttribute('aria-live', 'polite');
    this.live.setAttribute('aria-atomic', 'true');
    if (isUsed(d.title)) this.title = make('div', 'x', textArea(box, d.title, d.titleFont.css, 'title'), d.titleFont.lines);
    if (isUsed(d.blurb)) {
      this.blurb = textArea(box, d.blurb, d.blurbFont.css, 'blurb');
      this.blurbText = make('div', 'x', this.blurb, d.blurbFont.lines);
      if (d.defImage) this.defImage = blurbPicture(d.defImage, this.blurb, d.blurb, d.center, true, d.defImageSet);
    }
    this.notes = make('div', '', box);
    this.notes.hidden = true;
    this.list = make('div', '', box);
    this.list.setAttribute('role', 'list');

    this.design = d;
    this.box = box;
    this.shown = undefined; // the button shown; null: the defaults
    this.picture = null;    // the Blurb picture shown
    this.hovered = null;    // under the mouse
    this.focused = null;    // focused from the keyboard
    this.armed = null;      // tapped once on a touch screen
    this.buttons = d.buttons.map(function (b) { return self.makeButton(b); });
    this.show(null);

    shadow.addEventListener('error', function (e) {
      if (e.target.tagName === 'IMG') e.target.style.visibility = 'hidden';
    }, true);
    var lastPointer = '';
    var on = function (type, handler) {
      box.addEventListener(type, function (e) { handler(self.buttonOf(e.target), e); });
    };
    on('pointerover', function (b, e) { if (e.pointerType !== 'touch') self.hover(b); });
    on('pointerout', function (b, e) { if (e.pointerType !== 'touch') self.hover(self.buttonOf(e.relatedTarget)); });
    on('pointerdown', function (b, e) { lastPointer = e.pointerType; });
    on('keydown', function () { lastPointer = ''; });
    on('focusin', function (b) {
      if (!b) return;
      var visible = keyboard;
      try {
        visible = visible || b.el.matches(':focus-visible');
      } catch (e) { /* an older browser: the key flag alone */ }
      if (!visible) return;
      b.el.classList.add('f');
      self.focused = b;
      self.show(b, true);
    });
    on('focusout', function (b, e) {
      if (!b) return;
      b.el.classList.remove('f');
      if (self.focused === b) self.focused = null;
      // Tab to the next button shows it without a blink of the defaults.
      if (self.shown === b && !(keyboard && self.buttonOf(e.relatedTarget))) self.show(self.hovered || self.armed);
    });
    on('click', function (b, e) {
      if (!b) return;
      var type = typeof e.pointerType === 'string' && e.pointerType ? e.pointerType : lastPointer;
      if (type === 'touch' && self.armed !== b) {
        // The first tap shows what a hover shows; the second follows the link.
        e.preventDefault();
        self.armed = b;
        self.show(b);
        return;
      }
      self.armed = null;
    });
    // A tap elsewhere disarms it.
    document.addEventListener('pointerdown', function (e) {
      if (e.pointerType !== 'touch' || !self.armed || self.buttonOf(e.composedPath()[0])) return;
      self.armed = null;
      self.show(self.hovered || self.focused);
    }, true);

    applet.parentNode.replaceChild(host, applet);
    this.scale = 1;
    // The observer's first call comes after layout, before the first frame.
    if (typeof ResizeObserver !== 'function') this.fit(host);
    else if (host.parentElement) {
      new ResizeObserver(function () { self.fit(host); }).observe(host.parentElement);
    }
  }

  // Wider than its container (a phone): scaled down to it, never up.
  Menu.prototype.fit = function (host) {
    var d = this.design;
    var parent = host.parentElement;
    if (!parent || !d.width) return;
    // The container's content box (clientWidth of a quirks-mode body is
    // the whole window's).
    var cs = getComputedStyle(parent);
    var room = parent.getBoundingClientRect().width;
    ['paddingLeft', 'paddingRight', 'borderLeftWidth', 'borderRightWidth'].forEach(function (p) { room -= parseFloat(cs[p]) || 0; });
    var scale = room > 0 && room < d.width ? room / d.width : 1;
    if (scale === this.scale) return;
    this.scale = scale;
    if (scale === 1) {
      ['transform', 'transform-origin'].forEach(function (p) { this.box.style.removeProperty(p); }, this);
      ['width', 'height', 'overflow'].forEach(function (p) { host.style.removeProperty(p); });
      return;
    }
    setCss(this.box, 'transform-origin:0 0;transform:scale(' + scale + ')');
    setCss(host, 'width:' + d.width * scale + 'px;height:' + d.height * scale + 'px;overflow:hidden');
  };

  Menu.prototype.makeButton = function (b) {
    var d = this.design;
    var r = b.rect;
    var item = make('div', '', this.list);
    item.setAttribute('role', 'listitem');
    var el = make(b.address ? 'a' : 'div', 'a k', item, place(r));
    var button = { data: b, el: el };
    el.qmButton = button;
    el.setAttribute('data-quillmap', 'button');
    el.setAttribute('data-number', b.number);
    el.draggable = false;
    if (b.address) {
      el.href = b.address;
      if (b.target) el.target = b.target;
    } else {
      // Without a link: a named picture, out of the tab order.
      el.setAttribute('role', 'img');
    }
    // Wholly outside the menu it cannot be seen, nor reached.
    if (r.width <= 0 || r.height <= 0 || r.left >= d.width || r.top >= d.height || r.left + r.width <= 0 || r.top + r.height <= 0) {
      el.style.visibility = 'hidden';
    }
    // Named by its Title, described by its Blurb and where a link opens.
    el.setAttribute('aria-label', b.tag.trim() || 'Menu button ' + b.number);
    var described = [];
    if (this.blurb && b.blurb.trim()) {
      var note = make('div', '', this.notes);
      note.id = 'd' + b.number;
      note.textContent = b.blurb;
      described.push(note.id);
    }
    if (b.address && b.target.toLowerCase() === '_blank') {
      if (!this.newWindow) {
        this.newWindow = make('div', '', this.notes);
        this.newWindow.id = 'w';
        this.newWindow.textContent = 'Opens in a new window.';
      }
      described.push('w');
    }
    if (described.length) el.setAttribute('aria-describedby', described.join(' '));
    if (b.image) button.image = picture(b.image, el, true, b.sets.image);
    if (b.rollOver) button.rollOver = picture(b.rollOver, el, false, b.sets.rollOver);
    if (this.blurb && b.blurbImage) button.blurbImage = blurbPicture(b.blurbImage, this.blurb, d.blurb, d.center, false, b.sets.blurbImage);
    // Loaded ahead, so the first hover does not wait.
    if (b.sound) later(function () { loadSound(b.sound); });
    return button;
  };

  // The button an event target belongs to, or null.
  Menu.prototype.buttonOf = function (node) {
    for (; node && node !== this.box; node = node.parentNode) {
      if (node.qmButton) return node.qmButton;
    }
    return null;
  };

  Menu.prototype.hover = function (button) {
    var previous = this.hovered;
    if (button === previous) return;
    this.hovered = button;
    if (button) this.show(button);
    else if (this.shown === previous) this.show(this.armed || this.focused);
  };

  // A button's own picture, or its mouse-over picture where it has one.
  function swap(button, over) {
    var rollOver = button && button.rollOver;
    if (rollOver) {
      rollOver.style.display = over ? '' : 'none';
      if (button.image) button.image.style.display = over ? 'none' : '';
    }
  }

  // A button's mouse-over state, or the defaults for null; quiet says nothing.
  Menu.prototype.show = function (button, quiet) {
    button = button || null;
    if (this.shown === button) return;
    var previous = this.shown;
    this.shown = button;
    swap(previous, false);
    swap(button, true);

    var d = this.design;
    var data = button && button.data;
    var said = [];
    if (this.title) {
      setText(this.title, data ? data.tag : d.defTitle);
      said.push(this.title.textContent);
    }
    if (this.blurb) {
      var picture = data ? button.blurbImage : this.defImage;
      if (this.picture !== picture) {
        if (this.picture) this.picture.style.display = 'none';
        if (picture) picture.style.display = 'block';
        this.picture = picture;
      }
      this.blurbText.style.display = picture ? 'none' : '';
      if (!picture) {
        setText(this.blurbText, data ? data.blurb : d.defBlurb);
        said.push(this.blurbText.textContent);
      }
    }
    setText(this.live, data && !quiet ? said.join('\n').replace(/\s+/g, ' ').trim() : '');
    if (data) afterFrame(function () { playSound(data.sound); });
  };


  function isQuillmapApplet(el) {
    return /^quillmap(\.class)?$/i.test((el.getAttribute('code') || '').trim());
  }

  // Run before the body (Firefox holds no frame for a deferred script), it
  // hides the plain links meanwhile; a menu not built shows them again.
  function hidePlainLinks() {
    if (!canAdopt(document)) return null;
    var hide = new CSSStyleSheet();
    hide.replaceSync('applet>nav.quillmap-links{display:none}');
    document.adoptedStyleSheets = document.adoptedStyleSheets.concat([hide]);
    return hide;
  }

  function start(hide) {
    var applets = Array.prototype.filter.call(document.getElementsByTagName('applet'), isQuillmapApplet);
    var menus = [];
    applets.forEach(function (applet) {
      try {
        menus.push(new Menu(applet));
      } catch (e) {
        // One damaged block must not stop the other menus on the page.
        console.warn('quillmap.js: a menu could not be built', e);
      }
    });
    if (hide) {
      document.adoptedStyleSheets = document.adoptedStyleSheets.filter(function (s) { return s !== hide; });
    }
    return menus;
  }

  api.start = start;
  if (document.readyState === 'loading') {
    var hide = hidePlainLinks();
    document.addEventListener('DOMContentLoaded', function () { start(hide); });
  } else {
    start();
  }
})(typeof window !== 'undefined' ? window : this);
