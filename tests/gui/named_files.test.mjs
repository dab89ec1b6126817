// Files named on the command line, as a file manager opens them: the extension
// chooses the format, and several files open in a window each.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import { spawnSync } from 'node:child_process';
import { join } from 'node:path';
import { withDocument, withFrame, makeHome, writeSettings, notFirstRun, str, blockTexts, waitUntil } from './frame_helpers.mjs';

// One text that Pandoc Markdown, GitHub Markdown and the native format each read
// differently: only Pandoc takes the heading's attribute and the superscript, and
// only the native format keeps the tildes.
const text = '# Title {#id}\n\nA ~~gone~~ word and 2^10^.\n';
const pandoc = ['Title', 'A gone word and 210.'];
const github = ['Title {#id}', 'A gone word and 2^10^.'];
const native = ['Title {#id}', 'A ~~gone~~ word and 2^10^.'];

const cases = [
  { fileName: 'notes.md', settings: {}, expected: pandoc },
  { fileName: 'notes.MARKDOWN', settings: { MarkdownFormat: str('github') }, expected: github },
  { fileName: 'notes.text', settings: { DefaultFormat: str('pandoc') }, expected: native },
  { fileName: 'notes.txt', settings: { DefaultFormat: str('github') }, expected: github },
];

for (const { fileName, settings, expected } of cases) {
  test(`${fileName} with ${JSON.stringify(settings)} opens as its extension says`, async () => {
    await withDocument('named-file', text, async ({ desktop }) => {
      const doc = await desktop.waitForDocument((d) => Array.isArray(d) && d.length > 2);
      assert.deepEqual(blockTexts(doc), expected);
    }, { settings: notFirstRun(settings), fileName });
  });
}

test('several files, as a file manager hands them over, open in a window each, with the program\'s icon', async () => {
  const home = makeHome();
  writeSettings(home, notFirstRun());
  const first = join(home, 'first.md');
  const second = join(home, '-second.text');  // a name an option parser could mistake
  writeFileSync(first, '# First\n');
  writeFileSync(second, '# Second\n');
  await withFrame('named-files', async ({ start }) => {
    const desktop = start({ home, args: [first, second] });
    const titles = [`${first} - Qorva`, `${second} - Qorva`];
    await waitUntil(`windows titled ${titles.join(' and ')} (seen: ${desktop.windowTitles().join(' | ')})`,
      () => titles.every((title) => desktop.windowTitles().includes(title)), 60000);
    // The second window is a process of its own, started by the first.
    const ids = desktop.xdotool('search', '--onlyvisible', '--name', ' - Qorva$').split('\n').filter(Boolean);
    const id = ids.find((candidate) => desktop.xdotool('getwindowname', candidate) === titles[1]);
    const pid = Number(desktop.xdotool('getwindowpid', id));
    assert.ok(pid > 0 && pid !== desktop.process.pid, 'another process shows the second file');
    // The window carries the program's icon in its sizes for the task bar.
    const icon = spawnSync('xprop', ['-id', id, '_NET_WM_ICON'], { env: { ...process.env, DISPLAY: desktop.x.display }, encoding: 'utf8' });
    for (const size of [16, 32, 48]) assert.match(icon.stdout, new RegExp(`Icon \\(${size} x ${size}\\)`));
    spawnSync('kill', [String(pid)]);
  });
});
