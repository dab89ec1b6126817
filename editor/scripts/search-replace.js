// Match case and Whole word for the search, Replace and Replace All.
// Without options the search stays the browser's own find (search.js); with
// them the page finds the matches itself in the blocks' texts. Replacing
// always uses the page's matching, as loose as the browser's without Match
// case, so what Find Next selects is what Replace replaces.
import { Point, Range, ZWSP } from './base.js';
import { BlockDerivedCache } from './block-cache.js';
import { readBlockSpans } from './block-elements.js';
import { editor } from './current-editor.js';
import { SpanList } from './spans.js';
import { findTextMatches, foldForMatching, replaceSpanRanges } from './text-matches.js';
import { BlockType, SpanType, isObjectType } from './types.js';

// Spans whose text is no running text: a match must not touch them.
const UNMATCHED_SPAN_TYPES = new Set([SpanType.NoteRef, SpanType.Break]);

// What matching needs of a block, read once and kept until the block changes.
function blockMatchText(element) {
  const spans = readBlockSpans(element);
  const text = spans.map(function (s) { return s.Text; }).join('');
  const fold = foldForMatching(text);
  return { spans: spans, text: text, folded: fold.folded, starts: fold.starts };
}

// Writes new span texts into a block whose span types stay as they were, text
// node by text node; false when the spans differ in number or type.
function updateBlockSpanTexts(element, before, after) {
  if (before.length !== after.length) return false;
  for (let s = 0; s < after.length; s++) if (before[s].Type !== after[s].Type) return false;
  const children = element.childNodes;
  for (let s = 0; s < after.length; s++) {
    if (before[s].Text !== after[s].Text) children[s + 2].firstChild.data = ZWSP + after[s].Text + ZWSP;
  }
  return true;
}

// Matches inside spans of running text only.
function matchesInSpans(spans, matches) {
  const closed = [];
  let position = 0;
  for (const span of spans) {
    if (UNMATCHED_SPAN_TYPES.has(span.Type)) closed.push({ start: position, end: position + span.Text.length });
    position += span.Text.length;
  }
  if (!closed.length) return matches;
  return matches.filter(function (m) {
    return !closed.some(function (c) { return m.start < c.end && c.start < m.end; });
  });
}

export const searchReplaceMethods = {
  setSearchOptions(options) {
    this.searchOptions = { matchCase: !!options.matchCase, wholeWord: !!options.wholeWord };
  },

  searchOptionsOn() {
    const options = this.searchOptions;
    return !!options && (options.matchCase || options.wholeWord);
  },

  // Forwards from the selection (past the start of a selected match), wrapping
  // once to the document start; nothing found leaves the caret at the start.
  findWithOptions(query) {
    const range = this.getSelection();
    const offset = this.pointToOffset(range.start) + (range.collapsed ? 0 : 1);
    if (selectMatchFrom(this, query, range.start.block, offset)) return;
    this.setCaret(Point(0, 0, 0));
    selectMatchFrom(this, query, 0, 0);
  },

  // Replaces the selected match, if the selection is one, and finds the next.
  replaceMatch(query, replacement) {
    const match = selectedMatch(this, query);
    if (match) {
      this.beforeChanges();
      const spans = replaceSpanRanges(this.getBlockSpans(match.block), [match], replacement);
      this.setBlockSpans(match.block, spans);
      this.setCaret(this.offsetToPoint(match.block, match.start + replacement.length));
    }
    this.continueSearch(query);
    return !!match;
  },

  // Every match in the document, as one undo step; returns how many.
  replaceAll(query, replacement) {
    if (!query) return 0;
    this.matchCache && this.matchCache.refresh();
    const found = [];
    for (let i = 0; i < this.blocks.length; i++) {
      const inBlock = blockMatches(this, i, query);
      if (inBlock.matches.length) found.push({ block: i, spans: inBlock.spans, matches: inBlock.matches });
    }
    if (!found.length) return 0;
    const caret = this.getSelection().start;
    const caretOffset = this.pointToOffset(caret);
    this.beforeChanges();
    let count = 0;
    for (const f of found) {
      const spans = replaceSpanRanges(f.spans, f.matches, replacement);
      if (!updateBlockSpanTexts(this.blocks[f.block], f.spans, spans)) this.setBlockSpans(f.block, spans);
      count += f.matches.length;
    }
    const length = SpanList.textLength(this.getBlockSpans(caret.block));
    this.setCaret(this.offsetToPoint(caret.block, Math.min(caretOffset, length)));
    return count;
  },
};

export function setSearchOptions(json) { editor.setSearchOptions(JSON.parse(String(json))); }
export function replaceMatch(query, replacement) { return editor.replaceMatch(String(query || ''), String(replacement || '')); }
export function replaceAll(query, replacement) { return editor.replaceAll(String(query || ''), String(replacement || '')); }

// The matches in block i with the block's spans as { spans, matches }, or
// no matches for blocks without running text.
function blockMatches(editor, i, query) {
  const type = editor.getBlockType(i);
  if (isObjectType(type) || type === BlockType.Final) return { spans: null, matches: [] };
  if (!editor.matchCache) editor.matchCache = new BlockDerivedCache(editor.root, blockMatchText);
  const entry = editor.matchCache.get(editor.blocks[i]);
  const matches = findTextMatches(entry.text, query, editor.searchOptions || {}, entry);
  return { spans: entry.spans, matches: matches.length ? matchesInSpans(entry.spans, matches) : matches };
}

// Selects the first match at or after `offset` in block `from` or in a
// block after it; false when there is none.
function selectMatchFrom(editor, query, from, offset) {
  editor.matchCache && editor.matchCache.refresh();
  for (let i = from; i < editor.blocks.length; i++) {
    const match = blockMatches(editor, i, query).matches.find(function (m) { return i > from || m.start >= offset; });
    if (match) {
      editor.setSelection(Range(editor.offsetToPoint(i, match.start), editor.offsetToPoint(i, match.end)));
      return true;
    }
  }
  return false;
}

// The selection as a match of the query: { block, start, end } or null.
function selectedMatch(editor, query) {
  const range = editor.getSelection();
  if (range.collapsed || range.start.block !== range.end.block) return null;
  const start = editor.pointToOffset(range.start);
  const end = editor.pointToOffset(range.end);
  const block = range.start.block;
  editor.matchCache && editor.matchCache.refresh();
  const found = blockMatches(editor, block, query).matches.some(function (m) { return m.start === start && m.end === end; });
  return found ? { block: block, start: start, end: end } : null;
}
