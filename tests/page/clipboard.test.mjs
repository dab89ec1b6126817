import { test, describe, assert, doc, para, block, empty, img, row, col, BR, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const inline = (...spans) => ['inline', para(...spans)];
const rtl = ['para', { level: 0, direction: 'rtl' }, ['plain', 'two']];
const paste = (json) => ['paste', JSON.stringify(json)];
const copied = async (e) => {
  const before = await e.model();
  const json = JSON.parse(await e.call('copy'));
  assert.deepEqual(await e.model(), before, 'copying changes nothing');
  return json;
};
const cut = async (e) => [JSON.parse(await e.call('cut')), await e.model()];

describe('copy', () => stepCases(s, [
  ['a caret in the middle of a heading copies the rest of the heading, as a heading', doc(block('heading', -2, 'Chapter one'), para('x')),
    [[0, 0, 8]], doc(block('heading', -2, 'one')), null, []],
  ['a selection inside one paragraph is a fragment with its styles', doc(block('quote', 1, 'ab', ['strong', 'cd'], 'ef')),
    [[[0, 0, 1], [0, 2, 1]]], inline('b', ['strong', 'cd'], 'e'), null, []],
  ['a selection across blocks copies the tail, the middle and the head with their types',
    doc(block('bulleted', 1, 'one'), rtl, block('verbatim', 0, 'a', BR, 'b')), [[[0, 0, 1], [2, 2, 0]]],
    doc(block('bulleted', 1, 'ne'), rtl, block('verbatim', 0, 'a')), null, []],
  ['text in two styles keeps both', doc(para(['strongemph', 'ab'], ['strongcode', 'cd'])), [[[0, 0, 1], [0, 1, 1]]],
    inline(['strongemph', 'b'], ['strongcode', 'c']), null, []],
  ['a selected image copies the image paragraph', doc(para('a'), img('p.png')), [[1, 0, 0]], doc(img('p.png')), null, []],
  ['a caret at the end of a block copies nothing', doc(para('abc'), para('d')), [[0, 0, 3]], null],
], copied));

describe('cut', () => stepCases(s, [
  ['with a caret in text nothing happens and no snapshot is taken', doc(para('abc')), [[0, 0, 1]], [null, doc(para('abc'))], null, []],
  ['a selected image is removed and returned', doc(para('a'), img('p.png'), para('b')), [[1, 0, 0]], [doc(img('p.png')), doc(para('a'), para('b'))]],
  ['a selection ending on an image leaves the image whole', doc(para('abc'), img('p.png'), para('z')), [[[0, 0, 1], [1, 0, 0]]],
    [doc(para('bc')), doc(para('a'), img('p.png'), para('z'))]],
], cut));

describe('paste', () => stepCases(s, [
  ['a fragment goes into the paragraph at the caret, caret after it', doc(para('ac')), [[0, 0, 1], paste(inline(['strong', 'B'], 'b'))],
    doc(para('a', ['strong', 'B'], 'bc')), [0, 2, 1]],
  ['a two-paragraph text in the middle of a paragraph splits it', doc(block('bulleted', 0, 'first   second')),
    [[0, 0, 5], paste(doc(para('P1'), block('heading', -3, 'P2')))],
    doc(block('bulleted', 0, 'first'), para('P1'), block('heading', -3, 'P2'), block('bulleted', 0, 'second')), [2, 0, 2]],
  ['at the start of a paragraph the pasted blocks go before it', doc(para('  text')), [[0, 0, 0], paste(doc(para('new')))],
    doc(para('new'), para('text'))],
  ['in an empty paragraph the pasted blocks take its place', doc(para('a'), para(''), para('b')),
    [[1, 0, 0], paste(doc(block('quote', 0, 'q1'), block('quote', 0, 'q2')))],
    doc(para('a'), block('quote', 0, 'q1'), block('quote', 0, 'q2'), para('b')), [2, 0, 2]],
  ['at the end of the document the pasted blocks go before Final', doc(para('a')), [[1, 0, 0], paste(doc(para('b'), para('c')))],
    ['Plain Indent0', 'Plain Indent0', 'Plain Indent0', 'Final Indent0'], [2, 0, 1], null, (e) => e.blockClasses()],
  ['a table pastes as one plain paragraph per former cell', doc(para('')), [[0, 0, 0], paste(doc(row('a'), col('b'), row('c')))],
    doc(para('a'), para('b'), para('c'))],
  ['in a table cell only the first paragraph\'s text goes in, inline', doc(row('xy'), col('z')),
    [[0, 0, 1], paste(doc(block('heading', -3, ['emph', 'H']), para('ignored')))], doc(block('row', 1, 'x', ['emph', 'H'], 'y'), col('z'))],
  ['pasting into a code block keeps it free of character styles', doc(block('verbatim', 0, 'ab')),
    [[0, 0, 1], paste(inline(['strong', 'X'], BR, ['code', 'Y']))], doc(block('verbatim', 0, 'aX', BR, 'Yb'))],
  ['pasting over a selection ending on an image leaves the image whole', doc(para('abc'), img('p.png')),
    [[[0, 0, 1], [1, 0, 0]], paste(inline('X'))], doc(para('aX'), img('p.png'))],
  ['on a selected image the pasted text goes into a new paragraph before it', doc(img('p.png')), [[0, 0, 0], paste(inline('cap'))],
    doc(para('cap'), img('p.png'))],
  ['an empty document or fragment pastes nothing', doc(para('keep')), [[[0, 0, 0], [0, 0, 4]], ['paste', '["text"]'], ['paste', '["inline"]']],
    doc(para('keep')), null, []],
]));

test('pasting bad input throws and changes nothing', async () => {
  await s.e.load(doc(para('keep')), [[0, 0, 0], [0, 0, 4]]);
  for (const bad of ['not json', '["html"]', '["text",["para",{},["plain"]]]']) {
    assert.ok(await s.e.callError('paste', bad), bad);
  }
  assert.deepEqual(await s.e.model(), doc(para('keep')));
  assert.deepEqual(await s.e.hostCalls(), []);
});

describe('copy or cut, then paste', () => {
  const mixed = doc(block('heading', -3, 'Title'),
    para('Some ', ['emph', 'word'], '.', ['noteref', '1'], ' and ', ['linktext', 'a link'], ['linkref', 'L']),
    block('note', 0, ['noteref', '1'], 'Note ', ['strong', 'text']), block('link', 0, ['linkref', 'L'], ['url', 'http://a.org']),
    block('bulleted', 1, 'deep item'), block('verbatim', 0, 'x', BR, BR, 'y'), img('p.png'), block('comment', 2, 'remark'),
    ['quote', { level: 0, direction: 'rtl' }, ['plain', 'q']]);
  for (const [name, model, at, take, into, expected] of [
    ['the whole document copied into an empty document comes back the same', mixed, [[0, 0, 0], [9, 0, 0]], 'copy', doc(), mixed],
    ['whole paragraphs cut and pasted in the same place give the document back', mixed, [[1, 0, 0], [4, 0, 0]], 'cut', null, mixed],
    ['a cut from mid-paragraph to mid-paragraph pastes back as split paragraphs', doc(para('one two'), block('quote', 0, 'three four')),
      [[0, 0, 4], [1, 0, 5]], 'cut', null, doc(para('one '), para('two'), block('quote', 0, 'three'), para('four'))],
  ]) {
    test(name, async () => {
      await s.e.load(model, at);
      const json = await s.e.call(take);
      if (into) await s.e.load(into, [0, 0, 0]);
      assert.deepEqual(await s.e.steps(['paste', json]), expected);
    });
  }
});

describe('selected text', () => stepCases(s, [
  ['a fragment gives its text with labels and URLs inline', doc(para('see ', ['linktext', 'site'], ['linkref', '3'], ' now')),
    [[[0, 0, 0], [0, 3, 4]]], 'see site3 now'],
  ['blocks are joined by an empty line and end with a line feed', doc(para('one'), block('heading', -3, 'two'), para('three')),
    [[[0, 0, 1], [2, 0, 2]]], 'ne\n\ntwo\n\nth\n'],
], (e) => e.call('getSelectedText')));

test('the browser\'s own paste, cut, undo and drop leave the document as it was and the host uncalled', async () => {
  const model = doc(para('one two'), para('three'));
  await s.e.eval(() => {
    const source = document.body.appendChild(document.createElement('div'));
    source.innerHTML = '<h1 style="color:red">Raw</h1><div><b>heading</b></div>';
    window.getSelection().selectAllChildren(source);
  });
  await s.e.page.keyboard.press('Control+C');
  await s.e.eval(() => document.body.lastChild.remove());
  await s.e.load(model);
  await s.e.page.focus('#doc');
  await s.e.select([0, 0, 1], [0, 0, 3]);
  for (const key of ['Control+V', 'Shift+Insert', 'Control+X', 'Control+Z']) {
    await s.e.page.keyboard.press(key);
    assert.deepEqual(await s.e.model(), model, key);
  }
  const cdp = await s.e.page.context().newCDPSession(s.e.page);
  const box = await s.e.page.locator('#doc').boundingBox();
  const data = { items: [{ mimeType: 'text/html', data: '<h1>Dropped</h1>' }, { mimeType: 'text/plain', data: 'Dropped' }], dragOperationsMask: 1 };
  for (const type of ['dragEnter', 'dragOver', 'drop']) await cdp.send('Input.dispatchDragEvent', { type, x: box.x + 20, y: box.y + 10, data });
  assert.deepEqual(await s.e.model(), model, 'drop');
  assert.deepEqual(await s.e.hostCalls(), []);
});
