// The root holds its blocks (and table wrappers) in groups: BLOCK-GROUP elements
// of a few hundred each. The engine's work per frame grows with the number of the
// root's children (their layout, the pre-paint walk, and the visibility checks of
// content-visibility), so a group is laid out and painted only near the viewport,
// and a long manuscript costs per keystroke about what a short one does.
//
// Groups are not DIVs, so theme rules written for `div` never reach them. Every
// group but the first starts with a hidden GROUP-START element, so that the
// first block of a later group is not a `:first-child` for the style sheets;
// only the first block of the document is.

const GROUP_TAG = 'BLOCK-GROUP';
const GROUP_START_TAG = 'GROUP-START';
const MIN_GROUP_SIZE = 64;
// Height a group not yet laid out is taken to have, per block in it.
const ESTIMATED_BLOCK_HEIGHT = 36;

export function isGroup(node) {
  return !!node && node.nodeName === GROUP_TAG;
}

export function isGroupStart(node) {
  return !!node && node.nodeName === GROUP_START_TAG;
}

function createGroup(first) {
  const group = document.createElement('block-group');
  if (!first) {
    const start = document.createElement('group-start');
    start.hidden = true;
    group.appendChild(start);
  }
  return group;
}

// Children of a group that are blocks or tables (its start marker excluded).
export function groupContentCount(group) {
  return group.childElementCount - (isGroupStart(group.firstElementChild) ? 1 : 0);
}

// The group size aimed at for a document of `count` blocks: about the square
// root, so that neither the number of groups nor a group's own size grows fast.
function groupSizeFor(count) {
  return Math.max(MIN_GROUP_SIZE, Math.ceil(Math.sqrt(count)));
}

// Margins do not collapse across a group's edge, and sibling rules do not reach
// across it; so a group does not end on a heading (whose bottom margin would add
// to the next block's top margin) nor between two blocks of the same type and
// level other than plain paragraphs (such as quotations, drawn as one bar).
function canSplitBetween(previous, next) {
  const before = previous.className;
  if (before.startsWith('Heading ')) return false;
  return before !== next.className || before.startsWith('Plain ');
}

// Where a run of nodes is cut into groups of about `size`: never past twice that.
function groupCuts(nodes, size) {
  const cuts = [];
  let start = 0;
  for (let k = 1; k < nodes.length; k++) {
    const length = k - start;
    if (length >= 2 * size || (length >= size && canSplitBetween(nodes[k - 1], nodes[k]))) {
      cuts.push(k);
      start = k;
    }
  }
  return cuts;
}

// Puts the top-level nodes of a fragment (blocks and tables) into groups of
// about `size` under root, replacing what root held.
export function fillGroups(root, fragment, size) {
  const nodes = Array.from(fragment.children);
  const cuts = groupCuts(nodes, size).concat([nodes.length]);
  const groups = document.createDocumentFragment();
  let from = 0;
  for (const cut of cuts) {
    const group = createGroup(from === 0);
    for (let k = from; k < cut; k++) group.appendChild(nodes[k]);
    groups.appendChild(group);
    from = cut;
  }
  root.replaceChildren(groups);
}

export const blockGroupsMethods = {
  // The group's child that holds a block element (the block itself or its Table).
  topLevelNode(element) {
    let node = element;
    while (node && node.parentNode && !isGroup(node.parentNode)) node = node.parentNode;
    return node && node.parentNode ? node : null;
  },

  setGroupSize(count) {
    this.groupSize = groupSizeFor(count);
    this.root.style.setProperty('--group-height', (this.groupSize * ESTIMATED_BLOCK_HEIGHT) + 'px');
  },

  // Splits a group that has grown past twice the size aimed at, and removes
  // groups left empty.
  tidyGroups(touched) {
    const size = this.groupSize || MIN_GROUP_SIZE;
    for (const group of touched) {
      if (group.parentNode !== this.root) continue;
      const count = groupContentCount(group);
      if (count === 0 && this.root.childElementCount > 1) {
        this.root.removeChild(group);
      } else if (count > 2 * size) {
        splitGroup(this, group, size);
      }
    }
    // The first group has no start marker, so that its first block is the first child.
    const first = this.root.firstElementChild;
    if (first && isGroupStart(first.firstElementChild)) first.removeChild(first.firstElementChild);
  },

};

// Moves all but the first stretch of a group into new groups after it, each
// stretch in one move (one change for the observers, not one a node).
function splitGroup(store, group, size) {
  const content = Array.from(group.children).filter(function (c) { return !isGroupStart(c); });
  const cuts = groupCuts(content, size).concat([content.length]);
  const after = group.nextSibling;
  const range = document.createRange();
  for (let c = 0; c + 1 < cuts.length; c++) {
    const next = createGroup(false);
    range.setStartBefore(content[cuts[c]]);
    range.setEndAfter(content[cuts[c + 1] - 1]);
    next.appendChild(range.extractContents());
    store.root.insertBefore(next, after);
  }
}
