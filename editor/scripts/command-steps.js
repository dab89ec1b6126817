// Steps shared by the formatting, table, note and clipboard commands: keeping
// a selection across a change, making the paragraph a command works on when the
// selection sits in Final, and inserting many blocks in one step.
import { Range } from './base.js';
import { createBlockElement } from './block-elements.js';
import { SpanList } from './spans.js';
import { BlockType, isObjectType } from './types.js';
import { readBlockAttributes, writeBlockAttributes } from './block-elements.js';

export const commandStepsMethods = {
  // When the selected blocks end in Final, inserts an empty paragraph before it
  // and returns true; the paragraph takes Final's index, so points that were in
  // Final now lie in it.
  paragraphForFinal(end) {
    const last = this.getBlockCount() - 1;
    if (end !== last) return false;
    this.insertBlock(last, BlockType.Plain, 0);
    return true;
  },

  // Remembers a range so it can be put back after the blocks' spans changed:
  // a point whose block kept its spans is restored as it was, any other at the
  // same character offset within its block.
  rememberRange(range) {
    const editor = this;
    const remember = function (point) {
      return {
        point: point,
        offset: editor.pointToOffset(point),
        spans: JSON.stringify(editor.getBlockSpans(point.block)),
      };
    };
    return { anchor: remember(range.anchor), focus: remember(range.focus) };
  },

  restoreRange(remembered) {
    const editor = this;
    const restore = function (r) {
      const block = r.point.block;
      if (block >= editor.getBlockCount()) return editor.getBlockEnd(editor.getBlockCount() - 1);
      if (JSON.stringify(editor.getBlockSpans(block)) === r.spans) return r.point;
      const length = SpanList.textLength(editor.getBlockSpans(block));
      return editor.offsetToPoint(block, Math.min(r.offset, length));
    };
    this.setSelection(Range(restore(remembered.anchor), restore(remembered.focus)));
  },

  // Deletes a selection and returns where the caret belongs. A selection that
  // ends on an image ends before it (the image's only point is its start), so
  // the image stays whole instead of joining the text before it.
  removeSelection(range) {
    let end = range.end;
    if (end.block > range.start.block && isObjectType(this.getBlockType(end.block))) {
      end = this.getBlockEnd(end.block - 1);
    }
    return this.removeAndJoin(range.start, end);
  },

  // A block element for a record; the direction is kept when the record has one.
  elementFromRecord(record) {
    const element = createBlockElement(record.Type, record.Level, record.Spans);
    writeBlockAttributes(element, record);
    if (record.RTL) element.setAttribute('dir', 'rtl');
    else if (record.Dir) element.setAttribute('dir', record.Dir);
    return element;
  },

  // Inserts block records at index i with a single re-render.
  insertRecords(i, records) {
    const editor = this;
    this.spliceBlocks(i, 0, records.map(function (r) { return editor.elementFromRecord(r); }));
  },

  // The record of block i with its direction attribute as it stands.
  recordOf(i) {
    const record = { Type: this.getBlockType(i), Level: this.getBlockLevel(i), Spans: this.getBlockSpans(i) };
    const dir = this.blocks[i].getAttribute('dir');
    if (dir) record.Dir = dir;
    return readBlockAttributes(this.blocks[i], record);
  },
};
