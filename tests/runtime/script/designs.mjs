// The designs the browser tests render: project files and pictures written
// into a fresh folder, and the blocks the program builds for them.

import fs from 'node:fs';
import path from 'node:path';
import { buildBlock, installRuntime, makeAu, makePicture, previewPage, programFolderCopy, tempDir, writeProject } from './harness.mjs';

export const colors = {
  background: '#203050',
  text: '#ffe040',
  b1: ['#ff0000', '#00ff00'], b1Over: '#0000ff',
  b2: '#ffff00', b2Over: '#00ffff',
  b3: '#ffffff',
  blurbPicture: '#ff00ff',
  bgPicture: '#008000',
};

// A 16-bit stereo tone whose samples the sound test checks one by one.
export const tone = {
  rate: 11025,
  frames: Array.from({ length: 200 }, (_, i) => [Math.round(12000 * Math.sin(i / 5)), (i * 97) % 20000 - 10000]),
};

const font = (name, size, style) => ({ name, size, style });

// Three buttons: one with a Blurb picture and a sound, one with a
// multi-line blurb and the program's own sound, one with a relative link, no
// mouse-over picture and a sound file that does not exist.
export function threeButtons() {
  const dir = tempDir('quillmap-three-');
  makePicture(path.join(dir, 'b1.gif'), 10, 10, colors.b1);
  makePicture(path.join(dir, 'b1o.gif'), 8, 8, [colors.b1Over]);
  makePicture(path.join(dir, 'b2.gif'), 6, 6, [colors.b2]);
  makePicture(path.join(dir, 'b2o.gif'), 6, 6, [colors.b2Over]);
  makePicture(path.join(dir, 'b3.gif'), 4, 4, [colors.b3]);
  makePicture(path.join(dir, 'pic.gif'), 30, 20, [colors.blurbPicture]);
  fs.writeFileSync(path.join(dir, 'tone.au'), makeAu({ encoding: 3, rate: tone.rate, channels: 2, frames: tone.frames }));
  const design = {
    title: { top: 10, left: 20, height: 40, width: 400 },
    blurb: { top: 56, left: 20, height: 80, width: 400 },
    background: colors.background,
    textColor: colors.text,
    titleFont: font('Helvetica', 20, 'Bold'),
    blurbFont: font('Courier', 12, 'Normal'),
    showTitleAndBlurb: true,
    bgTitle: 'Welcome',
    bgBlurb: 'Pick a page\nfrom the list',
    blurbImage: '',
    stretch: true,
    buttons: [
      { top: 160, left: 20, height: 40, width: 120, image: path.join(dir, 'b1.gif'), rollOver: path.join(dir, 'b1o.gif'),
        title: 'Products', blurb: 'Our products', blurbImage: path.join(dir, 'pic.gif'),
        link: 'http://example.invalid/products.html?list=a,b', target: '_blank', sound: path.join(dir, 'tone.au') },
      { top: 160, left: 160, height: 40, width: 120, image: path.join(dir, 'b2.gif'), rollOver: path.join(dir, 'b2o.gif'),
        title: 'Services', blurb: 'Fast\nFriendly\nCheap',
        link: 'http://example.invalid/services.html', target: 'content',
        sound: path.join(programFolderCopy(), 'sound/click.au') },
      { top: 160, left: 300, height: 40, width: 120, image: path.join(dir, 'b3.gif'),
        title: 'Contact "us"', blurb: 'Write to us',
        link: path.join(dir, 'contact/next.html'), relative: true, target: '_self', sound: path.join(dir, 'missing.au') },
    ],
  };
  const project = path.join(dir, 'three.qmf');
  writeProject(project, design);
  return { dir, design, project };
}

// No Title and Blurb: two buttons only.
export function buttonsOnly() {
  const dir = tempDir('quillmap-plain-');
  makePicture(path.join(dir, 'p1.gif'), 10, 10, [colors.b2]);
  makePicture(path.join(dir, 'p1o.gif'), 10, 10, [colors.b2Over]);
  makePicture(path.join(dir, 'p2.gif'), 10, 10, [colors.b3]);
  const design = {
    title: { top: 8, left: 46, height: 41, width: 372 },
    blurb: { top: 56, left: 46, height: 73, width: 372 },
    background: '#104010',
    textColor: '#ffffff',
    titleFont: font('Times Roman', 24, 'Bold'),
    blurbFont: font('Times Roman', 14, 'Normal'),
    showTitleAndBlurb: false,
    bgTitle: 'unused title', bgBlurb: 'unused blurb', blurbImage: '', stretch: true,
    buttons: [
      { top: 30, left: 40, height: 50, width: 100, image: path.join(dir, 'p1.gif'), rollOver: path.join(dir, 'p1o.gif'),
        title: 'One', blurb: 'First', link: 'one.html', target: '_self' },
      { top: 100, left: 200, height: 30, width: 150, image: path.join(dir, 'p2.gif'),
        title: 'Two', blurb: 'Second', link: 'two.html', target: '_self' },
    ],
  };
  const project = path.join(dir, 'plain.qmf');
  writeProject(project, design);
  return { dir, design, project };
}

// Title and Blurb with a centred background Blurb picture and a centred
// mouse-over Blurb picture of odd size; built cropped.
export function centred() {
  const dir = tempDir('quillmap-crop-');
  makePicture(path.join(dir, 'c1.gif'), 10, 10, [colors.b3]);
  makePicture(path.join(dir, 'c2.gif'), 10, 10, [colors.b2]);
  makePicture(path.join(dir, 'bg.gif'), 40, 30, [colors.bgPicture]);
  makePicture(path.join(dir, 'over.gif'), 31, 21, [colors.blurbPicture]);
  const design = {
    title: { top: 40, left: 60, height: 36, width: 260 },
    blurb: { top: 80, left: 60, height: 70, width: 260 },
    background: '#402020',
    textColor: '#e0e0ff',
    titleFont: font('Times Roman', 18, 'Bold Italic'),
    blurbFont: font('Dialog', 12, 'Italic'),
    showTitleAndBlurb: true,
    bgTitle: 'Cropped', bgBlurb: 'never shown: the picture stands in for it',
    blurbImage: path.join(dir, 'bg.gif'), stretch: false,
    buttons: [
      { top: 170, left: 60, height: 30, width: 110, image: path.join(dir, 'c1.gif'), title: 'Left',
        blurb: 'unused', blurbImage: path.join(dir, 'over.gif'), link: 'left.html', target: '_top' },
      { top: 170, left: 210, height: 30, width: 110, image: path.join(dir, 'c2.gif'), title: 'Right',
        blurb: 'Right blurb', link: 'right.html', target: '_parent' },
    ],
  };
  const project = path.join(dir, 'crop.qmf');
  writeProject(project, design);
  return { dir, design, project };
}

// Builds the block and writes it into a page beside the project's files.
export function pageFor(made, { preview = false, cropped = false, page = 'index.html', extraBody = '' } = {}) {
  const built = buildBlock(made.project, { preview, cropped });
  installRuntime(made.dir);
  fs.writeFileSync(path.join(made.dir, page), previewPage(built.html, extraBody));
  return built;
}
