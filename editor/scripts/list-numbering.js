// The numbers shown before Numbered blocks. They follow the blocks in document
// order: a level-0 block or a heading restarts every list, a block at level n
// restarts the deeper ones, and a Numbered block at level n counts on at level n.
// The style sheet shows them from the prefix's data-number attribute. CSS counters
// on every block would say the same, but the program's engine lays those out in
// time quadratic in the number of blocks, which a long manuscript cannot afford.
'use strict';

const NUMBER_ATTRIBUTE = 'data-number';

class ListNumbering {
  constructor(root) {
    this.root = root;
    const numbering = this;
    // Mutation callbacks run before the next paint, so no stale number is ever shown.
    this.observer = new MutationObserver(function (records) {
      if (records.some(changesBlockList)) numbering.update();
    });
    this.observer.observe(root, { subtree: true, childList: true, attributes: true, attributeFilter: ['class'] });
    this.update();
  }

  update() {
    this.observer.takeRecords();
    const counters = [0, 0, 0, 0, 0, 0];
    const blocks = this.root.getElementsByTagName('div');
    for (let i = 0; i < blocks.length; i++) {
      const block = blocks[i];
      const className = block.className;
      const at = className.indexOf(' Indent');
      if (at < 0) continue;  // table wrappers
      const type = className.substring(0, at);
      const level = type === 'Heading' ? 0 : (className.charCodeAt(at + 7) - 48);
      if (!(level >= 0 && level <= 5)) continue;
      for (let deeper = level + 1; deeper <= 5; deeper++) counters[deeper] = 0;
      if (type !== 'Numbered' || level === 0) continue;
      counters[level] += 1;
      const prefix = block.children[1];
      const number = String(counters[level]);
      if (prefix && prefix.getAttribute(NUMBER_ATTRIBUTE) !== number) prefix.setAttribute(NUMBER_ATTRIBUTE, number);
    }
  }
}

// Whether a change can move a number: blocks added, removed or retyped. Text typed
// into spans cannot.
function changesBlockList(record) {
  if (record.type === 'attributes') return record.target.nodeName === 'DIV';
  return containsBlock(record.addedNodes) || containsBlock(record.removedNodes);
}

function containsBlock(nodes) {
  for (let i = 0; i < nodes.length; i++) if (nodes[i].nodeName === 'DIV') return true;
  return false;
}
