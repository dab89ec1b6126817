// Formulas typeset and code coloured (formulas.js, code-colours.js) only where
// the reader may look: in the groups of blocks near the viewport. A block's
// display is kept until a change under it is observed; a changed block in view
// is shown anew before the next paint, one out of view when its group comes
// near; the caret leaving a block (its ActiveSpan or ActiveBlock mark going)
// counts as a change. Before printing, every block is shown.
import { blockTypeOfElement, collectBlockElements } from './block-elements.js';
import { isGroup } from './block-groups.js';
import { colourCodeBlock, installCodeColours, prepareCodeForPrinting, uncolourCodeBlock } from './code-colours.js';
import { editor } from './current-editor.js';
import { loadFormulaFonts, typesetBlockFormulas } from './formulas.js';
import { BlockType } from './types.js';

// How far beyond the viewport (in viewport heights) groups count as near.
const NEAR_MARGIN = '100% 0px';

function isBlock(node) {
  return node.nodeName === 'DIV' && node.firstChild && node.firstChild.nodeName === 'SPAN';
}

// Block elements in a node that came into the tree (a group, a table, a block).
function blocksIn(node) {
  if (node.nodeType !== Node.ELEMENT_NODE) return [];
  if (isBlock(node)) return [node];
  if (isGroup(node) || node.className === 'Table') return collectBlockElements(isGroup(node) ? node : { children: [node] });
  return [];
}

export function showBlock(element) {
  if (blockTypeOfElement(element) === BlockType.Code) colourCodeBlock(element);
  else uncolourCodeBlock(element);
  typesetBlockFormulas(element);
}

export class RenderedView {
  constructor(root) {
    this.root = root;
    this.near = new Set();
    // Blocks shown as they stand.
    this.shown = new WeakSet();
    const view = this;
    this.intersections = new IntersectionObserver(function (entries) { onIntersections(view, entries); },
      { root: document.body, rootMargin: NEAR_MARGIN });
    this.observer = new MutationObserver(function (records) { onMutations(view, records); });
    this.observer.observe(root, {
      subtree: true, childList: true, characterData: true, attributes: true, attributeFilter: ['class', 'data-info', 'id'],
    });
    for (const group of Array.from(root.children)) if (isGroup(group)) this.intersections.observe(group);
    window.addEventListener('beforeprint', function () { view.showAll(true); loadFormulaFonts(); });
    installCodeColours();
    root.addEventListener('mousedown', function (event) { onMouseDown(view, event); });
  }

  // Every block shown, and with `printing` every code block's copy for paper made.
  showAll(printing) {
    onMutations(this, this.observer.takeRecords());
    for (const group of Array.from(this.root.children)) {
      if (!isGroup(group)) continue;
      showGroup(this, group);
      if (printing) for (const block of collectBlockElements(group)) prepareCodeForPrinting(block);
    }
    const active = document.getElementById('ActiveBlock');
    if (printing && active && this.root.contains(active)) typesetBlockFormulas(active, true);
  }
}

// A click on a typeset formula puts the caret at the end of its source, which
// shows the source for editing at once (the caret's marks are moved now, not
// only when the browser reports the selection change later).
function onMouseDown(view, event) {
  if (event.button !== 0) return;
  const path = event.composedPath();
  const shown = path.find(function (node) { return node.nodeType === Node.ELEMENT_NODE && node.classList.contains('shown'); });
  if (!shown || !(shown.getRootNode() instanceof ShadowRoot)) return;
  const host = shown.getRootNode().host;
  const span = host.nodeName === 'SPAN' ? host : host.lastChild;
  const text = span.firstChild;
  event.preventDefault();
  view.root.focus({ preventScroll: true });
  window.getSelection().collapse(text, Math.max(1, text.length - 1));
  editor.onSelectionChange();
}

function showInView(view, block) {
  if (view.shown.has(block)) return;
  view.shown.add(block);
  showBlock(block);
}

function showGroup(view, group) {
  for (const block of collectBlockElements(group)) showInView(view, block);
}

function groupOf(block) {
  let node = block.parentNode;
  while (node && !isGroup(node)) node = node.parentNode;
  return node;
}

// A group coming near is shown in a task of its own, after the frame that
// found it near has been painted: after a document was loaded, that frame
// shows the text without waiting for the typesetting.
function onIntersections(view, entries) {
  for (const entry of entries) {
    if (entry.isIntersecting) {
      const group = entry.target;
      view.near.add(group);
      setTimeout(function () { if (view.near.has(group)) showGroup(view, group); }, 0);
    } else {
      view.near.delete(entry.target);
    }
  }
}

function blockOf(view, node) {
  while (node && node !== view.root) {
    if (isBlock(node) && node.parentNode && (isGroup(node.parentNode) || node.parentNode.className === 'TableCell')) return node;
    node = node.parentNode;
  }
  return null;
}

// Blocks taken out of the tree lose their colours (ranges would keep them
// alive); blocks put in are shown if their group is near. A new group is
// watched and shows its blocks when it comes near.
function onMutations(view, records) {
  const changed = new Set();
  for (const record of records) {
    if (record.type === 'childList' && !blockOf(view, record.target)) {
      for (const node of Array.from(record.removedNodes)) {
        if (isGroup(node)) {
          view.intersections.unobserve(node);
          view.near.delete(node);
        }
        for (const block of blocksIn(node)) {
          view.shown.delete(block);
          uncolourCodeBlock(block);
        }
      }
      for (const node of Array.from(record.addedNodes)) {
        if (isGroup(node)) view.intersections.observe(node);
        else for (const block of blocksIn(node)) changed.add(block);
      }
      continue;
    }
    const block = blockOf(view, record.target);
    if (block) changed.add(block);
  }
  for (const block of changed) {
    view.shown.delete(block);
    const group = groupOf(block);
    if (group && view.near.has(group)) showInView(view, block);
  }
}
