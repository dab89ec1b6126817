// The driver of every window test: the program under an X server of its own with
// a fresh home, real keys and clicks through xdotool, and waits for what it shows
// or writes. There are no pauses: every step waits for a condition or fails
// saying what it waited for.
import { spawn, spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';

export const qorvaBin = process.env.QORVA_BIN;
const shotsDir = process.env.QORVA_SHOTS || join(tmpdir(), 'qorva-shots');

// A missing tool fails the suite instead of skipping it.
const missing = ['Xvfb', 'xdotool', 'xclip', 'import'].filter((tool) => spawnSync('which', [tool]).status !== 0);
if (!qorvaBin || !existsSync(qorvaBin)) missing.push(`the program (QORVA_BIN=${qorvaBin})`);
if (missing.length) throw new Error(`the window tests need ${missing.join(', ')}`);

export async function waitUntil(what, probe, timeoutMs = 30000) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = await probe();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out after ${timeoutMs} ms waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// Settings in the store's own layout; a settled user's by default, so the
// welcome document does not open by itself, with the window left at 700 by 480
// centred on the screen, where the tests' coordinates expect it.
export const str = (data) => ({ type: 'REG_SZ', data });
export const dword = (data) => ({ type: 'REG_DWORD', data });
export const notFirstRun = (extra = {}) =>
  ({ 'Software\\Qorva': { LastRunVersion: str('0.1.0'), WindowGeometry: str('290,160,700,480'), ...extra } });
const settingsFile = 'config/qorva/settings.json';

export function readSettings(home) {
  const file = join(home, settingsFile);
  return existsSync(file) ? JSON.parse(readFileSync(file, 'utf8')) : {};
}

// A fresh home with `settings` (null: none, as at the first start) and `files`
// (path in the home -> content).
export function makeHome({ settings = notFirstRun(), files = {} } = {}) {
  const home = mkdtempSync(join(tmpdir(), 'qorva-gui-'));
  if (settings) files = { [settingsFile]: JSON.stringify(settings), ...files };
  for (const [name, text] of Object.entries(files)) {
    mkdirSync(dirname(join(home, name)), { recursive: true });
    writeFileSync(join(home, name), text);
  }
  return home;
}

export function recoveryFiles(home) {
  const folder = join(home, 'state', 'qorva', 'recovery');
  if (!existsSync(folder)) return [];
  return readdirSync(folder).filter((name) => name.endsWith('.json')).map((name) => [name, readFileSync(join(folder, name), 'utf8')]);
}

// The text of each block of a model document.
export const blockTexts = (doc) => doc.slice(1).map((block) => block.slice(2).map((span) => span[1]).join(''));

export const xclip = (display, args) =>
  spawnSync('xclip', args, { env: { ...process.env, DISPLAY: display }, encoding: 'utf8', timeout: 5000 }).stdout;

const titleMatcher = (title) => (typeof title === 'string' ? (t) => t === title : (t) => title.test(t));
// Menus and message boxes of the program are windows titled "Qorva".
const isPopup = (title) => title === 'Qorva';

// One running program with its own home.
export class Desktop {
  constructor(x, { args = [], home = makeHome(), cwd, env = {} } = {}) {
    Object.assign(this, { x, home, output: '', documentOut: join(home, 'document.json') });
    rmSync(this.documentOut, { force: true });
    mkdirSync(join(home, 'runtime'), { recursive: true, mode: 0o700 });
    this.process = spawn(qorvaBin, args, {
      cwd: cwd || home,
      env: {
        ...process.env,
        DISPLAY: x.display,
        XDG_CONFIG_HOME: join(home, 'config'),
        XDG_DATA_HOME: join(home, 'data'),
        XDG_STATE_HOME: join(home, 'state'),
        XDG_RUNTIME_DIR: join(home, 'runtime'),
        QORVA_TEST_DOCUMENT_OUT: this.documentOut,
        QTWEBENGINE_DISABLE_SANDBOX: '1',
        ...env,
      },
      stdio: ['ignore', 'pipe', 'pipe'],
    });
    for (const stream of [this.process.stdout, this.process.stderr]) stream.on('data', (chunk) => { this.output += chunk; });
    this.exited = new Promise((resolve) => this.process.on('exit', resolve));
  }

  xdotool(...args) {
    return spawnSync('xdotool', args, { env: { ...process.env, DISPLAY: this.x.display }, encoding: 'utf8' }).stdout.trim();
  }

  // Both return the program, so that keys and text can follow each other.
  keys(...keys) { this.xdotool('key', '--delay', '60', ...keys); return this; }

  type(text) { this.xdotool('type', '--delay', '60', text); return this; }

  // Visible windows as { id, title }.
  windows() {
    return this.xdotool('search', '--onlyvisible', '--name', '').split('\n').filter(Boolean)
      .map((id) => ({ id, title: this.xdotool('getwindowname', id) }));
  }

  windowTitles() { return this.windows().map((w) => w.title); }

  // The main window with its geometry, or null.
  frameWindow() {
    const window = this.windows().find((w) => / - Qorva/.test(w.title));
    if (!window) return null;
    const geometry = this.xdotool('getwindowgeometry', '--shell', window.id);
    const value = (key) => Number((geometry.match(new RegExp(`${key}=(-?\\d+)`)) || [])[1]);
    return { ...window, x: value('X'), y: value('Y'), width: value('WIDTH'), height: value('HEIGHT') };
  }

  // Waits for `probe`, and on time-out tells which windows there were.
  waitSeeingWindows(what, probe, timeoutMs = 30000) {
    return waitUntil(what, probe, timeoutMs).catch((error) => {
      error.message += ` (windows: ${this.windowTitles().join(' | ')})`;
      throw error;
    });
  }

  // The title of the first window whose title is `title` (or matches it, a pattern).
  waitForTitle(title, timeoutMs) {
    return this.waitSeeingWindows(`a window titled ${title}`, () => this.windowTitles().find(titleMatcher(title)), timeoutMs);
  }

  waitForNoTitle(pattern, timeoutMs) {
    return this.waitSeeingWindows(`no window titled ${pattern}`, () => !this.windowTitles().some((t) => pattern.test(t)), timeoutMs);
  }

  // A dialog or message box that has the keyboard, so keys go to it.
  waitForFocus(title, timeoutMs) {
    return this.waitSeeingWindows(`the window ${title} to have the keyboard`, () => {
      const focus = this.xdotool('getwindowfocus');
      return focus && this.windows().some((w) => w.id === focus && titleMatcher(title)(w.title));
    }, timeoutMs);
  }

  // Answers the message box (or dialog) titled `title` with `key`.
  async answer(key, title = 'Qorva') {
    await this.waitForFocus(title);
    this.keys(key);
  }

  // Answers as above and waits for the box to go.
  async dismiss(key, title = 'Qorva') {
    await this.answer(key, title);
    await this.waitForNoTitle(typeof title === 'string' ? new RegExp(`^${title}$`) : title);
  }

  // Presses `key` (or runs it, a function) and waits for one more menu to open.
  async openMenu(key) {
    const popups = () => this.windowTitles().filter(isPopup).length;
    const before = popups();
    if (typeof key === 'function') key(); else this.keys(key);
    await this.waitSeeingWindows(`a menu to open with ${key}`, () => popups() > before);
  }

  // Drops a top-level menu down with its Alt key and highlights the item at
  // `index` of its `count` items: Up from the first item goes round to the last.
  async menuItem(altKey, count, index) {
    await this.openMenu(altKey);
    this.keys(...Array(count - index).fill('Up'));
  }

  // Opens the submenu at `index` of a top-level menu. Under load a walk can
  // miss its item (keys taken before the menu had the keyboard): then the menus
  // are closed and the walk made again, a few times at most.
  async openSubmenu(altKey, count, index) {
    for (let attempt = 1; ; attempt += 1) {
      await this.menuItem(altKey, count, index);
      this.keys('Right');
      try {
        return await waitUntil('the submenu', () => this.windowTitles().filter(isPopup).length > 1, 5000);
      } catch (error) {
        if (attempt === 3) throw error;
        await this.keys('Escape', 'Escape', 'Escape').waitForNoTitle(/^Qorva$/);
      }
    }
  }

  document() {
    try { return JSON.parse(readFileSync(this.documentOut, 'utf8')); } catch { return null; }
  }

  // The document once it satisfies `check`; fails with the last one seen.
  waitForDocument(check, timeoutMs) {
    return waitUntil('the document', () => { const d = this.document(); return d && check(d) && d; }, timeoutMs)
      .catch((error) => { throw new Error(`${error.message}; last document: ${JSON.stringify(this.document())}`); });
  }

  // Types `marker` and waits for it: whatever was sent before has reached the page.
  settled(marker) {
    this.type(marker);
    return this.waitForDocument((d) => JSON.stringify(d).includes(marker));
  }

  screenshot(name) {
    mkdirSync(shotsDir, { recursive: true });
    const file = join(shotsDir, `${name}.png`);
    spawnSync('import', ['-window', 'root', file], { env: { ...process.env, DISPLAY: this.x.display } });
    return file;
  }

  ended() { return waitUntil('the program to end', () => this.process.exitCode !== null || this.process.signalCode); }

  async close() {
    if (this.process.exitCode === null) this.process.kill('SIGTERM');
    await this.exited;
  }
}

// An X server of its own (-displayfd picks a free display number) for programs
// started with `start`, all closed afterwards; a screenshot and the programs'
// last words are kept when the body fails. `offer` puts data on an X selection
// through an xclip that holds it until the end.
export async function withFrame(name, body) {
  const server = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x800x24', '-nolisten', 'tcp', '-noreset'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  let number = '';
  server.stdio[3].on('data', (chunk) => { number += chunk; });
  const x = { display: `:${(await waitUntil('Xvfb to start', () => /\d+\n/.test(number) && number)).trim()}` };
  const programs = [];
  const owners = [];
  const start = (options = {}) => programs[programs.push(new Desktop(x, options)) - 1];
  const offer = async (data, { selection = 'clipboard', type } = {}) => {
    const owner = spawn('xclip', ['-i', '-selection', selection, ...(type ? ['-t', type] : [])],
      { env: { ...process.env, DISPLAY: x.display }, stdio: ['pipe', 'ignore', 'ignore'] });
    owner.stdin.end(data);
    owners.push(owner);
    await waitUntil(`the ${selection} selection`,
      () => xclip(x.display, ['-o', '-selection', selection, '-t', 'TARGETS']).includes(type || 'STRING'));
    return owner;
  };
  try {
    await body({ x, start, offer });
  } catch (error) {
    programs[0]?.screenshot(`${name}-failed`);
    const outputs = programs.map((p) => p.output.split('\n').filter((l) => !l.startsWith('  *')).slice(-10).join('\n'));
    error.message += `\nprogram output:\n${outputs.join('\n---\n')}`;
    throw error;
  } finally {
    for (const owner of owners) owner.kill();
    for (const program of programs) await program.close();
    server.kill('SIGTERM');
  }
}

// A program on `text` written to `fileName` in a fresh home with `files` (given
// as its argument), or untitled when `text` is null, once its window is there.
// `env` may be made from the home.
export async function withDocument(name, text, body,
  { settings, files = {}, fileName = `${name}.text`, title, env = {} } = {}) {
  const home = makeHome({ settings, files: text === null ? files : { ...files, [fileName]: text } });
  const file = join(home, fileName);
  await withFrame(name, async (frame) => {
    const args = text === null ? [] : [file];
    const desktop = frame.start({ home, args, env: typeof env === 'function' ? env(home) : env });
    await desktop.waitForTitle(title || (text === null ? 'Untitled - Qorva' : `${file} - Qorva`));
    await body({ ...frame, desktop, home, file });
  });
}
