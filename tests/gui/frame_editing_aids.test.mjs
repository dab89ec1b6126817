// Replace All from the search bar and the clipboard between Qorva windows and other
// programs (xclip stands for those), driven with real keys and checked in the
// document.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { withDocument, blockTexts, makeHome, waitUntil, xclip } from './window_driver.mjs';

// What Replace All matches with the options and its undo step are checked in
// tests/page/search.test.mjs, the bar's keys and buttons in frame_widgets_test
// (SearchViewTest); here the bar's options and Replace All reach the page.
test('Replace and Replace All from the search bar with Match case and Whole word ticked change the document, undone from the bar', async () => {
  await withDocument('replace', 'Cat cat concat\r\n\r\nCAT cat\r\n', async ({ desktop }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Cat cat concat');
    desktop.keys('ctrl+f').type('cat');
    // Tab: Find Next, Match case (ticked), Whole word (ticked), the replace field.
    desktop.keys('Tab', 'Tab', 'space', 'Tab', 'space', 'Tab').type('dog');
    // Replace (Tab, then Space as a click) replaces the match found; the undo and
    // redo keys, pressed in the bar next, undo and redo that in the document.
    desktop.keys('Tab', 'space');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat dog concat|CAT cat');
    desktop.keys('ctrl+z');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat cat concat|CAT cat');
    desktop.keys('ctrl+y');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat dog concat|CAT cat');
    // Tab: Replace All.
    desktop.keys('Tab', 'Return');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat dog concat|CAT dog');
  });
});

test('pasted text stays text, Paste as Markdown reads it, and Copy gives another window the model', async () => {
  const text = 'Heading\r\n=======\r\n\r\nSome *emphasis* and `code`.\r\n';
  await withDocument('clipboard', text, async ({ x, start, offer, desktop: source }) => {
    const target = start({ home: makeHome() });
    await target.waitForTitle('Untitled - Qorva');
    const focus = (desktop, title) => desktop.xdotool('windowfocus', '--sync', desktop.windows().find((w) => title.test(w.title)).id);
    const paste = () => { focus(target, /^Untitled/); target.keys('ctrl+a', 'Delete', 'ctrl+v'); };

    // A number sign line stays text; Paste as Markdown in Qorva Format reads a heading.
    const plain = await offer('# Word');
    paste();
    let doc = await target.waitForDocument((d) => JSON.stringify(d).includes('# Word'));
    assert.notEqual(doc[1][0], 'heading');
    target.keys('ctrl+a', 'Delete');
    await target.openSubmenu('alt+e', 13, 6);
    target.keys('Down', 'Return');
    doc = await target.waitForDocument((d) => d[1] && d[1][0] === 'heading');
    assert.deepEqual(blockTexts(doc), ['Word']);
    plain.kill();

    focus(source, /clipboard\.text/);
    source.keys('ctrl+a', 'ctrl+c');
    // What else Copy offers is checked in clipboard_formats_test and frame_widgets_test.
    await waitUntil('the model on the clipboard',
      () => xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'TARGETS']).includes('application/x-qorva-model'));
    paste();
    doc = await target.waitForDocument((d) => blockTexts(d).includes('Heading'));
    assert.deepEqual(doc.slice(1).map((block) => block[0]), ['heading', 'para']);
    assert.deepEqual(doc[2].slice(2),
      [['plain', 'Some '], ['emph', 'emphasis'], ['plain', ' and '], ['code', 'code'], ['plain', '.']]);
  });
});
