// Undo steps of typing: a run of typed characters (or of characters deleted in
// one direction) in one block is one undo step, as in a word processor. A run
// ends with a pause, a caret move, a change of block, a change of direction,
// Enter or any other command (every command takes a snapshot, which ends it).
import { SpanList } from './spans.js';

// A pause longer than this starts a new step.
const TYPING_RUN_PAUSE_MS = 1000;

export const RunKind = { Insert: 'insert', Backward: 'backward', Forward: 'forward' };

export const typingRunsMethods = {
  // Called instead of beforeChanges by typing and by the deletion of single
  // characters, with the collapsed caret the edit starts from. Continuing a
  // run takes no snapshot but still tells the host about the change.
  beforeTyping(kind, caret) {
    const state = this.typingState(kind, caret);
    if (continuesRun(this.typingRun, state)) {
      this.typingRun = state;
      this.onChangeDone();
      return;
    }
    this.beforeChanges();
    this.typingRun = state;
  },

  typingState(kind, caret) {
    return {
      kind: kind,
      element: this.blocks[caret.block],
      offset: this.pointToOffset(caret),
      length: SpanList.textLength(this.getBlockSpans(caret.block)),
      time: Date.now(),
    };
  },

};

// The edits since the run's last state must account for the whole change
// of the caret: typing and deleting backwards move the caret by as much as
// the block grew or shrank, deleting forwards leaves it where it was.
function continuesRun(run, now) {
  if (!run || run.kind !== now.kind || run.element !== now.element) return false;
  if (now.time - run.time > TYPING_RUN_PAUSE_MS) return false;
  const moved = now.offset - run.offset;
  const grew = now.length - run.length;
  if (now.kind === RunKind.Insert) return grew > 0 && moved === grew;
  if (now.kind === RunKind.Backward) return grew < 0 && moved === grew;
  return grew < 0 && moved === 0;
}
