// Themes in the running window: the page really takes a theme's look, user
// theme files included, Dark darkens the window around it too, and the stored
// choice comes back at the next start, with Focus Mode. The menu's order, its
// checks and user files replacing built-in themes are read in themes_menu_test.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { withDocument, readSettings, waitUntil } from './window_driver.mjs';

// The colours of a part of the window, given from its top left corner.
function pixels(desktop, [left, top, width, height]) {
  const { x, y } = desktop.frameWindow();
  const result = spawnSync('import', ['-window', 'root', '-crop', `${width}x${height}+${x + left}+${y + top}`, '-depth', '8', 'rgb:-'],
    { env: { ...process.env, DISPLAY: desktop.x.display } });
  return [...result.stdout];
}
// The editor's colour at a point of its empty area, below the document's lines.
const editorBackground = (desktop) => pixels(desktop, [600, 400, 1, 1]);
// The menu bar's colour right of its menus: dark only with the Dark theme.
const menuBarDark = (desktop) => Math.max(...pixels(desktop, [680, 8, 1, 1])) < 80;
// The brightest colour of the document's second line, which focus mode dims.
const secondLineBrightest = (desktop) => Math.max(...pixels(desktop, [20, 85, 300, 12]));

async function waitForBackground(desktop, rgb, what) {
  let seen = [];
  await waitUntil(`${what} background ${rgb}`, () => {
    seen = editorBackground(desktop);
    return seen.every((value, i) => Math.abs(value - rgb[i]) <= 2);
  }).catch((error) => { error.message += ` (seen ${seen})`; throw error; });
}

// Chooses the theme at `position` (0 is "Follow the Desktop") from "&Window" >
// "Themes" (its third item of eight) and waits for the choice to be stored.
async function chooseTheme(desktop, position, name) {
  await desktop.openSubmenu('alt+w', 8, 2);
  desktop.keys(...Array(position).fill('Down'), 'Return');
  await waitUntil(`the setting "${name}"`, () => readSettings(desktop.home)['Software\\Qorva']?.Theme?.data === name);
}

test('each theme, a user file among them, restyles the page, Dark the window too, and the chosen one is applied again at the next start, as is Focus Mode', async () => {
  const looks = [[2, 'Dark', [0, 0, 0]], [1, 'Default', [255, 255, 255]], [3, 'Monospaced', [238, 238, 238]],
    [4, 'Serif', [255, 255, 255]], [5, 'b', [0, 0, 255]], [2, 'Dark', [0, 0, 0]]];
  const sample = 'Theme sample\n============\n\nPlain *text*.\n';
  await withDocument('themes', sample, async ({ start, desktop, home, file }) => {
    await desktop.waitForDocument((d) => d.length > 2);
    for (const [position, name, rgb] of looks) {
      await chooseTheme(desktop, position, name);
      await waitForBackground(desktop, rgb, name);
      assert.equal(menuBarDark(desktop), name === 'Dark', `the menu bar with ${name}`);
    }
    const bright = secondLineBrightest(desktop);
    await desktop.menuItem('alt+w', 8, 6);   // "Focus Mode"
    desktop.keys('Return');
    await waitUntil('Focus Mode stored', () => readSettings(home)['Software\\Qorva']?.FocusMode?.data === 1);
    await waitUntil('the second line dimmed', () => secondLineBrightest(desktop) < bright / 2);
    await desktop.close();
    const again = start({ home, args: [file] });
    await again.waitForTitle(`${file} - Qorva`);
    await waitForBackground(again, [0, 0, 0], 'Dark at start');
    assert.ok(menuBarDark(again), 'the menu bar dark at start');
    await waitUntil('the second line dimmed at start', () => secondLineBrightest(again) < bright / 2);
  }, { files: { 'data/qorva/b.theme': 'body { background-color: #0000ff; }' }, fileName: 'docs/sample.text' });
});
