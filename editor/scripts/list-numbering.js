// The numbers shown before Numbered blocks. They follow the blocks in document
// order: a level-0 block or a heading restarts every list, a block at level n
// restarts the deeper ones, and a Numbered block at level n counts on at level n
// (from its data-start when it begins the list, as does one standing in other
// quotations than the one counted before it there).
// The style sheet shows them from the prefix's data-number attribute. CSS counters
// on every block would say the same, but the program's engine lays those out in
// time quadratic in the number of blocks, which a long manuscript cannot afford.
//
// After a change only the stretch around it is numbered again: from the last
// restarting block before the change to the first one after it. Every counter is
// zero after a restarting block, so nothing beyond that stretch can move.
import { isGroup } from './block-groups.js';
import { descendToBlock } from './selection.js';

const NUMBER_ATTRIBUTE = 'data-number';
const MAX_PLACES = 64;

export class ListNumbering {
  constructor(root) {
    this.root = root;
    // Blocks only; table wrappers are looked through, spans are not entered.
    this.walker = document.createTreeWalker(root, NodeFilter.SHOW_ELEMENT, {
      acceptNode(node) {
        if (isGroup(node)) return NodeFilter.FILTER_SKIP;
        if (node.nodeName !== 'DIV') return NodeFilter.FILTER_REJECT;
        return blockLevel(node) === null ? NodeFilter.FILTER_SKIP : NodeFilter.FILTER_ACCEPT;
      },
    });
    const numbering = this;
    // Mutation callbacks run before the next paint, so no stale number is ever shown.
    this.observer = new MutationObserver(function (records) {
      numbering.update(records.concat(numbering.observer.takeRecords()));
    });
    this.observer.observe(root, { subtree: true, childList: true, attributes: true, attributeFilter: ['class', 'data-start', 'data-quote'] });
    this.numberFrom(null, null);
  }

  update(records) {
    const changed = changedPlaces(records, this.root);
    if (changed === null) return;
    // Ordering many places costs more than numbering everything again.
    if (!changed.length || changed.length > MAX_PLACES) {
      this.numberFrom(null, null);
      return;
    }
    let first = changed[0];
    let last = changed[0];
    for (const node of changed) {
      if (first.compareDocumentPosition(node) & Node.DOCUMENT_POSITION_PRECEDING) first = node;
      if (last.compareDocumentPosition(node) & Node.DOCUMENT_POSITION_FOLLOWING) last = node;
    }
    this.numberFrom(this.restartAtOrBefore(first), last);
  }

  // The nearest restarting block at or before node, or null for the start.
  restartAtOrBefore(node) {
    if (blockLevel(node) === 0) return node;
    this.walker.currentNode = node;
    for (let block = this.walker.previousNode(); block; block = this.walker.previousNode()) {
      if (blockLevel(block) === 0) return block;
    }
    return null;
  }

  // Numbers the blocks from start (null: the first block) until a restarting
  // block after last (null: the end).
  numberFrom(start, last) {
    const counters = [null, null, null, null, null, null];  // null: no list open at that level
    const quotes = ['', '', '', '', '', ''];  // the data-quote of the item each counter counted last
    let next;
    if (start === null && last === null) {
      // Everything: the selector engine lists the blocks faster than a walk.
      const all = this.root.querySelectorAll(':scope > block-group > div:not(.Table), div.TableCell > div');
      let k = 0;
      next = function () { return all[k++] || null; };
    } else {
      const walker = this.walker;
      walker.currentNode = start || this.root;
      next = function () { return walker.nextNode(); };
    }
    let block = start || next();
    let passedLast = last === null;
    for (; block; block = next()) {
      const level = blockLevel(block);
      if (!passedLast && (block === last || (last.compareDocumentPosition(block) & Node.DOCUMENT_POSITION_FOLLOWING))) {
        passedLast = true;
        if (block !== last && level === 0) return;
      } else if (passedLast && last !== null && level === 0) {
        return;
      }
      for (let deeper = level + 1; deeper <= 5; deeper++) counters[deeper] = null;
      if (level === 0 || !block.className.startsWith('Numbered ')) continue;
      const quote = block.getAttribute('data-quote') || '';
      counters[level] = counters[level] === null || quotes[level] !== quote ? startOf(block) : counters[level] + 1;
      quotes[level] = quote;
      const prefix = block.children[1];
      const number = String(counters[level]);
      if (prefix && prefix.getAttribute(NUMBER_ATTRIBUTE) !== number) prefix.setAttribute(NUMBER_ATTRIBUTE, number);
    }
  }
}

// The number a list starting with this block starts at.
function startOf(block) {
  const start = block.getAttribute('data-start');
  return start && /^[0-9]{1,9}$/.test(start) ? parseInt(start, 10) : 1;
}

// The level a block counts at (a heading at 0), or null for anything that is not
// a block.
function blockLevel(node) {
  const className = node.className;
  if (typeof className !== 'string') return null;
  const at = className.indexOf(' Indent');
  if (at < 0) return null;
  if (className.startsWith('Heading ')) return 0;
  const level = className.charCodeAt(at + 7) - 48;
  return level >= 0 && level <= 5 ? level : null;
}

// The nodes in the document next to which blocks were added, removed or retyped;
// null when no change can move a number (text typed into spans cannot), an empty
// list when the change cannot be placed and everything must be numbered again.
function changedPlaces(records, root) {
  let relevant = false;
  const places = [];
  const keep = (node) => {
    if (node && node !== root && node.nodeType === Node.ELEMENT_NODE && root.contains(node)) places.push(node);
  };
  for (const record of records) {
    if (record.type === 'attributes') {
      if (record.target.nodeName !== 'DIV') continue;
      relevant = true;
      keep(record.target);
      continue;
    }
    if (!containsBlock(record.addedNodes) && !containsBlock(record.removedNodes)) continue;
    relevant = true;
    const before = places.length;
    // A group holds too much to be a place: its children changed are.
    if (!isGroup(record.target)) keep(record.target);
    keep(record.previousSibling);
    keep(record.nextSibling);
    for (const node of record.addedNodes) {
      // A group added is placed by its first and last children.
      if (isGroup(node)) {
        keep(descendToBlock(node));
        keep(node.lastElementChild);
      } else {
        keep(node);
      }
    }
    if (places.length === before) return [];
  }
  return relevant ? places : null;
}

function containsBlock(nodes) {
  for (let i = 0; i < nodes.length; i++) if (nodes[i].nodeName === 'DIV' || isGroup(nodes[i])) return true;
  return false;
}
