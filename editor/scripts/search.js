// Search with the browser's own find-in-page, case-insensitive and forwards,
// wrapping once to the start of the document. With Match case or Whole word
// the page finds the matches itself (search-replace.js).
//
// The browser scans the rendered text from the selection on, which takes long
// when the next match is far away. A folded copy of each block's text tells
// which blocks can hold a match, and the browser's find starts at the first of
// them. The browser compares letters loosely (case, accents, ligatures, width,
// digits of other scripts), so the folding is at least as loose, and only
// search texts of Latin letters, digits and spaces use it; any other text is
// left to the browser alone.
'use strict';

// Letters the browser takes as a plain Latin letter that decomposition keeps whole.
const SEARCH_LETTER_FOLDS = {
  'ø': 'o', 'đ': 'd', 'ð': 'd', 'ł': 'l', 'ħ': 'h', 'ŧ': 't', 'ı': 'i',
  'ß': 'ss', 'æ': 'ae', 'œ': 'oe', 'þ': 'th',
};

function searchFold(text) {
  return text.normalize('NFKD').toLowerCase()
    .replace(/[\p{M}\p{Cf}]/gu, '')
    .replace(/[øđðłħŧıßæœþ]/g, function (c) { return SEARCH_LETTER_FOLDS[c]; })
    .replace(/\s/g, ' ');
}

// A pattern for the folded block texts, or null for a search text the folding
// cannot judge.
function searchPattern(text) {
  if (!/^[A-Za-z0-9 ]+$/.test(text)) return null;
  return new RegExp(text.toLowerCase().replace(/[0-9]/g, '\\p{Nd}'), 'u');
}

function blockSearchText(element) {
  return searchFold(readBlockSpans(element).map(function (s) { return s.Text; }).join(''));
}

function browserFind(text) {
  return window.find(text, false, false, false, false, false, false);
}

Object.assign(Editor.prototype, {
  prepareSearch() {
    this.searchOrigin = this.getSelection();
  },

  // A start point left behind by a document loaded since falls back to the
  // document start.
  startSearch(text) {
    const origin = this.searchOrigin ? this.searchOrigin.start : Point(0, 0, 0);
    this.setCaret(origin.block < this.getBlockCount() ? origin : Point(0, 0, 0));
    this.continueSearch(text);
  },

  // An empty search text finds nothing and leaves the caret where it is.
  continueSearch(text) {
    text = String(text === undefined || text === null ? '' : text);
    if (!text) return;
    if (this._searchOptionsOn()) {
      this._findWithOptions(text);
      return;
    }
    const pattern = searchPattern(text);
    if (!pattern) {
      if (browserFind(text)) return;
      this.setCaret(Point(0, 0, 0));
      browserFind(text);
      return;
    }
    const range = this.getSelection();
    if (this._findFrom(text, pattern, range.start, !range.collapsed)) return;
    this.setCaret(Point(0, 0, 0));
    this._findFrom(text, pattern, Point(0, 0, 0), false);
  },

  // Finds from a point: the browser starts there when the point's block can
  // hold a match after it, else at the start of the next block that can. With
  // a selection (the match before) the next match starts after its start.
  _findFrom(text, pattern, point, pastPoint) {
    if (!this.searchCache) this.searchCache = new BlockDerivedCache(this.root, blockSearchText);
    this.searchCache.refresh();
    const rest = this.getBlockSpans(point.block).map(function (s) { return s.Text; }).join('')
      .slice(this.pointToOffset(point) + (pastPoint ? 1 : 0));
    if (pattern.test(searchFold(rest))) return browserFind(text);
    for (let i = point.block + 1; i < this.blocks.length; i++) {
      if (pattern.test(this.searchCache.get(this.blocks[i]))) {
        this.setCaret(Point(i, 0, 0));
        return browserFind(text);
      }
    }
    return false;
  },
});

function prepareSearch() { editor.prepareSearch(); }
function startSearch(text) { editor.startSearch(text); }
function continueSearch(text) { editor.continueSearch(text); }
