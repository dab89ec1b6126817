// Word and character counts of the document and of the selection. Comments and
// link definitions count nothing, labels count nothing, everything else counts
// (code, math, URLs, footnote text; a line break is one character).
//
// The window title asks for the document's counts at every idle moment, so each
// block's counts are kept (BlockDerivedCache) until that block changes.
'use strict';

// Removed (not replaced) before words are counted, so a hyphenated word is one.
const COUNT_IGNORED_CHARACTERS = /['";:,.?\u00BF\-!\u00A1]/g;

function countText(text) {
  const words = text.replace(COUNT_IGNORED_CHARACTERS, '').match(/\S+/g);
  return { chars: text.length, words: words ? words.length : 0 };
}

// Counts of a model array with root "text" (the form copy produces).
function countModel(model) {
  assert(model[0] === 'text', 'ERR092');
  const total = { chars: 0, words: 0 };
  for (let b = 1; b < model.length; b++) {
    const block = model[b];
    if (block[0] === 'comment' || block[0] === 'link') continue;
    let text = '';
    for (let s = 2; s < block.length; s++) {
      if (block[s][0] !== 'noteref' && block[s][0] !== 'linkref') text += block[s][1];
    }
    const counts = countText(text);
    total.chars += counts.chars;
    total.words += counts.words;
  }
  return total;
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
    } else if (s > 0 && spans[s - 1].Type === SpanType.LinkText) {
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
function spansAsShown(record) {
  if (record.Type !== BlockType.Image) return record.Spans;
  return [Span(SpanType.Url, record.Spans.map(function (s) { return s.Text; }).join(''))];
}

// Document counts: blocks in order, minus notes whose label a link uses.
function countBlocks(cache, blocks) {
  cache.refresh();
  const linkLabels = new Set();
  const entries = [];
  for (const element of blocks) {
    const entry = cache.get(element);
    entries.push(entry);
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

// A loaded document's counts come from its records, which are at hand, rather
// than from reading back thousands of new elements at the first idle moment.
Editor.prototype.replaceAllBlocks = function (records) {
  BlockStore.prototype.replaceAllBlocks.call(this, records);
  const cache = this._countCache();
  cache.refresh();
  for (let i = 0; i < records.length && i < this.blocks.length; i++) {
    cache.set(this.blocks[i], countEntryOf(records[i].Type, spansAsShown(records[i])));
  }
};

Object.assign(Editor.prototype, {
  _countCache() {
    if (!this.countCache) this.countCache = new BlockDerivedCache(this.root, blockCountEntry);
    return this.countCache;
  },

  documentCounts() {
    return countBlocks(this._countCache(), this.blocks);
  },

  selectionCounts() {
    const range = this.getSelection();
    if (range.collapsed) return { chars: 0, words: 0 };
    const records = range.start.block === range.end.block
      // Within one block the block's own type decides, so selected comment
      // text counts nothing, as it does in the document's counts.
      ? [{ Type: this.getBlockType(range.start.block), Level: 0, Spans: this.copySpans(range.start, range.end) }]
      : this.copyBlocks(range.start, range.end);
    return countModel(fromModel(records));
  },
});

function getCharCount() { return editor.documentCounts().chars; }
function getWordCount() { return editor.documentCounts().words; }
function getCharCountSelected() { return editor.selectionCounts().chars; }
function getWordCountSelected() { return editor.selectionCounts().words; }
