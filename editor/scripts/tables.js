// Table queries: a table is a run of Row and Cell blocks; each Row starts a row.
import { createBlockElement } from './block-elements.js';
import { BlockType, emptyPlain, isTableType } from './types.js';

export const tablesMethods = {
  isBlockInsideTable(i) {
    return i >= 0 && i < this.blocks.length && isTableType(this.getBlockType(i));
  },

  getTableRow(i) {
    let start = i;
    while (start > 0 && this.getBlockType(start) !== BlockType.Row && this.isBlockInsideTable(start - 1)) start--;
    let end = i;
    while (end + 1 < this.blocks.length - 1 && this.getBlockType(end + 1) === BlockType.Cell) end++;
    return { start: start, end: end };
  },

  getTableRows(i) {
    let first = this.getTableRow(i).start;
    while (first > 0 && this.isBlockInsideTable(first - 1)) first = this.getTableRow(first - 1).start;
    const rows = [];
    let at = first;
    while (this.isBlockInsideTable(at)) {
      const row = this.getTableRow(at);
      rows.push(row);
      at = row.end + 1;
    }
    return rows;
  },

  getRowIndex(i) {
    const start = this.getTableRow(i).start;
    const rows = this.getTableRows(i);
    for (let r = 0; r < rows.length; r++) if (rows[r].start === start) return r;
    return -1;
  },

  // A new empty row after the row of block i, as wide as that row; returns the
  // index of its first block.
  insertTableRowBelow(i) {
    const row = this.getTableRow(i);
    const width = row.end - row.start + 1;
    const elements = [createBlockElement(BlockType.Row, 0, [emptyPlain()])];
    for (let c = 1; c < width; c++) elements.push(createBlockElement(BlockType.Cell, 0, [emptyPlain()]));
    this.spliceBlocks(row.end + 1, 0, elements);
    return row.end + 1;
  },
};
