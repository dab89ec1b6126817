// Pandoc runs that the window starts on its own (here a paste of HTML) can be
// stopped by the user: a run that does not end shows a progress window after a
// moment, and its Cancel ends Pandoc and gives the window back.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { withDocument, blockTexts, waitUntil } from './window_driver.mjs';

const alive = (pid) => {
  try { process.kill(pid, 0); return true; } catch { return false; }
};

// A Pandoc that answers its version but never finishes a conversion.
const endlessPandoc = (pidFile) =>
  `#!/bin/sh\ncase "$1" in --version) exec /usr/bin/pandoc "$@";; esac\necho $$ > '${pidFile}'\nexec sleep 600\n`;

test('a Pandoc run that does not end can be cancelled from its progress window, and the window works on', async () => {
  const bin = mkdtempSync(join(tmpdir(), 'qorva-pandoc-'));
  const pidFile = join(bin, 'pandoc.pid');
  writeFileSync(join(bin, 'pandoc'), endlessPandoc(pidFile), { mode: 0o755 });
  await withDocument('tool-runs', 'Kept\r\n', async ({ desktop, offer }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Kept');
    await offer('<p><b>Never</b> pasted</p>', { type: 'text/html' });
    await desktop.keys('ctrl+End', 'ctrl+v');
    await waitUntil('Pandoc at work', () => existsSync(pidFile));
    const pid = Number(readFileSync(pidFile, 'utf8'));
    await desktop.waitForFocus('Qorva');
    assert.ok(alive(pid), 'Pandoc still runs while its progress window shows');

    await desktop.keys('Escape');
    await waitUntil('Pandoc to be stopped', () => !alive(pid));
    // What the paste says of the stopped run is dismissed; then the window takes keys again.
    await waitUntil('the progress window to go', () => {
      if (desktop.windowTitles().includes('Qorva')) desktop.xdotool('key', 'Return');
      return !desktop.windowTitles().includes('Qorva');
    });
    const doc = await desktop.settled('Z');
    assert.ok(!JSON.stringify(doc).includes('Never'), JSON.stringify(doc));
    assert.equal(blockTexts(doc)[0], 'Kept');
  }, { env: { PATH: `${bin}:${process.env.PATH}` } });
});
