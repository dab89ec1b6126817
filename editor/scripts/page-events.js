// The page's ties to the shell and the browser: the host callbacks and the
// event handlers that route typing, clicks and drags.
import { followLink } from './notes-links-images.js';
import { insertSpace, shouldInsertText } from './page-functions.js';

// The host object appears when the shell's channel is ready, possibly after the
// page has started; without it the callbacks do nothing.
function callHost(name, args) {
  const host = window.Host;
  if (host && typeof host[name] === 'function') host[name].apply(host, args);
}

export function connectHost(target) {
  target.onChangeDone = function () { callHost('callbackChangeDone', []); };
  target.onChangeUndone = function () { callHost('callbackChangeUndone', []); };
  target.onOpenUrl = function (url) { callHost('callbackOpenUrl_', [url]); };
  target.onOpenFile = function (path) { callHost('callbackOpenFile_', [path]); };
}

function cancelEvent(event) {
  event.preventDefault();
  event.stopPropagation();
}

export function installPageEvents(target) {
  const root = target.root;
  document.addEventListener('selectionchange', function () { target.onSelectionChange(); });
  root.addEventListener('click', function (event) {
    if (event.target.nodeName === 'IMG') {
      const border = event.target.parentNode;
      window.getSelection().setBaseAndExtent(border.firstChild, 0, border.firstChild, 1);
      cancelEvent(event);
    } else if (target.getNavigationMode()) {
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
