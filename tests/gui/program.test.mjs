// The desktop program as a user meets it: started from the command line under X,
// typed into with real key events, read back through the document it holds.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, writeFileSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { Desktop, startXvfb, readTextFormat } from './desktop.mjs';

let x;
before(async () => { x = await startXvfb(); });
after(() => x?.stop());

const textOf = (block) => block.slice(2).map((span) => span[1]).join('');
const paragraphs = (doc) => doc.slice(1).map(textOf);
const readerWorks = readTextFormat('Hello\n') !== null;

async function withProgram(options, body) {
  const desktop = new Desktop(x, options);
  try {
    await body(desktop);
  } catch (error) {
    desktop.screenshot(`failed-${Date.now()}`);
    error.message += `\nprogram output:\n${desktop.output.split('\n').slice(-15).join('\n')}`;
    throw error;
  } finally {
    await desktop.close();
  }
}

test('--welcome shows the welcome document under its own title', async () => {
  await withProgram({ args: ['--welcome'] }, async (desktop) => {
    await desktop.waitForTitle('Welcome - Qorva');
    const doc = await desktop.waitForDocument((d) => Array.isArray(d) && d[0] === 'text');
    if (readerWorks) {
      assert.ok(doc.length > 1, 'the welcome document has content');
    }
    desktop.screenshot('welcome');
  });
});

test('the first start without arguments shows the welcome document, the next one an empty document', async () => {
  const home = mkdtempSync(join(tmpdir(), 'qorva-gui-'));
  await withProgram({ home }, async (desktop) => {
    await desktop.waitForTitle('Welcome - Qorva');
  });
  await withProgram({ home }, async (desktop) => {
    await desktop.waitForTitle('Untitled - Qorva');
  });
  // --welcome neither depends on nor changes the stored version.
  await withProgram({ home, args: ['--welcome'] }, async (desktop) => {
    await desktop.waitForTitle('Welcome - Qorva');
  });
  await withProgram({ home }, async (desktop) => {
    await desktop.waitForTitle('Untitled - Qorva');
  });
});

test('a missing file is reported and the window still opens, untitled', async () => {
  await withProgram({ args: ['no such file.text'] }, async (desktop) => {
    await desktop.waitForTitle('Qorva');
    desktop.screenshot('missing-file');
    await desktop.keys('Return');
    await desktop.waitForTitle('Untitled - Qorva');
  });
});

test('typing, Enter, Backspace, arrows and Tab edit the document through the page', async () => {
  await withProgram({ args: [] , home: seededHome() }, async (desktop) => {
    await desktop.waitForTitle('Untitled - Qorva');
    await desktop.type('Hello world');
    await desktop.keys('Return');
    await desktop.type('Second linx');
    await desktop.keys('BackSpace');
    await desktop.type('e');
    await desktop.waitForDocument((d) => paragraphs(d).join('|') === 'Hello world|Second line');
    await desktop.waitForTitle('Untitled* - Qorva');

    // Left twice, then type: the caret moved inside the word.
    await desktop.keys('Left', 'Left');
    await desktop.type('X');
    await desktop.waitForDocument((d) => paragraphs(d)[1] === 'Second liXne');

    // Up goes to the first paragraph, End to its end.
    await desktop.keys('Up', 'End');
    await desktop.type('!');
    await desktop.waitForDocument((d) => paragraphs(d)[0] === 'Hello world!');

    // Ctrl+Left jumps a word back (the browser's own move).
    await desktop.keys('ctrl+Left');
    await desktop.type('_');
    await desktop.waitForDocument((d) => /_/.test(paragraphs(d)[0]) && paragraphs(d)[0] !== 'Hello world!_');

    // Tab indents the paragraph, Shift+Tab takes it back.
    await desktop.keys('Tab');
    const indented = await desktop.waitForDocument((d) => d[1][1].level === 1);
    assert.equal(paragraphs(indented).length, 2, 'Tab typed no tab character and split nothing');
    await desktop.keys('shift+Tab');
    await desktop.waitForDocument((d) => d[1][1].level === 0);
    desktop.screenshot('typing');
  });
});

test('Ctrl+B, Ctrl+I and Escape never reach the browser as its own formatting', async () => {
  await withProgram({ home: seededHome() }, async (desktop) => {
    await desktop.waitForTitle('Untitled - Qorva');
    await desktop.type('plain words');
    await desktop.waitForDocument((d) => paragraphs(d)[0] === 'plain words');
    await desktop.keys('ctrl+shift+Left', 'ctrl+b', 'ctrl+i', 'ctrl+u', 'Escape');
    await desktop.type('Z');
    const doc = await desktop.waitForDocument((d) => paragraphs(d)[0] === 'plain Z');
    // Whatever the menus make of Ctrl+B and Ctrl+I, every span stays a model span.
    const tags = doc.slice(1).flatMap((block) => block.slice(2).map((span) => span[0]));
    for (const tag of tags) assert.match(tag, /^(plain|strong|emph|code|math|url|link|linkref|fnref|break|\w+)$/);
  });
});

test('a native document named on the command line opens with its path in the title', { skip: !readerWorks && 'the text reader is not built yet' }, async () => {
  const folder = mkdtempSync(join(tmpdir(), 'qorva-doc-'));
  const file = join(folder, 'notes.text');
  writeFileSync(file, '# Heading\n\nFirst paragraph.\n');
  await withProgram({ args: [file] }, async (desktop) => {
    await desktop.waitForTitle(`${file} - Qorva`);
    const expected = readTextFormat('# Heading\n\nFirst paragraph.\n');
    await desktop.waitForDocument((d) => JSON.stringify(d) === JSON.stringify(expected));
    await desktop.keys('ctrl+End');
    await desktop.type(' More');
    await desktop.waitForDocument((d) => paragraphs(d).at(-1) === 'First paragraph. More');
    await desktop.waitForTitle(`${file}* - Qorva`);
  });
});

test('an unquoted path with spaces is taken whole, relative to the current folder', { skip: !readerWorks && 'the text reader is not built yet' }, async () => {
  const folder = mkdtempSync(join(tmpdir(), 'qorva-doc-'));
  writeFileSync(join(folder, 'my notes.text'), 'Spaced out.\n');
  await withProgram({ args: ['my', 'notes.text'], cwd: folder }, async (desktop) => {
    await desktop.waitForTitle(`${join(folder, 'my notes.text')} - Qorva`);
    await desktop.waitForDocument((d) => paragraphs(d)[0] === 'Spaced out.');
  });
});

// A home whose settings already say the program has run, so it starts untitled.
function seededHome() {
  const home = mkdtempSync(join(tmpdir(), 'qorva-gui-'));
  mkdirSync(join(home, 'config', 'qorva'), { recursive: true });
  writeFileSync(join(home, 'config', 'qorva', 'shell.ini'), '[Qorva]\nLastRunVersion=0.1\n');
  return home;
}
