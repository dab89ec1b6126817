import { test, describe, assert, doc, para, block, img, row, col, useEditor } from './harness.mjs';

const s = useEditor();
const treeHtml = () => s.e.eval(() => document.getElementById('doc').innerHTML.replace(/ id="Active(Span|Block)"/g, ''));

describe('commands', () => {
  const start = doc(
    block('heading', -3, 'Title'),
    para('one ', ['emph', 'two'], ' three', ['noteref', '1']),
    block('note', 0, ['noteref', '1'], 'note'),
    row('a'), col('b'), row('c'), col('d'),
    ['quote', { level: 0, direction: 'rtl' }, ['plain', 'quoted']],
    img('p.png'),
    para('last words'),
    para('x', ['noteref', '9']),
  );
  for (const [name, at, command, ...args] of [
    ['Bulleted over several blocks', [[0, 0, 0], [2, 1, 2]], 'styleParagraphBulleted'],
    ['Code Block', [1, 1, 1], 'styleParagraphCode'],
    ['Image from text', [9, 0, 2], 'styleParagraphImage'],
    ['Strong on a word', [9, 0, 1], 'styleWordStrong'],
    ['Reference', [9, 0, 4], 'styleWordReference'],
    ['Shift Up', [9, 0, 1], 'shiftParagraphUp'],
    ['Shift Down', [0, 0, 1], 'shiftParagraphDown'],
    ['Shift Up of a table row', [5, 0, 0], 'shiftParagraphUp'],
    ['Shift Right of a table column', [3, 0, 0], 'shiftParagraphRight'],
    ['Indent', [1, 0, 0], 'indentParagraph'],
    ['Right to Left', [[0, 0, 0], [1, 0, 2]], 'setRTL'],
    ['Insert Table', [9, 0, 2], 'insertTable'],
    ['Insert Row Before', [4, 0, 0], 'insertTableRowBefore'],
    ['Insert Column After', [3, 0, 0], 'insertTableColumnAfter'],
    ['Remove Column', [3, 0, 0], 'removeTableColumn'],
    ['Footnote from a selection', [[1, 0, 0], [1, 0, 3]], 'insertFootnote'],
    ['Following a reference to a new note', [10, 1, 0], 'followLink'],
    ['Hyperlink', [9, 0, 4], 'insertHyperlink', 'text', 'https://a.org'],
    ['Image', [1, 0, 2], 'insertImage', 'pics/x.png'],
    ['Cut across a table', [[1, 0, 2], [5, 0, 1]], 'cut'],
    ['Paste of paragraphs', [1, 0, 2], 'paste', '["text",["para",{"level":0},["plain","P"]],["quote",{"level":0},["plain","Q"]]]'],
    ['Paste of a fragment into a cell', [4, 0, 1], 'paste', '["inline",["para",{"level":0},["strong","S"]]]'],
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
  const COMMANDS = new Set(['insertNewline', 'deleteBackward', 'deleteForward', 'styleParagraphHeading1']);
  const two = doc(para('one'), para('two'));
  for (const [name, model, at, steps, undone] of [
    ['a run of typing is one step', doc(para()), [0, 0, 0], ['hello world'], [doc(para())]],
    ['a caret move ends the run', doc(para()), [0, 0, 0], ['ab', { key: 'ArrowLeft' }, 'c'], [doc(para('ab')), doc(para())]],
    ['a pause of over a second ends the run', doc(para()), [0, 0, 0], ['ab', { wait: 1200 }, 'cd'], [doc(para('ab')), doc(para())]],
    ['Enter ends the run', doc(para()), [0, 0, 0], ['ab', 'insertNewline', 'cd'],
      [doc(para('ab'), para()), doc(para('ab')), doc(para('ab')), doc(para())]],
    ['another block ends the run', two, [0, 0, 3], ['x', [1, 0, 3], 'y'], [doc(para('onex'), para('two')), two]],
    ['a command ends the run', doc(para()), [0, 0, 0], ['ab', 'styleParagraphHeading1', 'cd'],
      [doc(block('heading', -3, 'ab')), doc(para('ab')), doc(para())]],
    ['deleting backwards in a row is one step', doc(para('abcdef')), [0, 0, 6], ['deleteBackward', 'deleteBackward', 'deleteBackward'],
      [doc(para('abcdef'))]],
    ['deleting forwards in a row is one step', doc(para('abcdef')), [0, 0, 1], ['deleteForward', 'deleteForward'], [doc(para('abcdef'))]],
    ['a deletion run changing direction is a new step', doc(para('abcdef')), [0, 0, 3],
      ['deleteBackward', 'deleteBackward', 'deleteForward'], [doc(para('adef')), doc(para('abcdef'))]],
    ['deleting after typing is a step of its own', doc(para()), [0, 0, 0], ['xyz', 'deleteBackward'], [doc(para('xyz')), doc(para())]],
    ['joining blocks is never part of a run', two, [1, 0, 2], ['deleteBackward', 'deleteBackward', 'deleteBackward'],
      [doc(para('one'), para('o')), two]],
  ]) {
    test(name, async () => {
      await s.e.load(model, at);
      for (const step of steps) {
        if (COMMANDS.has(step)) await s.e.call(step);
        else if (typeof step === 'string') await s.e.type(step);
        else if (Array.isArray(step)) await s.e.caret(...step);
        else if (step.key) await s.e.page.keyboard.press(step.key);
        else await new Promise((resolve) => setTimeout(resolve, step.wait));
      }
      for (const expected of undone) assert.deepEqual(await s.e.steps('undo'), expected);
      const undoneCalls = (await s.e.hostCalls()).filter((c) => c === 'undone').length;
      await s.e.call('undo');
      assert.equal((await s.e.hostCalls()).filter((c) => c === 'undone').length, undoneCalls, 'no steps left');
    });
  }

  test('every typed character tells the host of a change; one undo of the run tells it once', async () => {
    await s.e.run(doc(para()), [0, 0, 0]);
    await s.e.type('abc');
    await s.e.call('undo');
    assert.deepEqual(await s.e.hostCalls(), ['done', 'done', 'done', 'undone']);
  });

  test('a paragraph deleted before 150 typed characters can still be restored', async () => {
    await s.e.run(doc(para('keep me'), para()), [[0, 0, 0], [1, 0, 0]], 'deleteBackward');
    await s.e.type('x'.repeat(150));
    assert.deepEqual(await s.e.steps('undo', 'undo'), doc(para('keep me'), para()));
  });

  test('undo and redo bring the caret back with the typed text', async () => {
    await s.e.load(doc(para('ab')), [0, 0, 1]);
    await s.e.type('xyz');
    assert.deepEqual(await s.e.steps('undo'), doc(para('ab')));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 1]);
    assert.deepEqual(await s.e.steps('redo'), doc(para('axyzb')));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 4]);
  });
});

describe('undo and redo', () => {
  test('undo restores the exact element tree and selection of a structural change', async () => {
    await s.e.load(doc(para('one'), row('a'), col('b'), para('two'), block('bulleted', 1, 'x')));
    const before = await treeHtml();
    await s.e.steps([[0, 0, 1], [3, 0, 2]], 'deleteBackward', [1, 0, 1], 'insertNewline', 'undo', 'undo', 'undo');
    assert.equal(await treeHtml(), before);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 1], focus: [3, 0, 2] });
  });

  test('after 150 commands only the last 99 can be undone, and redone', async () => {
    await s.e.load(doc(para('a')), [0, 0, 1]);
    await s.e.eval(() => { for (let i = 0; i < 150; i++) styleParagraphHeading1(); });
    await s.e.eval(() => { for (let i = 0; i < 120; i++) undo(); });
    assert.deepEqual(await s.e.model(), doc(block('heading', -3, 'a')), 'the state after 51 commands');
    await s.e.eval(() => { for (let i = 0; i < 120; i++) redo(); });
    assert.deepEqual(await s.e.model(), doc(para('a')));
    const calls = await s.e.hostCalls();
    assert.deepEqual([calls.filter((c) => c === 'undone').length, calls.filter((c) => c === 'done').length], [99, 150 + 99]);
  });

  test('notifications: change done on edits and redo, undone on undo, nothing when there is nothing to undo', async () => {
    await s.e.run(doc(para('ab')), 'undo', 'redo');
    assert.deepEqual(await s.e.hostCalls(), []);
    await s.e.caret(0, 0, 2);
    await s.e.type('c');
    await s.e.steps('undo', 'redo');
    assert.deepEqual(await s.e.hostCalls(), ['done', 'undone', 'done']);
  });

  test('an edit after undo leaves nothing to redo', async () => {
    await s.e.load(doc(para('ab')), [0, 0, 2]);
    await s.e.type('c');
    await s.e.call('undo');
    await s.e.type('d');
    assert.deepEqual(await s.e.steps('redo'), doc(para('abd')));
  });

  // Internal: the page's own edits without a snapshot have no public trigger.
  test('changes made without a snapshot are undone together with the step before them', async () => {
    await s.e.load(doc(para('ab')), [0, 0, 2]);
    await s.e.type('c');
    await s.e.eval(() => editor.setBlockSpans(0, [Span('Strong', 'changed')]));
    assert.deepEqual(await s.e.steps('undo'), doc(para('ab')));
    assert.deepEqual(await s.e.steps('redo'), doc(para(['strong', 'changed'])));
  });

  test('redo after a load returns to the undone state and keeps the load undoable', async () => {
    await s.e.load(doc(para('ab')), [0, 0, 2]);
    await s.e.type('c');
    await s.e.steps('undo', ['setTextJson', JSON.stringify(doc(para('loaded')))]);
    assert.deepEqual(await s.e.steps('redo'), doc(para('abc')));
    assert.deepEqual(await s.e.steps('undo'), doc(para('loaded')));
  });

  test('undoing a document load gives back the earlier document, and the caret starts at the top', async () => {
    await s.e.load(doc(para('first'), row('a')), [0, 0, 5]);
    await s.e.type('!');
    await s.e.call('setTextJson', JSON.stringify(doc(block('heading', -3, 'second'))));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 0]);
    assert.deepEqual(await s.e.steps('undo'), doc(para('first'), row('a')));
    assert.deepEqual(await s.e.steps('redo'), doc(block('heading', -3, 'second')));
  });
});
