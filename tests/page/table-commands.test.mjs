// Table commands: inserting tables, rows and columns (with the 8-column limit),
// removing them, moving rows and columns, and rows of unequal width.
import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

// Every test must leave no uncaught error in the page (checked by useEditor).
const s = useEditor();

// A table given as rows of cell texts, in model form.
function table(...rows) {
  const blocks = [];
  for (const row of rows) {
    row.forEach((text, c) => blocks.push(c === 0 ? block('row', 1, text) : block('col', 2, text)));
  }
  return blocks;
}

// The tables of the document as rows of cell texts, plus the other blocks' texts.
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

describe('insert table', () => {
  test('in an empty paragraph the table replaces it, caret in the first cell', async () => {
    await s.e.load(doc(para('a'), para(), para('b')));
    await s.e.caret(1, 0, 0);
    await s.e.call('insertTable');
    assert.deepEqual(await layout(), ['para:a', [['', ''], ['', '']], 'para:b']);
    assert.deepEqual(await s.e.caretAt(), [1, 0, 0]);
    assert.deepEqual(await s.e.eval(() => document.querySelectorAll('.Table .TableRow').length), 2);
  });

  test('in a non-empty paragraph the table comes after it', async () => {
    await s.e.load(doc(para('a'), para('b')));
    await s.e.caret(0, 0, 1);
    await s.e.call('insertTable');
    assert.deepEqual(await layout(), ['para:a', [['', ''], ['', '']], 'para:b']);
    assert.deepEqual(await s.e.caretAt(), [1, 0, 0]);
  });

  test('at the end of the document the table comes before Final', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(1, 0, 0);
    await s.e.call('insertTable');
    assert.deepEqual(await layout(), ['para:a', [['', ''], ['', '']]]);
    assert.deepEqual(await s.e.blockClasses(),
      ['Plain Indent0', 'Row Indent0', 'Cell Indent0', 'Row Indent0', 'Cell Indent0', 'Final Indent0']);
  });

  test('never next to or inside another table, and no snapshot then', async () => {
    await s.e.load(doc(para('a'), ...table(['x']), para()));
    for (const at of [0, 1, 2]) {
      await s.e.caret(at, 0, 0);
      await s.e.call('insertTable');
    }
    assert.deepEqual(await layout(), ['para:a', [['x']], 'para:']);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('one undo removes the inserted table', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(0, 0, 1);
    await s.e.call('insertTable');
    await s.e.call('undo');
    assert.deepEqual(await layout(), ['para:a']);
  });
});

describe('rows', () => {
  test('Insert Row Before on the second cell of a 3-column row', async () => {
    await s.e.load(doc(...table(['a', 'b', 'c'], ['d', 'e', 'f'])));
    await s.e.caret(4, 0, 0);
    await s.e.call('insertTableRowBefore');
    assert.deepEqual(await layout(), [[['a', 'b', 'c'], ['', '', ''], ['d', 'e', 'f']]]);
    assert.deepEqual(await s.e.caretAt(), [4, 0, 0]);
  });

  test('Insert Row After puts the caret in the same column of the new row', async () => {
    await s.e.load(doc(...table(['a', 'b'], ['c', 'd']), para('z')));
    await s.e.caret(1, 0, 1);
    await s.e.call('insertTableRowAfter');
    assert.deepEqual(await layout(), [[['a', 'b'], ['', ''], ['c', 'd']], 'para:z']);
    assert.deepEqual(await s.e.caretAt(), [3, 0, 0]);
  });

  test('row commands outside a table do nothing', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(0, 0, 0);
    for (const command of ['insertTableRowBefore', 'insertTableRowAfter', 'removeTableRow',
      'insertTableColumnBefore', 'insertTableColumnAfter', 'removeTableColumn']) {
      await s.e.call(command);
    }
    assert.deepEqual(await layout(), ['para:a']);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('Remove Row goes to the same column of the next row, else the previous', async () => {
    await s.e.load(doc(...table(['a', 'b'], ['c', 'd'], ['e', 'f'])));
    await s.e.caret(3, 0, 0);
    await s.e.call('removeTableRow');
    assert.deepEqual(await layout(), [[['a', 'b'], ['e', 'f']]]);
    assert.equal(await caretText(), 'f');
    await s.e.call('removeTableRow');
    assert.deepEqual(await layout(), [[['a', 'b']]]);
    assert.equal(await caretText(), 'b');
  });

  test('removing the row of a one-row table removes the table', async () => {
    await s.e.load(doc(para('a'), ...table(['x', 'y']), para('after')));
    await s.e.caret(2, 0, 0);
    await s.e.call('removeTableRow');
    assert.deepEqual(await layout(), ['para:a', 'para:after']);
    assert.equal(await caretText(), 'after');
  });

  test('Shift Up and Down move the row with the caret in its cell', async () => {
    await s.e.load(doc(...table(['a', 'b'], ['c', 'd'], ['e', 'f'])));
    await s.e.caret(3, 0, 1);
    await s.e.call('shiftParagraphUp');
    assert.deepEqual(await layout(), [[['c', 'd'], ['a', 'b'], ['e', 'f']]]);
    assert.equal(await caretText(), 'd');
    await s.e.call('shiftParagraphDown');
    await s.e.call('shiftParagraphDown');
    assert.deepEqual(await layout(), [[['a', 'b'], ['e', 'f'], ['c', 'd']]]);
    assert.equal(await caretText(), 'd');
    // The last row stays where it is.
    await s.e.call('shiftParagraphDown');
    assert.deepEqual(await layout(), [[['a', 'b'], ['e', 'f'], ['c', 'd']]]);
    assert.deepEqual(await s.e.blockClasses(),
      ['Row Indent0', 'Cell Indent0', 'Row Indent0', 'Cell Indent0', 'Row Indent0', 'Cell Indent0', 'Final Indent0']);
  });

  test('a row move is an undo step of its own and tells the host', async () => {
    await s.e.load(doc(...table(['a'], ['b'])));
    await s.e.caret(1, 0, 0);
    await s.e.call('shiftParagraphUp');
    assert.deepEqual(await s.e.hostCalls(), ['done']);
    await s.e.call('undo');
    assert.deepEqual(await layout(), [[['a'], ['b']]]);
  });
});

describe('columns', () => {
  test('Insert Column Before at the first column makes the new cells the rows\' first', async () => {
    await s.e.load(doc(...table(['a', 'b'], ['c', 'd'])));
    await s.e.caret(2, 0, 0);
    await s.e.call('insertTableColumnBefore');
    assert.deepEqual(await layout(), [[['', 'a', 'b'], ['', 'c', 'd']]]);
    assert.deepEqual(await s.e.caretAt(), [3, 0, 0]);
    assert.deepEqual(await s.e.blockClasses(), ['Row Indent0', 'Cell Indent0', 'Cell Indent0',
      'Row Indent0', 'Cell Indent0', 'Cell Indent0', 'Final Indent0']);
  });

  test('Insert Column After adds a cell after the column in every row', async () => {
    await s.e.load(doc(...table(['a', 'b'], ['c', 'd'])));
    await s.e.caret(0, 0, 1);
    await s.e.call('insertTableColumnAfter');
    assert.deepEqual(await layout(), [[['a', '', 'b'], ['c', '', 'd']]]);
    assert.deepEqual(await s.e.caretAt(), [1, 0, 0]);
  });

  test('no column is added to a row of 8 cells', async () => {
    await s.e.load(doc(...table(['1', '2', '3', '4', '5', '6', '7', '8'])));
    await s.e.caret(3, 0, 0);
    await s.e.call('insertTableColumnBefore');
    await s.e.call('insertTableColumnAfter');
    assert.deepEqual(await layout(), [[['1', '2', '3', '4', '5', '6', '7', '8']]]);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('a row of 7 grows to 8 and then stops', async () => {
    await s.e.load(doc(...table(['1', '2', '3', '4', '5', '6', '7'])));
    await s.e.caret(0, 0, 0);
    await s.e.call('insertTableColumnAfter');
    await s.e.call('insertTableColumnAfter');
    assert.equal((await layout())[0][0].length, 8);
  });

  test('Remove Column goes to the cell that took its place, or the one before at the end', async () => {
    await s.e.load(doc(...table(['a', 'b', 'c'], ['d', 'e', 'f'])));
    await s.e.caret(4, 0, 0);
    await s.e.call('removeTableColumn');
    assert.deepEqual(await layout(), [[['a', 'c'], ['d', 'f']]]);
    assert.equal(await caretText(), 'f');
    await s.e.call('removeTableColumn');
    assert.deepEqual(await layout(), [[['a'], ['d']]]);
    assert.equal(await caretText(), 'd');
  });

  test('removing the first column makes the next cell the row', async () => {
    await s.e.load(doc(...table(['a', 'b'], ['c', 'd'])));
    await s.e.caret(0, 0, 0);
    await s.e.call('removeTableColumn');
    assert.deepEqual(await layout(), [[['b'], ['d']]]);
    assert.deepEqual(await s.e.blockClasses(), ['Row Indent0', 'Row Indent0', 'Final Indent0']);
  });

  test('removing the only column removes the table', async () => {
    await s.e.load(doc(para('a'), ...table(['x'], ['y']), para('after')));
    await s.e.caret(2, 0, 0);
    await s.e.call('removeTableColumn');
    assert.deepEqual(await layout(), ['para:a', 'para:after']);
    assert.equal(await caretText(), 'after');
  });

  test('Shift Left and Right swap columns in every row and the caret follows', async () => {
    await s.e.load(doc(...table(['a', 'b', 'c'], ['d', 'e', 'f'])));
    await s.e.caret(1, 0, 1);
    await s.e.call('shiftParagraphLeft');
    assert.deepEqual(await layout(), [[['b', 'a', 'c'], ['e', 'd', 'f']]]);
    assert.equal(await caretText(), 'b');
    await s.e.call('shiftParagraphLeft');
    assert.deepEqual(await layout(), [[['b', 'a', 'c'], ['e', 'd', 'f']]]);
    await s.e.call('shiftParagraphRight');
    await s.e.call('shiftParagraphRight');
    assert.deepEqual(await layout(), [[['a', 'c', 'b'], ['d', 'f', 'e']]]);
    assert.equal(await caretText(), 'b');
    await s.e.call('shiftParagraphRight');
    assert.deepEqual(await layout(), [[['a', 'c', 'b'], ['d', 'f', 'e']]]);
    await s.e.call('undo');
    assert.deepEqual(await layout(), [[['a', 'b', 'c'], ['d', 'e', 'f']]]);
  });
});

describe('rows of unequal width', () => {
  test('cutting a whole row where a wider row then meets a narrower one widens the narrower', async () => {
    await s.e.load(doc(...table(['a', 'b'], ['c', 'd'], ['e', 'f', 'g'])));
    await s.e.select([2, 0, 0], [4, 0, 0]);
    assert.deepEqual(JSON.parse(await s.e.call('cut')), doc(...table(['c', 'd'])));
    assert.deepEqual(await layout(), [[['a', 'b', ''], ['e', 'f', 'g']]]);
  });

  test('a column is appended to a row too short to have it, and every block stays in the table', async () => {
    await s.e.load(doc(...table(['a', 'b', 'c'], ['d']), para('z')));
    await s.e.caret(2, 0, 0);
    await s.e.call('insertTableColumnAfter');
    assert.deepEqual(await layout(), [[['a', 'b', 'c', ''], ['d', '']], 'para:z']);
  });

  test('removing a column that a short row lacks leaves that row alone', async () => {
    await s.e.load(doc(...table(['a', 'b', 'c'], ['d'])));
    await s.e.caret(2, 0, 0);
    await s.e.call('removeTableColumn');
    assert.deepEqual(await layout(), [[['a', 'b'], ['d']]]);
  });

  test('a row move takes the whole neighbouring row, whatever its width', async () => {
    await s.e.load(doc(...table(['a', 'b', 'c'], ['d'])));
    await s.e.caret(3, 0, 0);
    await s.e.call('shiftParagraphUp');
    assert.deepEqual(await layout(), [[['d'], ['a', 'b', 'c']]]);
    assert.equal(await caretText(), 'd');
    assert.deepEqual(s.e.errors, []);
  });
});
