// The clipboard between Qorva windows and other programs, driven with real key
// events; xclip stands for the other programs. Pasted HTML going through Pandoc
// is checked with the Paste key and a middle click in frame_safety.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { withDocument, makeHome, waitUntil, xclip, blockTexts } from './window_driver.mjs';

test('pasted text stays text, Paste as Markdown reads it, and Copy gives another window the model and a plain-text reader Markdown', async () => {
  const text = 'Heading\r\n=======\r\n\r\nSome *emphasis* and `code`.\r\n';
  await withDocument('clipboard', text, async ({ x, start, offer, desktop: source }) => {
    const target = start({ home: makeHome() });
    await target.waitForTitle('Untitled - Qorva');
    const focus = (desktop, title) => desktop.xdotool('windowfocus', '--sync', desktop.windows().find((w) => title.test(w.title)).id);
    const paste = async () => {
      focus(target, /^Untitled/);
      await target.keys('ctrl+a', 'Delete', 'ctrl+v');
    };

    // A number sign line stays text; Paste as Markdown in Qorva Format reads a heading.
    const plain = await offer('# Word');
    await paste();
    let doc = await target.waitForDocument((d) => JSON.stringify(d).includes('# Word'));
    assert.notEqual(doc[1][0], 'heading');
    await target.keys('ctrl+a', 'Delete');
    await target.menuItem('alt+e', 12, 6);
    await target.openMenu('Right');
    await target.keys('Down', 'Return');
    doc = await target.waitForDocument((d) => d[1] && d[1][0] === 'heading');
    assert.deepEqual(blockTexts(doc), ['Word']);
    plain.kill();

    focus(source, /clipboard\.text/);
    await source.keys('ctrl+a', 'ctrl+c');
    const targets = await waitUntil('the copy on the clipboard', () => {
      const offered = xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'TARGETS']);
      return offered.includes('application/x-qorva-model') && offered;
    });
    assert.match(targets, /text\/html/);
    assert.match(xclip(x.display, ['-o', '-selection', 'clipboard']), /^Heading\n=======\n\nSome \*emphasis\* and `code`\.\n?$/);
    await paste();
    doc = await target.waitForDocument((d) => blockTexts(d).includes('Heading'));
    assert.deepEqual(doc.slice(1).map((block) => block[0]), ['heading', 'para']);
    assert.deepEqual(doc[2].slice(2),
      [['plain', 'Some '], ['emph', 'emphasis'], ['plain', ' and '], ['code', 'code'], ['plain', '.']]);
  });
});
