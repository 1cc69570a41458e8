/*
 * quillmap.js - plays a Quillmap rollover menu in a browser without Java.
 *
 * Quillmap writes its menu as an <applet code="quillmap.class"> element whose
 * <param> children carry the whole design. No current browser runs applets,
 * so this script finds those elements when the page has loaded and replaces
 * each by an element of the applet's size that draws and runs the same menu:
 * background colour, Title line, Blurb area (text or picture) and the image
 * buttons with their mouse-over picture, texts, sound and link.
 *
 * A page needs one line, with this file beside the page:
 *     <script src="quillmap.js"></script>
 *
 * Everything is drawn with plain elements at whole-pixel positions, so each
 * part sits exactly where the editor showed it. Pictures and sounds are named
 * relative to the page, as Compile and Preview place them. Sounds are Sun AU
 * files, which browsers do not play themselves: they are decoded here and
 * played through Web Audio. A picture or sound that is missing or broken
 * leaves its element empty; the rest of the menu keeps working.
 *
 * Plain ES2017, no dependencies. Under Node the decoder is exported for tests.
 */
(function (global) {
  'use strict';

  // ---------------------------------------------------------------------
  // Sun AU decoding

  var AU_MAGIC = 0x2e736e64; // ".snd"
  var AU_MULAW = 1;
  var AU_LINEAR8 = 2;
  var AU_LINEAR16 = 3;

  // One G.711 mu-law byte to a 16-bit sample (-32124 ... 32124).
  function muLawToPcm(byte) {
    var u = ~byte & 0xff;
    var magnitude = ((((u & 0x0f) << 3) + 0x84) << ((u >> 4) & 0x07)) - 0x84;
    return (u & 0x80) && magnitude ? -magnitude : magnitude;
  }

  /*
   * Decodes a Sun AU file (an ArrayBuffer or typed array) into
   * { sampleRate, channels: [Float32Array, ...] } with samples in -1 ... 1,
   * or returns null for anything it cannot play. 8-bit mu-law and 8- and
   * 16-bit linear PCM are understood, at any rate and channel count the
   * header states. A data size of "unknown" (all ones) or one past the end
   * of the file means "to the end"; a last incomplete frame is dropped.
   */
  function decodeAu(data) {
    var bytes;
    if (data instanceof ArrayBuffer) bytes = new Uint8Array(data);
    else if (data && ArrayBuffer.isView(data)) bytes = new Uint8Array(data.buffer, data.byteOffset, data.byteLength);
    else return null;
    if (bytes.length < 24) return null;
    var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    if (view.getUint32(0) !== AU_MAGIC) return null;
    var offset = view.getUint32(4);
    var size = view.getUint32(8);
    var encoding = view.getUint32(12);
    var sampleRate = view.getUint32(16);
    var channelCount = view.getUint32(20);
    if (offset < 24 || offset > bytes.length || sampleRate === 0 || channelCount === 0 || channelCount > 32) return null;

    var width;
    if (encoding === AU_MULAW || encoding === AU_LINEAR8) width = 1;
    else if (encoding === AU_LINEAR16) width = 2;
    else return null;

    var available = bytes.length - offset;
    if (size === 0xffffffff || size > available) size = available;
    var frames = Math.floor(size / (width * channelCount));
    var channels = [];
    for (var c = 0; c < channelCount; c++) channels.push(new Float32Array(frames));

    var pos = offset;
    for (var f = 0; f < frames; f++) {
      for (c = 0; c < channelCount; c++) {
        var s;
        if (encoding === AU_MULAW) s = muLawToPcm(bytes[pos]) / 32768;
        else if (encoding === AU_LINEAR8) s = view.getInt8(pos) / 128;
        else s = view.getInt16(pos) / 32768;
        channels[c][f] = s;
        pos += width;
      }
    }
    return { sampleRate: sampleRate, channels: channels };
  }

  var api = { decodeAu: decodeAu, muLawToPcm: muLawToPcm };

  if (typeof module === 'object' && module && module.exports) module.exports = api;
  if (typeof document === 'undefined') return; // Node: the decoder is all there is.
  global.Quillmap = api;

  // ---------------------------------------------------------------------
  // Sound playback

  var audioContext = null;
  var soundCache = new Map(); // absolute URL -> Promise of AudioBuffer or null

  function getAudioContext() {
    if (audioContext) return audioContext;
    var Ctor = global.AudioContext || global.webkitAudioContext;
    if (!Ctor) return null;
    try {
      audioContext = new Ctor();
    } catch (e) {
      audioContext = null;
    }
    return audioContext;
  }

  // Browsers start audio only after the visitor has clicked or typed; a
  // hover alone does not count. Waking the context on those gestures lets the
  // next hover sound.
  function wakeAudio() {
    var ctx = getAudioContext();
    if (ctx && ctx.state === 'suspended') ctx.resume().catch(function () {});
  }

  // Builds an AudioBuffer from decoded samples. Where the browser does not
  // take the file's rate, the samples are resampled linearly to the
  // context's own rate.
  function toAudioBuffer(decoded) {
    var length = decoded.channels[0].length;
    if (length === 0) return null;
    var n = decoded.channels.length;
    try {
      var buffer = new AudioBuffer({ length: length, numberOfChannels: n, sampleRate: decoded.sampleRate });
      decoded.channels.forEach(function (samples, c) { buffer.getChannelData(c).set(samples); });
      return buffer;
    } catch (e) {
      var ctx = getAudioContext();
      if (!ctx) return null;
      var ratio = decoded.sampleRate / ctx.sampleRate;
      var outLength = Math.max(1, Math.floor(length / ratio));
      var out = ctx.createBuffer(n, outLength, ctx.sampleRate);
      decoded.channels.forEach(function (samples, c) {
        var target = out.getChannelData(c);
        for (var i = 0; i < outLength; i++) {
          var x = i * ratio;
          var i0 = Math.floor(x);
          var i1 = Math.min(i0 + 1, length - 1);
          target[i] = samples[i0] + (samples[i1] - samples[i0]) * (x - i0);
        }
      });
      return out;
    }
  }

  var waking = false;

  // Fetches and decodes a sound once per address; later hovers reuse it.
  function loadSound(name) {
    if (!name) return Promise.resolve(null);
    if (!waking) {
      waking = true;
      document.addEventListener('pointerdown', wakeAudio, true);
      document.addEventListener('keydown', wakeAudio, true);
    }
    var url;
    try {
      url = new URL(name, document.baseURI).href;
    } catch (e) {
      return Promise.resolve(null);
    }
    if (!soundCache.has(url)) {
      var pending = fetch(url)
        .then(function (response) { return response.ok ? response.arrayBuffer() : null; })
        .then(function (data) {
          var decoded = data && decodeAu(data);
          return decoded ? toAudioBuffer(decoded) : null;
        })
        .catch(function () { return null; });
      soundCache.set(url, pending);
    }
    return soundCache.get(url);
  }

  function playSound(name) {
    if (!name) return;
    var asked = Date.now();
    loadSound(name).then(function (buffer) {
      var ctx = buffer && getAudioContext();
      if (!ctx) return;
      var start = function () {
        // A sound that could not start at once (audio still locked, file
        // still loading) is dropped rather than played late out of context.
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

  // ---------------------------------------------------------------------
  // Reading the applet element

  // Applet font names to CSS families. Liberation fonts share the metrics of
  // the Windows faces, so text takes the room it took in the editor.
  var FONT_FAMILIES = {
    timesroman: '"Times New Roman", Times, "Liberation Serif", serif',
    helvetica: 'Arial, Helvetica, "Liberation Sans", sans-serif',
    courier: '"Courier New", Courier, "Liberation Mono", monospace',
    dialog: 'sans-serif',
    symbol: 'Symbol'
  };

  function readParams(applet) {
    var params = new Map();
    var list = applet.getElementsByTagName('param');
    for (var i = 0; i < list.length; i++) {
      var name = (list[i].getAttribute('name') || '').toLowerCase();
      // The browser has already turned &quot; and the other references into
      // characters. Parameter names ignore case, as an applet's did.
      if (name && !params.has(name)) params.set(name, list[i].getAttribute('value') || '');
    }
    return {
      has: function (name) { return params.has(name.toLowerCase()); },
      text: function (name) { return params.has(name.toLowerCase()) ? params.get(name.toLowerCase()) : ''; },
      int: function (name) {
        var n = parseInt(this.text(name), 10);
        return isFinite(n) ? n : 0;
      }
    };
  }

  function color(value, fallback) {
    value = (value || '').trim();
    return /^[0-9a-fA-F]{6}$/.test(value) ? '#' + value : fallback;
  }

  function font(family, style, size) {
    style = (style || '').trim().toLowerCase();
    return {
      family: FONT_FAMILIES[(family || '').trim().toLowerCase()] || 'sans-serif',
      weight: style === 'bold' || style === 'bold+italic' ? 'bold' : 'normal',
      style: style === 'italic' || style === 'bold+italic' ? 'italic' : 'normal',
      size: Math.max(1, size) + 'px'
    };
  }

  // The display lines of a multi-line value: the editor's lines joined by
  // "|", each bar written at the start of a new source line. The line breaks
  // of the source are layout only; a line is never re-wrapped.
  function displayLines(value) {
    return value.split('|').map(function (line) { return line.replace(/[\r\n]/g, ''); });
  }

  // The address and the target of a URL value: split at the last comma.
  function splitUrl(value) {
    var comma = value.lastIndexOf(',');
    if (comma < 0) return { address: value.trim(), target: '' };
    return { address: value.slice(0, comma).trim(), target: value.slice(comma + 1).trim() };
  }

  // The rectangle of parameters such as head_left ... head_height or left3 ... height3.
  function rect(p, prefix, suffix) {
    suffix = suffix || '';
    return {
      left: p.int(prefix + 'left' + suffix),
      top: p.int(prefix + 'top' + suffix),
      width: p.int(prefix + 'width' + suffix),
      height: p.int(prefix + 'height' + suffix)
    };
  }

  function readDesign(applet) {
    var p = readParams(applet);
    var design = {
      width: Math.max(0, parseInt(applet.getAttribute('width'), 10) || 0),
      height: Math.max(0, parseInt(applet.getAttribute('height'), 10) || 0),
      background: color(p.text('table_color'), '#000000'),
      textColor: color(p.text('text_color'), '#ffffff'),
      title: rect(p, 'head_'),
      titleFont: font(p.text('head_font'), p.text('head_style'), p.int('head_size')),
      blurb: rect(p, 'mainbox_'),
      // Every Blurb text, the default and the buttons', is drawn in the
      // Blurb area's font, as the editor shows them all in one box.
      blurbFont: font(p.text('mainbox_font'), p.text('mainbox_style'), p.int('mainbox_size')),
      defTitle: p.text('deftag').replace(/[\r\n]/g, ''),
      defBlurb: displayLines(p.text('defmaintext')),
      defImage: p.text('defimg').trim(),
      center: p.text('defcenter').trim().toLowerCase() === 'true',
      buttons: []
    };
    // Buttons are numbered from 1 without gaps; the first missing number ends the list.
    for (var n = 1; p.has('left' + n); n++) {
      var link = splitUrl(p.text('URL' + n));
      design.buttons.push({
        number: n,
        rect: rect(p, '', n),
        tag: p.text('tag' + n).replace(/[\r\n]/g, ''),
        blurb: displayLines(p.text('blurb' + n)),
        image: p.text('img' + n).trim(),
        rollOver: p.text('rollOverImg' + n).trim(),
        blurbImage: p.text('imageCenter' + n).trim(),
        sound: p.text('sound' + n).trim(),
        address: link.address,
        target: link.target
      });
    }
    return design;
  }

  // ---------------------------------------------------------------------
  // Drawing. Each part carries data-quillmap ("menu", "title", "blurb",
  // "button"), so pages and tests can find the parts.

  // Absolute placement that a page's own style sheet cannot move.
  function place(el, r) {
    var s = el.style;
    s.position = 'absolute';
    s.left = r.left + 'px';
    s.top = r.top + 'px';
    s.width = Math.max(0, r.width) + 'px';
    s.height = Math.max(0, r.height) + 'px';
    s.margin = '0';
    s.padding = '0';
    s.border = '0';
    s.boxSizing = 'content-box';
    s.maxWidth = 'none';
    s.maxHeight = 'none';
    s.minWidth = '0';
    s.minHeight = '0';
  }

  // A 1 x 1 rectangle stands for a Title or Blurb that the design does not use.
  function isUsed(r) {
    return r.width > 1 || r.height > 1;
  }

  // A picture that shows nothing, instead of a broken-image sign, when its
  // file is missing or broken. It starts hidden unless asked to show.
  function picture(src, r, visible) {
    var img = document.createElement('img');
    img.alt = '';
    img.draggable = false;
    place(img, r);
    img.style.display = visible ? 'block' : 'none';
    // Stretched by repeating and dropping pixels, as the editor draws them.
    img.style.imageRendering = 'pixelated';
    img.addEventListener('error', function () { img.style.visibility = 'hidden'; });
    img.src = src;
    return img;
  }

  // A Blurb picture: stretched over the area, or at its own size centred in
  // it (halves truncated, cut off at the area's edges).
  function blurbPicture(src, area, center) {
    var img = picture(src, { left: 0, top: 0, width: area.width, height: area.height });
    if (center) {
      img.style.visibility = 'hidden';
      img.addEventListener('load', function () {
        var w = img.naturalWidth;
        var h = img.naturalHeight;
        place(img, { left: Math.trunc((area.width - w) / 2), top: Math.trunc((area.height - h) / 2), width: w, height: h });
        img.style.visibility = '';
      });
    }
    return img;
  }

  // A text area: display lines one under the other, in the text colour,
  // never wrapped, cut at the area's edges. The lines start inside the area
  // where the editor's text box starts them.
  var TEXT_INSET = 3;

  function textArea(r, textColor, kind) {
    var el = document.createElement('div');
    el.setAttribute('data-quillmap', kind);
    place(el, r);
    el.style.overflow = 'hidden';
    el.style.color = textColor;
    el.style.background = 'transparent';
    el.style.textAlign = 'left';
    return el;
  }

  function setLines(box, lines, f) {
    box.textContent = '';
    var holder = document.createElement('div');
    var s = holder.style;
    s.position = 'absolute';
    s.left = TEXT_INSET + 'px';
    s.top = TEXT_INSET + 'px';
    s.margin = '0';
    s.padding = '0';
    s.whiteSpace = 'pre';
    s.fontFamily = f.family;
    s.fontWeight = f.weight;
    s.fontStyle = f.style;
    s.fontSize = f.size;
    s.lineHeight = 'normal';
    s.letterSpacing = 'normal';
    s.textDecoration = 'none';
    s.textTransform = 'none';
    lines.forEach(function (line) {
      var row = document.createElement('div');
      // An empty line keeps its height.
      row.textContent = line === '' ? ' ' : line;
      holder.appendChild(row);
    });
    box.appendChild(holder);
  }

  // ---------------------------------------------------------------------
  // One menu

  function Menu(applet) {
    var d = readDesign(applet);
    var root = document.createElement('div');
    root.className = ((applet.getAttribute('class') || '') + ' quillmap').trim();
    if (applet.id) root.id = applet.id;
    root.setAttribute('data-quillmap', 'menu');
    var rs = root.style;
    rs.cssText = applet.getAttribute('style') || '';
    rs.position = 'relative';
    rs.display = 'inline-block';
    rs.overflow = 'hidden';
    rs.width = d.width + 'px';
    rs.height = d.height + 'px';
    rs.padding = '0';
    rs.border = '0';
    rs.boxSizing = 'content-box';
    rs.background = d.background;
    rs.verticalAlign = 'baseline';

    var title = null;
    var blurb = null;
    var blurbText = null;
    var defImage = null;
    if (isUsed(d.title)) {
      title = textArea(d.title, d.textColor, 'title');
      root.appendChild(title);
    }
    if (isUsed(d.blurb)) {
      blurb = textArea(d.blurb, d.textColor, 'blurb');
      blurbText = document.createElement('div');
      place(blurbText, { left: 0, top: 0, width: d.blurb.width, height: d.blurb.height });
      blurb.appendChild(blurbText);
      if (d.defImage) {
        defImage = blurbPicture(d.defImage, d.blurb, d.center);
        blurb.appendChild(defImage);
      }
      root.appendChild(blurb);
    }

    var self = this;
    this.design = d;
    this.root = root;
    this.title = title;
    this.blurb = blurb;
    this.blurbText = blurbText;
    this.defImage = defImage;
    this.shown = undefined; // the button whose state is shown; null: the defaults
    this.hovered = null;    // under the mouse
    this.focused = null;    // focused from the keyboard
    this.armed = null;      // tapped once on a touch screen
    this.buttons = d.buttons.map(function (b) { return self.makeButton(b); });
    this.show(null);

    // A tap anywhere else disarms a tapped button and restores the defaults.
    document.addEventListener('pointerdown', function (e) {
      if (e.pointerType !== 'touch' || !self.armed) return;
      if (self.buttons.some(function (b) { return b.el.contains(e.target); })) return;
      self.armed = null;
      self.show(self.hovered || self.focused);
    }, true);

    applet.parentNode.replaceChild(root, applet);
  }

  Menu.prototype.makeButton = function (b) {
    var self = this;
    var d = this.design;
    var el = document.createElement('a');
    el.setAttribute('data-quillmap', 'button');
    el.setAttribute('data-number', String(b.number));
    place(el, b.rect);
    el.style.display = 'block';
    el.style.overflow = 'hidden';
    el.style.background = 'transparent';
    el.style.cursor = b.address ? 'pointer' : 'default';
    if (b.address) {
      el.href = b.address;
    } else {
      // A button without a link is still reached with Tab and shows its state.
      el.tabIndex = 0;
      el.setAttribute('role', 'link');
      el.setAttribute('aria-disabled', 'true');
    }
    if (b.target) el.target = b.target;
    // Its name for screen readers: the first line of its Title.
    el.setAttribute('aria-label', b.tag.trim() || 'Menu button ' + b.number);
    el.draggable = false;

    var full = { left: 0, top: 0, width: b.rect.width, height: b.rect.height };
    var button = { data: b, el: el, image: null, rollOver: null, blurbImage: null };
    if (b.image) {
      button.image = picture(b.image, full, true);
      el.appendChild(button.image);
    }
    if (b.rollOver) {
      button.rollOver = picture(b.rollOver, full);
      el.appendChild(button.rollOver);
    }
    if (this.blurb && b.blurbImage) {
      button.blurbImage = blurbPicture(b.blurbImage, d.blurb, d.center);
      this.blurb.appendChild(button.blurbImage);
    }
    // Start loading the sound now, so the first hover does not wait for it.
    loadSound(b.sound);

    var lastPointer = '';
    el.addEventListener('pointerenter', function (e) {
      if (e.pointerType === 'touch') return;
      self.hovered = button;
      self.show(button);
    });
    el.addEventListener('pointerleave', function (e) {
      if (e.pointerType === 'touch') return;
      if (self.hovered === button) self.hovered = null;
      if (self.shown === button) self.show(self.armed || self.focused);
    });
    el.addEventListener('pointerdown', function (e) { lastPointer = e.pointerType; });
    el.addEventListener('keydown', function () { lastPointer = ''; });
    el.addEventListener('focus', function () {
      var keyboard = true;
      try {
        keyboard = el.matches(':focus-visible');
      } catch (e) { /* an older browser: count every focus */ }
      if (!keyboard) return;
      self.focused = button;
      self.show(button);
    });
    el.addEventListener('blur', function () {
      if (self.focused === button) self.focused = null;
      if (self.shown === button) self.show(self.hovered || self.armed);
    });
    el.addEventListener('click', function (e) {
      var type = typeof e.pointerType === 'string' && e.pointerType ? e.pointerType : lastPointer;
      if (type === 'touch' && self.armed !== button) {
        // First tap: show what a hover shows. The second tap follows the link.
        e.preventDefault();
        self.armed = button;
        self.show(button);
        return;
      }
      self.armed = null;
    });
    this.root.appendChild(el);
    return button;
  };

  // Shows a button's mouse-over state, or the defaults for null.
  Menu.prototype.show = function (button) {
    button = button || null;
    if (this.shown === button) return;
    var previous = this.shown;
    this.shown = button;
    if (previous) this.showPicture(previous, false);
    if (button) this.showPicture(button, true);

    var d = this.design;
    var data = button ? button.data : null;
    if (this.title) setLines(this.title, [data ? data.tag : d.defTitle], d.titleFont);
    if (this.blurb) {
      var picture = data ? (button.blurbImage || null) : this.defImage;
      var pictures = [this.defImage].concat(this.buttons ? this.buttons.map(function (b) { return b.blurbImage; }) : []);
      pictures.forEach(function (img) { if (img) img.style.display = img === picture ? 'block' : 'none'; });
      if (picture) {
        this.blurbText.style.display = 'none';
      } else {
        this.blurbText.style.display = 'block';
        setLines(this.blurbText, data ? data.blurb : d.defBlurb, d.blurbFont);
      }
    }
    if (data) playSound(data.sound);
  };

  Menu.prototype.showPicture = function (button, over) {
    var useRollOver = over && button.rollOver;
    if (button.image) button.image.style.display = useRollOver ? 'none' : 'block';
    if (button.rollOver) button.rollOver.style.display = useRollOver ? 'block' : 'none';
  };

  // ---------------------------------------------------------------------
  // Start-up

  function isQuillmapApplet(el) {
    return /^quillmap(\.class)?$/i.test((el.getAttribute('code') || '').trim());
  }

  function start() {
    var applets = Array.prototype.slice.call(document.getElementsByTagName('applet')).filter(isQuillmapApplet);
    var menus = [];
    applets.forEach(function (applet) {
      try {
        menus.push(new Menu(applet));
      } catch (e) {
        // One damaged block must not stop the other menus on the page.
        if (global.console) global.console.warn('quillmap.js: a menu could not be built', e);
      }
    });
    return menus;
  }

  api.start = start;
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
})(typeof window !== 'undefined' ? window : this);
