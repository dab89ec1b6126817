import { test, describe, assert, doc, para, block, img, BR, typed, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const counts = async () => ({ words: await s.e.call('getWordCount'), chars: await s.e.call('getCharCount') });
const selectedCounts = async () => ({ words: await s.e.call('getWordCountSelected'), chars: await s.e.call('getCharCountSelected') });

describe('document counts, and the same for a selection of the whole document', () => {
  for (const [name, model, words, chars] of [
    ['plain words and punctuation', doc(para('Hello, world!')), 2, 13],
    ['a comment counts nothing', doc(block('comment', 0, 'not counted at all'), para('Hello, world!')), 2, 13],
    ['a hyphenated word is one word; a hyphen standing alone is none', doc(para('well-known - fact')), 2, 17],
    ['a label counts nothing, the footnote text does',
      doc(para('word', ['noteref', '12']), block('note', 0, ['noteref', '12'], 'two words')), 3, 13],
    ['text joins across a label inside a block', doc(para('ab', ['noteref', '1'], 'cd')), 1, 4],
    ['link text counts, its label and its definition do not', doc(para('Read ', ['linktext', 'the docs'], ['linkref', 'L'], ' now.'),
      block('link', 0, ['linkref', 'L'], ['url', 'http://example.org'])), 4, 18],
    ['code, math, line breaks and URLs count as text', doc(para(['code', 'f(x)'], ' ', ['math', 'x^2'], BR, ['url', 'http://a.b'])), 3, 19],
    ['an image counts its reference, not its description or title; a rule counts nothing',
      doc(['image', { level: 0, alt: 'A cat', title: 'T' }, ['url', 'pics/one.png']], ['divider', { level: 0 }]), 1, 12],
    ['a code block counts its lines, not its language; raw HTML and TeX count as text',
      doc(['verbatim', { level: 0, info: 'python' }, ['plain', 'let x'], BR, ['plain', 'y']], block('html', 0, '<br>'), para(['tex', '\\a'])), 5, 13],
    ['characters are UTF-16 units', doc(para('😀 é')), 2, 4],
  ]) {
    test(name, async () => {
      await s.e.load(model);
      assert.deepEqual(await counts(), { words, chars });
      await s.e.select([0, 0, 0], [model.length - 1, 0, 0]);
      assert.deepEqual(await selectedCounts(), { words, chars }, 'whole selection');
    });
  }
});

describe('counts follow changes', () => {
  const noted = doc(para('x', ['noteref', 'a']), block('note', 0, ['noteref', 'a'], 'three more words'));
  const typedThree = [[0, 0, 7], typed(' three')];
  stepCases(s, [
    ['typing', doc(para('one two')), typedThree, { words: 3, chars: 13 }],
    ['a command', doc(para('one two')), [...typedThree, 'styleParagraphComment'], { words: 0, chars: 0 }],
    ['undo', doc(para('one two')), [...typedThree, 'styleParagraphComment', 'undo'], { words: 3, chars: 13 }],
    ['loading', doc(para('one two')), [['setTextJson', JSON.stringify(doc(para('five')))]], { words: 1, chars: 4 }],
    ['a note counts its text while no link uses its label', noted, [], { words: 4, chars: 17 }],
    ['a note whose label becomes link text counts as a link definition', noted, [[[0, 0, 0], [0, 0, 1]], 'styleWordLink'], { words: 1, chars: 1 }],
  ], counts);
});

describe('selection counts', () => {
  const lines = doc(para('ab'), para('cd', BR, 'ef'));
  const linked = doc(para('see ', ['linktext', 'docs'], ['linkref', 'L'], ' now'), block('link', 0, ['linkref', 'L'], ['url', 'http://a.b']), para('end'));
  stepCases(s, [
    ['a break just before the end of the selection is left out', lines, [[0, 0, 0], [1, 2, 0]], 2, 4],
    ['a break with text after it is counted', lines, [[0, 0, 0], [1, 2, 1]], 3, 6],
    ['a definition counts as a link when the selection holds a link using it', linked, [[0, 1, 1], [2, 0, 3]], 3, 10],
    ['a definition counts as text when the selection holds no link using it', linked, [[0, 2, 0], [2, 0, 3]], 3, 17],
  ].map(([name, model, at, words, chars]) => [name, model, [at], { words, chars }]), selectedCounts);
});
