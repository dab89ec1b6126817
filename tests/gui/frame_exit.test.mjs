// Every way of closing the window ends the program: each close path runs once,
// each with another answer to "Save changes?", and each leaves the file as that
// answer says and no recovery file behind.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { withDocument, recoveryFiles, blockTexts } from './window_driver.mjs';

// As a window manager's close button asks.
const closeButton = (desktop) => {
  const sent = spawnSync(process.env.QORVA_CLOSE_WINDOW, [desktop.frameWindow().id], { env: { ...process.env, DISPLAY: desktop.x.display } });
  assert.equal(sent.status, 0, 'the close request was sent (QORVA_CLOSE_WINDOW names x_close_window)');
};
const fileQuit = (desktop) => desktop.menuItem('alt+f', 12, 11).then(() => desktop.keys('Return'));

const RUNS = [
  { how: 'close button', close: closeButton, answer: null, saved: 'Kept text\r\n' },
  { how: 'File > Quit', close: fileQuit, answer: 'alt+n', saved: 'Kept text\r\n' },
  { how: 'Ctrl+W', close: (desktop) => desktop.keys('ctrl+w'), answer: 'alt+y', saved: 'New Kept text\r\n' },
];

for (const { how, close, answer, saved } of RUNS) {
  test(`${how} ends the program ${answer ? `after ${answer}` : 'unmodified'}`, async () => {
    await withDocument(`exit-${how.replace(/\W+/g, '-')}`, 'Kept text\r\n', async ({ desktop, home, file }) => {
      await desktop.waitForDocument((d) => d.length > 1);
      // All typed before the question, which would take keys still queued.
      if (answer) await desktop.type('New ').waitForDocument((d) => blockTexts(d)[0] === 'New Kept text');
      await close(desktop);
      if (answer) await desktop.answer(answer);
      await desktop.ended();
      assert.equal(readFileSync(file, 'utf8'), saved);
      assert.deepEqual(recoveryFiles(home), []);
    });
  });
}

test('Yes on an untitled document: the program ends once Save As has written the file', async () => {
  await withDocument('exit-untitled-save-as', null, async ({ desktop, home }) => {
    const file = join(home, 'named.text');
    await desktop.type('Fresh').waitForDocument((d) => blockTexts(d)[0] === 'Fresh');
    await desktop.keys('ctrl+q').answer('alt+y');
    await desktop.waitForFocus('Save As');
    desktop.type(file).keys('Return');
    await desktop.ended();
    assert.equal(readFileSync(file, 'utf8'), 'Fresh\n');   // a new file's lines end in LF
  });
});
