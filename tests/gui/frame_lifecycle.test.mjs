// Opening, modifying, saving and reopening documents through the window, with
// real key events, the real file dialogs and the real Pandoc.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync, existsSync, rmSync } from 'node:fs';
import { join } from 'node:path';
import {
  withDocument, waitUntil, sleep, blockTexts, menuItem, MENU_SIZE, waitForDialog, ended,
} from './frame_helpers.mjs';

const bytesOf = (path) => (existsSync(path) ? readFileSync(path, 'utf8') : '');
// Opens "&File" and highlights the item at `index` (0 = "&New"), then presses `then`.
async function fileMenuItem(desktop, index, ...then) {
  await menuItem(desktop, 'alt+f', MENU_SIZE.file, index);
  await desktop.keys(...then);
}

// "Save in Format" (item 5) and "Reopen in Format" (item 3) list Qorva, Pandoc,
// GitHub and MultiMarkdown in that order.
const FLAVOURS = { pandoc: 1, github: 2, mmd: 3 };
async function formatItem(desktop, menuIndex, flavour) {
  const downs = Array(FLAVOURS[flavour]).fill('Down');
  await fileMenuItem(desktop, menuIndex, 'Right', ...downs, 'Return');
}

test('a file with a zero byte and invalid UTF-8 says so, opens whole and modified, is saved with CR LF and reopened; No closes without saving', async () => {
  const odd = Buffer.concat([Buffer.from('before\0after '), Buffer.from([0xff]), Buffer.from(' end\r\n')]);
  await withDocument('native', odd, async ({ start, desktop, home, file, shot }) => {
    shot('not-utf8-message');
    await desktop.keys('Return');
    await desktop.waitForTitle(`${file}* - Qorva`);
    const opened = await desktop.waitForDocument((d) => blockTexts(d).length > 0);
    assert.deepEqual(blockTexts(opened), ['before\uFFFDafter \uFFFD end']);
    await desktop.type('Yes ');
    await desktop.waitForTitle(`${file}* - Qorva`);
    shot('modified');
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
    await again.type('Not kept ');
    await again.waitForTitle(`${file}* - Qorva`);
    await again.keys('ctrl+w');
    await waitForDialog(again, 'Qorva');
    await again.keys('alt+n');
    await ended(again);
    assert.equal(bytesOf(file), saved);
  }, { title: 'Qorva' });
});

test('Save in Format and Reopen in Format go through Pandoc in each flavour; Ctrl+O asks Save changes? first; Import HTML gives an untitled document', async () => {
  const text = 'Title\r\n=====\r\n\r\nSome *emphasis* here.\r\n';
  await withDocument('flavours', text, async ({ desktop, home, file, shot }) => {
    await desktop.waitForDocument((d) => blockTexts(d).includes('Title'));
    await desktop.type('My ');
    await desktop.waitForTitle(`${file}* - Qorva`);
    for (const flavour of Object.keys(FLAVOURS)) {
      // The file going away is reported first; the save below writes it anew.
      rmSync(file);
      await waitForDialog(desktop, 'Qorva');
      await desktop.keys('Return');
      await formatItem(desktop, 5, flavour);
      // The extension does not choose the format: Pandoc's Markdown lands in the .text file.
      await desktop.waitForTitle(`${file} - Qorva`);
      const saved = await waitUntil(`the ${flavour} file`, () => bytesOf(file));
      assert.match(saved, /^# My Title\n/, `ATX heading from Pandoc (${flavour}): ${JSON.stringify(saved)}`);
      assert.match(saved, /Some \*emphasis\* here\./);
      assert.ok(!saved.includes('\r\n'), 'Pandoc\'s line ends are kept');

      // Modify, then reopen in the same flavour: "Changes will be lost. Proceed?" Yes.
      await desktop.type('X');
      await desktop.waitForTitle(`${file}* - Qorva`);
      await formatItem(desktop, 3, flavour);
      await waitForDialog(desktop, 'Qorva');
      await desktop.keys('alt+y');
      await desktop.waitForTitle(`${file} - Qorva`);
      const doc = await desktop.waitForDocument((d) => blockTexts(d)[0] === 'My Title' && blockTexts(d).length === 2);
      assert.equal(doc[1][0], 'heading');
      assert.deepEqual(doc[2].slice(2), [['plain', 'Some '], ['emph', 'emphasis'], ['plain', ' here.']]);
    }

    const chosen = join(home, 'chosen.md');
    writeFileSync(chosen, 'Chosen text\r\n');
    const page = join(home, 'page.html');
    writeFileSync(page, '<h1>Imported</h1><p>Some <em>web</em> text</p>');
    await desktop.type('scratch');
    await desktop.waitForTitle(`${file}* - Qorva`);
    await desktop.keys('ctrl+o');
    await waitForDialog(desktop, 'Open');
    await desktop.type(chosen);
    shot('open-dialog');
    await desktop.keys('Return');
    await waitForDialog(desktop, 'Qorva');
    await desktop.keys('alt+n');
    await desktop.waitForTitle(`${chosen} - Qorva`);
    const doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Chosen text'));
    assert.deepEqual(blockTexts(doc), ['Chosen text']);
    assert.ok(!bytesOf(file).includes('scratch'), 'No left the changes unsaved');

    // The imported document has no name: its next Save asks for one.
    await fileMenuItem(desktop, 7, 'Right', 'Return');
    await waitForDialog(desktop, 'Open');
    await desktop.type(page);
    await desktop.keys('Return');
    const imported = await desktop.waitForDocument((d) => blockTexts(d).includes('Imported'));
    assert.equal(imported[1][0], 'heading');
    await desktop.waitForTitle('Untitled - Qorva');
    await desktop.keys('ctrl+s');
    await waitForDialog(desktop, 'Save As');
    shot('save-as-after-import');
    await desktop.keys('Escape');
  });
});

test('Save As cancelled during a close keeps the window; Save As writes where the dialog says; Save changes? Cancel keeps, Yes saves and closes', async () => {
  await withDocument('save', null, async ({ desktop, home, shot }) => {
    const file = join(home, 'fresh.text');
    await desktop.type('draft');
    await desktop.waitForTitle('Untitled* - Qorva');
    await desktop.keys('ctrl+w');
    await waitForDialog(desktop, 'Qorva');
    shot('save-changes');
    await desktop.keys('alt+y');
    await waitForDialog(desktop, 'Save As');
    await desktop.keys('Escape');
    await sleep(800);
    await desktop.waitForTitle('Untitled* - Qorva');
    assert.equal(desktop.process.exitCode, null, 'the window stays open');

    await desktop.keys('ctrl+s');
    await waitForDialog(desktop, 'Save As');
    await desktop.type(file);
    shot('save-as-dialog');
    await desktop.keys('Return');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(bytesOf(file), 'draft\r\n');

    await desktop.type(' more');
    await desktop.waitForTitle(`${file}* - Qorva`);
    await desktop.keys('ctrl+w');
    await waitForDialog(desktop, 'Qorva');
    await desktop.keys('Escape');
    await sleep(800);
    await desktop.waitForTitle(`${file}* - Qorva`);
    assert.equal(bytesOf(file), 'draft\r\n');
    await desktop.keys('ctrl+w');
    await waitForDialog(desktop, 'Qorva');
    await desktop.keys('alt+y');
    await ended(desktop);
    assert.equal(bytesOf(file), 'draft more\r\n');
  });
});
