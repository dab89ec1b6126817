import { describe, doc, para, block, empty, img, row, col, BR, typed, IMAGE, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const tableAround = doc(para('a'), row('x'), col('y'), para('b'));
describe('Backspace', () => stepCases(s, [
  ['on an image removes it; the caret goes to the block that followed',
    doc(para('a'), img('i.png'), para('b')), [[1, 0, 0], 'deleteBackward'], doc(para('a'), para('b')), [1, 0, 0]],
  ['with a selection deletes it and joins the ends',
    doc(para('abc'), block('heading', -3, 'def')), [[[0, 0, 1], [1, 0, 2]], 'deleteBackward'], doc(para('af')), [0, 0, 1]],
  ['a selection from the start of one block to the start of another takes over the end block\'s type',
    doc(para('abc'), block('heading', -3, 'def')), [[[0, 0, 0], [1, 0, 0]], 'deleteBackward'], doc(block('heading', -3, 'def'))],
  ['inside text removes one character; an emptied span goes too', doc(para('ab', ['emph', 'c'], ['strong', 'x'])),
    [[0, 1, 1], 'deleteBackward'], doc(para('ab', ['strong', 'x']))],
  ['after a line break removes the break and merges the neighbours', doc(para('ab', BR, 'cd')), [[0, 2, 0], 'deleteBackward'],
    doc(para('abcd')), [0, 0, 2]],
  ['a character outside the basic plane is removed whole', doc(para('a😀')), [[0, 0, 3], 'deleteBackward'], doc(para('a'))],
  ['in Final the caret goes to the end of the last paragraph', doc(para('abc')), [[1, 0, 0], 'deleteBackward'], doc(para('abc')), [0, 0, 3]],
  ['otherwise the paragraph joins the one before, the caret where its text ended',
    doc(para('ab', ['emph', 'c']), block('quote', 0, ['emph', 'd'], 'e')), [[1, 0, 0], 'deleteBackward'],
    doc(para('ab', ['emph', 'cd'], 'e')), [0, 1, 1]],
  ['an empty paragraph before takes the type of the one joined into it',
    doc(empty('para'), block('heading', -2, 'h')), [[1, 0, 0], 'deleteBackward'], doc(block('heading', -3, 'h'))],
  ['joining paragraphs that end and begin with line breaks keeps the breaks apart',
    doc(para('a', BR), para(BR, 'b')), [[1, 0, 0], 'deleteBackward'], doc(para('a', BR, BR, 'b'))],
  ['after an image a paragraph with text is left and the caret goes onto the image',
    doc(img('i.png'), para('text')), [[1, 0, 0], 'deleteBackward'], doc(img('i.png'), para('text')), [0, 0, 0]],
  ['after an image an empty paragraph is removed and the image selected', doc(img('i.png'), empty('para')), [[1, 0, 0], 'deleteBackward'],
    doc(img('i.png')), IMAGE],
  ['after an image in Final the image stays', doc(img('i.png')), [[1, 0, 0], 'deleteBackward'], doc(img('i.png'))],
  ...[[1, 0, 0], [2, 0, 0], [3, 0, 0]].map((at) => [`at the start of a cell or of the paragraph after a table nothing happens: ${at}`,
    tableAround, [at, 'deleteBackward'], tableAround]),
  ['a numbered item becomes a plain paragraph at its level', doc(block('numbered', 2, 'n')), [[0, 0, 0], 'deleteBackward'],
    doc(block('para', 2, 'n'))],
  ['a level-3 plain paragraph goes to level 2', doc(para('x'), block('para', 3, 'y')), [[1, 0, 0], 'deleteBackward'],
    doc(para('x'), block('para', 2, 'y'))],
  ['undo of a level change restores it; the next undo shows no change', doc(para('x'), block('para', 3, 'y')),
    [[1, 0, 0], 'deleteBackward', 'undo', 'undo'], doc(para('x'), block('para', 3, 'y')), null, ['done', 'done', 'undone', 'undone']],
  ['at the start of the document an empty first block is removed', doc(empty('para'), para('b')), [[0, 0, 0], 'deleteBackward'],
    doc(para('b'))],
  ['at the start of the document a first block with text is kept', doc(block('heading', -3, 'h')), [[0, 0, 0], 'deleteBackward'],
    doc(block('heading', -3, 'h'))],
]));

describe('Delete', () => stepCases(s, [
  ['with the selection ending on an image removes the image',
    doc(para('a'), img('i.png'), para('b')), [[1, 0, 0], 'deleteForward'], doc(para('a'), para('b')), [1, 0, 0]],
  ['inside text removes the next character and its emptied span', doc(para('ab', ['emph', 'c'], 'de')),
    [[0, 0, 2], 'deleteForward'], doc(para('ab', 'de')), [0, 1, 0]],
  ['a second Delete there merges the spans the emptied one separated', doc(para('ab', ['emph', 'c'], 'de')),
    [[0, 0, 2], 'deleteForward', 'deleteForward'], doc(para('abe')), [0, 0, 2]],
  ['before a line break removes it', doc(para('ab', BR, 'cd')), [[0, 0, 2], 'deleteForward'], doc(para('abcd')), [0, 0, 2]],
  ['in Final nothing happens', doc(para('a')), [[1, 0, 0], 'deleteForward'], doc(para('a'))],
  ['before an image the image is only selected', doc(para('a'), img('i.png')), [[0, 0, 1], 'deleteForward'], doc(para('a'), img('i.png')), IMAGE],
  ...[[0, 0, 1], [1, 0, 1], [2, 0, 1]].map((at) => [`at the end of a cell or before a table nothing happens: ${at}`,
    tableAround, [at, 'deleteForward'], tableAround]),
  ['the last paragraph before Final is removed when empty', doc(para('a'), empty('para')), [[1, 0, 0], 'deleteForward'], doc(para('a'))],
  ['the last paragraph before Final is kept when it has text', doc(para('a')), [[0, 0, 1], 'deleteForward'], doc(para('a'))],
  ['otherwise the next paragraph joins this one and the caret keeps its offset',
    doc(block('bulleted', 0, 'ab'), block('heading', -3, 'cd')), [[0, 0, 2], 'deleteForward'], doc(block('bulleted', 0, 'abcd')), [0, 0, 2]],
]));

describe('the span a deletion empties', () => stepCases(s, [
  ['Backspace leaves the caret in the emptied styled span, so typing keeps its style', doc(para('ab', ['emph', 'c'], 'd')),
    [[0, 2, 0], 'deleteBackward', typed('E')], doc(para('ab', ['emph', 'E'], 'd'))],
  ['an empty span at the caret is dropped by Backspace', doc(para('a', ['emph', ''], 'b')), [[0, 0, 1], 'deleteBackward'], doc(para('b'))],
  ['a word deletion leaves its span empty rather than removing it', doc(para('one ', ['strong', 'two'])),
    [[0, 1, 3], 'deleteWordBackward', typed('X')], doc(para('one ', ['strong', 'X']))],
]));

describe('word deletion', () => stepCases(s, [
  ['Ctrl+Backspace after a word and two spaces deletes the word and both spaces, nothing before',
    doc(para('foo bar  ')), [[0, 0, 9], 'deleteWordBackward'], doc(para('foo ')), [0, 0, 4]],
  ['Ctrl+Delete after foo in "foo bar baz" deletes the space and bar',
    doc(para('foo bar baz')), [[0, 0, 3], 'deleteWordForward'], doc(para('foo baz')), [0, 0, 3]],
  ['Ctrl+Backspace at the start of a block acts as Backspace', doc(para('ab'), para('cd')), [[1, 0, 0], 'deleteWordBackward'], doc(para('abcd'))],
  ['Ctrl+Delete at the end of a block acts as Delete', doc(para('ab'), para('cd')), [[0, 0, 2], 'deleteWordForward'], doc(para('abcd'))],
  ['with a selection a word deletion deletes the selection', doc(para('ab cd')), [[[0, 0, 1], [0, 0, 4]], 'deleteWordBackward'], doc(para('ad'))],
  ['next to a line break Ctrl+Backspace removes the break', doc(para('ab', BR, 'cd')), [[0, 2, 0], 'deleteWordBackward'], doc(para('abcd'))],
  ['next to a line break Ctrl+Delete removes the break', doc(para('ab', BR, 'cd')), [[0, 0, 2], 'deleteWordForward'], doc(para('abcd'))],
]));

const table = doc(para('before text'), row('a1'), col('b1'), row('c2'), col('d2'), para('after text'));
const del = (at) => [at, 'deleteBackward'];
describe('deleting ranges', () => stepCases(s, [
  ['a range inside one cell deletes only text', doc(row('abcd'), col('x')), del([[0, 0, 1], [0, 0, 3]]), doc(row('ad'), col('x'))],
  ['a range ending on an image deletes the image whole instead of joining its address into the text',
    doc(para('abc'), img('i.png'), para('d')), del([[0, 0, 1], [1, 0, 0]]), doc(para('a'), para('d'))],
  ['deleting up to Final stops at the end of the last paragraph', doc(para('abc'), para('def')), del([[0, 0, 1], [2, 0, 0]]), doc(para('a'))],
  ['from a paragraph above into the second row: the first row goes, second-row cells before the end are cleared',
    table, del([[0, 0, 3], [4, 0, 1]]), doc(para('bef'), empty('row', 1), col('2'), para('after text')), [0, 0, 3]],
  ['from inside a cell to the paragraph below: cells after the start are cleared, nothing joins', table, del([[3, 0, 1], [5, 0, 5]]),
    doc(para('before text'), row('a1'), col('b1'), row('c'), empty('col', 2), para(' text')), [3, 0, 1]],
  ['a range covering whole rows removes them', table, del([[1, 0, 0], [3, 0, 0]]),
    doc(para('before text'), row('c2'), col('d2'), para('after text'))],
  ['from a paragraph above to one below the table goes and the paragraphs join', table, del([[0, 0, 6], [5, 0, 5]]), doc(para('before text'))],
  ['where a wider row then meets a narrower one, the narrower is widened with empty cells',
    doc(row('a'), col('b'), row('c'), col('d'), col('e'), row('f'), col('g'), col('h')), del([[2, 0, 0], [4, 0, 1]]),
    doc(row('a'), col('b'), empty('col', 2), row('f'), col('g'), col('h'))],
  ['where a narrower row then meets a wider one, the narrower is widened with empty cells',
    doc(row('a'), col('b'), col('c'), row('d'), col('e'), col('f'), row('g'), col('h')), del([[3, 0, 0], [5, 0, 1]]),
    doc(row('a'), col('b'), col('c'), row('g'), col('h'), empty('col', 2))],
]));
