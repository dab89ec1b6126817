import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();
const img = (name) => block('image', 0, ['url', name]);
const row = (text) => block('row', 1, text);
const col = (text) => block('col', 2, text);
const empty = (tag, level = 0) => [tag, { level }];

async function run(model, at, fn) {
  await s.e.load(model, at);
  assert.equal(await s.e.call(fn), false);
  return s.e.model();
}

function cases(list) {
  for (const [name, model, at, fn, expected, caret] of list) {
    test(name, async () => {
      assert.deepEqual(await run(model, at, fn), expected);
      if (caret) assert.deepEqual(await s.e.caretAt(), caret);
    });
  }
}

describe('Backspace', () => {
  cases([
    ['1. on an image removes it; the caret goes to the block that followed',
      doc(para('a'), img('i.png'), para('b')), [1, 0, 0], 'deleteBackward', doc(para('a'), para('b')), [1, 0, 0]],
    ['2. with a selection deletes it and joins the ends',
      doc(para('abc'), block('heading', -3, 'def')), [[0, 0, 1], [1, 0, 2]], 'deleteBackward', doc(para('af')), [0, 0, 1]],
    ['2. a selection from the start of one block to the start of another takes over the end block\'s type',
      doc(para('abc'), block('heading', -3, 'def')), [[0, 0, 0], [1, 0, 0]], 'deleteBackward', doc(block('heading', -3, 'def'))],
    ['3. after a line break removes the break and merges the neighbours',
      doc(para('ab', ['break', '\n'], 'cd')), [0, 2, 0], 'deleteBackward', doc(para('abcd')), [0, 0, 2]],
    ['3. a character outside the basic plane is removed whole', doc(para('a😀')), [0, 0, 3], 'deleteBackward', doc(para('a'))],
    ['6. in Final the caret goes to the end of the last paragraph', doc(para('abc')), [1, 0, 0], 'deleteBackward', doc(para('abc')), [0, 0, 3]],
    ['10. otherwise the paragraph joins the one before, the caret where its text ended',
      doc(para('ab', ['emph', 'c']), block('quote', 0, ['emph', 'd'], 'e')), [1, 0, 0], 'deleteBackward',
      doc(para('ab', ['emph', 'cd'], 'e')), [0, 1, 1]],
    ['10. an empty paragraph before takes the type of the one joined into it',
      doc(empty('para'), block('heading', -2, 'h')), [1, 0, 0], 'deleteBackward', doc(block('heading', -3, 'h'))],
    ['4. after an image a paragraph with text is left and the caret goes onto the image',
      doc(img('i.png'), para('text')), [1, 0, 0], 'deleteBackward', doc(img('i.png'), para('text')), [0, 0, 0]],
    ['7. a numbered item becomes a plain paragraph at its level', doc(block('numbered', 2, 'n')), [0, 0, 0], 'deleteBackward',
      doc(block('para', 2, 'n'))],
    ['9. at the start of the document an empty first block is removed', doc(empty('para'), para('b')), [0, 0, 0], 'deleteBackward',
      doc(para('b'))],
    ['9. at the start of the document a first block with text is kept', doc(block('heading', -3, 'h')), [0, 0, 0], 'deleteBackward',
      doc(block('heading', -3, 'h'))],
  ]);

  test('3. inside text removes one character; an emptied neighbour span goes too', async () => {
    assert.deepEqual(await run(doc(para('ab', ['emph', 'c'], 'd')), [0, 2, 0], 'deleteBackward'), doc(para('ab', 'd')));
    assert.deepEqual(await s.e.caretAt(), [0, 1, 0]);
    await s.e.type('E');
    assert.deepEqual(await s.e.model(), doc(para('ab', ['emph', 'E'], 'd')));
    assert.deepEqual(await run(doc(para('ab', ['emph', 'c'], ['strong', 'x'])), [0, 1, 1], 'deleteBackward'),
      doc(para('ab', ['strong', 'x'])));
    assert.deepEqual(await run(doc(para('a', ['emph', ''], 'b')), [0, 0, 1], 'deleteBackward'), doc(para('b')));
    assert.deepEqual(await s.e.eval(() => editor.getBlockSpans(0)), [{ Type: 'Plain', Text: 'b' }]);
  });

  test('4. after an image: an empty paragraph is removed and the image selected; in Final the image stays', async () => {
    assert.deepEqual(await run(doc(img('i.png'), empty('para')), [1, 0, 0], 'deleteBackward'), doc(img('i.png')));
    assert.deepEqual(await s.e.eval(() => window.getSelection().toString()), '\u200B');
    assert.deepEqual(await run(doc(img('i.png')), [1, 0, 0], 'deleteBackward'), doc(img('i.png')));
    assert.equal(await s.e.eval(() => editor.getBlockType(editor.getBlockCount() - 1)), 'Final');
  });

  test('5. at the start of the first cell or of the paragraph after a table nothing happens', async () => {
    const model = doc(para('a'), row('x'), col('y'), para('b'));
    for (const at of [[1, 0, 0], [2, 0, 0], [3, 0, 0]]) assert.deepEqual(await run(model, at, 'deleteBackward'), model);
  });

  test('7. a level-1 bulleted item becomes a level-0 plain paragraph; a second Backspace joins it', async () => {
    assert.deepEqual(await run(doc(para('p'), block('bulleted', 0, 'item')), [1, 0, 0], 'deleteBackward'), doc(para('p'), para('item')));
    await s.e.call('deleteBackward');
    assert.deepEqual(await s.e.model(), doc(para('pitem')));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 1]);
  });

  test('8. a level-3 plain paragraph goes to level 2; undo restores 3, the next undo shows no change', async () => {
    assert.deepEqual(await run(doc(para('x'), block('para', 3, 'y')), [1, 0, 0], 'deleteBackward'), doc(para('x'), block('para', 2, 'y')));
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), doc(para('x'), block('para', 3, 'y')));
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), doc(para('x'), block('para', 3, 'y')));
    assert.deepEqual(await s.e.hostCalls(), ['done', 'done', 'undone', 'undone']);
  });

  test('10. joining paragraphs that end and begin with line breaks keeps the breaks apart', async () => {
    const out = await run(doc(para('a', ['break', '\n']), para(['break', '\n'], 'b')), [1, 0, 0], 'deleteBackward');
    assert.deepEqual(out, doc(para('a', ['break', '\n'], ['break', '\n'], 'b')));
    const types = await s.e.eval(() => editor.getBlockSpans(0).map((x) => x.Type));
    assert.deepEqual(types, ['Plain', 'Break', 'Plain', 'Break', 'Plain']);
  });
});

describe('Delete', () => {
  cases([
    ['1. with the selection ending on an image removes the image',
      doc(para('a'), img('i.png'), para('b')), [1, 0, 0], 'deleteForward', doc(para('a'), para('b')), [1, 0, 0]],
    ['2. with a selection deletes it', doc(para('abc')), [[0, 0, 2], [0, 0, 1]], 'deleteForward', doc(para('ac'))],
    ['3. before a line break removes it', doc(para('ab', ['break', '\n'], 'cd')), [0, 0, 2], 'deleteForward', doc(para('abcd')), [0, 0, 2]],
    ['4. in Final nothing happens', doc(para('a')), [1, 0, 0], 'deleteForward', doc(para('a'))],
    ['7. the last paragraph before Final is removed when empty', doc(para('a'), empty('para')), [1, 0, 0], 'deleteForward', doc(para('a'))],
    ['7. ... and kept when it has text', doc(para('a')), [0, 0, 1], 'deleteForward', doc(para('a'))],
    ['8. otherwise the next paragraph joins this one and the caret keeps its offset',
      doc(block('bulleted', 0, 'ab'), block('heading', -3, 'cd')), [0, 0, 2], 'deleteForward', doc(block('bulleted', 0, 'abcd')), [0, 0, 2]],
  ]);

  test('3. inside text removes the next character, merging what an emptied span separated', async () => {
    assert.deepEqual(await run(doc(para('ab', ['emph', 'c'], 'de')), [0, 0, 2], 'deleteForward'), doc(para('ab', 'de')));
    assert.deepEqual(await s.e.caretAt(), [0, 1, 0]);
    await s.e.call('deleteForward');
    assert.deepEqual(await s.e.model(), doc(para('abe')));
    assert.deepEqual(await s.e.eval(() => editor.getBlockSpans(0)), [{ Type: 'Plain', Text: 'abe' }]);
    assert.deepEqual(await s.e.caretAt(), [0, 0, 2]);
  });

  test('5. before an image the image is selected', async () => {
    assert.deepEqual(await run(doc(para('a'), img('i.png')), [0, 0, 1], 'deleteForward'), doc(para('a'), img('i.png')));
    assert.equal(await s.e.eval(() => window.getSelection().toString()), '\u200B');
  });

  test('6. at the end of a cell or before a table nothing happens', async () => {
    const model = doc(para('a'), row('x'), col('y'), para('b'));
    for (const at of [[0, 0, 1], [1, 0, 1], [2, 0, 1]]) assert.deepEqual(await run(model, at, 'deleteForward'), model);
  });
});

describe('word deletion', () => {
  cases([
    ['Ctrl+Backspace after a word and two spaces deletes the word and both spaces, nothing before',
      doc(para('foo bar  ')), [0, 0, 9], 'deleteWordBackward', doc(para('foo ')), [0, 0, 4]],
    ['Ctrl+Delete after foo in "foo bar baz" deletes the space and bar',
      doc(para('foo bar baz')), [0, 0, 3], 'deleteWordForward', doc(para('foo baz')), [0, 0, 3]],
    ['Ctrl+Backspace at the start of a block acts as Backspace', doc(para('ab'), para('cd')), [1, 0, 0], 'deleteWordBackward', doc(para('abcd'))],
    ['Ctrl+Delete at the end of a block acts as Delete', doc(para('ab'), para('cd')), [0, 0, 2], 'deleteWordForward', doc(para('abcd'))],
    ['with a selection a word deletion deletes the selection', doc(para('ab cd')), [[0, 0, 1], [0, 0, 4]], 'deleteWordBackward', doc(para('ad'))],
    ['next to a line break Ctrl+Backspace removes the break', doc(para('ab', ['break', '\n'], 'cd')), [0, 2, 0], 'deleteWordBackward', doc(para('abcd'))],
    ['next to a line break Ctrl+Delete removes the break', doc(para('ab', ['break', '\n'], 'cd')), [0, 0, 2], 'deleteWordForward', doc(para('abcd'))],
  ]);

  test('word deletion stays within one span and leaves it empty rather than removing it', async () => {
    assert.deepEqual(await run(doc(para('one ', ['strong', 'two'])), [0, 1, 3], 'deleteWordBackward'), doc(para('one ')));
    assert.deepEqual(await s.e.eval(() => editor.getBlockSpans(0)), [{ Type: 'Plain', Text: 'one ' }, { Type: 'Strong', Text: '' }]);
    await s.e.type('X');
    assert.deepEqual(await s.e.model(), doc(para('one ', ['strong', 'X'])));
  });
});

describe('deleting ranges that touch tables', () => {
  cases([
    ['a range inside one cell deletes only text', doc(row('abcd'), col('x')), [[0, 0, 1], [0, 0, 3]], 'deleteBackward', doc(row('ad'), col('x'))],
    ['a range ending on an image deletes the image whole instead of joining its address into the text',
      doc(para('abc'), img('i.png'), para('d')), [[0, 0, 1], [1, 0, 0]], 'deleteBackward', doc(para('a'), para('d'))],
    ['deleting up to Final stops at the end of the last paragraph',
      doc(para('abc'), para('def')), [[0, 0, 1], [2, 0, 0]], 'deleteBackward', doc(para('a'))],
  ]);

  const table = doc(para('before text'), row('a1'), col('b1'), row('c2'), col('d2'), para('after text'));
  cases([
    ['from a paragraph above into the second row: the first row goes, second-row cells before the end are cleared',
      table, [[0, 0, 3], [4, 0, 1]], 'deleteBackward', doc(para('bef'), empty('row', 1), col('2'), para('after text')), [0, 0, 3]],
    ['from inside a cell to the paragraph below: cells after the start are cleared, nothing joins', table, [[3, 0, 1], [5, 0, 5]],
      'deleteBackward', doc(para('before text'), row('a1'), col('b1'), row('c'), empty('col', 2), para(' text')), [3, 0, 1]],
    ['a range covering whole rows removes them',
      table, [[1, 0, 0], [3, 0, 0]], 'deleteBackward', doc(para('before text'), row('c2'), col('d2'), para('after text'))],
    ['from a paragraph above to one below the table goes and the paragraphs join, as text around it',
      table, [[0, 0, 6], [5, 0, 5]], 'deleteBackward', doc(para('before text'))],
  ]);

  test('where a wider row meets a narrower one, the narrower rows are widened with empty cells', async () => {
    const wide = doc(row('a'), col('b'), row('c'), col('d'), col('e'), row('f'), col('g'), col('h'));
    assert.deepEqual(await run(wide, [[2, 0, 0], [4, 0, 1]], 'deleteBackward'),
      doc(row('a'), col('b'), empty('col', 2), row('f'), col('g'), col('h')));
    const narrow = doc(row('a'), col('b'), col('c'), row('d'), col('e'), col('f'), row('g'), col('h'));
    assert.deepEqual(await run(narrow, [[3, 0, 0], [5, 0, 1]], 'deleteBackward'),
      doc(row('a'), col('b'), col('c'), row('g'), col('h'), empty('col', 2)));
  });
});
