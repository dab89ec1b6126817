// Search and replace in the search bar, the Outline panel and typing undone in
// runs, driven with real keys and checked in the files saved.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { withDocument, blockTexts } from './window_driver.mjs';

test('Ctrl+F searches while typing, Enter cycles through the matches, and the bar opened again keeps its text', async () => {
  await withDocument('search', 'apple one apple two apple three\r\n', async ({ desktop }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0]?.startsWith('apple'));
    await desktop.keys('ctrl+f');
    await desktop.type('apple');
    // First match, then the second and third, round to the first and on to the
    // second: Escape leaves it selected and typing replaces it.
    await desktop.keys('Return', 'Return', 'Return', 'Return', 'Escape');
    await desktop.type('pear');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'apple one pear two apple three');

    // The old text is selected: typing replaces it, and the search starts over.
    await desktop.keys('ctrl+f');
    await desktop.type('three');
    await desktop.keys('Escape');
    await desktop.type('THREE');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'apple one pear two apple THREE');
  });
});

test('Replace All with Match case and Whole word is one undo step, and the file saved holds the replacements', async () => {
  await withDocument('replace', 'Cat cat concat\r\n\r\nCAT cat\r\n', async ({ desktop, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Cat cat concat');
    await desktop.keys('ctrl+f');
    await desktop.type('cat');
    // Tab: Find Next, Match case (ticked), Whole word (ticked), the replace field.
    await desktop.keys('Tab', 'Tab', 'space', 'Tab', 'space', 'Tab');
    await desktop.type('dog');
    // Tab: Replace, Replace All.
    await desktop.keys('Tab', 'Tab', 'Return');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat dog concat|CAT dog');
    await desktop.keys('Escape', 'ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'Cat dog concat\r\n\r\nCAT dog\r\n');

    await desktop.keys('ctrl+z');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat cat concat|CAT cat');

    // Ctrl+H: the focus in the replace field, where Enter replaces. From the
    // document start the first Enter finds, the next one replaces and finds on.
    await desktop.keys('ctrl+Home', 'ctrl+h', 'Return', 'Return');
    await desktop.waitForDocument((d) => blockTexts(d).join('|') === 'Cat dog concat|CAT cat');
    await desktop.keys('Escape', 'ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'Cat dog concat\r\n\r\nCAT cat\r\n');
  });
});

test('the Outline panel lists the headings and Enter on one moves the caret there', async () => {
  const text = 'One\r\n===\r\n\r\ntext a\r\n\r\nSub\r\n---\r\n\r\ntext b\r\n\r\nTwo\r\n===\r\n\r\ntext c\r\n';
  await withDocument('outline', text, async ({ desktop, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'One');
    // The tree has the focus at the heading the caret is under; two down is "Two".
    await desktop.keys('ctrl+shift+o', 'Down', 'Down', 'Return');
    await desktop.type('New ');
    await desktop.waitForDocument((d) => blockTexts(d)[4] === 'New Two');
    await desktop.keys('ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.match(readFileSync(file, 'utf8'), /\r\nNew Two\r\n=======\r\n/);
  });
});

test('a typed run is undone in one step, a caret move starts the next run, and the file saved shows it', async () => {
  await withDocument('typing-undo', 'Start\r\n', async ({ desktop, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Start');
    await desktop.keys('End');
    await desktop.type(' first run');
    await desktop.keys('Left');
    await desktop.type('X');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Start first ruXn');
    await desktop.keys('ctrl+z');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Start first run');
    await desktop.keys('ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'Start first run\r\n');
    await desktop.keys('ctrl+z');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Start');
  });
});
