// The element structure of one block:
//   <div class="TYPE IndentN"> <span class="Start">ZWSP</span>
//     <span class="Prefix" contenteditable="false">ZWSP</span> <span class="SPANTYPE">ZWSP text ZWSP</span>...
// An Image block holds <span class="ImageBorder">ZWSP<img>ZWSP</span> instead of spans.
import { ZWSP, appendAll, assert } from './base.js';
import { isGroup } from './block-groups.js';
import { BlockType, Span, SpanType } from './types.js';

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
  writeBlockSpans(element, spans);
  return element;
}

// Type, level, spans and direction of a block element in one reading.
export function readBlockRecord(element) {
  const classes = element.className.split(' ');
  const word = classes[1] || '';
  const record = { Type: classes[0], Level: parseInt(word.charAt(word.length - 1), 10) || 0, Spans: readBlockSpans(element) };
  if (element.getAttribute('dir') === 'rtl') record.RTL = true;
  return record;
}

export function blockTypeOfElement(element) {
  return element.className.split(' ')[0];
}

function createImageBorder(reference) {
  const border = document.createElement('span');
  border.className = 'ImageBorder';
  const img = document.createElement('img');
  img.setAttribute('src', reference);
  img.setAttribute('url', reference);
  img.setAttribute('onerror', 'onImageError(this);');
  // Fetched when near the viewport (and all before printing), not all at loading.
  img.setAttribute('loading', 'lazy');
  border.appendChild(document.createTextNode(ZWSP));
  border.appendChild(img);
  border.appendChild(document.createTextNode(ZWSP));
  return border;
}

export function writeBlockSpans(element, spans) {
  assert(spans.length > 0, 'ERR084');
  for (let s = 1; s < spans.length; s++) {
    assert(spans[s].Type !== spans[s - 1].Type, 'ERR085');
  }
  while (element.childNodes.length > 2) element.removeChild(element.lastChild);
  if (blockTypeOfElement(element) === BlockType.Image) {
    element.appendChild(createImageBorder(spans.map(function (s) { return s.Text; }).join('')));
    return;
  }
  for (const s of spans) {
    const span = document.createElement('span');
    span.className = s.Type;
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
    spans.push(Span(type, content));
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
