import { test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const COMMANDS = new Set(['insertNewline', 'deleteBackward', 'deleteForward', 'styleParagraphHeading1']);
async function act(step) {
  if (typeof step === 'string' && COMMANDS.has(step)) return s.e.call(step);
  if (typeof step === 'string') return s.e.type(step);
  if (Array.isArray(step)) return s.e.caret(...step);
  if (step.key) return s.e.page.keyboard.press(step.key);
  return new Promise((resolve) => setTimeout(resolve, step.wait));
}

const two = doc(para('one'), para('two'));
const cases = [
  ['a run of typing is one step', doc(para()), [0, 0, 0], ['hello world'], [doc(para())]],
  ['a caret move ends the run', doc(para()), [0, 0, 0], ['ab', { key: 'ArrowLeft' }, 'c'],
    [doc(para('ab')), doc(para())]],
  ['a pause of over a second ends the run', doc(para()), [0, 0, 0], ['ab', { wait: 1200 }, 'cd'],
    [doc(para('ab')), doc(para())]],
  ['Enter ends the run', doc(para()), [0, 0, 0], ['ab', 'insertNewline', 'cd'],
    [doc(para('ab'), para()), doc(para('ab')), doc(para('ab')), doc(para())]],
  ['another block ends the run', two, [0, 0, 3], ['x', [1, 0, 3], 'y'],
    [doc(para('onex'), para('two')), two]],
  ['a command ends the run', doc(para()), [0, 0, 0], ['ab', 'styleParagraphHeading1', 'cd'],
    [doc(['heading', { level: -3 }, ['plain', 'ab']]), doc(para('ab')), doc(para())]],
  ['deleting backwards in a row is one step', doc(para('abcdef')), [0, 0, 6],
    ['deleteBackward', 'deleteBackward', 'deleteBackward'], [doc(para('abcdef'))]],
  ['deleting forwards in a row is one step', doc(para('abcdef')), [0, 0, 1],
    ['deleteForward', 'deleteForward'], [doc(para('abcdef'))]],
  ['a deletion run changing direction is a new step', doc(para('abcdef')), [0, 0, 3],
    ['deleteBackward', 'deleteBackward', 'deleteForward'], [doc(para('adef')), doc(para('abcdef'))]],
  ['deleting after typing is a step of its own', doc(para()), [0, 0, 0], ['xyz', 'deleteBackward'],
    [doc(para('xyz')), doc(para())]],
  ['joining blocks is never part of a run', two, [1, 0, 2], ['deleteBackward', 'deleteBackward', 'deleteBackward'],
    [doc(para('one'), para('o')), two]],
];

test('what one undo takes back after typing and deleting', async () => {
  for (const [name, model, at, steps, undone] of cases) {
    await s.e.load(model, at);
    for (const step of steps) await act(step);
    for (const expected of undone) {
      await s.e.call('undo');
      assert.deepEqual(await s.e.model(), expected, name);
    }
    assert.equal(await s.e.eval(() => editor.undoStack.length), 0, name + ': no steps left');
  }
});

test('every typed character still tells the host of a change; one undo of the run tells it once', async () => {
  await s.e.load(doc(para()), [0, 0, 0]);
  await s.e.type('abc');
  await s.e.call('undo');
  assert.deepEqual(await s.e.hostCalls(), ['done', 'done', 'done', 'undone']);
});

test('a paragraph deleted before 150 typed characters can still be restored', async () => {
  await s.e.load(doc(para('keep me'), para()));
  await s.e.select([0, 0, 0], [1, 0, 0]);
  await s.e.call('deleteBackward');
  await s.e.type('x'.repeat(150));
  await s.e.steps('undo', 'undo');
  assert.deepEqual(await s.e.model(), doc(para('keep me'), para()));
});
