import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

describe('undo and redo', () => {
  test('typed characters in a row are one step, and the caret comes back too', async () => {
    await s.e.load(doc(para('ab')), [0, 0, 1]);
    await s.e.type('xyz');
    assert.deepEqual(await s.e.model(), doc(para('axyzb')));
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), doc(para('ab')));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 1]);
    assert.deepEqual(await s.e.steps('redo'), doc(para('axyzb')));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 4]);
  });

  test('undo restores the exact element tree of a structural change', async () => {
    await s.e.load(doc(para('one'), block('row', 1, 'a'), block('col', 2, 'b'), para('two'), block('bulleted', 1, 'x')));
    const before = await s.e.eval(() => editor.root.innerHTML.replace(/ id="Active(Span|Block)"/g, ''));
    assert.notDeepEqual(await s.e.steps([[0, 0, 1], [3, 0, 2]], 'deleteBackward', [1, 0, 1], 'insertNewline'), doc(para('one')));
    await s.e.steps('undo', 'undo', 'undo');
    const after = await s.e.eval(() => editor.root.innerHTML.replace(/ id="Active(Span|Block)"/g, ''));
    assert.equal(after, before);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 1], focus: [3, 0, 2] });
    const consistent = await s.e.eval(() => {
      const fromTree = collectBlockElements(editor.root);
      return fromTree.length === editor.blocks.length && fromTree.every((b, i) => b === editor.blocks[i]);
    });
    assert.ok(consistent, 'the block list matches the element tree');
  });

  test('after 150 edits only the last 99 can be undone', async () => {
    await s.e.load(doc(para('')));
    await s.e.eval(() => {
      for (let i = 0; i < 150; i++) {
        editor.beforeChanges();
        editor.setBlockSpans(0, [Span('Plain', String(i + 1))]);
      }
    });
    const depth = await s.e.eval(() => editor.undoStack.length);
    assert.equal(depth, 99);
    await s.e.eval(() => { for (let i = 0; i < 120; i++) undo(); });
    assert.deepEqual(await s.e.model(), doc(para('51')));
    assert.equal(await s.e.eval(() => editor.redoStack.length), 99);
  });

  test('notifications: change done on edits and redo, undone on undo, nothing when there is nothing to undo', async () => {
    await s.e.run(doc(para('ab')), 'undo', 'redo');
    assert.deepEqual(await s.e.hostCalls(), []);
    await s.e.caret(0, 0, 2);
    await s.e.type('c');
    await s.e.steps('undo', 'redo');
    assert.deepEqual(await s.e.hostCalls(), ['done', 'undone', 'done']);
    await s.e.call('undo');
    await s.e.type('d');
    await s.e.call('redo');
    assert.deepEqual(await s.e.model(), doc(para('abd')));
  });

  test('changes made without a snapshot are undone together with the step before them', async () => {
    await s.e.load(doc(para('ab')), [0, 0, 2]);
    await s.e.type('c');
    await s.e.eval(() => editor.setBlockSpans(0, [Span('Strong', 'changed')]));
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), doc(para('ab')));
    await s.e.call('redo');
    assert.deepEqual(await s.e.model(), doc(para(['strong', 'changed'])));
  });

  test('redo after an unrecorded change returns to the undone state and keeps the change undoable', async () => {
    await s.e.load(doc(para('ab')), [0, 0, 2]);
    await s.e.type('c');
    await s.e.call('undo');
    await s.e.call('setTextJson', JSON.stringify(doc(para('loaded'))));
    await s.e.call('redo');
    assert.deepEqual(await s.e.model(), doc(para('abc')));
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), doc(para('loaded')));
  });

  test('undoing a document load gives back the earlier document', async () => {
    await s.e.load(doc(para('first'), block('row', 1, 'a')), [0, 0, 5]);
    await s.e.type('!');
    await s.e.call('setTextJson', JSON.stringify(doc(block('heading', -3, 'second'))));
    assert.deepEqual(await s.e.caretAt(), [0, 0, 0]);
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), doc(para('first'), block('row', 1, 'a')));
    await s.e.call('redo');
    assert.deepEqual(await s.e.model(), doc(block('heading', -3, 'second')));
  });
});
