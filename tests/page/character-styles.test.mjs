// Character style toggles with the caret inside and outside a word, across
// blocks, Clear Formatting, and references with new unique labels.
import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

// Every test must leave no uncaught error in the page (checked by useEditor).
const s = useEditor();

const spansOf = async (i) => s.e.eval((b) => editor.getBlockSpans(b).map((s) => [s.Type, s.Text]), i);

describe('caret inside a word', () => {
  test('Ctrl+I styles the whole word and keeps the caret; again makes it plain', async () => {
    await s.e.load(doc(para('one two three')));
    await s.e.caret(0, 0, 5);
    await s.e.call('styleWordEmphasis');
    assert.deepEqual(await spansOf(0), [['Plain', 'one '], ['Emphasis', 'two'], ['Plain', ' three']]);
    assert.deepEqual(await s.e.caretAt(), [0, 1, 1]);
    await s.e.call('styleWordEmphasis');
    assert.deepEqual(await spansOf(0), [['Plain', 'one two three']]);
    assert.deepEqual(await s.e.caretAt(), [0, 0, 5]);
  });

  test('a line feed ends a word as a space does', async () => {
    await s.e.load(doc(block('para', 0, 'ab', ['break', '\n'], 'cd ef')));
    await s.e.caret(0, 2, 1);
    await s.e.call('styleWordStrong');
    assert.deepEqual(await spansOf(0), [['Plain', 'ab'], ['Break', '\n'], ['Strong', 'cd'], ['Plain', ' ef']]);
  });

  test('every styleWord command gives its span type', async () => {
    const commands = { styleWordCode: 'code', styleWordMath: 'math', styleWordUrl: 'url', styleWordLink: 'linktext' };
    for (const [command, tag] of Object.entries(commands)) {
      await s.e.load(doc(para('see word here')));
      await s.e.caret(0, 0, 6);
      await s.e.call(command);
      assert.deepEqual((await s.e.model())[1][3], [tag, 'word'], command);
    }
  });

  test('in a code block nothing is styled but a snapshot is taken', async () => {
    await s.e.load(doc(block('verbatim', 0, 'let x')));
    await s.e.caret(0, 0, 1);
    await s.e.call('styleWordStrong');
    assert.deepEqual(await spansOf(0), [['Plain', 'let x']]);
    assert.deepEqual(await s.e.hostCalls(), ['done']);
  });
});

describe('caret outside a word', () => {
  test('Ctrl+I after a space, then typing, gives emphasised text', async () => {
    await s.e.load(doc(para('one ')));
    await s.e.caret(0, 0, 4);
    await s.e.call('styleWordEmphasis');
    await s.e.type('two');
    assert.deepEqual((await s.e.model())[1], ['para', { level: 0 }, ['plain', 'one '], ['emph', 'two']]);
  });

  test('Ctrl+I twice before typing leaves the next text plain and no empty span', async () => {
    await s.e.load(doc(para('one ')));
    await s.e.caret(0, 0, 4);
    await s.e.call('styleWordEmphasis');
    await s.e.call('styleWordEmphasis');
    assert.deepEqual(await spansOf(0), [['Plain', 'one ']]);
    await s.e.type('x');
    assert.deepEqual(await spansOf(0), [['Plain', 'one x']]);
  });

  test('at the end of a styled span, plain typing continues in the following plain span', async () => {
    await s.e.load(doc(para(['strong', 'bold'], ' rest')));
    await s.e.caret(0, 0, 4);
    await s.e.call('styleWordStrong');
    assert.deepEqual(await s.e.caretAt(), [0, 1, 0]);
    await s.e.type('X');
    assert.deepEqual(await spansOf(0), [['Strong', 'bold'], ['Plain', 'X rest']]);
  });

  test('at the start of a span after a styled one, the caret moves into the styled span', async () => {
    await s.e.load(doc(para(['emph', 'it'], ' and')));
    await s.e.caret(0, 1, 0);
    await s.e.call('styleWordEmphasis');
    assert.deepEqual(await s.e.caretAt(), [0, 0, 2]);
  });

  test('an empty styled span between equal neighbours is merged away', async () => {
    await s.e.load(doc(para('ab ')));
    await s.e.caret(0, 0, 3);
    await s.e.call('styleWordCode');
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
    await s.e.load(doc(block('image', 0, ['url', 'a.png'])));
    await s.e.caret(0, 0, 0);
    await s.e.call('styleWordStrong');
    await s.e.call('styleWordReference');
    assert.deepEqual(await s.e.model(), doc(block('image', 0, ['url', 'a.png'])));
    assert.equal(await s.e.eval(() => editor.blocks[0].querySelectorAll('img').length), 1);
  });

  test('in Final a new paragraph takes the style for what is typed', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(1, 0, 0);
    await s.e.call('styleWordStrong');
    await s.e.type('b');
    assert.deepEqual((await s.e.model())[2], ['para', { level: 0 }, ['strong', 'b']]);
  });
});

describe('selections', () => {
  test('a partly strong selection loses strong in its strong parts only', async () => {
    await s.e.load(doc(para('ab', ['strong', 'cd'], 'ef', ['emph', 'gh'])));
    await s.e.select([0, 0, 1], [0, 3, 1]);
    await s.e.call('styleWordStrong');
    assert.deepEqual(await spansOf(0), [['Plain', 'abcdef'], ['Emphasis', 'gh']]);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 1], focus: [0, 1, 1] });
  });

  test('a selection across blocks styles the tail, the middle and the head, not code', async () => {
    await s.e.load(doc(para('abc'), block('verbatim', 0, 'code'), para('mid'), para('xyz')));
    await s.e.select([0, 0, 1], [3, 0, 2]);
    await s.e.call('styleWordEmphasis');
    const model = await s.e.model();
    assert.deepEqual(model[1].slice(2), [['plain', 'a'], ['emph', 'bc']]);
    assert.deepEqual(model[2].slice(2), [['plain', 'code']]);
    assert.deepEqual(model[3].slice(2), [['emph', 'mid']]);
    assert.deepEqual(model[4].slice(2), [['emph', 'xy'], ['plain', 'z']]);
    // The start block changed, so the anchor goes back by character offset,
    // which lands at the end of the earlier span.
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 1], focus: [3, 0, 2] });
  });

  test('a backwards selection keeps its direction after styling', async () => {
    await s.e.load(doc(para('hello world')));
    await s.e.select([0, 0, 8], [0, 0, 2]);
    await s.e.call('styleWordStrong');
    const sel = await s.e.selection();
    assert.deepEqual(await s.e.eval(() => editor.pointToOffset(editor.getSelection().anchor)), 8);
    assert.deepEqual(await s.e.eval(() => editor.pointToOffset(editor.getSelection().focus)), 2);
    assert.ok(sel.anchor[1] >= sel.focus[1]);
  });

  test('line breaks keep their type', async () => {
    await s.e.load(doc(para('a', ['break', '\n'], 'b')));
    await s.e.select([0, 0, 0], [0, 2, 1]);
    await s.e.call('styleWordMath');
    assert.deepEqual((await s.e.model())[1].slice(2), [['math', 'a'], ['break', '\n'], ['math', 'b']]);
  });

  test('a selection to the end of the document stops before Final', async () => {
    await s.e.load(doc(para('abc')));
    await s.e.select([0, 0, 1], [1, 0, 0]);
    await s.e.call('styleWordStrong');
    assert.deepEqual(await s.e.blockClasses(), ['Plain Indent0', 'Final Indent0']);
    assert.deepEqual((await s.e.model())[1].slice(2), [['plain', 'a'], ['strong', 'bc']]);
  });
});

describe('Clear Formatting', () => {
  test('every style in the selection becomes plain, line breaks stay', async () => {
    await s.e.load(doc(para(['emph', 'a'], ['break', '\n'], ['strong', 'b'], ['url', 'c'])));
    await s.e.select([0, 0, 0], [0, 3, 1]);
    await s.e.call('styleWordPlain');
    assert.deepEqual((await s.e.model())[1].slice(2), [['plain', 'a'], ['break', '\n'], ['plain', 'bc']]);
  });

  test('with a caret nothing changes, but the snapshot is taken', async () => {
    await s.e.load(doc(para(['emph', 'word'])));
    await s.e.caret(0, 0, 2);
    await s.e.call('styleWordPlain');
    assert.deepEqual((await s.e.model())[1].slice(2), [['emph', 'word']]);
    assert.deepEqual(await s.e.hostCalls(), ['done']);
  });
});

describe('references', () => {
  const labelAfterReference = async (...existing) => {
    await s.e.load(doc(para('one two', ...existing.flatMap((l) => [['noteref', l], ' ']))));
    await s.e.caret(0, 0, 3);
    await s.e.type(' ');
    await s.e.caret(0, 0, 4);
    await s.e.call('styleWordReference');
    return s.e.eval(() => window.getSelection().toString().replace(/\u200B/g, ''));
  };

  test('a new label is the smallest unused number, and it is selected', async () => {
    assert.equal(await labelAfterReference(), '1');
    assert.equal(await labelAfterReference('1', '2'), '3');
    assert.equal(await labelAfterReference('1', '3'), '2');
  });

  test('a new label goes between two words; labels count trimmed', async () => {
    await s.e.load(doc(para('see  that', ['noteref', ' 1 '])));
    await s.e.caret(0, 0, 4);
    await s.e.call('styleWordReference');
    assert.deepEqual((await s.e.model())[1].slice(2),
      [['plain', 'see '], ['noteref', '2'], ['plain', ' that'], ['noteref', ' 1 ']]);
  });

  test('at the end of a span followed by a label the caret moves into that label', async () => {
    await s.e.load(doc(para('see ', ['noteref', '7'])));
    await s.e.caret(0, 0, 4);
    await s.e.call('styleWordReference');
    assert.deepEqual((await s.e.model())[1].slice(2), [['plain', 'see '], ['noteref', '7']]);
    assert.deepEqual(await s.e.caretAt(), [0, 1, 0]);
  });

  test('at the end of a block an empty plain span follows the new label', async () => {
    await s.e.load(doc(para('end ')));
    await s.e.caret(0, 0, 4);
    await s.e.call('styleWordReference');
    assert.deepEqual(await spansOf(0), [['Plain', 'end '], ['NoteRef', '1'], ['Plain', '']]);
    await s.e.caret(0, 2, 0);
    await s.e.type('x');
    assert.deepEqual((await s.e.model())[1].slice(2), [['plain', 'end '], ['noteref', '1'], ['plain', 'x']]);
  });

  test('Reference on a word makes the word a label, and again makes it plain', async () => {
    await s.e.load(doc(para('see note1 here')));
    await s.e.caret(0, 0, 6);
    await s.e.call('styleWordReference');
    assert.deepEqual((await s.e.model())[1].slice(2), [['plain', 'see '], ['noteref', 'note1'], ['plain', ' here']]);
    await s.e.caret(0, 1, 2);
    await s.e.call('styleWordReference');
    assert.deepEqual((await s.e.model())[1].slice(2), [['plain', 'see note1 here']]);
  });

  test('labels of link definitions count as used', async () => {
    await s.e.load(doc(para('x ', ['linktext', 'l'], ['linkref', '1']), block('link', 0, ['linkref', '1'], ['url', 'http://a.b'])));
    assert.equal(await s.e.eval(() => editor.generateUniqueReference()), '2');
  });
});
