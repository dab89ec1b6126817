// Where the reader is in the document: the caret's block and how far the page is
// scrolled, so a document loaded again (changed on disk) opens at the same place.
'use strict';

// The body scrolls when the style sheet gives it its own overflow; else the page.
function pageScroller() {
  const body = document.body;
  if (body.scrollHeight > body.clientHeight && getComputedStyle(body).overflowY !== 'visible') return body;
  return document.scrollingElement || document.documentElement;
}

function getViewPosition() {
  return JSON.stringify({ block: editor.getSelection().end.block, scroll: pageScroller().scrollTop });
}

// The block is clamped to the document, which may have become shorter.
function setViewPosition(json) {
  let position;
  try { position = JSON.parse(json); } catch (error) { return false; }
  const last = editor.getBlockCount() - 1;
  const block = Math.max(0, Math.min(Number(position.block) || 0, last));
  editor.setCaret(Point(block, 0, 0));
  const scroll = Number(position.scroll) || 0;
  pageScroller().scrollTop = scroll;
  // Placing the caret scrolls it into view once the command ends; the reader's
  // own position wins over that.
  queueMicrotask(function () { pageScroller().scrollTop = scroll; });
  return true;
}
