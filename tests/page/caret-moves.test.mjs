// The caret moves the page takes over from the browser: around images, line
// breaks, span borders and tables; the browser's own move is asked for (true)
// everywhere else.
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();
const img = (name) => block('image', 0, ['url', name]);
const row = (text) => block('row', 1, text);
const col = (text) => block('col', 2, text);

async function move(model, at, fn, focus) {
  await s.e.load(model);
  if (focus) await s.e.select(at, focus);
  else await s.e.caret(...at);
  const answer = await s.e.call(fn);
  return { answer, caret: await s.e.caretAt(), imageSelected: await s.e.eval(() => window.getSelection().toString() === '\u200B') };
}

describe('left and right', () => {
  test('inside a span the browser moves the caret', async () => {
    const r = await move(doc(para('abc')), [0, 0, 1], 'moveBackward');
    assert.deepEqual([r.answer, r.caret], [true, [0, 0, 1]]);
    assert.equal((await move(doc(para('abc')), [0, 0, 1], 'moveForward')).answer, true);
  });

  test('at a span border the caret steps one character into the neighbour', async () => {
    const model = doc(para('ab', ['emph', 'cd']));
    assert.deepEqual((await move(model, [0, 1, 0], 'moveBackward')).caret, [0, 0, 1]);
    assert.deepEqual((await move(model, [0, 0, 2], 'moveForward')).caret, [0, 1, 1]);
  });

  test('over a line break the caret goes to the other side of it', async () => {
    const model = doc(para('ab', ['break', '\n'], 'cd'));
    const back = await move(model, [0, 2, 0], 'moveBackward');
    assert.deepEqual([back.answer, back.caret], [false, [0, 0, 2]]);
    assert.deepEqual((await move(model, [0, 0, 2], 'moveForward')).caret, [0, 2, 0]);
  });

  test('at block edges the caret goes to the neighbouring block', async () => {
    const model = doc(para('ab'), para('cd'));
    assert.deepEqual((await move(model, [1, 0, 0], 'moveBackward')).caret, [0, 0, 2]);
    assert.deepEqual((await move(model, [0, 0, 2], 'moveForward')).caret, [1, 0, 0]);
    assert.deepEqual((await move(model, [0, 0, 0], 'moveBackward')).caret, [0, 0, 0]);
  });

  test('images are stepped over as one unit, selected on the way', async () => {
    const model = doc(para('ab'), img('i.png'), para('cd'));
    let r = await move(model, [0, 0, 2], 'moveForward');
    assert.deepEqual([r.answer, r.caret, r.imageSelected], [false, [1, 0, 0], true]);
    r = await move(model, [1, 0, 0], 'moveForward');
    assert.deepEqual([r.caret, r.imageSelected], [[2, 0, 0], false]);
    r = await move(model, [2, 0, 0], 'moveBackward');
    assert.deepEqual([r.caret, r.imageSelected], [[1, 0, 0], true]);
    r = await move(model, [1, 0, 0], 'moveBackward');
    assert.deepEqual([r.caret, r.imageSelected], [[0, 0, 2], false]);
  });

  test('a selection is left to the browser to collapse', async () => {
    assert.equal((await move(doc(para('abc')), [0, 0, 0], 'moveForward', [0, 0, 2])).answer, true);
    assert.equal((await move(doc(para('abc')), [0, 0, 0], 'moveBackward', [0, 0, 2])).answer, true);
  });
});

describe('up and down', () => {
  const table = doc(para('above'), row('a'), col('b'), row('c'), col('d'), para('below'));

  test('outside tables the browser moves the caret', async () => {
    assert.equal((await move(doc(para('a'), para('b')), [1, 0, 0], 'moveUp')).answer, true);
    assert.equal((await move(doc(para('a'), para('b')), [0, 0, 0], 'moveDown')).answer, true);
  });

  test('in a table the caret goes to the same column of the row above or below', async () => {
    let r = await move(table, [4, 0, 1], 'moveUp');
    assert.deepEqual([r.answer, r.caret], [false, [2, 0, 0]]);
    r = await move(table, [2, 0, 0], 'moveDown');
    assert.deepEqual([r.answer, r.caret], [false, [4, 0, 0]]);
  });

  test('from the first row up to the paragraph above, from the last row down to the one below', async () => {
    assert.deepEqual((await move(table, [2, 0, 1], 'moveUp')).caret, [0, 0, 0]);
    assert.deepEqual((await move(table, [3, 0, 1], 'moveDown')).caret, [5, 0, 0]);
  });

  test('directly below a table up goes to the first cell of its last row', async () => {
    assert.deepEqual((await move(table, [5, 0, 3], 'moveUp')).caret, [3, 0, 0]);
  });

  test('in the first row of a table that opens the document nothing happens', async () => {
    const r = await move(doc(row('a'), col('b')), [1, 0, 0], 'moveUp');
    assert.deepEqual([r.answer, r.caret], [false, [1, 0, 0]]);
  });

  test('rows of different width give the nearest cell that exists', async () => {
    const uneven = doc(row('a'), row('b'), col('c'), col('d'));
    assert.deepEqual((await move(uneven, [3, 0, 0], 'moveUp')).caret, [0, 0, 0]);
    assert.deepEqual((await move(uneven, [0, 0, 0], 'moveDown')).caret, [1, 0, 0]);
  });
});

describe('paragraph starts and ends', () => {
  const model = doc(para('ab', ['emph', 'cd']), para('ef'));

  test('to the start of the paragraph, then to the start of the one before', async () => {
    let r = await move(model, [1, 0, 1], 'moveToBeginningOfParagraph');
    assert.deepEqual([r.answer, r.caret], [false, [1, 0, 0]]);
    await s.e.call('moveToBeginningOfParagraph');
    assert.deepEqual(await s.e.caretAt(), [0, 0, 0]);
    r = await move(model, [1, 0, 1], 'moveToBeginningOfParagraph', [0, 1, 1]);
    assert.deepEqual(r.caret, [0, 0, 0]);
  });

  test('to the end of the paragraph, then to the end of the next', async () => {
    let r = await move(model, [0, 0, 1], 'moveToEndOfParagraph');
    assert.deepEqual([r.answer, r.caret], [false, [0, 1, 2]]);
    await s.e.call('moveToEndOfParagraph');
    assert.deepEqual(await s.e.caretAt(), [1, 0, 2]);
    r = await move(model, [1, 0, 1], 'moveToEndOfParagraph', [0, 0, 1]);
    assert.deepEqual(r.caret, [0, 1, 2]);
  });

  test('moves take no snapshot', async () => {
    await move(model, [0, 0, 1], 'moveToEndOfParagraph');
    await s.e.call('moveForward');
    await s.e.call('moveUp');
    assert.deepEqual(await s.e.hostCalls(), []);
  });
});
