// Drives the export commands, the export dialog and the themes menu of a running
// program: menus are opened by a click on their title in the menu bar and then
// walked with real keys, as a user without a mouse would go on.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, readFileSync, writeFileSync, existsSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { Desktop, startXvfb, sleep, waitUntil as waitFor } from './desktop.mjs';

export { sleep };

// A program on an X server of its own; a failure keeps a screenshot and the
// program's last words. `env` (name -> value) replaces variables of its environment.
export async function withProgram(options, body) {
  const x = await startXvfb();
  const desktop = new Desktop(x, options);
  try {
    await body(desktop);
  } catch (error) {
    desktop.screenshot(`export-failed-${Date.now()}`);
    error.message += `\nwindows: ${desktop.windowTitles().join(' | ')}`;
    error.message += `\nprogram output:\n${desktop.output.split('\n').slice(-15).join('\n')}`;
    throw error;
  } finally {
    await desktop.close();
    x.stop();
  }
}

// A fresh home for the program with the folders it reads: the user data folder
// gets `dataFiles` (name -> text) in qorva/.
export function makeHome(dataFiles = {}) {
  const home = mkdtempSync(join(tmpdir(), 'qorva-export-'));
  const data = join(home, 'data', 'qorva');
  mkdirSync(data, { recursive: true });
  for (const [name, text] of Object.entries(dataFiles)) writeFileSync(join(data, name), text);
  return home;
}

export const waitUntil = (what, probe, timeoutMs = 30000) => waitFor(what, probe, timeoutMs);

// The main window's position on the screen, from its title "... - Qorva".
function mainWindowOrigin(desktop) {
  const ids = desktop.xdotool('search', '--onlyvisible', '--name', ' - Qorva$').split('\n').filter(Boolean);
  if (!ids.length) throw new Error('no main window');
  const geometry = desktop.xdotool('getwindowgeometry', ids[0]);
  const [, left, top] = /Position: (\d+),(\d+)/.exec(geometry);
  return { left: Number(left), top: Number(top) };
}

// Opens the "&File" menu with a click on its title.
export async function openFileMenu(desktop) {
  const { left, top } = mainWindowOrigin(desktop);
  desktop.xdotool('mousemove', String(left + 20), String(top + 9), 'click', '1');
  await sleep(400);
}

// The items of the "&Export" submenu below "Repeat Export", in menu order.
export const exportItems = ['html', 'docx', 'rtf', 'epub', 'pdf', 'tex'];

// Chooses an export command from the menu. The submenu opens on its first
// enabled item, which is "Repeat Export" only while there is an export to repeat.
export async function chooseExport(desktop, kind, { repeatEnabled = false } = {}) {
  await openFileMenu(desktop);
  await desktop.keys('e');
  await sleep(300);
  const downs = exportItems.indexOf(kind) + (repeatEnabled ? 1 : 0);
  for (let i = 0; i < downs; i += 1) await desktop.keys('Down');
  await desktop.keys('Return');
}

// "Repeat Export" from the menu: the first item, when it is enabled.
export async function chooseFirstExportItem(desktop) {
  await openFileMenu(desktop);
  await desktop.keys('e');
  await sleep(300);
  await desktop.keys('Return');
}

export async function repeatExportKey(desktop) {
  await desktop.keys('ctrl+alt+shift+e');
}

// Visible windows whose title matches.
export function windowsNamed(desktop, pattern) {
  return desktop.windowTitles().filter((title) => pattern.test(title));
}

export const saveDialogTitle = /^Save As$/;

export async function waitForSaveDialog(desktop, timeoutMs = 20000) {
  await waitUntil('the export dialog', () => windowsNamed(desktop, saveDialogTitle).length > 0, timeoutMs);
  await sleep(500);
}

export async function waitForNoSaveDialog(desktop, timeoutMs = 20000) {
  await waitUntil('the export dialog to close', () => windowsNamed(desktop, saveDialogTitle).length === 0, timeoutMs);
}

// Replaces the proposed file name with `path` and confirms.
export async function saveAs(desktop, path) {
  await desktop.keys('ctrl+a');
  await desktop.type(path);
  await desktop.keys('Return');
  await waitForNoSaveDialog(desktop);
}

// A file once it exists, is not empty and has stopped growing.
export async function waitForFile(path, timeoutMs = 120000) {
  let lastSize = -1;
  return waitUntil(`the file ${path}`, () => {
    if (!existsSync(path)) return false;
    const size = statSync(path).size;
    const settled = size > 0 && size === lastSize;
    lastSize = size;
    return settled;
  }, timeoutMs);
}

// Red, green and blue of one screen pixel.
export function pixelAt(desktop, x, y) {
  const result = spawnSync('import', ['-window', 'root', '-crop', `1x1+${x}+${y}`, '-depth', '8', 'rgb:-'],
    { env: { ...process.env, DISPLAY: desktop.x.display } });
  return [...result.stdout.subarray(0, 3)];
}

// A point inside the editor's empty area, below the document's first lines.
export function editorBackgroundPoint(desktop) {
  const { left, top } = mainWindowOrigin(desktop);
  return { x: left + 600, y: top + 400 };
}

// The "Theme" value of the settings file, or null when none is stored.
export function storedTheme(home) {
  const file = join(home, 'config', 'qorva', 'settings.json');
  if (!existsSync(file)) return null;
  const find = (node) => {
    if (!node || typeof node !== 'object') return null;
    if (node.Theme && typeof node.Theme === 'object' && 'data' in node.Theme) return node.Theme.data;
    for (const child of Object.values(node)) {
      const found = find(child);
      if (found !== null) return found;
    }
    return null;
  };
  try { return find(JSON.parse(readFileSync(file, 'utf8'))); } catch { return null; }
}

// Chooses the theme item at `position` (0 is "Default") from "&Window", "Themes".
// The Window menu is reached from File with Left: File, Help, Window.
export async function chooseThemeAt(desktop, position, { leaveOpen = false } = {}) {
  await openFileMenu(desktop);
  await desktop.keys('Left', 'Left');   // Help, then Window
  await desktop.keys('Down', 'Down');   // Font, then Themes
  await desktop.keys('Right');          // opens Themes on "Default"
  for (let i = 0; i < position; i += 1) await desktop.keys('Down');
  if (!leaveOpen) await desktop.keys('Return');
  await sleep(400);
}
