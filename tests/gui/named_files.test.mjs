// Files named on the command line, as a file manager opens them: the extension
// chooses the format, and several files open in a window each.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { join } from 'node:path';
import { withDocument, withFrame, makeHome, notFirstRun, str, blockTexts, waitUntil } from './window_driver.mjs';

// A text GitHub Markdown reads in its own way: the tildes strike through, the
// heading's attribute and the superscript stay text.
const text = '# Title {#id}\n\nA ~~gone~~ word and 2^10^.\n';

test('notes.MARKDOWN with MarkdownFormat "github" opens in GitHub Markdown, as its extension says', async () => {
  await withDocument('named-file', text, async ({ desktop }) => {
    const doc = await desktop.waitForDocument((d) => Array.isArray(d) && d.length > 2);
    assert.deepEqual(blockTexts(doc), ['Title {#id}', 'A gone word and 2^10^.']);
  }, { settings: notFirstRun({ MarkdownFormat: str('github') }), fileName: 'notes.MARKDOWN' });
});

test('several files, as a file manager hands them over, open in a window each, with the program\'s icon', async () => {
  // The second name is one an option parser could mistake.
  const home = makeHome({ files: { 'first.md': '# First\n', '-second.text': '# Second\n' } });
  const titles = ['first.md', '-second.text'].map((name) => `${join(home, name)} - Qorva`);
  await withFrame('named-files', async ({ start }) => {
    const desktop = start({ home, args: [join(home, 'first.md'), join(home, '-second.text')] });
    await desktop.waitForTitle(titles[0], 60000);
    // The window may be made anew once its page starts, so it is looked up each time.
    const second = () => desktop.windows().find((w) => w.title === titles[1]);
    const iconOf = (id) => spawnSync('xprop', ['-id', id, '_NET_WM_ICON'], { env: { ...process.env, DISPLAY: desktop.x.display }, encoding: 'utf8' }).stdout;
    const icon = await waitUntil('the second window with its icon', () => {
      const text = second() ? iconOf(second().id) : '';
      return /^_NET_WM_ICON\(CARDINAL\)/.test(text) && text;
    }, 60000);
    const pid = Number(desktop.xdotool('getwindowpid', second().id));
    try {
      assert.ok(pid && pid !== desktop.process.pid, 'another process shows the second file');
      // The program's icon in its sizes for the task bar.
      for (const size of [16, 32, 48]) assert.match(icon, new RegExp(`Icon \\(${size} x ${size}\\)`));
    } finally {
      if (pid) process.kill(pid, 'SIGTERM');
    }
  });
});
