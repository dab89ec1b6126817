import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const spansOf = async (i) => s.e.eval((b) => editor.getBlockSpans(b).map((s) => [s.Type, s.Text]), i);

const cases = [
  ['a line feed ends a word as a space does', doc(para('ab', ['break', '\n'], 'cd ef')), [[0, 2, 1], 'styleWordStrong'],
    ['ab', ['break', '\n'], ['strong', 'cd'], ' ef']],
  ...Object.entries({ styleWordCode: 'code', styleWordMath: 'math', styleWordUrl: 'url', styleWordLink: 'linktext' }).map(([command, tag]) =>
    [`${command} gives ${tag}`, doc(para('see word here')), [[0, 0, 6], command], ['see ', [tag, 'word'], ' here']]),
  ['in a code block nothing is styled but a snapshot is taken', doc(block('verbatim', 0, 'let x')), [[0, 0, 1], 'styleWordStrong'],
    ['let x'], null, ['done']],
  ['at the start of a span after a styled one, the caret moves into the styled span', doc(para(['emph', 'it'], ' and')),
    [[0, 1, 0], 'styleWordEmphasis'], [['emph', 'it'], ' and'], [0, 0, 2]],
  ['a selection to the end of the document stops before Final', doc(para('abc')), [[[0, 0, 1], [1, 0, 0]], 'styleWordStrong'],
    ['a', ['strong', 'bc']]],
  ['Clear Formatting makes every style in the selection plain, line breaks stay',
    doc(para(['emph', 'a'], ['break', '\n'], ['strong', 'b'], ['url', 'c'])), [[[0, 0, 0], [0, 3, 1]], 'styleWordPlain'],
    ['a', ['break', '\n'], 'bc']],
  ['Clear Formatting with a caret changes nothing, but the snapshot is taken', doc(para(['emph', 'word'])),
    [[0, 0, 2], 'styleWordPlain'], [['emph', 'word']], null, ['done']],
  ['a new label goes between two words; labels count trimmed', doc(para('see  that', ['noteref', ' 1 '])),
    [[0, 0, 4], 'styleWordReference'], ['see ', ['noteref', '2'], ' that', ['noteref', ' 1 ']]],
  ['at the end of a span followed by a label the caret moves into that label', doc(para('see ', ['noteref', '7'])),
    [[0, 0, 4], 'styleWordReference'], ['see ', ['noteref', '7']], [0, 1, 0]],
];
for (const [name, model, steps, spans, caret, hostCalls] of cases) {
  test(name, async () => {
    assert.deepEqual((await s.e.run(model, ...steps))[1].slice(2), para(...spans).slice(2));
    if (caret) assert.deepEqual(await s.e.caretAt(), caret);
    if (hostCalls) assert.deepEqual(await s.e.hostCalls(), hostCalls);
  });
}

test('Ctrl+I styles the whole word and keeps the caret; again makes it plain', async () => {
  await s.e.run(doc(para('one two three')), [0, 0, 5], 'styleWordEmphasis');
  assert.deepEqual(await spansOf(0), [['Plain', 'one '], ['Emphasis', 'two'], ['Plain', ' three']]);
  assert.deepEqual(await s.e.caretAt(), [0, 1, 1]);
  await s.e.call('styleWordEmphasis');
  assert.deepEqual(await spansOf(0), [['Plain', 'one two three']]);
  assert.deepEqual(await s.e.caretAt(), [0, 0, 5]);
});

describe('caret outside a word', () => {
  for (const [name, model, at, commands, typed, block, spans] of [
    ['Ctrl+I after a space, then typing, gives emphasised text', doc(para('one ')), [0, 0, 4], ['styleWordEmphasis'], 'two', 0,
      [['Plain', 'one '], ['Emphasis', 'two']]],
    ['Ctrl+I twice before typing leaves the next text plain and no empty span', doc(para('one ')), [0, 0, 4],
      ['styleWordEmphasis', 'styleWordEmphasis'], 'x', 0, [['Plain', 'one x']]],
    ['in Final a new paragraph takes the style for what is typed', doc(para('a')), [1, 0, 0], ['styleWordStrong'], 'b', 1,
      [['Strong', 'b']]],
  ]) {
    test(name, async () => {
      await s.e.run(model, at, ...commands);
      await s.e.type(typed);
      assert.deepEqual(await spansOf(block), spans);
    });
  }

  test('at the end of a styled span, plain typing continues in the following plain span', async () => {
    await s.e.run(doc(para(['strong', 'bold'], ' rest')), [0, 0, 4], 'styleWordStrong');
    assert.deepEqual(await s.e.caretAt(), [0, 1, 0]);
    await s.e.type('X');
    assert.deepEqual(await spansOf(0), [['Strong', 'bold'], ['Plain', 'X rest']]);
  });

  test('an empty styled span between equal neighbours is merged away', async () => {
    await s.e.run(doc(para('ab ')), [0, 0, 3], 'styleWordCode');
    await s.e.eval(() => {
      const spans = editor.getBlockSpans(0);
      spans.push({ Type: 'Plain', Text: 'cd' });
      editor.setBlockSpans(0, spans);
      editor.setCaret(Point(0, 1, 0));
    });
    await s.e.call('styleWordCode');
    assert.deepEqual(await spansOf(0), [['Plain', 'ab cd']]);
    assert.deepEqual(await s.e.caretAt(), [0, 0, 3]);
  });

  test('on a selected image nothing is styled and the image stays whole', async () => {
    await s.e.run(doc(block('image', 0, ['url', 'a.png'])), [0, 0, 0], 'styleWordStrong', 'styleWordReference');
    assert.deepEqual(await s.e.model(), doc(block('image', 0, ['url', 'a.png'])));
    assert.equal(await s.e.eval(() => editor.blocks[0].querySelectorAll('img').length), 1);
  });
});

describe('selections', () => {
  test('a partly strong selection loses strong in its strong parts only', async () => {
    await s.e.run(doc(para('ab', ['strong', 'cd'], 'ef', ['emph', 'gh'])), [[0, 0, 1], [0, 3, 1]], 'styleWordStrong');
    assert.deepEqual(await spansOf(0), [['Plain', 'abcdef'], ['Emphasis', 'gh']]);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 1], focus: [0, 1, 1] });
  });

  test('a selection across blocks styles the tail, the middle and the head, not code', async () => {
    await s.e.run(doc(para('abc'), block('verbatim', 0, 'code'), para('mid'), para('xyz')), [[0, 0, 1], [3, 0, 2]], 'styleWordEmphasis');
    const model = await s.e.model();
    assert.deepEqual(model[1].slice(2), [['plain', 'a'], ['emph', 'bc']]);
    assert.deepEqual(model[2].slice(2), [['plain', 'code']]);
    assert.deepEqual(model[3].slice(2), [['emph', 'mid']]);
    assert.deepEqual(model[4].slice(2), [['emph', 'xy'], ['plain', 'z']]);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 1], focus: [3, 0, 2] });
  });

  test('a backwards selection keeps its direction after styling', async () => {
    await s.e.run(doc(para('hello world')), [[0, 0, 8], [0, 0, 2]], 'styleWordStrong');
    const sel = await s.e.selection();
    assert.deepEqual(await s.e.eval(() => editor.pointToOffset(editor.getSelection().anchor)), 8);
    assert.deepEqual(await s.e.eval(() => editor.pointToOffset(editor.getSelection().focus)), 2);
    assert.ok(sel.anchor[1] >= sel.focus[1]);
  });
});

describe('references', () => {
  const labelAfterReference = async (...existing) => {
    await s.e.load(doc(para('one two', ...existing.flatMap((l) => [['noteref', l], ' ']))), [0, 0, 3]);
    await s.e.type(' ');
    await s.e.steps([0, 0, 4], 'styleWordReference');
    return s.e.eval(() => window.getSelection().toString().replace(/\u200B/g, ''));
  };

  test('a new label is the smallest unused number, and it is selected', async () => {
    assert.equal(await labelAfterReference(), '1');
    assert.equal(await labelAfterReference('1', '2'), '3');
    assert.equal(await labelAfterReference('1', '3'), '2');
    await s.e.load(doc(para('x ', ['linktext', 'l'], ['linkref', '1']), block('link', 0, ['linkref', '1'], ['url', 'http://a.b'])));
    assert.equal(await s.e.eval(() => editor.generateUniqueReference()), '2');
  });

  test('at the end of a block an empty plain span follows the new label', async () => {
    await s.e.run(doc(para('end ')), [0, 0, 4], 'styleWordReference');
    assert.deepEqual(await spansOf(0), [['Plain', 'end '], ['NoteRef', '1'], ['Plain', '']]);
    await s.e.caret(0, 2, 0);
    await s.e.type('x');
    assert.deepEqual((await s.e.model())[1].slice(2), [['plain', 'end '], ['noteref', '1'], ['plain', 'x']]);
  });

  test('Reference on a word makes the word a label, and again makes it plain', async () => {
    await s.e.run(doc(para('see note1 here')), [0, 0, 6], 'styleWordReference');
    assert.deepEqual((await s.e.model())[1].slice(2), [['plain', 'see '], ['noteref', 'note1'], ['plain', ' here']]);
    assert.deepEqual((await s.e.steps([0, 1, 2], 'styleWordReference'))[1].slice(2), [['plain', 'see note1 here']]);
  });
});
