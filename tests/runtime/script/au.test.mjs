// The AU decoder of quillmap.js, run under node: browsers do not play Sun
// AU, so the runtime decodes every sound itself before Web Audio plays it.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import zlib from 'node:zlib';
import test from 'node:test';
import { appDir, makeAu, runtimeFile, skip } from './harness.mjs';

if (!fs.existsSync(runtimeFile)) skip(`${runtimeFile} is not built`);
const { decodeAu } = createRequire(import.meta.url)(runtimeFile);

// Entries of the G.711 mu-law decoding table (byte -> 16-bit sample).
const MU_LAW = [
  [0x00, -32124], [0x01, -31100], [0x0e, -17788], [0x0f, -16764], [0x10, -15996], [0x30, -3900], [0x3f, -1980],
  [0x70, -120], [0x7e, -8], [0x7f, 0], [0x80, 32124], [0x81, 31100], [0xc0, 1884],
  [0xf0, 120], [0xfe, 8], [0xff, 0],
];

test('mu-law bytes decode to the G.711 samples', () => {
  const au = makeAu({ encoding: 1, rate: 8000, channels: 1, frames: MU_LAW.map(([b]) => [b]) });
  const d = decodeAu(au);
  assert.equal(d.sampleRate, 8000);
  assert.equal(d.channels.length, 1);
  assert.deepEqual([...d.channels[0]].map((s) => Math.round(s * 32768)), MU_LAW.map(([, v]) => v));
});

const cases = [
  { name: '8-bit linear, mono, 11025 Hz', encoding: 2, rate: 11025, channels: 1, scale: 128,
    frames: [[0], [127], [-128], [1], [-1]] },
  { name: '16-bit linear, stereo, 22050 Hz', encoding: 3, rate: 22050, channels: 2, scale: 32768,
    frames: [[0, -32768], [32767, 1], [-1, 256], [-12345, 12345]] },
  { name: '16-bit linear, three channels, 48000 Hz', encoding: 3, rate: 48000, channels: 3, scale: 32768,
    frames: [[1, 2, 3], [-4, -5, -6]] },
  { name: '8-bit linear, stereo, data size unknown (all ones)', encoding: 2, rate: 8000, channels: 2, scale: 128,
    frames: [[10, -10], [20, -20]], dataSize: 0xffffffff },
  { name: '16-bit linear, data size larger than the file', encoding: 3, rate: 8000, channels: 1, scale: 32768,
    frames: [[100], [200]], dataSize: 1000 },
];

test('linear PCM decodes to the exact samples of each channel', async (t) => {
  for (const c of cases) {
    await t.test(c.name, () => {
      const d = decodeAu(makeAu(c));
      assert.equal(d.sampleRate, c.rate);
      assert.equal(d.channels.length, c.channels);
      for (let ch = 0; ch < c.channels; ch++) {
        assert.deepEqual([...d.channels[ch]].map((s) => Math.round(s * c.scale)), c.frames.map((f) => f[ch]), `channel ${ch}`);
      }
    });
  }
});

test('the data size in the header bounds the samples; a partial frame is dropped', () => {
  const au = makeAu({ encoding: 3, rate: 8000, channels: 2, frames: [[1, 2], [3, 4], [5, 6]], dataSize: 10 });
  const d = decodeAu(au);
  assert.deepEqual([...d.channels[0]].map((s) => s * 32768), [1, 3]);
  assert.deepEqual([...d.channels[1]].map((s) => s * 32768), [2, 4]);
});

test('a header offset past 24 skips the annotation', () => {
  const au = makeAu({ encoding: 2, rate: 8000, channels: 1, frames: [[5], [6]] });
  const withNote = Buffer.concat([au.subarray(0, 24), Buffer.from('note\0\0\0\0'), au.subarray(24)]);
  withNote.writeUInt32BE(32, 4);
  assert.deepEqual([...decodeAu(withNote).channels[0]].map((s) => s * 128), [5, 6]);
});

test('files that cannot be played give null, never an exception', () => {
  const good = makeAu({ encoding: 1, rate: 8000, channels: 1, frames: [[0xff]] });
  const patched = (at, value) => {
    const b = Buffer.from(good);
    b.writeUInt32BE(value, at);
    return b;
  };
  const bad = {
    'empty file': Buffer.alloc(0),
    'short header': good.subarray(0, 20),
    'wrong magic (a RIFF WAVE file)': Buffer.concat([Buffer.from('RIFF'), good.subarray(4)]),
    'unsupported encoding (32-bit float)': patched(12, 6),
    'sample rate 0': patched(16, 0),
    'no channels': patched(20, 0),
    'data offset past the end': patched(4, 4096),
    'data offset inside the header': patched(4, 8),
    'not a buffer': 'a string',
  };
  for (const [name, data] of Object.entries(bad)) assert.equal(decodeAu(data), null, name);
  // An ArrayBuffer and a view into a larger buffer both work.
  const larger = new Uint8Array(good.length + 3);
  larger.set(good, 3);
  const view = larger.subarray(3);
  assert.equal(decodeAu(view).channels[0].length, 1);
  assert.equal(decodeAu(view.slice().buffer).channels[0].length, 1);
});

test("the program's default sound decodes", (t) => {
  const file = path.join(appDir, 'sound/click.au');
  if (!fs.existsSync(file)) return t.skip(`${file} is not built`);
  const bytes = fs.readFileSync(file);
  const d = decodeAu(bytes);
  assert.equal(d.sampleRate, bytes.readUInt32BE(16));
  assert.equal(d.channels.length, 1);
  assert.equal(d.channels[0].length, bytes.length - 24);
  const peak = Math.max(...d.channels[0].map(Math.abs));
  assert.ok(peak > 0.5 && peak <= 1, `peak ${peak}`);
});

test('the runtime stays within 10 KB gzipped', () => {
  const size = zlib.gzipSync(fs.readFileSync(runtimeFile), { level: 9 }).length;
  assert.ok(size <= 10240, `${size} bytes gzipped`);
});
