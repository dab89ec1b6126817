// Following links (Ctrl+Enter) in the window: a program or script behind a link is
// asked about and never run, however the link names it; a text that merely holds a
// known scheme somewhere is no web address.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, writeFileSync, mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { withDocument } from './window_driver.mjs';

// Opens `path` with Ctrl+O and follows the link at the start of the document.
async function followFirstLinkOf(desktop, path) {
  await desktop.keys('ctrl+o');
  await desktop.waitForFocus(/^Open/);
  await desktop.keys('ctrl+a');
  await desktop.type(path);
  await desktop.keys('Return');
  await desktop.waitForTitle(`${path} - Qorva`);
  await desktop.keys('ctrl+Home', 'ctrl+Return');
}

test('a link to a script asks before anything and runs nothing; a disguised scheme is refused', async () => {
  await withDocument('links', null, async ({ desktop, home }) => {
    const folder = join(home, 'docs');
    mkdirSync(folder);
    const marker = join(home, 'ran');
    const script = join(folder, 'notes.txt');   // a script, whatever its name says
    writeFileSync(script, `#!/bin/sh\ntouch '${marker}'\n`, { mode: 0o755 });
    const cases = [
      ['relative', '<notes.txt>\n'],
      ['file URL climbing above the root', `<file:///../..${script}>\n`],
    ];
    for (const [what, text] of cases) {
      const path = join(folder, `${what.split(' ')[0]}.text`);
      writeFileSync(path, text);
      await followFirstLinkOf(desktop, path);
      await desktop.answer('Return');   // No is the default
      await desktop.waitForNoTitle(/^Qorva$/);
    }

    const disguised = join(folder, 'disguised.text');
    writeFileSync(disguised, '<javascript:alert(1)//http://a.b>\n');
    await followFirstLinkOf(desktop, disguised);
    await desktop.answer('Return', 'Error');
    // By now the answers above have long been acted on.
    assert.equal(existsSync(marker), false, 'no link ran the script');
  });
});
