// Moving paragraphs up and down, shifting left and right, and the writing
// direction of paragraphs.
import { Point, Range } from './base.js';
import { editor } from './current-editor.js';

function shiftedRange(range, by) {
  const move = function (p) { return Point(p.block + by, p.span, p.offset); };
  return Range(move(range.start), move(range.end));
}

export const paragraphMovesMethods = {
  // The selected blocks without Final, or null when only Final is selected.
  _selectedDocumentBlocks() {
    const sel = this.getSelectedBlocks();
    const end = Math.min(sel.end, this.getBlockCount() - 2);
    return end < sel.start ? null : { start: sel.start, end: end };
  },

  _anyInsideTable(from, to) {
    for (let i = from; i <= to; i++) if (this.isBlockInsideTable(i)) return true;
    return false;
  },

  // Moves block `from` to index `to` (counted after its removal), keeping its
  // type, level, spans and direction.
  _moveBlock(from, to) {
    const record = this._recordOf(from);
    this.removeBlock(from);
    this._insertRecords(to, [record]);
  },

  shiftParagraphUp() {
    const range = this.getSelection();
    const sel = this._selectedDocumentBlocks();
    if (!sel || sel.start === 0) return;
    if (this.isBlockInsideTable(sel.start)) {
      this.shiftTableRowUp(sel.start);
      return;
    }
    if (this._anyInsideTable(sel.start - 1, sel.end)) return;
    this.beforeChanges();
    this._moveBlock(sel.start - 1, sel.end);
    this.setSelection(shiftedRange(range, -1));
  },

  shiftParagraphDown() {
    const range = this.getSelection();
    const sel = this._selectedDocumentBlocks();
    const last = this.getBlockCount() - 2;
    if (!sel || sel.end >= last) return;
    if (this.isBlockInsideTable(sel.start)) {
      this.shiftTableRowDown(sel.start);
      return;
    }
    if (this._anyInsideTable(sel.start, sel.end + 1)) return;
    this.beforeChanges();
    this._moveBlock(sel.end + 1, sel.start);
    this.setSelection(shiftedRange(range, 1));
  },

  shiftParagraphLeft() {
    const start = this.getSelection().start.block;
    if (this.isBlockInsideTable(start)) this.shiftTableColumnLeft(start);
    else this.unindentParagraph();
  },

  shiftParagraphRight() {
    const start = this.getSelection().start.block;
    if (this.isBlockInsideTable(start)) this.shiftTableColumnRight(start);
    else this.indentParagraph();
  },

  setDirection(rtl) {
    this.beforeChanges();
    const range = this.getSelection();
    const sel = this.getSelectedBlocks();
    // A direction chosen at the end of the document is for the paragraph
    // about to be written there.
    this._paragraphForFinal(sel.end);
    for (let i = sel.start; i <= sel.end; i++) this.setBlockRTL(i, rtl);
    this.setSelection(range);
  },
};

export function shiftParagraphUp() { editor.shiftParagraphUp(); return false; }
export function shiftParagraphDown() { editor.shiftParagraphDown(); return false; }
export function shiftParagraphLeft() { editor.shiftParagraphLeft(); return false; }
export function shiftParagraphRight() { editor.shiftParagraphRight(); return false; }
export function setLTR() { editor.setDirection(false); return false; }
export function setRTL() { editor.setDirection(true); return false; }
