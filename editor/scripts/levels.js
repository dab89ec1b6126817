// Raising and lowering the level of the selected paragraphs.
import { BlockType, traitsOf } from './types.js';

export const levelsMethods = {

  indentParagraph() {
    const range = this.getSelection();
    materializeFinal(this, range);
    // The remembered range now names the new paragraph where it named Final.
    const sel = this.selectedBlocksOf(range);
    const raise = [];
    for (let i = sel.start; i <= sel.end; i++) {
      if (this.getBlockLevel(i) < traitsOf(this.getBlockType(i)).MaxLevel) raise.push(i);
    }
    if (raise.length) {
      this.beforeChanges();
      for (const i of raise) this.setBlockLevel(i, this.getBlockLevel(i) + 1);
    }
    this.setSelection(range);
  },

  unindentParagraph() {
    const range = this.getSelection();
    const sel = this.getSelectedBlocks();
    const end = Math.min(sel.end, this.getBlockCount() - 2);
    if (end < sel.start) return;
    let change = false;
    for (let i = sel.start; i <= end; i++) {
      const type = this.getBlockType(i);
      if (this.getBlockLevel(i) > traitsOf(type).MinLevel || type === BlockType.Bulleted) change = true;
    }
    if (!change) return;
    this.beforeChanges();
    for (let i = sel.start; i <= end; i++) {
      const type = this.getBlockType(i);
      const level = this.getBlockLevel(i);
      if (level > traitsOf(type).MinLevel) {
        this.setBlockLevel(i, level - 1);
      } else if (type === BlockType.Bulleted) {
        this.setBlockType(i, BlockType.Plain);
      }
    }
    this.setSelection(range);
  },
};

// When the selection ends in Final, the paragraph to work on is made first.
function materializeFinal(editor, range) {
  const last = editor.getBlockCount() - 1;
  if (range.end.block !== last) return false;
  editor.insertBlock(last, BlockType.Plain, 0);
  return true;
}
