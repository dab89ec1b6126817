import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

describe('typing', () => {
  for (const [name, model, at, typed, expected] of [
    ['typing over a selection replaces it and takes the style of its first character', doc(para('ab', ['strong', 'cd'], 'ef'), para('gh')),
      [[0, 1, 1], [1, 0, 1]], 'Z', doc(para('ab', ['strong', 'cZ'], 'h'))],
    ['typing over a selection that starts on an image gives plain text where the image was',
      doc(block('image', 0, ['url', 'x.png']), para('ab')), [[0, 0, 0], [1, 0, 1]], 'Q', doc(para('Qab'))],
  ]) {
    test(name, async () => {
      await s.e.load(model, at);
      await s.e.type(typed);
      assert.deepEqual(await s.e.model(), expected);
    });
  }

  test('typing in the Final block or on an image starts a new paragraph before it', async () => {
    await s.e.load(doc(para('a'), block('image', 0, ['url', 'x.png'])), [2, 0, 0]);
    await s.e.type('end');
    await s.e.caret(1, 0, 0);
    await s.e.type('pic');
    assert.deepEqual(await s.e.model(), doc(para('a'), para('pic'), block('image', 0, ['url', 'x.png']), para('end')));
  });

  test('the caret follows each typed character, after astral characters and at span edges too', async () => {
    const original = doc(para('😀', ['emph', 'x'], '😀'));
    await s.e.load(original, [0, 0, 2]);
    await s.e.type('ab');
    assert.deepEqual(await s.e.caretAt(), [0, 0, 4]);
    await s.e.caret(0, 1, 0);
    await s.e.type('cd');
    await s.e.caret(0, 2, 2);
    await s.e.type('😀e');
    assert.deepEqual(await s.e.model(), doc(para('😀ab', ['emph', 'cdx'], '😀😀e')));
    assert.deepEqual(await s.e.caretAt(), [0, 2, 5]);
    await s.e.eval(() => { while (editor.undoStack.length) undo(); });
    assert.deepEqual(await s.e.model(), original);
  });
});

test('a composition takes a snapshot first and is committed by the browser into the span', async () => {
  await s.e.load(doc(para('ab', ['emph', 'cd'])), [0, 1, 1]);
  const cdp = await s.e.page.context().newCDPSession(s.e.page);
  try {
    await cdp.send('Input.imeSetComposition', { text: 'に', selectionStart: 1, selectionEnd: 1 });
    await cdp.send('Input.insertText', { text: '日本' });
  } finally {
    await cdp.detach();
  }
  assert.deepEqual(await s.e.model(), doc(para('ab', ['emph', 'c日本d'])));
  assert.deepEqual(await s.e.hostCalls(), ['done']);
  await s.e.call('undo');
  assert.deepEqual(await s.e.model(), doc(para('ab', ['emph', 'cd'])));
});

describe('autoformat on space', () => {
  const cases = [
    ['-', 0, 'bulleted', 0], ['1.', 0, 'numbered', 0], ['#', 0, 'heading', -3], ['###', 2, 'heading', -1], ['-', 5, 'bulleted', 4],
  ];
  test('a list or heading marker and a space at the start of a paragraph set its type and level', async () => {
    for (const [marker, level, tag, modelLevel] of cases) {
      await s.e.load(doc(block('para', level, '')), [0, 0, 0]);
      await s.e.type(marker + ' text');
      assert.deepEqual(await s.e.model(), doc(block(tag, modelLevel, 'text')), `${marker} at level ${level}`);
    }
  });

  test('undo gives back the marker as typed, with its space', async () => {
    await s.e.load(doc(para('')), [0, 0, 0]);
    await s.e.type('# ');
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), doc(para('# ')));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 2]);
  });

  test('no autoformat in a heading, after more text, or with styled spans around', async () => {
    await s.e.load(doc(block('heading', -3, '1.'), para('x-'), para(['emph', 'a'], '#')), [0, 0, 2]);
    await s.e.type(' ');
    await s.e.caret(1, 0, 2);
    await s.e.type(' ');
    await s.e.caret(2, 1, 1);
    await s.e.type(' ');
    assert.deepEqual(await s.e.model(), doc(block('heading', -3, '1. '), para('x- '), para(['emph', 'a'], '# ')));
  });
});

describe('Enter', () => {
  async function enterAt(model, at) {
    await s.e.load(model, at);
    assert.equal(await s.e.call('insertNewline'), false);
    return s.e.model();
  }

  const empty = (tag, level = 0) => [tag, { level }];
  const rtl = (...spans) => ['para', { level: 2, direction: 'rtl' }, ...spans];
  const table = doc(block('row', 1, 'a'), block('col', 2, 'b'));
  const cases = [
    ['in the middle of a paragraph it splits it, heading stays heading', doc(block('heading', -2, 'ab', ['emph', 'cd'])), [0, 1, 1],
      doc(block('heading', -2, 'ab', ['emph', 'c']), block('heading', -2, ['emph', 'd'])), [1, 0, 0]],
    ...['quote', 'note', 'comment'].map((tag) => [`at the end of a ${tag} a level-0 plain paragraph follows`,
      doc(block(tag, 1, 'q')), [0, 0, 1], doc(block(tag, 1, 'q'), empty('para'))]),
    ['at the end of a level-2 plain paragraph the new one is at level 2, with its direction', doc(rtl(['plain', 'x'])), [0, 0, 1],
      doc(rtl(['plain', 'x']), rtl()), [1, 0, 0]],
    ['after a list item comes a new item of the same kind and level', doc(block('numbered', 2, 'n')), [0, 0, 1],
      doc(block('numbered', 2, 'n'), empty('numbered', 2))],
    ['after a heading comes a plain paragraph', doc(block('heading', -3, 'h')), [0, 0, 1], doc(block('heading', -3, 'h'), empty('para'))],
    ['on an empty bulleted item it ends the list and inserts nothing', doc(block('bulleted', 1, 'a'), empty('bulleted', 1)), [1, 0, 0],
      doc(block('bulleted', 1, 'a'), empty('para')), [1, 0, 0]],
    ['at the very start of a list item the empty item goes above', doc(block('bulleted', 1, 'item')), [0, 0, 0],
      doc(empty('bulleted', 1), block('bulleted', 1, 'item')), [1, 0, 0]],
    ['at the very start of another paragraph an empty plain one goes above', doc(block('quote', 0, 'q')), [0, 0, 0],
      doc(empty('para'), block('quote', 0, 'q'))],
    ['in Final it adds an empty paragraph and the caret stays below it', doc(para('a')), [1, 0, 0], doc(para('a'), empty('para')), [2, 0, 0]],
    ['in a code block it inserts a line break', doc(block('verbatim', 0, 'ab')), [0, 0, 1],
      doc(block('verbatim', 0, 'a', ['break', '\n'], 'b'))],
    ['on an image a paragraph after it', doc(block('image', 0, ['url', 'i.png'])), [0, 0, 0],
      doc(block('image', 0, ['url', 'i.png']), empty('para')), [1, 0, 0]],
    ['at the start of a table that opens the document a paragraph goes before it', table, [0, 0, 0],
      doc(empty('para'), block('row', 1, 'a'), block('col', 2, 'b')), [1, 0, 0]],
    ['elsewhere in a table nothing happens', table, [1, 0, 0], table],
  ];
  test('each place has its rule', async () => {
    for (const [name, model, at, expected, caret] of cases) {
      assert.deepEqual(await enterAt(model, at), expected, name);
      if (caret) assert.deepEqual(await s.e.caretAt(), caret, name);
    }
  });

  test('with a selection it deletes the selection first', async () => {
    assert.deepEqual(await s.e.run(doc(para('abcd'), para('efgh')), [[0, 0, 2], [1, 0, 2]], 'insertNewline'), doc(para('ab'), para('gh')));
  });
});

describe('Shift+Enter', () => {
  test('between a bold and a plain span the caret ends before the plain text', async () => {
    await s.e.run(doc(para(['strong', 'bold'], 'plain')), [0, 0, 4], 'insertLineBreak');
    assert.deepEqual(await s.e.model(), doc(para(['strong', 'bold'], ['break', '\n'], 'plain')));
    assert.deepEqual(await s.e.caretAt(), [0, 2, 0]);
    await s.e.type('X');
    assert.deepEqual(await s.e.model(), doc(para(['strong', 'bold'], ['break', '\n'], 'Xplain')));
  });

  test('at the end and at the start of a paragraph empty plain spans keep the break inside', async () => {
    await s.e.run(doc(para('a')), [0, 0, 1], 'insertLineBreak', 'insertLineBreak');
    assert.deepEqual(await s.e.eval(() => editor.getBlockSpans(0).map((x) => x.Type)), ['Plain', 'Break', 'Plain', 'Break', 'Plain']);
    await s.e.type('b');
    assert.deepEqual(await s.e.model(), doc(para('a', ['break', '\n'], ['break', '\n'], 'b')));
    assert.deepEqual(await s.e.steps([0, 0, 0], 'insertLineBreak'), doc(para(['break', '\n'], 'a', ['break', '\n'], ['break', '\n'], 'b')));
  });

  test('in Final it first makes a paragraph; in tables and images nothing; in code a new paragraph', async () => {
    await s.e.load(doc(block('row', 1, 'a'), block('image', 0, ['url', 'i.png']), block('verbatim', 0, 'ab')));
    for (const at of [[0, 0, 1], [1, 0, 0]]) {
      await s.e.caret(...at);
      await s.e.call('insertLineBreak');
    }
    await s.e.steps([2, 0, 1], 'insertLineBreak', [4, 0, 0], 'insertLineBreak');
    assert.deepEqual(await s.e.model(), doc(block('row', 1, 'a'), block('image', 0, ['url', 'i.png']),
      block('verbatim', 0, 'a'), block('verbatim', 0, 'b'), para(['break', '\n'])));
  });
});

describe('Tab and Shift+Tab', () => {
  test('in a code block only the selected lines are indented and unindented', async () => {
    await s.e.load(doc(block('verbatim', 0, 'one', ['break', '\n'], 'two', ['break', '\n'], 'three')), [[0, 0, 1], [0, 2, 2]]);
    assert.equal(await s.e.call('insertTab'), false);
    assert.deepEqual(await s.e.model(), doc(block('verbatim', 0, '    one', ['break', '\n'], '    two', ['break', '\n'], 'three')));
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 5], focus: [0, 2, 6] });
    await s.e.steps([[0, 0, 2], [0, 2, 6]], 'insertBacktab', 'insertBacktab');
    assert.deepEqual(await s.e.model(), doc(block('verbatim', 0, 'one', ['break', '\n'], 'two', ['break', '\n'], 'three')));
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 0], focus: [0, 2, 2] });
    assert.equal(await s.e.eval(() => editor.undoStack.length), 0);
    assert.deepEqual(await s.e.run(doc(block('verbatim', 0, '  x  y')), [0, 0, 4], 'insertBacktab'), doc(block('verbatim', 0, 'x  y')));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 2]);
  });

  test('a selection spanning a code block and a paragraph raises the level of both', async () => {
    await s.e.run(doc(block('verbatim', 0, 'code'), para('text')), [[0, 0, 1], [1, 0, 1]], 'insertTab');
    assert.deepEqual(await s.e.model(), doc(block('verbatim', 1, 'code'), block('para', 1, 'text')));
    await s.e.call('insertBacktab');
    assert.deepEqual(await s.e.model(), doc(block('verbatim', 0, 'code'), block('para', 0, 'text')));
  });

  test('in a table Tab goes to the next cell and adds a row after the last one; Shift+Tab goes back', async () => {
    await s.e.run(doc(block('row', 1, 'a'), block('col', 2, 'b'), para('after')), [0, 0, 1], 'insertTab');
    assert.deepEqual(await s.e.caretAt(), [1, 0, 0]);
    await s.e.call('insertTab');
    assert.deepEqual(await s.e.model(), doc(block('row', 1, 'a'), block('col', 2, 'b'), ['row', { level: 1 }], ['col', { level: 2 }], para('after')));
    assert.deepEqual(await s.e.caretAt(), [2, 0, 0]);
    await s.e.call('insertBacktab');
    assert.deepEqual(await s.e.caretAt(), [1, 0, 0]);
    await s.e.steps([0, 0, 0], 'insertBacktab');
    assert.deepEqual(await s.e.caretAt(), [0, 0, 0]);
  });

  test('elsewhere Tab indents up to the type\'s limit and Shift+Tab unindents; a bulleted item at its lowest level becomes plain', async () => {
    await s.e.run(doc(block('heading', -2, 'h'), block('bulleted', 0, 'b'), block('numbered', 0, 'n')), [0, 0, 0], 'insertTab', 'insertTab');
    assert.deepEqual(await s.e.model(), doc(block('heading', -1, 'h'), block('bulleted', 0, 'b'), block('numbered', 0, 'n')));
    assert.deepEqual(await s.e.steps([[1, 0, 0], [2, 0, 1]], 'insertBacktab'), doc(block('heading', -1, 'h'), para('b'), block('numbered', 0, 'n')));
  });

  test('Tab in Final makes a paragraph and indents it', async () => {
    assert.deepEqual(await s.e.run(doc(para('a')), [1, 0, 0], 'insertTab'), doc(para('a'), ['para', { level: 1 }]));
  });
});
