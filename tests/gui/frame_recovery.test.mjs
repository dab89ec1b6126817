// Unsaved work survives a kill: the window keeps a recovery file while its
// document is modified, and the next start offers to restore it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { withDocument, waitUntil, blockTexts, recoveryFiles } from './window_driver.mjs';

async function killAfterRecovery(desktop, home, typed) {
  await waitUntil('the recovery file', () => recoveryFiles(home).find(([, text]) => text.includes(typed)));
  desktop.process.kill('SIGKILL');
  await desktop.exited;
}

test('kill -9: the next start restores the typed text, modified under its path, and the file stays as it was until saved', async () => {
  await withDocument('recovery-restore', 'On disk\r\n', async ({ start, desktop, home, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d).length > 0);
    await desktop.keys('End');
    await desktop.type(' and more');
    const typed = await desktop.waitForDocument((d) => blockTexts(d).join('').includes('and more'));
    await killAfterRecovery(desktop, home, 'and more');

    const again = start({ home });
    await again.answer('alt+y');
    await again.waitForTitle(`${file}* - Qorva`);
    assert.deepEqual(await again.waitForDocument((d) => blockTexts(d).join('').includes('and more')), typed);
    assert.equal(readFileSync(file, 'utf8'), 'On disk\r\n');
    await waitUntil('only the new window\'s recovery file', () => recoveryFiles(home).length === 1);

    await again.keys('ctrl+s');
    await again.waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'On disk and more\r\n');
    await waitUntil('no recovery file after the save', () => recoveryFiles(home).length === 0);
  });
});

test('Cancel keeps the recovery file for the next start, No discards it', async () => {
  await withDocument('recovery-discard', null, async ({ start, desktop, home }) => {
    await desktop.type('Scratch');
    await desktop.waitForTitle('Untitled* - Qorva');
    await killAfterRecovery(desktop, home, 'Scratch');

    const second = start({ home });
    await second.answer('Escape');
    await second.waitForTitle('Untitled - Qorva');
    assert.equal(recoveryFiles(home).length, 1);
    await second.close();

    const third = start({ home });
    await third.answer('alt+n');
    await third.waitForTitle('Untitled - Qorva');
    assert.deepEqual(recoveryFiles(home), []);
  });
});
