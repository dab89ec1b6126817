// Start-up of the program to an editable window showing the welcome document,
// next to a bare browser view showing a tiny page, both timed from process spawn
// under one Xvfb server.
// Usage: node startup.mjs BUILD_DIR [RUNS]
import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { startXvfb } from '../xvfb.mjs';

const build = process.argv[2] || 'build';
const runs = Number(process.argv[3] || 5);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Milliseconds from spawn until `ready` says so, then the process is ended.
async function timeOne(command, args, env, ready) {
  const started = performance.now();
  const child = spawn(command, args, { env, stdio: ['ignore', 'pipe', 'ignore'] });
  let output = '';
  child.stdout.on('data', (chunk) => { output += chunk; });
  const exited = new Promise((resolve) => child.on('exit', resolve));
  for (;;) {
    if (ready(output)) break;
    if (child.exitCode !== null) throw new Error(`${command} ended early`);
    if (performance.now() - started > 60000) throw new Error(`${command} never became ready`);
    await sleep(5);
  }
  const ms = performance.now() - started;
  child.kill('SIGTERM');
  await exited;
  return ms;
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const x = await startXvfb('1280x800x24');
const home = mkdtempSync(join(tmpdir(), 'qorva-bench-'));
const env = {
  ...process.env, DISPLAY: x.display, QTWEBENGINE_DISABLE_SANDBOX: '1',
  XDG_CONFIG_HOME: join(home, 'config'), XDG_DATA_HOME: join(home, 'data'),
};
const program = [], bare = [];
try {
  for (let i = 0; i < runs; i++) {
    const out = join(home, `document-${i}.json`);
    rmSync(out, { force: true });
    // The document is written at the first idle moment after the welcome document
    // is in the page and the window is shown: the window is then ready for typing.
    program.push(await timeOne(join(build, 'bin/qorva'), ['--welcome'],
      { ...env, QORVA_TEST_DOCUMENT_OUT: out }, () => existsSync(out)));
    bare.push(await timeOne(join(build, 'bin/shell_bench'), ['bare-start'], env,
      (output) => output.includes('bare-start')));
  }
} finally {
  x.stop();
  rmSync(home, { recursive: true, force: true });
}
const fmt = (values) => values.map((v) => v.toFixed(0)).join(' ');
console.log(`qorva --welcome to editable window: median ${median(program).toFixed(0)} ms  (runs: ${fmt(program)})`);
console.log(`bare browser view showing a page:    median ${median(bare).toFixed(0)} ms  (runs: ${fmt(bare)})`);
console.log(`ratio program / bare view: ${(median(program) / median(bare)).toFixed(2)}x  (goal: program under 1000 ms)`);
