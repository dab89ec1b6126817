// What one editing step costs in headless Chromium once the frames it causes are
// counted: the main-thread work (the step's own script and layout, then style,
// layout, pre-paint, paint and intersection work of the frames until the page is
// quiet again, read from a Chromium trace, which adds some overhead of its own),
// and the time until the first frame after the step has been painted.
// Several assembled pages can be compared side by side in one run, each also as
// a ratio to the first (bench/page/reference-page.sh builds an earlier commit's
// page). Opening the page (until its load event), loading a document, saving and
// the first search after loading are timed as well.
// Usage: node bench/page/frame-bench.mjs [BLOCKS] [--painted-only] [--writing-modes] [--formulas] [PAGE.html ...]
//        (default 10000 blocks and the test page, build/editor/editor-test.html;
//        --painted-only leaves out the traced main-thread work, which takes long
//        at 100,000 blocks; --writing-modes measures each page also with focus
//        and typewriter modes on, with the ratio on/off; --formulas puts a formula
//        in one block in five and makes one in twenty code in a language)
import { launchBrowser, openEditor, testPagePath } from '../../tests/page/harness.mjs';
import { generateDocument } from './generate.mjs';
import { readFileSync, readdirSync } from 'node:fs';

const args = process.argv.slice(2);
const blocks = Number(args.find((a) => /^\d+$/.test(a)) || 10000);
const paintedOnly = args.includes('--painted-only');
const writingModes = args.includes('--writing-modes');
const formulas = args.includes('--formulas');
const pages = args.filter((a) => !/^\d+$/.test(a) && !a.startsWith('--'));
if (!pages.length) pages.push(testPagePath());
// Fewer rounds for the largest documents, where one step of an old page can take seconds.
const ROUNDS = blocks >= 50000 ? 3 : 7;
const QUIET_MS = 400;

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Sums the top-level tasks of the renderer's main thread in a trace.
function mainThreadMs(events) {
  const main = events.find((e) => e.ph === 'M' && e.name === 'thread_name' && e.args.name === 'CrRendererMain');
  if (!main) throw new Error('no renderer main thread in the trace');
  let total = 0;
  for (const e of events) {
    if (e.pid === main.pid && e.tid === main.tid && e.ph === 'X' && e.name === 'ThreadControllerImpl::RunTask') total += e.dur;
  }
  return total / 1000;
}

async function traced(cdp, action) {
  const events = [];
  const collect = (d) => events.push(...d.value);
  cdp.on('Tracing.dataCollected', collect);
  await cdp.send('Tracing.start', { categories: 'toplevel,devtools.timeline', transferMode: 'ReportEvents' });
  await action();
  await sleep(QUIET_MS);
  const done = new Promise((resolve) => cdp.once('Tracing.tracingComplete', resolve));
  await cdp.send('Tracing.end');
  await done;
  cdp.off('Tracing.dataCollected', collect);
  return mainThreadMs(events);
}

// From the step to the end of the first frame painted after it (a task posted
// from the frame's animation callback runs once that frame is done), untraced.
// Includes the wait for the frame's turn, up to one frame interval.
async function untilPainted(e, step) {
  // Starts the clock and waits for the first frame after it; the page keeps the promise.
  const arm = `window.benchStart = performance.now();
    window.benchPainted = new Promise((resolve) => requestAnimationFrame(() => {
      const channel = new MessageChannel();
      channel.port1.onmessage = () => resolve(performance.now() - window.benchStart);
      channel.port2.postMessage(0);
    }));`;
  if (step.key) {
    // Armed by the key itself, so the key's trip to the page is not counted.
    await e.eval((a) => document.addEventListener('keydown', new Function(a), { capture: true, once: true }), arm);
    await e.page.keyboard.type(step.key);
  } else {
    await e.eval(([a, c]) => { new Function(a)(); new Function(c)(); }, [arm, step.call]);
  }
  return e.eval(() => window.benchPainted);
}

// A word put into a block near the end of a freshly loaded document, searched
// from the top.
async function firstSearch(e, count) {
  await e.eval((n) => {
    setTextJson(window.benchJson);
    const near = n - Math.floor(n / 20);
    const spans = editor.getBlockSpans(near);
    spans[spans.length - 1].Text += ' zanzibar';
    editor.setBlockSpans(near, spans);
    editor.setCaret(Point(0, 0, 0));
    prepareSearch();
  }, count);
  await sleep(QUIET_MS);
  return untilPainted(e, { call: "startSearch('zanzibar')" });
}

// Memory of this run's renderer processes (descendants of this process started
// with --type=renderer), from their proportional set size.
function rendererMemoryMb() {
  const children = new Map();
  for (const name of readdirSync('/proc').filter((n) => /^\d+$/.test(n))) {
    try {
      const stat = readFileSync(`/proc/${name}/stat`, 'utf8');
      const ppid = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
      if (!children.has(ppid)) children.set(ppid, []);
      children.get(ppid).push(Number(name));
    } catch { /* gone */ }
  }
  let kb = 0;
  const pending = [process.pid];
  while (pending.length) {
    const pid = pending.pop();
    for (const child of children.get(pid) || []) {
      pending.push(child);
      try {
        if (!readFileSync(`/proc/${child}/cmdline`, 'utf8').includes('--type=renderer')) continue;
        kb += Number((/^Pss:\s+(\d+)/m.exec(readFileSync(`/proc/${child}/smaps_rollup`, 'utf8')) || [0, 0])[1]);
      } catch { /* gone */ }
    }
  }
  return kb / 1024;
}

// With the writing modes, each figure is taken with the modes off and on in turn,
// in the same page and document, so the two columns share the machine's state.
async function measure(browser, pagePath, count = blocks) {
  const e = await openEditor(browser, pagePath);
  await e.page.setViewportSize({ width: 1000, height: 800 });
  const json = JSON.stringify(generateDocument(count, { formulas }));
  const variants = writingModes ? ['0', '1'] : ['0'];
  const figures = variants.map(() => ({}));
  // Pages from before the writing modes are measured without them.
  const setModes = (on) => writingModes && e.eval((m) => { setFocusMode(m); setTypewriterMode(m); }, on);
  const each = async (name, take) => {
    for (const [i, on] of variants.entries()) {
      await setModes(on);
      figures[i][name] = await take();
    }
  };
  const opened = await e.eval(() => performance.getEntriesByType('navigation')[0].loadEventEnd);
  figures.forEach((f) => { f['page opened: load event'] = opened; });
  await e.eval((j) => { window.benchJson = j; }, json);
  await each('load: until painted', async () => {
    const painted = await untilPainted(e, { call: 'setTextJson(window.benchJson)' });
    await sleep(QUIET_MS);
    return painted;
  });
  const memory = rendererMemoryMb();
  figures.forEach((f) => { f['renderer memory MB'] = memory; });
  await each('getTextJson', () => e.eval(() => {
    const t0 = performance.now();
    getTextJson();
    return performance.now() - t0;
  }));
  await each('first search after load: until painted', () => firstSearch(e, count));
  const target = await e.eval(([j, n]) => {
    setTextJson(j);
    for (let i = Math.floor(n / 2); i < editor.getBlockCount() - 1; i++) {
      if (editor.getBlockType(i) === 'Plain' && editor.getBlockType(i - 1) === 'Plain' &&
          editor.getBlockLevel(i) === 0 && !editor.isBlockEmpty(i - 1)) return i;
    }
    return -1;
  }, [json, count]);
  // A line of code after the target, and a paragraph with a formula.
  const [code, math] = await e.eval((t) => {
    let c = t;
    while (editor.getBlockType(c) !== 'Code') c++;
    let m = t;
    while (!editor.getBlockSpans(m).some((s) => s.Type === 'Math')) m++;
    return [c, m];
  }, target);
  const cdp = await e.page.context().newCDPSession(e.page);
  const steps = {
    'typed character': { prepare: `editor.setCaret(Point(${target}, 0, 3))`, key: 'x' },
    'typed in code': { prepare: `editor.setCaret(Point(${code}, 0, 3)); editor.scrollToSelection()`, key: 'x' },
    'typed in a formula': { prepare: `editor.setCaret(Point(${math}, 1, 3)); editor.scrollToSelection()`, key: 'x' },
    'Enter': { prepare: `editor.setCaret(Point(${target}, 0, 4))`, call: 'insertNewline()', after: 'undo()' },
    'Backspace joining': { prepare: `editor.setCaret(Point(${target}, 0, 0))`, call: 'deleteBackward()', after: 'undo()' },
    'caret down a block': { prepare: `editor.setCaret(Point(${target}, 0, 4))`, call: 'moveDown()' },
    'undo': { prepare: `editor.setCaret(Point(${target}, 0, 4)); insertNewline()`, call: 'undo()' },
    'redo': { prepare: `editor.setCaret(Point(${target}, 0, 4)); insertNewline(); undo()`, call: 'redo()', after: 'undo()' },
    'paragraph style': { prepare: `editor.setCaret(Point(${target}, 0, 4))`, call: 'styleParagraphQuotation()', after: 'undo()' },
    'character style': { prepare: `editor.setCaret(Point(${target}, 0, 2))`, call: 'styleWordStrong()', after: 'undo()' },
  };
  const run = (code) => e.eval((c) => new Function(c)(), code);
  for (const [name, step] of Object.entries(steps)) {
    const work = variants.map(() => []);
    const painted = variants.map(() => []);
    for (let r = 0; r < ROUNDS; r++) {
      for (const [i, on] of variants.entries()) {
        await setModes(on);
        if (!paintedOnly) {
          await run(step.prepare);
          await sleep(QUIET_MS);
          work[i].push(await traced(cdp, () => (step.key ? e.page.keyboard.type(step.key) : run(step.call))));
          if (step.after) await run(step.after);
        }
        await run(step.prepare);
        await sleep(QUIET_MS);
        painted[i].push(await untilPainted(e, step));
        if (step.after) await run(step.after);
      }
    }
    figures.forEach((f, i) => {
      if (!paintedOnly) f[`${name}: main-thread work`] = median(work[i]);
      f[`${name}: until painted`] = median(painted[i]);
    });
  }
  figures.forEach((f) => { f.errors = e.errors.length; });
  await e.page.close();
  return figures;
}

const browser = await launchBrowser();
try {
  // The browser's first page pays for starting up; a small document measured
  // and thrown away takes that on.
  await measure(browser, pages[0], 200);
  const results = [];
  for (const path of pages) results.push(...(await measure(browser, path)));
  console.log(`ms per step, ${blocks} blocks (median of ${ROUNDS}): main-thread work traced until quiet, frames ` +
    'included; time until the first frame after the step is painted, untraced');
  pages.forEach((p, i) => console.log(`  [${i + 1}] ${p}` + (writingModes ? ': modes off, focus and typewriter on, on/off' : '')));
  for (const name of Object.keys(results[0]).filter((k) => k !== 'errors')) {
    const cells = [];
    results.forEach((f, i) => {
      cells.push(f[name].toFixed(1).padStart(10));
      if (writingModes && i % 2) cells.push(('x' + (f[name] / results[i - 1][name]).toFixed(2)).padStart(8));
    });
    // Without the modes, each page after the first also as a ratio to it.
    if (!writingModes) results.slice(1).forEach((f) => cells.push(('x' + (f[name] / results[0][name]).toFixed(2)).padStart(8)));
    console.log(name.padEnd(36) + cells.join(''));
  }
  if (results.some((f) => f.errors)) console.log('page errors occurred during the run');
} finally {
  await browser.close();
}
