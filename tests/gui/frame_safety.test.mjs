// Odd files and every way into the page other than typing, driven through the
// window: what cannot be opened leaves the document as it was, what cannot be
// saved over is not, and content from other programs only ever arrives through
// the program's own paste, or not at all.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { chmodSync, readFileSync, truncateSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  withDocument, blockTexts, waitForDialog, frameWindow, sleep, waitUntil, xclip,
} from './frame_helpers.mjs';

// Ctrl+O on `path`, answering No to "Save changes?".
async function openDiscardingChanges(desktop, path) {
  await desktop.keys('ctrl+o');
  await waitForDialog(desktop, 'Open');
  await desktop.type(path);
  await desktop.keys('Return');
  await waitForDialog(desktop, 'Qorva');
  await desktop.keys('alt+n');
}

// Types a marker and waits for it: whatever came before it has reached the page.
async function settled(desktop, marker) {
  await desktop.type(marker);
  return desktop.waitForDocument((d) => JSON.stringify(d).includes(marker));
}

test('a file too large for the page or a binary one is refused and the modified document stays; one not UTF-8 opens modified; a read-only one is not saved over', async () => {
  await withDocument('odd-files', 'Kept words\r\n', async ({ desktop, home, file, shot }) => {
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
      await waitForDialog(desktop, 'Qorva');
      shot(`refused-${refused === huge ? 'huge' : 'binary'}`);
      await desktop.keys('Return');
      await desktop.waitForTitle(`${file}* - Qorva`);
    }
    let doc = await settled(desktop, 'Still');
    assert.deepEqual(blockTexts(doc), ['More StillKept words']);

    const latin1 = join(home, 'latin1.text');
    writeFileSync(latin1, Buffer.from('caf\xe9 cr\xe8me\r\n', 'latin1'));
    chmodSync(latin1, 0o444);
    await openDiscardingChanges(desktop, latin1);
    await waitForDialog(desktop, 'Qorva');
    shot('not-utf8');
    await desktop.keys('Return');
    await desktop.waitForTitle(`${latin1}* - Qorva`);
    doc = await desktop.waitForDocument((d) => blockTexts(d)[0]?.startsWith('caf'));
    assert.deepEqual(blockTexts(doc), ['caf\uFFFD cr\uFFFDme']);

    // Saving over the read-only file is refused with the system's reason.
    await desktop.keys('ctrl+s');
    await waitForDialog(desktop, 'Qorva');
    shot('read-only');
    await desktop.keys('Return');
    await desktop.waitForTitle(`${latin1}* - Qorva`);
    assert.deepEqual(readFileSync(latin1), Buffer.from('caf\xe9 cr\xe8me\r\n', 'latin1'));
  });
});

test('a middle click and the Paste key bring content in only through the program\'s paste, the Copy key copies through its copy, and drops from another program are refused', async () => {
  await withDocument('ways-in', 'First\r\n', async ({ x, desktop, home, shot }) => {
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'First');
    const window = frameWindow(desktop);
    const inPage = [window.x + 250, window.y + 150];
    // xclip keeps a selection in a process of its own until another owner comes.
    const owners = [];
    const offer = async (selection, html) => {
      const owner = spawn('xclip', ['-i', '-selection', selection, '-t', 'text/html'], {
        env: { ...process.env, DISPLAY: x.display }, stdio: ['pipe', 'ignore', 'ignore'],
      });
      owner.stdin.end(html);
      owners.push(owner);
      await waitUntil(`the ${selection} selection`,
        () => xclip(x.display, ['-o', '-selection', selection, '-t', 'TARGETS']).includes('text/html'));
    };
    const blockOf = (doc, text) => doc.slice(1).find((block) => blockTexts([null, block])[0] === text);
    try {
      // The primary selection, with a middle click: HTML goes through Pandoc.
      await offer('primary', '<h2>Middle news</h2><p>An <strong>important</strong> word</p>');
      desktop.xdotool('mousemove', String(inPage[0]), String(inPage[1]), 'click', '2');
      let doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Middle news'));
      assert.equal(blockOf(doc, 'Middle news')[0], 'heading');
      assert.ok(JSON.stringify(doc).includes('["strong","important"]'), JSON.stringify(doc));

      // The keyboard's Paste key.
      await offer('clipboard', '<h3>Key news</h3>');
      await desktop.keys('XF86Paste');
      doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Key news'));
      assert.equal(blockOf(doc, 'Key news')[0], 'heading');

      // The Copy key copies the program's formats, the model among them.
      await desktop.keys('ctrl+a', 'XF86Copy');
      await waitUntil('the model on the clipboard',
        () => xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'TARGETS']).includes('application/x-qorva-model'));
      await desktop.keys('ctrl+End');
    } finally {
      for (const owner of owners) owner.kill();
    }

    // Drops from another program are refused: HTML, text, a file and an image.
    const before = blockTexts(await settled(desktop, 'Mark'));
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
        desktop.xdotool('mousemove', '80', '80', 'mousedown', '1');
        for (let step = 1; step <= 10; step += 1) {
          const at = (from, to) => String(Math.round(from + ((to - from) * step) / 10));
          desktop.xdotool('mousemove', at(80, inPage[0]), at(80, inPage[1]));
          await sleep(50);  // the pace of a hand, for the drag to follow
        }
        desktop.xdotool('mouseup', '1');
        // The drag reached the window and was refused there (action 0).
        await waitUntil('the drag to end', () => /drag ended: \d+/.test(said));
        assert.match(said, /drag ended: 0\n/, data[0]);
      } finally {
        source.kill();
      }
    }
    const focus = desktop.xdotool('search', '--onlyvisible', '--name', 'ways-in.text').split('\n').filter(Boolean);
    for (const id of focus) desktop.xdotool('windowactivate', '--sync', id);
    const afterDrops = await settled(desktop, 'Dust');
    assert.deepEqual(blockTexts(afterDrops).map((t) => t.replace('Dust', '')), before);
    assert.ok(!JSON.stringify(afterDrops).includes('Dropped') && !JSON.stringify(afterDrops).includes('pixel'));
  });
});
