// The page functions the shell calls by name that work on the whole page: the
// document text, undo, zoom, theme, base address, and the keys it forwards.
// Functions that answer a key return false when they handled it and true when
// the browser's own handling should follow.
import { editor } from './current-editor.js';
import { noteZoomFactor } from './writing-modes.js';

export function setTextJson(json) { editor.setTextJson(json); }
export function getTextJson() { return editor.getTextJson(); }

export function undo() { editor.undoChanges(); }
export function redo() { editor.redoChanges(); }

export function scrollToSelection() {
  editor.scrollToSelection();
  return true;
}

export function setZoomFactor(factor) {
  document.body.style.zoom = (100 * Number(factor)) + '%';
  noteZoomFactor(factor);
}

export function enterNavigationMode() { editor.setNavigationMode(true); }
export function leaveNavigationMode() { editor.setNavigationMode(false); }

export function setThemeCss(css) {
  document.getElementById('theme.css').textContent = css;
}

// Relative image references resolve against the document's folder. The first
// BASE element of a page is the one that counts, so there is only ever one.
export function setBaseUrl(url) {
  let base = document.head.querySelector('base');
  if (!base) {
    base = document.createElement('base');
    document.head.appendChild(base);
  }
  base.href = url;
}

const MISSING_IMAGE = 'data:image/svg+xml,' + encodeURIComponent(
  '<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">' +
  '<rect x="0.5" y="0.5" width="99" height="99" fill="none" stroke="#979797"/></svg>');

// A missing or unreadable image shows as an empty grey frame.
export function onImageError(img) {
  img.onerror = null;
  img.src = MISSING_IMAGE;
  return true;
}

export function insertNewline() { editor.newlineKey(); return false; }
export function insertLineBreak() { editor.lineBreakKey(); return false; }
export function insertTab() { editor.tabKey(false); return false; }
export function insertBacktab() { editor.tabKey(true); return false; }
export function deleteBackward() { editor.deleteBackward(); return false; }
export function deleteWordBackward() { editor.deleteWordBackward(); return false; }
export function deleteForward() { editor.deleteForward(); return false; }
export function deleteWordForward() { editor.deleteWordForward(); return false; }
export function moveBackward() { return editor.moveBackward(); }
export function moveForward() { return editor.moveForward(); }
export function moveUp() { return editor.moveUp(); }
export function moveDown() { return editor.moveDown(); }
export function moveToBeginningOfParagraph() { editor.moveToBeginningOfParagraph(); return false; }
export function moveToEndOfParagraph() { editor.moveToEndOfParagraph(); return false; }
export function moveToEndOfDocument() { return editor.moveToEndOfDocument(); }
export function shouldInsertText() { return editor.shouldInsertText(); }
export function insertSpace() { return editor.insertSpace(); }
export function indentParagraph() { editor.indentParagraph(); return false; }
export function unindentParagraph() { editor.unindentParagraph(); return false; }

