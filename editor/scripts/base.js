// Small helpers every other module uses: assertions, list appending, points and ranges.

// Consistency checks throw with a short code; nothing in the page catches them.
export function assert(condition, message) {
  if (!condition) throw new Error(message);
}

export function appendAll(list, items) {
  for (const item of items) list.push(item);
}

// A place in the document: block index, span index, character offset in the span.
export function Point(block, span, offset) {
  return { block: block, span: span, offset: offset };
}

function comparePoints(a, b) {
  if (a.block !== b.block) return a.block < b.block ? -1 : 1;
  if (a.span !== b.span) return a.span < b.span ? -1 : 1;
  if (a.offset !== b.offset) return a.offset < b.offset ? -1 : 1;
  return 0;
}

// Keeps anchor and focus as given and adds start and end in document order.
export function Range(anchor, focus) {
  const anchorFirst = comparePoints(anchor, focus) < 0;
  return {
    anchor: anchor,
    focus: focus,
    start: anchorFirst ? anchor : focus,
    end: anchorFirst ? focus : anchor,
    collapsed: comparePoints(anchor, focus) === 0,
  };
}

// The zero-width space that brackets every span's text, so the caret always has
// a place inside a span of the right type.
export const ZWSP = '\u200B';

// A value the shell passes for an attribute: one line without surrounding white space.
export function oneLine(value) {
  return String(value === undefined || value === null ? '' : value).replace(/[\r\n]+/g, ' ').trim();
}
