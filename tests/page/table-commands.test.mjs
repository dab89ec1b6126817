import { describe, doc, para, block, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const table = (...rows) => rows.flatMap((cells) => cells.map((text, c) => block(c ? 'col' : 'row', c ? 2 : 1, text)));
const grid = (...rows) => doc(...table(...rows));
const abc = grid(['a', 'b', 'c'], ['d', 'e', 'f']);
const three = grid(['a', 'b'], ['c', 'd'], ['e', 'f']);

// The document as paragraphs ("tag:text") and tables (rows of cell texts).
async function layout(e) {
  const out = [];
  for (const b of (await e.model()).slice(1)) {
    const text = b.slice(2).map((span) => span[1]).join('');
    if (b[0] === 'row') (Array.isArray(out.at(-1)) ? out.at(-1) : out[out.push([]) - 1]).push([text]);
    else if (b[0] === 'col') out.at(-1).at(-1).push(text);
    else out.push(b[0] + ':' + text);
  }
  return out;
}

const twoByTwo = [['', ''], ['', '']];
describe('inserting tables, rows and columns', () => stepCases(s, [
  ['a table in a non-empty paragraph comes after it', doc(para('a'), para('b')), [[0, 0, 1], 'insertTable'], ['para:a', twoByTwo, 'para:b'], [1, 0, 0]],
  ['in an empty paragraph the table replaces it, caret in the first cell', doc(para('a'), para(), para('b')), [[1, 0, 0], 'insertTable'],
    ['para:a', twoByTwo, 'para:b'], [1, 0, 0]],
  ['at the end of the document the table comes before Final', doc(para('a')), [[1, 0, 0], 'insertTable'], ['para:a', twoByTwo]],
  ['a table is never put next to or inside another table, and no snapshot is taken then', doc(para('a'), ...table(['x']), para()),
    [[0, 0, 0], 'insertTable', [1, 0, 0], 'insertTable', [2, 0, 0], 'insertTable'], ['para:a', [['x']], 'para:'], null, []],
  ['Insert Row Before on the second cell of a 3-column row', abc, [[4, 0, 0], 'insertTableRowBefore'],
    [[['a', 'b', 'c'], ['', '', ''], ['d', 'e', 'f']]], [4, 0, 0]],
  ['Insert Row After puts the caret in the same column of the new row', doc(...table(['a', 'b'], ['c', 'd']), para('z')),
    [[1, 0, 1], 'insertTableRowAfter'], [[['a', 'b'], ['', ''], ['c', 'd']], 'para:z'], [3, 0, 0]],
  ['Insert Column After adds a cell after the column in every row', grid(['a', 'b'], ['c', 'd']), [[0, 0, 1], 'insertTableColumnAfter'],
    [[['a', '', 'b'], ['c', '', 'd']]], [1, 0, 0]],
  ['Insert Column Before at the first column makes the new cells the rows\' first', grid(['a', 'b'], ['c', 'd']),
    [[2, 0, 0], 'insertTableColumnBefore'], [[['', 'a', 'b'], ['', 'c', 'd']]], [3, 0, 0]],
  ['no column is added to a row of 8 cells', grid(['1', '2', '3', '4', '5', '6', '7', '8']),
    [[3, 0, 0], 'insertTableColumnBefore', 'insertTableColumnAfter'], [[['1', '2', '3', '4', '5', '6', '7', '8']]], null, []],
  ['a column is appended to a row too short to have it, and every block stays in the table',
    doc(...table(['a', 'b', 'c'], ['d']), para('z')), [[2, 0, 0], 'insertTableColumnAfter'], [[['a', 'b', 'c', ''], ['d', '']], 'para:z']],
  ['row and column commands outside a table do nothing', doc(para('a')), [[0, 0, 0], 'insertTableRowBefore', 'insertTableRowAfter',
    'removeTableRow', 'insertTableColumnBefore', 'insertTableColumnAfter', 'removeTableColumn'], ['para:a'], null, []],
], layout));

describe('removing rows and columns', () => stepCases(s, [
  ['Remove Row goes to the same column of the next row', three, [[3, 0, 0], 'removeTableRow'], [[['a', 'b'], ['e', 'f']]], 'f'],
  ['Remove Row of the last row goes to the previous row', grid(['a', 'b'], ['e', 'f']), [[3, 0, 0], 'removeTableRow'], [[['a', 'b']]], 'b'],
  ['removing the row of a one-row table removes the table', doc(para('a'), ...table(['x', 'y']), para('after')),
    [[2, 0, 0], 'removeTableRow'], ['para:a', 'para:after'], 'after'],
  ['Remove Column goes to the cell that took its place', abc, [[4, 0, 0], 'removeTableColumn'], [[['a', 'c'], ['d', 'f']]], 'f'],
  ['Remove Column of the last column goes to the one before', grid(['a', 'c'], ['d', 'f']), [[3, 0, 0], 'removeTableColumn'],
    [[['a'], ['d']]], 'd'],
  ['removing the first column makes the next cell the row', grid(['a', 'b'], ['c', 'd']), [[0, 0, 0], 'removeTableColumn'], [[['b'], ['d']]]],
  ['removing the only column removes the table', doc(para('a'), ...table(['x'], ['y']), para('after')),
    [[2, 0, 0], 'removeTableColumn'], ['para:a', 'para:after'], 'after'],
  ['removing a column that a short row lacks leaves that row alone', grid(['a', 'b', 'c'], ['d']), [[2, 0, 0], 'removeTableColumn'],
    [[['a', 'b'], ['d']]]],
], layout));

describe('moving rows and columns', () => stepCases(s, [
  ['Shift Up moves the row with the caret in its cell', three, [[3, 0, 1], 'shiftParagraphUp'], [[['c', 'd'], ['a', 'b'], ['e', 'f']]], 'd'],
  ['Shift Down of the last row does nothing', three, [[5, 0, 1], 'shiftParagraphDown'], [[['a', 'b'], ['c', 'd'], ['e', 'f']]], 'f'],
  ['a row move takes the whole neighbouring row, whatever its width', grid(['a', 'b', 'c'], ['d']), [[3, 0, 0], 'shiftParagraphUp'],
    [[['d'], ['a', 'b', 'c']]], 'd'],
  ['Shift Left swaps columns in every row and the caret follows', abc, [[1, 0, 1], 'shiftParagraphLeft'], [[['b', 'a', 'c'], ['e', 'd', 'f']]], 'b'],
  ['Shift Left of the first column and Shift Right of the last do nothing', abc,
    [[0, 0, 1], 'shiftParagraphLeft', [2, 0, 1], 'shiftParagraphRight'], [[['a', 'b', 'c'], ['d', 'e', 'f']]], 'c', []],
], layout));

describe('the cut of a row', () => stepCases(s, [
  ['gives the row as a table', grid(['a', 'b'], ['c', 'd'], ['e', 'f', 'g']), [[[2, 0, 0], [4, 0, 0]]], grid(['c', 'd'])],
], async (e) => JSON.parse(await e.call('cut'))));

// Each row's column alignments and widths, "align/widths".
async function columns(e) {
  return (await e.model()).slice(1).filter((b) => b[0] === 'row').map((b) => (b[1].align || '') + '/' + (b[1].widths || ''));
}
const aligned = doc(['row', { level: 1, align: 'lcr', widths: '0.5 0.25 0' }, ['plain', 'a']], ...table(['b', 'c'], ['d', 'e', 'f']).slice(1));
describe('column alignments and widths', () => stepCases(s, [
  ['survive loading, typing and saving', aligned, [[1, 0, 1], { text: 'x' }], ['lcr/0.5 0.25 0', '/']],
  ['lose a removed column\'s entries', aligned, [[1, 0, 0], 'removeTableColumn'], ['lr/0.5 0', '/']],
  ['get default entries for an inserted column', aligned, [[0, 0, 0], 'insertTableColumnBefore'], ['dlcr/0 0.5 0.25 0', '/']],
  ['move with their columns', aligned, [[0, 0, 0], 'shiftParagraphRight'], ['clr/0.25 0.5 0', '/']],
  ['stay on the first row when rows move, go or come before it', aligned,
    [[3, 0, 0], 'shiftParagraphUp', [0, 0, 0], 'insertTableRowBefore', [0, 0, 0], 'removeTableRow', 'removeTableRow'], ['lcr/0.5 0.25 0']],
  ['pass to the next row when a deletion takes the first row', aligned, [[[0, 0, 0], [3, 0, 0]], 'deleteBackward'], ['lcr/0.5 0.25 0']],
], columns));
