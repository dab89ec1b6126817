// Deleting: ranges (with the table rules), characters, words and the joining of
// paragraphs.
import { Point, assert } from './base.js';
import { createBlockElement, readBlockAttributes, writeBlockAttributes } from './block-elements.js';
import { SpanList } from './spans.js';
import { readTableColumns, writeTableColumns } from './table-columns.js';
import { BlockType, SpanType, emptyPlain, isObjectType } from './types.js';
import { RunKind } from './typing-runs.js';

// Length of the character before / at an offset, so that a surrogate pair is
// never cut in half.
function charLengthBefore(text, offset) {
  const low = text.charCodeAt(offset - 1);
  const high = text.charCodeAt(offset - 2);
  return offset >= 2 && low >= 0xDC00 && low <= 0xDFFF && high >= 0xD800 && high <= 0xDBFF ? 2 : 1;
}

function charLengthAt(text, offset) {
  const high = text.charCodeAt(offset);
  const low = text.charCodeAt(offset + 1);
  return high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF ? 2 : 1;
}

export const deletingMethods = {
  // Deletes from start to end and returns the point where the caret belongs.
  removeAndJoin(start, end) {
    const final = this.getBlockCount() - 1;
    if (end.block === final) {
      if (final === 0 || start.block === final) return start;
      end = this.getBlockEnd(final - 1);
    }
    if (isObjectType(this.getBlockType(start.block))) {
      this.removeBlock(start.block);
      return Point(start.block, 0, 0);
    }
    // An image is deleted whole: joining it would turn it into its address as text.
    if (end.block !== start.block && isObjectType(this.getBlockType(end.block))) {
      end = this.getBlockEnd(end.block);
    }
    if (start.block === end.block ||
        (!this.isBlockInsideTable(start.block) && !this.isBlockInsideTable(end.block))) {
      return joinRange(this, start, end);
    }
    return removeAcrossTable(this, start, end);
  },

  joinBlocks(first, last) {
    assert(last > first, 'ERR088');
    if (this.isBlockEmpty(first)) {
      this.setBlockType(first, this.getBlockType(first + 1));
      writeBlockAttributes(this.blocks[first], readBlockAttributes(this.blocks[first + 1], {}));
    }
    let collected = [];
    for (let i = first; i <= last; i++) {
      const spans = this.getBlockSpans(i);
      if (spans.length && spans[0].Text === '') spans.shift();
      if (collected.length && collected[collected.length - 1].Text === '') collected.pop();
      collected = collected.concat(spans);
    }
    this.setBlockSpans(first, SpanList.normalize(SpanList.guardBreaks(collected)), last);
    this.removeBlocks(first + 1, last - first);
  },

  removeCharacterLeft(point) {
    const spans = this.getBlockSpans(point.block);
    let s = point.span;
    let offset = point.offset;
    while (offset === 0 && s > 0) {
      s -= 1;
      offset = spans[s].Text.length;
      if (spans[s].Type === SpanType.Break) {
        const before = spans[s - 1];
        spans.splice(s, 1);
        this.setBlockSpans(point.block, SpanList.normalize(spans));
        return Point(point.block, s - 1, before.Text.length);
      }
    }
    if (offset === 0) return point;
    const text = spans[s].Text;
    const width = charLengthBefore(text, offset);
    spans[s].Text = text.slice(0, offset - width) + text.slice(offset);
    if (s + 1 < spans.length && spans[s + 1].Text === '') spans.splice(s + 1, 1);
    this.setBlockSpans(point.block, SpanList.normalize(spans));
    return Point(point.block, s, offset - width);
  },

  removeCharacterRight(point) {
    const spans = this.getBlockSpans(point.block);
    let s = point.span;
    let offset = point.offset;
    while (offset === spans[s].Text.length && s + 1 < spans.length) {
      s += 1;
      offset = 0;
      if (spans[s].Type === SpanType.Break) {
        spans.splice(s, 1);
        const before = spans[s - 1];
        this.setBlockSpans(point.block, SpanList.normalize(spans));
        return Point(point.block, s - 1, before.Text.length);
      }
    }
    const text = spans[s].Text;
    if (offset >= text.length) return point;
    spans[s].Text = text.slice(0, offset) + text.slice(offset + charLengthAt(text, offset));
    if (s > 0 && spans[s - 1].Text === '') {
      spans.splice(s - 1, 1);
      s -= 1;
      const earlier = spans[s - 1];
      if (earlier && earlier.Type === spans[s].Type && earlier.Type !== SpanType.Break) {
        offset += earlier.Text.length;
        earlier.Text += spans[s].Text;
        spans.splice(s, 1);
        s -= 1;
      }
    }
    this.setBlockSpans(point.block, SpanList.normalize(spans));
    return Point(point.block, s, offset);
  },

  // Only the space separates words.
  removeWordLeft(point) {
    const spans = this.getBlockSpans(point.block);
    let s = point.span;
    let offset = point.offset;
    if (offset === 0 && s > 0) {
      s -= 1;
      offset = spans[s].Text.length;
      if (spans[s].Type === SpanType.Break) return this.removeCharacterLeft(point);
    }
    const text = spans[s].Text;
    let from = offset;
    while (from > 0 && text.charAt(from - 1) === ' ') from--;
    while (from > 0 && text.charAt(from - 1) !== ' ') from--;
    spans[s].Text = text.slice(0, from) + text.slice(offset);
    this.setBlockSpans(point.block, SpanList.normalize(spans));
    return Point(point.block, s, from);
  },

  removeWordRight(point) {
    const spans = this.getBlockSpans(point.block);
    let s = point.span;
    let offset = point.offset;
    if (offset === spans[s].Text.length && s + 1 < spans.length) {
      s += 1;
      offset = 0;
      if (spans[s].Type === SpanType.Break) return this.removeCharacterRight(point);
    }
    const text = spans[s].Text;
    let to = offset;
    while (to < text.length && text.charAt(to) === ' ') to++;
    while (to < text.length && text.charAt(to) !== ' ') to++;
    spans[s].Text = text.slice(0, offset) + text.slice(to);
    this.setBlockSpans(point.block, SpanList.normalize(spans));
    return Point(point.block, s, offset);
  },

  deleteBackward() {
    const range = this.getSelection();
    const o = range.start;
    const type = this.getBlockType(o.block);
    // A character inside a block joins the run of deletions before it.
    if (!isObjectType(type) && range.collapsed && !this.isAtBlockStart(o)) {
      this.beforeTyping(RunKind.Backward, o);
      this.setCaret(this.removeCharacterLeft(o));
      return;
    }
    this.beforeChanges();
    const previous = o.block - 1;
    if (isObjectType(type)) {
      this.removeBlock(o.block);
      this.setCaret(Point(o.block, 0, 0));
    } else if (!range.collapsed) {
      this.setCaret(this.removeAndJoin(range.start, range.end));
    } else if (!this.isAtBlockStart(o)) {
      this.setCaret(this.removeCharacterLeft(o));
    } else if (previous >= 0 && isObjectType(this.getBlockType(previous))) {
      if (type !== BlockType.Final && this.isBlockEmpty(o.block)) this.removeBlock(o.block);
      this.setCaret(Point(previous, 0, 0));
    } else if (this.isBlockInsideTable(o.block) || this.isBlockInsideTable(previous)) {
      // Tables are never joined with their surroundings.
    } else if (type === BlockType.Final) {
      if (previous >= 0) this.setCaret(this.getBlockEnd(previous));
    } else if (type === BlockType.Bulleted || type === BlockType.Numbered) {
      const level = this.getBlockLevel(o.block);
      assert(type !== BlockType.Bulleted || level >= 1, 'ERR083');
      this.setBlockType(o.block, BlockType.Plain);
      this.setBlockLevel(o.block, Math.max(0, level - 1));
      this.setCaret(o);
    } else if (type === BlockType.Plain && this.getBlockLevel(o.block) > 0) {
      this.beforeChanges();
      this.setBlockLevel(o.block, this.getBlockLevel(o.block) - 1);
      this.setCaret(o);
    } else if (o.block === 0) {
      if (this.isBlockEmpty(0)) {
        this.removeBlock(0);
        this.setCaret(Point(0, 0, 0));
      }
    } else {
      const offset = SpanList.textLength(this.getBlockSpans(previous));
      this.joinBlocks(previous, o.block);
      this.setCaret(this.offsetToPoint(previous, offset));
    }
  },

  deleteForward() {
    const range = this.getSelection();
    const o = range.start;
    const next = o.block + 1;
    if (!isObjectType(this.getBlockType(range.end.block)) && range.collapsed && !this.isAtBlockEnd(o)) {
      this.beforeTyping(RunKind.Forward, o);
      this.setCaret(this.removeCharacterRight(o));
      return;
    }
    this.beforeChanges();
    if (isObjectType(this.getBlockType(range.end.block))) {
      this.removeBlock(range.end.block);
      this.setCaret(Point(range.end.block, 0, 0));
    } else if (!range.collapsed) {
      this.setCaret(this.removeAndJoin(range.start, range.end));
    } else if (!this.isAtBlockEnd(o)) {
      this.setCaret(this.removeCharacterRight(o));
    } else if (this.getBlockType(o.block) === BlockType.Final) {
      // Nothing follows the end of the document.
    } else if (isObjectType(this.getBlockType(next))) {
      this.setCaret(Point(next, 0, 0));
    } else if (this.isBlockInsideTable(o.block) || this.isBlockInsideTable(next)) {
      // Tables are never joined with their surroundings.
    } else if (this.getBlockType(next) === BlockType.Final) {
      if (this.isBlockEmpty(o.block)) {
        this.removeBlock(o.block);
        this.setCaret(Point(o.block, 0, 0));
      }
    } else {
      const offset = this.pointToOffset(o);
      this.joinBlocks(o.block, next);
      this.setCaret(this.offsetToPoint(o.block, offset));
    }
  },

  deleteWordBackward() {
    const range = this.getSelection();
    if (!range.collapsed || this.isAtBlockStart(range.start)) return this.deleteBackward();
    this.beforeChanges();
    this.setCaret(this.removeWordLeft(range.start));
  },

  deleteWordForward() {
    const range = this.getSelection();
    if (!range.collapsed || this.isAtBlockEnd(range.start)) return this.deleteForward();
    this.beforeChanges();
    this.setCaret(this.removeWordRight(range.start));
  },
};

// Where two rows of different width now meet, the narrower side of the table
// gets empty cells appended to every row.
function equalizeRowsAt(editor, o) {
  const width = function (row) { return row.end - row.start + 1; };
  const rows = editor.getTableRows(o);
  const here = editor.getRowIndex(o);
  const difference = width(rows[here]) - width(rows[here - 1]);
  if (!difference) return;
  const widen = difference > 0 ? rows.slice(0, here) : rows.slice(here);
  for (let r = widen.length - 1; r >= 0; r--) {
    const cells = [];
    for (let c = 0; c < Math.abs(difference); c++) cells.push(createBlockElement(BlockType.Cell, 0, [emptyPlain()]));
    editor.spliceBlocks(widen[r].end + 1, 0, cells);
  }
}

// Joins the text before start with the text after end into start's block.
function joinRange(editor, start, end) {
  const first = SpanList.split(editor.getBlockSpans(start.block), start.span, start.offset, false).Before;
  const second = SpanList.split(editor.getBlockSpans(end.block), end.span, end.offset, false).After;
  const breakType = SpanType.Break;
  if (!first.length && second.length && second[0].Type === breakType) first.push(emptyPlain());
  if (!second.length && first.length && first[first.length - 1].Type === breakType) second.unshift(emptyPlain());
  if (first.length && first[first.length - 1].Type === breakType && second.length && second[0].Type === breakType) {
    first.push(emptyPlain());
  }
  const head = SpanList.normalize(first);
  const caret = Point(start.block, head.length - 1, head[head.length - 1].Text.length);
  editor.setBlockSpans(start.block, SpanList.normalize(head.concat(second)));
  if (end.block !== start.block) {
    const type = editor.getBlockType(end.block);
    // A rule ending the range goes whole; it gives the text no type.
    if (start.span === 0 && start.offset === 0 && end.span === 0 && end.offset === 0 && !isObjectType(type)) {
      const level = editor.getBlockLevel(end.block);
      editor.setBlockType(start.block, type);
      editor.setBlockLevel(start.block, level);
      writeBlockAttributes(editor.blocks[start.block], readBlockAttributes(editor.blocks[end.block], {}));
    }
    editor.removeBlocks(start.block + 1, end.block - start.block);
  }
  return caret;
}

// A range touching a table removes whole rows only and clears cells that
// are partly covered; nothing is joined across the table's border.
function removeAcrossTable(editor, start, end) {
  let o = start.block + (editor.isAtBlockStart(start) ? 0 : 1);
  let n = end.block;
  if ((editor.isAtBlockStart(end) && !editor.isBlockEmpty(end.block)) || !editor.isAtBlockEnd(end)) n -= 1;
  while (n >= o && editor.getBlockType(o) === BlockType.Cell) o++;
  while (n >= o && editor.getBlockType(n + 1) === BlockType.Cell) n--;

  let caret = Point(start.block, 0, 0);
  if (start.block < o) {
    caret = joinRange(editor, start, editor.getBlockEnd(start.block));
    for (let i = start.block + 1; i < o; i++) editor.setBlockSpans(i, [emptyPlain()]);
  }
  if (end.block > n) {
    joinRange(editor, editor.getBlockStart(end.block), end);
    for (let i = n + 1; i < end.block; i++) editor.setBlockSpans(i, [emptyPlain()]);
  }
  const removed = n >= o ? n - o + 1 : 0;
  // A table's first row going, the row after the removed ones takes over the table's columns.
  for (let k = o; k <= n && editor.getBlockType(n + 1) === BlockType.Row; k++) {
    if (editor.getBlockType(k) === BlockType.Row && !editor.isBlockInsideTable(k - 1)) {
      writeTableColumns(editor.blocks[n + 1], readTableColumns(editor.blocks[k]));
    }
  }
  editor.removeBlocks(o, removed);
  if (removed && o > 0 && editor.getBlockType(o) === BlockType.Row && editor.isBlockInsideTable(o - 1)) {
    equalizeRowsAt(editor, o);
  }
  return caret;
}
