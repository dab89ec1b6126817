// Reading and setting the browser selection as points, and keeping the caret
// inside the zero-width spaces of a span.
import { Point, Range, assert } from './base.js';
import { isGroup, isGroupStart } from './block-groups.js';
import { SpanType, isObjectType } from './types.js';

function isBlockElement(node) {
  return node && node.nodeName === 'DIV' && node.firstChild && node.firstChild.nodeName === 'SPAN';
}

// The block DIV reached by descending through first children (past a group's
// start marker).
export function descendToBlock(node) {
  while (node && !isBlockElement(node)) node = isGroupStart(node) ? node.nextSibling : node.firstChild;
  return node;
}

export const selectionMethods = {

  // The point nearest to a place in the window (client pixels), or null outside the document.
  pointAtViewport(x, y) {
    const range = document.caretRangeFromPoint(x, y);
    if (!range || !this.root.contains(range.startContainer) || range.startContainer === this.root) return null;
    try {
      return pointFromDom(this, range.startContainer, range.startOffset).point;
    } catch (error) {
      return null;  // a spot the caret cannot rest on (a list mark)
    }
  },

  getSelection(withCorrection) {
    const selection = window.getSelection();
    assert(selection.rangeCount === 1, 'ERR077');
    const anchor = pointFromDom(this, selection.anchorNode, selection.anchorOffset);
    const focus = pointFromDom(this, selection.focusNode, selection.focusOffset);
    const range = Range(anchor.point, focus.point);
    if (withCorrection) range.needsCorrection = anchor.corrected || focus.corrected;
    return range;
  },

  setSelection(range) {
    const anchor = domPosition(this, range.anchor);
    const focus = domPosition(this, range.focus);
    if (range.anchor.block === range.focus.block &&
        isObjectType(this.getBlockType(range.anchor.block))) {
      focus.offset = 1;
    }
    if (document.activeElement !== this.root) this.root.focus({ preventScroll: true });
    // One call keeps the direction; each selection call makes the browser lay
    // the document out, so there is only one.
    window.getSelection().setBaseAndExtent(anchor.node, anchor.offset, focus.node, focus.offset);
    this.scrollSoon();
  },

  // Commands may set the selection several times; scrolling (which needs a
  // fresh layout) is done once, when the command has finished.
  scrollSoon() {
    if (this.scrollPending) return;
    this.scrollPending = true;
    const store = this;
    queueMicrotask(function () {
      store.scrollPending = false;
      store.scrollToSelection();
    });
  },

  setCaret(point) {
    this.setSelection(Range(point, point));
  },

  getSelectedBlocks() {
    return this.selectedBlocksOf(this.getSelection());
  },

  selectedBlocksOf(range) {
    let end = range.end.block;
    if (!range.collapsed && range.end.span === 0 && range.end.offset === 0 && end > range.start.block) end -= 1;
    return { start: range.start.block, end: end };
  },

  ensureCorrectSelection() {
    const range = this.getSelection(true);
    assert(range.collapsed, 'ERR082');
    if (range.needsCorrection) this.setCaret(range.start);
    else this.scrollSoon();
  },

  scrollToSelection() {
    const selection = window.getSelection();
    let node = selection.rangeCount ? selection.focusNode : null;
    while (node && !(isBlockElement(node) && this.root.contains(node))) node = node.parentNode;
    if (node && node.scrollIntoViewIfNeeded) node.scrollIntoViewIfNeeded(false);
  },

  // Runs on every selection change: marks the active span and block for the
  // style sheet and moves a caret that rests outside the zero-width spaces.
  onSelectionChange() {
    const selection = window.getSelection();
    const node = selection.rangeCount ? selection.anchorNode : null;
    const inSpan = node && node === selection.focusNode && node.nodeType === Node.TEXT_NODE &&
      this.root.contains(node) && node.parentNode.nodeName === 'SPAN';
    const span = inSpan ? node.parentNode : null;
    // Marks are moved only when they change: each move costs a style update.
    markActive('ActiveSpan', span);
    markActive('ActiveBlock', span && span.parentNode);
    if (!span) return;
    const offset = selection.anchorOffset;
    if (offset !== selection.focusOffset || node.length === 0) return;
    if (span.className === 'ImageBorder') {
      selection.setBaseAndExtent(node, 0, node, 1);
    } else if (offset === 0) {
      selection.collapse(node, 1);
    } else if (node.length > 1 && offset === node.length) {
      selection.collapse(node, node.length - 1);
    }
  },
};

function domPosition(store, point) {
  const children = store.blocks[point.block].childNodes;
  const text = children[Math.min(point.span + 2, children.length - 1)].firstChild;
  return { node: text, offset: Math.max(0, Math.min(point.offset + 1, text.length - 1)) };
}

// Gives the id to element (none: to nothing), taking it from where it was.
function markActive(id, element) {
  const marked = document.getElementById(id);
  if (marked === element) return;
  if (marked) marked.removeAttribute('id');
  if (element) element.id = id;
}

// Maps a browser position to a point; `corrected` tells whether the position
// had to be moved to a place where the page lets the caret rest.
function pointFromDom(store, node, offset) {
  let corrected = false;
  if (node === store.root || isGroup(node)) {
    const children = node.childNodes;
    node = descendToBlock(children[Math.min(offset, children.length - 1)]);
    offset = 0;
    corrected = true;
  }
  if (node && node.nodeName === 'DIV' && !isBlockElement(node)) {
    node = descendToBlock(node);
    offset = 0;
    corrected = true;
  }
  if (node && node.nodeName === 'IMG') node = node.parentNode;
  if (node && node.nodeName === 'SPAN') {
    const text = node.firstChild;
    offset = offset === 0 ? 1 : text.length - 1;
    node = text;
    corrected = true;
  } else if (node && node.nodeName === 'DIV') {
    corrected = true;
    if (offset < 2) offset = 2;
    if (offset >= node.childNodes.length) {
      node = node.lastChild.firstChild;
      offset = node.length - 1;
    } else {
      node = node.childNodes[offset].firstChild;
      offset = 1;
    }
  }
  assert(node && node.nodeType === Node.TEXT_NODE, 'ERR078');
  const span = node.parentNode;
  assert(span && span.nodeName === 'SPAN', 'ERR079');
  const div = span.parentNode;
  const block = store.blocks.indexOf(div);
  assert(block >= 0, 'ERR080');
  if (span.className === 'ImageBorder') return { point: Point(block, 0, 0), corrected: corrected };

  const siblings = div.childNodes;
  let p = Array.prototype.indexOf.call(siblings, span);
  let n = offset;
  let text = node;
  if (p < 2) {
    p = 2;
    n = 1;
    text = siblings[2].firstChild;
    corrected = true;
    if (siblings[2].className === 'ImageBorder') return { point: Point(block, 0, 0), corrected: true };
  } else if (n === 0) {
    n = 1;
    corrected = true;
  } else if (n > text.length - 1) {
    n = text.length - 1;
    corrected = true;
  }
  if (siblings[p].className === SpanType.Break) {
    corrected = true;
    if (n === 1 && p > 2) {
      p -= 1;
      n = siblings[p].firstChild.length - 1;
    } else if (p + 1 < siblings.length) {
      p += 1;
      n = 1;
    } else {
      p -= 1;
      n = siblings[p].firstChild.length - 1;
    }
  }
  return { point: Point(block, p - 2, n - 1), corrected: corrected };
}
