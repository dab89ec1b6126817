// An exported HTML page read in Chromium with the network off: the formulas are
// typeset (MathML), the picture beside the document loads, the code is coloured,
// and the page asks for nothing but its own files.
import { test, assert, launchBrowser } from './harness.mjs';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, writeFileSync, rmSync, realpathSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve, dirname } from 'node:path';
import { pathToFileURL, fileURLToPath } from 'node:url';

const convert = process.env.QORVA_CONVERT ||
  resolve(dirname(fileURLToPath(import.meta.url)), '../../build/bin/qorva-convert');
// A 2 by 2 red PNG.
const PNG = Buffer.from('iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAEElEQVR4nGP4z8AARAwQCgAf7gP9i18U1AAAAABJRU5ErkJggg==', 'base64');

test('an exported page shows its formulas, picture and coloured code offline', async () => {
  const root = realpathSync(mkdtempSync(join(tmpdir(), 'qorva-export-')));
  const browser = await launchBrowser();
  try {
    mkdirSync(join(root, 'doc/pics'), { recursive: true });
    mkdirSync(join(root, 'out'));
    writeFileSync(join(root, 'doc/pics/red dot.png'), PNG);
    const fence = '~'.repeat(80);
    writeFileSync(join(root, 'doc/a.text'), 'Offline \\<Page\\>\n================\n\nArea $x^2 + \\frac{a}{b}$ here.\n\n' +
      `$$\n\\sum_{i=1}^{n} i\n$$\n\n![](<pics/red dot.png>)\n\n${fence} python\nprint("hi")\n${fence}\n`);
    for (const template of ['Default', 'Bootstrap']) {
      const page = join(root, 'out', `${template}.html`);
      execFileSync(convert, ['export', '--to', 'html5', '--template', template, join(root, 'doc/a.text'), page]);
      const context = await browser.newContext({ offline: true });
      const tab = await context.newPage();
      const asked = [];
      tab.on('request', (request) => asked.push(request.url()));
      await tab.goto(pathToFileURL(page).href);
      await tab.waitForFunction(() => document.images[0]?.complete);
      const seen = await tab.evaluate(() => {
        const box = (element) => element.getBoundingClientRect();
        const [inline, block] = document.querySelectorAll('math');
        const sup = inline.querySelector('msup');
        return {
          title: document.title,
          displays: [inline, block].map((math) => getComputedStyle(math).display),
          // A typeset superscript sits above its base; a fraction is taller than a line.
          raised: box(sup.children[1]).top < box(sup.children[0]).top - 1,
          fraction: box(inline.querySelector('mfrac')).height > 1.5 * box(sup.children[0]).height,
          sum: box(block).width > 0 && box(block).height > 0,
          picture: document.images[0].naturalWidth,
          builtIn: getComputedStyle(document.querySelector('code span.bu')).color,
        };
      });
      assert.deepEqual(seen, {
        title: 'Offline <Page>', displays: ['math', 'block math'], raised: true, fraction: true, sum: true,
        picture: 2, builtIn: 'rgb(0, 128, 0)',
      }, template);
      const elsewhere = asked.filter((url) => !url.startsWith(pathToFileURL(root).href + '/'));
      assert.deepEqual(elsewhere, [], `${template} asked for other places`);
      assert.ok(asked.some((url) => url.endsWith('/doc/pics/red%20dot.png')), asked.join(' '));
      await context.close();
    }
  } finally {
    await browser.close();
    rmSync(root, { recursive: true, force: true });
  }
});
