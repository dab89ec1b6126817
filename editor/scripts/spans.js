// Pure operations on span lists (arrays of { Type, Text }). They never change
// their input; the Editor offers them as methods too.
import { Span, SpanType, emptyPlain, spanWithText } from './types.js';

export const SpanList = {
  copy(spans) {
    return spans.map(function (s) { return spanWithText(s, s.Text); });
  },

  // Merges neighbours of the same type (never two breaks); an empty list
  // becomes one empty plain span. Empty spans are kept. Two pictures, each with
  // its own source, stay two with an empty piece of their link's text between.
  normalize(spans) {
    const out = [];
    for (const s of spans) {
      const last = out[out.length - 1];
      if (last && last.Type === SpanType.LinkImage && s.Type === SpanType.LinkImage) {
        out.push(Span(SpanType.LinkText, ''), spanWithText(s, s.Text));
      } else if (last && last.Type === s.Type && s.Type !== SpanType.Break) {
        last.Text += s.Text;
        if (!last.Title && s.Title) last.Title = s.Title;
      } else {
        out.push(spanWithText(s, s.Text));
      }
    }
    if (!out.length) out.push(emptyPlain());
    return out;
  },

  // Before: spans before s plus the non-empty head of span s; After: the
  // non-empty tail of span s plus the spans after it.
  split(spans, s, offset, keepEmpty) {
    const before = SpanList.copy(spans.slice(0, s));
    const after = SpanList.copy(spans.slice(s + 1));
    const span = spans[s];
    if (span) {
      const head = span.Text.slice(0, offset);
      const tail = span.Text.slice(offset);
      if (head || keepEmpty) before.push(spanWithText(span, head));
      if (tail || keepEmpty) after.unshift(spanWithText(span, tail));
    }
    return { Before: before, After: after };
  },

  splitMiddle(spans, s1, o1, s2, o2) {
    const outer = SpanList.split(spans, s2, o2, false);
    const inner = SpanList.split(outer.Before, s1, o1, false);
    return { Before: inner.Before, Middle: inner.After, After: outer.After };
  },

  // Keeps the rule that a block never begins or ends with a break and never
  // holds two breaks side by side, by putting empty plain spans in between.
  guardBreaks(spans) {
    const out = [];
    for (const s of spans) {
      const last = out[out.length - 1];
      if (s.Type === SpanType.Break && (!last || last.Type === SpanType.Break)) out.push(emptyPlain());
      out.push(s);
    }
    if (!out.length || out[out.length - 1].Type === SpanType.Break) out.push(emptyPlain());
    return out;
  },

  textLength(spans) {
    let n = 0;
    for (const s of spans) n += s.Text.length;
    return n;
  },
};
