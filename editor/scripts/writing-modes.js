// Focus mode dims every block but the one being written; typewriter mode keeps
// the caret's line in the middle of the window. Both follow the selection at a
// cost that does not grow with the document: one mark is moved, and the caret's
// line is measured once a frame.
import { editor } from './current-editor.js';
import { pageScroller } from './view-position.js';

const FOCUS = 'FocusMode';
const TYPEWRITER = 'TypewriterMode';
const MARK = 'data-caret';

let marked = null;
let centring = false;
let pointerDown = false;
let zoomFactor = 1;

function isOn(value) {
  return value === true || value === 1 || value === '1' || value === 'true';
}

function hasMode(name) {
  return editor.root.classList.contains(name);
}

// The block DIV holding the selection's focus (in a table: its cell's block).
function caretBlock() {
  const selection = window.getSelection();
  let node = selection.rangeCount ? selection.focusNode : null;
  if (!node || !editor.root.contains(node)) return null;
  while (node && node !== editor.root) {
    if (node.nodeName === 'DIV' && node.firstChild && node.firstChild.nodeName === 'SPAN') return node;
    node = node.parentNode;
  }
  return null;
}

// The attribute is outside what undo records, and it is taken from the block
// that had it even after that block left the document.
function markCaretBlock() {
  const block = hasMode(FOCUS) ? caretBlock() : null;
  if (block === marked) return;
  if (marked) marked.removeAttribute(MARK);
  if (block) block.setAttribute(MARK, '');
  marked = block;
}

function caretLineRect() {
  const selection = window.getSelection();
  const node = selection.rangeCount ? selection.focusNode : null;
  if (!node || !editor.root.contains(node)) return null;
  const range = document.createRange();
  range.setStart(node, selection.focusOffset);
  const rects = range.getClientRects();
  if (rects.length) return rects[rects.length - 1];
  const element = node.nodeType === Node.ELEMENT_NODE ? node : node.parentNode;
  const rect = element.getBoundingClientRect();
  return rect.height ? rect : null;
}

function centreCaretLine() {
  centring = false;
  if (!hasMode(TYPEWRITER) || pointerDown) return;
  const scroller = pageScroller();
  const error = function () {
    const line = caretLineRect();
    if (!line) return 0;
    // The body fills the window; measured like the line, its middle is in the
    // same units whether or not the engine scales client rectangles by zoom.
    const view = scroller === document.body ? scroller.getBoundingClientRect() : { top: 0, height: window.innerHeight };
    return line.top + line.height / 2 - (view.top + view.height / 2);
  };
  const before = error();
  if (Math.abs(before) < 1) return;
  const start = scroller.scrollTop;
  scroller.scrollTop = start + before;
  // Zoom can make scroll offsets and client pixels differ; the second step
  // corrects by the ratio the first one showed.
  const after = error();
  if (Math.abs(after) >= 1 && before !== after) scroller.scrollTop = start + before * before / (before - after);
}

function centreSoon() {
  if (centring || !hasMode(TYPEWRITER)) return;
  centring = true;
  requestAnimationFrame(centreCaretLine);
}

// Half the window in the zoomed page's own pixels: engines differ in whether
// zoom scales viewport units, but all scale pixels.
function notePadding() {
  document.body.style.setProperty('--half-window', (window.innerHeight / 2 / zoomFactor) + 'px');
}

export function installWritingModes() {
  notePadding();
  document.addEventListener('selectionchange', function () {
    markCaretBlock();
    centreSoon();
  });
  window.addEventListener('resize', function () {
    notePadding();
    centreSoon();
  });
  // A selection made with the mouse is left where the user drags it.
  document.addEventListener('mousedown', function () { pointerDown = true; }, true);
  document.addEventListener('mouseup', function () {
    pointerDown = false;
    centreSoon();
  }, true);
}

export function setFocusMode(on) {
  editor.root.classList.toggle(FOCUS, isOn(on));
  markCaretBlock();
}

export function setTypewriterMode(on) {
  editor.root.classList.toggle(TYPEWRITER, isOn(on));
  centreSoon();
}

export function noteZoomFactor(factor) {
  zoomFactor = Number(factor) || 1;
  notePadding();
  centreSoon();
}
