// Strangers' content in the window: content from other programs only ever
// arrives through the program's own paste, or not at all, a link never runs what
// it names, and a Pandoc run that does not end can be stopped.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { createServer } from 'node:http';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { withDocument, blockTexts, waitUntil, xclip } from './window_driver.mjs';

// Drags `data` from another program to `to` on the screen; the action the window took (0: refused).
// A drop that should be taken waits, before the button is let go, for the target to say it would
// take it. The source sends no position while an answer is outstanding, so under load the last
// answer can be for a point on the way; nudging the pointer asks again for the point itself.
async function dragInto(x, desktop, to, data, { accepted = false } = {}) {
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
      const at = (from, target) => String(Math.round(from + ((target - from) * step) / 10));
      desktop.xdotool('mousemove', '--sync', at(80, to[0]), at(80, to[1]));
    }
    let nudge = 0;
    if (accepted) await waitUntil('the page to take the drop', () => /drag action: [1-9]/.test(said) ||
      void desktop.xdotool('mousemove', '--sync', String(to[0] + (nudge ^= 1)), String(to[1])));
    desktop.xdotool('mouseup', '1');
    await waitUntil('the drag to end', () => /drag ended: \d+/.test(said));
    return Number(said.match(/drag ended: (\d+)/)[1]);
  } finally {
    source.kill();
  }
}

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
    desktop.keys('XF86Paste');
    doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Key news'));
    assert.equal(blockOf(doc, 'Key news')[0], 'heading');

    // Pasted HTML fetches nothing: Pandoc reads it without the network.
    const requests = [];
    const server = createServer((request, answer) => {
      requests.push(request.url);
      answer.writeHead(200, { 'Content-Type': 'text/html' }).end('<p>Fetched from the server</p>');
    });
    await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
    try {
      await offer(`<p>Framed news</p><iframe src="http://127.0.0.1:${server.address().port}/a"></iframe>`, { type: 'text/html' });
      await waitUntil('the new offer', () => xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'text/html']).includes('Framed'));
      desktop.keys('ctrl+v');
      doc = await desktop.waitForDocument((d) => blockTexts(d).includes('Framed news'));
      assert.ok(!JSON.stringify(doc).includes('Fetched'), JSON.stringify(doc));
      assert.deepEqual(requests, []);
    } finally {
      server.close();
    }

    // The Copy key copies the program's formats, the model among them.
    desktop.keys('ctrl+a', 'XF86Copy');
    await waitUntil('the model on the clipboard',
      () => xclip(x.display, ['-o', '-selection', 'clipboard', '-t', 'TARGETS']).includes('application/x-qorva-model'));
    desktop.keys('ctrl+End');

    // Drops from another program are refused: HTML, text, and files not all pictures.
    const before = blockTexts(await desktop.settled('Mark'));
    const image = join(home, 'pixel.png');
    writeFileSync(image, Buffer.from('89504e470d0a1a0a0000000d4948445200000001000000010806000000', 'hex'));
    const drags = [
      ['text/html', '<h1>Dropped</h1>', 'text/plain', 'Dropped'],
      ['text/uri-list', `file://${image}\nfile://${join(home, 'ways-in.text')}`],
    ];
    for (const data of drags) assert.equal(await dragInto(x, desktop, inPage, data), 0, data[0]);
    desktop.xdotool('windowfocus', '--sync', desktop.frameWindow().id);
    const afterDrops = await desktop.settled('Dust');
    assert.deepEqual(blockTexts(afterDrops).map((t) => t.replace('Dust', '')), before);
    assert.ok(!JSON.stringify(afterDrops).includes('Dropped') && !JSON.stringify(afterDrops).includes('pixel'));
  });
});

test('a pasted screenshot and a picture dropped from elsewhere are saved in images/ beside the document and shown there', async () => {
  const png = execFileSync('/usr/bin/convert', ['-size', '8x8', 'xc:#00ff00', 'png:-']);
  await withDocument('pictures', 'Intro\n', async ({ x, offer, desktop, home }) => {
    const images = join(home, 'doc', 'images');
    const outside = join(home, 'red.png');
    writeFileSync(outside, png);
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Intro');
    await offer(png, { type: 'image/png' });
    desktop.keys('ctrl+End', 'ctrl+v');
    await desktop.waitForDocument((d) => JSON.stringify(d).includes('images/image-1.png'));
    // Dropped after the first line's text: copied, and inserted there.
    const window = desktop.frameWindow();
    assert.equal(await dragInto(x, desktop, [window.x + 300, window.y + 42], ['text/uri-list', `file://${outside}`],
      { accepted: true }), 1);
    const doc = await desktop.waitForDocument((d) => JSON.stringify(d).includes('images/red.png'));
    assert.deepEqual(blockTexts(doc), ['Intro', 'images/red.png', 'images/image-1.png']);
    assert.deepEqual([readFileSync(join(images, 'image-1.png')), readFileSync(join(images, 'red.png'))], [png, png]);
    assert.equal(statSync(images).mode & 0o777, 0o755);
  }, { fileName: 'doc/pictures.text' });
});

// Opens `path` with Ctrl+O and follows the link at the start of the document.
async function followFirstLinkOf(desktop, path) {
  await desktop.keys('ctrl+o').waitForFocus(/^Open/);
  await desktop.keys('ctrl+a').type(path).keys('Return').waitForTitle(`${path} - Qorva`);
  desktop.keys('ctrl+Home', 'ctrl+Return');
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
      await desktop.dismiss('Return');   // No is the default
    }

    const disguised = join(folder, 'disguised.text');
    writeFileSync(disguised, '<javascript:alert(1)//http://a.b>\n');
    await followFirstLinkOf(desktop, disguised);
    await desktop.answer('Return', 'Error');
    // By now the answers above have long been acted on.
    assert.equal(existsSync(marker), false, 'no link ran the script');
  });
});

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
    desktop.keys('ctrl+End', 'ctrl+v');
    await waitUntil('Pandoc at work', () => existsSync(pidFile));
    const pid = Number(readFileSync(pidFile, 'utf8'));
    await desktop.waitForFocus('Qorva');
    assert.ok(alive(pid), 'Pandoc still runs while its progress window shows');

    desktop.keys('Escape');
    await waitUntil('Pandoc to be stopped', () => !alive(pid));
    // What the paste says of the stopped run is dismissed; then the window takes keys again.
    await waitUntil('the progress window to go', () => {
      if (desktop.windowTitles().includes('Qorva')) desktop.xdotool('key', 'Return');
      return !desktop.windowTitles().includes('Qorva');
    });
    // Typed at the end of the document's text, where Ctrl+End left the caret.
    const doc = await desktop.settled('Z');
    assert.ok(!JSON.stringify(doc).includes('Never'), JSON.stringify(doc));
    assert.deepEqual(blockTexts(doc), ['KeptZ']);
  }, { env: { PATH: `${bin}:${process.env.PATH}` } });
});
