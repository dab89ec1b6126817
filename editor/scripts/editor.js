// Editor: the one object the page functions work on. It offers every BlockStore
// operation, the span-list operations, undo and redo, and the host callbacks.
// Editing operations are added to its prototype by the scripts that follow.
'use strict';

const UNDO_LIMIT = 100;

function doNothing() {}

class Editor extends BlockStore {
  constructor(store) {
    super(null);
    Object.assign(this, store);
    this.undoStack = [];
    this.redoStack = [];
    this.onChangeDone = doNothing;
    this.onChangeUndone = doNothing;
    this.onOpenUrl = doNothing;
    this.onOpenFile = doNothing;
    const editor = this;
    this.journal = new ChangeJournal(this.root, this.blocks);
    this.restoring = false;
    // The typing run that the top undo step may still take in (typing-runs.js).
    this.typingRun = null;
    this.journal.wanted = function () {
      return editor.restoring || editor.undoStack.length > 0 || editor.redoStack.length > 0;
    };
    this.onListChange = function (index, removed, inserted) { editor.journal.noteListChange(index, removed, inserted); };
  }

  normalizeSpans(spans) { return SpanList.normalize(spans); }
  splitSpans(spans, s, offset) { return SpanList.split(spans, s, offset, false); }
  splitSpansAllowEmpty(spans, s, offset) { return SpanList.split(spans, s, offset, true); }
  splitSpansMiddle(spans, s1, o1, s2, o2) { return SpanList.splitMiddle(spans, s1, o1, s2, o2); }

  // The selection kept with a snapshot; a page without a selection keeps none.
  _snapshotSelection() {
    return window.getSelection().rangeCount === 1 ? this.getSelection() : null;
  }

  // A snapshot is the state before a change. Only the differences between
  // snapshots are stored: each stack entry holds the changes that lead from its
  // state to the state of the entry above it (for the top entry: to now).
  beforeChanges() {
    this.typingRun = null;
    const pending = this.journal.take();
    const top = this.undoStack[this.undoStack.length - 1];
    if (top) appendAll(top.changes, pending);
    this.redoStack.length = 0;
    this._push(this.undoStack, { selection: this._snapshotSelection(), changes: [] });
    this.onChangeDone();
  }

  undoChanges() {
    if (this._restore(this.undoStack, this.redoStack)) this.onChangeUndone();
  }

  redoChanges() {
    if (this._restore(this.redoStack, this.undoStack)) this.onChangeDone();
  }

  _push(stack, entry) {
    stack.push(entry);
    if (stack.length >= UNDO_LIMIT) stack.shift();
  }

  // Goes back to the state of the top entry of `from`, keeping the present
  // state on `to`.
  _restore(from, to) {
    if (!from.length) return false;
    this.typingRun = null;
    const selection = this._snapshotSelection();
    const pending = this.journal.take();
    const above = to[to.length - 1];
    if (above) appendAll(above.changes, pending);
    const entry = from.pop();
    this.restoring = true;
    try {
      this.journal.revert(pending);
      this.journal.revert(entry.changes);
      this._push(to, { selection: selection, changes: this.journal.take() });
    } finally {
      this.restoring = false;
    }
    this.setSelection(entry.selection || Range(Point(0, 0, 0), Point(0, 0, 0)));
    return true;
  }
}
