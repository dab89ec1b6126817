// Records every change under the editor root, so that undo and redo replay the
// difference between two states instead of copying the whole document.
// Changes of the element tree come from a MutationObserver (they include what the
// browser itself does when the user types); changes of the block list are noted
// by the store. Reverting a list of changes in reverse order restores the state
// before them, and the reverting is itself recorded, which gives the way back.
import { spliceInPlace } from './block-render.js';

const JOURNAL_ATTRIBUTES = ['class', 'dir', 'contenteditable', 'src', 'url', 'onerror', 'data-info', 'data-alt', 'data-title', 'data-outer', 'data-spacing', 'data-start', 'data-quote', 'data-align', 'data-widths', 'spellcheck'];

export class ChangeJournal {
  constructor(root, blocks) {
    this.root = root;
    this.blocks = blocks;
    this.changes = [];
    // Set by the owner: whether anything could still want to go back.
    this.wanted = function () { return true; };
    const journal = this;
    this.observer = new MutationObserver(function (records) { addRecords(journal, records); });
    this.observer.observe(root, {
      subtree: true, childList: true, characterData: true, characterDataOldValue: true,
      attributes: true, attributeOldValue: true, attributeFilter: JOURNAL_ATTRIBUTES,
    });
  }

  flush() {
    addRecords(this, this.observer.takeRecords());
  }

  noteListChange(index, removed, inserted) {
    this.flush();
    if (this.wanted()) this.changes.push({ type: 'list', index: index, removed: removed, inserted: inserted });
  }

  // Hands over everything recorded so far and starts a new list.
  take() {
    this.flush();
    const changes = this.changes;
    this.changes = [];
    return changes;
  }

  revert(changes) {
    for (let i = changes.length - 1; i >= 0; i--) {
      const change = changes[i];
      if (change.type === 'list') {
        spliceInPlace(this.blocks, change.index, change.inserted.length, change.removed);
        this.noteListChange(change.index, change.inserted, change.removed);
      } else {
        revertMutation(change);
      }
    }
  }
}

function revertMutation(record) {
  const target = record.target;
  if (record.type === 'characterData') {
    target.data = record.oldValue;
  } else if (record.type === 'attributes') {
    if (record.oldValue === null) target.removeAttribute(record.attributeName);
    else target.setAttribute(record.attributeName, record.oldValue);
  } else {
    for (const node of Array.from(record.addedNodes)) {
      if (node.parentNode === target) target.removeChild(node);
    }
    const next = record.nextSibling;
    const previous = record.previousSibling;
    let reference = null;
    if (next && next.parentNode === target) reference = next;
    else if (previous && previous.parentNode === target) reference = previous.nextSibling;
    else if (!previous) reference = target.firstChild;
    for (const node of Array.from(record.removedNodes)) target.insertBefore(node, reference);
  }
}

function addRecords(journal, records) {
  if (!journal.wanted()) return;
  for (const r of records) {
    // The root's own class is the navigation mode, which undo leaves alone.
    if (r.type === 'attributes' && r.target === journal.root) continue;
    journal.changes.push(r);
  }
}
