// Block and span types of the page, and what each block type allows.

export const BlockType = {
  Heading: 'Heading', Plain: 'Plain', Bulleted: 'Bulleted', Numbered: 'Numbered',
  Code: 'Code', Formula: 'Formula', Note: 'Note', Image: 'Image', Quotation: 'Quotation',
  Comment: 'Comment', Row: 'Row', Cell: 'Cell', Final: 'Final',
  Divider: 'Divider', Html: 'Html', Tex: 'Tex', Term: 'Term', Definition: 'Definition', Metadata: 'Metadata',
};

export const SpanType = {
  Plain: 'Plain', Break: 'Break', Emphasis: 'Emphasis', Strong: 'Strong', Code: 'Code',
  Math: 'Math', Url: 'Url', NoteRef: 'NoteRef', LinkText: 'LinkText',
  LinkCode: 'LinkCode', LinkEmphasis: 'LinkEmphasis', LinkStrong: 'LinkStrong',
  LinkImage: 'LinkImage',
  Strike: 'Strike', Superscript: 'Superscript', Subscript: 'Subscript', Html: 'Html', Tex: 'Tex',
  StrongEmphasis: 'StrongEmphasis', StrongCode: 'StrongCode', EmphasisCode: 'EmphasisCode',
};

// The parts of a link's text: plain, code, emphasis, strong emphasis and pictures.
const LINK_TEXT_TYPES = new Set(['LinkText', 'LinkCode', 'LinkEmphasis', 'LinkStrong', 'LinkImage']);
export function isLinkTextType(type) { return LINK_TEXT_TYPES.has(type); }

// The same for model span tags.
const LINK_TEXT_TAGS = new Set(['linktext', 'linkcode', 'linkemph', 'linkstrong', 'linkimage', 'linkimageurl', 'linkimagetitle']);
export function isLinkTextTag(tag) { return LINK_TEXT_TAGS.has(tag); }

function traits(minLevel, maxLevel, verbatim, prefixed) {
  return { MinLevel: minLevel, MaxLevel: maxLevel, Verbatim: verbatim, Prefixed: prefixed };
}

const BlockTraits = {
  Heading: traits(0, 5, false, false),
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
  Divider: traits(0, 0, false, false),
  Html: traits(0, 5, true, false),
  Tex: traits(0, 5, true, false),
  Term: traits(1, 5, false, true),
  Definition: traits(1, 5, false, true),
  Metadata: traits(0, 0, true, false),
};

export function traitsOf(type) {
  return BlockTraits[type] || BlockTraits.Plain;
}

export function isTableType(type) {
  return type === BlockType.Row || type === BlockType.Cell;
}

// Blocks that are one object to the caret: selected whole, deleted whole.
export function isObjectType(type) {
  return type === BlockType.Image || type === BlockType.Divider;
}

// Attributes a block record may carry besides type, level and spans: the
// record's key, the block element's attribute holding it, the block type it
// belongs to. Another type keeps the attribute but does not read it.
export const BLOCK_ATTRIBUTES = [
  ['Info', 'data-info', BlockType.Code], ['Alt', 'data-alt', BlockType.Image], ['Title', 'data-title', BlockType.Image],
  ['Spacing', 'data-spacing', BlockType.Bulleted], ['Spacing', 'data-spacing', BlockType.Numbered],
  ['Spacing', 'data-spacing', BlockType.Definition],
  ['Start', 'data-start', BlockType.Numbered],
  ['Quote', 'data-quote', BlockType.Bulleted], ['Quote', 'data-quote', BlockType.Numbered], ['Quote', 'data-quote', BlockType.Code],
  ['Align', 'data-align', BlockType.Row], ['Widths', 'data-widths', BlockType.Row],
];

// A span may carry a link title (`Title`, on a Url span). A picture in a link's text
// (LinkImage, its description) carries its `Source` and `Title`. A link's target (Url
// or NoteRef) carries `Outer` when the whole link stands in emphasis ('emph'), strong
// emphasis ('strong') or both ('strongemph').
export function Span(type, text, title, source, outer) {
  const span = { Type: type, Text: text };
  if (title) span.Title = title;
  if (typeof source === 'string') span.Source = source;
  if (outer && carriesOuter(type)) span.Outer = outer;
  return span;
}

// The span types that say the styles around a whole link.
export function carriesOuter(type) {
  return type === SpanType.Url || type === SpanType.NoteRef;
}

// The styles a link's target tag says, and the tag without them: 'emphurl' is ['url', 'emph'].
const OUTER_TARGET = /^(strongemph|strong|emph)(url|linkref)$/;
export function splitOuterTag(tag) {
  const found = OUTER_TARGET.exec(tag);
  return found ? [found[2], found[1]] : [tag, ''];
}

// The span types that carry a title.
export function carriesTitle(type) {
  return type === SpanType.Url || type === SpanType.LinkImage;
}

// A copy of a span with other text, keeping what it carries besides.
export function spanWithText(span, text) {
  return Span(span.Type, text, span.Title, span.Source, span.Outer);
}

export function emptyPlain() {
  return Span(SpanType.Plain, '');
}
