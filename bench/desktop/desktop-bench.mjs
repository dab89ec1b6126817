// The program itself as a user meets it, against other Markdown editors when
// they are installed, all in one run: each start in a private Xvfb with a window
// manager, on a generated 100,000-word book and a long manual. Prints, as
// medians of the rounds (editors alternated within each round):
//   open     seconds from the start to the window titled with the document
//   key      processor time of the whole process tree (engine processes
//            included) from the first typed key to 1 s after the last, per key;
//            40 characters typed at 10 per second with the caret mid-document
//   memory   after typing, summed over the process tree: proportional set size
//            (PSS; shared pages split with any other process, so it varies with
//            what else runs), resident set size (RSS; shared pages counted in
//            each process) and private memory (pages of that process alone)
//   idle     processor time over 10 s of an idle window with a blinking caret
// and each figure's ratio to the best other editor, and to the first program.
// With --native each Qorva program also opens the document in its own format
// (`.text`, converted beforehand by qorva-convert), and the document "note" (one
// short paragraph) gives the start-up's own share of opening.
// Usage: node bench/desktop/desktop-bench.mjs [--rounds N] [--docs book,manual,note]
//          [--native] [--no-peers] [--shots DIR] [--idle-threads] [LABEL=]QORVA_BIN ...
// --idle-threads prints, for each run, the threads that used the idle seconds (process and
// thread names, ms), to find what keeps an idle window busy.
// e.g.   node bench/desktop/desktop-bench.mjs new=build/bin/qorva main=/work/main/build/bin/qorva
import { spawn, spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { loadavg, tmpdir } from 'node:os';
import { basename, dirname, join, resolve } from 'node:path';
import { startXvfb } from '../xvfb.mjs';

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
const median = (values) => {
  const v = values.filter((x) => Number.isFinite(x)).sort((a, b) => a - b);
  return v.length ? v[Math.floor(v.length / 2)] : NaN;
};

const KEYS = 40;
const TYPED = 'the quick brown fox jumps over lazy dogs '.slice(0, KEYS);
const MARKER = 'Zanzibarwharf';
const TICK_MS = 1000 / Number(spawnSync('getconf', ['CLK_TCK'], { encoding: 'utf8' }).stdout.trim() || 100);

// ---- arguments
const options = { rounds: 3, docs: ['book', 'manual'], peers: true, shots: null, native: false, idleThreads: false };
const programs = [];
const argv = process.argv.slice(2);
for (let i = 0; i < argv.length; i++) {
  const a = argv[i];
  if (a === '--rounds') options.rounds = Number(argv[++i]);
  else if (a === '--docs') options.docs = argv[++i].split(',');
  else if (a === '--no-peers') options.peers = false;
  else if (a === '--native') options.native = true;
  else if (a === '--idle-threads') options.idleThreads = true;
  else if (a === '--shots') options.shots = resolve(argv[++i]);
  else {
    const [label, path] = a.includes('=') ? a.split('=') : [`qorva${programs.length ? programs.length + 1 : ''}`, a];
    programs.push({ label, kind: 'qorva', bin: resolve(path) });
  }
}
if (!programs.length) programs.push({ label: 'qorva', kind: 'qorva', bin: resolve('build/bin/qorva') });
for (const p of programs) if (!existsSync(p.bin)) throw new Error(`no program at ${p.bin}`);
if (options.native) {
  for (const p of [...programs]) programs.push({ ...p, label: `${p.label}.text`, native: true });
}
const which = (tool) => spawnSync('which', [tool], { encoding: 'utf8' }).stdout.trim();
for (const tool of ['Xvfb', 'xdotool']) if (!which(tool)) throw new Error(`the benchmark needs ${tool}`);
const windowManager = which('openbox');
if (options.peers) {
  // Each peer is given the same Markdown file and driven by the same keys.
  for (const [label, tool] of [['ReText', 'retext'], ['ghostwriter', 'ghostwriter']]) {
    const bin = which(tool);
    if (bin) programs.push({ label, kind: 'peer', bin });
  }
}

// ---- documents
const DICTIONARY = ('time year people way day man thing woman life child world school state family ' +
  'student group country problem hand part place case week company system program question work ' +
  'government number night point home water room mother area money story fact month lot right study ' +
  'book eye job word business issue side kind head house service friend father power hour game line ' +
  'end member law car city community name president team minute idea kid body information back parent ' +
  'face others level office door health person art war history party result change morning reason ' +
  'research girl guy moment air teacher force education foot boy age policy everything process music ' +
  'market sense nation plan college interest death experience effect use class control care field ' +
  'development role effort rate heart drug show leader light voice wife police mind price report ' +
  'decision son view relationship town road arm difference value building action model season society ' +
  'tax director position player record paper space ground form event official matter center couple ' +
  'site project activity star table need court oil situation cost industry figure street image phone ' +
  'data picture practice piece land product doctor wall patient worker news test movie north love ' +
  'support technology step baby computer type attention film tree source organization hair window ' +
  'evidence population site table quiet river garden walked slowly across bright morning green old ' +
  'small large early young important public bad same able').split(' ');

function generateBook(words) {
  let seed = 12345;
  const next = () => { seed = (seed * 1103515245 + 12345) & 0x7fffffff; return seed; };
  const paragraphs = [];
  let count = 0;
  let chapter = 0;
  const marked = Math.floor(words / 2);
  while (count < words) {
    if (paragraphs.length % 30 === 0) paragraphs.push(`# Chapter ${++chapter}`);
    const length = 60 + (next() % 80);
    const out = [];
    for (let i = 0; i < length; i++) {
      let w = DICTIONARY[next() % DICTIONARY.length];
      if (i === 0) w = w[0].toUpperCase() + w.slice(1);
      if (count + i === marked) w = MARKER;
      out.push(w + (i === length - 1 ? '.' : next() % 11 === 0 ? ',' : next() % 17 === 0 ? '.' : ''));
    }
    count += length;
    paragraphs.push(out.join(' '));
  }
  return paragraphs.join('\n\n') + '\n';
}

// A long program manual from the node documentation when it is there (read
// only; copied), else a generated one; the marker goes into its middle paragraph.
function manual() {
  const folder = '/usr/share/doc/nodejs/api';
  const parts = [];
  let words = 0;
  if (existsSync(folder)) {
    const files = readdirSync(folder).filter((f) => f.endsWith('.md')).map((f) => join(folder, f))
      .sort((a, b) => statSync(b).size - statSync(a).size);
    for (const file of files) {
      if (words >= 37000) break;
      const text = readFileSync(file, 'utf8');
      parts.push(text);
      words += text.split(/\s+/).filter(Boolean).length;
    }
  }
  if (!parts.length) return { text: generateBook(37000), words: 37000 };
  // Whole paragraphs up to 37,000 words.
  const paragraphs = [];
  words = 0;
  for (const paragraph of parts.join('\n\n').split('\n\n')) {
    if (words >= 37000) break;
    paragraphs.push(paragraph);
    words += paragraph.split(/\s+/).filter(Boolean).length;
  }
  let middle = Math.floor(paragraphs.length / 2);
  while (!/^[A-Z][a-z]+ [a-z]+ [a-z]+/.test(paragraphs[middle])) middle++;
  paragraphs[middle] = paragraphs[middle].replace(/ /, ` ${MARKER} `);
  return { text: paragraphs.join('\n\n'), words };
}

// ---- processes
function readStat(pid) {
  try {
    const text = readFileSync(`/proc/${pid}/stat`, 'utf8');
    const fields = text.slice(text.lastIndexOf(')') + 2).split(' ');
    // fields[0] is the state (field 3); ppid is field 4; utime..cstime fields 14-17.
    return { ppid: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12]) + Number(fields[13]) + Number(fields[14]) };
  } catch {
    return null;
  }
}

function processTree(root) {
  const parents = new Map();
  for (const name of readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    const s = readStat(name);
    if (s) parents.set(Number(name), s.ppid);
  }
  const tree = [root];
  for (let i = 0; i < tree.length; i++) {
    for (const [pid, ppid] of parents) if (ppid === tree[i]) tree.push(pid);
  }
  return tree;
}

// Ticks of every thread of the tree, by "process/thread name (tid)".
function threadTicks(root) {
  const ticks = new Map();
  for (const pid of processTree(root)) {
    let process = '?';
    try { process = readFileSync(`/proc/${pid}/comm`, 'utf8').trim(); } catch { continue; }
    let tids = [];
    try { tids = readdirSync(`/proc/${pid}/task`); } catch { continue; }
    for (const tid of tids) {
      try {
        const text = readFileSync(`/proc/${pid}/task/${tid}/stat`, 'utf8');
        const name = text.slice(text.indexOf('(') + 1, text.lastIndexOf(')'));
        const fields = text.slice(text.lastIndexOf(')') + 2).split(' ');
        ticks.set(`${process}/${name} (${tid})`, Number(fields[11]) + Number(fields[12]));
      } catch { /* gone */ }
    }
  }
  return ticks;
}

function printBusyThreads(label, before, after) {
  const busy = [...after].map(([thread, t]) => [thread, (t - (before.get(thread) || 0)) * TICK_MS])
    .filter(([, ms]) => ms > 0).sort((a, b) => b[1] - a[1]);
  console.error(`idle threads, ${label}: ${busy.map(([thread, ms]) => `${thread} ${ms} ms`).join(', ') || 'none'}`);
}

// Processor time of the tree in ms.
const treeCpu = (root) => processTree(root).reduce((sum, pid) => sum + (readStat(pid)?.ticks || 0), 0) * TICK_MS;

function treeMemory(root) {
  let pss = 0;
  let rss = 0;
  let uss = 0;
  for (const pid of processTree(root)) {
    try {
      const text = readFileSync(`/proc/${pid}/smaps_rollup`, 'utf8');
      pss += Number((text.match(/^Pss:\s+(\d+)/m) || [])[1] || 0);
      rss += Number((text.match(/^Rss:\s+(\d+)/m) || [])[1] || 0);
      for (const m of text.matchAll(/^Private_(?:Clean|Dirty):\s+(\d+)/gm)) uss += Number(m[1]);
    } catch { /* gone */ }
  }
  return { pss: pss / 1024, rss: rss / 1024, uss: uss / 1024 };
}

// The X server with the window manager on it.
async function startDesktop() {
  const x = await startXvfb();
  let wm = null;
  if (windowManager) {
    wm = spawn(windowManager, ['--sm-disable'], { env: { ...process.env, DISPLAY: x.display }, stdio: 'ignore' });
    await sleep(300);
  }
  return { display: x.display, stop: async () => { wm?.kill(); await x.stop(); } };
}

function xdotool(display, ...args) {
  return spawnSync('xdotool', args, { env: { ...process.env, DISPLAY: display }, encoding: 'utf8' }).stdout.trim();
}

// Waits until `probe` answers, or fails after `ms`.
async function waitFor(what, probe, ms = 60000) {
  const deadline = performance.now() + ms;
  for (;;) {
    const value = probe();
    if (value) return value;
    if (performance.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await sleep(10);
  }
}

// Waits until the tree has used under 5% of a core over half a second (at most `ms`).
async function settle(root, ms = 20000) {
  const deadline = performance.now() + ms;
  for (;;) {
    const before = treeCpu(root);
    await sleep(500);
    if (treeCpu(root) - before < 25 || performance.now() > deadline) return;
  }
}

// ---- one editor on one document
async function runOne(program, doc, home) {
  const x = await startDesktop();
  const env = {
    ...process.env, DISPLAY: x.display, QTWEBENGINE_DISABLE_SANDBOX: '1',
    HOME: home, XDG_CONFIG_HOME: join(home, 'config'), XDG_DATA_HOME: join(home, 'data'),
    XDG_STATE_HOME: join(home, 'state'), XDG_CACHE_HOME: join(home, 'cache'), XDG_RUNTIME_DIR: join(home, 'runtime'),
  };
  mkdirSync(join(home, 'runtime'), { recursive: true, mode: 0o700 });
  if (program.kind === 'qorva') {
    // A settled user: no welcome document of its own, the window at a fixed size.
    const settings = { 'Software\\Qorva': { LastRunVersion: { type: 'REG_SZ', data: '0.1.0' },
      WindowGeometry: { type: 'REG_SZ', data: '100,60,1000,760' } } };
    mkdirSync(join(home, 'config', 'qorva'), { recursive: true });
    writeFileSync(join(home, 'config', 'qorva', 'settings.json'), JSON.stringify(settings));
  }
  const started = performance.now();
  const file = program.native ? doc.nativeFile : doc.file;
  const child = spawn(program.bin, [file], { env, cwd: home, stdio: ['ignore', 'ignore', 'pipe'] });
  let errors = '';
  child.stderr.on('data', (chunk) => { errors += chunk; });
  const figures = {};
  try {
    const name = basename(file);
    const windowId = await waitFor(`a window titled ${name}`, () => {
      if (child.exitCode !== null) throw new Error(`${program.label} ended: ${errors.slice(-500)}`);
      const ids = xdotool(x.display, 'search', '--onlyvisible', '--name', name.replace('.', '\\.'));
      return ids.split('\n').filter(Boolean)[0];
    });
    figures.open = (performance.now() - started) / 1000;
    await settle(child.pid);
    xdotool(x.display, 'windowactivate', '--sync', windowId);
    xdotool(x.display, 'windowfocus', '--sync', windowId);
    // The caret mid-document: find the marker, close the search, then step off the match.
    xdotool(x.display, 'key', '--delay', '150', 'ctrl+f');
    await sleep(500);
    xdotool(x.display, 'type', '--delay', '50', MARKER);
    xdotool(x.display, 'key', '--delay', '300', 'Return', 'Escape');
    await sleep(500);
    xdotool(x.display, 'windowfocus', '--sync', windowId);
    xdotool(x.display, 'key', 'Right');
    await settle(child.pid);
    if (options.shots) shot(x.display, `${program.label}-${doc.name}-before`);

    const before = treeCpu(child.pid);
    xdotool(x.display, 'type', '--delay', '100', TYPED);
    await sleep(1000);
    figures.key = (treeCpu(child.pid) - before) / KEYS;
    const memory = treeMemory(child.pid);
    figures.memory = memory.pss;
    figures.rss = memory.rss;
    figures.uss = memory.uss;
    if (options.shots) shot(x.display, `${program.label}-${doc.name}-after`);
    // Past the recovery copy kept 2 s after the last change, then quiet.
    await sleep(2500);
    await settle(child.pid, 5000);
    const idleBefore = treeCpu(child.pid);
    const threadsBefore = options.idleThreads ? threadTicks(child.pid) : null;
    await sleep(10000);
    figures.idle = (treeCpu(child.pid) - idleBefore) / 10000 * 100;
    if (threadsBefore) printBusyThreads(`${program.label} ${doc.name}`, threadsBefore, threadTicks(child.pid));
  } finally {
    const exited = new Promise((done) => (child.exitCode !== null ? done() : child.on('exit', done)));
    for (const pid of processTree(child.pid).reverse()) { try { process.kill(pid, 'SIGKILL'); } catch { /* gone */ } }
    await exited;
    await x.stop();
  }
  return figures;
}

// The Markdown file in the program's own format, as the program would read it.
function nativeCopy(markdown) {
  const convert = join(dirname(programs[0].bin), 'qorva-convert');
  const run = (command, args, input) => {
    const out = spawnSync(command, args, { input, encoding: 'utf8', maxBuffer: 1 << 28 });
    if (out.status !== 0) throw new Error(`${command} ${args[0]} failed: ${out.stderr}`);
    return out.stdout;
  };
  const pandocJson = run('pandoc', ['-f', 'markdown', '-t', 'json', markdown]);
  const text = run(convert, ['WriteTextFormat'], run(convert, ['ReadPandocJson'], pandocJson));
  const file = markdown.replace(/\.md$/, '.text');
  writeFileSync(file, text);
  return file;
}

function shot(display, name) {
  mkdirSync(options.shots, { recursive: true });
  spawnSync('import', ['-window', 'root', join(options.shots, `${name}.png`)], { env: { ...process.env, DISPLAY: display } });
}

// ---- the run
const work = mkdtempSync(join(tmpdir(), 'qorva-desktop-bench-'));
const docs = [];
for (const name of options.docs) {
  const made = name === 'book' ? { text: generateBook(100000), words: 100000 }
    : name === 'note' ? { text: `A short note with one ${MARKER} word in it.\n`, words: 9 } : manual();
  const file = join(work, `${name}.md`);
  writeFileSync(file, made.text);
  docs.push({ name, file, words: made.words, nativeFile: options.native ? nativeCopy(file) : null });
}
const results = new Map();  // label -> doc -> metric -> values
try {
  for (let round = 0; round < options.rounds; round++) {
    for (const doc of docs) {
      // Alternated: each round starts with a different editor.
      const order = programs.map((_, i) => programs[(i + round) % programs.length]);
      // Pandoc's own reading of the Markdown, which opening a .md must wait for.
      const pandocStarted = performance.now();
      spawnSync('pandoc', ['-f', 'markdown', '-t', 'json', '-o', '/dev/null', doc.file]);
      (doc.pandoc ||= []).push((performance.now() - pandocStarted) / 1000);
      for (const program of order) {
        const home = mkdtempSync(join(work, 'home-'));
        let figures;
        try {
          figures = await runOne(program, doc, home);
        } catch (error) {
          console.error(`${program.label} on ${doc.name}: ${error.message}`);
          figures = {};
        }
        rmSync(home, { recursive: true, force: true });
        const byDoc = results.get(program.label) || results.set(program.label, new Map()).get(program.label);
        const metrics = byDoc.get(doc.name) || byDoc.set(doc.name, {}).get(doc.name);
        for (const [k, v] of Object.entries(figures)) (metrics[k] ||= []).push(v);
        console.error(`round ${round + 1} ${doc.name} ${program.label}: ${JSON.stringify(figures, (k, v) => (typeof v === 'number' ? Number(v.toFixed(3)) : v))}`);
      }
    }
  }
} finally {
  rmSync(work, { recursive: true, force: true });
}

const METRICS = [['open', 'open (s)', 2], ['key', 'CPU per key (ms)', 1], ['memory', 'PSS (MB)', 0], ['rss', 'RSS sum (MB)', 0], ['uss', 'private (MB)', 0], ['idle', 'idle (% core)', 2]];
const med = (label, doc, metric) => median(results.get(label)?.get(doc)?.[metric] || []);
const peers = programs.filter((p) => p.kind === 'peer');
console.log(`\nmedians of ${options.rounds} rounds; ${KEYS} keys at 10/s; window manager: ${windowManager ? basename(windowManager) : 'none'}; load average ${loadavg().map((l) => l.toFixed(1)).join(' ')}`);
for (const doc of docs) {
  console.log(`\n${doc.name} (${doc.words} words; Markdown, or the program's own format for .text); ` +
    `Pandoc alone reads the Markdown in ${median(doc.pandoc).toFixed(2)} s`);
  console.log(['editor'.padEnd(14), ...METRICS.map(([, title]) => title.padStart(18))].join(''));
  for (const p of programs) {
    console.log([p.label.padEnd(14), ...METRICS.map(([m, , digits]) => {
      const value = med(p.label, doc.name, m);
      const ratios = [];
      if (peers.length && p.kind === 'qorva') {
        const best = Math.min(...peers.map((q) => med(q.label, doc.name, m)).filter(Number.isFinite));
        if (Number.isFinite(best) && best > 0) ratios.push(`${(value / best).toFixed(2)}p`);
      }
      if (p !== programs[0] && p.kind === 'qorva') ratios.push(`${(value / med(programs[0].label, doc.name, m)).toFixed(2)}f`);
      return `${value.toFixed(digits)}${ratios.length ? ` ${ratios.join(' ')}` : ''}`.padStart(18);
    })].join(''));
  }
}
console.log('\np: ratio to the best other editor; f: ratio to the first program.');
