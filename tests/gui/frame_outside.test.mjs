// Changes made to the open file by other programs, through a rename (as many
// editors save), and a file that disappears, seen by the running window. What
// each change asks of a modified document is checked in document_guards_test.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, renameSync, rmSync, writeFileSync } from 'node:fs';
import { withDocument, blockTexts } from './window_driver.mjs';

const paragraphs = (count, first = 'First') => [first, ...Array.from({ length: count - 1 }, (_, i) => `Paragraph ${i + 1}`)]
  .join('\r\n\r\n') + '\r\n';

function writeThroughRename(file, text) {
  writeFileSync(`${file}.swp~`, text);
  renameSync(`${file}.swp~`, file);
}

test('an unmodified document reloads a rename-written change and keeps the caret in its block', async () => {
  await withDocument('outside-reload', paragraphs(60), async ({ desktop, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d).length === 60);
    await desktop.keys(...Array(30).fill('Down'));
    writeThroughRename(file, paragraphs(60, 'Changed elsewhere'));
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Changed elsewhere');
    await desktop.waitForTitle(`${file} - Qorva`);
    await desktop.type('Z');
    const doc = await desktop.waitForDocument((d) => blockTexts(d).some((t) => t.includes('Z')));
    assert.equal(blockTexts(doc).findIndex((t) => t.includes('Z')), 30, 'typing goes on in the caret\'s block');
  });
});

test('a file that disappears is reported once; the document stays open, modified, and can be saved again', async () => {
  await withDocument('outside-gone', 'Here\r\n', async ({ desktop, file, home }) => {
    await desktop.waitForDocument((d) => blockTexts(d).length === 1);
    rmSync(file);
    await desktop.answer('Return');
    await desktop.waitForTitle(`${file}* - Qorva`);
    // Another change in the folder: no second report, so the keys reach the page.
    writeFileSync(`${home}/neighbour.text`, 'x');
    await desktop.type('Still ');
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Still Here');
    await desktop.keys('ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'Still Here\r\n');
  });
});
