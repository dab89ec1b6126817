// The entry of the page the page tests and benchmarks open: the product page,
// plus the names their code run in the page uses (points, ranges, block
// records, the current editor). The program's page never carries these.
import './page.js';
import { Point, Range } from './base.js';
import { collectBlockElements, readBlockRecord } from './block-elements.js';
import { groupContentCount, isGroupStart } from './block-groups.js';
import { editor } from './current-editor.js';
import { ListNumbering } from './list-numbering.js';
import { modelFromRecords } from './model.js';
import { findTextMatches, foldForMatching } from './text-matches.js';
import { Span } from './types.js';

Object.assign(window, {
  Point, Range, Span, ListNumbering, readBlockRecord, collectBlockElements, isGroupStart,
  groupContentCount, modelFromRecords, foldForMatching, findTextMatches,
});
Object.defineProperty(window, 'editor', { get: function () { return editor; }, configurable: true });
