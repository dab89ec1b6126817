import { test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

function generator(seed) {
  let state = seed;
  return (n) => {
    state = (state * 1103515245 + 12345) % 2147483648;
    return state % n;
  };
}

const EDITS = [
  async () => s.e.type('typed words '),
  async () => s.e.call('insertNewline'),
  async () => s.e.call('deleteBackward'),
  async () => s.e.call('styleParagraphHeading2'),
  async () => s.e.call('styleParagraphBulleted'),
  async () => s.e.call('setRTL'),
  async () => s.e.call('setLTR'),
  async () => s.e.call('undo'),
  async () => s.e.call('redo'),
];

const body = Array.from({ length: 20 }, (_, i) => para(`Paragraph ${i} with `, ['emph', 'some'], ' words'));
const withLink = doc(
  block('heading', -1, 'Title'),
  para('Read ', ['linktext', 'the docs'], ['noteref', 'L'], ' and a note', ['noteref', 'n'], '.'),
  block('link', 0, ['noteref', 'L'], ['url', 'http://example.org']),
  block('note', 0, ['noteref', 'n'], 'A note.'),
  ...body,
);
const notesOnly = doc(block('heading', -1, 'Title'), para('A note', ['noteref', 'n'], '.'),
  block('note', 0, ['noteref', 'n'], 'A note.'), ...body);

test('after every edit of a generated run the recovery copy equals getTextJson', async () => {
  for (const [seed, model] of [[1, withLink], [2, withLink], [3, notesOnly], [4, notesOnly]]) {
    const next = generator(seed);
    await s.e.load(model);
    assert.equal(await s.e.call('getRecoveryJson'), await s.e.call('getTextJson'));
    for (let step = 0; step < 25; step += 1) {
      const blocks = await s.e.eval(() => editor.getBlockCount());
      await s.e.caret(next(blocks - 1), 0, 0);
      await EDITS[next(EDITS.length)]();
      assert.equal(await s.e.call('getRecoveryJson'), await s.e.call('getTextJson'), `seed ${seed}, step ${step}`);
    }
  }
});
