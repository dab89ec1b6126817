import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';
import { generateDocument } from '../../bench/page/generate.mjs';

const s = useEditor();
const options = (matchCase, wholeWord) => s.e.call('setSearchOptions', JSON.stringify({ matchCase, wholeWord }));
const selectedText = () => s.e.eval(() => window.getSelection().toString().replace(/\u200B/g, ''));

describe('matching with the options', () => {
  const none = {};
  const cases = [
    ['Cat cat CAT', 'cat', none, [[0, 3], [4, 7], [8, 11]]],
    ['Cat cat CAT', 'cat', { matchCase: true }, [[4, 7]]],
    ['cat concat cats cat.', 'cat', { wholeWord: true }, [[0, 3], [16, 19]]],
    ['snake_cat cat2 cat', 'cat', { wholeWord: true }, [[15, 18]]],
    ['Résumé resume', 'resume', none, [[0, 6], [7, 13]]],
    ['Résumé resume', 'résumé', { matchCase: true }, []],
    ['Straße', 'strasse', none, [[0, 6]]],
    ['Straße', 'stras', none, []],
    ['re\u0301sume\u0301!', 'resume', { wholeWord: true }, [[0, 8]]],
    ['😀cat😀', 'cat', { wholeWord: true }, [[2, 5]]],
    ['aaaa', 'aa', none, [[0, 2], [2, 4]]],
    ['abc', '', none, []],
  ];
  test('matches are found in the original text\'s offsets', async () => {
    for (const [text, query, opts, expected] of cases) {
      const found = await s.e.eval(([t, q, o]) => findTextMatches(t, q, o, foldForMatching(t)).map((m) => [m.start, m.end]),
        [text, query, opts]);
      assert.deepEqual(found, expected, `${text} / ${query} / ${JSON.stringify(opts)}`);
    }
  });

  test('with an option on, the search finds only such matches, forwards and wrapping once', async () => {
    const model = doc(para('Word words'), para('a word'), para('WORD'));
    await s.e.run(model, [0, 0, 0], 'prepareSearch');
    await options(true, true);
    await s.e.call('startSearch', 'word');
    assert.deepEqual(await s.e.selection(), { anchor: [1, 0, 2], focus: [1, 0, 6] });
    await s.e.call('continueSearch', 'word');
    assert.deepEqual(await s.e.selection(), { anchor: [1, 0, 2], focus: [1, 0, 6] }, 'the only match, found again');
    await options(false, true);
    for (const next of [[2, 0, 0], [0, 0, 0], [1, 0, 2]]) {
      await s.e.call('continueSearch', 'word');
      assert.deepEqual((await s.e.selection()).anchor, next);
    }
    await s.e.call('startSearch', 'absent');
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 0], focus: [0, 0, 0] });
    await options(false, false);
  });
});

describe('replacing', () => {
  const cases = [
    ['the replacement takes the style of the first replaced character',
      doc(para('the ', ['emph', 'quick'], ' fox')), 'quick fox', 'slow', 1, doc(para('the ', ['emph', 'slow']))],
    ['every match in every block, case-insensitively by default',
      doc(para('Cat and cat'), block('heading', -2, 'CAT')), 'cat', 'dog', 3, doc(para('dog and dog'), block('heading', -2, 'dog'))],
    ['a footnote label and an image are left alone',
      doc(para('ab', ['noteref', 'ab'], 'ab'), block('image', 0, ['url', 'ab.png'])), 'ab', 'x', 2,
      doc(para('x', ['noteref', 'ab'], 'x'), block('image', 0, ['url', 'ab.png']))],
    ['no match across a line break', doc(para('a', ['break', '\n'], 'b')), 'ab', 'x', 0, doc(para('a', ['break', '\n'], 'b'))],
    ['replacing with nothing removes the text and its emptied span',
      doc(para('a', ['strong', 'bold'], 'c')), 'bold', '', 1, doc(para('ac'))],
    ['a replacement holding the search text is not replaced again', doc(para('a a')), 'a', 'aa', 2, doc(para('aa aa'))],
  ];
  test('Replace All replaces, counts and is one undo step', async () => {
    for (const [name, model, query, replacement, count, expected] of cases) {
      await s.e.load(model, [0, 0, 0]);
      assert.equal(await s.e.call('replaceAll', query, replacement), count, name);
      assert.deepEqual(await s.e.model(), expected, name);
      assert.deepEqual(await s.e.hostCalls(), count ? ['done'] : [], name);
      await s.e.call('undo');
      assert.deepEqual(await s.e.model(), model, name + ', undone');
    }
  });

  test('Replace All with Whole word and Match case', async () => {
    await s.e.load(doc(para('Art art artist art.')));
    await options(true, true);
    assert.equal(await s.e.call('replaceAll', 'art', 'x'), 2);
    await options(false, false);
    assert.deepEqual(await s.e.model(), doc(para('Art x artist x.')));
  });

  test('Replace replaces the selected match and selects the next; elsewhere it only finds', async () => {
    await s.e.run(doc(para('one two one'), para('One')), [0, 0, 0], 'prepareSearch');
    assert.equal(await s.e.call('replaceMatch', 'one', '1'), false);
    assert.deepEqual(await s.e.model(), doc(para('one two one'), para('One')));
    assert.equal(await selectedText(), 'one');
    for (const expected of [doc(para('1 two one'), para('One')), doc(para('1 two 1'), para('One'))]) {
      assert.equal(await s.e.call('replaceMatch', 'one', '1'), true);
      assert.deepEqual(await s.e.model(), expected);
    }
    assert.deepEqual(await s.e.selection(), { anchor: [1, 0, 0], focus: [1, 0, 3] });
    await s.e.call('replaceMatch', 'one', '1');
    assert.deepEqual(await s.e.model(), doc(para('1 two 1'), para('1')));
    assert.equal((await s.e.hostCalls()).length, 3);
    await s.e.call('undo');
    assert.deepEqual(await s.e.model(), doc(para('1 two 1'), para('One')));
  });
});

test('over a generated manuscript: Replace All leaves nothing to replace, changes the length by what it counted, and undo gives the model back', async () => {
  const model = generateDocument(400);
  const textLength = (m) => m.slice(1).reduce((n, b) => n + b.slice(2).reduce((k, span) => k + span[1].length, 0), 0);
  for (const [word, replacement, opts] of [['dolor', 'D', [false, false]], ['lorem ut', 'lorem-ut', [false, false]],
    ['Sit', 'standing', [true, false]], ['a', 'ANOTHER', [false, true]], ['x', '', [false, false]]]) {
    await s.e.load(model);
    await options(...opts);
    const count = await s.e.call('replaceAll', word, replacement);
    const name = `${word} > ${replacement}`;
    assert.ok(count > 0 || opts[0], name);
    const replaced = await s.e.model();
    assert.equal(textLength(replaced) - textLength(model), count * (replacement.length - word.length), name);
    if (!replacement.toLowerCase().includes(word.toLowerCase())) assert.equal(await s.e.call('replaceAll', word, replacement), 0, name);
    await s.e.load(replaced);
    await s.e.call('replaceAll', word, replacement);
    await s.e.eval(() => { while (editor.undoStack.length) undo(); });
    assert.deepEqual(await s.e.model(), replaced, name + ', undone');
  }
  await options(false, false);
});
