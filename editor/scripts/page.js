// The page's global functions (called by the shell by name), its event
// handling, and its start. Functions that answer a key return false when they
// handled it and true when the browser's own handling should follow.
'use strict';

let editor = null;

function initEditor(element) {
  const store = new BlockStore(element);
  editor = new Editor(store);
  new ListNumbering(element);
  editor.setTextJson('["text"]');
  return editor;
}

function setTextJson(json) { editor.setTextJson(json); }
function getTextJson() { return editor.getTextJson(); }

function undo() { editor.undoChanges(); }
function redo() { editor.redoChanges(); }

function scrollToSelection() {
  editor.scrollToSelection();
  return true;
}

function setZoomFactor(factor) {
  document.body.style.zoom = (100 * Number(factor)) + '%';
}

function enterNavigationMode() { editor.setNavigationMode(true); }
function leaveNavigationMode() { editor.setNavigationMode(false); }

function setThemeCss(css) {
  document.getElementById('theme.css').textContent = css;
}

// Relative image references resolve against the document's folder. The first
// BASE element of a page is the one that counts, so there is only ever one.
function setBaseUrl(url) {
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
function onImageError(img) {
  img.onerror = null;
  img.src = MISSING_IMAGE;
  return true;
}

function insertNewline() { editor.newlineKey(); return false; }
function insertLineBreak() { editor.lineBreakKey(); return false; }
function insertTab() { editor.tabKey(false); return false; }
function insertBacktab() { editor.tabKey(true); return false; }
function deleteBackward() { editor.deleteBackward(); return false; }
function deleteWordBackward() { editor.deleteWordBackward(); return false; }
function deleteForward() { editor.deleteForward(); return false; }
function deleteWordForward() { editor.deleteWordForward(); return false; }
function moveBackward() { return editor.moveBackward(); }
function moveForward() { return editor.moveForward(); }
function moveUp() { return editor.moveUp(); }
function moveDown() { return editor.moveDown(); }
function moveToBeginningOfParagraph() { editor.moveToBeginningOfParagraph(); return false; }
function moveToEndOfParagraph() { editor.moveToEndOfParagraph(); return false; }
function shouldInsertText() { return editor.shouldInsertText(); }
function insertSpace() { return editor.insertSpace(); }
function indentParagraph() { editor.indentParagraph(); return false; }
function unindentParagraph() { editor.unindentParagraph(); return false; }

// The host object appears when the shell's channel is ready, possibly after the
// page has started; without it the callbacks do nothing.
function callHost(name, args) {
  const host = window.Host;
  if (host && typeof host[name] === 'function') host[name].apply(host, args);
}

function connectHost(target) {
  target.onChangeDone = function () { callHost('callbackChangeDone', []); };
  target.onChangeUndone = function () { callHost('callbackChangeUndone', []); };
  target.onOpenUrl = function (url) { callHost('callbackOpenUrl_', [url]); };
  target.onOpenFile = function (path) { callHost('callbackOpenFile_', [path]); };
}

function cancelEvent(event) {
  event.preventDefault();
  event.stopPropagation();
}

function installPageEvents(target) {
  const root = target.root;
  document.addEventListener('selectionchange', function () { target._onSelectionChange(); });
  root.addEventListener('click', function (event) {
    if (event.target.nodeName === 'IMG') {
      const border = event.target.parentNode;
      window.getSelection().setBaseAndExtent(border.firstChild, 0, border.firstChild, 1);
      cancelEvent(event);
    } else if (target.getNavigationMode() && typeof followLink === 'function') {
      followLink();
    }
  });
  root.addEventListener('keydown', function (event) {
    if (event.keyCode === 32 && !event.isComposing && insertSpace() === false) event.preventDefault();
  });
  let composing = false;
  root.addEventListener('compositionstart', function () {
    composing = true;
    shouldInsertText();
  });
  root.addEventListener('compositionend', function () { composing = false; });
  root.addEventListener('textInput', function (event) {
    // A composition took its snapshot when it started; at its end the browser
    // selects the composed text to commit it, which must not be deleted here.
    if (composing) return;
    shouldInsertText();
    // Typed text goes into the span's text node at the caret. The page puts it
    // there itself: the browser's own editing command costs time in proportion
    // to the whole document.
    if (typeof event.data === 'string' && event.data && target.insertTextAtCaret(event.data)) {
      event.preventDefault();
    }
  });
  for (const name of ['drag', 'dragstart', 'dragend', 'dragenter', 'dragleave', 'dragover', 'drop']) {
    document.addEventListener(name, cancelEvent, true);
  }
  document.addEventListener('mousedown', function (event) {
    if (event.target === document.body || event.target === document.documentElement) event.preventDefault();
  });
}

(function startPage() {
  initEditor(document.getElementById('doc'));
  connectHost(editor);
  installPageEvents(editor);
})();
