// Character styles: the styleWord toggles, the word at the caret, and new
// reference labels.
import { Point, Range } from './base.js';
import { editor } from './current-editor.js';
import { SpanList } from './spans.js';
import { Span, SpanType, carriesOuter, emptyPlain, isLinkTextType, isObjectType, traitsOf } from './types.js';

function isWordSeparator(c) {
  return c === ' ' || c === '\n';
}

// Inside a link's text plain, code, emphasis and strong stay parts of the link.
const LINK_STYLES = { Plain: SpanType.LinkText, Code: SpanType.LinkCode, Emphasis: SpanType.LinkEmphasis, Strong: SpanType.LinkStrong };

function styleOf(span, type) {
  return isLinkTextType(span.Type) && Object.prototype.hasOwnProperty.call(LINK_STYLES, type) ? LINK_STYLES[type] : type;
}

// What a span of the type turns back into when the style is switched off.
function unstyledOf(span, type) {
  return type === SpanType.LinkText ? SpanType.Plain : styleOf(span, SpanType.Plain);
}

// Strong, emphasis and code pair up: switching one on or off keeps the other.
const PAIRED = {
  StrongEmphasis: [SpanType.Strong, SpanType.Emphasis], StrongCode: [SpanType.Strong, SpanType.Code],
  EmphasisCode: [SpanType.Emphasis, SpanType.Code],
};

function pairOf(a, b) {
  for (const type in PAIRED) if (PAIRED[type].includes(a) && PAIRED[type].includes(b) && a !== b) return type;
  return null;
}

function hasStyle(span, type) {
  return span.Type === styleOf(span, type) || (PAIRED[span.Type] || []).includes(type) ||
    (carriesOuter(span.Type) && outerHas(span.Outer, type));
}

// A whole link takes emphasis and strong emphasis on its target (`Outer`), its text unchanged.
function outerHas(outer, type) {
  return type === SpanType.Emphasis ? /emph$/.test(outer || '') : type === SpanType.Strong && /^strong/.test(outer || '');
}

function withOuter(span, type, on) {
  const emph = type === SpanType.Emphasis ? on : outerHas(span.Outer, SpanType.Emphasis);
  const strong = type === SpanType.Strong ? on : outerHas(span.Outer, SpanType.Strong);
  return Span(span.Type, span.Text, span.Title, span.Source, (strong ? 'strong' : '') + (emph ? 'emph' : ''));
}

// The indexes of the spans of links lying whole among `spans`: a link's text with its
// target, or an address of its own.
function wholeLinks(spans) {
  const whole = new Set();
  for (let k = 0; k < spans.length; k++) {
    const textStart = isLinkTextType(spans[k].Type) && (k === 0 || !isLinkTextType(spans[k - 1].Type));
    if (!textStart && !(spans[k].Type === SpanType.Url && (k === 0 || !isLinkTextType(spans[k - 1].Type)))) continue;
    let end = k;
    while (end < spans.length && isLinkTextType(spans[end].Type)) end++;
    if (end === spans.length || !carriesOuter(spans[end].Type)) continue;
    for (let j = k; j <= end; j++) whole.add(j);
    k = end;
  }
  return whole;
}

function withStyle(span, type) {
  return pairOf(span.Type, type) || styleOf(span, type);
}

function withoutStyle(span, type) {
  const pair = PAIRED[span.Type];
  if (pair && pair.includes(type)) return pair[0] === type ? pair[1] : pair[0];
  return span.Type === styleOf(span, type) ? unstyledOf(span, type) : span.Type;
}

export const characterStylesMethods = {
  // The word around a point, within the point's span only; collapsed at the
  // point when the point is not inside a word.
  getWordRangeAtPoint(point) {
    const text = this.getBlockSpans(point.block)[point.span].Text;
    const at = point.offset;
    if (at === 0 || at >= text.length || isWordSeparator(text.charAt(at - 1)) || isWordSeparator(text.charAt(at))) {
      return Range(point, point);
    }
    let from = at;
    while (from > 0 && !isWordSeparator(text.charAt(from - 1))) from--;
    let to = at;
    while (to < text.length && !isWordSeparator(text.charAt(to))) to++;
    return Range(Point(point.block, point.span, from), Point(point.block, point.span, to));
  },

  // Gives every span of the range the type (breaks excepted), or, with toggle
  // set and the type already present, takes it off the spans that have it. A span
  // in strong, emphasis or code keeps that style next to the one given or taken. A
  // link lying whole in the range takes emphasis or strong emphasis as a whole.
  applySpanType(start, end, type, toggle) {
    const off = toggle && rangeHasSpanType(this, start, end, type);
    const outerStyle = type === SpanType.Emphasis || type === SpanType.Strong;
    mapRangeSpans(this, start, end, function (i, middle) {
      const whole = outerStyle ? wholeLinks(middle) : new Set();
      return middle.map(function (s, k) {
        if (whole.has(k)) return carriesOuter(s.Type) ? withOuter(s, type, !off) : s;
        if (s.Type === SpanType.Break || s.Type === SpanType.LinkImage) return s;  // a picture keeps its source
        const changed = off ? withoutStyle(s, type) : withStyle(s, type);
        return changed === s.Type ? s : Span(changed, s.Text);
      });
    });
  },

  switchSpanType(type) {
    const sel = this.getSelectedBlocks();
    let range = this.getSelection();
    if (this.paragraphForFinal(sel.end) && range.collapsed) {
      // The caret was in Final; it belongs in the paragraph made for it.
      this.setCaret(Point(range.start.block, 0, 0));
      range = this.getSelection();
    }
    let verbatimOnly = true;
    for (let i = sel.start; i <= Math.min(sel.end, this.getBlockCount() - 2); i++) {
      if (!traitsOf(this.getBlockType(i)).Verbatim) verbatimOnly = false;
    }
    if (verbatimOnly) return;

    // An image's reference takes no style.
    if (range.collapsed && !takesCharacterStyles(this, range.start.block)) return;
    const word = range.collapsed ? this.getWordRangeAtPoint(range.start) : range;
    if (!word.collapsed) {
      const remembered = this.rememberRange(range);
      this.applySpanType(word.start, word.end, type, true);
      this.restoreRange(remembered);
    } else {
      toggleTypingStyle(this, range.start, type);
    }
  },

  styleWord(type) {
    this.beforeChanges();
    this.switchSpanType(type);
  },

  styleWordPlain() {
    this.beforeChanges();
    const range = this.getSelection();
    if (range.collapsed || range.start.block === this.getBlockCount() - 1) return;
    const remembered = this.rememberRange(range);
    this.applySpanType(range.start, range.end, SpanType.Plain, false);
    this.restoreRange(remembered);
  },

  styleWordReference() {
    this.beforeChanges();
    this.switchSpanType(SpanType.NoteRef);
    const caret = this.getSelection();
    if (!caret.collapsed) return;
    const p = caret.start;
    const spans = this.getBlockSpans(p.block);
    if (spans[p.span].Type !== SpanType.NoteRef || spans[p.span].Text !== '') return;
    const label = this.generateUniqueReference();
    spans[p.span].Text = label;
    if (p.span === spans.length - 1) spans.push(emptyPlain());
    this.setBlockSpans(p.block, spans);
    this.setSelection(Range(Point(p.block, p.span, 0), Point(p.block, p.span, label.length)));
  },

  // The smallest positive whole number not yet used as a label.
  generateUniqueReference() {
    const used = new Set();
    for (const span of this.root.getElementsByClassName(SpanType.NoteRef)) {
      used.add(span.textContent.slice(1, -1).trim());
    }
    let n = 1;
    while (used.has(String(n))) n++;
    return String(n);
  },
};

export function styleWordPlain() { editor.styleWordPlain(); }
export function styleWordEmphasis() { editor.styleWord(SpanType.Emphasis); }
export function styleWordStrong() { editor.styleWord(SpanType.Strong); }
export function styleWordCode() { editor.styleWord(SpanType.Code); }
export function styleWordMath() { editor.styleWord(SpanType.Math); }
export function styleWordUrl() { editor.styleWord(SpanType.Url); }
export function styleWordLink() { editor.styleWord(SpanType.LinkText); }
export function styleWordReference() { editor.styleWordReference(); }
export function styleWordStrike() { editor.styleWord(SpanType.Strike); }
export function styleWordSuperscript() { editor.styleWord(SpanType.Superscript); }
export function styleWordSubscript() { editor.styleWord(SpanType.Subscript); }

// Calls visit(block, middle) for each block part of the range, where middle is
// the list of spans inside the range; visit returns the new middle or null to
// leave the block alone. A range ending in Final ends with the block before.
function mapRangeSpans(editor, start, end, visit) {
  const final = editor.getBlockCount() - 1;
  if (end.block === final && start.block < final) end = editor.getBlockEnd(final - 1);
  if (end.block === final) return;
  for (let i = start.block; i <= end.block; i++) {
    if (!takesCharacterStyles(editor, i)) continue;
    const spans = editor.getBlockSpans(i);
    const from = i === start.block ? start : Point(i, 0, 0);
    const to = i === end.block ? end : editor.getBlockEnd(i);
    const parts = SpanList.splitMiddle(spans, from.span, from.offset, to.span, to.offset);
    const middle = visit(i, parts.Middle);
    if (middle) editor.setBlockSpans(i, SpanList.normalize(parts.Before.concat(middle, parts.After)));
  }
}

function rangeHasSpanType(editor, start, end, type) {
  let found = false;
  mapRangeSpans(editor, start, end, function (i, middle) {
    if (middle.some(function (s) { return hasStyle(s, type); })) found = true;
    return null;
  });
  return found;
}

// Blocks whose spans take character styles: not code or math, not images.
function takesCharacterStyles(editor, i) {
  const type = editor.getBlockType(i);
  return !traitsOf(type).Verbatim && !isObjectType(type);
}

// With the caret outside any word the style applies to what is typed next.
function toggleTypingStyle(editor, caret, type) {
  const spans = editor.getBlockSpans(caret.block);
  const s = caret.span;
  const u = spans[s];
  const paired = PAIRED[u.Type] && hasStyle(u, type);
  const wanted = u.Type === type ? SpanType.Plain : paired ? withoutStyle(u, type) : pairOf(u.Type, type) || type;
  const before = spans[s - 1];
  const after = spans[s + 1];
  if (u.Text === '') {
    u.Type = wanted;
    let point = Point(caret.block, s, 0);
    if (before && before.Type === wanted) {
      spans.splice(s, 1);
      point = Point(caret.block, s - 1, before.Text.length);
    } else if (after && after.Type === wanted) {
      u.Text = after.Text;
      spans.splice(s + 1, 1);
    }
    editor.setBlockSpans(caret.block, SpanList.normalize(spans));
    editor.setCaret(point);
  } else if (caret.offset === u.Text.length && after && after.Type === wanted) {
    editor.setCaret(Point(caret.block, s + 1, 0));
  } else if (caret.offset === 0 && s > 0 && before.Type === wanted) {
    editor.setCaret(Point(caret.block, s - 1, before.Text.length));
  } else {
    const parts = SpanList.split(spans, s, caret.offset, false);
    editor.setBlockSpans(caret.block, SpanList.normalize(parts.Before.concat([Span(wanted, '')], parts.After)));
    editor.setCaret(Point(caret.block, parts.Before.length, 0));
  }
}
