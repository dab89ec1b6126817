// Odd files and every way into the page other than typing, driven through the
// window: what cannot be opened leaves the document as it was, and content from
// other programs only ever arrives through the program's own paste, or not at
// all. A refused save is checked in document_lifecycle_test.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { truncateSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { withDocument, blockTexts, waitUntil, xclip } from './window_driver.mjs';

// Ctrl+O on `path`, answering No to "Save changes?".
async function openDiscardingChanges(desktop, path) {
  await desktop.keys('ctrl+o');
  await desktop.waitForFocus('Open');
  await desktop.type(path);
  await desktop.keys('Return');
  await desktop.answer('alt+n');
}

test('a file too large for the page or a binary one is refused and the modified document stays', async () => {
  await withDocument('odd-files', 'Kept words\r\n', async ({ desktop, home, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Kept words');
    await desktop.type('More ');
    await desktop.waitForTitle(`${file}* - Qorva`);

    const huge = join(home, 'huge.text');
    writeFileSync(huge, '');
    truncateSync(huge, 210 * 1000 * 1000);
    const binary = join(home, 'picture.text');
    // A PNG header and bytes spread like compressed data.
    const spread = Buffer.from(Array.from({ length: 4000 }, (_, i) => (i * 7919 + 13) % 256));
    writeFileSync(binary, Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n\0\0\0\rIHDR', 'latin1'), spread]));
    for (const refused of [huge, binary]) {
      await openDiscardingChanges(desktop, refused);
      await desktop.answer('Return');
      await desktop.waitForNoTitle(/^Qorva$/);
    }
    const doc = await desktop.settled('Still');
    assert.deepEqual(blockTexts(doc), ['More StillKept words']);
    assert.equal(desktop.frameWindow().title, `${file}* - Qorva`);
  });
});

test('a middle click and the Paste key bring content in only through the program\'s paste, the Copy key copies through its copy, and drops from another program are refused', async () => {
  await withDocument('ways-in', 'First\r\n', async ({ x, offer, desktop, home }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'First');
    const window = desktop.frameWindow();
    const inPage = [window.x + 250, window.y + 150];
    const blockOf = (doc, text) => doc.slice(1).find((block) => blockTexts([null, block])[0] === text);
    // The primary selection, with a middle click: HTML goes through Pandoc.
    await offer('<h2>Middle news</h2><p>An <strong>important</strong> word</p>', { selection: 'primary', type: 'text/html' });
    desktop.xdotool('mousemove', String(inPage[0]), String(inPage[1]), 'click', '2');
    let doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Middle news'));
    assert.equal(blockOf(doc, 'Middle news')[0], 'heading');
    assert.ok(JSON.stringify(doc).includes('["strong","important"]'), JSON.stringify(doc));

    await offer('<h3>Key news</h3>', { type: 'text/html' });
    await desktop.keys('XF86Paste');
    doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Key news'));
    assert.equal(blockOf(doc, 'Key news')[0], 'heading');

    // The Copy key copies the program's formats, the model among them.
    await desktop.keys('ctrl+a', 'XF86Copy');
    await waitUntil('the model on the clipboard',
      () => xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'TARGETS']).includes('application/x-qorva-model'));
    await desktop.keys('ctrl+End');

    // Drops from another program are refused: HTML, text, a file and an image.
    const before = blockTexts(await desktop.settled('Mark'));
    const image = join(home, 'pixel.png');
    writeFileSync(image, Buffer.from('89504e470d0a1a0a0000000d4948445200000001000000010806000000', 'hex'));
    const drags = [
      ['text/html', '<h1>Dropped</h1>', 'text/plain', 'Dropped'],
      ['text/uri-list', `file://${image}\nfile://${join(home, 'ways-in.text')}`],
    ];
    for (const data of drags) {
      const source = spawn(process.env.QORVA_DRAG_SOURCE, data, {
        env: { ...process.env, DISPLAY: x.display }, stdio: ['ignore', 'pipe', 'ignore'],
      });
      let said = '';
      source.stdout.on('data', (chunk) => { said += chunk; });
      try {
        await desktop.waitForTitle('Drag source');
        desktop.xdotool('mousemove', '--sync', '80', '80', 'mousedown', '1');
        await waitUntil('the drag to start', () => said.includes('drag started'));
        // Step by step, each move arriving before the next, for the drag to follow.
        for (let step = 1; step <= 10; step += 1) {
          const at = (from, to) => String(Math.round(from + ((to - from) * step) / 10));
          desktop.xdotool('mousemove', '--sync', at(80, inPage[0]), at(80, inPage[1]));
        }
        desktop.xdotool('mouseup', '1');
        // The drag reached the window and was refused there (action 0).
        await waitUntil('the drag to end', () => /drag ended: \d+/.test(said));
        assert.match(said, /drag ended: 0\n/, data[0]);
      } finally {
        source.kill();
      }
    }
    desktop.xdotool('windowfocus', '--sync', desktop.frameWindow().id);
    const afterDrops = await desktop.settled('Dust');
    assert.deepEqual(blockTexts(afterDrops).map((t) => t.replace('Dust', '')), before);
    assert.ok(!JSON.stringify(afterDrops).includes('Dropped') && !JSON.stringify(afterDrops).includes('pixel'));
  });
});
