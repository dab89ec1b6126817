// Every way of closing the window ends the program, whatever "Save changes?" was
// answered: the close button, Ctrl+W and File > Exit, on an unmodified document
// and after Yes or No. Each run waits for the process itself to end and checks the
// file it leaves and that no recovery file stays behind.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  withDocument, menuItem, MENU_SIZE, waitForDialog, ended, frameWindow, recoveryFiles,
} from './frame_helpers.mjs';

const CLOSES = {
  'close button': async (desktop) => {
    const window = frameWindow(desktop);
    assert.ok(window, 'the frame window is there');
    const sent = spawnSync(process.env.QORVA_CLOSE_WINDOW, [window.id], { env: { ...process.env, DISPLAY: desktop.x.display } });
    assert.equal(sent.status, 0, 'the close request was sent');
  },
  'Ctrl+W': (desktop) => desktop.keys('ctrl+w'),
  'File > Exit': async (desktop) => {
    await menuItem(desktop, 'alt+f', MENU_SIZE.file, MENU_SIZE.file - 1);
    await desktop.keys('Return');
  },
};

for (const [how, close] of Object.entries(CLOSES)) {
  test(`${how}: the program ends unmodified, after No (file untouched) and after Yes (file saved)`, { skip: how === 'close button' && !process.env.QORVA_CLOSE_WINDOW }, async () => {
    for (const answer of [null, 'alt+n', 'alt+y']) {
      const name = `exit-${how.replace(/\W+/g, '-')}-${answer || 'unmodified'}`;
      await withDocument(name, 'Kept text\r\n', async ({ desktop, home, file }) => {
        await desktop.waitForDocument((d) => d.length > 1);
        if (answer) {
          await desktop.type('New ');
          await desktop.waitForTitle(`${file}* - Qorva`);
        }
        await close(desktop);
        if (answer) {
          await waitForDialog(desktop, 'Qorva');
          await desktop.keys(answer);
        }
        await ended(desktop);
        assert.equal(readFileSync(file, 'utf8'), answer === 'alt+y' ? 'New Kept text\r\n' : 'Kept text\r\n');
        assert.deepEqual(recoveryFiles(home), []);
      });
    }
  });
}

test('Yes on an untitled document: the program ends once Save As has written the file', async () => {
  await withDocument('exit-untitled-save-as', null, async ({ desktop, home }) => {
    const file = join(home, 'named.text');
    await desktop.type('Fresh');
    await desktop.waitForTitle('Untitled* - Qorva');
    await desktop.keys('ctrl+w');
    await waitForDialog(desktop, 'Qorva');
    await desktop.keys('alt+y');
    await waitForDialog(desktop, 'Save As');
    await desktop.type(file);
    await desktop.keys('Return');
    await ended(desktop);
    assert.equal(readFileSync(file, 'utf8'), 'Fresh\r\n');
  });
});
