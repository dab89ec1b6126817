import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const counts = async () => ({ words: await s.e.call('getWordCount'), chars: await s.e.call('getCharCount') });
const selectedCounts = async () => ({
  words: await s.e.call('getWordCountSelected'), chars: await s.e.call('getCharCountSelected'),
});

describe('document counts', () => {
  const cases = [
    ['a comment counts nothing', doc(block('comment', 0, 'not counted at all'), para('Hello, world!')), 2, 13],
    ['a hyphenated word is one word; a hyphen standing alone is none', doc(para('well-known - fact')), 2, 17],
    ['a label counts nothing, the footnote text does',
      doc(para('word', ['noteref', '12']), block('note', 0, ['noteref', '12'], 'two words')), 3, 13],
    ['text joins across a label inside a block', doc(para('ab', ['noteref', '1'], 'cd')), 1, 4],
    ['characters are UTF-16 units', doc(para('😀 é')), 2, 4],
    ['an empty document counts nothing', doc(), 0, 0],
  ];
  for (const [name, model, words, chars] of cases) {
    test(name, async () => {
      await s.e.load(model);
      assert.deepEqual(await counts(), { words, chars });
    });
  }

  test('a mixed document: comments, links, notes, labels, code, math, URLs, images, tables, breaks', async () => {
    await s.e.load(doc(
      block('heading', -3, 'A title'), // 2 words, 7
      block('comment', 0, 'skip me please'), // 0
      para('Read ', ['linktext', 'the docs'], ['linkref', 'L'], ' now.', ['noteref', 'n']), // 4 words, 18
      block('link', 0, ['linkref', 'L'], ['url', 'http://example.org']), // 0
      block('note', 0, ['noteref', 'n'], 'A note.'), // 2 words, 7
      para(['code', 'f(x)'], ' ', ['math', 'x^2'], ['break', '\n'], ['url', 'http://a.b']), // 3 words, 4+1+3+1+10 = 19
      block('image', 0, ['url', 'pics/one.png']), // 1 word, 12
      block('row', 1, 'cell one'), block('col', 2, 'two'), // 3 words, 11
      block('verbatim', 0, 'let x', ['break', '\n'], 'y'), // 3 words, 7
    ));
    assert.deepEqual(await counts(), { words: 18, chars: 81 });
    await s.e.eval(() => { editor.countCache = null; });
    assert.deepEqual(await counts(), { words: 18, chars: 81 });
    await s.e.select([0, 0, 0], [10, 0, 0]);
    assert.deepEqual(await selectedCounts(), { words: 18, chars: 81 });
  });

  test('a note block is a link definition only when a link uses its label', async () => {
    await s.e.load(doc(para('x', ['noteref', 'a']), block('note', 0, ['noteref', 'a'], 'three more words')));
    assert.deepEqual(await counts(), { words: 4, chars: 17 });
    await s.e.steps([[0, 0, 0], [0, 0, 1]], 'styleWordLink');
    assert.deepEqual(await counts(), { words: 1, chars: 1 });
  });

  test('the counts follow every kind of change: typing, commands, undo, loading', async () => {
    await s.e.load(doc(para('one two')), [0, 0, 7]);
    await s.e.type(' three');
    assert.deepEqual(await counts(), { words: 3, chars: 13 });
    await s.e.call('styleParagraphComment');
    assert.deepEqual(await counts(), { words: 0, chars: 0 });
    await s.e.call('undo');
    assert.deepEqual(await counts(), { words: 3, chars: 13 });
    await s.e.load(doc(para('five')));
    assert.deepEqual(await counts(), { words: 1, chars: 4 });
  });
});

describe('selection counts', () => {
  test('a selection counts its text; comments count nothing; a break just before the end is left out', async () => {
    const lines = doc(para('ab'), para('cd', ['break', '\n'], 'ef'));
    for (const [model, at, words, chars] of [
      [doc(para('Hello, big world!')), [[0, 0, 0], [0, 0, 10]], 2, 10],
      [doc(block('comment', 0, 'a remark')), [[0, 0, 0], [0, 0, 8]], 0, 0],
      [lines, [[0, 0, 0], [1, 2, 0]], 2, 4],
      [lines, [[0, 0, 0], [1, 2, 1]], 3, 6],
    ]) {
      await s.e.load(model, at);
      assert.deepEqual(await selectedCounts(), { words, chars }, JSON.stringify(at));
    }
  });

  test('a definition counts as a link only when the selection holds a link using it', async () => {
    const model = doc(para('see ', ['linktext', 'docs'], ['linkref', 'L'], ' now'),
      block('link', 0, ['linkref', 'L'], ['url', 'http://a.b']), para('end'));
    await s.e.load(model);
    await s.e.select([0, 1, 1], [2, 0, 3]);
    assert.deepEqual(await selectedCounts(), { words: 3, chars: 10 });
    await s.e.select([0, 2, 0], [2, 0, 3]);
    assert.deepEqual(await selectedCounts(), { words: 3, chars: 17 });
  });
});

describe('search', () => {
  const selectedText = () => s.e.eval(() => window.getSelection().toString().replace(/\u200B/g, ''));
  const matchBlock = async () => (await s.e.selection()).anchor[0];
  const search = async (model, at, query) => {
    await s.e.run(model, at, 'prepareSearch');
    await s.e.call('startSearch', query);
  };

  test('finds forwards from the start point case-insensitively, goes on far below and wraps to the start', async () => {
    const filler = Array.from({ length: 50 }, (_, i) => para('filler ' + i));
    await search(doc(para('x one'), para('y One'), ...filler, para('z ONE')), [0, 0, 3], 'one');
    assert.equal(await selectedText(), 'One');
    assert.equal(await matchBlock(), 1);
    for (const next of [52, 0]) {
      await s.e.call('continueSearch', 'one');
      assert.equal(await matchBlock(), next);
    }
  });

  test('each change of the search text searches again from where the search began', async () => {
    await search(doc(para('abc'), para('abd'), para('abc')), [0, 0, 3], 'ab');
    assert.equal(await matchBlock(), 1);
    await s.e.call('startSearch', 'abc');
    assert.equal(await matchBlock(), 2);
  });

  test('a word that does not occur puts the caret at the document start; an empty text back where the search began', async () => {
    await search(doc(para('some text'), para('more')), [1, 0, 2], 'absent');
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 0], focus: [0, 0, 0] });
    await s.e.call('startSearch', '');
    assert.deepEqual(await s.e.selection(), { anchor: [1, 0, 2], focus: [1, 0, 2] });
  });

  test('a match across spans of different styles is found, and the document is left unchanged', async () => {
    const model = doc(para('x'), para('the quick ', ['emph', 'brown'], ' fox'));
    await search(model, [0, 0, 0], 'quick brown');
    assert.equal(await selectedText(), 'quick brown');
    assert.deepEqual(await s.e.model(), model);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('finds what the browser\'s own find finds, with loose letter matching', async () => {
    const cases = [
      ['Résumé', 'resume'], ['STRAẞE', 'strasse'], ['ﬁnal', 'final'], ['soft\u00ADhyphen', 'softhyphen'],
      ['Łódź', 'lodz'], ['a\u00A0b', 'a b'], ['١٢', '12'], ['ΟΔΟΣ', 'οδος'],
    ];
    for (const [text, query] of cases) {
      const filler = Array.from({ length: 30 }, (_, i) => para('filler paragraph ' + i));
      await s.e.load(doc(para('start'), ...filler, para('before ', text, ' after'), para('end')));
      const browser = await s.e.eval((q) => {
        editor.setCaret(Point(0, 0, 0));
        const found = window.find(q, false, false, false, false, false, false);
        return found ? editor.getSelection().start.block : -1;
      }, query);
      await s.e.steps([0, 0, 0], 'prepareSearch');
      await s.e.call('startSearch', query);
      const page = await s.e.eval(() => {
        const text = window.getSelection().toString();
        return text ? editor.getSelection().start.block : -1;
      });
      assert.equal(page, browser, `${text} / ${query}`);
    }
  });

  test('the search follows edits made after it began', async () => {
    await search(doc(para('one'), para('two'), para('three')), [0, 0, 0], 'two');
    await s.e.caret(2, 0, 5);
    await s.e.type(' wombat');
    await s.e.call('startSearch', 'wombat');
    assert.equal(await matchBlock(), 2);
    assert.equal(await selectedText(), 'wombat');
  });

  test('a start point beyond a shorter document loaded since falls back to its start', async () => {
    await s.e.run(doc(para('a'), para('b'), para('c'), para('d')), [3, 0, 1], 'prepareSearch');
    await s.e.load(doc(para('short one')));
    await s.e.call('startSearch', 'one');
    assert.equal(await selectedText(), 'one');
  });
});
