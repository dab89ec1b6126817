// Word and character counts of the document and of the selection. Comments and
// link definitions count nothing, labels count nothing, everything else counts
// (code, math, URLs, footnote text; a line break is one character).
//
// The window title asks for the selection's counts, and then the document's, at
// every idle moment, so each block's counts are kept (BlockDerivedCache) until
// that block changes.
import { BlockDerivedCache } from './block-cache.js';
import { blockTypeOfElement, readBlockSpans } from './block-elements.js';
import { BlockStore } from './block-store.js';
import { editor } from './current-editor.js';
import { BlockType, Span, SpanType, isLinkTextType } from './types.js';

// Removed (not replaced) before words are counted, so a hyphenated word is one.
const COUNT_IGNORED_CHARACTERS = /['";:,.?\u00BF\-!\u00A1]/g;

function countText(text) {
  const words = text.replace(COUNT_IGNORED_CHARACTERS, '').match(/\S+/g);
  return { chars: text.length, words: words ? words.length : 0 };
}

// What a block contributes: its counts when it counts at all, the label it
// defines when it is a note, and the labels it uses after a link text (which
// make notes with that label link definitions).
function countEntryOf(type, blockSpans) {
  const entry = { chars: 0, words: 0, defines: null, linkLabels: null };
  if (type === BlockType.Comment) return entry;
  const spans = blockSpans.filter(function (s) { return s.Text !== ''; });
  let text = '';
  for (let s = 0; s < spans.length; s++) {
    const span = spans[s];
    if (span.Type !== SpanType.NoteRef) {
      text += span.Text;
    } else if (s > 0 && isLinkTextType(spans[s - 1].Type)) {
      (entry.linkLabels = entry.linkLabels || []).push(span.Text);
    }
  }
  if (type === BlockType.Note && spans.length && spans[0].Type === SpanType.NoteRef) entry.defines = spans[0].Text;
  const counts = countText(text);
  entry.chars = counts.chars;
  entry.words = counts.words;
  return entry;
}

function blockCountEntry(element) {
  return countEntryOf(blockTypeOfElement(element), readBlockSpans(element));
}

// The spans a record's element will give back when read.
export function spansAsShown(record) {
  if (record.Type !== BlockType.Image) return record.Spans;
  return [Span(SpanType.Url, record.Spans.map(function (s) { return s.Text; }).join(''))];
}

// The counts of blocks' entries in document order: a note whose label a link
// among them uses is a link definition and counts nothing.
function sumEntries(entries) {
  const linkLabels = new Set();
  for (const entry of entries) {
    if (entry.linkLabels) for (const label of entry.linkLabels) linkLabels.add(label);
  }
  const total = { chars: 0, words: 0 };
  for (const entry of entries) {
    if (entry.defines !== null && linkLabels.has(entry.defines)) continue;
    total.chars += entry.chars;
    total.words += entry.words;
  }
  return total;
}

export const countsMethods = {
  // A loaded document's counts come from its records, which are at hand, rather
  // than from reading back thousands of new elements at the first idle moment.
  replaceAllBlocks(records) {
    BlockStore.prototype.replaceAllBlocks.call(this, records);
    const cache = countCacheOf(this);
    cache.refresh();
    for (let i = 0; i < records.length && i < this.blocks.length; i++) {
      cache.set(this.blocks[i], countEntryOf(records[i].Type, spansAsShown(records[i])));
    }
  },

  documentCounts() {
    const cache = countCacheOf(this);
    cache.refresh();
    return sumEntries(this.blocks.map(function (element) { return cache.get(element); }));
  },

  // The selection counts as its copy would: the partly selected blocks by
  // their selected spans, the blocks between whole (from the cache). Within
  // one block the block's own type decides, so selected comment text counts
  // nothing, as it does in the document's counts.
  selectionCounts() {
    const range = this.getSelection();
    const start = range.start;
    const end = range.end;
    if (range.collapsed) return { chars: 0, words: 0 };
    if (start.block === end.block) {
      return sumEntries([countEntryOf(this.getBlockType(start.block), this.copySpans(start, end))]);
    }
    const cache = countCacheOf(this);
    cache.refresh();
    const entries = [];
    const head = this.copyHead(start);
    if (head) entries.push(countEntryOf(head.Type, head.Spans));
    for (let i = start.block + 1; i < end.block; i++) entries.push(cache.get(this.blocks[i]));
    const tail = this.copyTail(end);
    if (tail) entries.push(countEntryOf(tail.Type, tail.Spans));
    return sumEntries(entries);
  },
};

export function getCharCount() { return editor.documentCounts().chars; }
export function getWordCount() { return editor.documentCounts().words; }
export function getCharCountSelected() { return editor.selectionCounts().chars; }
export function getWordCountSelected() { return editor.selectionCounts().words; }
// All four for the status line in one call: "words chars selectedWords selectedChars".
export function getCounts() {
  const total = editor.documentCounts();
  const selected = editor.selectionCounts();
  return `${total.words} ${total.chars} ${selected.words} ${selected.chars}`;
}

function countCacheOf(editor) {
  if (!editor.countCache) editor.countCache = new BlockDerivedCache(editor.root, blockCountEntry);
  return editor.countCache;
}
