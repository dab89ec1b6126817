// Where the reader is in the document: the caret's block, the block at the top of
// the view and how far below the view's top it starts, so a document loaded again
// (changed on disk) opens at the same place. The pixel scroll offset alone is not
// enough: blocks out of view are laid out lazily, so the same offset can land on
// other text until they have been shown.
import { Point } from './base.js';
import { editor } from './current-editor.js';

// The body scrolls when the style sheet gives it its own overflow; else the page.
export function pageScroller() {
  const body = document.body;
  if (body.scrollHeight > body.clientHeight && getComputedStyle(body).overflowY !== 'visible') return body;
  return document.scrollingElement || document.documentElement;
}

export function viewTop(scroller) {
  return scroller === document.body ? scroller.getBoundingClientRect().top : 0;
}

// The first block that reaches below the view's top, by halving: only the few
// blocks probed are laid out.
function topBlockInView(scroller) {
  const blocks = editor.blocks;
  const top = viewTop(scroller);
  let lo = 0;
  let hi = blocks.length - 1;
  while (lo < hi) {
    const mid = (lo + hi) >> 1;
    if (blocks[mid].getBoundingClientRect().bottom <= top) lo = mid + 1; else hi = mid;
  }
  return { top: lo, offset: Math.round(blocks[lo].getBoundingClientRect().top - top) };
}

export function getViewPosition() {
  const scroller = pageScroller();
  return JSON.stringify(Object.assign({ block: editor.getSelection().end.block, scroll: scroller.scrollTop },
    topBlockInView(scroller)));
}

function restoreView(scroller, position, last) {
  if (!Number.isInteger(position.top)) {
    scroller.scrollTop = Number(position.scroll) || 0;
    return;
  }
  const element = editor.blocks[Math.max(0, Math.min(position.top, last))];
  const offset = Number(position.offset) || 0;
  const error = function () { return element.getBoundingClientRect().top - viewTop(scroller) - offset; };
  element.scrollIntoView({ block: 'start' });
  // Zoom can make scroll offsets and client pixels differ; the second step
  // corrects by the ratio the first one showed.
  const before = error();
  const startScroll = scroller.scrollTop;
  scroller.scrollTop = startScroll + before;
  const after = error();
  if (Math.abs(after) >= 1 && before !== after) scroller.scrollTop = startScroll + before * before / (before - after);
}

// Blocks are clamped to the document, which may have become shorter.
export function setViewPosition(json) {
  let position;
  try { position = JSON.parse(json); } catch (error) { return false; }
  if (!position || typeof position !== 'object') return false;
  const last = editor.getBlockCount() - 1;
  const block = Math.max(0, Math.min(Number(position.block) || 0, last));
  editor.setCaret(Point(block, 0, 0));
  const scroller = pageScroller();
  restoreView(scroller, position, last);
  // Placing the caret scrolls it into view once the command ends; the reader's
  // own position wins over that.
  queueMicrotask(function () { restoreView(scroller, position, last); });
  return true;
}
