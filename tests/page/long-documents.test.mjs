import { test, describe, assert, doc, para, block, useEditor, numberFaults } from './harness.mjs';
import { generateDocument } from '../../bench/page/generate.mjs';

const s = useEditor();
const redoAll = () => s.e.eval(() => { for (let i = 0; i < 100; i++) redo(); });

// Runs in the page: what the DOM's groups of blocks must hold after any change (the model's blocks in order,
// no empty or oversized group, no group a DIV for theme rules to reach, only the first block a :first-child).
function groupFaults() {
  const root = document.getElementById('doc');
  const faults = [];
  const blocks = Array.from(root.querySelectorAll('span.Start'), (s) => s.parentNode);
  const model = JSON.parse(getTextJson());
  const text = (b) => b.slice(2).map((span) => span[1]).join('');
  if (blocks.length !== model.length) faults.push(`${blocks.length} blocks for ${model.length - 1} in the model`);
  else if (model.slice(1).some((b, i) => b[0] !== 'image' && text(b) !== blocks[i].textContent.replace(/\u200B/g, ''))) faults.push('texts');
  const limit = 2 * Math.max(64, Math.ceil(Math.sqrt(blocks.length)));
  Array.from(root.children).forEach((group, g) => {
    if (group.nodeName !== 'BLOCK-GROUP') faults.push('root child ' + group.nodeName);
    const starts = group.firstElementChild && group.firstElementChild.nodeName === 'GROUP-START';
    const content = group.childElementCount - (starts ? 1 : 0);
    if (content === 0 || content > limit) faults.push(`group ${g} of ${content}`);
    if (starts !== (g > 0)) faults.push('start marker of group ' + g);
  });
  if (root.querySelectorAll(':scope > block-group > div:first-child').length !== 1) faults.push('first children');
  return faults;
}

async function randomEdits(seed, count, pasted) {
  let state = seed;
  const next = (n) => {
    state = (state * 48271) % 2147483647;
    return state % n;
  };
  const paragraphCommands = ['styleParagraphNumbered', 'styleParagraphBulleted', 'styleParagraphPlain', 'styleParagraphHeading2',
    'indentParagraph', 'unindentParagraph', 'insertTable', 'shiftParagraphUp', 'shiftParagraphDown'];
  const blockCount = () => document.querySelectorAll('#doc span.Start').length;
  const steps = [];
  for (let k = 0; k < count; k++) {
    const at = () => next(Math.max(1, blockCount() - 1));
    const some = (share) => 1 + next(Math.ceil(blockCount() * share));
    const selectTo = (from, to) => editor.setSelection(Range(Point(from, 0, 0), Point(Math.min(to, blockCount() - 1), 0, 0)));
    switch (next(12)) {
      case 0: editor.setCaret(Point(at(), 0, 0)); insertNewline(); break;
      case 1: editor.setCaret(Point(at() + 1, 0, 0)); deleteBackward(); break;
      case 2: { const from = at(); selectTo(from, from + some(0.3)); deleteBackward(); break; }
      case 3: editor.setCaret(Point(at(), 0, 0)); paste(pasted); break;
      case 4: undo(); break;
      case 5: redo(); break;
      case 6: selectTo(0, some(0.2)); deleteBackward(); break;
      default: editor.setCaret(Point(at(), 0, 0)); window[paragraphCommands[next(paragraphCommands.length)]]();
    }
    await Promise.resolve();
    steps.push([...groupFaults(), ...numberFaults()]);
  }
  return steps;
}

const listKinds = ['numbered', 'numbered', 'bulleted', 'para', 'heading'];
const lists = (n) => doc(...Array.from({ length: n }, (_, i) => {
  const kind = listKinds[i % 5];
  return block(kind, kind === 'heading' ? -2 : kind === 'para' ? i % 3 : 1 + (i % 3), 'item ' + i);
}));

describe('groups of blocks', () => {
  for (const [name, model, seed, pasted] of [
    ['a generated manuscript', generateDocument(700), 7, doc(...Array.from({ length: 150 }, (_, i) => block('numbered', 0, 'pasted ' + i)))],
    ['a short document of lists at several levels', lists(40), 11, lists(5)],
  ]) {
    test(`through random edits of ${name} the groups hold the model's blocks, numbers count from the top, undo and redo walk back and forth`,
      async () => {
        const loaded = await s.e.run(model);
        const faults = await s.e.eval(([edits, start, paste, ...checks]) => {
          [window.groupFaults, window.numberFaults] = checks.map((f) => new Function('return ' + f)());
          return new Function('return ' + edits)()(start, 90, paste);
        }, [String(randomEdits), seed, JSON.stringify(pasted), String(groupFaults), String(numberFaults)]);
        faults.forEach((f, k) => assert.deepEqual(f, [], 'after step ' + k));
        await redoAll();
        const furthest = await s.e.model();
        await s.e.eval(() => { for (let i = 0; i < 100; i++) undo(); });
        assert.deepEqual(await s.e.eval(() => groupFaults()), []);
        assert.deepEqual(await s.e.model(), loaded);
        await redoAll();
        assert.deepEqual(await s.e.model(), furthest);
      });
  }

  test('no group ends on a heading or parts two quotations, after loading and after a group is split', async () => {
    const pattern = [block('heading', -2, 'h'), block('quote', 0, 'q'), block('quote', 0, 'q'), block('quote', 0, 'q'), para('p')];
    const blocks = (n) => doc(...Array.from({ length: n }, (_, i) => pattern[i % 5]));
    const badEdges = () => s.e.eval(() => {
      const groups = Array.from(document.getElementById('doc').children);
      return [groups.length, groups.slice(0, -1).map((group, g) => [group.lastElementChild, groups[g + 1].children[1]])
        .filter(([last, next]) => last.classList.contains('Heading') || (last.className === next.className && next.classList.contains('Quotation')))
        .map(([last, next]) => last.className + ' | ' + next.className)];
    });
    await s.e.load(blocks(500));
    const atLoad = await badEdges();
    await s.e.steps([250, 0, 0], ['paste', JSON.stringify(blocks(300))]);
    const afterSplit = await badEdges();
    assert.ok(atLoad[0] > 3 && afterSplit[0] > atLoad[0], 'groups made, then one split');
    assert.deepEqual([atLoad[1], afterSplit[1]], [[], []]);
  });
});

describe('blocks out of view', () => {
  test('a selection far off screen is read back, copied, deleted and restored by undo; Ctrl+A copies all', async () => {
    await s.e.load(generateDocument(3000), [[2, 0, 1], [2900, 0, 2]]);
    const model = await s.e.model();
    assert.deepEqual(await s.e.selection(), { anchor: [2, 0, 1], focus: [2900, 0, 2] });
    const copied = JSON.parse(await s.e.call('copy'));
    assert.equal(copied.length - 1, 2899);
    assert.deepEqual(copied.slice(2, -1), model.slice(4, 2901));
    await s.e.call('deleteBackward');
    assert.equal((await s.e.model()).length, model.length - 2898);
    assert.deepEqual(await s.e.steps('undo'), model);
    assert.deepEqual(await s.e.selection(), { anchor: [2, 0, 1], focus: [2900, 0, 2] });
    await s.e.steps([1500, 0, 1], { key: 'Control+A' });
    assert.deepEqual(JSON.parse(await s.e.call('copy')), model);
  });

  test('search finds what the browser alone finds, in the same order and with the same wrap, in parts never shown too', async () => {
    const texts = [['Ωμέγα Λάμδα', 'μεγα λαμ'], ['Щука и Ёж', 'ЩУКА И ЁЖ'], ['Crème Brûlée', 'creme brûlée'], ['(x+y)·2, ok?', '(x+y)·2,'],
      ['Zürich–Αθήνα 東京', 'rich–αθ'], ['', 'ψωμί'], ['Résumé', 'resume'], ['STRAẞE', 'strasse'], ['ﬁnal', 'final'],
      ['soft\u00ADhyphen', 'softhyphen'], ['Łódź', 'lodz'], ['a\u00A0b', 'a b'], ['١٢', '12'], ['ΟΔΟΣ', 'οδος']];
    const model = generateDocument(3000);
    const [near, far] = [20, 2900].map((from) => model.findIndex((r, i) => i >= from && r[0] === 'para' && r.length > 2));
    for (const [put] of texts) if (put) for (const i of [near, far]) model[i].push(['plain', ' ' + put]);
    await s.e.load(model);
    const runs = await s.e.eval((queries) => {
      const where = () => [editor.getSelection().anchor, editor.getSelection().focus, window.getSelection().toString()];
      const find = (text) => window.find(text, false, false, false, false, false, false);
      const walk = (from, times, step) => {
        editor.setCaret(Point(from, 0, 0));
        return Array.from({ length: times }, (_, i) => { step(i); return where(); });
      };
      return queries.flatMap((text) => [[0, 3], [1500, 2]].map(([from, times]) => [text, from,
        walk(from, times, (i) => { if (!i) prepareSearch(); (i ? continueSearch : startSearch)(text); }),
        walk(from, times, () => { if (!find(text)) { editor.setCaret(Point(0, 0, 0)); find(text); } })]));
    }, texts.map(([, query]) => query));
    for (const [text, from, page, browser] of runs) assert.deepEqual(page, browser, `${text} from ${from}`);
    assert.deepEqual(runs[0][2].map((w) => w[0].block), [near - 1, far - 1, near - 1]);
  });

});
