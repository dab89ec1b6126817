// Opening, modifying, saving and reopening documents through the window, with
// real key events and the real Pandoc. Open, Import, Save As and the questions
// before them are checked in document_lifecycle_test and the close tests.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, existsSync, rmSync } from 'node:fs';
import { withDocument, waitUntil, blockTexts } from './window_driver.mjs';

const bytesOf = (path) => (existsSync(path) ? readFileSync(path, 'utf8') : '');

// Opens the submenu of "&File" item `index` and takes its item `item`: "Reopen in
// Format" (3) and "Save in Format" (5) list Qorva, Pandoc, GitHub and MultiMarkdown.
async function fileSubmenuItem(desktop, index, item) {
  await desktop.menuItem('alt+f', 11, index);
  await desktop.openMenu('Right');
  await desktop.keys(...Array(item).fill('Down'), 'Return');
}
const FLAVOURS = { pandoc: 1, github: 2, mmd: 3 };

test('a file with a zero byte and invalid UTF-8 says so, opens whole and modified, is saved with CR LF and reopened as saved', async () => {
  const odd = Buffer.concat([Buffer.from('before\0after '), Buffer.from([0xff]), Buffer.from(' end\r\n')]);
  await withDocument('native', odd, async ({ start, desktop, home, file }) => {
    await desktop.answer('Return');
    await desktop.waitForTitle(`${file}* - Qorva`);
    const opened = await desktop.waitForDocument((d) => blockTexts(d).length > 0);
    assert.deepEqual(blockTexts(opened), ['before\uFFFDafter \uFFFD end']);
    await desktop.type('Yes ');
    await desktop.waitForDocument((d) => blockTexts(d)[0].startsWith('Yes '));
    await desktop.keys('ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    const saved = bytesOf(file);
    assert.match(saved, /^Yes before/);
    assert.ok(!/[^\r]\n/.test(saved), `every line ends with CR LF: ${JSON.stringify(saved)}`);
    await desktop.close();

    const again = start({ home, args: [file] });
    await again.waitForTitle(`${file} - Qorva`);
    const doc = await again.waitForDocument((d) => blockTexts(d).length > 0);
    assert.deepEqual(blockTexts(doc), ['Yes before\uFFFDafter \uFFFD end']);
  }, { title: 'Qorva' });
});

test('Save in Format and Reopen in Format go through Pandoc in each flavour', async () => {
  const text = 'Title\r\n=====\r\n\r\nSome *emphasis* here.\r\n';
  await withDocument('flavours', text, async ({ desktop, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d).includes('Title'));
    await desktop.type('My ');
    await desktop.waitForTitle(`${file}* - Qorva`);
    for (const [flavour, item] of Object.entries(FLAVOURS)) {
      // The file going away is reported first; the save below writes it anew.
      rmSync(file);
      await desktop.answer('Return');
      await desktop.waitForNoTitle(/^Qorva$/);
      await fileSubmenuItem(desktop, 5, item);
      // The extension does not choose the format: Pandoc's Markdown lands in the .text file.
      await desktop.waitForTitle(`${file} - Qorva`);
      const saved = await waitUntil(`the ${flavour} file`, () => bytesOf(file));
      assert.match(saved, /^# My Title\n/, `ATX heading from Pandoc (${flavour}): ${JSON.stringify(saved)}`);
      assert.match(saved, /Some \*emphasis\* here\./);
      assert.ok(!saved.includes('\r\n'), 'Pandoc\'s line ends are kept');

      // Modified, then reopened in the same flavour: "Changes will be lost. Proceed?" Yes.
      await desktop.type('X');
      await desktop.waitForTitle(`${file}* - Qorva`);
      await fileSubmenuItem(desktop, 3, item);
      await desktop.answer('alt+y');
      await desktop.waitForTitle(`${file} - Qorva`);
      const doc = await desktop.waitForDocument((d) => blockTexts(d)[0] === 'My Title' && blockTexts(d).length === 2);
      assert.equal(doc[1][0], 'heading');
      assert.deepEqual(doc[2].slice(2), [['plain', 'Some '], ['emph', 'emphasis'], ['plain', ' here.']]);
    }
  });
});
