import { test, describe, assert, doc, para, block, img, BR, typed, selected, useEditor } from './harness.mjs';
import { generateDocument } from '../../bench/page/generate.mjs';

const s = useEditor();
const options = (matchCase, wholeWord) => s.e.call('setSearchOptions', JSON.stringify({ matchCase: !!matchCase, wholeWord: !!wholeWord }));
const matchBlock = async () => (await s.e.selection()).anchor[0];
const at = (block, span, offset) => ({ anchor: [block, span, offset], focus: [block, span, offset] });

// Rows [name, model, start, ...[step or steps, seen]]: `seen` is the matched
// block (a number), the selected text (a string) or the selection. Searching alone changes nothing.
describe('search', () => {
  for (const [name, model, start, ...checks] of [
    ['each change of the search text searches again from where the search began', doc(para('abc'), para('abd'), para('abc')), [0, 0, 3],
      [['startSearch', 'ab'], 1], [['startSearch', 'abc'], 2]],
    ['a word that does not occur puts the caret at the document start; an empty text back where the search began',
      doc(para('some text'), para('more')), [1, 0, 2], [['startSearch', 'absent'], at(0, 0, 0)], [['startSearch', ''], at(1, 0, 2)]],
    ['a match across spans of different styles is found', doc(para('x'), para('the quick ', ['emph', 'brown'], ' fox')), [0, 0, 0],
      [['startSearch', 'quick brown'], 'quick brown']],
    ['the search follows edits made after it began', doc(para('one'), para('two'), para('three')), [0, 0, 0],
      [['startSearch', 'two'], 1], [[[2, 0, 5], typed(' wombat')], 2], [['startSearch', 'wombat'], 'wombat'], [null, 2]],
    ['with Match case and Whole word on, the only match is found, and found again', doc(para('Word words'), para('a word'), para('WORD')),
      [0, 0, 0], [['setSearchOptions', '{"matchCase":true,"wholeWord":true}'], at(0, 0, 0)], [['startSearch', 'word'], selected([1, 0, 2], [1, 0, 6])],
      [['continueSearch', 'word'], selected([1, 0, 2], [1, 0, 6])], [['startSearch', 'absent'], at(0, 0, 0)]],
    ['a code block\'s language and an image\'s description are not text: not found', doc(para('x'),
      ['verbatim', { level: 0, info: 'python' }, ['plain', 'c']], ['image', { level: 0, alt: 'cat' }, ['url', 'i.png']]), [0, 0, 1],
      [['startSearch', 'python'], at(0, 0, 0)], [['startSearch', 'cat'], at(0, 0, 0)]],
    ['a start point beyond a shorter document loaded since falls back to its start', doc(para('a'), para('b'), para('c'), para('d')), [3, 0, 1],
      [['setTextJson', JSON.stringify(doc(para('short one')))], 0], [['startSearch', 'one'], 'one']],
  ]) {
    test(name, async () => {
      await options();
      await s.e.run(model, start, 'prepareSearch');
      for (const [step, seen] of checks) {
        if (step) await s.e.steps(...(Array.isArray(step[0]) ? step : [step]));
        const found = typeof seen === 'number' ? await matchBlock() : typeof seen === 'string' ? await s.e.selectedText() : await s.e.selection();
        assert.deepEqual(found, seen, JSON.stringify(step));
      }
      if (!checks.some(([step]) => step && (Array.isArray(step[0]) || step[0] === 'setTextJson'))) {
        assert.deepEqual(await s.e.model(), model, 'the document is left unchanged');
        assert.deepEqual(await s.e.hostCalls(), []);
      }
    });
  }
});

describe('Replace All: what matches, with the options, counted, as one undo step', () => {
  const matching = (text, query, [matchCase, wholeWord] = [], replaced = text) => [
    `${text} / ${query}${matchCase ? ' / Match case' : ''}${wholeWord ? ' / Whole word' : ''}`,
    doc(para(text)), query, '<>', replaced.split('<>').length - 1, doc(para(replaced)), [matchCase, wholeWord]];
  for (const [name, model, query, replacement, count, expected, [matchCase, wholeWord] = []] of [
    matching('Cat cat CAT', 'cat', [true], 'Cat <> CAT'),
    matching('cat concat cats snake_cat cat2 cat.', 'cat', [false, true], '<> concat cats snake_cat cat2 <>.'),
    matching('Straße', 'stras'),
    matching('re\u0301sume\u0301!', 'resume', [false, true], '<>!'),
    matching('😀cat😀', 'cat', [false, true], '😀<>😀'),
    matching('aaaa', 'aa', [], '<><>'),
    matching('abc', ''),
    ['the replacement takes the style of the first replaced character',
      doc(para('the ', ['emph', 'quick'], ' fox')), 'quick fox', 'slow', 1, doc(para('the ', ['emph', 'slow']))],
    ['a footnote label and an image are left alone', doc(para('ab', ['noteref', 'ab'], 'ab'), img('ab.png')), 'ab', 'x', 2,
      doc(para('x', ['noteref', 'ab'], 'x'), img('ab.png'))],
    ['no match across a line break', doc(para('a', BR, 'b')), 'ab', 'x', 0, doc(para('a', BR, 'b'))],
    ['replacing with nothing removes the text and its emptied span', doc(para('a', ['strong', 'bold'], 'c')), 'bold', '', 1, doc(para('ac'))],
    ['a replacement holding the search text is not replaced again', doc(para('a a')), 'a', 'aa', 2, doc(para('aa aa'))],
  ]) {
    test(name, async () => {
      await s.e.load(model, [0, 0, 0]);
      await options(matchCase, wholeWord);
      const replaced = await s.e.call('replaceAll', query, replacement);
      await options();
      assert.equal(replaced, count);
      assert.deepEqual(await s.e.model(), expected);
      assert.deepEqual(await s.e.hostCalls(), count ? ['done'] : []);
      assert.deepEqual(await s.e.steps('undo'), model, 'undone');
    });
  }
});

describe('replacing', () => {
  test('Replace replaces the selected match and selects the next; elsewhere it only finds', async () => {
    await s.e.run(doc(para('one two one'), para('One')), [0, 0, 0], 'prepareSearch');
    for (const [replaced, model, selection] of [[false, ['one two one', 'One'], 'one'], [true, ['1 two one', 'One'], 'one'],
      [true, ['1 two 1', 'One'], 'One'], [true, ['1 two 1', '1'], '']]) {
      assert.equal(await s.e.call('replaceMatch', 'one', '1'), replaced);
      assert.deepEqual(await s.e.model(), doc(...model.map((text) => para(text))));
      assert.equal(await s.e.selectedText(), selection, JSON.stringify(model));
    }
    assert.deepEqual(await s.e.hostCalls(), ['done', 'done', 'done']);
    assert.deepEqual(await s.e.steps('undo'), doc(para('1 two 1'), para('One')));
  });

  test('over a generated manuscript Replace All leaves nothing to replace, changes the length by what it counted, and undo gives the model back', async () => {
    const model = generateDocument(400);
    const textLength = (m) => m.slice(1).reduce((n, b) => n + b.slice(2).reduce((k, span) => k + span[1].length, 0), 0);
    for (const [word, replacement, opts] of [['dolor', 'D', []], ['lorem ut', 'lorem-ut', []],
      ['Sit', 'standing', [true]], ['a', 'ANOTHER', [false, true]], ['x', '', []]]) {
      const name = `${word} > ${replacement}`;
      await s.e.load(model);
      await options(...opts);
      const count = await s.e.call('replaceAll', word, replacement);
      assert.ok(count > 0 || opts[0], name);
      const replaced = await s.e.model();
      assert.equal(textLength(replaced) - textLength(model), count * (replacement.length - word.length), name);
      if (!replacement.toLowerCase().includes(word.toLowerCase())) assert.equal(await s.e.call('replaceAll', word, replacement), 0, name);
      await s.e.load(replaced);
      await s.e.call('replaceAll', word, replacement);
      await s.e.eval(() => { for (let i = 0; i < 100; i++) undo(); });
      assert.deepEqual(await s.e.model(), replaced, name + ', undone');
    }
    await options();
  });
});
