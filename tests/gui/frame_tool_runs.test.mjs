// Pandoc runs that the window starts on its own (here a paste of HTML) can be
// stopped by the user: a run that does not end shows a progress window after a
// moment, and its Cancel ends Pandoc and gives the window back.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { makeHome, writeSettings, notFirstRun, withFrame, blockTexts, waitUntil, xclip } from './frame_helpers.mjs';

const alive = (pid) => {
  try { process.kill(pid, 0); return true; } catch { return false; }
};

test('a Pandoc run that does not end can be cancelled from its progress window, and the window works on', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  // A Pandoc that answers its version but never finishes a conversion.
  const bin = join(home, 'bin');
  mkdirSync(bin);
  const pidFile = join(home, 'pandoc.pid');
  writeFileSync(join(bin, 'pandoc'),
    `#!/bin/sh\ncase "$1" in --version) exec /usr/bin/pandoc "$@";; esac\necho $$ > '${pidFile}'\nexec sleep 600\n`,
    { mode: 0o755 });
  const file = join(home, 'kept.text');
  writeFileSync(file, 'Kept\r\n');
  await withFrame('tool-runs', async ({ x, start, shot }) => {
    const desktop = start({ home, args: [file], env: { PATH: `${bin}:${process.env.PATH}` } });
    await desktop.waitForTitle(`${file} - Qorva`);
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Kept');
    const owner = spawn('xclip', ['-i', '-selection', 'clipboard', '-t', 'text/html'], {
      env: { ...process.env, DISPLAY: x.display }, stdio: ['pipe', 'ignore', 'ignore'],
    });
    owner.stdin.end('<p><b>Never</b> pasted</p>');
    try {
      await waitUntil('the clipboard', () => xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'TARGETS']).includes('text/html'));
      await desktop.keys('ctrl+End', 'ctrl+v');
      await waitUntil('Pandoc at work', () => existsSync(pidFile), 20000);
      const pid = Number(readFileSync(pidFile, 'utf8'));
      await waitUntil('the progress window', () => desktop.windowTitles().includes('Qorva'), 20000);
      assert.ok(alive(pid), 'Pandoc still runs while its progress window shows');

      await desktop.keys('Escape');
      await waitUntil('Pandoc to be stopped', () => !alive(pid), 10000);
      // What the paste says of the stopped run is dismissed; then the window takes keys again.
      await waitUntil('the progress window to go', () => {
        if (desktop.windowTitles().includes('Qorva')) desktop.xdotool('key', 'Return');
        return !desktop.windowTitles().includes('Qorva');
      }, 10000);
      await desktop.type('Z');
      const doc = await desktop.waitForDocument((d) => blockTexts(d).join('').includes('Z'));
      assert.ok(!JSON.stringify(doc).includes('Never'), JSON.stringify(doc));
      assert.equal(blockTexts(doc)[0], 'Kept');
    } finally {
      owner.kill();
    }
  });
});
