// Drives the export commands, the export dialog and the themes menu of a running
// program: menus are opened by a click on their title in the menu bar and then
// walked with real keys, as a user without a mouse would go on.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, writeFileSync, existsSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { sleep, waitUntil as waitFor } from './desktop.mjs';
import { withFrame, readSettings } from './frame_helpers.mjs';

export { sleep };

// A program on an X server of its own. `env` (name -> value) replaces variables
// of its environment.
export const withProgram = (options, body) => withFrame('export', ({ start }) => body(start(options)));

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
  const [, left, top] = /Position: (\d+),(\d+)/.exec(desktop.xdotool('getwindowgeometry', ids[0]));
  return { left: Number(left), top: Number(top) };
}

// Opens the "&File" menu with a click on its title.
async function openFileMenu(desktop) {
  const { left, top } = mainWindowOrigin(desktop);
  desktop.xdotool('mousemove', String(left + 20), String(top + 9), 'click', '1');
  await sleep(400);
}

// Chooses an export command from the menu: the items of the "&Export" submenu
// below "Repeat Export", in menu order. The submenu opens on its first enabled
// item, which is "Repeat Export" only while there is an export to repeat, so
// "html" without `repeatEnabled` takes that first item, whichever it is.
export async function chooseExport(desktop, kind, { repeatEnabled = false } = {}) {
  await openFileMenu(desktop);
  await desktop.keys('e');
  await sleep(300);
  const downs = ['html', 'docx', 'rtf', 'epub', 'pdf', 'tex'].indexOf(kind) + (repeatEnabled ? 1 : 0);
  for (let i = 0; i < downs; i += 1) await desktop.keys('Down');
  await desktop.keys('Return');
}

// Visible windows whose title matches.
export const windowsNamed = (desktop, pattern) => desktop.windowTitles().filter((title) => pattern.test(title));

// The export dialog's title names the format: "Export to PDF".
export const exportDialogTitle = /^Export to /;

// Waits for the export dialog to be `shown`, or to be gone.
export async function saveDialog(desktop, shown = true) {
  await waitUntil(`the export dialog ${shown ? 'to open' : 'to close'}`,
    () => (windowsNamed(desktop, exportDialogTitle).length > 0) === shown, 20000);
  if (shown) await sleep(500);
}

// Replaces the proposed file name with `path` and confirms.
export async function saveAs(desktop, path) {
  await desktop.keys('ctrl+a');
  await desktop.type(path);
  await desktop.keys('Return');
  await saveDialog(desktop, false);
}

// A file once it exists, is not empty and has stopped growing.
export async function waitForFile(path, timeoutMs = 120000) {
  let lastSize = -1;
  return waitUntil(`the file ${path}`, () => {
    const size = existsSync(path) ? statSync(path).size : 0;
    const settled = size > 0 && size === lastSize;
    lastSize = size;
    return settled && path;
  }, timeoutMs);
}

// Red, green and blue of the screen at a point inside the editor's empty area,
// below the document's first lines.
export function editorBackground(desktop) {
  const { left, top } = mainWindowOrigin(desktop);
  const result = spawnSync('import', ['-window', 'root', '-crop', `1x1+${left + 600}+${top + 400}`, '-depth', '8', 'rgb:-'],
    { env: { ...process.env, DISPLAY: desktop.x.display } });
  return [...result.stdout.subarray(0, 3)];
}

// The stored theme, or null while none is (or the file is being written).
export function storedTheme(home) {
  try { return readSettings(home)['Software\\Qorva']?.Theme?.data ?? null; } catch { return null; }
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
