// Paragraph types: the styleParagraph toggles and the level arithmetic of a
// change of type.
import { oneLine } from './base.js';
import { editor } from './current-editor.js';
import { SpanList } from './spans.js';
import { BlockType, Span, SpanType, isObjectType, traitsOf } from './types.js';

// The reference of an image made from a text paragraph: the paragraph's text
// without line breaks and without surrounding white space.
function imageReferenceFromSpans(spans) {
  return spans
    .filter(function (s) { return s.Type !== SpanType.Break; })
    .map(function (s) { return s.Text; })
    .join('')
    .trim();
}

// The level a block gets when its type changes: list-like (prefixed) types sit
// one level deeper, so the model level stays the same; headings start at 0.
function levelForNewType(oldType, newType, level) {
  const from = traitsOf(oldType);
  const to = traitsOf(newType);
  if (from.Prefixed && !to.Prefixed) level -= 1;
  if (!from.Prefixed && to.Prefixed) level += 1;
  if (oldType === BlockType.Heading || newType === BlockType.Heading) level = 0;
  return Math.min(to.MaxLevel, Math.max(to.MinLevel, level));
}

export const paragraphStylesMethods = {
  containsBlockType(s, e, type) {
    for (let i = s; i <= e; i++) if (this.getBlockType(i) === type) return true;
    return false;
  },

  containsHeadingType(s, e, level) {
    for (let i = s; i <= e; i++) {
      if (this.getBlockType(i) === BlockType.Heading && this.getBlockLevel(i) === level) return true;
    }
    return false;
  },

  applyBlockType(s, e, type) {
    this.paragraphForFinal(e);
    for (let i = s; i <= e; i++) {
      if (!isConvertible(this, i)) continue;
      // A paragraph without text would make an image with no reference, which
      // nothing can fill in afterwards.
      if (type === BlockType.Image && !imageReferenceFromSpans(this.getBlockSpans(i))) continue;
      convertBlock(this, i, type);
    }
  },

  applyHeadingType(s, e, level) {
    this.paragraphForFinal(e);
    for (let i = s; i <= e; i++) {
      if (!isConvertible(this, i)) continue;
      convertBlock(this, i, BlockType.Heading);
      this.setBlockLevel(i, level);
    }
  },

  styleParagraphType(type) {
    styleParagraphs(this, function (s, e) {
      this.applyBlockType(s, e, this.containsBlockType(s, e, type) ? BlockType.Plain : type);
    });
  },

  styleParagraphHeading(level) {
    styleParagraphs(this, function (s, e) {
      if (this.containsHeadingType(s, e, level)) this.applyBlockType(s, e, BlockType.Plain);
      else this.applyHeadingType(s, e, level);
    });
  },

  // The info string (language) of the code blocks among the selected blocks;
  // without any, the selected paragraphs become code blocks first.
  setCodeInfo(info) {
    const value = oneLine(info);
    styleParagraphs(this, function (s, e) {
      if (!this.containsBlockType(s, e, BlockType.Code)) this.applyBlockType(s, e, BlockType.Code);
      for (let i = s; i <= e && i < this.getBlockCount() - 1; i++) {
        if (this.getBlockType(i) !== BlockType.Code) continue;
        if (value) this.blocks[i].setAttribute('data-info', value);
        else this.blocks[i].removeAttribute('data-info');
      }
    });
  },

  // The info string of the first code block among the selected blocks.
  getCodeInfo() {
    const sel = this.getSelectedBlocks();
    for (let i = sel.start; i <= sel.end && i < this.getBlockCount(); i++) {
      if (this.getBlockType(i) === BlockType.Code) return this.blocks[i].getAttribute('data-info') || '';
    }
    return '';
  },

  styleParagraphPlain() {
    styleParagraphs(this, function (s, e) {
      this.applyBlockType(s, e, BlockType.Plain);
      for (let i = s; i <= e && i < this.getBlockCount() - 1; i++) {
        if (this.getBlockLevel(i) !== 0) this.setBlockLevel(i, 0);
      }
    });
  },
};

export function styleParagraphPlain() { editor.styleParagraphPlain(); }
export function styleParagraphHeading1() { editor.styleParagraphHeading(0); }
export function styleParagraphHeading2() { editor.styleParagraphHeading(1); }
export function styleParagraphHeading3() { editor.styleParagraphHeading(2); }
export function styleParagraphHeading4() { editor.styleParagraphHeading(3); }
export function styleParagraphHeading5() { editor.styleParagraphHeading(4); }
export function styleParagraphHeading6() { editor.styleParagraphHeading(5); }
export function styleParagraphBulleted() { editor.styleParagraphType(BlockType.Bulleted); }
export function styleParagraphNumbered() { editor.styleParagraphType(BlockType.Numbered); }
export function styleParagraphCode() { editor.styleParagraphType(BlockType.Code); }
export function styleParagraphMath() { editor.styleParagraphType(BlockType.Formula); }
export function styleParagraphNote() { editor.styleParagraphType(BlockType.Note); }
export function styleParagraphImage() { editor.styleParagraphType(BlockType.Image); }
export function styleParagraphQuotation() { editor.styleParagraphType(BlockType.Quotation); }
export function styleParagraphComment() { editor.styleParagraphType(BlockType.Comment); }
export function setCodeInfo(info) { editor.setCodeInfo(info); }
export function getCodeInfo() { return editor.getCodeInfo(); }
export function styleParagraphHtml() { editor.styleParagraphType(BlockType.Html); }
export function styleParagraphTex() { editor.styleParagraphType(BlockType.Tex); }
export function styleParagraphTerm() { editor.styleParagraphType(BlockType.Term); }
export function styleParagraphDefinition() { editor.styleParagraphType(BlockType.Definition); }

function convertBlock(editor, i, type) {
  const oldType = editor.getBlockType(i);
  const level = levelForNewType(oldType, type, editor.getBlockLevel(i));
  const spans = editor.getBlockSpans(i);
  editor.setBlockType(i, type);
  editor.setBlockLevel(i, level);
  if (type === BlockType.Image) {
    // The image element is built from the spans, so the text must be
    // written again as the image's one reference span.
    editor.setBlockSpans(i, [Span(SpanType.Url, imageReferenceFromSpans(spans))]);
  } else if (traitsOf(type).Verbatim && !traitsOf(oldType).Verbatim) {
    // Code and math blocks hold no character styles.
    editor.setBlockSpans(i, SpanList.normalize(spans.map(function (s) {
      return s.Type === SpanType.Break ? s : Span(SpanType.Plain, s.Text);
    })));
  }
}

// Tables, images and rules keep their type.
function isConvertible(editor, i) {
  return !editor.isBlockInsideTable(i) && !isObjectType(editor.getBlockType(i));
}

// Runs a paragraph command with a snapshot on the selected blocks and puts
// the selection back afterwards.
function styleParagraphs(editor, work) {
  editor.beforeChanges();
  const remembered = editor.rememberRange(editor.getSelection());
  const sel = editor.getSelectedBlocks();
  work.call(editor, sel.start, sel.end);
  editor.restoreRange(remembered);
}
