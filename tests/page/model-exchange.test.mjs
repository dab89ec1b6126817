import { test, describe, assert, doc, para, block, img, row, col, BR, typed, IMAGE, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
export const NEW_CONSTRUCTS = doc(block('metadata', 0, 'title: A', BR, '  x: "y"'), block('heading', 0, 'H4'), block('heading', 1, 'H5'), block('heading', 2, 'H6'),
  ['verbatim', { level: 0, info: 'c++ {.numberLines}' }, ['plain', 'int a;'], BR, BR, ['plain', '  b();']],
  ['verbatim', { level: 2, direction: 'rtl', info: 'py' }, ['plain', 'x']], block('html', 0, '<div class="x">', BR, '</div>'),
  block('tex', 1, '\\begin{x}'), ['divider', { level: 0 }], ['image', { level: 0, alt: 'A cat', title: 'Tom' }, ['url', 'c.png']],
  ['numbered', { level: 0, spacing: 'loose', start: '3' }, ['plain', 'three']], ['bulleted', { level: 1, spacing: 'loose' }, ['plain', 'b']],
  ['numbered', { level: 0, spacing: 'loose' }, ['plain', 'four']],
  para(['strike', 'gone'], ['sup', '2'], ['sub', 'i'], ['html', '<kbd>'], 'K', ['html', '</kbd>'], ['tex', '\\LaTeX{}'],
    ['linktext', 'here'], ['url', 'http://h'], ['title', 'Home'], ' ', ['linktext', 'ref'], ['linkref', 'r']),
  ['link', { level: 0 }, ['linkref', 'r'], ['url', 'http://r'], ['title', 'R t']],
  block('term', 0, 'Apple'), ['definition', { level: 0, spacing: 'tight' }, ['plain', 'A fruit']], block('definition', 0, 'A firm'), block('term', 1, 'Deeper'));
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
    ['labels, addresses and breaks side by side stay apart, breaks at the start too',
      doc(para('a', ['noteref', '1'], ['noteref', '2'], ['url', 'http://x'], ['url', 'http://y']), para(BR, BR, 'a', BR))],
    ['the empty document is ["text"]', doc()],
    ['the constructs of real Markdown: front matter, headings 4 to 6, info strings, raw blocks and spans, rules, descriptions, titles, loose items, list starts, definitions',
      NEW_CONSTRUCTS],
    ['an empty attribute is left out; a title off a link address reads as text; a divider has no text',
      doc(['verbatim', { level: 0, info: '' }, ['plain', 'x']], para(['url', 'u'], ['title', 't']), ['divider', { level: 3 }, ['plain', 'lost']]),
      doc(block('verbatim', 0, 'x'), para(['url', 'u'], 't'), ['divider', { level: 0 }])],
    ['unknown block and span tags are read as plain; a missing level as 0', doc(['aside', { level: 1 }, ['shout', 'x']], ['bulleted', {}, ['plain', 'y']]),
      doc(block('para', 1, 'x'), block('bulleted', 0, 'y'))],
    ['a block whose spans are all empty comes back without spans', doc(para('', ['emph', ''])), doc(['para', { level: 0 }])],
    ['neighbouring spans of one style are merged in the editor', doc(para('a', 'b', ['emph', 'c'], ['emph', 'd'])), doc(para('ab', ['emph', 'cd']))],
    ['table blocks always leave with levels 1 and 2; a break span always holds one line feed',
      doc(block('row', 4, 'a'), block('col', 0, 'b'), para('a', ['break', 'xx'], 'b')), doc(row('a'), col('b'), para('a', BR, 'b'))],
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

const code = (info, ...lines) => ['verbatim', { level: 0, info }, ...lines.map((l) => (typeof l === 'string' ? ['plain', l] : l))];
const rule = ['divider', { level: 0 }];
describe('editing the constructs of real Markdown', () => stepCases(s, [
  ['typing and Enter in raw HTML stay raw source lines', doc(block('html', 0, '<b>')), [[0, 0, 3], typed('x'), 'insertNewline', typed('</b>')],
    doc(block('html', 0, '<b>x', BR, '</b>'))],
  ['Shift+Enter splits a code block and both halves keep its language; undo joins them', doc(code('py', 'ab')),
    [[0, 0, 1], 'insertLineBreak', 'undo', 'redo'], doc(code('py', 'a'), code('py', 'b'))],
  ['Code Language sets the info string of the selected code blocks, or makes the paragraphs one; undo restores it',
    doc(code('py', 'a'), para('b')), [[0, 0, 1], ['setCodeInfo', ' rust '], [1, 0, 0], ['setCodeInfo', 'c'], [[0, 0, 0], [1, 0, 1]],
      ['setCodeInfo', ''], 'undo'], doc(code('rust', 'a'), code('c', 'b'))],
  ['Backspace on a rule removes it whole, undo brings it back, Delete before it selects it', doc(para('a'), rule, para('b')),
    [[1, 0, 0], 'deleteBackward', 'undo', [0, 0, 1], 'deleteForward'], doc(para('a'), rule, para('b')), IMAGE],
  ['a selection from a paragraph\'s start onto a rule deletes both; the paragraph keeps its type', doc(para('a'), rule, para('b')),
    [[[0, 0, 0], [1, 0, 0]], 'deleteBackward'], doc(['para', { level: 0 }], para('b'))],
  ['Enter on a rule adds a paragraph after it; typing on it writes before it', doc(rule), [[0, 0, 0], 'insertNewline', typed('b'),
    [0, 0, 0], typed('a')], doc(para('a'), rule, para('b'))],
  ['Insert Horizontal Rule goes after the paragraph, the caret below it', doc(para('a'), para('c')),
    [[0, 0, 1], 'insertHorizontalRule', typed('b ')], doc(para('a'), rule, para('b c'))],
  ['Insert Image takes a description; Image Description sets description and title; undo restores them', doc(para('a')),
    [[0, 0, 1], ['insertImage', 'i.png', ' A\ncat '], ['setImageDescription', 'Cat', 'T'], ['setImageDescription', '', ''], 'undo'],
    doc(para('a'), ['image', { level: 0, alt: 'Cat', title: 'T' }, ['url', 'i.png']]), IMAGE],
  ['Heading 6 and Heading 4; Indent takes Heading 3 to Heading 4', doc(para('a'), para('b'), block('heading', -1, 'c')),
    [[0, 0, 0], 'styleParagraphHeading6', [1, 0, 0], 'styleParagraphHeading4', [2, 0, 0], 'indentParagraph'],
    doc(block('heading', 2, 'a'), block('heading', 0, 'b'), block('heading', 0, 'c'))],
  ['Strikeout, superscript and subscript toggle on the word at the caret', doc(para('ab cd ef')),
    [[0, 0, 1], 'styleWordStrike', [0, 1, 2], 'styleWordSuperscript', [0, 3, 2], 'styleWordSubscript', [0, 0, 1], 'styleWordStrike'],
    doc(para('ab ', ['sup', 'cd'], ' ', ['sub', 'ef']))],
  ['Enter after a term starts its definition, after a definition the next term, on an empty one ends the list',
    doc(block('term', 1, 'T')), [[0, 0, 1], 'insertNewline', typed('d'), 'insertNewline', 'insertNewline'],
    doc(block('term', 1, 'T'), block('definition', 1, 'd'), block('para', 1))],
  ['Term and Definition styles; a link title stays through typing in its link', doc(para('t'), para(['linktext', 'x'], ['url', 'u'], ['title', 'T'])),
    [[0, 0, 0], 'styleParagraphTerm', [1, 1, 1], typed('v'), [1, 0, 0], 'styleParagraphDefinition'],
    doc(block('term', 0, 't'), block('definition', 0, ['linktext', 'x'], ['url', 'uv'], ['title', 'T']))],
]));

test('copy and paste of every construct keeps them all; undo takes the paste back', async () => {
  await s.e.load(NEW_CONSTRUCTS, [[0, 0, 0], [NEW_CONSTRUCTS.length - 2, 0, 6]]);
  const copied = await s.e.call('copy');
  await s.e.run(doc(), ['paste', copied]);
  assert.deepEqual(await s.e.model(), NEW_CONSTRUCTS);
  assert.deepEqual(await s.e.steps('undo'), doc());
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
    const model = doc(para(text, ['html', text]), img('" onerror="window.hacked=2'), block('html', 0, text),
      ['verbatim', { level: 0, info: text }, ['plain', 'x']], ['image', { level: 0, alt: text, title: text }, ['url', 'i.png']]);
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
