import { test, describe, assert, doc, para, block, empty, img, row, col, BR, typed, selected, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const verbatim = (...spans) => block('verbatim', 0, ...spans);

describe('typing', () => stepCases(s, [
  ['typing over a selection replaces it and takes the style of its first character', doc(para('ab', ['strong', 'cd'], 'ef'), para('gh')),
    [[[0, 1, 1], [1, 0, 1]], typed('Z')], doc(para('ab', ['strong', 'cZ'], 'h'))],
  ['typing over a selection that starts on an image gives plain text where the image was',
    doc(img('x.png'), para('ab')), [[[0, 0, 0], [1, 0, 1]], typed('Q')], doc(para('Qab'))],
  ['typing in the Final block or on an image starts a new paragraph before it', doc(para('a'), img('x.png')),
    [[2, 0, 0], typed('end'), [1, 0, 0], typed('pic')], doc(para('a'), para('pic'), img('x.png'), para('end'))],
  ['typed text at span edges and after astral characters lands in order, the caret after it', doc(para('😀', ['emph', 'x'], '😀')),
    [[0, 1, 0], typed('cd'), [0, 2, 2], typed('😀e')], doc(para('😀', ['emph', 'cdx'], '😀😀e')), [0, 2, 5]],
]));

test('a composition takes a snapshot first and is committed by the browser into the span', async () => {
  await s.e.load(doc(para('ab', ['emph', 'cd'])), [0, 1, 1]);
  const cdp = await s.e.page.context().newCDPSession(s.e.page);
  await cdp.send('Input.imeSetComposition', { text: 'に', selectionStart: 1, selectionEnd: 1 });
  await cdp.send('Input.insertText', { text: '日本' });
  await cdp.detach();
  assert.deepEqual(await s.e.model(), doc(para('ab', ['emph', 'c日本d'])));
  assert.deepEqual(await s.e.hostCalls(), ['done']);
  assert.deepEqual(await s.e.steps('undo'), doc(para('ab', ['emph', 'cd'])));
});

describe('autoformat on space', () => stepCases(s, [
  ...[['-', 0, 'bulleted', 0], ['1.', 0, 'numbered', 0], ['#', 0, 'heading', -3], ['###', 2, 'heading', -1], ['-', 5, 'bulleted', 4],
    ['######', 0, 'heading', 2]]
    .map(([marker, level, tag, modelLevel]) => [`"${marker} " at the start of a level-${level} paragraph makes ${tag} ${modelLevel}`,
      doc(empty('para', level)), [[0, 0, 0], typed(marker + ' text')], doc(block(tag, modelLevel, 'text'))]),
  ['no autoformat in a heading', doc(block('heading', -3, '1.')), [[0, 0, 2], typed(' ')], doc(block('heading', -3, '1. '))],
  ['no autoformat after more text', doc(para('x-')), [[0, 0, 2], typed(' ')], doc(para('x- '))],
  ['no autoformat with styled spans around', doc(para(['emph', 'a'], '#')), [[0, 1, 1], typed(' ')], doc(para(['emph', 'a'], '# '))],
  ['undo gives back the marker as typed, with its space', doc(empty('para')), [[0, 0, 0], typed('# '), 'undo'], doc(para('# ')), [0, 0, 2]],
]));

const rtl = (...spans) => ['para', { level: 2, direction: 'rtl' }, ...spans];
const table = doc(row('a'), col('b'));
const enter = (at) => [at, 'insertNewline'];
describe('Enter', () => stepCases(s, [
  ['in the middle of a paragraph it splits it, heading stays heading', doc(block('heading', -2, 'ab', ['emph', 'cd'])), enter([0, 1, 1]),
    doc(block('heading', -2, 'ab', ['emph', 'c']), block('heading', -2, ['emph', 'd'])), [1, 0, 0]],
  ['at the end of a level-2 plain paragraph the new one is at level 2, with its direction', doc(rtl(['plain', 'x'])), enter([0, 0, 1]),
    doc(rtl(['plain', 'x']), rtl()), [1, 0, 0]],
  ['after a list item comes a new item of the same kind and level', doc(block('numbered', 2, 'n')), enter([0, 0, 1]),
    doc(block('numbered', 2, 'n'), empty('numbered', 2))],
  ['after a heading or a quotation comes a level-0 plain paragraph',
    doc(block('heading', -3, 'h'), block('quote', 1, 'q')),
    [...enter([0, 0, 1]), ...enter([2, 0, 1])],
    doc(block('heading', -3, 'h'), empty('para'), block('quote', 1, 'q'), empty('para'))],
  ['on an empty bulleted item it ends the list and inserts nothing', doc(block('bulleted', 1, 'a'), empty('bulleted', 1)), enter([1, 0, 0]),
    doc(block('bulleted', 1, 'a'), empty('para')), [1, 0, 0]],
  ['at the very start of a list item the empty item goes above', doc(block('bulleted', 1, 'item')), enter([0, 0, 0]),
    doc(empty('bulleted', 1), block('bulleted', 1, 'item')), [1, 0, 0]],
  ...(() => {
    const item = (attributes, text) => ['numbered', { level: 0, spacing: 'loose', ...attributes }, ...(text ? [['plain', text]] : [])];
    const steps = [...enter([0, 0, 1]), ...enter([0, 0, 0]), ...enter([2, 0, 1])];
    return [
      ['in a loose list new items are loose and the first item keeps the start number', doc(item({ start: '3' }, 'ab')), steps,
        doc(item({ start: '3' }), item({}, 'a'), item({}, 'b'), item({}))],
      ['undo joins a split loose item again with its attributes', doc(item({ start: '3' }, 'ab')), [...enter([0, 0, 1]), 'undo'],
        doc(item({ start: '3' }, 'ab'))],
      ['a new item of a list in quotations stands in them, above it too', doc(['bulleted', { level: 0, quote: '2' }, ['plain', 'ab']]),
        [...enter([0, 0, 1]), ...enter([0, 0, 0])],
        doc(['bulleted', { level: 0, quote: '2' }], ['bulleted', { level: 0, quote: '2' }, ['plain', 'a']], ['bulleted', { level: 0, quote: '2' }, ['plain', 'b']])],
    ];
  })(),
  ['at the very start of another paragraph an empty plain one goes above', doc(block('quote', 0, 'q')), enter([0, 0, 0]),
    doc(empty('para'), block('quote', 0, 'q'))],
  ['in Final it adds an empty paragraph and the caret stays below it', doc(para('a')), enter([1, 0, 0]), doc(para('a'), empty('para')), [2, 0, 0]],
  ['in a code block it inserts a line break', doc(verbatim('ab')), enter([0, 0, 1]), doc(verbatim('a', BR, 'b'))],
  ['on an image a paragraph after it', doc(img('i.png')), enter([0, 0, 0]), doc(img('i.png'), empty('para')), [1, 0, 0]],
  ['at the start of a table that opens the document a paragraph goes before it', table, enter([0, 0, 0]),
    doc(empty('para'), row('a'), col('b')), [1, 0, 0]],
  ['elsewhere in a table nothing happens', table, enter([1, 0, 0]), table],
  ['with a selection it deletes the selection first', doc(para('abcd'), para('efgh')), enter([[0, 0, 2], [1, 0, 2]]), doc(para('ab'), para('gh'))],
]));

describe('Shift+Enter', () => stepCases(s, [
  ['between a bold and a plain span the caret ends before the plain text', doc(para(['strong', 'bold'], 'plain')),
    [[0, 0, 4], 'insertLineBreak', typed('X')], doc(para(['strong', 'bold'], BR, 'Xplain'))],
  ['at the end of a paragraph an empty plain span keeps each break inside', doc(para('a')),
    [[0, 0, 1], 'insertLineBreak', 'insertLineBreak', typed('b')], doc(para('a', BR, BR, 'b'))],
  ['at the start of a paragraph the break goes first', doc(para('a')), [[0, 0, 0], 'insertLineBreak'], doc(para(BR, 'a')), [0, 2, 0]],
  ['in a table cell or on an image nothing happens', doc(row('a'), img('i.png')),
    [[0, 0, 1], 'insertLineBreak', [1, 0, 0], 'insertLineBreak'], doc(row('a'), img('i.png'))],
  ['in a code block a new paragraph of code', doc(verbatim('ab')), [[0, 0, 1], 'insertLineBreak'], doc(verbatim('a'), verbatim('b'))],
  ['in Final it first makes a paragraph', doc(para('a')), [[1, 0, 0], 'insertLineBreak'], doc(para('a'), para(BR))],
]));

const lines = (...texts) => verbatim(...texts.flatMap((t, i) => (i ? [BR, t] : [t])));
describe('Tab and Shift+Tab', () => stepCases(s, [
  ['in a code block Tab indents only the selected lines, which stay selected, and takes no undo step',
    doc(lines('one', 'two', 'three')), [[[0, 0, 1], [0, 2, 2]], 'insertTab'], doc(lines('    one', '    two', 'three')),
    selected([0, 0, 5], [0, 2, 6]), []],
  ['in a code block Shift+Tab unindents the selected lines and goes no further, and takes no undo step',
    doc(lines('    one', '    two', 'three')), [[[0, 0, 2], [0, 2, 6]], 'insertBacktab', 'insertBacktab'], doc(lines('one', 'two', 'three')),
    selected([0, 0, 0], [0, 2, 2]), []],
  ['in a code block Shift+Tab with a caret takes out up to the caret\'s spaces', doc(verbatim('  x  y')), [[0, 0, 4], 'insertBacktab'],
    doc(verbatim('x  y')), [0, 0, 2]],
  ['a selection spanning a code block and a paragraph raises the level of both', doc(verbatim('code'), para('text')),
    [[[0, 0, 1], [1, 0, 1]], 'insertTab'], doc(block('verbatim', 1, 'code'), block('para', 1, 'text'))],
  ['in a table Tab goes to the next cell', doc(row('a'), col('b'), para('after')), [[0, 0, 1], 'insertTab'],
    doc(row('a'), col('b'), para('after')), [1, 0, 0]],
  ['Tab in the last cell adds a row', doc(row('a'), col('b'), para('after')), [[1, 0, 0], 'insertTab'],
    doc(row('a'), col('b'), empty('row', 1), empty('col', 2), para('after')), [2, 0, 0]],
  ['Shift+Tab goes to the cell before, and stays in the first', doc(row('a'), col('b')), [[1, 0, 0], 'insertBacktab', 'insertBacktab'],
    doc(row('a'), col('b')), [0, 0, 0]],
  ['Tab in Final makes a paragraph and indents it', doc(para('a')), [[1, 0, 0], 'insertTab'], doc(para('a'), empty('para', 1))],
]));
