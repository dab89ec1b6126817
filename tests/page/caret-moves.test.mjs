import { describe, doc, para, img, row, col, BR, IMAGE, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
// Each row moves once from where it starts; true leaves the move to the browser.
const [left, right, up, down] = ['moveBackward', 'moveForward', 'moveUp', 'moveDown'].map((fn) => (e) => e.call(fn));
const abc = doc(para('abc'));
const spans = doc(para('ab', ['emph', 'cd']));
const broken = doc(para('ab', BR, 'cd'));
const two = doc(para('ab'), para('cd'));
const withImage = doc(para('ab'), img('i.png'), para('cd'));

describe('left and right', () => stepCases(s, [
  ['inside a span the browser moves the caret', abc, [[0, 0, 1]], true, [0, 0, 1], null, left],
  ['at a span border left steps one character into the neighbour', spans, [[0, 1, 0]], false, [0, 0, 1], null, left],
  ['at a span border right steps one character into the neighbour', spans, [[0, 0, 2]], false, [0, 1, 1], null, right],
  ['left over a line break goes to the other side of it', broken, [[0, 2, 0]], false, [0, 0, 2], null, left],
  ['right over a line break goes to the other side of it', broken, [[0, 0, 2]], false, [0, 2, 0], null, right],
  ['at the start of a block left goes to the end of the one before', two, [[1, 0, 0]], false, [0, 0, 2], null, left],
  ['at the start of the document left stays', two, [[0, 0, 0]], false, [0, 0, 0], null, left],
  ['right onto an image selects it', withImage, [[0, 0, 2]], false, IMAGE, null, right],
  ['right from a selected image goes past it', withImage, [[1, 0, 0]], false, [2, 0, 0], null, right],
  ['left onto an image selects it', withImage, [[2, 0, 0]], false, IMAGE, null, left],
  ['a selection is left to the browser to collapse', abc, [[[0, 0, 0], [0, 0, 2]]], true, null, null, right],
]));

const table = doc(para('above'), row('a'), col('b'), row('c'), col('d'), para('below'));
const uneven = doc(row('a'), row('b'), col('c'), col('d'));
describe('up and down', () => stepCases(s, [
  ['outside tables the browser moves the caret up', two, [[1, 0, 0]], true, null, null, up],
  ['in a table up goes to the same column of the row above', table, [[4, 0, 1]], false, [2, 0, 0], null, up],
  ['from the first row up goes to the paragraph above', table, [[2, 0, 1]], false, [0, 0, 0], null, up],
  ['from the last row down goes to the paragraph below', table, [[3, 0, 1]], false, [5, 0, 0], null, down],
  ['directly below a table up goes to the first cell of its last row', table, [[5, 0, 3]], false, [3, 0, 0], null, up],
  ['in the first row of a table that opens the document nothing happens', doc(row('a'), col('b')), [[1, 0, 0]], false, [1, 0, 0], null, up],
  ['up into a narrower row gives the nearest cell that exists', uneven, [[3, 0, 0]], false, [0, 0, 0], null, up],
  ['down into a narrower row gives the nearest cell that exists', uneven, [[0, 0, 0]], false, [1, 0, 0], null, down],
]));

const twoParas = doc(para('ab', ['emph', 'cd']), para('ef'));
describe('paragraph starts and ends, without an undo snapshot', () => stepCases(s, [
  ['to the start of the paragraph', twoParas, [[1, 0, 1], 'moveToBeginningOfParagraph'], twoParas, [1, 0, 0], []],
  ['from its start to the start of the one before', twoParas, [[1, 0, 0], 'moveToBeginningOfParagraph'], twoParas, [0, 0, 0], []],
  ['from a selection to its start', twoParas, [[[1, 0, 1], [0, 1, 1]], 'moveToBeginningOfParagraph'], twoParas, [0, 0, 0], []],
  ['to the end of the paragraph', twoParas, [[0, 0, 1], 'moveToEndOfParagraph'], twoParas, [0, 1, 2], []],
  ['from its end to the end of the one after', twoParas, [[0, 1, 2], 'moveToEndOfParagraph'], twoParas, [1, 0, 2], []],
  // Typing there and taking it back leaves the document as it was, with no empty paragraph.
  ['to the end of the document\'s last paragraph, not below it', twoParas,
    [[0, 0, 0], 'moveToEndOfDocument', { text: 'x' }, 'deleteBackward'], twoParas, [1, 0, 2], ['done', 'done']],
]));
describe('to the end of the document the browser moves', () => stepCases(s, [
  ['below a closing picture', withImage.slice(0, 3), [[0, 0, 0]], true, null, null, (e) => e.call('moveToEndOfDocument')],
  ['in an empty document', doc(), [], true, null, null, (e) => e.call('moveToEndOfDocument')],
]));
