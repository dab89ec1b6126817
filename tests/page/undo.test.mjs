import { test, describe, assert, doc, para, block, img, row, col, typed, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const treeHtml = () => s.e.eval(() => document.getElementById('doc').innerHTML.replace(/ id="Active(Span|Block)"/g, ''));

describe('commands', () => {
  const start = doc(block('heading', -3, 'Title'), para('one ', ['emph', 'two'], ' three', ['noteref', '1']),
    block('note', 0, ['noteref', '1'], 'note'), row('a'), col('b'), row('c'), col('d'), ['quote', { level: 0, direction: 'rtl' }, ['plain', 'quoted']],
    img('p.png'), para('last words'), para('x', ['noteref', '9']));
  for (const [name, at, command, ...args] of [
    ['Image from text', [9, 0, 2], 'styleParagraphImage'],
    ['Reference', [9, 0, 4], 'styleWordReference'],
    ['Shift Up of a table row', [5, 0, 0], 'shiftParagraphUp'],
    ['Shift Right of a table column', [3, 0, 0], 'shiftParagraphRight'],
    ['Right to Left', [[0, 0, 0], [1, 0, 2]], 'setRTL'],
    ['Insert Column After', [3, 0, 0], 'insertTableColumnAfter'],
    ['Footnote from a selection', [[1, 0, 0], [1, 0, 3]], 'insertFootnote'],
    ['Following a reference to a new note', [10, 1, 0], 'followLink'],
    ['Hyperlink', [9, 0, 4], 'insertHyperlink', 'text', 'https://a.org'],
    ['Cut across a table', [[1, 0, 2], [5, 0, 1]], 'cut'],
    ['Paste of a fragment into a cell', [4, 0, 1], 'paste', '["inline",["para",{"level":0},["strong","S"]]]'],
    ['Enter in the middle of a paragraph', [9, 0, 4], 'insertNewline'],
  ]) {
    test(`${name} is undone and redone as one step`, async () => {
      await s.e.load(start, at);
      const changed = await s.e.steps([command, ...args]);
      assert.notDeepEqual(changed, start, 'changed nothing');
      assert.deepEqual(await s.e.hostCalls(), ['done']);
      assert.deepEqual(await s.e.steps('undo'), start);
      assert.deepEqual(await s.e.steps('redo'), changed);
    });
  }
});

describe('what one undo takes back after typing and deleting', () => {
  const two = doc(para('one'), para('two'));
  const empty = doc(para());
  for (const [name, model, at, steps, undone] of [
    ['a run of typing is one step', empty, [0, 0, 0], [typed('hello world')], [empty]],
    ['a caret move ends the run', empty, [0, 0, 0], [typed('ab'), { key: 'ArrowLeft' }, typed('c')], [doc(para('ab')), empty]],
    ['Enter ends the run', empty, [0, 0, 0], [typed('ab'), 'insertNewline', typed('cd')],
      [doc(para('ab'), para()), doc(para('ab')), empty]],
    ['another block ends the run', two, [0, 0, 3], [typed('x'), [1, 0, 3], typed('y')], [doc(para('onex'), para('two')), two]],
    ['a command ends the run', empty, [0, 0, 0], [typed('ab'), 'styleParagraphHeading1', typed('cd')],
      [doc(block('heading', -3, 'ab')), doc(para('ab')), empty]],
    ['deleting forwards in a row is one step', doc(para('abcdef')), [0, 0, 1], ['deleteForward', 'deleteForward'], [doc(para('abcdef'))]],
    ['a deletion run changing direction is a new step', doc(para('abcdef')), [0, 0, 3],
      ['deleteBackward', 'deleteBackward', 'deleteForward'], [doc(para('adef')), doc(para('abcdef'))]],
    ['deleting after typing is a step of its own', empty, [0, 0, 0], [typed('xyz'), 'deleteBackward'], [doc(para('xyz')), empty]],
    ['joining blocks is never part of a run', two, [1, 0, 2], ['deleteBackward', 'deleteBackward', 'deleteBackward'],
      [doc(para('one'), para('o')), two]],
    ['a paragraph deleted before 150 typed characters can still be restored', doc(para('keep me'), para()), [[0, 0, 0], [1, 0, 0]],
      ['deleteBackward', typed('x'.repeat(150))], [doc(para()), doc(para('keep me'), para())]],
  ]) {
    test(name, async () => {
      await s.e.load(model, at);
      await s.e.steps(...steps);
      for (const expected of undone) assert.deepEqual(await s.e.steps('undo'), expected);
      const undoneCalls = (await s.e.hostCalls()).filter((c) => c === 'undone').length;
      await s.e.call('undo');
      assert.equal((await s.e.hostCalls()).filter((c) => c === 'undone').length, undoneCalls, 'no steps left');
    });
  }
});

describe('undo and redo', () => {
  const loaded = JSON.stringify(doc(para('loaded')));
  stepCases(s, [
    ['undo brings the caret back to where typing began', doc(para('ab')), [[0, 0, 1], typed('xyz'), 'undo'], doc(para('ab')), [0, 0, 1]],
    ['redo brings the caret back after the typed text', doc(para('ab')), [[0, 0, 1], typed('xyz'), 'undo', 'redo'], doc(para('axyzb')), [0, 0, 4]],
    ['with nothing to undo or redo the host hears nothing', doc(para('ab')), [[0, 0, 2], 'undo', 'redo'], doc(para('ab')), null, []],
    ['every edit and redo tells the host of a change, an undo of a run of typing of one undo',
      doc(para('ab')), [[0, 0, 2], typed('cd'), 'undo', 'redo'], doc(para('abcd')), null,
      ['done', 'done', 'undone', 'done']],
    ['an edit after undo leaves nothing to redo', doc(para('ab')), [[0, 0, 2], typed('c'), 'undo', typed('d'), 'redo'], doc(para('abd'))],
    ['a load puts the caret at the top', doc(para('first'), row('a')), [[0, 0, 5], typed('!'), ['setTextJson', loaded]], doc(para('loaded')),
      [0, 0, 0]],
    ['a load goes with the step before it: one undo gives back the earlier document', doc(para('first'), row('a')), [[0, 0, 5],
      typed('!'), ['setTextJson', loaded], 'undo'], doc(para('first'), row('a'))],
    ['redo after undoing a load gives the load again', doc(para('first')), [[0, 0, 5], typed('!'), ['setTextJson', loaded], 'undo', 'redo'],
      doc(para('loaded'))],
    ['redo after a load made since an undo returns to the undone state', doc(para('ab')), [[0, 0, 2],
      typed('c'), 'undo', ['setTextJson', loaded], 'redo'], doc(para('abc'))],
    ['a load made since an undo stays undoable after that redo', doc(para('ab')), [[0, 0, 2], typed('c'), 'undo', ['setTextJson', loaded], 'redo', 'undo'],
      doc(para('loaded'))],
  ]);

  test('undo restores the exact element tree and selection of a structural change', async () => {
    await s.e.load(doc(para('one'), row('a'), col('b'), para('two'), block('bulleted', 1, 'x')));
    const before = await treeHtml();
    await s.e.steps([[0, 0, 1], [3, 0, 2]], 'deleteBackward', [1, 0, 1], 'insertNewline', 'undo', 'undo', 'undo');
    assert.equal(await treeHtml(), before);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 1], focus: [3, 0, 2] });
  });
});
