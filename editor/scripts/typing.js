// What happens before the browser inserts typed text, and the automatic
// paragraph formatting when a space follows a list or heading marker.
import { Point } from './base.js';
import { SpanList } from './spans.js';
import { BlockType, Span, SpanType, isObjectType } from './types.js';
import { RunKind } from './typing-runs.js';

// Typed text holding anything but letters, digits and apostrophes ends a word.
const WORD_END = /[^\p{L}\p{M}\p{N}'\u2019]/u;

const AUTOFORMAT_MARKERS = {
  '-': { type: BlockType.Bulleted, nested: true },
  '1.': { type: BlockType.Numbered, nested: true },
  '#': { type: BlockType.Heading, level: 0 },
  '##': { type: BlockType.Heading, level: 1 },
  '###': { type: BlockType.Heading, level: 2 },
  '####': { type: BlockType.Heading, level: 3 },
  '#####': { type: BlockType.Heading, level: 4 },
  '######': { type: BlockType.Heading, level: 5 },
};

export const typingMethods = {
  // Typed text joins the undo step of the typing just before it (see
  // typing-runs.js); typing over a selection is a step of its own.
  shouldInsertText() {
    const range = this.getSelection();
    if (!range.collapsed) {
      this.beforeChanges();
      // The image's address span is no style for typed text.
      const type = isObjectType(this.getBlockType(range.start.block))
        ? SpanType.Plain : this.getSpanType(range.start.block, range.start.span);
      const p = this.removeAndJoin(range.start, range.end);
      placeCaretForStyle(this, p, type);
      return false;
    }
    this.ensureCorrectSelection();
    const c = this.getSelection().start;
    const blockType = this.getBlockType(c.block);
    if (isObjectType(blockType) || blockType === BlockType.Final) {
      this.beforeChanges();
      this.insertBlock(c.block, BlockType.Plain, 0);
      this.setCaret(Point(c.block, 0, 0));
      this.typingRun = this.typingState(RunKind.Insert, Point(c.block, 0, 0));
      return false;
    }
    this.beforeTyping(RunKind.Insert, c);
    return false;
  },

  // Inserts text into the text node at a collapsed caret; false when the caret
  // is not where text can go.
  insertTextAtCaret(text) {
    const selection = window.getSelection();
    if (selection.rangeCount !== 1) return false;
    const node = selection.focusNode;
    const offset = selection.focusOffset;
    // Compared by hand: asking the selection whether it is collapsed costs a layout.
    if (selection.anchorNode !== node || selection.anchorOffset !== offset) return false;
    if (!node || node.nodeType !== Node.TEXT_NODE || !this.root.contains(node)) return false;
    const span = node.parentNode;
    if (span.className === 'ImageBorder' || span.className === 'Prefix' || span.className === 'Start') return false;
    if (offset < 1 || offset > node.length - 1) return false;
    if (WORD_END.test(text)) {
      // A finished word: moving the selection by hand lays out the document, but
      // it is what makes the browser check the word's spelling.
      node.insertData(offset, text);
      selection.collapse(node, offset + text.length);
    } else {
      // Inside a word: inserting the text together with a copy of the character
      // before the caret, in front of that character, lets the DOM's own range
      // rules carry the caret past the new text; removing the original then
      // leaves the text as typed. No layout is forced.
      node.insertData(offset - 1, node.data[offset - 1] + text);
      node.deleteData(offset + text.length, 1);
      if (selection.focusNode !== node || selection.focusOffset !== offset + text.length) {
        selection.collapse(node, offset + text.length);
      }
    }
    this.scrollSoon();
    return true;
  },

  insertSpace() {
    const range = this.getSelection();
    if (!range.collapsed) return true;
    const c = range.start;
    if (this.getBlockType(c.block) !== BlockType.Plain) return true;
    const spans = this.getBlockSpans(c.block);
    if (spans.length !== 1 || !Object.prototype.hasOwnProperty.call(AUTOFORMAT_MARKERS, spans[0].Text)) return true;
    const marker = AUTOFORMAT_MARKERS[spans[0].Text];
    const level = marker.nested ? Math.min(this.getBlockLevel(c.block) + 1, 5) : marker.level;
    // The snapshot holds the marker as typed, so Undo gives it back with its space.
    this.setBlockSpans(c.block, [Span(spans[0].Type, spans[0].Text + ' ')]);
    this.setCaret(Point(c.block, 0, spans[0].Text.length + 1));
    this.beforeChanges();
    this.setBlockType(c.block, marker.type);
    this.setBlockLevel(c.block, level);
    this.setBlockSpans(c.block, [Span(spans[0].Type, '')]);
    this.setCaret(Point(c.block, 0, 0));
    return false;
  },
};

// Puts the caret at p inside a span of the given type, making an empty one
// when no span of that type touches p.
function placeCaretForStyle(editor, p, type) {
  const spans = editor.getBlockSpans(p.block);
  if (spans[p.span].Type === type || isObjectType(editor.getBlockType(p.block))) {
    editor.setCaret(p);
    return;
  }
  const parts = SpanList.split(spans, p.span, p.offset, false);
  const before = parts.Before[parts.Before.length - 1];
  if (before && before.Type === type) {
    editor.setCaret(Point(p.block, parts.Before.length - 1, before.Text.length));
  } else if (parts.After.length && parts.After[0].Type === type) {
    editor.setCaret(Point(p.block, parts.Before.length, 0));
  } else {
    editor.setBlockSpans(p.block, SpanList.normalize(parts.Before.concat([Span(type, '')], parts.After)));
    editor.setCaret(Point(p.block, parts.Before.length, 0));
  }
}
