import { test, assert, doc, para, block, useEditor } from './harness.mjs';

const s = useEditor();
const EDITS = ['typed words ', 'insertNewline', 'deleteBackward', 'styleParagraphHeading2', 'styleParagraphBulleted',
  'setRTL', 'setLTR', 'undo', 'redo'];
const body = Array.from({ length: 20 }, (_, i) => para(`Paragraph ${i} with `, ['emph', 'some'], ' words'));
const withLink = doc(block('heading', -1, 'Title'), para('Read ', ['linktext', 'the docs'], ['noteref', 'L'], ' and a note', ['noteref', 'n'], '.'),
  block('link', 0, ['noteref', 'L'], ['url', 'http://example.org']), block('note', 0, ['noteref', 'n'], 'A note.'), ...body);
const notesOnly = doc(block('heading', -1, 'Title'), para('A note', ['noteref', 'n'], '.'), block('note', 0, ['noteref', 'n'], 'A note.'), ...body);

// Both are kept per block until the block changes, each in its own way.
test('after every edit of a generated run the recovery copy equals getTextJson', async () => {
  for (const [seed, model] of [[1, withLink], [2, withLink], [3, notesOnly], [4, notesOnly]]) {
    let state = seed;
    const next = (n) => (state = (state * 1103515245 + 12345) % 2147483648) % n;
    await s.e.load(model);
    assert.equal(await s.e.call('getRecoveryJson'), await s.e.call('getTextJson'));
    for (let step = 0; step < 25; step += 1) {
      await s.e.caret(next((await s.e.model()).length - 1), 0, 0);
      const edit = EDITS[next(EDITS.length)];
      await (edit.endsWith(' ') ? s.e.type(edit) : s.e.call(edit));
      assert.equal(await s.e.call('getRecoveryJson'), await s.e.call('getTextJson'), `seed ${seed}, step ${step}`);
    }
  }
});
