// Times the page's formatting, clipboard, search and count functions on
// generated documents in headless Chromium and prints the figures (median of
// several rounds, from the call until layout is done).
// Usage: node bench/page/commands-bench.mjs [BLOCKS...]   (default 1000 10000)
import { launchBrowser, openEditor } from '../../tests/page/harness.mjs';
import { generateDocument } from './generate.mjs';
import { loadavg, cpus } from 'node:os';

const sizes = process.argv.slice(2).map(Number).filter((n) => n > 0);
if (!sizes.length) sizes.push(1000, 10000);
const ROUNDS = 15;

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// Each round returns a time, or [time of the call, time with layout after it].
async function rounds(e, fn, arg) {
  const calls = [];
  const totals = [];
  for (let r = 0; r < ROUNDS; r++) {
    const t = await e.eval(fn, arg);
    calls.push(Array.isArray(t) ? t[0] : t);
    totals.push(Array.isArray(t) ? t[1] : t);
  }
  return { call: median(calls), total: median(totals) };
}

// A plain level-0 paragraph of one plain span at or after index `from`.
function findPlainParagraph(from) {
  for (let i = from; i < editor.getBlockCount() - 1; i++) {
    if (editor.getBlockType(i) === 'Plain' && editor.getBlockLevel(i) === 0 && editor.getSpanCount(i) >= 1 &&
        editor.getSpanType(i, 0) === 'Plain' && editor.getBlockSpans(i)[0].Text.length > 10) return i;
  }
  return -1;
}

async function measure(browser, blocks) {
  const e = await openEditor(browser);
  await e.eval((j) => { window.benchJson = j; }, JSON.stringify(generateDocument(blocks)));
  await e.eval(`window.findPlainParagraph = ${findPlainParagraph.toString()}`);
  const load = () => e.eval(() => {
    setTextJson(window.benchJson);
    window.middle = findPlainParagraph(Math.floor(editor.getBlockCount() / 2));
    window.nearEnd = findPlainParagraph(editor.getBlockCount() - 60);
  });
  await load();
  const f = {};

  // Counts as the title asks for them: both numbers, document-wide.
  // The first idle moment after loading comes in a task of its own.
  const afterLoad = [];
  for (let r = 0; r < ROUNDS; r++) {
    await e.eval(() => setTextJson(window.benchJson));
    afterLoad.push(await e.eval(() => {
      const t0 = performance.now();
      getWordCount();
      getCharCount();
      return performance.now() - t0;
    }));
  }
  f.countsAfterLoad = { call: median(afterLoad), total: median(afterLoad) };
  f.countsCold = await rounds(e, () => {
    editor.countCache = null;
    const t0 = performance.now();
    getWordCount();
    getCharCount();
    return performance.now() - t0;
  });
  f.countsIdle = await rounds(e, () => {
    getWordCount();
    const t0 = performance.now();
    getWordCount();
    getCharCount();
    return performance.now() - t0;
  });
  f.countsAfterEdit = await rounds(e, () => {
    getWordCount();
    editor.setCaret(Point(window.middle, 0, 3));
    const text = editor.blocks[window.middle].children[2].firstChild;
    text.insertData(2, 'x');
    const t0 = performance.now();
    getWordCount();
    getCharCount();
    return performance.now() - t0;
  });
  // The status line's one call on the idle after a typed key.
  f.statusLineAfterEdit = await rounds(e, () => {
    getCounts();
    editor.setCaret(Point(window.middle, 0, 3));
    editor.blocks[window.middle].children[2].firstChild.insertData(2, 'x');
    const t0 = performance.now();
    getCounts();
    return performance.now() - t0;
  });
  // A selection over the whole document, as after Select All.
  f.countsSelectedAll = await rounds(e, () => {
    editor.setSelection(Range(Point(0, 0, 0), Point(editor.getBlockCount() - 1, 0, 0)));
    getWordCountSelected();
    const t0 = performance.now();
    getWordCountSelected();
    getCharCountSelected();
    return performance.now() - t0;
  });

  // The floor under every edit: one character changed, then layout.
  f.layoutFloor = await rounds(e, () => {
    void document.body.offsetHeight;
    const t0 = performance.now();
    editor.blocks[window.middle].children[2].firstChild.insertData(1, 'x');
    const t1 = performance.now();
    void document.body.offsetHeight;
    return [t1 - t0, performance.now() - t0];
  });
  f.paragraphStyle = await rounds(e, () => {
    editor.setCaret(Point(window.middle, 0, 4));
    const t0 = performance.now();
    styleParagraphBulleted();
    const t1 = performance.now();
    void document.body.offsetHeight;
    return [t1 - t0, performance.now() - t0];
  });
  f.characterStyle = await rounds(e, () => {
    editor.setCaret(Point(window.middle, 0, 2));
    const t0 = performance.now();
    styleWordStrong();
    const t1 = performance.now();
    void document.body.offsetHeight;
    return [t1 - t0, performance.now() - t0];
  });
  f.shiftDown = await rounds(e, () => {
    editor.setCaret(Point(window.middle, 0, 2));
    const t0 = performance.now();
    shiftParagraphDown();
    const t1 = performance.now();
    void document.body.offsetHeight;
    const elapsed = [t1 - t0, performance.now() - t0];
    shiftParagraphUp();
    return elapsed;
  });

  // Paste of 1,000 paragraphs into the middle, taken back by undo each round.
  await e.eval(() => {
    const model = ['text'];
    for (let i = 0; i < 1000; i++) model.push(['para', { level: 0 }, ['plain', 'pasted paragraph number ' + i]]);
    window.pasteJson = JSON.stringify(model);
  });
  f.paste1000 = await rounds(e, () => {
    editor.setCaret(Point(window.middle, 0, 4));
    const t0 = performance.now();
    paste(window.pasteJson);
    const t1 = performance.now();
    void document.body.offsetHeight;
    const elapsed = [t1 - t0, performance.now() - t0];
    undo();
    return elapsed;
  });
  f.copyAll = await rounds(e, () => {
    editor.setSelection(Range(Point(0, 0, 0), Point(editor.getBlockCount() - 1, 0, 0)));
    const t0 = performance.now();
    copy();
    return performance.now() - t0;
  });

  // A word that occurs once, near the end; the search starts at the top.
  await load();
  await e.eval(() => {
    const spans = editor.getBlockSpans(window.nearEnd);
    spans[0].Text += ' zanzibar';
    editor.setBlockSpans(window.nearEnd, spans);
  });
  // The first search after loading lays out every block the browser's find
  // passes over that has not been shown yet; later ones find them laid out.
  const firstSearch = await e.eval(() => {
    editor.setCaret(Point(0, 0, 0));
    prepareSearch();
    const t0 = performance.now();
    startSearch('zanzibar');
    return performance.now() - t0;
  });
  f.firstSearch = { call: firstSearch, total: firstSearch };
  f.searchNearEnd = await rounds(e, () => {
    editor.setCaret(Point(0, 0, 0));
    prepareSearch();
    const t0 = performance.now();
    startSearch('zanzibar');
    const elapsed = performance.now() - t0;
    if (editor.getSelection().start.block !== window.nearEnd) throw new Error('search missed the word');
    return elapsed;
  });
  f.searchMissing = await rounds(e, () => {
    editor.setCaret(Point(0, 0, 0));
    prepareSearch();
    const t0 = performance.now();
    startSearch('qwertyuiop');
    return performance.now() - t0;
  });

  // The same with a Greek word, which the folded block texts do not judge.
  await load();
  await e.eval(() => {
    const spans = editor.getBlockSpans(window.nearEnd);
    spans[0].Text += ' ζάντζιμπαρ';
    editor.setBlockSpans(window.nearEnd, spans);
  });
  const firstGreek = await e.eval(() => {
    editor.setCaret(Point(0, 0, 0));
    prepareSearch();
    const t0 = performance.now();
    startSearch('ζάντζιμπαρ');
    const elapsed = performance.now() - t0;
    if (editor.getSelection().start.block !== window.nearEnd) throw new Error('search missed the Greek word');
    return elapsed;
  });
  f.firstSearchGreek = { call: firstGreek, total: firstGreek };
  f.searchGreekMissing = await rounds(e, () => {
    editor.setCaret(Point(0, 0, 0));
    prepareSearch();
    const t0 = performance.now();
    startSearch('ψωμί');
    return performance.now() - t0;
  });
  f.searchOtherMissing = await rounds(e, () => {
    editor.setCaret(Point(0, 0, 0));
    prepareSearch();
    const t0 = performance.now();
    startSearch('«x+y»');
    return performance.now() - t0;
  });

  // Replace All of a word found in most paragraphs, taken back by undo each round.
  await load();
  f.replaceAllCount = await e.eval(() => { const n = replaceAll('dolor', 'DOLOR'); undo(); return n; });
  f.replaceAll = await rounds(e, () => {
    editor.setCaret(Point(window.middle, 0, 0));
    const t0 = performance.now();
    replaceAll('dolor', 'DOLOR');
    const t1 = performance.now();
    void document.body.offsetHeight;
    const elapsed = [t1 - t0, performance.now() - t0];
    undo();
    return elapsed;
  });
  f.replaceAllMissing = await rounds(e, () => {
    const t0 = performance.now();
    replaceAll('qwertyuiop', 'x');
    return performance.now() - t0;
  });

  // The outline as the panel asks for it at idle: unchanged, and after a typed
  // character in a heading.
  await load();
  f.outlineCount = await e.eval(() => JSON.parse(getOutline()).headings.length);
  f.outlineIdle = await rounds(e, () => {
    getOutline();
    const t0 = performance.now();
    getOutline();
    return performance.now() - t0;
  });
  f.outlineAfterEdit = await rounds(e, () => {
    getOutline();
    const heading = editor.blocks.findIndex((b, i) => i > window.middle && editor.getBlockType(i) === 'Heading');
    editor.blocks[heading].children[2].firstChild.insertData(1, 'x');
    const t0 = performance.now();
    getOutline();
    return performance.now() - t0;
  });

  // The script's own share of a command: from the call until it first places
  // the selection, which is where the browser lays out the changed document.
  await load();
  await e.eval(() => {
    const setSelection = editor.setSelection;
    editor.setSelection = function (range) {
      if (window.selectionReachedAt === null) window.selectionReachedAt = performance.now();
      return setSelection.call(this, range);
    };
  });
  const scriptShare = (fn) => rounds(e, fn);
  f.paragraphStyleScript = await scriptShare(() => {
    editor.setCaret(Point(window.middle, 0, 4));
    window.selectionReachedAt = null;
    const t0 = performance.now();
    styleParagraphBulleted();
    return window.selectionReachedAt - t0;
  });
  f.characterStyleScript = await scriptShare(() => {
    editor.setCaret(Point(window.middle, 0, 2));
    window.selectionReachedAt = null;
    const t0 = performance.now();
    styleWordStrong();
    return window.selectionReachedAt - t0;
  });
  f.paste1000Script = await scriptShare(() => {
    editor.setCaret(Point(window.middle, 0, 4));
    window.selectionReachedAt = null;
    const t0 = performance.now();
    paste(window.pasteJson);
    const elapsed = window.selectionReachedAt - t0;
    undo();
    return elapsed;
  });

  f.blocks = await e.eval(() => editor.getBlockCount() - 1);
  f.errors = e.errors.slice();
  await e.page.close();
  return f;
}

const rows = [
  ['countsAfterLoad', 'word + char count after setTextJson', '< 5'],
  ['countsCold', 'word + char count, nothing known', ''],
  ['countsIdle', 'word + char count, idle, no change', '< 5'],
  ['countsAfterEdit', 'word + char count after a typed char', '< 5'],
  ['statusLineAfterEdit', 'status line counts after a typed char', '< 5'],
  ['countsSelectedAll', 'selected word + char count, all selected', '< 5'],
  ['layoutFloor', 'reference: one character + layout', ''],
  ['paragraphStyle', 'Bulleted toggle in the middle', '< 16'],
  ['characterStyle', 'Strong on a word in the middle', '< 16'],
  ['shiftDown', 'Shift Down in the middle', ''],
  ['paste1000', 'paste 1,000 paragraphs in the middle', '< 100'],
  ['paragraphStyleScript', 'script share: Bulleted toggle', ''],
  ['characterStyleScript', 'script share: Strong on a word', ''],
  ['paste1000Script', 'script share: paste 1,000 paragraphs', ''],
  ['copyAll', 'copy of the whole document', ''],
  ['firstSearch', 'first search after loading, near the end', ''],
  ['searchNearEnd', 'search a word near the end', '< 50'],
  ['searchMissing', 'search a missing word (with wrap)', ''],
  ['firstSearchGreek', 'first search after loading, Greek, near end', ''],
  ['searchGreekMissing', 'search a missing Greek word (with wrap)', ''],
  ['searchOtherMissing', 'search missing punctuation (with wrap)', ''],
  ['replaceAll', 'Replace All of a frequent word', '< 200'],
  ['replaceAllMissing', 'Replace All of a missing word', ''],
  ['outlineIdle', 'outline refresh, nothing changed', '< 5'],
  ['outlineAfterEdit', 'outline refresh after a heading edit', '< 5'],
];

const browser = await launchBrowser();
try {
  const results = [];
  for (const n of sizes) results.push([n, await measure(browser, n)]);
  // "call" is the function alone (including any layout it forces itself, for
  // example to scroll the caret into view); "+layout" adds the layout after it.
  const head = ['median ms'.padEnd(40)];
  for (const [n] of results) head.push(`${n} call`.padStart(13), `${n} +layout`.padStart(16));
  head.push('goal at 10,000'.padStart(16));
  console.log(head.join(''));
  for (const [key, label, goal] of rows) {
    const line = [label.padEnd(40)];
    for (const [, f] of results) line.push(f[key].call.toFixed(2).padStart(13), f[key].total.toFixed(2).padStart(16));
    line.push(goal.padStart(16));
    console.log(line.join(''));
  }
  for (const [n, f] of results) console.log(`${n} blocks: Replace All replaced ${f.replaceAllCount}, outline of ${f.outlineCount} headings`);
  console.log(`\nload average while measuring: ${loadavg().map((l) => l.toFixed(1)).join(' ')} on ${cpus().length} cores`);
  for (const [n, f] of results) if (f.errors.length) console.log(`page errors at ${n} blocks: ${f.errors.join('; ')}`);
} finally {
  await browser.close();
}
