// The desktop program as a user meets it: started from the command line under X,
// typed into with real key events, read back through the document it holds.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync, existsSync, readFileSync, writeFileSync } from 'node:fs';
import { execFileSync, spawnSync } from 'node:child_process';
import { join } from 'node:path';
import { withFrame, withDocument, makeHome, blockTexts, waitUntil, readSettings, qorvaBin, notFirstRun, str } from './window_driver.mjs';

// Model JSON for a native document, through the program's own reader.
const readTextFormat = (text) => JSON.parse(execFileSync(process.env.QORVA_CONVERT, ['ReadTextFormat'], { input: text, encoding: 'utf8' }));

// ImageMagick's answer about an image, and the window's page area (the window is
// 700 by 480, centred on the 1280 by 800 screen, the menu bar on top).
const measure = (image, ...steps) => Number(execFileSync('/usr/bin/convert', [image, ...steps, 'info:'], { encoding: 'utf8' }));
const PAGE_AREA = ['-crop', '680x400+300+190', '+repage'];
// Pixels of a colour (or of a part of the screen), and the height of the box around them.
const colourMask = (colour, fuzz) => ['-fuzz', fuzz, '-fill', 'black', '+opaque', colour, '-fill', 'white', '-opaque', colour];
const pixelsOf = (shot, colour, { fuzz = '5%', area = [] } = {}) => Math.round(measure(shot, ...area, ...colourMask(colour, fuzz), '-format', '%[fx:mean*w*h]'));
const heightOf = (shot, colour, { fuzz, area = [] }) => measure(shot, ...area, ...colourMask(colour, fuzz), '-trim', '-format', '%h');
// Width in pixels of the text inside the page area.
const textWidth = (shot) => measure(shot, ...PAGE_AREA, '-threshold', '50%', '-negate', '-trim', '-format', '%w');

test('the first start shows the welcome document, the next ones an empty one; --welcome changes nothing', async () => {
  const home = makeHome({ settings: null });
  const welcome = readTextFormat(readFileSync(new URL('../../resources/welcome.text', import.meta.url), 'utf8'));
  const runs = [
    { args: [], title: 'Welcome - Qorva' },
    { args: [], title: 'Untitled - Qorva' },
    { args: ['--welcome'], title: 'Welcome - Qorva', document: welcome },
    { args: [], title: 'Untitled - Qorva' },
  ];
  await withFrame('starts', async ({ start }) => {
    for (const { args, title, document } of runs) {
      const desktop = start({ home, args });
      await desktop.waitForTitle(title);
      if (document) await desktop.waitForDocument((d) => JSON.stringify(d) === JSON.stringify(document));
      await desktop.close();
    }
  });
});

test('characters typed just before Enter or Backspace reach the page before that key', async () => {
  // xdotool's type takes the rest of its line as text, so the characters go as key
  // names to share one xdotool run with the keys after them.
  const keysOf = (text) => [...text].map((c) => (c === ' ' ? 'space' : c));
  await withDocument('key-order', null, async ({ desktop }) => {
    const expected = [];
    for (let round = 0; round < 6; round += 1) {
      // No delay: Enter and Backspace go out right behind the characters.
      desktop.xdotool('key', '--delay', '0',
        ...(round === 0 ? [] : ['Return']),
        ...keysOf(`Round ${round} hello world`), 'Return',
        ...keysOf('second linx'), 'BackSpace', ...keysOf(`e ${round}`));
      expected.push(`Round ${round} hello world`, `second line ${round}`);
    }
    await desktop.waitForDocument((d) => JSON.stringify(blockTexts(d)) === JSON.stringify(expected));
  });
});

test('Ctrl+B, Ctrl+I and Ctrl+Z style and undo through the shell; Ctrl+U and Escape change nothing', async () => {
  const spans = (doc) => JSON.stringify(doc[1].slice(2));
  await withDocument('styles', null, async ({ desktop }) => {
    await desktop.type('plain words').waitForDocument((d) => blockTexts(d)[0] === 'plain words');
    desktop.keys('ctrl+shift+Left', 'ctrl+b');
    await desktop.waitForDocument((d) => spans(d) === '[["plain","plain "],["strong","words"]]');
    await desktop.keys('ctrl+z').waitForDocument((d) => spans(d) === '[["plain","plain words"]]');
    desktop.keys('End', 'ctrl+shift+Left', 'ctrl+i');
    await desktop.waitForDocument((d) => spans(d) === '[["plain","plain "],["emph","words"]]');
    // Neither the browser's underline nor its own cancel reaches the document.
    desktop.keys('ctrl+u', 'Escape', 'End');
    const doc = await desktop.settled('!');
    assert.equal(spans(doc), '[["plain","plain "],["emph","words!"]]');
  });
});

test('misspelt words are marked with the dictionary made at build time, correct ones are not', async () => {
  await withDocument('spelling', null, async ({ desktop }) => {
    desktop.type('This sentence is spelled correctly.').keys('Return').type('Thiss sentense iss badlly speled ');
    // Squiggles under the second line only: their red is no taller than one line's.
    let shot;
    await waitUntil('misspelt words marked', () => {
      shot = desktop.screenshot('spelling');
      return pixelsOf(shot, '#ff0000', { fuzz: '30%', area: PAGE_AREA }) >= 20;
    });
    assert.ok(heightOf(shot, '#ff0000', { fuzz: '30%', area: PAGE_AREA }) < 10, 'the correct line is not marked');
  });
});

test('in the chosen language a flagged word takes a suggestion from the right-click menu, and a word added to the dictionary is kept', async () => {
  const hunspell = { 'hunspell/qq_QQ.aff': 'SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n', 'hunspell/qq_QQ.dic': '3\nhello\ngarden\nworld\n' };
  await withDocument('spelling-menu', null, async ({ desktop, home }) => {
    desktop.type('hello gardne zorp ');
    const marked = () => pixelsOf(desktop.screenshot('spelling-menu'), '#ff0000', { fuzz: '30%', area: PAGE_AREA });
    await waitUntil('both words marked', () => marked() >= 20);
    await desktop.openMenu(() => desktop.xdotool('mousemove', '--sync', '372', '202', 'click', '3'));
    desktop.keys('Down', 'Return');   // the first suggestion
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'hello garden zorp ');
    // "zorp" has no suggestion: the first item to take is Add to Dictionary.
    await desktop.openMenu(() => desktop.xdotool('mousemove', '--sync', '425', '202', 'click', '3'));
    desktop.keys('Down', 'Return');
    const words = join(home, 'data', 'qorva', 'personal-dictionary.txt');
    await waitUntil('the word kept', () => existsSync(words) && readFileSync(words, 'utf8') === 'zorp\n');
    await waitUntil('no word marked', () => marked() === 0);
  }, { settings: notFirstRun({ SpellingLanguage: str('qq_QQ') }), files: hunspell,
    env: (home) => ({ QORVA_HUNSPELL_PATH: join(home, 'hunspell') }) });
});

test('Ctrl+P prints the page to a PDF file', async () => {
  // Without a print server the dialog offers printing to a PDF file in the home folder.
  await withDocument('print', null, async ({ desktop, home }) => {
    const pdf = join(home, 'print.pdf');
    await desktop.type('Printed words').waitForDocument((d) => blockTexts(d)[0] === 'Printed words');
    await desktop.keys('ctrl+p').answer('Return', 'Print');
    await waitUntil('one printed page', () => existsSync(pdf)
      && /Pages:\s+1/.test(spawnSync('pdfinfo', [pdf], { encoding: 'utf8' }).stdout), 120000);
    execFileSync('pdftoppm', ['-r', '50', '-png', '-f', '1', '-l', '1', '-singlefile', pdf, join(home, 'page')]);
    const dark = measure(join(home, 'page.png'), '-threshold', '50%', '-negate', '-format', '%[fx:mean*w*h]');
    assert.ok(dark > 30, `the printed page shows the text (${dark} dark pixels)`);
  }, { env: (home) => ({ HOME: home }) });
});

test('Ctrl+= zooms the page, the zoom is kept for the next start and Ctrl+0 resets it', async () => {
  await withDocument('zoom', null, async ({ start, desktop: first, home }) => {
    const zoom = () => Number(readSettings(home)['Software\\Qorva']?.Zoom?.data ?? 1);
    first.keys('ctrl+equal', 'ctrl+equal', 'ctrl+equal');
    await waitUntil('the zoom stored', () => zoom() > 1.2);
    await first.close();

    const again = start({ home });
    await again.waitForTitle('Untitled - Qorva');
    await again.settled('MMMMMMMMMM');
    // The width of the text once two looks agree.
    let zoomed = -1;
    await waitUntil('the text drawn', () => zoomed === (zoomed = textWidth(again.screenshot('zoom'))) && zoomed > 0);
    again.keys('ctrl+0');
    await waitUntil(`the text drawn smaller than ${zoomed} px / 1.2`, () => textWidth(again.screenshot('zoom')) * 1.2 < zoomed);
    assert.equal(zoom(), 1);
  });
});

test('formulas show typeset and code coloured by its language; a click on a formula shows its source until the caret leaves', async () => {
  const fence = '~'.repeat(80);
  const text = `Euler: $e^{i\\pi}+1=0$ and a bad $x^}$.\n\n$$\n\\int_0^1 x\\,dx = \\frac{1}{2}\n$$\n\n` +
    `${fence} python\ndef area(r):\n    return 3.14 * r * r  # circle\n${fence}\n`;
  await withDocument('formulas', text, async ({ desktop }) => {
    // A formula's source is green, its typeset form the text's colour; keywords are purple.
    const source = (shot) => pixelsOf(shot, '#006600', { fuzz: '10%', area: PAGE_AREA });
    let shot;
    await waitUntil('the code coloured', () => pixelsOf(shot = desktop.screenshot('formulas'), '#a626a4', { fuzz: '15%', area: PAGE_AREA }) > 20);
    assert.equal(source(shot), 0, 'no formula shows its source');
    desktop.xdotool('mousemove', '--sync', '640', '245', 'click', '1');
    await waitUntil('the source of the formula clicked', () => source(desktop.screenshot('formula-source')) > 50);
    desktop.keys('Down', 'Down');
    await waitUntil('the formula typeset again', () => source(desktop.screenshot('formula-left')) === 0);
    assert.deepEqual(desktop.document(), readTextFormat(text));
  });
});

// Makes the system's "open" for web addresses, in this home, write the address to
// a file instead of starting a browser.
function useRecordingBrowser(home, record) {
  const script = join(home, 'record-url.sh');
  writeFileSync(script, `#!/bin/sh\necho "$1" >> '${record}'\n`, { mode: 0o755 });
  mkdirSync(join(home, 'data', 'applications'), { recursive: true });
  writeFileSync(join(home, 'data', 'applications', 'record-url.desktop'),
    `[Desktop Entry]\nType=Application\nName=Record URL\nExec=${script} %u\n` +
    'MimeType=x-scheme-handler/http;x-scheme-handler/https;\n');
  writeFileSync(join(home, 'config', 'mimeapps.list'),
    '[Default Applications]\nx-scheme-handler/http=record-url.desktop\nx-scheme-handler/https=record-url.desktop\n');
}

test('the address of a hyperlink made with Ctrl+K opens on a click while Ctrl alone is held', async () => {
  await withDocument('hyperlink', null, async ({ desktop, home }) => {
    const opened = join(home, 'opened-urls.txt');
    useRecordingBrowser(home, opened);
    await desktop.type('see docs').waitForDocument((d) => blockTexts(d)[0] === 'see docs');
    await desktop.keys('ctrl+shift+Left', 'ctrl+k').answer('Tab', 'Insert Hyperlink');
    desktop.type('https://example.org/qorva-test').keys('Return');
    const linked = await desktop.waitForDocument((d) => d[1].slice(2).some((span) => span[0] === 'linktext'));
    assert.equal(linked[1].slice(2).find((span) => span[0] === 'linktext')[1], 'docs', 'the dialog proposed the selected text');
    assert.ok(JSON.stringify(linked).includes('https://example.org/qorva-test'));

    // The link's definition shows the address on the line below the text. A plain
    // click on it only places the caret; with Ctrl held (the note mark after the
    // text, hovered, then takes the link colour) the click follows it.
    desktop.xdotool('mousemove', '--sync', '420', '229', 'click', '1');
    desktop.xdotool('mousemove', '--sync', '320', '202', 'click', '1', 'keydown', 'ctrl', 'mousemove', '--sync', '380', '202');
    await waitUntil('the hovered note mark in the link colour',
      () => pixelsOf(desktop.screenshot('hyperlink'), '#5183c4', { fuzz: '10%', area: ['-crop', '40x20+360+192'] }) > 3);
    desktop.xdotool('mousemove', '--sync', '420', '229', 'click', '1', 'keyup', 'ctrl');
    await waitUntil('the address to be opened', () => existsSync(opened));
    assert.equal(readFileSync(opened, 'utf8'), 'https://example.org/qorva-test\n', 'opened once, by the click with Ctrl');
  });
});

// Insert Image from the page's context menu, its last item.
async function insertImage(desktop, path) {
  await desktop.openMenu(() => desktop.xdotool('mousemove', '640', '500', 'click', '3'));
  await desktop.keys('Up', 'Return').waitForFocus(/^Open/);
  desktop.type(path).keys('Return');
}

test('a path with spaces named unquoted opens with its path in the title; Insert Image shows the picture, referred to relatively', async () => {
  const home = makeHome({ files: { 'doc/my notes.text': '# Heading\n\nFirst paragraph.\n' } });
  const picture = join(home, 'pictures', 'pic.png');
  mkdirSync(join(home, 'pictures'));
  execFileSync('/usr/bin/convert', ['-size', '40x40', 'xc:#ff0000', picture]);   // a red nothing else on screen has
  await withFrame('insert-image', async ({ start }) => {
    const desktop = start({ home, args: ['my', 'notes.text'], cwd: join(home, 'doc') });
    await desktop.waitForTitle(`${join(home, 'doc', 'my notes.text')} - Qorva`);
    await desktop.waitForDocument((d) => JSON.stringify(d) === JSON.stringify(readTextFormat('# Heading\n\nFirst paragraph.\n')));
    await insertImage(desktop, picture);
    await desktop.waitForDocument((d) => JSON.stringify(d).includes('"../pictures/pic.png"'));
    await waitUntil('the picture shown', () => pixelsOf(desktop.screenshot('insert-image'), '#ff0000') >= 1000);
  });
});

test('without a display the program says so and ends', () => {
  const env = { ...process.env, DISPLAY: '', WAYLAND_DISPLAY: '', QT_QPA_PLATFORM: '' };
  const result = spawnSync(qorvaBin, ['--welcome'], { env, encoding: 'utf8', timeout: 20000 });
  assert.equal(result.status, 1);
  assert.match(result.stderr, /no display[^]*xvfb-run/);
});
