// Search with the browser's own find-in-page, case-insensitive and forwards,
// wrapping once to the start of the document.
'use strict';

Object.assign(Editor.prototype, {
  prepareSearch() {
    this.searchOrigin = this.getSelection();
  },

  startSearch(text) {
    const origin = this.searchOrigin || Range(Point(0, 0, 0), Point(0, 0, 0));
    this.setCaret(origin.start);
    this.continueSearch(text);
  },

  // An empty search text finds nothing and leaves the caret where it is.
  continueSearch(text) {
    text = String(text === undefined || text === null ? '' : text);
    if (!text) return;
    if (window.find(text, false, false, false, false, false, false)) return;
    this.setCaret(Point(0, 0, 0));
    window.find(text, false, false, false, false, false, false);
  },
});

function prepareSearch() { editor.prepareSearch(); }
function startSearch(text) { editor.startSearch(text); }
function continueSearch(text) { editor.continueSearch(text); }
