import { test, describe, assert, doc, para, block, img, row, col, BR, useEditor } from './harness.mjs';

const s = useEditor();
const roundTrip = (model) => s.e.run(model);

// Rows [name, model, what reading and writing it gives (the model itself when left out)].
describe('round trip and conversion rules', () => {
  for (const [name, model, expected = model] of [
    ['every block tag with its level', doc(block('heading', -3, 'H1'), block('heading', -1, 'H3'), block('para', 2, 'indented'),
      block('bulleted', 4, 'b4'), block('numbered', 1, 'n1'), block('verbatim', 0, 'code'), block('formula', 3, 'x^2'), block('quote', 0, 'q'),
      block('comment', 5, 'c'), img('a.png'), row('a'), col('b'))],
    ['every span tag, link and note references included', doc(para('plain ', ['emph', 'em'], ['strong', 'st'], ['code', 'c()'], ['math', 'x'],
      ['url', 'http://a.b'], ['linktext', 'text'], ['linkref', 'L'], ' ', ['noteref', 'N'], BR, 'end'),
    block('link', 0, ['linkref', 'L'], ['url', 'http://x.y']), block('note', 0, ['noteref', 'N'], 'note'))],
    ['right-to-left blocks keep direction "rtl"; others carry no direction', doc(['para', { level: 0, direction: 'rtl' }, ['plain', 'שלום']], para('ltr'))],
    ['labels and addresses side by side stay apart', doc(para('a', ['noteref', '1'], ['noteref', '2'], ['url', 'http://x'], ['url', 'http://y']))],
    ['breaks at the start or side by side', doc(para(BR, BR, 'a', BR))],
    ['the empty document is ["text"]', doc()],
    ['a divider becomes an empty plain paragraph', doc(['divider', { level: 0 }]), doc(['para', { level: 0 }])],
    ['unknown block and span tags are read as plain', doc(['aside', { level: 1 }, ['shout', 'x']]), doc(block('para', 1, 'x'))],
    ['a missing level reads as 0', doc(['bulleted', {}, ['plain', 'x']]), doc(block('bulleted', 0, 'x'))],
    ['a block whose spans are all empty comes back without spans', doc(para('', ['emph', ''])), doc(['para', { level: 0 }])],
    ['neighbouring spans of one style are merged in the editor', doc(para('a', 'b', ['emph', 'c'], ['emph', 'd'])), doc(para('ab', ['emph', 'cd']))],
    ['table blocks always leave with levels 1 and 2', doc(block('row', 4, 'a'), block('col', 0, 'b')), doc(row('a'), col('b'))],
    ['a break span always holds one line feed', doc(para('a', ['break', 'xx'], 'b')), doc(para('a', BR, 'b'))],
    ['levels beyond what the editor holds are brought into range',
      doc(block('para', 12, 'a'), block('heading', -7, 'b'), block('bulleted', 9, 'c'), ['para', { level: 'two' }, ['plain', 'd']]),
      doc(block('para', 5, 'a'), block('heading', -3, 'b'), block('bulleted', 4, 'c'), block('para', 0, 'd'))],
    ['a label used after link text turns its note into a link definition everywhere',
      doc(para('see ', ['noteref', '1'], ' and ', ['linktext', 'here'], ['noteref', '1']),
        block('note', 0, ['noteref', '1'], ['url', 'http://x']), block('note', 0, ['noteref', '2'], 'other')),
      doc(para('see ', ['linkref', '1'], ' and ', ['linktext', 'here'], ['linkref', '1']),
        block('link', 0, ['linkref', '1'], ['url', 'http://x']), block('note', 0, ['noteref', '2'], 'other'))],
  ]) test(name, async () => assert.deepEqual(await roundTrip(model), expected));
});

describe('malformed input', () => {
  for (const [name, json] of [['not JSON', '{"text"'], ['root not an array', '{"text":[]}'],
    ['wrong root tag', '["inline"]'], ['block with one element', '["text",["para"]]'],
    ['span with three elements', '["text",["para",{"level":0},["plain","a","b"]]]'],
    ['span text not a string', '["text",["para",{"level":0},["plain",7]]]']]) {
    test(`${name}: throws and leaves the document as it was`, async () => {
      await s.e.load(doc(para('keep me')));
      assert.ok(await s.e.callError('setTextJson', json));
      assert.deepEqual(await s.e.model(), doc(para('keep me')));
    });
  }

  test('markup-like text is shown as text, never parsed', async () => {
    const text = '<img src=x onerror="window.hacked=1"><b>bold</b>';
    const model = doc(para(text), img('" onerror="window.hacked=2'));
    assert.deepEqual(await roundTrip(model), model);
    assert.equal(await s.e.eval(() => window.hacked), undefined);
    assert.equal(await s.e.eval(() => document.querySelectorAll('#doc b').length), 0);
  });
});

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
