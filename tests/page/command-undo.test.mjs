import { test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const start = doc(
  block('heading', -3, 'Title'),
  para('one ', ['emph', 'two'], ' three', ['noteref', '1']),
  block('note', 0, ['noteref', '1'], 'note'),
  block('row', 1, 'a'), block('col', 2, 'b'), block('row', 1, 'c'), block('col', 2, 'd'),
  ['quote', { level: 0, direction: 'rtl' }, ['plain', 'quoted']],
  block('image', 0, ['url', 'p.png']),
  para('last words'),
);

const commands = [
  ['Bulleted over several blocks', [[0, 0, 0], [2, 1, 2]], 'styleParagraphBulleted'],
  ['Code Block', [[1, 1, 1], [1, 1, 1]], 'styleParagraphCode'],
  ['Image from text', [[9, 0, 2], [9, 0, 2]], 'styleParagraphImage'],
  ['Strong on a word', [[9, 0, 1], [9, 0, 1]], 'styleWordStrong'],
  ['Reference', [[9, 0, 4], [9, 0, 4]], 'styleWordReference'],
  ['Shift Up', [[9, 0, 1], [9, 0, 1]], 'shiftParagraphUp'],
  ['Shift Down', [[0, 0, 1], [0, 0, 1]], 'shiftParagraphDown'],
  ['Shift Up of a table row', [[5, 0, 0], [5, 0, 0]], 'shiftParagraphUp'],
  ['Shift Right of a table column', [[3, 0, 0], [3, 0, 0]], 'shiftParagraphRight'],
  ['Indent', [[1, 0, 0], [1, 0, 0]], 'indentParagraph'],
  ['Right to Left', [[0, 0, 0], [1, 0, 2]], 'setRTL'],
  ['Insert Table', [[9, 0, 2], [9, 0, 2]], 'insertTable'],
  ['Insert Row Before', [[4, 0, 0], [4, 0, 0]], 'insertTableRowBefore'],
  ['Insert Column After', [[3, 0, 0], [3, 0, 0]], 'insertTableColumnAfter'],
  ['Remove Column', [[3, 0, 0], [3, 0, 0]], 'removeTableColumn'],
  ['Footnote from a selection', [[1, 0, 0], [1, 0, 3]], 'insertFootnote'],
  ['Following a reference to a new note', [[9, 0, 0], [9, 0, 0]], 'followLink'],
  ['Hyperlink', [[9, 0, 4], [9, 0, 4]], 'insertHyperlink', 'text', 'https://a.org'],
  ['Image', [[1, 0, 2], [1, 0, 2]], 'insertImage', 'pics/x.png'],
  ['Cut across a table', [[1, 0, 2], [5, 0, 1]], 'cut'],
  ['Paste of paragraphs', [[1, 0, 2], [1, 0, 2]], 'paste', '["text",["para",{"level":0},["plain","P"]],["quote",{"level":0},["plain","Q"]]]'],
  ['Paste of a fragment into a cell', [[4, 0, 1], [4, 0, 1]], 'paste', '["inline",["para",{"level":0},["strong","S"]]]'],
];

test('each command is undone and redone as one step', async () => {
  for (const [name, [anchor, focus], command, ...args] of commands) {
    await s.e.load(start);
    if (name === 'Following a reference to a new note') {
      await s.e.eval(() => {
        editor.setBlockSpans(9, [{ Type: 'NoteRef', Text: '9' }, { Type: 'Plain', Text: ' words' }]);
      });
    }
    const before = await s.e.model();
    await s.e.select(anchor, focus);
    await s.e.call(command, ...args);
    const changed = await s.e.model();
    assert.notDeepEqual(changed, before, `${name} changed nothing`);
    assert.deepEqual(await s.e.hostCalls(), ['done'], name);
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), before, `undo of ${name}`);
    await s.e.call('redo');
    assert.deepEqual(await s.e.model(), changed, `redo of ${name}`);
    assert.deepEqual(s.e.errors, [], name);
  }
});
