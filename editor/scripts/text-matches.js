// Finding a search text in a block's text with the search options, and
// replacing found ranges in a span list. Pure functions of strings and spans.
import { searchFold } from './search.js';
import { SpanList } from './spans.js';
import { spanWithText } from './types.js';

// Letters, marks, digits and the underscore make up words for Whole word.
const MATCH_WORD_CHARACTER = /[\p{L}\p{M}\p{N}_]/u;

// The text folded for matching without Match case, one code point at a time
// (so that every folded character knows where it came from): lower case,
// compatibility forms and no accents, as loose as the browser's own find.
// `starts[k]` is the offset in `text` of the code point folded character k
// came from; `starts[folded.length]` is the text's length. Plain ASCII folds
// to its lower case with the identity map, kept as null.
export function foldForMatching(text) {
  // eslint-disable-next-line no-control-regex
  if (/^[\x00-\x7F]*$/.test(text)) return { folded: text.toLowerCase().replace(/\s/g, ' '), starts: null };
  let folded = '';
  const starts = [];
  let offset = 0;
  for (const character of text) {
    const f = searchFold(character);
    for (let k = 0; k < f.length; k++) starts.push(offset);
    folded += f;
    offset += character.length;
  }
  starts.push(offset);
  return { folded: folded, starts: starts };
}

function wordCharacterAt(text, offset) {
  return offset >= 0 && offset < text.length && MATCH_WORD_CHARACTER.test(text.charAt(offset));
}

// The non-overlapping matches of `query` in `text` as { start, end } offsets,
// in order. `fold` is foldForMatching(text), needed without Match case.
export function findTextMatches(text, query, options, fold) {
  const matches = [];
  if (!query) return matches;
  const haystack = options.matchCase ? text : fold.folded;
  const needle = options.matchCase ? query : foldForMatching(query).folded;
  if (!needle) return matches;
  const starts = options.matchCase ? null : fold.starts;
  // Offsets in the folded text must fall between whole folded code points.
  const boundary = function (k) { return !starts || k === 0 || k >= starts.length - 1 || starts[k - 1] !== starts[k]; };
  const original = function (k) { return starts ? starts[k] : k; };
  let from = 0;
  for (;;) {
    const k = haystack.indexOf(needle, from);
    if (k < 0) break;
    const end = k + needle.length;
    const match = { start: original(k), end: original(end) };
    const whole = !options.wholeWord ||
      (!wordCharacterAt(text, match.start - 1) && !wordCharacterAt(text, match.end));
    if (boundary(k) && boundary(end) && whole) {
      matches.push(match);
      from = end;
    } else {
      from = k + 1;
    }
  }
  return matches;
}

// Replaces the ranges (offsets into the spans' whole text, in order, not
// overlapping) by `replacement`, which takes the style of the first character
// it replaces. Spans emptied by the replacing are dropped.
export function replaceSpanRanges(spans, ranges, replacement) {
  const out = [];
  let r = 0;
  let position = 0;
  for (const span of spans) {
    const spanStart = position;
    const spanEnd = position + span.Text.length;
    position = spanEnd;
    let text = '';
    let at = spanStart;
    while (r < ranges.length && ranges[r].start < spanEnd) {
      const range = ranges[r];
      if (range.start >= at) {
        text += span.Text.slice(at - spanStart, range.start - spanStart) + replacement;
      }
      at = Math.min(range.end, spanEnd);
      if (range.end > spanEnd) break;
      r++;
    }
    text += span.Text.slice(at - spanStart);
    if (text || !span.Text) out.push(spanWithText(span, text));
  }
  return SpanList.normalize(out);
}
