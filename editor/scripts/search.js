// Search with the browser's own find-in-page, case-insensitive and forwards,
// wrapping once to the start of the document. With Match case or Whole word
// the page finds the matches itself (search-replace.js).
//
// The browser scans the rendered text from the selection on, which takes long
// when the next match is far away. A folded copy of each block's text tells
// which blocks can hold a match, and the browser's find starts at the first of
// them. The browser compares letters loosely (case, accents, ligatures, width,
// digits of other scripts), so the folding is at least as loose, and only
// search texts of Latin letters, digits and spaces use it; for any other text
// the browser looks into a few groups at a time.
import { Point } from './base.js';
import { BlockDerivedCache } from './block-cache.js';
import { blockTypeOfElement, readBlockSpans } from './block-elements.js';
import { spansAsShown } from './counts.js';
import { editor } from './current-editor.js';
import { BlockType } from './types.js';

// Letters the browser takes as a plain Latin letter that decomposition keeps whole.
const SEARCH_LETTER_FOLDS = {
  'ø': 'o', 'đ': 'd', 'ð': 'd', 'ł': 'l', 'ħ': 'h', 'ŧ': 't', 'ı': 'i',
  'ß': 'ss', 'æ': 'ae', 'œ': 'oe', 'þ': 'th',
};

// A letter no ASCII character matches, in any folding (not Latin, not shared
// by scripts, not ignored).
const SEARCH_OTHER_SCRIPT_LETTER =
  /(?![\p{Script=Latin}\p{Script=Common}\p{Script=Inherited}\p{Default_Ignorable_Code_Point}])\p{L}/u;

export function searchFold(text) {
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

// Plain ASCII, the common case, needs no decomposition.
function searchTextOf(text) {
  // eslint-disable-next-line no-control-regex
  return /^[\x00-\x7f]*$/.test(text) ? text.toLowerCase().replace(/\s/g, ' ') : searchFold(text);
}

// A block's text without its zero-width spaces (which folding drops anyway).
function blockSearchText(element) {
  return searchTextOf(blockTypeOfElement(element) === BlockType.Image
    ? readBlockSpans(element)[0].Text : element.textContent.replace(/\u200B/g, ''));
}

function browserFind(text) {
  return window.find(text, false, false, false, false, false, false);
}

export const searchMethods = {
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
    if (this.searchOptionsOn()) {
      this.findWithOptions(text);
      return;
    }
    const pattern = searchPattern(text);
    if (!pattern) {
      if (findGroupByGroup(this, text, this.getSelection().start.block)) return;
      this.setCaret(Point(0, 0, 0));
      if (!findGroupByGroup(this, text, 0)) this.setCaret(Point(0, 0, 0));
      return;
    }
    const range = this.getSelection();
    if (findFrom(this, text, pattern, range.start, !range.collapsed)) return;
    this.setCaret(Point(0, 0, 0));
    findFrom(this, text, pattern, Point(0, 0, 0), false);
  },

  // A loaded document's search texts come from its records, which are at hand,
  // so that the first search does not read back every block it passes.
  primeSearchTexts(records) {
    const cache = searchCacheOf(this);
    cache.refresh();
    for (let i = 0; i < records.length; i++) {
      cache.set(this.blocks[i], searchTextOf(spansAsShown(records[i]).map(function (s) { return s.Text; }).join('')));
    }
  },

};

export function prepareSearch() { editor.prepareSearch(); }
export function startSearch(text) { editor.startSearch(text); }
export function continueSearch(text) { editor.continueSearch(text); }

function findFrom(editor, text, pattern, point, pastPoint) {
  searchCacheOf(editor).refresh();
  const rest = editor.getBlockSpans(point.block).map(function (s) { return s.Text; }).join('')
    .slice(editor.pointToOffset(point) + (pastPoint ? 1 : 0));
  if (pattern.test(searchFold(rest)) && findInGroupOf(editor, point.block, text)) return true;
  for (let i = point.block + 1; i < editor.blocks.length; i++) {
    if (pattern.test(editor.searchCache.get(editor.blocks[i]))) {
      editor.setCaret(Point(i, 0, 0));
      if (findInGroupOf(editor, i, text)) return true;
    }
  }
  return false;
}

// A text the folding cannot judge: the browser's find is let into a few
// groups at a time, from the selection's on, so that it lays out only the
// groups up to about the match instead of every one it passes. Matches do
// not span blocks, so none spans groups. A text with a letter of a script
// other than Latin can only match a non-ASCII letter of that script (or one
// decomposing to it), so groups whose folded texts are all ASCII are passed over.
function findGroupByGroup(editor, text, block) {
  const start = editor.topLevelNode(editor.blocks[block]).parentNode;
  let wanted = null;
  if (SEARCH_OTHER_SCRIPT_LETTER.test(searchFold(text))) {
    const cache = searchCacheOf(editor);
    cache.refresh();
    wanted = new Set();
    for (let i = 0; i < editor.blocks.length; i++) {
      // eslint-disable-next-line no-control-regex
      if (/[^\x00-\x7f]/.test(cache.get(editor.blocks[i]))) wanted.add(editor.topLevelNode(editor.blocks[i]).parentNode);
    }
  }
  // The groups are opened in runs that double, so that a search passing many
  // groups costs few calls and lays out at most about twice what it needs.
  const groups = [];
  for (let group = start; group; group = group.nextElementSibling) if (!wanted || wanted.has(group)) groups.push(group);
  editor.root.setAttribute('data-finding', '');
  try {
    for (let from = 0, size = 1; from < groups.length; from += size, size *= 2) {
      const run = groups.slice(from, from + size);
      if (run[0] !== start) window.getSelection().collapse(run[0], 0);
      run.forEach(function (group) { group.setAttribute('data-finding', ''); });
      try {
        if (browserFind(text)) return true;
      } finally {
        run.forEach(function (group) { group.removeAttribute('data-finding'); });
      }
    }
    return false;
  } finally {
    editor.root.removeAttribute('data-finding');
  }
}

// The browser's find lays out every group it could pass that has not been
// shown, which takes seconds in a long document; it is let into the group of
// the block where the match is expected, the others hidden from it meanwhile.
function findInGroupOf(editor, block, text) {
  const group = editor.topLevelNode(editor.blocks[block]).parentNode;
  editor.root.setAttribute('data-finding', '');
  group.setAttribute('data-finding', '');
  try {
    return browserFind(text);
  } finally {
    group.removeAttribute('data-finding');
    editor.root.removeAttribute('data-finding');
  }
}

// Finds from a point: the browser starts there when the point's block can
// hold a match after it, else at the start of the next block that can. With
// a selection (the match before) the next match starts after its start.
function searchCacheOf(editor) {
  if (!editor.searchCache) editor.searchCache = new BlockDerivedCache(editor.root, blockSearchText);
  return editor.searchCache;
}
