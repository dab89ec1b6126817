// The element structure of one block:
//   <div class="TYPE IndentN"> <span class="Start">ZWSP</span>
//     <span class="Prefix" contenteditable="false">ZWSP</span> <span class="SPANTYPE">ZWSP text ZWSP</span>...
// An Image block holds <span class="ImageBorder">ZWSP<img>ZWSP</span> instead of spans,
// a Divider <span class="ImageBorder">ZWSP<hr>ZWSP</span>. A code block's info string,
// an image's description and title, a list item's or definition's spacing ("loose", "tight"), the number
// a numbered list starts at, how many quotations a list item or code block stands in, a table's column alignments and widths (on its first
// Row) are attributes of the DIV (data-info ...).
// A link title is the attribute data-title of its Url SPAN; a picture in a link's text is a
// LinkImage SPAN showing its description, its source and title in data-source and data-title
// (never loaded).
import { ZWSP, appendAll, assert } from './base.js';
import { isGroup } from './block-groups.js';
import { markBlockSpelling, markSpanSpelling } from './spelling.js';
import { BLOCK_ATTRIBUTES, BlockType, Span, SpanType, carriesOuter, carriesTitle, emptyPlain, isLinkTextType } from './types.js';

function createMarkerSpan(className, editable) {
  const span = document.createElement('span');
  span.className = className;
  if (!editable) span.setAttribute('contenteditable', 'false');
  span.appendChild(document.createTextNode(ZWSP));
  return span;
}

// Blocks are cloned from one made once: loading a long document creates many.
let blockPrototype = null;

export function createBlockElement(type, level, spans) {
  if (!blockPrototype) {
    blockPrototype = document.createElement('div');
    blockPrototype.appendChild(createMarkerSpan('Start', true));
    blockPrototype.appendChild(createMarkerSpan('Prefix', false));
  }
  const element = blockPrototype.cloneNode(true);
  element.className = type + ' Indent' + level;
  markBlockSpelling(element, type);
  writeBlockSpans(element, spans);
  return element;
}

// Type, level, spans and direction of a block element in one reading.
export function readBlockRecord(element) {
  const classes = element.className.split(' ');
  const word = classes[1] || '';
  const record = { Type: classes[0], Level: parseInt(word.charAt(word.length - 1), 10) || 0, Spans: readBlockSpans(element) };
  if (element.getAttribute('dir') === 'rtl') record.RTL = true;
  readBlockAttributes(element, record);
  return record;
}

// Copies the block attributes of the element's type into the record.
export function readBlockAttributes(element, record) {
  const type = blockTypeOfElement(element);
  if (type !== BlockType.Code && type !== BlockType.Image && type !== BlockType.Bulleted && type !== BlockType.Numbered &&
      type !== BlockType.Definition && type !== BlockType.Row) return record;
  for (const [key, name, owner] of BLOCK_ATTRIBUTES) {
    if (owner !== type) continue;
    const value = element.getAttribute(name);
    if (value) record[key] = value;
  }
  return record;
}

// Sets the element's block attributes from a record; a missing one is removed.
export function writeBlockAttributes(element, record) {
  for (const [key, name] of BLOCK_ATTRIBUTES) {
    const value = record[key];
    if (typeof value === 'string' && value) element.setAttribute(name, value);
    else if (element.hasAttribute(name)) element.removeAttribute(name);
  }
}

export function blockTypeOfElement(element) {
  return element.className.split(' ')[0];
}

function createObjectBorder(content) {
  const border = document.createElement('span');
  border.className = 'ImageBorder';
  border.appendChild(document.createTextNode(ZWSP));
  border.appendChild(content);
  border.appendChild(document.createTextNode(ZWSP));
  return border;
}

function createImageBorder(reference) {
  const img = document.createElement('img');
  img.setAttribute('src', reference);
  img.setAttribute('url', reference);
  img.setAttribute('onerror', 'onImageError(this);');
  // Fetched when near the viewport (and all before printing), not all at loading.
  img.setAttribute('loading', 'lazy');
  return createObjectBorder(img);
}

// Whether a span element already holds span `s` as writeBlockSpans would make it.
function holdsSpan(node, s) {
  const text = node.firstChild;
  return node.className === s.Type && !!text && text.nodeType === Node.TEXT_NODE && node.childNodes.length === 1 &&
    text.data === ZWSP + s.Text + ZWSP &&
    node.getAttribute('data-title') === (s.Title && carriesTitle(s.Type) ? s.Title : null) &&
    (!carriesOuter(s.Type) || node.getAttribute('data-outer') === (s.Outer || null)) &&
    (s.Type !== SpanType.LinkImage || node.getAttribute('data-source') === (s.Source || ''));
}

function createSpanElement(s) {
  const span = document.createElement('span');
  span.className = s.Type;
  markSpanSpelling(span, s.Type);
  if (s.Title && carriesTitle(s.Type)) span.setAttribute('data-title', s.Title);
  if (s.Outer && carriesOuter(s.Type)) span.setAttribute('data-outer', s.Outer);
  if (s.Type === SpanType.LinkImage) span.setAttribute('data-source', s.Source || '');
  span.appendChild(document.createTextNode(ZWSP + s.Text + ZWSP));
  return span;
}

// Writes the spans of a block element. Span elements that already hold the
// span wanted at their place stay as they are: the first ones of the element,
// and the last ones of the element or, when given, of `donor` (another block in
// the same tree, whose last spans are moved over). What the page shows for a
// kept span (a typeset formula) stays, so rewriting a block costs only its
// changed spans.
export function writeBlockSpans(element, spans, donor) {
  assert(spans.length > 0, 'ERR084');
  for (let s = 1; s < spans.length; s++) {
    assert(spans[s].Type !== spans[s - 1].Type, 'ERR085');
  }
  const type = blockTypeOfElement(element);
  if (type === BlockType.Image || type === BlockType.Divider) {
    while (element.childNodes.length > 2) element.removeChild(element.lastChild);
    element.appendChild(type === BlockType.Image ? createImageBorder(spans.map(function (s) { return s.Text; }).join(''))
      : createObjectBorder(document.createElement('hr')));
    return;
  }
  const own = Array.prototype.slice.call(element.childNodes, 2);
  let front = 0;
  while (front < own.length && front < spans.length && holdsSpan(own[front], spans[front])) front++;
  const tail = donor ? Array.prototype.slice.call(donor.childNodes, 2) : own.slice(front);
  let back = 0;
  while (back < tail.length && front + back < spans.length &&
         holdsSpan(tail[tail.length - 1 - back], spans[spans.length - 1 - back])) back++;
  const keptTail = tail.slice(tail.length - back);
  for (let c = front; c < own.length; c++) {
    if (donor || c < own.length - back) element.removeChild(own[c]);
  }
  const before = donor || !keptTail.length ? null : keptTail[0];
  for (let s = front; s < spans.length - back; s++) element.insertBefore(createSpanElement(spans[s]), before);
  if (donor) for (const span of keptTail) element.appendChild(span);
  showOuterStyles(element);
}

// A link's text shows the styles its target says the whole link stands in: its
// spans repeat the target's data-outer, which only the target's is read back.
function showOuterStyles(element) {
  let outer = null;
  for (let c = element.childNodes.length - 1; c >= 2; c--) {
    const span = element.childNodes[c];
    const type = span.className;
    if (isLinkTextType(type)) {
      if (span.getAttribute('data-outer') !== outer) {
        if (outer) span.setAttribute('data-outer', outer);
        else span.removeAttribute('data-outer');
      }
      continue;
    }
    outer = carriesOuter(type) ? span.getAttribute('data-outer') : null;
  }
}

export function readBlockSpans(element) {
  const children = element.childNodes;
  if (blockTypeOfElement(element) === BlockType.Image) {
    const img = element.querySelector('img');
    return [Span(SpanType.Url, img ? img.getAttribute('url') || '' : '')];
  }
  if (blockTypeOfElement(element) === BlockType.Divider) return [emptyPlain()];
  const spans = [];
  for (let c = 2; c < children.length; c++) {
    const child = children[c];
    assert(child.nodeName === 'SPAN', 'ERR036: ' + child.nodeName);
    const text = child.firstChild;
    assert(text && text.nodeType === Node.TEXT_NODE && child.childNodes.length === 1,
      'ERR071: ' + (text ? text.nodeName : child.nodeName));
    const type = child.className;
    const content = text.data.slice(1, -1);
    if (type === SpanType.Break) assert(content === '\n', 'ERR072');
    spans.push(Span(type, content, carriesTitle(type) ? child.getAttribute('data-title') : null,
      type === SpanType.LinkImage ? child.getAttribute('data-source') || '' : null,
      carriesOuter(type) ? child.getAttribute('data-outer') : null));
  }
  return spans;
}

// Block DIVs of a rendered root in document order (table cells included),
// looking through the groups that hold them.
export function collectBlockElements(root) {
  const found = [];
  for (const child of Array.from(root.children)) {
    if (child.nodeName !== 'DIV') {
      if (isGroup(child)) appendAll(found, collectBlockElements(child));
    } else if (child.className === 'Table') {
      for (const row of Array.from(child.children)) {
        for (const cell of Array.from(row.children)) {
          for (const block of Array.from(cell.children)) found.push(block);
        }
      }
    } else {
      found.push(child);
    }
  }
  return found;
}
