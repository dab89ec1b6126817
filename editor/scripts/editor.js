// Editor: the one object the page functions work on. It offers every BlockStore
// operation, the span-list operations, undo and redo, and the host callbacks.
// The editing operations live in their own modules, each exporting its methods;
// they are mixed into the prototype here, after the class.
import { Point, Range, appendAll } from './base.js';
import { BlockStore } from './block-store.js';
import { caretMovesMethods } from './caret-moves.js';
import { ChangeJournal } from './change-journal.js';
import { characterStylesMethods } from './character-styles.js';
import { clipboardMethods } from './clipboard.js';
import { commandStepsMethods } from './command-steps.js';
import { countsMethods } from './counts.js';
import { deletingMethods } from './deleting.js';
import { levelsMethods } from './levels.js';
import { modelMethods } from './model.js';
import { newlinesMethods } from './newlines.js';
import { notesLinksImagesMethods } from './notes-links-images.js';
import { outlineMethods } from './outline.js';
import { paragraphMovesMethods } from './paragraph-moves.js';
import { paragraphStylesMethods } from './paragraph-styles.js';
import { recoveryCopyMethods } from './recovery-copy.js';
import { searchMethods } from './search.js';
import { searchReplaceMethods } from './search-replace.js';
import { SpanList } from './spans.js';
import { tableCommandsMethods } from './table-commands.js';
import { tablesMethods } from './tables.js';
import { typingMethods } from './typing.js';
import { typingRunsMethods } from './typing-runs.js';

const UNDO_LIMIT = 100;

function doNothing() {}

export class Editor extends BlockStore {
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

  // A snapshot is the state before a change. Only the differences between
  // snapshots are stored: each stack entry holds the changes that lead from its
  // state to the state of the entry above it (for the top entry: to now).
  beforeChanges() {
    this.typingRun = null;
    const pending = this.journal.take();
    const top = this.undoStack[this.undoStack.length - 1];
    if (top) appendAll(top.changes, pending);
    this.redoStack.length = 0;
    pushEntry(this.undoStack, { selection: snapshotSelection(this), changes: [] });
    this.onChangeDone();
  }

  undoChanges() {
    if (restoreEntry(this, this.undoStack, this.redoStack)) this.onChangeUndone();
  }

  redoChanges() {
    if (restoreEntry(this, this.redoStack, this.undoStack)) this.onChangeDone();
  }
}

// No two modules define the same method, so the order here does not matter;
// countsMethods.replaceAllBlocks extends the one of BlockStore.
Object.assign(Editor.prototype,
  typingRunsMethods, modelMethods, tablesMethods, levelsMethods, deletingMethods, newlinesMethods,
  caretMovesMethods, typingMethods, commandStepsMethods, paragraphStylesMethods,
  characterStylesMethods, paragraphMovesMethods, tableCommandsMethods, notesLinksImagesMethods,
  clipboardMethods, countsMethods, searchMethods, searchReplaceMethods, outlineMethods,
  recoveryCopyMethods);

// The selection kept with a snapshot; a page without a selection keeps none.
function snapshotSelection(editor) {
  return window.getSelection().rangeCount === 1 ? editor.getSelection() : null;
}

function pushEntry(stack, entry) {
  stack.push(entry);
  if (stack.length >= UNDO_LIMIT) stack.shift();
}

// Goes back to the state of the top entry of `from`, keeping the present
// state on `to`.
function restoreEntry(editor, from, to) {
  if (!from.length) return false;
  editor.typingRun = null;
  const selection = snapshotSelection(editor);
  const pending = editor.journal.take();
  const above = to[to.length - 1];
  if (above) appendAll(above.changes, pending);
  const entry = from.pop();
  editor.restoring = true;
  try {
    editor.journal.revert(pending);
    editor.journal.revert(entry.changes);
    pushEntry(to, { selection: selection, changes: editor.journal.take() });
  } finally {
    editor.restoring = false;
  }
  editor.setSelection(entry.selection || Range(Point(0, 0, 0), Point(0, 0, 0)));
  return true;
}
