// Themes in the running window: the page really takes a theme's look, user
// theme files included, and the stored choice comes back at the next start. The
// menu's order, its checks and user files replacing built-in themes are read in
// themes_menu_test.
import { test } from 'node:test';
import { spawnSync } from 'node:child_process';
import { withDocument, readSettings, waitUntil } from './window_driver.mjs';

// The editor's colour at a point of its empty area, below the document's lines.
function editorBackground(desktop) {
  const { x, y } = desktop.frameWindow();
  const result = spawnSync('import', ['-window', 'root', '-crop', `1x1+${x + 600}+${y + 400}`, '-depth', '8', 'rgb:-'],
    { env: { ...process.env, DISPLAY: desktop.x.display } });
  return [...result.stdout.subarray(0, 3)];
}

async function waitForBackground(desktop, rgb, what) {
  let seen = [];
  await waitUntil(`${what} background ${rgb}`, () => {
    seen = editorBackground(desktop);
    return seen.every((value, i) => Math.abs(value - rgb[i]) <= 2);
  }).catch((error) => { error.message += ` (seen ${seen})`; throw error; });
}

// Chooses the theme at `position` (0 is "Default") from "&Window" > "Themes" (its
// third item of six) and waits for the choice to be stored.
async function chooseTheme(desktop, position, name) {
  await desktop.openSubmenu('alt+w', 6, 2);
  desktop.keys(...Array(position).fill('Down'), 'Return');
  await waitUntil(`the setting "${name}"`, () => readSettings(desktop.home)['Software\\Qorva']?.Theme?.data === name);
}

test('each theme, a user file among them, restyles the page, and the chosen one is applied again at the next start', async () => {
  const looks = [['Default', [255, 255, 255]], ['Dark', [0, 0, 0]], ['Monospaced', [238, 238, 238]], ['Serif', [255, 255, 255]], ['b', [0, 0, 255]]];
  const sample = 'Theme sample\n============\n\nPlain *text*.\n';
  await withDocument('themes', sample, async ({ start, desktop, home, file }) => {
    await desktop.waitForDocument((d) => d.length > 2);
    for (const [position, [name, rgb]] of looks.entries()) {
      await chooseTheme(desktop, position, name);
      await waitForBackground(desktop, rgb, name);
    }
    await desktop.close();
    const again = start({ home, args: [file] });
    await again.waitForTitle(`${file} - Qorva`);
    await waitForBackground(again, [0, 0, 255], 'b at start');
  }, { files: { 'data/qorva/b.theme': 'body { background-color: #0000ff; }' }, fileName: 'docs/sample.text' });
});
