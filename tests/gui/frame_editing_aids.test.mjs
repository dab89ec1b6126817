// Replace in the search bar, the Outline panel and typing undone in runs,
// driven with real keys and checked in the files saved.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { withDocument, sleep, blockTexts } from './frame_helpers.mjs';

test('Replace All with Match case and Whole word is one undo step, and the file saved holds the replacements', async () => {
  await withDocument('replace', 'Cat cat concat\r\n\r\nCAT cat\r\n', async ({ desktop, file, shot }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Cat cat concat');
    await desktop.keys('ctrl+f');
    await sleep(300);
    await desktop.type('cat');
    // Tab: Find Next, Match case (ticked), Whole word (ticked), the replace field.
    await desktop.keys('Tab', 'Tab', 'space', 'Tab', 'space', 'Tab');
    await desktop.type('dog');
    // Tab: Replace, Replace All.
    await desktop.keys('Tab', 'Tab', 'Return');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat dog concat|CAT dog');
    shot('replaced-all');
    await desktop.keys('Escape', 'ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'Cat dog concat\r\n\r\nCAT dog\r\n');

    await desktop.keys('ctrl+z');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat cat concat|CAT cat');

    // Ctrl+H: the bar with the focus in the replace field, where Enter replaces.
    // From the document start the first Enter finds, the next one replaces the
    // match and finds the next.
    await desktop.keys('ctrl+Home', 'ctrl+h');
    await sleep(300);
    await desktop.keys('Return', 'Return');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat dog concat|CAT cat');
    await desktop.keys('Escape', 'ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'Cat dog concat\r\n\r\nCAT cat\r\n');
  });
});

test('the Outline panel lists the headings, Enter on one moves the caret there, and it follows the edit', async () => {
  const text = 'One\r\n===\r\n\r\ntext a\r\n\r\nSub\r\n---\r\n\r\ntext b\r\n\r\nTwo\r\n===\r\n\r\ntext c\r\n';
  await withDocument('outline', text, async ({ desktop, file, shot }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'One');
    await desktop.keys('ctrl+shift+o');
    await sleep(600);
    // The tree has the focus at the heading the caret is under; two down is "Two".
    await desktop.keys('Down', 'Down', 'Return');
    await sleep(300);
    await desktop.type('New ');
    await desktop.waitForDocument((d) => blockTexts(d)[4] === 'New Two');
    await sleep(1500);
    shot('after-edit');
    await desktop.keys('ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.match(readFileSync(file, 'utf8'), /\r\nNew Two\r\n=======\r\n/);
  });
});

test('a typed run is undone in one step, after a pause the next run separately, and the file saved shows it', async () => {
  await withDocument('typing-undo', 'Start\r\n', async ({ desktop, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Start');
    // Keys typed the moment the window appears may come before the page has the focus.
    await sleep(500);
    await desktop.keys('End');
    await desktop.type(' first run');
    await sleep(1500);
    await desktop.type(' second');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Start first run second');
    await desktop.keys('ctrl+z');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Start first run');
    await desktop.keys('ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'Start first run\r\n');
    await desktop.keys('ctrl+z');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Start');
  });
});
