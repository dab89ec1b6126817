// Code blocks whose info string names a language are coloured by it. On screen
// the colours are highlights of the browser (CSS custom highlights over ranges
// of the code's own text nodes): no element is added or changed, so nothing
// else sees them. An engine without highlights shows code uncoloured. The
// program's engine does not print highlights, so for printing a shadow root on
// the block shows a coloured copy of its text instead (on paper only).
import { blockTypeOfElement } from './block-elements.js';
import { formulaLibraries } from './formula-libraries.js';
import { BlockType } from './types.js';

// The colours of a light theme; a theme may set others for the screen
// (::highlight(code-keyword) ...).
const CODE_COLOURS = {
  keyword: '#a626a4', type: '#c18401', string: '#50a14f', comment: '#a0a1a7', number: '#986801',
  title: '#4078f2', meta: '#0184bc', attribute: '#e45649', addition: '#50a14f', deletion: '#e45649',
};

// highlight.js scopes (their first word) to the few colours the style sheet knows.
const COLOUR_OF_SCOPE = {
  keyword: 'keyword', 'selector-tag': 'keyword', doctag: 'keyword', section: 'title', name: 'keyword',
  built_in: 'type', type: 'type', class: 'type',
  string: 'string', regexp: 'string', char: 'string', symbol: 'string', link: 'string', 'selector-attr': 'string',
  comment: 'comment', quote: 'comment',
  number: 'number', literal: 'number',
  title: 'title', 'selector-id': 'title', 'selector-class': 'title',
  meta: 'meta', 'selector-pseudo': 'meta', 'template-tag': 'meta',
  attr: 'attribute', attribute: 'attribute', property: 'attribute', variable: 'attribute', 'template-variable': 'attribute',
  addition: 'addition', deletion: 'deletion',
};

// The screen's colours, in a style sheet before the theme's.
export function installCodeColours() {
  const style = document.createElement('style');
  style.id = 'code-colours.css';
  style.textContent = Object.keys(CODE_COLOURS).map(function (name) {
    return '::highlight(code-' + name + ') { color: ' + CODE_COLOURS[name] + '; }';
  }).join('\n');
  document.head.insertBefore(style, document.getElementById('theme.css'));
}

function hljs() {
  return formulaLibraries().hljs;
}

export function canColourCode() {
  return typeof CSS !== 'undefined' && !!CSS.highlights && typeof Highlight === 'function';
}

// The language of an info string ("python", "{.js .numberLines}"), if highlight.js knows it.
export function codeLanguage(info) {
  const word = /^[\s{.]*([^\s{}.,]+)/.exec(info || '');
  return word && hljs().getLanguage(word[1]) ? word[1] : null;
}

const highlights = new Map();

function highlightNamed(colour) {
  let highlight = highlights.get(colour);
  if (!highlight) {
    highlight = new Highlight();
    highlights.set(colour, highlight);
    CSS.highlights.set('code-' + colour, highlight);
  }
  return highlight;
}

// The ranges each coloured block added, by colour.
const blockRanges = new WeakMap();

export function uncolourCodeBlock(element) {
  const ranges = blockRanges.get(element);
  if (!ranges) return;
  blockRanges.delete(element);
  for (const [colour, range] of ranges) highlightNamed(colour).delete(range);
}

// The colours of `code` as [start, end, colour] runs, from highlight.js's markup
// read in an inert template (its text is escaped; only its spans are read).
const template = document.createElement('template');
function colourRuns(code, language) {
  template.innerHTML = hljs().highlight(code, { language: language, ignoreIllegals: true }).value;
  const runs = [];
  let offset = 0;
  (function walk(node, colour) {
    for (let child = node.firstChild; child; child = child.nextSibling) {
      if (child.nodeType === Node.TEXT_NODE) {
        if (colour) runs.push([offset, offset + child.data.length, colour]);
        offset += child.data.length;
      } else {
        const scope = (child.className || '').split(' ')[0].replace(/^hljs-/, '');
        walk(child, COLOUR_OF_SCOPE[scope] || colour);
      }
    }
  })(template.content, null);
  template.innerHTML = '';
  return runs;
}

let printSheet = null;
function printSheets() {
  if (!printSheet) {
    printSheet = new CSSStyleSheet();
    printSheet.replaceSync('.source { display: contents; } .printed { display: none; }' +
      '@media print { .printed { display: block; text-indent: 0; } .source { display: none; } }' +
      Object.keys(CODE_COLOURS).map(function (name) { return '.' + name + ' { color: ' + CODE_COLOURS[name] + '; }'; }).join(''));
  }
  return [printSheet];
}

// Makes the coloured copy of a code block that paper shows (none for code
// without a known language).
export function prepareCodeForPrinting(element) {
  if (blockTypeOfElement(element) !== BlockType.Code) return;
  const language = codeLanguage(element.getAttribute('data-info'));
  // A block that was a formula keeps the shadow root of one (and prints uncoloured).
  if (element.shadowRoot && element.shadowRoot.firstChild.className !== 'printed') return;
  if (!language && !element.shadowRoot) return;
  if (!element.shadowRoot) {
    const shadow = element.attachShadow({ mode: 'open' });
    shadow.adoptedStyleSheets = printSheets();
    const printed = document.createElement('div');
    printed.className = 'printed';
    printed.setAttribute('aria-hidden', 'true');
    const source = document.createElement('span');
    source.className = 'source';
    source.appendChild(document.createElement('slot'));
    shadow.append(printed, source);
  }
  const printed = element.shadowRoot.firstChild;
  printed.textContent = '';
  if (!language) return;
  const code = codeOf(element).code;
  let at = 0;
  for (const [start, end, colour] of colourRuns(code, language)) {
    if (start > at) printed.appendChild(document.createTextNode(code.slice(at, start)));
    const span = document.createElement('span');
    span.className = colour;
    span.textContent = code.slice(start, end);
    printed.appendChild(span);
    at = end;
  }
  if (at < code.length) printed.appendChild(document.createTextNode(code.slice(at)));
}

// The block's code and where each span's text starts in it.
function codeOf(element) {
  const pieces = [];
  let code = '';
  for (let c = 2; c < element.childNodes.length; c++) {
    const text = element.childNodes[c].firstChild;
    pieces.push([code.length, text]);
    code += text.data.slice(1, -1);
  }
  return { code: code, pieces: pieces };
}

// Colours one block element as its text and info string stand now (or takes
// its colours away when it is no longer code in a known language).
export function colourCodeBlock(element) {
  uncolourCodeBlock(element);
  if (!canColourCode() || blockTypeOfElement(element) !== BlockType.Code) return;
  const language = codeLanguage(element.getAttribute('data-info'));
  if (!language) return;
  // Each span's text node holds its text between two zero-width spaces.
  const { code, pieces } = codeOf(element);
  const ranges = [];
  let p = 0;
  for (const [start, end, colour] of colourRuns(code, language)) {
    // A run may cross spans (a comment over lines): one range in each text node.
    while (p + 1 < pieces.length && pieces[p + 1][0] <= start) p++;
    for (let q = p; q < pieces.length && pieces[q][0] < end; q++) {
      const [from, text] = pieces[q];
      const length = text.data.length - 2;
      const a = Math.max(start - from, 0);
      const b = Math.min(end - from, length);
      if (b <= a) continue;
      const range = new StaticRange({ startContainer: text, startOffset: a + 1, endContainer: text, endOffset: b + 1 });
      highlightNamed(colour).add(range);
      ranges.push([colour, range]);
    }
  }
  if (ranges.length) blockRanges.set(element, ranges);
}
