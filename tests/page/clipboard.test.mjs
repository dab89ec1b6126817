import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const copied = async () => JSON.parse(await s.e.call('copy'));

describe('copy', () => {
  const rtl = ['para', { level: 0, direction: 'rtl' }, ['plain', 'two']];
  for (const [name, model, at, expected] of [
    ['a caret in the middle of a heading copies the rest of the heading, as a heading',
      doc(block('heading', -2, 'Chapter one'), para('x')), [0, 0, 8], doc(block('heading', -2, 'one'))],
    ['a selection inside one paragraph is a fragment with its styles', doc(block('quote', 1, 'ab', ['strong', 'cd'], 'ef')),
      [[0, 0, 1], [0, 2, 1]], ['inline', para('b', ['strong', 'cd'], 'e')]],
    ['a selection across blocks copies the tail, the middle and the head with their types',
      doc(block('bulleted', 1, 'one'), rtl, block('verbatim', 0, 'a', ['break', '\n'], 'b')), [[0, 0, 1], [2, 2, 0]],
      doc(block('bulleted', 1, 'ne'), rtl, block('verbatim', 0, 'a'))],
    ['a selected image copies the image paragraph',
      doc(para('a'), block('image', 0, ['url', 'p.png'])), [1, 0, 0], doc(block('image', 0, ['url', 'p.png']))],
  ]) {
    test(name, async () => {
      await s.e.load(model, at);
      assert.deepEqual(await copied(), expected);
      assert.deepEqual(await s.e.model(), model);
      assert.deepEqual(await s.e.hostCalls(), []);
    });
  }

  test('a caret in an empty paragraph, in Final or at the end of a block copies nothing', async () => {
    await s.e.load(doc(para('abc'), para('')));
    for (const at of [[1, 0, 0], [2, 0, 0], [0, 0, 3]]) {
      await s.e.caret(...at);
      assert.equal(await s.e.call('copy'), null, String(at));
    }
  });
});

describe('cut', () => {
  const img = block('image', 0, ['url', 'p.png']);
  for (const [name, model, at, returned, expected] of [
    ['with a caret in text nothing happens and no snapshot is taken', doc(para('abc')), [0, 0, 1], null, doc(para('abc'))],
    ['a selected image is removed and returned', doc(para('a'), img, para('b')), [1, 0, 0],
      '["text",["image",{"level":0},["url","p.png"]]]', doc(para('a'), para('b'))],
    ['a selection ending on an image leaves the image whole', doc(para('abc'), img, para('z')), [[0, 0, 1], [1, 0, 0]],
      '["text",["para",{"level":0},["plain","bc"]]]', doc(para('a'), img, para('z'))],
  ]) {
    test(name, async () => {
      await s.e.load(model, at);
      assert.equal(await s.e.call('cut'), returned);
      assert.deepEqual(await s.e.model(), expected);
      if (returned === null) assert.deepEqual(await s.e.hostCalls(), []);
    });
  }
});

describe('paste', () => {
  const inline = (...spans) => ['inline', para(...spans)];
  const img = block('image', 0, ['url', 'p.png']);
  const cases = [
    ['a fragment goes into the paragraph at the caret, caret after it',
      doc(para('ac')), [0, 0, 1], inline(['strong', 'B'], 'b'), doc(para('a', ['strong', 'B'], 'bc')), [0, 2, 1]],
    ['a two-paragraph text in the middle of a paragraph splits it', doc(block('bulleted', 0, 'first   second')), [0, 0, 5],
      doc(para('P1'), block('heading', -3, 'P2')),
      doc(block('bulleted', 0, 'first'), para('P1'), block('heading', -3, 'P2'), block('bulleted', 0, 'second')), [2, 0, 2]],
    ['at the start of a paragraph the pasted blocks go before it',
      doc(para('  text')), [0, 0, 0], doc(para('new')), doc(para('new'), para('text'))],
    ['in an empty paragraph the pasted blocks take its place', doc(para('a'), para(''), para('b')), [1, 0, 0],
      doc(block('quote', 0, 'q1'), block('quote', 0, 'q2')), doc(para('a'), block('quote', 0, 'q1'), block('quote', 0, 'q2'), para('b')), [2, 0, 2]],
    ['a table pastes as one plain paragraph per former cell', doc(para('')), [0, 0, 0],
      doc(block('row', 1, 'a'), block('col', 2, 'b'), block('row', 1, 'c')), doc(para('a'), para('b'), para('c'))],
    ['in a table cell only the first paragraph\'s text goes in, inline', doc(block('row', 1, 'xy'), block('col', 2, 'z')), [0, 0, 1],
      doc(block('heading', -3, ['emph', 'H']), para('ignored')), doc(block('row', 1, 'x', ['emph', 'H'], 'y'), block('col', 2, 'z'))],
    ['pasting into a code block keeps it free of character styles', doc(block('verbatim', 0, 'ab')), [0, 0, 1],
      inline(['strong', 'X'], ['break', '\n'], ['code', 'Y']), doc(block('verbatim', 0, 'aX', ['break', '\n'], 'Yb'))],
    ['pasting over a selection ending on an image leaves the image whole', doc(para('abc'), img), [[0, 0, 1], [1, 0, 0]],
      inline('X'), doc(para('aX'), img)],
    ['on a selected image the pasted text goes into a new paragraph before it',
      doc(img), [0, 0, 0], inline('cap'), doc(para('cap'), img)],
  ];
  for (const [name, model, at, pasted, expected, caret] of cases) {
    test(name, async () => {
      await s.e.load(model, at);
      await s.e.call('paste', JSON.stringify(pasted));
      assert.deepEqual(await s.e.model(), expected);
      if (caret) assert.deepEqual(await s.e.caretAt(), caret);
    });
  }

  test('at the end of the document the pasted blocks go before Final', async () => {
    await s.e.load(doc(para('a')), [1, 0, 0]);
    await s.e.call('paste', JSON.stringify(doc(para('b'), para('c'))));
    assert.deepEqual(await s.e.model(), doc(para('a'), para('b'), para('c')));
    assert.deepEqual(await s.e.blockClasses(), ['Plain Indent0', 'Plain Indent0', 'Plain Indent0', 'Final Indent0']);
  });

  test('bad input throws a clear error and changes nothing', async () => {
    await s.e.load(doc(para('keep')), [[0, 0, 0], [0, 0, 4]]);
    for (const bad of ['not json', '["html",["para",{}]]', '["text",["para"]]', '["text",["para",{},["plain"]]]']) {
      const message = await s.e.callError('paste', bad);
      assert.ok(message, bad);
    }
    assert.equal(await s.e.callError('paste', '["html"]'), 'ERR074');
    assert.deepEqual(await s.e.model(), doc(para('keep')));
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('an empty document or fragment pastes nothing', async () => {
    await s.e.load(doc(para('keep')), [0, 0, 2]);
    await s.e.call('paste', '["text"]');
    await s.e.call('paste', '["inline"]');
    assert.deepEqual(await s.e.model(), doc(para('keep')));
    assert.deepEqual(await s.e.hostCalls(), []);
  });
});

describe('copy then paste', () => {
  const mixed = doc(
    block('heading', -3, 'Title'),
    para('Some ', ['emph', 'word'], '.', ['noteref', '1'], ' and ', ['linktext', 'a link'], ['linkref', 'L']),
    block('note', 0, ['noteref', '1'], 'Note ', ['strong', 'text']),
    block('link', 0, ['linkref', 'L'], ['url', 'http://a.org']),
    block('bulleted', 1, 'deep item'),
    block('verbatim', 0, 'x', ['break', '\n'], ['break', '\n'], 'y'),
    block('image', 0, ['url', 'p.png']),
    block('comment', 2, 'remark'),
    ['quote', { level: 0, direction: 'rtl' }, ['plain', 'q']],
  );

  test('the whole document copied into an empty document comes back the same', async () => {
    await s.e.load(mixed, [[0, 0, 0], [9, 0, 0]]);
    const json = await s.e.call('copy');
    await s.e.load(doc(), [0, 0, 0]);
    await s.e.call('paste', json);
    assert.deepEqual(await s.e.model(), mixed);
  });

  test('whole paragraphs cut and pasted in the same place give the document back', async () => {
    await s.e.load(mixed, [[1, 0, 0], [4, 0, 0]]);
    const json = await s.e.call('cut');
    assert.equal((await s.e.model()).length, mixed.length - 3);
    await s.e.call('paste', json);
    assert.deepEqual(await s.e.model(), mixed);
  });

  test('a cut from mid-paragraph to mid-paragraph pastes back as split paragraphs', async () => {
    await s.e.load(doc(para('one two'), block('quote', 0, 'three four')), [[0, 0, 4], [1, 0, 5]]);
    await s.e.call('paste', await s.e.call('cut'));
    assert.deepEqual(await s.e.model(), doc(para('one '), para('two'), block('quote', 0, 'three'), para('four')));
  });
});

describe('selected text', () => {
  for (const [name, model, at, text] of [
    ['a fragment gives its text with labels and URLs', doc(para('see ', ['linktext', 'site'], ['linkref', '3'], ' now')),
      [[0, 0, 0], [0, 3, 4]], 'see site3 now'],
    ['blocks are joined with an empty line and end with a line feed', doc(para('one'), block('heading', -3, 'two'), para('three')),
      [[0, 0, 1], [2, 0, 2]], 'ne\n\ntwo\n\nth\n'],
  ]) {
    test(name, async () => {
      await s.e.load(model, at);
      assert.equal(await s.e.call('getSelectedText'), text);
    });
  }
});
