// Formulas shown typeset: a Math span or a Formula block holds its TeX source as
// ever, and a shadow root on its element shows the typeset form instead while
// the caret is elsewhere. The light tree (the spans and their one text node
// each, which everything else reads) is left as it is: the shadow root adds no
// node to it, its changes reach no observer of the root, and the typeset form is
// in no text, selection, search or count. The source stays laid out (at zero
// size), so the caret still walks into it, and the caret being there (the
// ActiveSpan or ActiveBlock mark) shows it again. While the browser's find runs
// (data-finding on the root) sources are shown, so that it finds them.
import { blockTypeOfElement } from './block-elements.js';
import { formulaLibraries, formulaLibrariesLoaded } from './formula-libraries.js';
import { BlockType, SpanType } from './types.js';

// Document content never becomes markup that acts: no links, pictures, classes
// or styles from \href, \url, \includegraphics, \htmlClass ...; expansion and
// sizes are bounded. Non-standard input is typeset as it is.
const KATEX_OPTIONS = {
  throwOnError: true, trust: false, strict: 'ignore', output: 'html', maxExpand: 1000, maxSize: 20,
};

const SHADOW_STYLE = `
.source { display: contents; }
.shown { display: none; }
:host(.Math) .source.error, :host(.Formula) .source.error {
  display: inline; font-family: "Courier New", monospace; color: #b00; text-decoration: underline wavy #d00;
}
:host(.Math:not(#ActiveSpan)) .shown.typeset { display: inline-block; }
:host(.Math:not(#ActiveSpan)) .typeset + .source { font-size: 0; display: inline; }
:host(.Math:not(#ActiveSpan)) { color: inherit !important; font-family: inherit !important; font-size: inherit !important; }
:host(.Formula:not(#ActiveBlock)) .shown.typeset { display: block; line-height: normal; }
:host(.Formula:not(#ActiveBlock)) .typeset + .source { font-size: 0; line-height: 0; display: block; }
:host(.Formula:not(#ActiveBlock)) { color: inherit !important; }
@media print {
  :host(.Math) .shown.typeset { display: inline-block; }
  :host(.Formula) .shown.typeset { display: block; line-height: normal; }
  :host(.Math) .typeset + .source { font-size: 0; display: inline; }
  :host(.Formula) .typeset + .source { font-size: 0; line-height: 0; display: block; }
}
:host-context(.editor[data-finding]) .shown { display: none !important; }
:host-context(.editor[data-finding]) .source { font-size: inherit !important; display: contents !important; }
.shown { user-select: none; position: relative; z-index: 0; }
.katex-display { margin: 0; }
`;

let shadowSheets = null;

// The formula style sheet's rules for the shadow roots; its fonts are in the
// document (font faces in a shadow root are not used).
function formulaSheets() {
  if (shadowSheets) return shadowSheets;
  formulaLibraries();
  window.requestIdleCallback(loadFormulaFonts, { timeout: 2000 });
  const own = new CSSStyleSheet();
  own.replaceSync(SHADOW_STYLE);
  const library = new CSSStyleSheet();
  const element = document.getElementById('formula.css');
  const rules = element && element.sheet ? Array.from(element.sheet.cssRules) : [];
  library.replaceSync(rules.filter(function (r) { return r.type !== CSSRule.FONT_FACE_RULE; })
    .map(function (r) { return r.cssText; }).join('\n'));
  shadowSheets = [library, own];
  return shadowSheets;
}

// The formula fonts are made ready early, while the page is idle after the
// first formula was shown: a glyph of a font still loading is not drawn, and
// printing does not wait for it. Their faces are declared with the libraries.
export function loadFormulaFonts() {
  if (!formulaLibrariesLoaded()) return;
  document.fonts.forEach(function (face) {
    if (face.family.replace(/"/g, '').startsWith('KaTeX_')) face.load().catch(function () {});
  });
}

// Before the print dialog: printing does not wait for a font still loading, so a
// document with formulas (shown yet or not) starts loading their fonts while the
// dialog is open.
export function prepareForPrinting() {
  if (!formulaLibrariesLoaded() && document.querySelector('#doc .Math, #doc .Formula')) formulaSheets();
  loadFormulaFonts();
}

function katex() {
  return formulaLibraries().katex;
}

// Typeset forms by source, so that a formula met again (undo, a repeated one)
// costs nothing; emptied when it grows past its bound.
const typesetCache = new Map();
const TYPESET_CACHE_LIMIT = 5000;

function typeset(source, display) {
  const key = (display ? 'D' : 'I') + source;
  let result = typesetCache.get(key);
  if (result) return result;
  try {
    result = { html: katex().renderToString(source, Object.assign({ displayMode: display }, KATEX_OPTIONS)) };
  } catch (error) {
    result = { error: String(error && error.message || error) };
  }
  if (typesetCache.size >= TYPESET_CACHE_LIMIT) typesetCache.clear();
  typesetCache.set(key, result);
  return result;
}

// The source each element's shadow root shows typeset.
const shownSources = new WeakMap();

function shadowOf(element) {
  if (element.shadowRoot) return element.shadowRoot;
  const shadow = element.attachShadow({ mode: 'open' });
  shadow.adoptedStyleSheets = formulaSheets();
  const shown = document.createElement('span');
  shown.className = 'shown';
  shown.setAttribute('contenteditable', 'false');
  shown.setAttribute('aria-hidden', 'true');
  const source = document.createElement('span');
  source.className = 'source';
  source.appendChild(document.createElement('slot'));
  shadow.append(shown, source);
  return shadow;
}

// Shows `text` typeset in place of the element's source (or its source marked
// as an error with the message as its title). Blank sources stay as they are.
function showTypeset(element, text, display) {
  if (shownSources.get(element) === text) return;
  if (!element.shadowRoot && !text.trim()) return;
  // A block that was code may hold the shadow root of its printed copy: shown as source.
  if (element.shadowRoot && !element.shadowRoot.firstChild.classList.contains('shown')) return;
  shownSources.set(element, text);
  const shadow = shadowOf(element);
  const shown = shadow.firstChild;
  const source = shown.nextSibling;
  const result = text.trim() ? typeset(text, display) : { html: '' };
  shown.className = result.html ? 'shown typeset' : 'shown';
  shown.innerHTML = result.html || '';
  source.className = result.error ? 'source error' : 'source';
  if (result.error) source.title = result.error;
  else source.removeAttribute('title');
}

function spanText(span) {
  const data = span.firstChild ? span.firstChild.data : '';
  return data.slice(1, -1);
}

// Brings the typeset forms of one block element up to date with its text. The
// formula the caret is in shows its source, so it is typeset once the caret has
// left, or for printing (`all`), which shows every formula typeset.
export function typesetBlockFormulas(element, all) {
  const type = blockTypeOfElement(element);
  const children = element.childNodes;
  if (type === BlockType.Formula) {
    if (element.id === 'ActiveBlock' && !all) return;
    let text = '';
    for (let c = 2; c < children.length; c++) text += spanText(children[c]);
    showTypeset(element, text, true);
    return;
  }
  if (type === BlockType.Code || type === BlockType.Image || type === BlockType.Divider) return;
  for (let c = 2; c < children.length; c++) {
    const span = children[c];
    if (span.className === SpanType.Math && (span.id !== 'ActiveSpan' || all)) showTypeset(span, spanText(span), false);
  }
}
