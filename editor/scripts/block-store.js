// BlockStore: the ordered list of block DIVs and the element structure of each.
// `blocks` is the truth about order; the tree under the root follows it.
import { Point, assert } from './base.js';
import { blockGroupsMethods } from './block-groups.js';
import { blockRenderMethods } from './block-render.js';
import { collectBlockElements, createBlockElement, readBlockSpans, writeBlockAttributes, writeBlockSpans } from './block-elements.js';
import { selectionMethods } from './selection.js';
import { markBlockSpelling } from './spelling.js';
import { SpanList } from './spans.js';
import { BlockType, emptyPlain, isTableType, spanWithText } from './types.js';

export class BlockStore {
  constructor(root) {
    this.root = root;
    this.blocks = [];
    this.updatesSuspended = false;
    if (root) {
      root.contentEditable = true;
      root.editorRoot = true;
    }
  }

  getBlockCount() {
    return this.blocks.length;
  }

  getBlockType(i) {
    const type = this.blocks[i].className.split(' ')[0];
    assert(type, 'ERR073');
    return type;
  }

  setBlockType(i, type) {
    const element = this.blocks[i];
    const wasTable = isTableType(this.getBlockType(i));
    element.className = type + ' Indent0';
    markBlockSpelling(element, type);
    // Only a change into or out of a table alters the grouping around it.
    if (wasTable || isTableType(type)) this.spliceBlocks(i, 1, [element]);
  }

  getBlockLevel(i) {
    const classes = this.blocks[i].className.split(' ');
    const word = classes[1] || '';
    return parseInt(word.charAt(word.length - 1), 10) || 0;
  }

  setBlockLevel(i, level) {
    this.blocks[i].className = this.getBlockType(i) + ' Indent' + level;
  }

  getBlockRTL(i) {
    return this.blocks[i].getAttribute('dir') === 'rtl';
  }

  setBlockRTL(i, flag) {
    this.blocks[i].setAttribute('dir', flag ? 'rtl' : 'ltr');
  }

  getBlockSpans(i) {
    return readBlockSpans(this.blocks[i]);
  }

  // With `donor` (the index of another block), that block's last spans are
  // moved over where they are the last ones wanted (see writeBlockSpans).
  setBlockSpans(i, spans, donor) {
    writeBlockSpans(this.blocks[i], spans, donor === undefined ? null : this.blocks[donor]);
  }

  getSpanCount(i) {
    return this.getBlockSpans(i).length;
  }

  getSpanType(i, s) {
    return this.getBlockSpans(i)[s].Type;
  }

  getSpan(i, s) {
    return this.getBlockSpans(i)[s];
  }

  setSpan(i, s, span) {
    const spans = this.getBlockSpans(i);
    spans[s] = spanWithText(span, span.Text);
    this.setBlockSpans(i, spans);
  }

  // A rule has no text but is not an empty paragraph.
  isBlockEmpty(i) {
    if (this.getBlockType(i) === BlockType.Divider) return false;
    const spans = this.getBlockSpans(i);
    return spans.length === 1 && spans[0].Text === '';
  }

  insertBlock(i, type, level, spans) {
    const element = createBlockElement(type || BlockType.Plain, level || 0, spans || [emptyPlain()]);
    this.spliceBlocks(i, 0, [element]);
  }

  removeBlock(i) {
    this.spliceBlocks(i, 1, []);
  }

  // Removes `count` blocks from index i in one step.
  removeBlocks(i, count) {
    if (count > 0) this.spliceBlocks(i, count, []);
  }

  suspendUpdates() {
    this.updatesSuspended = true;
  }

  // The tree is kept in step with `blocks` at every change, so there is
  // nothing left to render when a suspension ends.
  resumeUpdates() {
    this.updatesSuspended = false;
  }

  replaceAllBlocks(records) {
    this.suspendUpdates();
    try {
      assert(records.length > 0, 'ERR086');
      const elements = records.map(function (r) {
        const element = createBlockElement(r.Type, r.Level, r.Spans);
        element.setAttribute('dir', r.RTL ? 'rtl' : 'ltr');
        if (r.Info || r.Alt || r.Title || r.Spacing || r.Start || r.Quote || r.Align || r.Widths) writeBlockAttributes(element, r);
        return element;
      });
      this.spliceBlocks(0, this.blocks.length, elements);
    } finally {
      this.resumeUpdates();
    }
  }

  getContent() {
    return this.root.innerHTML;
  }

  setContent(html) {
    this.root.innerHTML = html;
    this.setBlocks(collectBlockElements(this.root));
  }

  getSpanLength(i, s) {
    return this.getBlockSpans(i)[s].Text.length;
  }

  pointToOffset(point) {
    const spans = this.getBlockSpans(point.block);
    let offset = point.offset;
    for (let s = 0; s < point.span; s++) offset += spans[s].Text.length;
    return offset;
  }

  // An offset on a boundary lands at the end of the earlier span.
  offsetToPoint(block, offset) {
    const spans = this.getBlockSpans(block);
    let rest = offset;
    for (let s = 0; s < spans.length; s++) {
      if (spans[s].Text.length >= rest) return Point(block, s, rest);
      rest -= spans[s].Text.length;
    }
    const last = spans.length - 1;
    return Point(block, last, spans[last].Text.length);
  }

  getBlockStart(i) {
    return Point(i, 0, 0);
  }

  getBlockEnd(i) {
    const spans = this.getBlockSpans(i);
    const last = spans.length - 1;
    return Point(i, last, spans[last].Text.length);
  }

  getSpanStart(i, s) {
    assert(s >= 0 && s < this.getSpanCount(i), 'ERR070');
    return Point(i, s, 0);
  }

  getSpanEnd(i, s) {
    const spans = this.getBlockSpans(i);
    assert(s >= 0 && s < spans.length, 'ERR070');
    return Point(i, s, spans[s].Text.length);
  }

  // Text-wise start and end: empty spans before or after the caret do not count.
  isAtBlockStart(point) {
    return this.pointToOffset(point) === 0;
  }

  isAtBlockEnd(point) {
    return this.pointToOffset(point) === SpanList.textLength(this.getBlockSpans(point.block));
  }

  setNavigationMode(flag) {
    this.root.classList.toggle('navigation', flag);
  }

  getNavigationMode() {
    return this.root.classList.contains('navigation');
  }
}

// Grouping, rendering and the selection are kept in modules of their own.
Object.assign(BlockStore.prototype, blockGroupsMethods, blockRenderMethods, selectionMethods);
