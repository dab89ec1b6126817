// Page script time per typed character at 10,000 blocks (the snapshot or the
// typing run before it, and the insertion), pages side by side.
// Usage: node bench/page/typing-bench.mjs BLOCKS PAGE.html [OTHER.html ...]
import { launchBrowser, openEditor } from '../../tests/page/harness.mjs';
import { generateDocument } from './generate.mjs';
import { loadavg } from 'node:os';

const [blocksArgument, ...pages] = process.argv.slice(2);
const blocks = Number(blocksArgument) || 10000;
if (!pages.length) pages.push('build/editor/editor-test.html');
const ROUNDS = 9;
const KEYS = 40;

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function measure(browser, pagePath) {
  const e = await openEditor(browser, pagePath);
  await e.eval((j) => setTextJson(j), JSON.stringify(generateDocument(blocks)));
  const perKey = [];
  for (let r = 0; r < ROUNDS; r++) {
    perKey.push(await e.eval((keys) => {
      let target = Math.floor(editor.getBlockCount() / 2);
      while (editor.getBlockType(target) !== 'Plain' || editor.getBlockSpans(target)[0].Text.length < 4) target++;
      editor.setCaret(Point(target, 0, 3));
      const t0 = performance.now();
      for (let k = 0; k < keys; k++) {
        shouldInsertText();
        editor.insertTextAtCaret('x');
      }
      return (performance.now() - t0) / keys;
    }, KEYS));
  }
  const steps = await e.eval(() => editor.undoStack.length);
  await e.page.close();
  return { perKey: median(perKey), steps };
}

const browser = await launchBrowser();
try {
  console.log(`ms of page script per typed character, ${blocks} blocks, ${KEYS} keys in a row (median of ${ROUNDS})`);
  for (const path of pages) {
    const f = await measure(browser, path);
    console.log(`${f.perKey.toFixed(3).padStart(8)}  undo steps left: ${String(f.steps).padStart(3)}  ${path}`);
  }
  console.log(`load average: ${loadavg().map((l) => l.toFixed(1)).join(' ')}`);
} finally {
  await browser.close();
}
