// The themes submenu in the window: its order with user theme files, a user file
// replacing a built-in theme, the stored choice, and each built-in theme's look,
// read from the screen and kept as screenshots.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { writeFileSync, mkdirSync } from 'node:fs';
import { join } from 'node:path';
import {
  withProgram, makeHome, waitUntil, sleep, chooseThemeAt, storedTheme, editorBackground,
} from './export_driver.mjs';

const sampleText = 'Theme sample\n============\n\nPlain text, *emphasis*, **strong** and `code`.\n\n*   a bulleted item\n';

function sampleIn(home) {
  const folder = join(home, 'docs');
  mkdirSync(folder, { recursive: true });
  const path = join(folder, 'sample.text');
  writeFileSync(path, sampleText);
  return path;
}

// The window shows the document once the page holds it and has painted it.
async function waitForSample(desktop, path) {
  await desktop.waitForTitle(`${path} - Qorva`);
  await desktop.waitForDocument((d) => Array.isArray(d) && d.length > 2);
  await sleep(800);
}

async function waitForBackground(desktop, rgb, what) {
  let seen = [];
  try {
    await waitUntil(`${what} background ${rgb}`, () => {
      seen = editorBackground(desktop);
      return seen.every((value, i) => Math.abs(value - rgb[i]) <= 2);
    }, 10000);
  } catch (error) {
    error.message += ` (seen ${seen})`;
    throw error;
  }
}

test('user themes join the menu in ordinal order and Dark.theme replaces the built-in Dark', async () => {
  const home = makeHome({
    'b.theme': 'body { background-color: #0000ff; }',
    'Z.theme': 'body { background-color: #ff0000; }',
    'Dark.theme': 'body { background-color: #00ff00; }',
  });
  const path = sampleIn(home);
  await withProgram({ home, args: [path] }, async (desktop) => {
    await waitForSample(desktop, path);
    const white = await editorBackground(desktop);

    // One "Dark" only; upper case sorts before lower case.
    const order = ['Default', 'Dark', 'Monospaced', 'Serif', 'Z', 'b'];
    const looks = { Dark: [0, 255, 0], Z: [255, 0, 0], b: [0, 0, 255], Monospaced: [238, 238, 238] };
    for (const [position, name] of order.entries()) {
      await chooseThemeAt(desktop, position);
      await waitUntil(`the setting "${name}"`, () => storedTheme(home) === name, 10000);
      await waitForBackground(desktop, looks[name] || white, name);
    }

    // The menu with "Z" chosen: its check is the only one (looked at in the screenshot).
    await chooseThemeAt(desktop, 4);
    await waitUntil('the setting "Z"', () => storedTheme(home) === 'Z', 10000);
    await chooseThemeAt(desktop, 4, { leaveOpen: true });
    desktop.screenshot('themes-menu-user-files');
    await desktop.keys('Escape', 'Escape', 'Escape');
  });
});

test('each built-in theme restyles the editor page, and the chosen one is applied again at the next start', async () => {
  const home = makeHome();
  const path = sampleIn(home);
  await withProgram({ home, args: [path] }, async (desktop) => {
    await waitForSample(desktop, path);
    const white = await editorBackground(desktop);
    assert.ok(white.every((value) => value > 240), `the page's own look is light (${white})`);
    // The other built-in themes' looks are read in the test with user files.
    await chooseThemeAt(desktop, 1);
    await waitUntil('the setting "Dark"', () => storedTheme(home) === 'Dark', 10000);
    await waitForBackground(desktop, [0, 0, 0], 'Dark');
    desktop.screenshot('theme-Dark-chosen');
    await chooseThemeAt(desktop, 1, { leaveOpen: true });
    desktop.screenshot('themes-menu-dark-checked');
    await desktop.keys('Escape', 'Escape', 'Escape');
    await waitUntil('the setting "Dark"', () => storedTheme(home) === 'Dark', 10000);
  });
  await withProgram({ home, args: [path] }, async (desktop) => {
    await desktop.waitForTitle(`${path} - Qorva`);
    await waitForBackground(desktop, [0, 0, 0], 'Dark at start');
  });
});
