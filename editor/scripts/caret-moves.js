// Caret moves the page takes over from the browser: over images, line breaks,
// span borders and table cells. Each returns true when the browser should move
// the caret itself.
import { Point } from './base.js';
import { SpanType, isObjectType } from './types.js';

export const caretMovesMethods = {
  moveBackward() {
    const range = this.getSelection();
    const s = range.start;
    const spans = this.getBlockSpans(s.block);
    if (this.isAtBlockStart(s) && s.block > 0 && isObjectType(this.getBlockType(s.block - 1))) {
      this.setCaret(Point(s.block - 1, 0, 0));
    } else if (isObjectType(this.getBlockType(s.block))) {
      if (s.block > 0) this.setCaret(this.getBlockEnd(s.block - 1));
    } else if (!range.collapsed) {
      return true;
    } else if (this.isAtBlockStart(s)) {
      if (s.block > 0) this.setCaret(this.getBlockEnd(s.block - 1));
    } else if (s.offset === 0) {
      const previous = spans[s.span - 1];
      if (previous.Type === SpanType.Break) {
        this.setCaret(Point(s.block, s.span - 2, spans[s.span - 2].Text.length));
      } else {
        this.setCaret(Point(s.block, s.span - 1, Math.max(0, previous.Text.length - 1)));
      }
    } else {
      this.scrollToSelection();
      return true;
    }
    return false;
  },

  moveForward() {
    const range = this.getSelection();
    const e = range.end;
    const spans = this.getBlockSpans(e.block);
    const last = this.getBlockCount() - 1;
    if (this.isAtBlockEnd(e) && e.block < last && isObjectType(this.getBlockType(e.block + 1))) {
      this.setCaret(Point(e.block + 1, 0, 0));
    } else if (isObjectType(this.getBlockType(e.block))) {
      if (e.block < last) this.setCaret(Point(e.block + 1, 0, 0));
    } else if (!range.collapsed) {
      return true;
    } else if (this.isAtBlockEnd(e)) {
      if (e.block < last) this.setCaret(Point(e.block + 1, 0, 0));
    } else if (e.offset === spans[e.span].Text.length) {
      if (spans[e.span + 1].Type === SpanType.Break) this.setCaret(Point(e.block, e.span + 2, 0));
      else this.setCaret(Point(e.block, e.span + 1, Math.min(1, spans[e.span + 1].Text.length)));
    } else {
      this.scrollToSelection();
      return true;
    }
    return false;
  },

  moveUp() {
    const s = this.getSelection().start;
    if (this.isBlockInsideTable(s.block)) {
      const row = this.getTableRow(s.block);
      if (row.start === 0) return false;
      if (!this.isBlockInsideTable(row.start - 1)) {
        this.setCaret(Point(row.start - 1, 0, 0));
      } else {
        const above = this.getTableRow(row.start - 1);
        this.setCaret(Point(cellInRow(above, s.block - row.start), 0, 0));
      }
      return false;
    }
    if (s.block > 0 && this.isBlockInsideTable(s.block - 1)) {
      this.setCaret(Point(this.getTableRow(s.block - 1).start, 0, 0));
      return false;
    }
    this.scrollToSelection();
    return true;
  },

  moveDown() {
    const e = this.getSelection().end;
    if (this.isBlockInsideTable(e.block)) {
      const row = this.getTableRow(e.block);
      if (!this.isBlockInsideTable(row.end + 1)) {
        this.setCaret(Point(row.end + 1, 0, 0));
      } else {
        const below = this.getTableRow(row.end + 1);
        this.setCaret(Point(cellInRow(below, e.block - row.start), 0, 0));
      }
      return false;
    }
    this.scrollToSelection();
    return true;
  },

  moveToBeginningOfParagraph() {
    const range = this.getSelection();
    const s = range.start;
    if (!range.collapsed) this.setCaret(Point(s.block, 0, 0));
    else if (this.isAtBlockStart(s)) { if (s.block > 0) this.setCaret(Point(s.block - 1, 0, 0)); }
    else this.setCaret(Point(s.block, 0, 0));
  },

  // The end of the document's last block rather than the Final block below it, so
  // that typing there and taking it back leaves no empty paragraph behind. Below a
  // closing picture, and in an empty document, the browser moves.
  moveToEndOfDocument() {
    const last = this.getBlockCount() - 2;
    if (last < 0 || isObjectType(this.getBlockType(last))) return true;
    this.setCaret(this.getBlockEnd(last));
    return false;
  },
  moveToEndOfParagraph() {
    const range = this.getSelection();
    const s = range.start;
    if (!range.collapsed) this.setCaret(this.getBlockEnd(s.block));
    else if (this.isAtBlockEnd(s)) { if (s.block + 1 < this.getBlockCount()) this.setCaret(this.getBlockEnd(s.block + 1)); }
    else this.setCaret(this.getBlockEnd(s.block));
  },
};

// The block at the same position in a neighbouring row (rows are expected to
// be equally wide; a narrower row gives its last cell).
function cellInRow(row, position) {
  return Math.min(row.start + position, row.end);
}
