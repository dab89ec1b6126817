// Values derived from each block element (its counts, its searchable text),
// kept until a change under that block is observed, so that questions about
// the whole document cost little when little has changed.
import { isGroup } from './block-groups.js';

export class BlockDerivedCache {
  // `derive(element)` computes the value of one block element.
  constructor(root, derive) {
    this.root = root;
    this.derive = derive;
    this.values = new WeakMap();
    const cache = this;
    this.observer = new MutationObserver(function (records) { forget(cache, records); });
    this.observer.observe(root, {
      subtree: true, childList: true, characterData: true, attributes: true, attributeFilter: ['class', 'url', 'dir', 'data-info', 'data-alt', 'data-title', 'data-outer', 'data-spacing', 'data-start', 'data-quote', 'data-align', 'data-widths'],
    });
  }

  // Takes in the changes not yet delivered; call before a series of reads.
  refresh() {
    forget(this, this.observer.takeRecords());
  }

  // Stores a value known to be that of the element as it stands.
  set(element, value) {
    this.values.set(element, value);
  }

  get(element) {
    let value = this.values.get(element);
    if (value === undefined) {
      value = this.derive(element);
      this.values.set(element, value);
    }
    return value;
  }
}

// The block element a change happened in, if any.
function blockOf(cache, node) {
  while (node && node !== cache.root) {
    const parent = node.parentNode;
    if (node.nodeName === 'DIV' && parent && (isGroup(parent) || parent.className === 'TableCell')) return node;
    node = parent;
  }
  return null;
}

function forget(cache, records) {
  for (const record of records) {
    const block = blockOf(cache, record.target);
    if (block) cache.values.delete(block);
  }
}
