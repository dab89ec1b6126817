// Opening, modifying, saving and reopening documents through the window, with
// real key events, the real file dialogs and the real Pandoc.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync, existsSync } from 'node:fs';
import { join } from 'node:path';
import {
  withFrame, makeHome, writeSettings, notFirstRun, frameWindow, waitUntil, sleep, blockTexts, menuItem, MENU_SIZE,
  waitForDialog,
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

test('a native document is opened, modified, saved with CR LF and reopened', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const file = join(home, 'notes.text');
  writeFileSync(file, 'Hello world\r\n');
  await withFrame('native', async ({ start, shot }) => {
    const desktop = start({ home, args: [file] });
    await desktop.waitForTitle(`${file} - Qorva`);
    await desktop.type('Yes ');
    await desktop.waitForTitle(`${file}* - Qorva`);
    shot('modified');
    await desktop.keys('ctrl+s');
    await desktop.waitForTitle(`${file} - Qorva`);
    const saved = bytesOf(file);
    assert.match(saved, /Yes Hello world\r\n/);
    assert.ok(!/[^\r]\n/.test(saved), `every line ends with CR LF: ${JSON.stringify(saved)}`);
    await desktop.close();

    const again = start({ home, args: [file] });
    await again.waitForTitle(`${file} - Qorva`);
    const doc = await again.waitForDocument((d) => blockTexts(d).includes('Yes Hello world'));
    assert.deepEqual(blockTexts(doc), ['Yes Hello world']);
  });
});

for (const flavour of ['pandoc', 'github', 'mmd']) {
  test(`Save in Format and Reopen in Format as ${flavour} go through Pandoc`, async () => {
    const home = makeHome();
    writeSettings(home, notFirstRun());
    const file = join(home, 'flavour.text');
    writeFileSync(file, 'Title\r\n=====\r\n\r\nSome *emphasis* here.\r\n');
    await withFrame(`flavour-${flavour}`, async ({ start, shot }) => {
      const desktop = start({ home, args: [file] });
      await desktop.waitForTitle(`${file} - Qorva`);
      await desktop.waitForDocument((d) => blockTexts(d).includes('Title'));
      await desktop.type('My ');
      await desktop.waitForTitle(`${file}* - Qorva`);
      await formatItem(desktop, 5, flavour);
      // The extension does not choose the format: Pandoc's Markdown lands in the .text file.
      await desktop.waitForTitle(`${file} - Qorva`);
      const saved = bytesOf(file);
      assert.match(saved, /^# My Title\n/, `ATX heading from Pandoc: ${JSON.stringify(saved)}`);
      assert.match(saved, /Some \*emphasis\* here\./);
      assert.ok(!saved.includes('\r\n'), 'Pandoc\'s line ends are kept');
      shot('saved');

      // Modify, then reopen in the same flavour: "Changes will be lost. Proceed?" Yes.
      await desktop.type('X');
      await desktop.waitForTitle(`${file}* - Qorva`);
      await formatItem(desktop, 3, flavour);
      await waitForDialog(desktop, 'Qorva');
      shot('changes-will-be-lost');
      await desktop.keys('alt+y');
      await desktop.waitForTitle(`${file} - Qorva`);
      const doc = await desktop.waitForDocument((d) => blockTexts(d)[0] === 'My Title' && blockTexts(d).length === 2);
      assert.equal(doc[1][0], 'heading');
      assert.deepEqual(doc[2].slice(2), [['plain', 'Some '], ['emph', 'emphasis'], ['plain', ' here.']]);
    });
  });
}

test('Save As cancelled during a close keeps the window open and the document modified', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  await withFrame('saveas-cancel', async ({ start, shot }) => {
    const desktop = start({ home });
    await desktop.waitForTitle('Untitled - Qorva');
    await desktop.type('draft');
    await desktop.waitForTitle('Untitled* - Qorva');
    await desktop.keys('ctrl+w');
    await waitForDialog(desktop, 'Qorva');
    shot('save-changes');
    await desktop.keys('alt+y');
    await waitForDialog(desktop, 'Save As');
    shot('save-dialog');
    await desktop.keys('Escape');
    await sleep(800);
    await desktop.waitForTitle('Untitled* - Qorva');
    assert.equal(desktop.process.exitCode, null, 'the window stays open');

    // No: closes without saving.
    await desktop.keys('ctrl+w');
    await waitForDialog(desktop, 'Qorva');
    await desktop.keys('alt+n');
    await waitUntil('the program to end', () => desktop.process.exitCode !== null, 15000);
  });
});

test('Save changes? Cancel keeps the window; Yes saves to the path and closes', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const file = join(home, 'keep.text');
  writeFileSync(file, 'Original\r\n');
  await withFrame('save-changes', async ({ start }) => {
    const desktop = start({ home, args: [file] });
    await desktop.waitForTitle(`${file} - Qorva`);
    await desktop.type('Not ');
    await desktop.waitForTitle(`${file}* - Qorva`);
    await desktop.keys('ctrl+w');
    await waitForDialog(desktop, 'Qorva');
    await desktop.keys('Escape');
    await sleep(800);
    await desktop.waitForTitle(`${file}* - Qorva`);
    assert.equal(bytesOf(file), 'Original\r\n');

    await desktop.keys('ctrl+w');
    await waitForDialog(desktop, 'Qorva');
    await desktop.keys('alt+y');
    await waitUntil('the program to end', () => desktop.process.exitCode !== null, 15000);
    assert.equal(bytesOf(file), 'Not Original\r\n');
  });
});

test('Save As writes a new untitled document where the dialog says', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const file = join(home, 'fresh.text');
  await withFrame('save-as', async ({ start, shot }) => {
    const desktop = start({ home });
    await desktop.waitForTitle('Untitled - Qorva');
    await desktop.type('Fresh text');
    await desktop.keys('ctrl+s');
    await waitForDialog(desktop, 'Save As');
    await desktop.type(file);
    shot('save-as-dialog');
    await desktop.keys('Return');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.equal(bytesOf(file), 'Fresh text\r\n');
    const window = frameWindow(desktop);
    assert.ok(window, 'the frame window is found');
  });
});

test('Ctrl+O opens a file chosen in the dialog after the Save changes? question', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const file = join(home, 'chosen.md');
  writeFileSync(file, 'Chosen text\r\n');
  await withFrame('open-dialog', async ({ start, shot }) => {
    const desktop = start({ home });
    await desktop.waitForTitle('Untitled - Qorva');
    await desktop.type('scratch');
    await desktop.keys('ctrl+o');
    await waitForDialog(desktop, 'Open');
    await desktop.type(file);
    shot('open-dialog');
    await desktop.keys('Return');
    await waitForDialog(desktop, 'Qorva');
    shot('save-changes');
    await desktop.keys('alt+n');
    await desktop.waitForTitle(`${file} - Qorva`);
    const doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Chosen text'));
    assert.deepEqual(blockTexts(doc), ['Chosen text']);
  });
});

test('Import HTML gives an untitled document whose next Save asks for a name', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const page = join(home, 'page.html');
  writeFileSync(page, '<h1>Imported</h1><p>Some <em>web</em> text</p>');
  await withFrame('import-html', async ({ start, shot }) => {
    const desktop = start({ home });
    await desktop.waitForTitle('Untitled - Qorva');
    await fileMenuItem(desktop, 7, 'Right', 'Return');
    await waitForDialog(desktop, 'Open');
    await desktop.type(page);
    await desktop.keys('Return');
    const doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Imported'));
    assert.equal(doc[1][0], 'heading');
    await desktop.waitForTitle('Untitled - Qorva');
    await desktop.keys('ctrl+s');
    await waitForDialog(desktop, 'Save As');
    shot('save-as-after-import');
    await desktop.keys('Escape');
  });
});

test('a file holding a zero byte and invalid UTF-8 opens with everything after them', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const file = join(home, 'odd.text');
  writeFileSync(file, Buffer.concat([Buffer.from('before'), Buffer.from([0]), Buffer.from('after '), Buffer.from([0xff]), Buffer.from(' end\r\n')]));
  await withFrame('odd-bytes', async ({ start, shot }) => {
    const desktop = start({ home, args: [file] });
    await desktop.waitForTitle(`${file} - Qorva`);
    const doc = await desktop.waitForDocument((d) => blockTexts(d).length > 0);
    assert.deepEqual(blockTexts(doc), ['before\uFFFDafter \uFFFD end']);
    shot('odd-bytes');
  });
});
