import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

async function roundTrip(model) {
  await s.e.load(model);
  return s.e.model();
}

describe('round trip of every block type', () => {
  test('each block tag comes back with its level, every span tag too, link references included', async () => {
    const model = doc(
      block('heading', -3, 'H1'), block('heading', -1, 'H3'), block('para', 2, 'indented'), block('bulleted', 4, 'b4'),
      block('numbered', 1, 'n1'), block('verbatim', 0, 'code'), block('formula', 3, 'x^2'), block('quote', 0, 'q'),
      block('comment', 5, 'c'), block('image', 0, ['url', 'a.png']), block('row', 1, 'a'), block('col', 2, 'b'),
      para('plain ', ['emph', 'em'], ['strong', 'st'], ['code', 'c()'], ['math', 'x'], ['url', 'http://a.b'],
        ['linktext', 'text'], ['linkref', 'L'], ' ', ['noteref', 'N'], ['break', '\n'], 'end'),
      block('link', 0, ['linkref', 'L'], ['url', 'http://x.y']), block('note', 0, ['noteref', 'N'], 'note'));
    assert.deepEqual(await roundTrip(model), model);
  });

  test('right-to-left blocks keep direction "rtl"; others carry no direction', async () => {
    const model = doc(['para', { level: 0, direction: 'rtl' }, ['plain', 'שלום']], para('ltr'));
    assert.deepEqual(await roundTrip(model), model);
    assert.deepEqual(await s.e.eval(() => editor.blocks.map((b) => b.getAttribute('dir'))), ['rtl', 'ltr', 'ltr']);
  });

  test('non-ASCII text is written as itself, compactly', async () => {
    await s.e.load(doc(para('Grüße 😀 “quoted”')));
    const json = await s.e.call('getTextJson');
    assert.equal(json, '["text",["para",{"level":0},["plain","Grüße 😀 “quoted”"]]]');
  });
});

describe('conversion rules', () => {
  const cases = [
    ['a divider becomes an empty plain paragraph', doc(['divider', { level: 0 }]), doc(['para', { level: 0 }])],
    ['unknown block and span tags are read as plain', doc(['aside', { level: 1 }, ['shout', 'x']]), doc(block('para', 1, 'x'))],
    ['a missing level reads as 0', doc(['bulleted', {}, ['plain', 'x']]), doc(block('bulleted', 0, 'x'))],
    ['a block whose spans are all empty comes back without spans', doc(para('', ['emph', ''])), doc(['para', { level: 0 }])],
    ['neighbouring spans of one style are merged in the editor', doc(para('a', 'b', ['emph', 'c'], ['emph', 'd'])), doc(para('ab', ['emph', 'cd']))],
    ['labels and addresses side by side stay apart',
      doc(para('a', ['noteref', '1'], ['noteref', '2'], ['url', 'http://x'], ['url', 'http://y'])),
      doc(para('a', ['noteref', '1'], ['noteref', '2'], ['url', 'http://x'], ['url', 'http://y']))],
    ['table blocks always leave with levels 1 and 2', doc(block('row', 4, 'a'), block('col', 0, 'b')), doc(block('row', 1, 'a'), block('col', 2, 'b'))],
    ['a break span always holds one line feed', doc(para('a', ['break', 'xx'], 'b')), doc(para('a', ['break', '\n'], 'b'))],
    ['levels beyond what the editor holds are brought into range',
      doc(block('para', 12, 'a'), block('heading', -7, 'b'), block('bulleted', 9, 'c'), ['para', { level: 'two' }, ['plain', 'd']]),
      doc(block('para', 5, 'a'), block('heading', -3, 'b'), block('bulleted', 4, 'c'), block('para', 0, 'd'))],
    ['a label used after link text turns its note into a link definition everywhere',
      doc(para('see ', ['noteref', '1'], ' and ', ['linktext', 'here'], ['noteref', '1']),
        block('note', 0, ['noteref', '1'], ['url', 'http://x']), block('note', 0, ['noteref', '2'], 'other')),
      doc(para('see ', ['linkref', '1'], ' and ', ['linktext', 'here'], ['linkref', '1']),
        block('link', 0, ['linkref', '1'], ['url', 'http://x']), block('note', 0, ['noteref', '2'], 'other'))],
  ];
  for (const [name, model, expected] of cases) {
    test(name, async () => assert.deepEqual(await roundTrip(model), expected));
  }

  test('the empty document is only the Final block and comes back as ["text"]', async () => {
    assert.deepEqual(await roundTrip(['text']), ['text']);
    assert.deepEqual(await s.e.blockClasses(), ['Final Indent0']);
  });

  test('breaks at the start or side by side gain no visible content', async () => {
    const model = doc(para(['break', '\n'], ['break', '\n'], 'a', ['break', '\n']));
    assert.deepEqual(await roundTrip(model), model);
    const spans = await s.e.eval(() => editor.getBlockSpans(0).map((x) => x.Type));
    assert.deepEqual(spans, ['Plain', 'Break', 'Plain', 'Break', 'Plain', 'Break', 'Plain']);
  });
});

describe('malformed input', () => {
  const bad = [
    ['not JSON', '{"text"'],
    ['root not an array', '{"text":[]}'],
    ['wrong root tag', '["inline"]', 'ERR074'],
    ['empty block', '["text",[]]', 'ERR075'],
    ['block with one element', '["text",["para"]]'],
    ['span with one element', '["text",["para",{},["plain"]]]', 'ERR076'],
    ['span with three elements', '["text",["para",{"level":0},["plain","a","b"]]]'],
    ['span text not a string', '["text",["para",{"level":0},["plain",7]]]'],
  ];
  test('bad input throws and leaves the document as it was', async () => {
    await s.e.load(doc(para('keep me')));
    for (const [name, json, code] of bad) {
      const message = await s.e.callError('setTextJson', json);
      assert.ok(message, name);
      if (code) assert.equal(message, code, name);
      assert.deepEqual(await s.e.model(), doc(para('keep me')), name);
    }
  });

  test('markup-like text is shown as text, never parsed', async () => {
    const text = '<img src=x onerror="window.hacked=1"><b>bold</b>';
    await s.e.load(doc(para(text), block('image', 0, ['url', '" onerror="window.hacked=2'])));
    assert.deepEqual(await s.e.model(), doc(para(text), block('image', 0, ['url', '" onerror="window.hacked=2'])));
    assert.equal(await s.e.eval(() => window.hacked), undefined);
    assert.equal(await s.e.eval(() => document.querySelectorAll('#doc b').length), 0);
  });
});
