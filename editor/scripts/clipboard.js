// The page's halves of copy, cut and paste: the selection goes out as model
// JSON (a fragment with root "inline" when it lies in one block) and model JSON
// comes in. The page never touches the system clipboard itself.
import { Point, assert } from './base.js';
import { editor } from './current-editor.js';
import { readBlockAttributes } from './block-elements.js';
import { modelFromRecords, recordsFromModel } from './model.js';
import { SpanList } from './spans.js';
import { BlockType, Span, SpanType, isObjectType, isTableType, spanWithText, traitsOf } from './types.js';

export const clipboardMethods = {
  copySpans(start, end) {
    assert(start.block === end.block, 'ERR087');
    const spans = this.getBlockSpans(start.block);
    return SpanList.splitMiddle(spans, start.span, start.offset, end.span, end.offset).Middle;
  },

  // Records of the blocks from start to end: the start block from the start
  // point on, the blocks between whole, the end block up to the end point.
  copyBlocks(start, end) {
    assert(start.block < end.block, 'ERR091');
    const records = [];
    const head = this.copyHead(start);
    if (head) records.push(head);
    for (let i = start.block + 1; i < end.block; i++) records.push(copyRecord(this, i));
    const tail = this.copyTail(end);
    if (tail) records.push(tail);
    return records;
  },

  // The start block's record from the point on, or null when nothing follows it.
  copyHead(start) {
    const record = copyRecord(this, start.block);
    if (isObjectType(record.Type)) return record;
    record.Spans = SpanList.split(record.Spans, start.span, start.offset, false).After;
    return record.Spans.length ? record : null;
  },

  // The end block's record up to the point, without a trailing line break, or
  // null when nothing precedes the point.
  copyTail(end) {
    const record = copyRecord(this, end.block);
    record.Spans = SpanList.split(record.Spans, end.span, end.offset, false).Before;
    if (record.Spans.length && record.Spans[record.Spans.length - 1].Type === SpanType.Break) record.Spans.pop();
    return record.Spans.length ? record : null;
  },

  copy() {
    const model = copyModel(this);
    return model ? JSON.stringify(model) : null;
  },

  // Cutting needs a selection (a selected image counts as one).
  cut() {
    const range = this.getSelection();
    const onImage = isObjectType(this.getBlockType(range.start.block));
    if (range.collapsed && !onImage) return null;
    const json = this.copy();
    if (json === null) return null;
    this.beforeChanges();
    this.setCaret(this.removeSelection(range));
    return json;
  },

  getSelectedText() {
    if (this.getSelection().collapsed) return '';
    const model = copyModel(this);
    if (!model) return '';
    const texts = model.slice(1).map(function (block) {
      return block.slice(2).map(function (span) { return span[1]; }).join('');
    });
    return model[0] === 'inline' ? texts[0] : texts.join('\n\n') + '\n';
  },

  // Inserts spans at a point of a block and returns the point after them.
  insertSpans(point, spans) {
    const parts = SpanList.split(this.getBlockSpans(point.block), point.span, point.offset, false);
    if (traitsOf(this.getBlockType(point.block)).Verbatim) {
      // Code and math blocks hold no character styles.
      spans = spans.map(function (s) { return s.Type === SpanType.Break ? s : Span(SpanType.Plain, s.Text); });
    }
    const head = SpanList.normalize(SpanList.guardBreaks(parts.Before.concat(spans)));
    const caret = Point(point.block, head.length - 1, head[head.length - 1].Text.length);
    this.setBlockSpans(point.block, SpanList.normalize(SpanList.guardBreaks(head.concat(parts.After))));
    return caret;
  },

  paste(json) {
    // Everything is read before anything changes: bad input throws and the
    // document stays as it was.
    const parsed = JSON.parse(json);
    let inline = false;
    if (Array.isArray(parsed) && parsed[0] === 'inline') {
      parsed[0] = 'text';
      inline = true;
    }
    const records = recordsFromModel(parsed);
    if (!records.length) return;
    for (const record of records) {
      if (isTableType(record.Type)) {
        // Tables are never pasted as tables.
        record.Type = BlockType.Plain;
        record.Level = 0;
      }
      record.Spans = SpanList.normalize(record.Spans);
    }

    this.beforeChanges();
    const range = this.getSelection();
    let point = range.collapsed ? range.start : this.removeSelection(range);
    const type = this.getBlockType(point.block);
    if (type === BlockType.Final || isObjectType(type)) {
      // Pasting on a selected image writes before it, as typing does.
      this.insertBlock(point.block, BlockType.Plain, 0);
      point = Point(point.block, 0, 0);
    }
    if (inline || this.isBlockInsideTable(point.block)) {
      this.setCaret(this.insertSpans(point, records[0].Spans));
    } else {
      pasteBlocks(this, point, records);
    }
  },

};

export function copy() { return editor.copy(); }
export function cut() { return editor.cut(); }
export function paste(json) { editor.paste(json); }
export function getSelectedText() { return editor.getSelectedText(); }

// The selection as a model array (root "inline" for a fragment), or null
// when there is nothing to copy.
function copyModel(editor) {
  const range = editor.getSelection();
  const final = editor.getBlockCount() - 1;
  let start = range.start;
  let end = range.end;
  if (range.collapsed) {
    if (start.block === final || editor.isBlockEmpty(start.block)) return null;
    end = Point(start.block + 1, 0, 0);
  }
  let fragment = false;
  let records;
  if (start.block === end.block) {
    fragment = true;
    records = [{ Type: BlockType.Plain, Level: 0, Spans: editor.copySpans(start, end) }];
  } else {
    records = editor.copyBlocks(start, end);
  }
  const model = modelFromRecords(records);
  const empty = model.length === 1 || (fragment && model[1].length === 2);
  if (empty) return null;
  if (fragment) model[0] = 'inline';
  return model;
}

// A block's record as copied: a right-to-left block says so.
function copyRecord(editor, i) {
  const record = { Type: editor.getBlockType(i), Level: editor.getBlockLevel(i), Spans: editor.getBlockSpans(i) };
  if (editor.getBlockRTL(i)) record.RTL = true;
  return readBlockAttributes(editor.blocks[i], record);
}

function pasteBlocks(editor, point, records) {
  const i = point.block;
  const parts = SpanList.split(editor.getBlockSpans(i), point.span, point.offset, false);
  const after = parts.After;
  if (after.length) after[0] = spanWithText(after[0], after[0].Text.replace(/^ +/, ''));
  const textBefore = SpanList.textLength(parts.Before) > 0;
  const textAfter = SpanList.textLength(after) > 0;
  const guard = function (spans) { return SpanList.normalize(SpanList.guardBreaks(spans)); };
  let at;
  if (textBefore) {
    editor.setBlockSpans(i, guard(parts.Before));
    if (textAfter) {
      const rest = editor.recordOf(i);
      rest.Spans = guard(after);
      editor.insertRecords(i + 1, [rest]);
    }
    at = i + 1;
    editor.insertRecords(at, records);
  } else if (textAfter) {
    editor.setBlockSpans(i, guard(after));
    at = i;
    editor.insertRecords(at, records);
  } else {
    at = i;
    editor.spliceBlocks(i, 1, records.map(editor.elementFromRecord, editor));
  }
  editor.setCaret(editor.getBlockEnd(at + records.length - 1));
}
