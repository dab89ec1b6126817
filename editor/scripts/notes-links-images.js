// Footnotes, hyperlinks, following a reference or URL, and image paragraphs.
// Footnotes and link definitions are both Note blocks whose first span is a
// NoteRef holding the label.
import { Point, oneLine } from './base.js';
import { createBlockElement, readBlockAttributes, writeBlockAttributes } from './block-elements.js';
import { editor } from './current-editor.js';
import { SpanList } from './spans.js';
import { BlockType, Span, SpanType, emptyPlain, isLinkTextType, isObjectType, traitsOf } from './types.js';

// A URL starts with one of the schemes the host will open; a known scheme later
// in the text ("javascript:...//http://a.b") does not make the text a URL.
const URL_PATTERN = /^\s*(?:(?:https?|ftp|file):\/\/|mailto:)\S/i;

function containsUrl(text) {
  return URL_PATTERN.test(text);
}

export const notesLinksImagesMethods = {
  // The first note whose label (its first span with text, as the model sees
  // it) is exactly the given one, or -1.
  findNote(label) {
    for (let i = 0; i < this.blocks.length; i++) {
      if (this.getBlockType(i) !== BlockType.Note) continue;
      const first = this.getBlockSpans(i).find(function (span) { return span.Text !== ''; });
      if (first && first.Type === SpanType.NoteRef && first.Text === label) return i;
    }
    return -1;
  },

  followLink() {
    const start = this.getSelection().start;
    const spans = this.getBlockSpans(start.block);
    // From any part of a link's text, the link goes where its address or label says.
    let at = start.span;
    if (isLinkTextType(spans[at].Type)) while (at < spans.length - 1 && isLinkTextType(spans[at].Type)) at++;
    const span = spans[at];
    if (span.Type === SpanType.NoteRef) {
      const label = span.Text.trim();
      if (label) goToNote(this, label, start.block, true);
    } else if (span.Type === SpanType.Url && span.Text.trim()) {
      if (containsUrl(span.Text)) this.onOpenUrl(span.Text);
      else this.onOpenFile(span.Text);
    }
  },

  insertFootnote() {
    const range = this.getSelection();
    if (isObjectType(this.getBlockType(range.start.block))) return;
    const final = this.getBlockCount() - 1;
    const sel = this.getSelectedBlocks();
    for (let i = sel.start; i <= Math.min(sel.end, final - 1); i++) {
      if (traitsOf(this.getBlockType(i)).Verbatim) return;
    }
    this.beforeChanges();
    this.paragraphForFinal(range.end.block);
    let point = range.start;
    let moved = null;
    if (!range.collapsed) {
      moved = spansOfRange(this, range.start, range.end);
      point = this.removeSelection(range);
    }
    point = outsideLabel(this, point);
    const label = this.generateUniqueReference();
    const parts = SpanList.split(this.getBlockSpans(point.block), point.span, point.offset, false);
    const before = parts.Before;
    const after = parts.After.length ? parts.After : [emptyPlain()];
    // Neighbouring labels would merge into one; a space keeps them apart.
    const isLabel = function (span) { return span && span.Type === SpanType.NoteRef; };
    if (isLabel(before[before.length - 1])) before.push(Span(SpanType.Plain, ' '));
    if (isLabel(after[0])) after.unshift(Span(SpanType.Plain, ' '));
    const spans = SpanList.normalize(SpanList.guardBreaks(before.concat([Span(SpanType.NoteRef, label)], after)));
    this.setBlockSpans(point.block, spans);
    // The reference and its note are one undo step.
    goToNote(this, label, point.block, false);
    if (moved && SpanList.textLength(moved)) {
      const note = this.getSelection().start.block;
      const noteSpans = SpanList.normalize(SpanList.guardBreaks(
        [Span(SpanType.NoteRef, label)].concat(moved.filter(function (s) { return s.Text !== ''; }))));
      this.setBlockSpans(note, noteSpans);
      this.setCaret(this.getBlockEnd(note));
    }
  },

  insertHyperlink(text, url) {
    text = String(text === undefined || text === null ? '' : text);
    url = String(url === undefined || url === null ? '' : url).trim();
    // A link needs a target; without a text it shows its target.
    if (!url) return;
    if (!text.trim()) text = url;
    this.beforeChanges();
    const range = this.getSelection();
    let point = range.collapsed ? range.start : this.removeSelection(range);
    const type = this.getBlockType(point.block);
    // Code and math blocks hold plain text only, so a link there goes into a
    // new paragraph after the block, as one on an image does.
    if (isObjectType(type) || traitsOf(type).Verbatim) {
      this.insertBlock(point.block + 1, BlockType.Plain, 0);
      point = Point(point.block + 1, 0, 0);
    } else if (type === BlockType.Final) {
      this.insertBlock(point.block, BlockType.Plain, 0);
      point = Point(point.block, 0, 0);
    }
    point = outsideLabel(this, point);
    const label = this.generateUniqueReference();
    const parts = SpanList.split(this.getBlockSpans(point.block), point.span, point.offset, false);
    const before = parts.Before;
    let after = parts.After;
    const last = before[before.length - 1];
    const endsWithLink = last && (isLinkTextType(last.Type) ||
      (last.Type === SpanType.NoteRef && before.length > 1 && isLinkTextType(before[before.length - 2].Type)));
    if (endsWithLink) before.push(Span(SpanType.Plain, ' '));
    if (after.length && after[0].Type === SpanType.NoteRef) after = after.slice(1);
    if (!after.length) after = [emptyPlain()];
    const link = [Span(SpanType.LinkText, text), Span(SpanType.NoteRef, label)];
    const caretSpan = SpanList.normalize(before.concat(link)).length;
    const spans = SpanList.normalize(SpanList.guardBreaks(before.concat(link, after)));
    this.setBlockSpans(point.block, spans);
    this.insertBlock(definitionPosition(this, point.block), BlockType.Note, 1,
      [Span(SpanType.NoteRef, label), Span(SpanType.Url, url)]);
    this.setCaret(Point(point.block, Math.min(caretSpan, spans.length - 1), 0));
  },

  insertImage(path, description) {
    path = String(path === undefined || path === null ? '' : path).trim();
    if (!path) return;
    const element = createBlockElement(BlockType.Image, 0, [Span(SpanType.Url, path)]);
    writeBlockAttributes(element, { Alt: oneLine(description) });
    insertObjectBlock(this, element);
  },

  // The description and title of the image at the selection start as JSON
  // {"alt", "title"}, or an empty text when the selection is not on an image.
  getImageDescription() {
    const i = this.getSelection().start.block;
    if (this.getBlockType(i) !== BlockType.Image) return '';
    const record = readBlockAttributes(this.blocks[i], {});
    return JSON.stringify({ alt: record.Alt || '', title: record.Title || '' });
  },

  setImageDescription(alt, title) {
    const i = this.getSelection().start.block;
    if (this.getBlockType(i) !== BlockType.Image) return;
    this.beforeChanges();
    writeBlockAttributes(this.blocks[i], { Alt: oneLine(alt), Title: oneLine(title) });
  },

  // A rule goes where an image would; the caret goes to the block after it.
  insertHorizontalRule() {
    const at = insertObjectBlock(this, createBlockElement(BlockType.Divider, 0, [emptyPlain()]));
    this.setCaret(Point(at + 1, 0, 0));
  },

};

export function insertFootnote() { editor.insertFootnote(); }
export function followLink() { editor.followLink(); }
export function insertHyperlink(text, url) { editor.insertHyperlink(text, url); }
export function insertImage(path, description) { editor.insertImage(path, description); }
// Where a picture was dropped: the caret goes to the nearest place; false outside the document.
export function moveCaretToPoint(x, y) {
  const point = editor.pointAtViewport(Number(x), Number(y));
  if (point) editor.setCaret(point);
  return Boolean(point);
}
export function insertHorizontalRule() { editor.insertHorizontalRule(); }
export function getImageDescription() { return editor.getImageDescription(); }
export function setImageDescription(alt, title) { editor.setImageDescription(alt, title); }

// Where the definition for a reference in block i goes: after the table the
// block belongs to, then after the definitions already following it.
function definitionPosition(editor, i) {
  let at = i + 1;
  if (editor.isBlockInsideTable(i)) while (editor.isBlockInsideTable(at)) at++;
  while (at < editor.getBlockCount() - 1 && editor.getBlockType(at) === BlockType.Note) at++;
  return at;
}

// Goes to the note of a label in block i, creating an empty one when there is
// none; `snapshot` says whether the creation is its own undo step.
function goToNote(editor, label, i, snapshot) {
  let note = editor.findNote(label);
  if (note < 0) {
    if (snapshot) editor.beforeChanges();
    note = definitionPosition(editor, i);
    editor.insertBlock(note, BlockType.Note, 1, [Span(SpanType.NoteRef, label), emptyPlain()]);
  }
  const spans = editor.getBlockSpans(note);
  editor.setCaret(spans.length > 1 ? Point(note, 1, 0) : editor.getBlockEnd(note));
}

// Inserts an image or rule block after the caret's block (in place of it
// when it is empty, past a table), selects it and returns its index.
function insertObjectBlock(editor, element) {
  editor.beforeChanges();
  const o = editor.getSelection().start.block;
  const final = editor.getBlockCount() - 1;
  let at = o + 1;
  let replaced = 0;
  if (o === final) {
    at = o;
  } else if (editor.isBlockEmpty(o) && !editor.isBlockInsideTable(o)) {
    at = o;
    replaced = 1;
  }
  if (replaced === 0) while (editor.isBlockInsideTable(at)) at++;
  editor.spliceBlocks(at, replaced, [element]);
  editor.setCaret(Point(at, 0, 0));
  return at;
}

// A point inside a label would split it; such a point moves to the label's end.
function outsideLabel(editor, point) {
  const span = editor.getBlockSpans(point.block)[point.span];
  if (span.Type === SpanType.NoteRef && point.offset > 0 && point.offset < span.Text.length) {
    return Point(point.block, point.span, span.Text.length);
  }
  return point;
}

// The spans between two points: within one block those between them, across
// blocks the spans of every copied block, one after the other.
function spansOfRange(editor, start, end) {
  if (start.block === end.block) return editor.copySpans(start, end);
  let spans = [];
  for (const record of editor.copyBlocks(start, end)) spans = spans.concat(record.Spans);
  return spans;
}
