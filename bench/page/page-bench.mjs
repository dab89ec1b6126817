// Times the editor page on generated documents in headless Chromium and prints
// the figures. Each editing step is timed inside the page from the call (or the
// key press) until layout is done; the whole-document way (a full re-render and
// a copy of the root's HTML, what each step would cost if done naively) is
// measured alongside as a reference.
// Usage: node bench/page/page-bench.mjs [BLOCKS...]   (default 1000 10000)
import { launchBrowser, openEditor } from '../../tests/page/harness.mjs';
import { generateDocument, countWords } from './generate.mjs';

const sizes = process.argv.slice(2).map(Number).filter((n) => n > 0);
if (!sizes.length) sizes.push(1000, 10000);
const ROUNDS = 15;

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// Runs fn (in the page) ROUNDS times and returns the median in milliseconds.
async function timeInPage(editorPage, prepare, step, arg) {
  const times = [];
  for (let r = 0; r < ROUNDS; r++) {
    await editorPage.eval(prepare, arg);
    times.push(await editorPage.eval(step, arg));
  }
  return median(times);
}

async function measure(browser, blocks) {
  const e = await openEditor(browser);
  const model = generateDocument(blocks);
  const json = JSON.stringify(model);
  await e.eval((j) => { window.benchJson = j; }, json);
  const middle = Math.floor(blocks / 2);
  // A plain paragraph near the middle that follows another plain paragraph.
  const target = await e.eval((m) => {
    setTextJson(window.benchJson);
    for (let i = m; i < editor.getBlockCount() - 1; i++) {
      if (editor.getBlockType(i) === 'Plain' && editor.getBlockType(i - 1) === 'Plain' &&
          editor.getBlockLevel(i) === 0 && editor.getBlockLevel(i - 1) === 0 && !editor.isBlockEmpty(i - 1)) return i;
    }
    return -1;
  }, middle);

  const figures = {};
  figures.words = countWords(model);
  figures.load = await timeInPage(e, () => {}, () => {
    const t0 = performance.now();
    setTextJson(window.benchJson);
    return performance.now() - t0;
  });
  figures.loadAndLayout = await timeInPage(e, () => {}, () => {
    const t0 = performance.now();
    setTextJson(window.benchJson);
    void document.body.offsetHeight;
    return performance.now() - t0;
  });
  figures.save = await timeInPage(e, () => {}, () => {
    const t0 = performance.now();
    getTextJson();
    return performance.now() - t0;
  });

  // One typed character through the real keyboard: from the text event (before
  // the page's handler) to the text being in place, and then laid out.
  await e.eval((t) => {
    editor.setCaret(Point(t, 0, 3));
    window.benchTyping = [];
    document.addEventListener('textInput', () => { window.benchKeyStart = performance.now(); }, true);
    // Registered after the page's own handler, so it runs once the text is in.
    editor.root.addEventListener('textInput', () => {
      const script = performance.now() - window.benchKeyStart;
      void document.body.offsetHeight;
      window.benchTyping.push([script, performance.now() - window.benchKeyStart]);
    });
  }, target);
  for (let r = 0; r < ROUNDS; r++) await e.page.keyboard.type('x');
  const typing = await e.eval(() => window.benchTyping.splice(0));
  figures.typeCharacterScript = median(typing.map((t) => t[0]));
  figures.typeCharacter = median(typing.map((t) => t[1]));
  // A character that ends a word moves the selection by hand, so that the
  // browser checks the word's spelling.
  for (let r = 0; r < ROUNDS; r++) await e.page.keyboard.type(',');
  const wordEnds = await e.eval(() => window.benchTyping.splice(0));
  figures.typeWordEnd = median(wordEnds.map((t) => t[1]));

  // Each step twice: the page's own work alone, and with the layout that follows.
  const stepTimes = async (name, prepare, after) => {
    const script = [];
    const total = [];
    for (let r = 0; r < ROUNDS; r++) {
      const [a, b] = await e.eval(([n, t, p, q]) => {
        new Function('t', p)(t);
        void document.body.offsetHeight;
        const t0 = performance.now();
        window[n]();
        const t1 = performance.now();
        void document.body.offsetHeight;
        const t2 = performance.now();
        new Function('t', q)(t);
        return [t1 - t0, t2 - t0];
      }, [name, target, prepare, after]);
      script.push(a);
      total.push(b);
    }
    return [median(script), median(total)];
  };
  [figures.enterScript, figures.enter] = await stepTimes('insertNewline', 'editor.setCaret(Point(t, 0, 4));', '');
  [figures.undoScript, figures.undo] = await stepTimes('undo', '', '');
  [figures.redoScript, figures.redo] = await stepTimes('redo', '', 'undo();');
  [figures.backspaceJoinScript, figures.backspaceJoin] = await stepTimes('deleteBackward', 'editor.setCaret(Point(t, 0, 0));', 'undo();');

  // The whole-document way, for comparison.
  figures.fullRerender = await timeInPage(e, () => {}, () => {
    const t0 = performance.now();
    editor.spliceBlocks(0, editor.blocks.length, editor.blocks.slice());
    void document.body.offsetHeight;
    return performance.now() - t0;
  });
  figures.htmlSnapshot = await timeInPage(e, () => {}, () => {
    const t0 = performance.now();
    void editor.root.innerHTML.length;
    return performance.now() - t0;
  });
  figures.htmlRestore = await timeInPage(e, () => {}, () => {
    const html = editor.root.innerHTML;
    const t0 = performance.now();
    editor.setContent(html);
    void document.body.offsetHeight;
    return performance.now() - t0;
  });
  figures.blocks = await e.eval(() => editor.getBlockCount() - 1);
  figures.errors = e.errors.length;
  await e.page.close();
  return figures;
}

const browser = await launchBrowser();
try {
  const results = [];
  for (const n of sizes) results.push([n, await measure(browser, n)]);
  const rows = [
    ['words', 'words in the document', 0],
    ['load', 'setTextJson', 1], ['loadAndLayout', 'setTextJson + layout', 1], ['save', 'getTextJson', 1],
    ['typeCharacterScript', 'typed character: page script', 2], ['enterScript', 'Enter in the middle: page script', 2],
    ['backspaceJoinScript', 'Backspace joining: page script', 2], ['undoScript', 'undo: page script', 2],
    ['redoScript', 'redo: page script', 2],
    ['typeCharacter', 'typed character + layout', 1], ['typeWordEnd', 'typed word end (",") + layout', 1], ['enter', 'Enter in the middle + layout', 1],
    ['backspaceJoin', 'Backspace joining + layout', 1], ['undo', 'undo + layout', 1], ['redo', 'redo + layout', 1],
    ['fullRerender', 'reference: full re-render + layout', 1], ['htmlSnapshot', 'reference: innerHTML copy', 1],
    ['htmlRestore', 'reference: innerHTML restore + layout', 1],
  ];
  const header = ['median ms'.padEnd(38), ...results.map(([n]) => `${n} blocks`.padStart(14))];
  if (results.length > 1) header.push('ratio last/first'.padStart(18));
  console.log(header.join(''));
  for (const [key, label, decimals] of rows) {
    const cells = results.map(([, f]) => f[key].toFixed(decimals).padStart(14));
    const line = [label.padEnd(38), ...cells];
    if (results.length > 1) {
      const first = results[0][1][key];
      const last = results[results.length - 1][1][key];
      line.push((first > 0 ? (last / first).toFixed(2) : '-').padStart(18));
    }
    console.log(line.join(''));
  }
  const last = results[results.length - 1][1];
  console.log(`\nat ${results[results.length - 1][0]} blocks: Enter is ${(last.fullRerender / last.enter).toFixed(0)}x ` +
    `faster than a full re-render; undo ${(last.htmlRestore / last.undo).toFixed(0)}x faster than an HTML restore`);
  if (results.some(([, f]) => f.errors)) console.log('page errors occurred during the run');
} finally {
  await browser.close();
}
