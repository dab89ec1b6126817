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
'use strict';

const GROUP_TAG = 'BLOCK-GROUP';
const GROUP_START_TAG = 'GROUP-START';
const MIN_GROUP_SIZE = 64;
// Height a group not yet laid out is taken to have, per block in it.
const ESTIMATED_BLOCK_HEIGHT = 36;

function isGroup(node) {
  return !!node && node.nodeName === GROUP_TAG;
}

function isGroupStart(node) {
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
function groupContentCount(group) {
  return group.childElementCount - (isGroupStart(group.firstElementChild) ? 1 : 0);
}

// The group size aimed at for a document of `count` blocks: about the square
// root, so that neither the number of groups nor a group's own size grows fast.
function groupSizeFor(count) {
  return Math.max(MIN_GROUP_SIZE, Math.ceil(Math.sqrt(count)));
}

// Puts the top-level nodes of a fragment (blocks and tables) into groups of
// `size` under root, replacing what root held.
function fillGroups(root, fragment, size) {
  const groups = document.createDocumentFragment();
  let group = null;
  while (fragment.firstChild) {
    if (!group || group.childElementCount >= size) {
      group = createGroup(!groups.firstChild);
      groups.appendChild(group);
    }
    group.appendChild(fragment.firstChild);
  }
  if (!groups.firstChild) groups.appendChild(createGroup(true));
  root.replaceChildren(groups);
}

Object.assign(BlockStore.prototype, {
  // The group's child that holds a block element (the block itself or its Table).
  _topLevelNode(element) {
    let node = element;
    while (node && node.parentNode && !isGroup(node.parentNode)) node = node.parentNode;
    return node && node.parentNode ? node : null;
  },

  _setGroupSize(count) {
    this.groupSize = groupSizeFor(count);
    this.root.style.setProperty('--group-height', (this.groupSize * ESTIMATED_BLOCK_HEIGHT) + 'px');
  },

  // Splits a group that has grown past twice the size aimed at, and removes
  // groups left empty.
  _tidyGroups(touched) {
    const size = this.groupSize || MIN_GROUP_SIZE;
    for (const group of touched) {
      if (group.parentNode !== this.root) continue;
      const count = groupContentCount(group);
      if (count === 0 && this.root.childElementCount > 1) {
        this.root.removeChild(group);
      } else if (count > 2 * size) {
        this._splitGroup(group, size);
      }
    }
    // The first group has no start marker, so that its first block is the first child.
    const first = this.root.firstElementChild;
    if (first && isGroupStart(first.firstElementChild)) first.removeChild(first.firstElementChild);
  },

  // Moves all but the first `size` nodes of a group into new groups after it,
  // each stretch in one move (one change for the observers, not one a node).
  _splitGroup(group, size) {
    const content = Array.from(group.children).filter(function (c) { return !isGroupStart(c); });
    const after = group.nextSibling;
    const range = document.createRange();
    for (let from = size; from < content.length; from += size) {
      const next = createGroup(false);
      range.setStartBefore(content[from]);
      range.setEndAfter(content[Math.min(from + size, content.length) - 1]);
      next.appendChild(range.extractContents());
      this.root.insertBefore(next, after);
    }
  },
});
