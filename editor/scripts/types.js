// Block and span types of the page, and what each block type allows.

export const BlockType = {
  Heading: 'Heading', Plain: 'Plain', Bulleted: 'Bulleted', Numbered: 'Numbered',
  Code: 'Code', Formula: 'Formula', Note: 'Note', Image: 'Image', Quotation: 'Quotation',
  Comment: 'Comment', Row: 'Row', Cell: 'Cell', Final: 'Final',
};

export const SpanType = {
  Plain: 'Plain', Break: 'Break', Emphasis: 'Emphasis', Strong: 'Strong', Code: 'Code',
  Math: 'Math', Url: 'Url', NoteRef: 'NoteRef', LinkText: 'LinkText',
};

function traits(minLevel, maxLevel, verbatim, prefixed) {
  return { MinLevel: minLevel, MaxLevel: maxLevel, Verbatim: verbatim, Prefixed: prefixed };
}

const BlockTraits = {
  Heading: traits(0, 2, false, false),
  Plain: traits(0, 5, false, false),
  Bulleted: traits(1, 5, false, true),
  Numbered: traits(1, 5, false, true),
  Code: traits(0, 5, true, false),
  Formula: traits(0, 5, true, false),
  Note: traits(1, 5, false, true),
  Image: traits(0, 5, false, false),
  Quotation: traits(1, 5, false, true),
  Comment: traits(0, 5, false, false),
  Row: traits(0, 0, false, false),
  Cell: traits(0, 0, false, false),
  Final: traits(0, 0, false, false),
};

export function traitsOf(type) {
  return BlockTraits[type] || BlockTraits.Plain;
}

export function isTableType(type) {
  return type === BlockType.Row || type === BlockType.Cell;
}

export function Span(type, text) {
  return { Type: type, Text: text };
}

export function emptyPlain() {
  return Span(SpanType.Plain, '');
}
