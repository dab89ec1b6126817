// The document's headings for the outline panel, the heading the caret is
// under, and moving the caret to a heading. Heading texts are cached per block,
// so asking again after an edit costs a walk over the block types only.
import { Point } from './base.js';
import { BlockDerivedCache } from './block-cache.js';
import { readBlockSpans } from './block-elements.js';
import { editor } from './current-editor.js';
import { pageScroller, viewTop } from './view-position.js';

// Blocks near the view are laid out and typeset only once they are shown, so in
// the frames after a jump the blocks above the target can change height and move
// it; for this long it is put back at the top, unless the reader scrolls or types.
const SETTLE_MS = 1500;
const READER_EVENTS = ['wheel', 'keydown', 'mousedown', 'touchstart'];
let settling = null;

function keepAtTopWhileSettling(element) {
  if (settling) settling.stop();
  const scroller = pageScroller();
  const until = performance.now() + SETTLE_MS;
  let frame = 0;
  const stop = function () {
    cancelAnimationFrame(frame);
    READER_EVENTS.forEach(function (type) { window.removeEventListener(type, stop, true); });
    if (settling === run) settling = null;
  };
  const run = { stop: stop };
  const check = function () {
    if (!element.isConnected || performance.now() > until) return stop();
    if (Math.abs(element.getBoundingClientRect().top - viewTop(scroller)) >= 1) element.scrollIntoView(true);
    frame = requestAnimationFrame(check);
  };
  READER_EVENTS.forEach(function (type) { window.addEventListener(type, stop, true); });
  settling = run;
  frame = requestAnimationFrame(check);
}

function blockPlainText(element) {
  return readBlockSpans(element).map(function (s) { return s.Text; }).join('');
}

export const outlineMethods = {
  // [block index, level (0 for Heading 1), text] of every heading in order.
  outlineHeadings() {
    if (!this.headingTextCache) this.headingTextCache = new BlockDerivedCache(this.root, blockPlainText);
    this.headingTextCache.refresh();
    const headings = [];
    const blocks = this.blocks;
    for (let i = 0; i < blocks.length; i++) {
      // The class starts with the block type; read without splitting it, as
      // this walks every block.
      if (!blocks[i].className.startsWith('Heading ')) continue;
      headings.push([i, this.getBlockLevel(i), this.headingTextCache.get(blocks[i])]);
    }
    this.lastOutline = headings;
    return headings;
  },

  // The index (in the last outline) of the heading the caret is under: the
  // last one at or before the caret's block; -1 above the first heading.
  outlineCaretHeading() {
    const headings = this.lastOutline || this.outlineHeadings();
    if (window.getSelection().rangeCount !== 1) return -1;
    const block = this.getSelection().start.block;
    let low = 0;
    let high = headings.length;
    while (low < high) {
      const middle = (low + high) >> 1;
      if (headings[middle][0] <= block) low = middle + 1;
      else high = middle;
    }
    return low - 1;
  },

  // Caret to the start of block i, the block shown at the top of the view.
  goToBlock(i) {
    const block = Math.max(0, Math.min(Number(i) || 0, this.blocks.length - 1));
    this.setCaret(Point(block, 0, 0));
    this.blocks[block].scrollIntoView(true);
    keepAtTopWhileSettling(this.blocks[block]);
  },
};

export function getOutline() {
  const headings = editor.outlineHeadings();
  return JSON.stringify({ headings: headings, current: editor.outlineCaretHeading() });
}
export function getOutlineCurrent() { return editor.outlineCaretHeading(); }
export function goToBlock(i) { editor.goToBlock(i); }
