// The window itself: the title with its counts, full screen, the Help menu's
// windows, and the recent documents across restarts, driven with real key events.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  withFrame, withDocument, makeHome, readSettings, waitUntil, str, dword,
} from './window_driver.mjs';

// "&Window": Full Screen, Font, Themes, Display Word Count, Display Character Count, Outline,
// Focus Mode, Typewriter Mode.
const windowMenuItem = (desktop, index) => desktop.menuItem('alt+w', 8, index).then(() => desktop.keys('Return'));

// The pixels of the status line at the window's bottom, from `left` on.
const statusLine = (desktop, left = 0) => {
  const { id, width, height } = desktop.frameWindow();
  return spawnSync('import', ['-window', id, '-crop', `${width - left}x16+${left}+${height - 18}`, 'rgb:-'],
    { env: { ...process.env, DISPLAY: desktop.x.display } }).stdout.toString('base64');
};

async function closeWindow(desktop) {
  desktop.keys('ctrl+w');
  await desktop.ended();
}

test('the title and the status line show word and character counts, also of a selection, and the title display switches off again', async () => {
  await withDocument('counts', 'one two three\r\n', async ({ desktop, home, file }) => {
    await desktop.waitForDocument((d) => d.length > 1);
    const unselected = await waitUntil('the status line', () => statusLine(desktop));
    await desktop.keys('shift+ctrl+Right');
    await waitUntil('the selection in the status line', () => statusLine(desktop) !== unselected);
    await desktop.keys('Left');
    await waitUntil('the status line without it', () => statusLine(desktop) === unselected);
    await windowMenuItem(desktop, 3);
    await desktop.waitForTitle(`${file} - Qorva - 3 Words`);
    assert.deepEqual(readSettings(home)['Software\\Qorva'].Info, str('words'));
    await desktop.keys('shift+ctrl+Right').waitForTitle(/ - 1 Word Selected$/);
    await desktop.keys('Left').waitForTitle(`${file} - Qorva - 3 Words`);

    await windowMenuItem(desktop, 4);
    await desktop.waitForTitle(`${file} - Qorva - 13 Characters`);
    await windowMenuItem(desktop, 4);
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.deepEqual(readSettings(home)['Software\\Qorva'].Info, str(''));
  });
});

test('About shows its box; New and Welcome to Qorva open windows of their own', async () => {
  await withDocument('help', null, async ({ desktop }) => {
    await desktop.menuItem('alt+h', 5, 0);
    await desktop.keys('Return').dismiss('Return', 'About');
    const untitledWindows = () => desktop.windowTitles().filter((t) => t === 'Untitled - Qorva').length;
    desktop.keys('ctrl+n');
    await desktop.waitSeeingWindows('a second untitled window', () => untitledWindows() === 2);
    await desktop.menuItem('alt+h', 5, 2);
    await desktop.keys('Return').waitForTitle('Welcome - Qorva');
    assert.equal(desktop.process.exitCode, null, 'the first window stays');
    // The other windows are processes of their own, ended by their ids.
    for (const { id } of desktop.windows().filter((w) => / - Qorva$/.test(w.title))) {
      const pid = Number(desktop.xdotool('getwindowpid', id));
      if (pid && pid !== desktop.process.pid) process.kill(pid, 'SIGTERM');
    }
  });
});

test('F11 twice restores the window', async () => {
  await withDocument('full-screen', null, async ({ desktop }) => {
    const windowWhen = (what, fits) =>
      waitUntil(what, () => { const w = desktop.frameWindow(); return w && fits(w) && w; });
    const before = desktop.frameWindow();
    desktop.keys('F11');
    const full = await windowWhen('full screen', (w) => w.width === 1280 && w.height === 800);
    assert.deepEqual([full.x, full.y], [0, 0]);
    desktop.keys('F11');
    const after = await windowWhen('the old geometry', (w) => w.width === before.width && w.height === before.height);
    assert.deepEqual([after.x, after.y], [before.x, before.y]);
  });
});

test('the recent list keeps its order across restarts, is written when the window closes and opens from Open Recent; the window comes back as it was left', async () => {
  const home = makeHome({ settings: { 'Software\\Qorva': { LastRunVersion: str('0.1.0') } },
    files: { 'first.text': 'First\r\n', 'second.text': 'Second\r\n' } });
  const [first, second] = ['first', 'second'].map((name) => join(home, `${name}.text`));
  const recent = () => readSettings(home)['Software\\Qorva\\Recent Document List'];
  const geometry = (program) => { const w = program.frameWindow(); return w && [w.x, w.y, w.width, w.height].join(); };
  await withFrame('recent-order', async ({ start }) => {
    for (const file of [first, second]) {
      const program = start({ home, args: [file] });
      await program.waitForTitle(`${file} - Qorva`);
      if (file === first) {
        // The first window is a share of the 1280x800 screen, centred.
        assert.equal(geometry(program), '256,60,768,680');
        const { id } = program.frameWindow();
        program.xdotool('windowsize', id, 900, 600);
        program.xdotool('windowmove', id, 40, 30);
        await waitUntil('the window moved', () => geometry(program) === '40,30,900,600');
        program.keys('ctrl+shift+o');
      }
      await closeWindow(program);
    }
    // Each entry keeps the format its file was opened in.
    assert.deepEqual(recent(), { DocumentCount: dword(9), Document1: str(second), Format1: str('text'),
      Document2: str(first), Format2: str('text') });
    const { WindowGeometry, Outline } = readSettings(home)['Software\\Qorva'];
    assert.deepEqual([WindowGeometry, Outline], [str('40,30,900,600'), dword(1)], 'the second window kept what the first left');

    const untitled = start({ home });
    await untitled.waitForTitle('Untitled - Qorva');
    assert.equal(geometry(untitled), '40,30,900,600');
    await untitled.openSubmenu('alt+f', 12, 2);   // "&File" > "Open Recent"
    await untitled.keys('Down', 'Return').waitForTitle(`${first} - Qorva`);
    await closeWindow(untitled);
    assert.deepEqual([recent().Document1, recent().Document2], [str(first), str(second)]);
  });
});

test('Preferences (Ctrl+,) store each change at once and the window follows; a titled document then saves itself when typing pauses, but never over a file changed behind its back', async () => {
  await withDocument('prefs', 'one\n', async ({ desktop, home, file }) => {
    const stored = () => readSettings(home)['Software\\Qorva'];
    const page = () => { const { id } = desktop.frameWindow(); return spawnSync('import', ['-window', id, 'rgb:-'],
      { env: { ...process.env, DISPLAY: desktop.x.display } }).stdout.toString('base64'); };
    await desktop.waitForDocument((d) => d.length > 1);
    const plain = page();
    await desktop.keys('ctrl+comma').waitForFocus('Preferences');
    desktop.keys('alt+t', 'Down', 'alt+z', 'Up', 'alt+u', 'alt+a', 'alt+b', 'ctrl+a').type('3').keys('Tab');
    await waitUntil('the settings', () => stored().AutoSaveDelay?.data === 3);
    desktop.screenshot('preferences');
    const { Theme, Zoom, AutoSave } = stored();
    assert.notEqual(Theme.data, 'Default');
    assert.deepEqual([Zoom, AutoSave, stored()['Updates\\CheckForUpdates']], [str('1.100000'), dword(1), str('0')]);
    await desktop.keys('Escape').waitForNoTitle(/^Preferences$/);
    await waitUntil('the page restyled', () => page() !== plain);

    await desktop.keys('End').settled(' two');
    await desktop.waitForTitle(`${file} - Qorva`);
    assert.match(readFileSync(file, 'utf8'), /one two/);

    // Changed on disk while the document holds changes: Return keeps them, and nothing is written.
    const noNote = statusLine(desktop, 400);
    await desktop.settled(' three');
    writeFileSync(file, 'outside\n');
    await desktop.dismiss('Return');
    await waitUntil('the note in the status line', () => statusLine(desktop, 400) !== noNote);
    assert.equal(readFileSync(file, 'utf8'), 'outside\n');
    await desktop.waitForTitle(`${file}* - Qorva`);
  });
});

// The frame's page area right of the caret's column (a blinking caret would never let it settle), as
// raw pixels; and how many pixels of it, in the band below the menu bar, have the heading colour.
const pageArea = (desktop, height) => {
  const { id, width, height: frameHeight } = desktop.frameWindow();
  return spawnSync('import', ['-window', id, '-crop', `${width - 300}x${height || frameHeight - 60}+270+20`, '-depth', '8', 'rgb:-'],
    { env: { ...process.env, DISPLAY: desktop.x.display } }).stdout;
};
const HEADING_RGB = [0x51, 0x83, 0xc4];
const headingPixelsAtTop = (desktop) => pageArea(desktop, 70).reduce((count, _, i, band) =>
  count + (i % 3 === 0 && HEADING_RGB.every((c, k) => Math.abs(band[i + k] - c) < 12) ? 1 : 0), 0);

test('a heading chosen in the outline stays at the top of the view while the formulas around it are typeset', async () => {
  const sections = Array.from({ length: 20 }, (_, s) => [`# Section ${s + 1}`, ...Array.from({ length: 25 }, (_, p) =>
    (p % 4 === 1 ? '$$\\sum_{i=1}^{n} \\frac{a_i^2}{\\sqrt{b_i + c}} = \\int_0^\\infty e^{-x^2}\\,dx$$'
      : `Paragraph ${s + 1}.${p} ` + 'lorem ipsum $x^2+y^2$ sit amet '.repeat(p % 5 ? 2 : 10)))]).flat();
  await withDocument('outline', sections.join('\n\n') + '\n', async ({ desktop }) => {
    await desktop.waitForDocument((d) => d.length > 100);
    await waitUntil('Section 1 at the top', () => headingPixelsAtTop(desktop) > 200);
    const before = pageArea(desktop);
    desktop.xdotool('mousemove', '340', '400', 'click', '1');   // "Section 15" in the outline
    await waitUntil('the jump', () => !pageArea(desktop).equals(before));
    // The view has settled once the formulas near it are typeset: four equal pictures in a row.
    let last = Buffer.alloc(0), same = 0;
    await waitUntil('the view to settle', () => {
      const now = pageArea(desktop);
      [same, last] = [now.equals(last) ? same + 1 : 0, now];
      return same >= 3;
    });
    assert.ok(headingPixelsAtTop(desktop) > 200, 'Section 15 is at the top of the view');
  }, { settings: { 'Software\\Qorva': { LastRunVersion: str('0.1.0'), WindowGeometry: str('290,160,700,480'), Outline: dword(1) } },
    fileName: 'outline.md' });
});
