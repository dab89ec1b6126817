// Keeps the element tree under the root in step with `blocks`. A change re-renders
// only the changed blocks and the whole table runs next to them, because runs of
// Row and Cell blocks are grouped into Table / TableRow / TableCell wrappers.
// Blocks and tables sit in groups under the root (block-groups.js).
import { blockTypeOfElement } from './block-elements.js';
import { fillGroups } from './block-groups.js';
import { BlockType, isTableType } from './types.js';

function createWrapper(className) {
  const div = document.createElement('div');
  div.className = className;
  return div;
}

// Cells show the alignment of their column, as the table's first Row says it.
const CELL_ALIGNMENT = { l: 'left', c: 'center', r: 'right' };

// Appends blocks[from..to) to parent, wrapping table runs.
function renderBlockRun(parent, blocks, from, to) {
  let table = null;
  let row = null;
  let align = '';
  let column = 0;
  for (let i = from; i < to; i++) {
    const element = blocks[i];
    const type = blockTypeOfElement(element);
    if (!isTableType(type)) {
      table = null;
      parent.appendChild(element);
      continue;
    }
    if (!table) {
      table = createWrapper('Table');
      parent.appendChild(table);
      row = null;
      align = element.getAttribute('data-align') || '';
    }
    if (type === BlockType.Row || !row) {
      row = createWrapper('TableRow');
      table.appendChild(row);
      column = 0;
    }
    const cell = createWrapper('TableCell');
    const alignment = CELL_ALIGNMENT[align.charAt(column++)];
    if (alignment) cell.style.textAlign = alignment;
    row.appendChild(cell);
    cell.appendChild(element);
  }
}

// Array splice without spreading the arguments, which fails for very long lists.
export function spliceInPlace(list, index, deleteCount, inserted) {
  if (inserted.length < 1000) return list.splice.apply(list, [index, deleteCount].concat(inserted));
  const removed = list.slice(index, index + deleteCount);
  const tail = list.slice(index + deleteCount);
  list.length = index;
  for (const item of inserted) list.push(item);
  for (const item of tail) list.push(item);
  return removed;
}

export const blockRenderMethods = {
  // Replaces `deleteCount` blocks at index by `inserted` (block elements) and
  // re-renders the affected stretch, in the group of the blocks next to it.
  spliceBlocks(index, deleteCount, inserted) {
    const blocks = this.blocks;
    let lo = index;
    while (lo > 0 && isTableType(blockTypeOfElement(blocks[lo - 1]))) lo--;
    let hi = index + deleteCount;
    while (hi < blocks.length && isTableType(blockTypeOfElement(blocks[hi]))) hi++;

    if (lo === 0 && hi === blocks.length) {
      this.setBlocks(inserted.slice());
      renderAll(this);
      return;
    }
    const before = lo > 0 ? this.topLevelNode(blocks[lo - 1]) : null;
    const after = hi < blocks.length ? this.topLevelNode(blocks[hi]) : null;
    const touched = [];
    let top = null;
    for (let i = lo; i < hi; i++) {
      const next = this.topLevelNode(blocks[i]);
      if (!next || next === top) continue;
      top = next;
      if (touched[touched.length - 1] !== top.parentNode) touched.push(top.parentNode);
      top.parentNode.removeChild(top);
    }
    spliceList(this, index, deleteCount, inserted);
    const fragment = document.createDocumentFragment();
    renderBlockRun(fragment, this.blocks, lo, hi - deleteCount + inserted.length);
    // After the block before the stretch, in its group; at the start, before the block after it.
    const group = before ? before.parentNode : after.parentNode;
    group.insertBefore(fragment, before ? before.nextSibling : after);
    touched.push(group);
    this.tidyGroups(touched);
  },

  setBlocks(list) {
    spliceList(this, 0, this.blocks.length, list);
  },

};

// Every change of the list goes through here so that undo can replay it.
function spliceList(store, index, deleteCount, inserted) {
  const removed = spliceInPlace(store.blocks, index, deleteCount, inserted);
  if (store.onListChange) store.onListChange(index, removed, inserted);
}

// Renders the whole list afresh (the block elements themselves are reused).
function renderAll(store) {
  const fragment = document.createDocumentFragment();
  renderBlockRun(fragment, store.blocks, 0, store.blocks.length);
  store.setGroupSize(store.blocks.length);
  fillGroups(store.root, fragment, store.groupSize);
}
