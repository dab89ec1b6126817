import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { useEditor } from './suite.mjs';
import { generateDocument } from '../../bench/page/generate.mjs';

const s = useEditor();

function groupFaults() {
  const faults = [];
  const root = editor.root;
  const found = collectBlockElements(root);
  if (found.length !== editor.blocks.length || found.some((b, i) => b !== editor.blocks[i])) faults.push('tree order');
  Array.from(root.children).forEach((group, g) => {
    if (group.nodeName !== 'BLOCK-GROUP') faults.push('root child ' + group.nodeName);
    if (groupContentCount(group) === 0) faults.push('empty group ' + g);
    if (groupContentCount(group) > 2 * editor.groupSize) faults.push('oversized group ' + g);
    if (isGroupStart(group.firstElementChild) !== (g > 0)) faults.push('start marker of group ' + g);
  });
  if (root.querySelectorAll(':scope > block-group > div:first-child').length !== 1) faults.push('first children');
  const shown = () => Array.from(root.querySelectorAll('.Numbered > .Prefix')).map((p) => p.getAttribute('data-number'));
  const before = shown();
  new ListNumbering(root).observer.disconnect();
  if (JSON.stringify(shown()) !== JSON.stringify(before)) faults.push('numbers');
  return faults;
}

async function randomEdits(seed, count) {
  let state = seed;
  const next = (n) => {
    state = (state * 48271) % 2147483647;
    return state % n;
  };
  const manyBlocks = JSON.stringify(['text', ...Array.from({ length: 150 }, (_, i) => ['numbered', { level: 0 }, ['plain', 'pasted ' + i]])]);
  const steps = [];
  for (let k = 0; k < count; k++) {
    const at = () => next(editor.getBlockCount() - 1);
    switch (next(8)) {
      case 0: editor.setCaret(Point(at(), 0, 0)); insertNewline(); break;
      case 1: editor.setCaret(Point(at() + 1, 0, 0)); deleteBackward(); break;
      case 2: {
        const from = at();
        editor.setSelection(Range(Point(from, 0, 0), Point(Math.min(from + 1 + next(200), editor.getBlockCount() - 1), 0, 0)));
        deleteBackward();
        break;
      }
      case 3: editor.setCaret(Point(at(), 0, 0)); paste(manyBlocks); break;
      case 4: editor.setCaret(Point(at(), 0, 0)); styleParagraphNumbered(); break;
      case 5: undo(); break;
      case 6: redo(); break;
      default: editor.setSelection(Range(Point(0, 0, 0), Point(Math.min(1 + next(150), editor.getBlockCount() - 1), 0, 0))); deleteBackward();
    }
    await Promise.resolve();
    steps.push(groupFaults());
  }
  return steps;
}

describe('groups of blocks', () => {
  test('through random edits the tree follows the block list, and undo and redo walk all the way back and forth', async () => {
    await s.e.load(generateDocument(700));
    const model = await s.e.model();
    const faults = await s.e.eval(([edits, faultsSource]) => {
      window.groupFaults = new Function('return ' + faultsSource)();
      return new Function('return ' + edits)()(7, 60);
    }, [randomEdits.toString(), groupFaults.toString()]);
    faults.forEach((f, k) => assert.deepEqual(f, [], 'after step ' + k));
    const edited = await s.e.model();
    const back = await s.e.eval(async () => {
      while (editor.undoStack.length) undo();
      await Promise.resolve();
      return groupFaults();
    });
    assert.deepEqual(back, []);
    assert.deepEqual(await s.e.model(), model);
    await s.e.eval(() => { while (editor.redoStack.length) redo(); });
    assert.deepEqual(await s.e.model(), edited);
  });

  test('groups are not DIVs, so a theme rule for div reaches blocks and nothing else', async () => {
    await s.e.load(generateDocument(500));
    await s.e.call('setThemeCss', 'div { margin-top: 3px; } div:first-child { margin-top: 0; }');
    const margins = await s.e.eval(() => editor.blocks.slice(0, 300).filter((b) => b.parentNode.nodeName === 'BLOCK-GROUP')
      .map((b) => getComputedStyle(b).marginTop));
    await s.e.call('setThemeCss', '');
    assert.deepEqual([...new Set(margins.slice(1))], ['3px']);
    assert.equal(margins[0], '0px');
  });

  test('no group ends on a heading or parts two quotations, after loading and after a group is split', async () => {
    const pattern = [['heading', { level: -2 }, ['plain', 'h']], ['quote', { level: 0 }, ['plain', 'q']],
      ['quote', { level: 0 }, ['plain', 'q']], ['quote', { level: 0 }, ['plain', 'q']], ['para', { level: 0 }, ['plain', 'p']]];
    await s.e.load(['text', ...Array.from({ length: 500 }, (_, i) => pattern[i % 5])]);
    const badEdges = () => s.e.eval(() => {
      const groups = Array.from(editor.root.children);
      const bad = [];
      groups.forEach((group, g) => {
        const last = group.lastElementChild;
        const next = groups[g + 1] && groups[g + 1].children[1];
        if (next && (last.classList.contains('Heading') || (last.className === next.className && next.classList.contains('Quotation')))) {
          bad.push(last.className + ' | ' + next.className);
        }
      });
      return [groups.length, bad];
    });
    const [loaded, atLoad] = await badEdges();
    assert.ok(loaded > 3);
    assert.deepEqual(atLoad, []);
    await s.e.caret(250, 0, 0);
    await s.e.call('paste', JSON.stringify(['text', ...Array.from({ length: 300 }, (_, i) => pattern[i % 5])]));
    const [split, afterSplit] = await badEdges();
    assert.ok(split > loaded);
    assert.deepEqual(afterSplit, []);
  });
});

describe('blocks out of view', () => {
  const long = () => generateDocument(3000);

  test('a selection running far off screen is read back, copied, deleted and restored by undo', async () => {
    await s.e.load(long(), [[2, 0, 1], [2900, 0, 2]]);
    const model = await s.e.model();
    assert.deepEqual(await s.e.selection(), { anchor: [2, 0, 1], focus: [2900, 0, 2] });
    const copied = JSON.parse(await s.e.call('copy'));
    assert.equal(copied.length - 1, 2899);
    assert.deepEqual(copied.slice(2, -1), model.slice(4, 2901));
    await s.e.call('deleteBackward');
    assert.equal((await s.e.model()).length, model.length - 2898);
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), model);
    assert.deepEqual(await s.e.selection(), { anchor: [2, 0, 1], focus: [2900, 0, 2] });
  });

  test('Ctrl+A then copy gives the whole document', async () => {
    await s.e.load(long(), [1500, 0, 1]);
    const model = await s.e.model();
    await s.e.page.keyboard.press('Control+A');
    assert.deepEqual(JSON.parse(await s.e.call('copy')), model);
  });

  test('search finds words in parts never shown, by the folded texts and by the browser alone', async () => {
    const model = long();
    model[2801].push(['plain', ' zanzibar']);
    model[2901].push(['plain', ' Ωμέγα']);
    await s.e.load(model, [0, 0, 0]);
    const found = await s.e.eval(() => {
      const blockOf = () => editor.getSelection().start.block;
      prepareSearch();
      startSearch('zanzibar');
      const first = blockOf();
      startSearch('Ωμέγα');
      return [first, blockOf(), window.getSelection().toString()];
    });
    assert.deepEqual(found, [2800, 2900, 'Ωμέγα']);
  });

  test('search finds what the browser alone finds, in the same order and with the same wrap', async () => {
    const texts = [['Ωμέγα Λάμδα', 'μεγα λαμ'], ['Щука и Ёж', 'ЩУКА И ЁЖ'], ['Crème Brûlée', 'creme brûlée'],
      ['(x+y)·2, ok?', '(x+y)·2,'], ['Zürich–Αθήνα 東京', 'rich–αθ'], ['', 'ψωμί']];
    const model = long();
    const paraAt = (from) => model.findIndex((r, i) => i >= from && r[0] === 'para' && r.length > 2);
    const near = paraAt(20);
    const far = paraAt(2900);
    for (const [put] of texts) if (put) for (const at of [near, far]) model[at].push(['plain', ' ' + put]);
    await s.e.load(model, [0, 0, 0]);
    const runs = await s.e.eval((list) => {
      const where = () => [editor.getSelection().anchor, editor.getSelection().focus, window.getSelection().toString()];
      const alone = (text) => {
        if (window.find(text, false, false, false, false, false, false)) return;
        editor.setCaret(Point(0, 0, 0));
        window.find(text, false, false, false, false, false, false);
      };
      const out = [];
      for (const [, text] of list) {
        for (const [from, times] of [[0, 3], [1500, 2]]) {
          const page = [];
          const browser = [];
          editor.setCaret(Point(from, 0, 0));
          prepareSearch();
          startSearch(text);
          page.push(where());
          for (let i = 1; i < times; i++) { continueSearch(text); page.push(where()); }
          editor.setCaret(Point(from, 0, 0));
          for (let i = 0; i < times; i++) { alone(text); browser.push(where()); }
          out.push([text, from, page, browser]);
        }
      }
      return out;
    }, texts);
    for (const [text, from, page, browser] of runs) assert.deepEqual(page, browser, `${text} from ${from}`);
    assert.deepEqual(runs[0][2].map((w) => w[0].block), [near - 1, far - 1, near - 1]);
  });

  test('a search the folded texts do not judge lets the browser into the groups that can match, up to the match', async () => {
    const model = long();
    model[1201].push(['plain', ' naïve']);
    model[1801].push(['plain', ' Ελλάδα']);
    model[2101].push(['plain', ' Ωμέγα']);
    model[2501].push(['plain', ' Ωμέγα']);
    await s.e.load(model, [1500, 0, 0]);
    const [open, expected] = await s.e.eval(() => {
      const seen = new Set();
      const groupList = Array.from(editor.root.children);
      const real = window.find;
      window.find = function (...args) {
        const all = !editor.root.hasAttribute('data-finding');
        groupList.forEach((g, i) => { if (all || g.hasAttribute('data-finding')) seen.add(i); });
        return real.apply(this, args);
      };
      try {
        prepareSearch();
        startSearch('ωμεγα');
      } finally {
        window.find = real;
      }
      const groupOf = (b) => groupList.indexOf(editor._topLevelNode(editor.blocks[b]).parentNode);
      return [Array.from(seen), [groupOf(1800), groupOf(editor.getSelection().start.block), groupOf(2500)]];
    });
    assert.ok(open.includes(expected[1]), `${open} holds the match's group ${expected[1]}`);
    assert.ok(open.every((g) => expected.includes(g)), `${open} are among ${expected}`);
    assert.equal(new Set(expected).size, 3);
  });

  test('after loading the top is in view; after undo the changed block is', async () => {
    await s.e.load(long());
    const inView = (i) => s.e.eval((k) => {
      const r = editor.blocks[k].getBoundingClientRect();
      return r.bottom > 0 && r.top < window.innerHeight;
    }, i);
    await s.e.eval(() => editor.setCaret(Point(2500, 0, 0)));
    await s.e.eval(() => new Promise((resolve) => requestAnimationFrame(resolve)));
    await s.e.eval(() => setTextJson(JSON.stringify(['text', ...Array.from({ length: 3000 }, (_, i) => ['para', { level: 0 }, ['plain', 'p' + i]])])));
    assert.equal(await inView(0), true);
    await s.e.eval(() => { editor.setCaret(Point(2500, 0, 1)); insertNewline(); editor.setCaret(Point(0, 0, 0)); });
    await s.e.eval(() => new Promise((resolve) => requestAnimationFrame(resolve)));
    assert.equal(await inView(2500), false);
    await s.e.call('undo');
    await s.e.eval(() => new Promise((resolve) => requestAnimationFrame(resolve)));
    assert.equal(await inView(2500), true);
  });

  test('printing lays out every block and image, those never shown included', async () => {
    const model = ['text', ...Array.from({ length: 1500 }, (_, i) => ['para', { level: 0 }, ['plain', 'paragraph number ' + i]]),
      ['image', { level: 0 }, ['url', 'far.png']]];
    const dir = mkdtempSync(join(tmpdir(), 'qorva-print-'));
    try {
      writeFileSync(join(dir, 'far.png'), Buffer.from('iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAFklEQVR4nGP8z8DAwMDAxMDAwMDAAAANHQEDasKb6QAAAABJRU5ErkJggg==', 'base64'));
      await s.e.call('setBaseUrl', pathToFileURL(dir).href + '/');
      await s.e.load(model);
      const pdf = join(dir, 'doc.pdf');
      writeFileSync(pdf, await s.e.page.pdf());
      const text = execFileSync('pdftotext', [pdf, '-'], { encoding: 'utf8' });
      const printed = new Set(text.match(/paragraph number \d+/g));
      assert.equal(printed.size, 1500);
      const images = execFileSync('pdfimages', ['-list', pdf], { encoding: 'utf8' });
      assert.match(images, /^\s*\d+\s+\d+\s+image\s+2\s+2\s/m);
    } finally {
      rmSync(dir, { recursive: true, force: true });
    }
  });
});

describe('saving', () => {
  const fresh = () => JSON.stringify(modelFromRecords(editor.blocks.slice(0, -1).map(readBlockRecord)));
  for (const [name, model, edit] of [
    ['a generated manuscript, then typing, a new paragraph and a style', generateDocument(400),
      () => { editor.setCaret(Point(30, 0, 2)); editor.insertTextAtCaret('xy'); insertNewline(); styleParagraphQuotation(); }],
    ['directions, images and levels, then a change of direction and undo', ['text',
      ['para', { level: 0, direction: 'rtl' }, ['plain', 'r']], ['image', { level: 0 }, ['url', 'a b.png']],
      ['bulleted', { level: 3 }, ['plain', 'deep']], ['numbered', { level: 9 }, ['plain', 'deeper']], ['para', { level: 0 }]],
    () => { editor.setSelection(Range(Point(0, 0, 0), Point(3, 0, 0))); setLTR(); getTextJson(); undo(); editor.setCaret(Point(2, 0, 0)); setRTL(); }],
  ]) {
    test(name, async () => {
      await s.e.load(model);
      const results = await s.e.eval(async ([f, e]) => {
        const read = new Function('return ' + f)();
        const out = [[getTextJson(), read()]];
        new Function('return ' + e)()();
        await Promise.resolve();
        out.push([getTextJson(), read()]);
        return out;
      }, [fresh.toString(), edit.toString()]);
      for (const [cached, reread] of results) assert.equal(cached, reread);
    });
  }
});
