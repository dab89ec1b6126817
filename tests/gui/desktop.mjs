// Runs the desktop program under its own Xvfb server and drives it with real X key
// events (xdotool). Each test gets a fresh server, config and data folder.
import { spawn, execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, readFileSync, existsSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export const qorvaBin = process.env.QORVA_BIN;
export const convertBin = process.env.QORVA_CONVERT;
export const shotsDir = process.env.QORVA_SHOTS || join(tmpdir(), 'qorva-shots');

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export async function waitUntil(what, probe, timeoutMs = 15000) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = probe();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await sleep(100);
  }
}

// An X server of its own: -displayfd lets the server pick a free display number.
export async function startXvfb() {
  const server = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x800x24', '-nolisten', 'tcp', '-noreset'], {
    stdio: ['ignore', 'ignore', 'ignore', 'pipe'],
  });
  let text = '';
  server.stdio[3].on('data', (chunk) => { text += chunk; });
  const number = await waitUntil('Xvfb to start', () => (/\d+\n/.test(text) ? text.trim() : null), 15000);
  return {
    display: `:${number}`,
    stop() { server.kill('SIGTERM'); },
  };
}

// A running program with its own folders. `args` go to the program as they are.
export class Desktop {
  constructor(x, { args = [], home, cwd, env = {} } = {}) {
    this.x = x;
    this.home = home || mkdtempSync(join(tmpdir(), 'qorva-gui-'));
    this.documentOut = join(this.home, 'document.json');
    rmSync(this.documentOut, { force: true });
    this.output = '';
    this.process = spawn(qorvaBin, args, {
      cwd: cwd || this.home,
      env: {
        ...process.env,
        DISPLAY: x.display,
        XDG_CONFIG_HOME: join(this.home, 'config'),
        XDG_DATA_HOME: join(this.home, 'data'),
        XDG_STATE_HOME: join(this.home, 'state'),
        XDG_RUNTIME_DIR: this.runtimeDir(),
        QORVA_TEST_DOCUMENT_OUT: this.documentOut,
        QTWEBENGINE_DISABLE_SANDBOX: '1',
        ...env,
      },
      stdio: ['ignore', 'pipe', 'pipe'],
    });
    this.process.stdout.on('data', (chunk) => { this.output += chunk; });
    this.process.stderr.on('data', (chunk) => { this.output += chunk; });
    this.exited = new Promise((resolve) => this.process.on('exit', (code) => resolve(code)));
  }

  runtimeDir() {
    const dir = join(this.home, 'runtime');
    mkdirSync(dir, { recursive: true, mode: 0o700 });
    return dir;
  }

  xdotool(...args) {
    const result = spawnSync('xdotool', args, { env: { ...process.env, DISPLAY: this.x.display }, encoding: 'utf8' });
    return result.stdout.trim();
  }

  windowTitles() {
    const ids = this.xdotool('search', '--onlyvisible', '--name', '.').split('\n').filter(Boolean);
    return ids.map((id) => this.xdotool('getwindowname', id));
  }

  async waitForTitle(title, timeoutMs = 30000) {
    return waitUntil(`a window titled "${title}" (seen: ${this.windowTitles().join(' | ')})`,
      () => this.windowTitles().includes(title), timeoutMs);
  }

  // The window's title once it matches `pattern`.
  async waitForTitleMatching(pattern, timeoutMs = 30000) {
    return waitUntil(`a window title matching ${pattern}`,
      () => this.windowTitles().find((t) => pattern.test(t)), timeoutMs);
  }

  async keys(...keys) {
    for (const key of keys) {
      this.xdotool('key', '--delay', '60', key);
      await sleep(60);
    }
  }

  async type(text) {
    this.xdotool('type', '--delay', '60', text);
    await sleep(100);
  }

  document() {
    if (!existsSync(this.documentOut)) return null;
    try { return JSON.parse(readFileSync(this.documentOut, 'utf8')); } catch { return null; }
  }

  // The document once it satisfies `check`; fails with the last one seen.
  async waitForDocument(check, timeoutMs = 15000) {
    try {
      return await waitUntil('the document', () => { const d = this.document(); return d && check(d) ? d : null; }, timeoutMs);
    } catch (error) {
      throw new Error(`${error.message}; last document: ${JSON.stringify(this.document())}`);
    }
  }

  screenshot(name) {
    mkdirSync(shotsDir, { recursive: true });
    const file = join(shotsDir, `${name}.png`);
    spawnSync('import', ['-window', 'root', file], { env: { ...process.env, DISPLAY: this.x.display } });
    return file;
  }

  async close() {
    if (this.process.exitCode === null) this.process.kill('SIGTERM');
    await this.exited;
  }
}

// Model JSON for a native document, through the program's own reader, or null
// while the reader is not available.
export function readTextFormat(text) {
  const result = spawnSync(convertBin, ['ReadTextFormat'], { input: text, encoding: 'utf8' });
  return result.status === 0 ? JSON.parse(result.stdout) : null;
}

export { sleep };
