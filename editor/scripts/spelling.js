// Code, math, addresses, note labels and raw markup are not prose: the browser's
// spelling check leaves the elements holding them alone.
import { BlockType, SpanType } from './types.js';

const UNCHECKED_BLOCKS = new Set([BlockType.Code, BlockType.Formula, BlockType.Html, BlockType.Tex, BlockType.Metadata]);
const UNCHECKED_SPANS = new Set([SpanType.Code, SpanType.LinkCode, SpanType.Math, SpanType.Url, SpanType.NoteRef, SpanType.Html, SpanType.Tex,
  SpanType.StrongCode, SpanType.EmphasisCode]);

function markChecked(element, checked) {
  if (checked) {
    if (element.hasAttribute('spellcheck')) element.removeAttribute('spellcheck');
  } else if (element.getAttribute('spellcheck') !== 'false') {
    element.setAttribute('spellcheck', 'false');
  }
}

export function markBlockSpelling(element, type) { markChecked(element, !UNCHECKED_BLOCKS.has(type)); }

export function markSpanSpelling(span, type) { markChecked(span, !UNCHECKED_SPANS.has(type)); }
