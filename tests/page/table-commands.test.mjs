import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

function table(...rows) {
  const blocks = [];
  for (const row of rows) {
    row.forEach((text, c) => blocks.push(c === 0 ? block('row', 1, text) : block('col', 2, text)));
  }
  return blocks;
}

async function layout() {
  const model = await s.e.model();
  const out = [];
  let rows = null;
  for (const b of model.slice(1)) {
    const text = b.slice(2).map((s) => s[1]).join('');
    if (b[0] === 'row' || b[0] === 'col') {
      if (!rows) out.push(rows = []);
      if (b[0] === 'row') rows.push([]);
      rows[rows.length - 1].push(text);
    } else {
      rows = null;
      out.push(b[0] + ':' + text);
    }
  }
  return out;
}

const caretText = () => s.e.eval(() => {
  const p = editor.getSelection().start;
  return editor.getBlockSpans(p.block).map((s) => s.Text).join('');
});

const grid = (...rows) => doc(...table(...rows));
const cases = [
  ['a table in a non-empty paragraph comes after it', doc(para('a'), para('b')), [[0, 0, 1], 'insertTable'],
    ['para:a', [['', ''], ['', '']], 'para:b'], [1, 0, 0]],
  ['in an empty paragraph the table replaces it, caret in the first cell', doc(para('a'), para(), para('b')), [[1, 0, 0], 'insertTable'],
    ['para:a', [['', ''], ['', '']], 'para:b'], [1, 0, 0]],
  ['at the end of the document the table comes before Final', doc(para('a')), [[1, 0, 0], 'insertTable'],
    ['para:a', [['', ''], ['', '']]]],
  ['Insert Row Before on the second cell of a 3-column row', grid(['a', 'b', 'c'], ['d', 'e', 'f']),
    [[4, 0, 0], 'insertTableRowBefore'], [[['a', 'b', 'c'], ['', '', ''], ['d', 'e', 'f']]], [4, 0, 0]],
  ['Insert Row After puts the caret in the same column of the new row', doc(...table(['a', 'b'], ['c', 'd']), para('z')),
    [[1, 0, 1], 'insertTableRowAfter'], [[['a', 'b'], ['', ''], ['c', 'd']], 'para:z'], [3, 0, 0]],
  ['removing the row of a one-row table removes the table', doc(para('a'), ...table(['x', 'y']), para('after')),
    [[2, 0, 0], 'removeTableRow'], ['para:a', 'para:after'], 'after'],
  ['Insert Column After adds a cell after the column in every row', grid(['a', 'b'], ['c', 'd']),
    [[0, 0, 1], 'insertTableColumnAfter'], [[['a', '', 'b'], ['c', '', 'd']]], [1, 0, 0]],
  ['no column is added to a row of 8 cells', grid(['1', '2', '3', '4', '5', '6', '7', '8']),
    [[3, 0, 0], 'insertTableColumnBefore', 'insertTableColumnAfter'], [[['1', '2', '3', '4', '5', '6', '7', '8']]], null, []],
  ['Insert Column Before at the first column makes the new cells the rows\' first', grid(['a', 'b'], ['c', 'd']),
    [[2, 0, 0], 'insertTableColumnBefore'], [[['', 'a', 'b'], ['', 'c', 'd']]], [3, 0, 0]],
  ['removing the first column makes the next cell the row', grid(['a', 'b'], ['c', 'd']), [[0, 0, 0], 'removeTableColumn'], [[['b'], ['d']]]],
  ['removing the only column removes the table', doc(para('a'), ...table(['x'], ['y']), para('after')),
    [[2, 0, 0], 'removeTableColumn'], ['para:a', 'para:after'], 'after'],
  ['a column is appended to a row too short to have it, and every block stays in the table',
    doc(...table(['a', 'b', 'c'], ['d']), para('z')), [[2, 0, 0], 'insertTableColumnAfter'], [[['a', 'b', 'c', ''], ['d', '']], 'para:z']],
  ['removing a column that a short row lacks leaves that row alone', grid(['a', 'b', 'c'], ['d']),
    [[2, 0, 0], 'removeTableColumn'], [[['a', 'b'], ['d']]]],
  ['a row move takes the whole neighbouring row, whatever its width', grid(['a', 'b', 'c'], ['d']),
    [[3, 0, 0], 'shiftParagraphUp'], [[['d'], ['a', 'b', 'c']]], 'd'],
  ['row commands outside a table do nothing', doc(para('a')), [[0, 0, 0], 'insertTableRowBefore', 'insertTableRowAfter',
    'removeTableRow', 'insertTableColumnBefore', 'insertTableColumnAfter', 'removeTableColumn'], ['para:a'], null, []],
  ['a table is never put next to or inside another table, and no snapshot is taken then', doc(para('a'), ...table(['x']), para()),
    [[0, 0, 0], 'insertTable', [1, 0, 0], 'insertTable', [2, 0, 0], 'insertTable'], ['para:a', [['x']], 'para:'], null, []],
];
for (const [name, model, steps, expected, caret, hostCalls] of cases) {
  test(name, async () => {
    await s.e.run(model, ...steps);
    assert.deepEqual(await layout(), expected);
    if (Array.isArray(caret)) assert.deepEqual(await s.e.caretAt(), caret);
    else if (caret) assert.equal(await caretText(), caret);
    if (hostCalls) assert.deepEqual(await s.e.hostCalls(), hostCalls);
  });
}

describe('rows', () => {
  test('Remove Row goes to the same column of the next row, else the previous', async () => {
    await s.e.run(doc(...table(['a', 'b'], ['c', 'd'], ['e', 'f'])), [3, 0, 0], 'removeTableRow');
    assert.deepEqual(await layout(), [[['a', 'b'], ['e', 'f']]]);
    assert.equal(await caretText(), 'f');
    await s.e.call('removeTableRow');
    assert.deepEqual(await layout(), [[['a', 'b']]]);
    assert.equal(await caretText(), 'b');
  });

  test('Shift Up and Down move the row with the caret in its cell', async () => {
    await s.e.run(doc(...table(['a', 'b'], ['c', 'd'], ['e', 'f'])), [3, 0, 1], 'shiftParagraphUp');
    assert.deepEqual(await layout(), [[['c', 'd'], ['a', 'b'], ['e', 'f']]]);
    assert.equal(await caretText(), 'd');
    await s.e.steps('shiftParagraphDown', 'shiftParagraphDown');
    assert.deepEqual(await layout(), [[['a', 'b'], ['e', 'f'], ['c', 'd']]]);
    assert.equal(await caretText(), 'd');
    await s.e.call('shiftParagraphDown');
    assert.deepEqual(await layout(), [[['a', 'b'], ['e', 'f'], ['c', 'd']]]);
  });
});

describe('columns', () => {
  test('Remove Column goes to the cell that took its place, or the one before at the end', async () => {
    await s.e.run(doc(...table(['a', 'b', 'c'], ['d', 'e', 'f'])), [4, 0, 0], 'removeTableColumn');
    assert.deepEqual(await layout(), [[['a', 'c'], ['d', 'f']]]);
    assert.equal(await caretText(), 'f');
    await s.e.call('removeTableColumn');
    assert.deepEqual(await layout(), [[['a'], ['d']]]);
    assert.equal(await caretText(), 'd');
  });

  test('Shift Left and Right swap columns in every row and the caret follows', async () => {
    await s.e.run(doc(...table(['a', 'b', 'c'], ['d', 'e', 'f'])), [1, 0, 1], 'shiftParagraphLeft');
    assert.deepEqual(await layout(), [[['b', 'a', 'c'], ['e', 'd', 'f']]]);
    assert.equal(await caretText(), 'b');
    await s.e.call('shiftParagraphLeft');
    assert.deepEqual(await layout(), [[['b', 'a', 'c'], ['e', 'd', 'f']]]);
    await s.e.steps('shiftParagraphRight', 'shiftParagraphRight');
    assert.deepEqual(await layout(), [[['a', 'c', 'b'], ['d', 'f', 'e']]]);
    assert.equal(await caretText(), 'b');
    await s.e.call('shiftParagraphRight');
    assert.deepEqual(await layout(), [[['a', 'c', 'b'], ['d', 'f', 'e']]]);
  });
});

test('cutting a whole row where a wider row then meets a narrower one widens the narrower', async () => {
  await s.e.load(doc(...table(['a', 'b'], ['c', 'd'], ['e', 'f', 'g'])), [[2, 0, 0], [4, 0, 0]]);
  assert.deepEqual(JSON.parse(await s.e.call('cut')), doc(...table(['c', 'd'])));
  assert.deepEqual(await layout(), [[['a', 'b', ''], ['e', 'f', 'g']]]);
});
