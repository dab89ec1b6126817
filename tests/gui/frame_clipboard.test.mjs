// The search bar and the clipboard between Qorva windows and other programs,
// driven with real key events; xclip stands for the other programs.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import {
  withDocument, makeHome, writeSettings, notFirstRun, sleep, xclip, blockTexts, menuItem, MENU_SIZE,
} from './frame_helpers.mjs';

function focusWindow(desktop, titlePattern) {
  const ids = desktop.xdotool('search', '--onlyvisible', '--name', titlePattern).split('\n').filter(Boolean);
  for (const id of ids) desktop.xdotool('windowfocus', '--sync', id);
}

test('Ctrl+F searches while typing, Enter cycles through the matches, and the bar opened again keeps its text', async () => {
  await withDocument('search', 'apple one apple two apple three\r\n', async ({ desktop, shot }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0]?.startsWith('apple'));
    await desktop.keys('ctrl+f');
    await sleep(300);
    await desktop.type('apple');
    await sleep(300);
    // First match, then the second and third, then around to the first again,
    // then on to the second: Escape leaves it selected and typing replaces it.
    await desktop.keys('Return', 'Return', 'Return', 'Return');
    await sleep(300);
    shot('cycled');
    await desktop.keys('Escape');
    await sleep(300);
    await desktop.type('pear');
    // Typing is asynchronous: wait for the whole word, and fail with the last document seen.
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'apple one pear two apple three');

    // The old text is selected: typing replaces it, and the search starts over.
    await desktop.keys('ctrl+f');
    await sleep(300);
    await desktop.type('three');
    await desktop.keys('Escape');
    await desktop.type('THREE');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'apple one pear two apple THREE');
  });
});

test('pasted text stays text, pasted HTML and Markdown go through Pandoc, and Copy gives another window the model and a plain-text reader Markdown', async () => {
  const text = 'Heading\r\n=======\r\n\r\nSome *emphasis* and `code`.\r\n';
  await withDocument('clipboard', text, async ({ x, start, desktop: source, file, shot }) => {
    const targetHome = makeHome();
    writeSettings(targetHome, notFirstRun());
    const target = start({ home: targetHome });
    await target.waitForTitle('Untitled - Qorva');
    // xclip keeps the selection in a process of its own until another owner comes.
    const offer = async (data, type) => {
      const owner = spawn('xclip', ['-i', '-selection', 'clipboard', ...(type ? ['-t', type] : [])], {
        env: { ...process.env, DISPLAY: x.display }, stdio: ['pipe', 'ignore', 'ignore'],
      });
      owner.stdin.end(data);
      await sleep(500);
      return owner;
    };
    const paste = async () => {
      focusWindow(target, 'Untitled');
      await sleep(300);
      await target.keys('ctrl+a', 'Delete', 'ctrl+v');
    };
    const blockWith = (doc, words) => doc.slice(1).find((block) => blockTexts([null, block])[0] === words);

    // Paste keeps a number sign line as text; Paste as Markdown in Qorva Format reads a heading.
    const plain = await offer('# Word');
    await paste();
    let doc = await target.waitForDocument((d) => JSON.stringify(d).includes('# Word'));
    assert.notEqual(doc[1][0], 'heading');
    await target.keys('ctrl+a', 'Delete');
    await menuItem(target, 'alt+e', MENU_SIZE.edit, 6);
    await target.keys('Right');
    await sleep(300);
    shot('paste-as-markdown-menu');
    await target.keys('Down', 'Return');
    doc = await target.waitForDocument((d) => d[1] && d[1][0] === 'heading');
    assert.deepEqual(blockTexts(doc), ['Word']);
    plain.kill();

    const html = await offer('<h2>Big news</h2><p>An <strong>important</strong> word</p>', 'text/html');
    await paste();
    doc = await target.waitForDocument((d) => blockTexts(d).includes('Big news'));
    assert.equal(blockWith(doc, 'Big news')[0], 'heading');
    assert.ok(JSON.stringify(doc).includes('["strong","important"]'), JSON.stringify(doc));
    html.kill();

    focusWindow(source, 'clipboard.text');
    await sleep(300);
    await source.keys('ctrl+a', 'ctrl+c');
    await sleep(500);
    const markdown = xclip(x.display, ['-o', '-selection', 'clipboard']);
    assert.match(markdown, /^Heading\n=======\n\nSome \*emphasis\* and `code`\.\n?$/);
    const targets = xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'TARGETS']);
    assert.match(targets, /application\/x-qorva-model/);
    assert.match(targets, /text\/html/);
    await paste();
    doc = await target.waitForDocument((d) => blockTexts(d).includes('Heading'));
    assert.equal(blockWith(doc, 'Heading')[0], 'heading');
    assert.deepEqual(doc.find((block) => block[0] === 'para').slice(2),
      [['plain', 'Some '], ['emph', 'emphasis'], ['plain', ' and '], ['code', 'code'], ['plain', '.']]);
  });
});
