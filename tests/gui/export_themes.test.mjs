// The themes submenu in the window: its order with user theme files, a user file
// replacing a built-in theme, the stored choice, and each theme's look, read from
// the screen.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { join } from 'node:path';
import { withFrame, makeHome, readSettings, waitUntil } from './window_driver.mjs';

const sampleText = 'Theme sample\n============\n\nPlain text, *emphasis*, **strong** and `code`.\n\n*   a bulleted item\n';

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
  await desktop.menuItem('alt+w', 6, 2);
  await desktop.openMenu('Right');
  await desktop.keys(...Array(position).fill('Down'), 'Return');
  await waitUntil(`the setting "${name}"`, () => readSettings(desktop.home)['Software\\Qorva']?.Theme?.data === name);
}

// A program on the sample once the page holds it and has painted its own light look.
async function withSample(name, dataFiles, body) {
  const home = makeHome({ dataFiles, files: { 'docs/sample.text': sampleText } });
  const path = join(home, 'docs', 'sample.text');
  await withFrame(name, async ({ start }) => {
    const run = async (inner) => {
      const desktop = start({ home, args: [path] });
      await desktop.waitForTitle(`${path} - Qorva`);
      await desktop.waitForDocument((d) => d.length > 2);
      await inner(desktop);
      await desktop.close();
    };
    await body(run);
  });
}

test('user themes join the menu in ordinal order and Dark.theme replaces the built-in Dark', async () => {
  const dataFiles = {
    'b.theme': 'body { background-color: #0000ff; }',
    'Z.theme': 'body { background-color: #ff0000; }',
    'Dark.theme': 'body { background-color: #00ff00; }',
  };
  await withSample('themes-user', dataFiles, (run) => run(async (desktop) => {
    const white = [255, 255, 255];
    await waitForBackground(desktop, white, 'the page\'s own');
    // One "Dark" only; upper case sorts before lower case.
    const order = ['Default', 'Dark', 'Monospaced', 'Serif', 'Z', 'b'];
    const looks = { Dark: [0, 255, 0], Z: [255, 0, 0], b: [0, 0, 255], Monospaced: [238, 238, 238] };
    for (const [position, name] of order.entries()) {
      await chooseTheme(desktop, position, name);
      await waitForBackground(desktop, looks[name] || white, name);
    }
  }));
});

test('the built-in Dark theme restyles the editor page and is applied again at the next start', async () => {
  await withSample('themes-dark', {}, async (run) => {
    await run(async (desktop) => {
      await waitForBackground(desktop, [255, 255, 255], 'the page\'s own');
      await chooseTheme(desktop, 1, 'Dark');
      await waitForBackground(desktop, [0, 0, 0], 'Dark');
    });
    await run((desktop) => waitForBackground(desktop, [0, 0, 0], 'Dark at start'));
  });
});
