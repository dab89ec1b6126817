// Moving paragraphs up and down, shifting left and right, and the writing
// direction of paragraphs.
import { Point, Range } from './base.js';
import { editor } from './current-editor.js';

function shiftedRange(range, by) {
  const move = function (p) { return Point(p.block + by, p.span, p.offset); };
  return Range(move(range.start), move(range.end));
}

export const paragraphMovesMethods = {

  shiftParagraphUp() {
    const range = this.getSelection();
    const sel = selectedDocumentBlocks(this);
    if (!sel || sel.start === 0) return;
    if (this.isBlockInsideTable(sel.start)) {
      this.shiftTableRowUp(sel.start);
      return;
    }
    if (anyInsideTable(this, sel.start - 1, sel.end)) return;
    this.beforeChanges();
    moveBlock(this, sel.start - 1, sel.end);
    this.setSelection(shiftedRange(range, -1));
  },

  shiftParagraphDown() {
    const range = this.getSelection();
    const sel = selectedDocumentBlocks(this);
    const last = this.getBlockCount() - 2;
    if (!sel || sel.end >= last) return;
    if (this.isBlockInsideTable(sel.start)) {
      this.shiftTableRowDown(sel.start);
      return;
    }
    if (anyInsideTable(this, sel.start, sel.end + 1)) return;
    this.beforeChanges();
    moveBlock(this, sel.end + 1, sel.start);
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
    this.paragraphForFinal(sel.end);
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

function anyInsideTable(editor, from, to) {
  for (let i = from; i <= to; i++) if (editor.isBlockInsideTable(i)) return true;
  return false;
}

// Moves block `from` to index `to` (counted after its removal), keeping its
// type, level, spans and direction.
function moveBlock(editor, from, to) {
  const record = editor.recordOf(from);
  editor.removeBlock(from);
  editor.insertRecords(to, [record]);
}

// The selected blocks without Final, or null when only Final is selected.
function selectedDocumentBlocks(editor) {
  const sel = editor.getSelectedBlocks();
  const end = Math.min(sel.end, editor.getBlockCount() - 2);
  return end < sel.start ? null : { start: sel.start, end: end };
}
