// The search bar and the clipboard between Qorva windows and other programs,
// driven with real key events; xclip stands for the other programs.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  withFrame, makeHome, writeSettings, notFirstRun, sleep, xclip, blockTexts, menuItem, MENU_SIZE,
} from './frame_helpers.mjs';

const pandocUsable = (() => {
  try {
    return /^pandoc /.test(execFileSync('pandoc', ['--version'], { encoding: 'utf8' }));
  } catch { return false; }
})();

function focusWindow(desktop, titlePattern) {
  const ids = desktop.xdotool('search', '--onlyvisible', '--name', titlePattern).split('\n').filter(Boolean);
  for (const id of ids) desktop.xdotool('windowfocus', '--sync', id);
}

test('Ctrl+F searches while typing and Enter cycles through the matches', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const file = join(home, 'search.text');
  writeFileSync(file, 'apple one apple two apple three\r\n');
  await withFrame('search', async ({ start, shot }) => {
    const desktop = start({ home, args: [file] });
    await desktop.waitForTitle(`${file} - Qorva`);
    await desktop.waitForDocument((d) => blockTexts(d)[0]?.startsWith('apple'));
    await desktop.keys('ctrl+f');
    await sleep(300);
    await desktop.type('apple');
    await sleep(300);
    shot('first-match');
    // First match, then the second and third, then around to the first again,
    // then on to the second: Escape leaves it selected and typing replaces it.
    await desktop.keys('Return', 'Return', 'Return', 'Return');
    await sleep(300);
    shot('cycled');
    await desktop.keys('Escape');
    await sleep(300);
    await desktop.type('pear');
    // Typing is asynchronous: wait for the whole word, and fail with the last document seen.
    const doc = await desktop.waitForDocument((d) => blockTexts(d)[0] === 'apple one pear two apple three');
    assert.equal(blockTexts(doc)[0], 'apple one pear two apple three');
    shot('replaced');
  });
});

test('a search bar opened twice keeps its text and Escape gives the keys back to the editor', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const file = join(home, 'again.text');
  writeFileSync(file, 'red green blue\r\n');
  await withFrame('search-again', async ({ start }) => {
    const desktop = start({ home, args: [file] });
    await desktop.waitForTitle(`${file} - Qorva`);
    await desktop.keys('ctrl+f');
    await desktop.type('blue');
    await desktop.keys('Escape');
    await desktop.keys('ctrl+f');
    await sleep(300);
    // The old text is selected: typing replaces it, and the search starts over.
    await desktop.type('green');
    await desktop.keys('Escape');
    await desktop.type('GREEN');
    const doc = await desktop.waitForDocument((d) => blockTexts(d)[0] === 'red GREEN blue');
    assert.equal(blockTexts(doc)[0], 'red GREEN blue');
  });
});

test('Copy in one window pastes the model into another and Markdown into a plain-text reader', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const file = join(home, 'source.text');
  writeFileSync(file, 'Heading\r\n=======\r\n\r\nSome *emphasis* and `code`.\r\n');
  await withFrame('copy-between-windows', async ({ x, start, shot }) => {
    const source = start({ home, args: [file] });
    await source.waitForTitle(`${file} - Qorva`);
    await source.waitForDocument((d) => blockTexts(d).includes('Heading'));
    await source.keys('ctrl+a', 'ctrl+c');
    await sleep(500);
    const markdown = xclip(x.display, ['-o', '-selection', 'clipboard']);
    assert.match(markdown, /^Heading\n=======\n\nSome \*emphasis\* and `code`\.\n?$/);
    const targets = xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'TARGETS']);
    assert.match(targets, /application\/x-qorva-model/);
    assert.match(targets, /text\/html/);

    const targetHome = makeHome();
    writeSettings(targetHome, notFirstRun());
    const target = start({ home: targetHome });
    await target.waitForTitle('Untitled - Qorva');
    focusWindow(target, 'Untitled - Qorva');
    await sleep(300);
    await target.keys('ctrl+v');
    const doc = await target.waitForDocument((d) => blockTexts(d).includes('Heading'));
    shot('pasted');
    assert.equal(doc[1][0], 'heading');
    const para = doc.find((block) => block[0] === 'para');
    assert.deepEqual(para.slice(2), [['plain', 'Some '], ['emph', 'emphasis'], ['plain', ' and '], ['code', 'code'], ['plain', '.']]);
  });
});

test('HTML on the clipboard from another program is pasted through Pandoc', { skip: !pandocUsable && 'Pandoc not installed' }, async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  await withFrame('paste-html', async ({ x, start }) => {
    const desktop = start({ home });
    await desktop.waitForTitle('Untitled - Qorva');
    // xclip keeps the selection in a process of its own until another owner comes.
    const owner = spawn('xclip', ['-i', '-selection', 'clipboard', '-t', 'text/html'], {
      env: { ...process.env, DISPLAY: x.display }, stdio: ['pipe', 'ignore', 'ignore'],
    });
    owner.stdin.end('<h2>Big news</h2><p>An <strong>important</strong> word</p>');
    await sleep(500);
    focusWindow(desktop, 'Untitled - Qorva');
    await desktop.keys('ctrl+v');
    const doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Big news'));
    assert.equal(doc[1][0], 'heading');
    assert.ok(JSON.stringify(doc).includes('["strong","important"]'), JSON.stringify(doc));
    owner.kill();
  });
});

test('Paste as Markdown in Qorva Format reads a number sign line as a heading; Paste keeps it as text', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  await withFrame('paste-markdown', async ({ x, start, shot }) => {
    const desktop = start({ home });
    await desktop.waitForTitle('Untitled - Qorva');
    const owner = spawn('xclip', ['-i', '-selection', 'clipboard'], {
      env: { ...process.env, DISPLAY: x.display }, stdio: ['pipe', 'ignore', 'ignore'],
    });
    owner.stdin.end('# Word');
    await sleep(500);
    focusWindow(desktop, 'Untitled - Qorva');
    await desktop.keys('ctrl+v');
    let doc = await desktop.waitForDocument((d) => JSON.stringify(d).includes('# Word'));
    assert.notEqual(doc[1][0], 'heading');
    // Edit > Paste as Markdown > Qorva Format.
    await desktop.keys('ctrl+a', 'Delete');
    await menuItem(desktop, 'alt+e', MENU_SIZE.edit, 6);
    await desktop.keys('Right');
    await sleep(300);
    shot('paste-as-markdown-menu');
    await desktop.keys('Down', 'Return');
    doc = await desktop.waitForDocument((d) => d[1] && d[1][0] === 'heading');
    assert.deepEqual(blockTexts(doc), ['Word']);
    owner.kill();
  });
});
