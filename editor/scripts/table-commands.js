// Table commands: inserting tables, rows and columns, removing them, and moving
// rows and columns. A table is edited as a list of rows of block elements and
// written back in one step, so the whole table re-renders once per command.
// Rows are expected to be equally wide; a narrower row simply has no cell at a
// column it lacks (a column inserted beyond its end is appended to it).
import { Point } from './base.js';
import { createBlockElement } from './block-elements.js';
import { editor } from './current-editor.js';
import { editTableColumns, moveTableColumns, readTableColumns, writeTableColumns } from './table-columns.js';
import { BlockType, emptyPlain } from './types.js';

const MAX_TABLE_COLUMNS = 8;

function emptyCellElement() {
  return createBlockElement(BlockType.Cell, 0, [emptyPlain()]);
}

export const tableCommandsMethods = {

  insertTable() {
    const o = this.getSelection().start.block;
    const final = this.getBlockCount() - 1;
    if (this.isBlockInsideTable(o) || this.isBlockInsideTable(o + 1)) return;
    if (o > 0 && this.isBlockEmpty(o) && this.isBlockInsideTable(o - 1)) return;
    this.beforeChanges();
    const elements = [BlockType.Row, BlockType.Cell, BlockType.Row, BlockType.Cell].map(function (type) {
      return createBlockElement(type, 0, [emptyPlain()]);
    });
    let at = o + 1;
    let replaced = 0;
    if (o === final) {
      at = o;
    } else if (this.isBlockEmpty(o)) {
      at = o;
      replaced = 1;
    }
    this.spliceBlocks(at, replaced, elements);
    this.setCaret(Point(at, 0, 0));
  },

  insertTableRowAbove(i) {
    const row = this.getTableRow(i);
    const elements = [createBlockElement(BlockType.Row, 0, [emptyPlain()])];
    for (let c = row.start + 1; c <= row.end; c++) elements.push(emptyCellElement());
    if (row.start === this.getTableRows(i)[0].start) moveTableColumns(this.blocks[row.start], elements[0]);
    this.spliceBlocks(row.start, 0, elements);
    this.setCaret(Point(row.start + (i - row.start), 0, 0));
  },

  insertTableColumnBackward(e) {
    return insertColumn(this, e, false);
  },

  insertTableColumnForward(e) {
    return insertColumn(this, e, true);
  },

  removeTableColumn(e) {
    const table = readTable(this, e);
    const c = table.column;
    const rows = table.rows.map(function (row) {
      const copy = row.slice();
      if (c < copy.length) copy.splice(c, 1);
      return copy;
    });
    const place = writeTable(this, table, rows, function (list) { list.splice(c, 1); });
    if (rows.every(function (r) { return r.length === 0; })) {
      this.setCaret(Point(table.first, 0, 0));
    } else {
      this.setCaret(Point(place(table.row, c), 0, 0));
    }
  },

  removeTableRow(i) {
    const table = readTable(this, i);
    const rows = table.rows.slice();
    rows.splice(table.row, 1);
    const place = writeTable(this, table, rows);
    if (!rows.length) this.setCaret(Point(table.first, 0, 0));
    else this.setCaret(Point(place(Math.min(table.row, rows.length - 1), table.column), 0, 0));
  },

  shiftTableRowUp(i) {
    return swapRows(this, i, this.getRowIndex(i) - 1);
  },

  shiftTableRowDown(i) {
    return swapRows(this, i, this.getRowIndex(i));
  },

  shiftTableColumnLeft(e) {
    return swapColumns(this, e, readTable(this, e).column - 1);
  },

  shiftTableColumnRight(e) {
    return swapColumns(this, e, readTable(this, e).column);
  },

};

export function insertTable() { editor.insertTable(); }
export function insertTableRowBefore() { tableCommand(editor, false, null, (e, block) => e.insertTableRowAbove(block)); }
export function insertTableRowAfter() { tableCommand(editor, true, null, rowBelowWithCaret); }
export function insertTableColumnBefore() {
  tableCommand(editor, true, canWiden, (e, block) => e.insertTableColumnBackward(block));
}
export function insertTableColumnAfter() {
  tableCommand(editor, true, canWiden, (e, block) => e.insertTableColumnForward(block));
}
export function removeTableRow() { tableCommand(editor, false, null, (e, block) => e.removeTableRow(block)); }
export function removeTableColumn() { tableCommand(editor, false, null, (e, block) => e.removeTableColumn(block)); }

function canWiden(editor, block) {
  return readTable(editor, block).width < MAX_TABLE_COLUMNS;
}

function insertColumn(editor, e, after) {
  const table = readTable(editor, e);
  if (table.width >= MAX_TABLE_COLUMNS) return false;
  const at = table.column + (after ? 1 : 0);
  const rows = table.rows.map(function (row) {
    const copy = row.slice();
    copy.splice(Math.min(at, copy.length), 0, emptyCellElement());
    return copy;
  });
  const place = writeTable(editor, table, rows, function (list, fill) { list.splice(at, 0, fill); });
  editor.setCaret(Point(place(table.row, at), 0, 0));
  return true;
}

// The table holding block i: its first block, its block count, and its rows
// as lists of block elements; `row` and `column` locate block i.
function readTable(editor, i) {
  const rows = editor.getTableRows(i);
  const first = rows[0].start;
  const last = rows[rows.length - 1].end;
  const here = editor.getTableRow(i);
  return {
    first: first,
    count: last - first + 1,
    rows: rows.map(function (r) { return editor.blocks.slice(r.start, r.end + 1); }),
    row: editor.getRowIndex(i),
    column: i - here.start,
    width: here.end - here.start + 1,
  };
}

function rowBelowWithCaret(editor, block) {
  const column = block - editor.getTableRow(block).start;
  editor.setCaret(Point(editor.insertTableRowBelow(block) + column, 0, 0));
}

// Swaps columns c and c + 1 in every row that has both.
function swapColumns(editor, e, c) {
  const table = readTable(editor, e);
  if (c < 0 || c + 1 >= table.width) return false;
  editor.beforeChanges();
  const rows = table.rows.map(function (row) {
    const copy = row.slice();
    if (c + 1 < copy.length) {
      const left = copy[c];
      copy[c] = copy[c + 1];
      copy[c + 1] = left;
    }
    return copy;
  });
  const place = writeTable(editor, table, rows, function (list) { list.splice(c, 2, list[c + 1], list[c]); });
  const caretColumn = table.column === c ? c + 1 : c;
  editor.setCaret(Point(place(table.row, caretColumn), 0, 0));
  return true;
}

// Swaps rows r and r + 1 of the table and keeps the caret in its cell.
function swapRows(editor, i, r) {
  const table = readTable(editor, i);
  if (r < 0 || r + 1 >= table.rows.length) return false;
  editor.beforeChanges();
  const rows = table.rows.slice();
  const upper = rows[r];
  rows[r] = rows[r + 1];
  rows[r + 1] = upper;
  const place = writeTable(editor, table, rows);
  const caretRow = table.row === r ? r + 1 : r;
  editor.setCaret(Point(place(caretRow, table.column), 0, 0));
  return true;
}

// Runs a table command with a snapshot on the selection's start or end
// block, when that block is inside a table and the command can act there
// (canAct null: always).
function tableCommand(editor, useEnd, canAct, command) {
  const range = editor.getSelection();
  const block = (useEnd ? range.end : range.start).block;
  if (!editor.isBlockInsideTable(block) || (canAct && !canAct(editor, block))) return;
  editor.beforeChanges();
  command(editor, block);
}

// Writes rows of block elements back in place of the table read before;
// the first block of each row becomes its Row, and the first Row takes the
// table's column alignments and widths, changed by editColumns(list, fill) when
// given. Returns a function giving the block index of (row, column), the column
// clamped to the row.
function writeTable(editor, table, rows, editColumns) {
  const columns = readTableColumns(editor.blocks[table.first]);
  const width = Math.max.apply(null, table.rows.map(function (r) { return r.length; }));
  if (editColumns) editTableColumns(columns, width, editColumns);
  for (const row of table.rows) writeTableColumns(row[0], { align: [], widths: [] });
  rows = rows.filter(function (r) { return r.length > 0; });
  if (rows.length) writeTableColumns(rows[0][0], columns);
  const flat = [];
  const starts = [];
  for (const row of rows) {
    starts.push(table.first + flat.length);
    row.forEach(function (element, c) {
      const wanted = (c === 0 ? BlockType.Row : BlockType.Cell) + ' Indent0';
      if (element.className !== wanted) element.className = wanted;
      flat.push(element);
    });
  }
  editor.spliceBlocks(table.first, table.count, flat);
  return function (r, c) {
    if (!rows.length) return table.first;
    const row = Math.min(r, rows.length - 1);
    return starts[row] + Math.max(0, Math.min(c, rows[row].length - 1));
  };
}
