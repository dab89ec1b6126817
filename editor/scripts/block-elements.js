// The element structure of one block:
//   <div class="TYPE IndentN"> <span class="Start">ZWSP</span>
//     <span class="Prefix" contenteditable="false">ZWSP</span> <span class="SPANTYPE">ZWSP text ZWSP</span>...
// An Image block holds <span class="ImageBorder">ZWSP<img>ZWSP</span> instead of spans,
// a Divider <span class="ImageBorder">ZWSP<hr>ZWSP</span>. A code block's info string,
// an image's description and title, a list item's spacing ("loose") and the number
// a numbered list starts at are attributes of the DIV (data-info ...).
// A link title is the attribute data-title of its Url SPAN.
import { ZWSP, appendAll, assert } from './base.js';
import { isGroup } from './block-groups.js';
import { markBlockSpelling, markSpanSpelling } from './spelling.js';
import { BLOCK_ATTRIBUTES, BlockType, Span, SpanType, emptyPlain } from './types.js';

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
  if (type !== BlockType.Code && type !== BlockType.Image && type !== BlockType.Bulleted && type !== BlockType.Numbered) return record;
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

export function writeBlockSpans(element, spans) {
  assert(spans.length > 0, 'ERR084');
  for (let s = 1; s < spans.length; s++) {
    assert(spans[s].Type !== spans[s - 1].Type, 'ERR085');
  }
  while (element.childNodes.length > 2) element.removeChild(element.lastChild);
  const type = blockTypeOfElement(element);
  if (type === BlockType.Image) {
    element.appendChild(createImageBorder(spans.map(function (s) { return s.Text; }).join('')));
    return;
  }
  if (type === BlockType.Divider) {
    element.appendChild(createObjectBorder(document.createElement('hr')));
    return;
  }
  for (const s of spans) {
    const span = document.createElement('span');
    span.className = s.Type;
    markSpanSpelling(span, s.Type);
    if (s.Title && s.Type === SpanType.Url) span.setAttribute('data-title', s.Title);
    span.appendChild(document.createTextNode(ZWSP + s.Text + ZWSP));
    element.appendChild(span);
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
    spans.push(Span(type, content, type === SpanType.Url ? child.getAttribute('data-title') : null));
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
