import { test, describe, assert, doc, para, img, row, col, BR, useEditor } from './harness.mjs';

const s = useEditor();

// Rows of [model, at, command, expected answer/caret/image selected]; the
// answer true leaves the move to the browser.
function moves(groups) {
  for (const [name, cases] of Object.entries(groups)) {
    test(name, async () => {
      for (const [model, at, fn, expected] of cases) {
        await s.e.load(model, at);
        const r = { answer: await s.e.call(fn), caret: await s.e.caretAt(), image: await s.e.imageSelected() };
        for (const key of Object.keys(expected)) assert.deepEqual(r[key], expected[key], `${fn} from ${JSON.stringify(at)}: ${key}`);
      }
    });
  }
}

const abc = doc(para('abc'));
const spans = doc(para('ab', ['emph', 'cd']));
const broken = doc(para('ab', BR, 'cd'));
const two = doc(para('ab'), para('cd'));
const withImage = doc(para('ab'), img('i.png'), para('cd'));

describe('left and right', () => moves({
  'inside a span the browser moves the caret': [[abc, [0, 0, 1], 'moveBackward', { answer: true, caret: [0, 0, 1] }]],
  'at a span border the caret steps one character into the neighbour': [
    [spans, [0, 1, 0], 'moveBackward', { caret: [0, 0, 1] }], [spans, [0, 0, 2], 'moveForward', { caret: [0, 1, 1] }]],
  'over a line break the caret goes to the other side of it': [
    [broken, [0, 2, 0], 'moveBackward', { answer: false, caret: [0, 0, 2] }], [broken, [0, 0, 2], 'moveForward', { caret: [0, 2, 0] }]],
  'at block edges the caret goes to the neighbouring block': [
    [two, [1, 0, 0], 'moveBackward', { caret: [0, 0, 2] }], [two, [0, 0, 0], 'moveBackward', { caret: [0, 0, 0] }]],
  'images are stepped over as one unit, selected on the way': [
    [withImage, [0, 0, 2], 'moveForward', { answer: false, caret: [1, 0, 0], image: true }],
    [withImage, [1, 0, 0], 'moveForward', { caret: [2, 0, 0], image: false }],
    [withImage, [2, 0, 0], 'moveBackward', { caret: [1, 0, 0], image: true }]],
  'a selection is left to the browser to collapse': [[abc, [[0, 0, 0], [0, 0, 2]], 'moveForward', { answer: true }]],
}));

const table = doc(para('above'), row('a'), col('b'), row('c'), col('d'), para('below'));
const uneven = doc(row('a'), row('b'), col('c'), col('d'));

describe('up and down', () => moves({
  'outside tables the browser moves the caret': [
    [two, [1, 0, 0], 'moveUp', { answer: true }], [two, [0, 0, 0], 'moveDown', { answer: true }]],
  'in a table the caret goes to the same column of the row above or below': [
    [table, [4, 0, 1], 'moveUp', { answer: false, caret: [2, 0, 0] }], [table, [2, 0, 0], 'moveDown', { answer: false, caret: [4, 0, 0] }]],
  'from the first row up to the paragraph above, from the last row down to the one below': [
    [table, [2, 0, 1], 'moveUp', { caret: [0, 0, 0] }], [table, [3, 0, 1], 'moveDown', { caret: [5, 0, 0] }]],
  'directly below a table up goes to the first cell of its last row': [[table, [5, 0, 3], 'moveUp', { caret: [3, 0, 0] }]],
  'in the first row of a table that opens the document nothing happens': [
    [doc(row('a'), col('b')), [1, 0, 0], 'moveUp', { answer: false, caret: [1, 0, 0] }]],
  'rows of different width give the nearest cell that exists': [
    [uneven, [3, 0, 0], 'moveUp', { caret: [0, 0, 0] }], [uneven, [0, 0, 0], 'moveDown', { caret: [1, 0, 0] }]],
}));

const twoParas = doc(para('ab', ['emph', 'cd']), para('ef'));
describe('paragraph starts and ends', () => moves({
  'to the start of the paragraph, then of the one before; from a selection its start': [
    [twoParas, [1, 0, 1], 'moveToBeginningOfParagraph', { answer: false, caret: [1, 0, 0] }],
    [twoParas, [1, 0, 0], 'moveToBeginningOfParagraph', { caret: [0, 0, 0] }],
    [twoParas, [[1, 0, 1], [0, 1, 1]], 'moveToBeginningOfParagraph', { caret: [0, 0, 0] }]],
  'to the end of the paragraph, then of the one after; from a selection its end': [
    [twoParas, [0, 0, 1], 'moveToEndOfParagraph', { answer: false, caret: [0, 1, 2] }],
    [twoParas, [0, 1, 2], 'moveToEndOfParagraph', { caret: [1, 0, 2] }],
    [twoParas, [[1, 0, 1], [0, 0, 1]], 'moveToEndOfParagraph', { caret: [0, 1, 2] }]],
}));

test('moving to a paragraph start or end takes no undo snapshot', async () => {
  await s.e.run(twoParas, [1, 0, 1], 'moveToBeginningOfParagraph', 'moveToBeginningOfParagraph', 'moveToEndOfParagraph');
  assert.deepEqual(await s.e.hostCalls(), []);
});
