// Helpers for the main frame's window tests: each test runs the program under an
// X server of its own, with its own settings folder, and reads back the files it
// writes, its settings and its window.
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, readdirSync, writeFileSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { Desktop, startXvfb, sleep, waitUntil } from './desktop.mjs';

export { sleep, waitUntil };

export function makeHome() {
  return mkdtempSync(join(tmpdir(), 'qorva-frame-'));
}

export const settingsPath = (home) => join(home, 'config', 'qorva', 'settings.json');

export function readSettings(home) {
  const file = settingsPath(home);
  return existsSync(file) ? JSON.parse(readFileSync(file, 'utf8')) : {};
}

// Settings written before the program starts, in the store's own layout.
export function writeSettings(home, keys) {
  mkdirSync(join(home, 'config', 'qorva'), { recursive: true });
  writeFileSync(settingsPath(home), JSON.stringify(keys, null, 2));
}

export const str = (data) => ({ type: 'REG_SZ', data });
export const dword = (data) => ({ type: 'REG_DWORD', data });

// Settings of a second start: the welcome document is not shown by itself.
export function notFirstRun(extra = {}) {
  return { 'Software\\Qorva': { LastRunVersion: str('0.1.0'), ...extra } };
}

// One program (or several) on one X server of its own, closed and cleaned up
// afterwards; a screenshot is kept when the body fails.
export async function withFrame(name, body) {
  const x = await startXvfb();
  const programs = [];
  const start = (options = {}) => {
    const desktop = new Desktop(x, options);
    programs.push(desktop);
    return desktop;
  };
  try {
    await body({ x, start, shot: (label) => programs[0]?.screenshot(`${name}-${label}`) });
  } catch (error) {
    if (programs[0]) programs[0].screenshot(`${name}-failed`);
    const outputs = programs.map((p) => p.output.split('\n').filter((l) => !l.startsWith('  *')).slice(-10).join('\n'));
    error.message += `\nprogram output:\n${outputs.join('\n---\n')}`;
    throw error;
  } finally {
    for (const program of programs) await program.close();
    x.stop();
  }
}

// A settled user's program in a fresh home, on `text` written to `fileName` there
// (given as its argument), or untitled when `text` is null.
export async function withDocument(name, text, body, { settings = notFirstRun(), fileName = `${name}.text`, title } = {}) {
  const home = makeHome();
  writeSettings(home, settings);
  const file = join(home, fileName);
  if (text !== null) writeFileSync(file, text);
  await withFrame(name, async (frame) => {
    const desktop = frame.start({ home, args: text === null ? [] : [file] });
    await desktop.waitForTitle(title || (text === null ? 'Untitled - Qorva' : `${file} - Qorva`));
    await body({ ...frame, desktop, home, file });
  });
}

// The window of the program, with its title and geometry.
export function frameWindow(desktop) {
  const ids = desktop.xdotool('search', '--onlyvisible', '--name', 'Qorva').split('\n').filter(Boolean);
  for (const id of ids) {
    const title = desktop.xdotool('getwindowname', id);
    if (!/- Qorva/.test(title)) continue;
    const geometry = desktop.xdotool('getwindowgeometry', '--shell', id);
    const value = (key) => Number((geometry.match(new RegExp(`${key}=(-?\\d+)`)) || [])[1]);
    return { id, title, x: value('X'), y: value('Y'), width: value('WIDTH'), height: value('HEIGHT') };
  }
  return null;
}

export function xclip(display, args, input) {
  const result = spawnSync('xclip', args, { env: { ...process.env, DISPLAY: display }, input, encoding: 'utf8', timeout: 5000 });
  return result.stdout;
}

// The text of each block of a model document.
export const blockTexts = (doc) => doc.slice(1).map((block) => block.slice(2).map((span) => span[1]).join(''));

// Drops a top-level menu down with its Alt key and highlights the item at `index`
// (0 = first) of its `count` items. Up from the top goes round to the last item
// whether or not the first one is highlighted yet, so the walk starts from there.
export const MENU_SIZE = { file: 11, edit: 12, window: 6 };
export async function menuItem(desktop, altKey, count, index) {
  await desktop.keys(altKey);
  await sleep(300);
  for (let i = 0; i < count - index; i += 1) await desktop.keys('Up');
}

export const ended = (desktop) => waitUntil('the program to end', () => desktop.process.exitCode !== null, 15000);

// Waits for a modal window of the program: a message box ("Qorva", "Error", ...)
// or a file dialog ("Open", "Save As"), so keys are not typed before it is there.
export async function waitForDialog(desktop, title) {
  await desktop.waitForTitle(title, 30000);
  await sleep(200);
}

// The recovery files a program keeps under the home's XDG state folder, as
// [name, content] pairs.
export function recoveryFiles(home) {
  const folder = join(home, 'state', 'qorva', 'recovery');
  if (!existsSync(folder)) return [];
  return readdirSync(folder).filter((name) => name.endsWith('.json'))
    .map((name) => [name, readFileSync(join(folder, name), 'utf8')]);
}
