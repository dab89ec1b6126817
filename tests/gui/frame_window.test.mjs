// The window itself: the title with its counts, full screen, and the recent
// documents across restarts, driven with real key events.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  withFrame, withDocument, makeHome, writeSettings, readSettings, notFirstRun, frameWindow, waitUntil, sleep, str,
  dword, menuItem, MENU_SIZE, waitForDialog, ended,
} from './frame_helpers.mjs';

const RECENT = 'Software\\Qorva\\Recent Document List';

// "&Window": Full Screen, Font, Themes, Display Word Count, Display Character Count, Outline.
async function windowMenuItem(desktop, index) {
  await menuItem(desktop, 'alt+w', MENU_SIZE.window, index);
  await desktop.keys('Return');
}

// "&File" > "Open Recent" (the third item), its submenu open.
async function openRecentMenu(desktop) {
  await menuItem(desktop, 'alt+f', MENU_SIZE.file, 2);
  await desktop.keys('Right');
  await sleep(300);
}

const closeWindow = (desktop) => desktop.keys('ctrl+w').then(() => ended(desktop));

test('the title shows word and character counts and the display switches off again; About, New and Welcome', async () => {
  await withDocument('counts', 'one two three\r\n', async ({ desktop, home, file, shot }) => {
    try {
      await windowMenuItem(desktop, 3);
      await desktop.waitForTitle(`${file} - Qorva - 3 Words`);
      assert.deepEqual(readSettings(home)['Software\\Qorva'].Info, str('words'));

      await desktop.keys('shift+ctrl+Right');
      await desktop.waitForTitleMatching(/ - 1 Word Selected$/);
      shot('one-word-selected');
      await desktop.keys('Left');
      await desktop.waitForTitle(`${file} - Qorva - 3 Words`);

      await windowMenuItem(desktop, 4);
      await desktop.waitForTitle(`${file} - Qorva - 13 Characters`);
      await windowMenuItem(desktop, 4);
      await desktop.waitForTitle(`${file} - Qorva`);
      assert.deepEqual(readSettings(home)['Software\\Qorva'].Info, str(''));

      // About shows the version; New and Welcome to Qorva open windows of their own.
      await menuItem(desktop, 'alt+h', 5, 0);
      await desktop.keys('Return');
      await desktop.waitForTitle('About');
      shot('about');
      await desktop.keys('Return');
      await waitUntil('the About box to close', () => !desktop.windowTitles().includes('About'));
      await desktop.keys('ctrl+n');
      await desktop.waitForTitle('Untitled - Qorva');
      await menuItem(desktop, 'alt+h', 5, 2);
      await desktop.keys('Return');
      await desktop.waitForTitle('Welcome - Qorva');
      assert.equal(desktop.process.exitCode, null, 'the first window stays');
    } finally {
      endOtherWindows(desktop);
    }
  });
});

test('an untitled document with the word count shows Untitled* and 0 Words when emptied; F11 twice restores the window', async () => {
  const settings = notFirstRun({ Info: str('words') });
  await withDocument('full-screen', null, async ({ desktop, shot }) => {
    await desktop.waitForDocument((d) => Array.isArray(d));
    await desktop.type('ab');
    await desktop.waitForTitle('Untitled* - Qorva - 1 Word');
    await desktop.keys('BackSpace', 'BackSpace');
    await desktop.waitForTitle('Untitled* - Qorva - 0 Words');

    // F11 twice returns the window to the same place and size, with its menu bar.
    const before = frameWindow(desktop);
    shot('before');
    await desktop.keys('F11');
    const full = await waitUntil('full screen', () => {
      const w = frameWindow(desktop);
      return w && w.width === 1280 && w.height === 800 ? w : null;
    });
    assert.equal(full.x, 0);
    assert.equal(full.y, 0);
    shot('full');
    await desktop.keys('F11');
    const after = await waitUntil('the old geometry', () => {
      const w = frameWindow(desktop);
      return w && w.width === before.width && w.height === before.height ? w : null;
    });
    assert.deepEqual([after.x, after.y], [before.x, before.y]);
  }, { settings, title: 'Untitled - Qorva - 0 Words' });
});

test('the recent list keeps its order across restarts, is written when the window closes and keeps at least 2', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const first = join(home, 'first.text');
  const second = join(home, 'second.text');
  writeFileSync(first, 'First\r\n');
  writeFileSync(second, 'Second\r\n');
  await withFrame('recent-order', async ({ start, shot }) => {
    const one = start({ home, args: [first] });
    await one.waitForTitle(`${first} - Qorva`);
    await closeWindow(one);
    const two = start({ home, args: [second] });
    await two.waitForTitle(`${second} - Qorva`);
    await closeWindow(two);
    const recent = readSettings(home)[RECENT];
    assert.deepEqual(recent.DocumentCount, dword(9));
    assert.deepEqual(recent.Document1, str(second));
    assert.deepEqual(recent.Document2, str(first));
    assert.equal(recent.Document3, undefined);

    // Open Recent, second entry, from an untitled window.
    const three = start({ home });
    await three.waitForTitle('Untitled - Qorva');
    await openRecentMenu(three);
    shot('open-recent-menu');
    await three.keys('Down', 'Return');
    await three.waitForTitle(`${first} - Qorva`);
    await closeWindow(three);
    const reordered = readSettings(home)[RECENT];
    assert.deepEqual(reordered.Document1, str(first));
    assert.deepEqual(reordered.Document2, str(second));

    // A stored maximum below 2 counts as 2: a third file drops the oldest entry.
    writeSettings(home, { ...readSettings(home), [RECENT]: { ...reordered, DocumentCount: dword(1) } });
    const third = join(home, 'third.text');
    writeFileSync(third, 'Third\r\n');
    const four = start({ home, args: [third] });
    await four.waitForTitle(`${third} - Qorva`);
    await closeWindow(four);
    const limited = readSettings(home)[RECENT];
    assert.deepEqual(limited.DocumentCount, dword(2));
    assert.deepEqual(limited.Document1, str(third));
    assert.deepEqual(limited.Document2, str(first));
    assert.equal(limited.Document3, undefined);
  });
});

test('a recent entry whose file is gone is reported and removed at once', async () => {
  const gone = '/no/such/folder/gone.text';
  const settings = { ...notFirstRun(), [RECENT]: { DocumentCount: dword(9), Document1: str(gone) } };
  await withDocument('recent-gone', null, async ({ desktop, home, shot }) => {
    await openRecentMenu(desktop);
    await desktop.keys('Return');
    await waitForDialog(desktop, 'Qorva');
    shot('file-does-not-exist');
    await desktop.keys('Return');
    await sleep(300);
    await openRecentMenu(desktop);
    shot('placeholder');
    await desktop.keys('Escape', 'Escape', 'Escape');
    await sleep(300);
    await closeWindow(desktop);
    assert.equal(readSettings(home)[RECENT].Document1, undefined);
  }, { settings });
});

// Windows of other processes that the program started; ended by their own ids.
function endOtherWindows(desktop) {
  const ids = desktop.xdotool('search', '--onlyvisible', '--name', 'Qorva').split('\n').filter(Boolean);
  for (const id of ids) {
    const pid = Number(desktop.xdotool('getwindowpid', id));
    if (pid && pid !== desktop.process.pid) {
      try { process.kill(pid, 'SIGTERM'); } catch { /* already gone */ }
    }
  }
}
