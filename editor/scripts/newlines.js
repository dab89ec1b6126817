// Enter, Shift+Enter, Tab and Shift+Tab.
import { Point, Range, appendAll, assert } from './base.js';
import { readBlockAttributes, writeBlockAttributes } from './block-elements.js';
import { SpanList } from './spans.js';
import { BlockType, Span, SpanType, emptyPlain, isObjectType, traitsOf } from './types.js';

export const newlinesMethods = {
  // Enter as the shell delivers it: the block at the selection start decides.
  newlineKey() {
    const o = this.getSelection().start;
    const type = this.getBlockType(o.block);
    const inTable = this.isBlockInsideTable(o.block);
    // These take their own undo snapshot: a second one here would leave an
    // undo step that changes nothing.
    if (!inTable && traitsOf(type).Verbatim && type !== BlockType.Formula) return this.insertLineBreak();
    if (!inTable && !isObjectType(type)) return this.insertNewline();
    this.beforeChanges();
    if (inTable) {
      const firstOfTable = o.block === 0 || !this.isBlockInsideTable(o.block - 1);
      if (o.span === 0 && o.offset === 0 && firstOfTable) {
        this.insertBlock(o.block, BlockType.Plain, 0);
        this.setCaret(Point(o.block + 1, 0, 0));
      }
    } else {
      this.insertBlock(o.block + 1, BlockType.Plain, 0);
      this.setCaret(Point(o.block + 1, 0, 0));
    }
  },

  // Shift+Enter: no line breaks in tables and images; a new paragraph in code.
  lineBreakKey() {
    const o = this.getSelection().start;
    const type = this.getBlockType(o.block);
    if (this.isBlockInsideTable(o.block) || isObjectType(type)) return;
    if (traitsOf(type).Verbatim && type !== BlockType.Formula) this.insertNewline();
    else this.insertLineBreak();
  },

  insertNewline() {
    this.beforeChanges();
    const range = this.getSelection();
    const n = range.collapsed ? range.start : this.removeAndJoin(range.start, range.end);
    if (this.getBlockType(n.block) === BlockType.Final) {
      this.insertBlock(n.block, BlockType.Plain, 0);
      this.setCaret(Point(n.block + 1, 0, 0));
    } else if (this.isAtBlockEnd(n)) {
      if (this.insertEmptyBlockAfter(n.block)) this.setCaret(Point(n.block + 1, 0, 0));
      else this.setCaret(n);
    } else if (this.isAtBlockStart(n)) {
      this.insertEmptyBlockBefore(n.block);
      this.setCaret(Point(n.block + 1, 0, 0));
    } else {
      this.splitBlock(n);
      this.setCaret(Point(n.block + 1, 0, 0));
    }
  },

  insertEmptyBlockBefore(i) {
    const type = this.getBlockType(i);
    if (type === BlockType.Bulleted || type === BlockType.Numbered) {
      this.insertBlock(i, type, this.getBlockLevel(i));
      copyListAttributes(this, i + 1, i);
    } else {
      this.insertBlock(i, BlockType.Plain, 0);
    }
    copyDirection(this, i + 1, i);
  },

  // Returns whether a block was inserted.
  insertEmptyBlockAfter(i) {
    const type = this.getBlockType(i);
    const level = this.getBlockLevel(i);
    if (type === BlockType.Bulleted || type === BlockType.Numbered) {
      if (this.isBlockEmpty(i)) {
        // Enter on an empty list item ends the list.
        this.setBlockType(i, BlockType.Plain);
        return false;
      }
      this.insertBlock(i + 1, type, level);
      copyListAttributes(this, i, i + 1);
    } else if (type === BlockType.Plain) {
      this.insertBlock(i + 1, BlockType.Plain, level);
    } else if ((type === BlockType.Term || type === BlockType.Definition) && !this.isBlockEmpty(i)) {
      // A term is followed by its definition, a definition by the next term.
      this.insertBlock(i + 1, type === BlockType.Term ? BlockType.Definition : BlockType.Term, level);
    } else if (type === BlockType.Term || type === BlockType.Definition) {
      // Enter on an empty term or definition ends the list.
      this.setBlockType(i, BlockType.Plain);
      this.setBlockLevel(i, level - 1);
      return false;
    } else {
      this.insertBlock(i + 1, BlockType.Plain, 0);
    }
    copyDirection(this, i, i + 1);
    return true;
  },

  splitBlock(point) {
    const parts = SpanList.split(this.getBlockSpans(point.block), point.span, point.offset, false);
    assert(parts.Before.length > 0, 'ERR089');
    assert(parts.After.length > 0, 'ERR090');
    if (parts.Before[parts.Before.length - 1].Type === SpanType.Break) parts.Before.push(emptyPlain());
    if (parts.After[0].Type === SpanType.Break) parts.After.unshift(emptyPlain());
    // The second half is made in the tree and takes the spans after the cut
    // from the first, so that unchanged spans stay the same elements.
    this.insertBlock(point.block + 1, this.getBlockType(point.block), this.getBlockLevel(point.block));
    this.setBlockSpans(point.block + 1, parts.After, point.block);
    this.setBlockSpans(point.block, parts.Before);
    copyDirection(this, point.block, point.block + 1);
    // Both halves of a code block are in its language, of a list item spaced alike;
    // only the first half starts a list.
    const attributes = readBlockAttributes(this.blocks[point.block], {});
    delete attributes.Start;
    writeBlockAttributes(this.blocks[point.block + 1], attributes);
  },

  insertLineBreak() {
    this.beforeChanges();
    const range = this.getSelection();
    let n = range.collapsed ? range.start : this.removeAndJoin(range.start, range.end);
    if (this.getBlockType(n.block) === BlockType.Final) {
      this.insertBlock(n.block, BlockType.Plain, 0);
      n = Point(n.block, 0, 0);
    }
    const parts = SpanList.split(this.getBlockSpans(n.block), n.span, n.offset, false);
    const spans = parts.Before;
    if (!spans.length || spans[spans.length - 1].Type === SpanType.Break) spans.push(emptyPlain());
    spans.push(Span(SpanType.Break, '\n'));
    const caretSpan = spans.length;
    if (parts.After.length) {
      if (parts.After[0].Type === SpanType.Break) spans.push(emptyPlain());
      appendAll(spans, parts.After);
    } else {
      spans.push(emptyPlain());
    }
    this.setBlockSpans(n.block, SpanList.normalize(spans));
    this.setCaret(Point(n.block, caretSpan, 0));
  },

  // Tab (back = false) and Shift+Tab (back = true).
  tabKey(back) {
    const sel = this.getSelectedBlocks();
    const last = this.getBlockCount() - 1;
    if (sel.end !== last && sel.start === sel.end && traitsOf(this.getBlockType(sel.start)).Verbatim) {
      if (back) this.unindentLine();
      else this.indentLine();
    } else if (this.isBlockInsideTable(sel.start)) {
      if (!back) {
        if (this.isBlockInsideTable(sel.start + 1)) {
          this.setCaret(Point(sel.start + 1, 0, 0));
        } else {
          this.setCaret(Point(this.insertTableRowBelow(sel.start), 0, 0));
        }
      } else if (sel.start > 0 && this.isBlockInsideTable(sel.start - 1)) {
        this.setCaret(Point(sel.start - 1, 0, 0));
      }
    } else if (back) {
      this.unindentParagraph();
    } else {
      this.indentParagraph();
    }
  },

  indentLine() {
    const lines = selectedLines(this, ['ERR064', 'ERR065', 'ERR066']);
    for (let s = lines.start.span; s <= lines.end.span; s++) {
      if (lines.spans[s].Type !== SpanType.Break) lines.spans[s].Text = '    ' + lines.spans[s].Text;
    }
    this.setBlockSpans(lines.start.block, lines.spans);
    const start = lines.start;
    const end = lines.end;
    this.setSelection(Range(Point(start.block, start.span, start.offset + 4), Point(end.block, end.span, end.offset + 4)));
  },

  unindentLine() {
    const lines = selectedLines(this, ['ERR067', 'ERR068', 'ERR069']);
    const removedFrom = {};
    for (let s = lines.start.span; s <= lines.end.span; s++) {
      const span = lines.spans[s];
      if (span.Type === SpanType.Break) continue;
      let count = 0;
      while (count < 4 && span.Text.charAt(count) === ' ') count++;
      span.Text = span.Text.slice(count);
      removedFrom[s] = count;
    }
    this.setBlockSpans(lines.start.block, lines.spans);
    const start = lines.start;
    const end = lines.end;
    this.setSelection(Range(
      Point(start.block, start.span, Math.max(0, start.offset - (removedFrom[start.span] || 0))),
      Point(end.block, end.span, Math.max(0, end.offset - (removedFrom[end.span] || 0)))));
  },
};

// New paragraphs keep the writing direction of the one they come from.
function copyDirection(editor, from, to) {
  const dir = editor.blocks[from].getAttribute('dir');
  if (dir) editor.blocks[to].setAttribute('dir', dir);
}

// A new item of a list is spaced as the item it comes from and stands in its
// quotations; the new first item of a list takes over the number the list starts at.
function copyListAttributes(editor, from, to) {
  const record = readBlockAttributes(editor.blocks[from], {});
  const start = record.Start;
  delete record.Start;
  if (to < from && start) {
    writeBlockAttributes(editor.blocks[from], Object.assign({}, record));
    record.Start = start;
  }
  if (record.Spacing || record.Start || record.Quote) writeBlockAttributes(editor.blocks[to], record);
}

// The selected lines of a code block, as span indices within its start block.
function selectedLines(editor, codes) {
  const range = editor.getSelection();
  const start = range.start;
  const end = range.end.block === start.block ? range.end : editor.getBlockEnd(start.block);
  const spans = editor.getBlockSpans(start.block);
  assert(spans[start.span].Type !== SpanType.Break, codes[0]);
  assert(spans[end.span].Type !== SpanType.Break, codes[1]);
  assert(end.span >= start.span, codes[2]);
  return { start: start, end: end, spans: spans };
}
