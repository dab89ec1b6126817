import { test, describe, assert, doc, para, block, img, row, col, BR, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const tags = async (e) => (await e.model()).slice(1).map((b) => [b[0], b[1].level, ...(b[1].direction ? [b[1].direction] : [])]);
const rtl = (text) => ['para', { level: 0, direction: 'rtl' }, ['plain', text]];

describe('paragraph types and levels', () => stepCases(s, [
  ['Heading 1 on a level-0 heading and a paragraph makes both plain', doc(block('heading', -3, 'Title'), para('text')),
    [[[0, 0, 1], [1, 0, 2]], 'styleParagraphHeading1'], [['para', 0], ['para', 0]]],
  ['Heading 2 on a Heading 1 makes it a Heading 2, not plain', doc(block('heading', -3, 'Title')), [[0, 0, 2], 'styleParagraphHeading2'],
    [['heading', -2]]],
  ['Heading 2 again makes it plain', doc(block('heading', -3, 'Title')), [[0, 0, 2], 'styleParagraphHeading2', 'styleParagraphHeading2'],
    [['para', 0]]],
  ['a selection ending at the very start of a block leaves that block alone', doc(para('one'), para('two')),
    [[[0, 0, 0], [1, 0, 0]], 'styleParagraphHeading3'], [['heading', -1], ['para', 0]]],
  ['a bulleted item turned into a heading and back is a level-0 paragraph', doc(block('bulleted', 2, 'item')),
    [[0, 0, 1], 'styleParagraphHeading1', 'styleParagraphHeading1'], [['para', 0]]],
  ['Bulleted on a level-2 paragraph gives a level-3 item', doc(block('para', 2, 'item')), [[0, 0, 1], 'styleParagraphBulleted'],
    [['bulleted', 2]]],
  ['Bulleted again gives the level-2 paragraph back', doc(block('para', 2, 'item')),
    [[0, 0, 1], 'styleParagraphBulleted', 'styleParagraphBulleted'], [['para', 2]]],
  ['a toggle on a mixed selection turns every block plain when one has the type', doc(block('quote', 0, 'q'), para('p')),
    [[[0, 0, 0], [1, 0, 1]], 'styleParagraphQuotation'], [['para', 0], ['para', 0]]],
  ['Note and Numbered keep the model level', doc(block('para', 1, 'a'), para('b')),
    [[0, 0, 0], 'styleParagraphNote', [1, 0, 0], 'styleParagraphNumbered'], [['note', 1], ['numbered', 0]]],
  ['Plain sets the level of every selected block to 0, images included', doc(block('para', 3, 'a'), block('image', 2, ['url', 'i.png']),
    block('bulleted', 2, 'b')), [[[0, 0, 0], [2, 0, 1]], 'styleParagraphPlain'], [['para', 0], ['image', 0], ['para', 0]]],
  ['Quotation leaves images and table cells unchanged', doc(para('a'), img('i.png'), row('c'), col('d'), para('b')),
    [[[0, 0, 0], [4, 0, 1]], 'styleParagraphQuotation'], [['quote', 0], ['image', 0], ['row', 1], ['col', 2], ['quote', 0]]],
  ['Image on a selection holding an image turns the other paragraphs plain', doc(block('quote', 0, 'q'), img('i.png'), para('p.png')),
    [[[0, 0, 0], [2, 0, 2]], 'styleParagraphImage'], [['para', 0], ['image', 0], ['para', 0]]],
  ['a level-0 heading indents to level 1, a level-2 heading not at all', doc(block('heading', -3, 'a'), block('heading', -1, 'b')),
    [[0, 0, 0], 'indentParagraph', [1, 0, 0], 'indentParagraph'], [['heading', -2], ['heading', -1]], null, ['done']],
  ['Shift Right raises the level of every selected paragraph', doc(para('a'), block('quote', 0, 'b')),
    [[[0, 0, 0], [1, 0, 1]], 'shiftParagraphRight'], [['para', 1], ['quote', 1]]],
  ['Shift Left on a level-1 bulleted item makes a paragraph', doc(block('bulleted', 0, 'a')), [[0, 0, 0], 'shiftParagraphLeft'], [['para', 0]]],
  ['Shift Left on a level-1 numbered item does nothing', doc(block('numbered', 0, 'b')), [[0, 0, 0], 'shiftParagraphLeft'],
    [['numbered', 0]], null, []],
  ['Right to Left marks the selected blocks', doc(para('a'), para('b'), para('c')), [[[0, 0, 0], [1, 0, 1]], 'setRTL'],
    [['para', 0, 'rtl'], ['para', 0, 'rtl'], ['para', 0]]],
  ['Left to Right clears the mark', doc(rtl('a'), rtl('b')), [[1, 0, 0], 'setLTR'], [['para', 0, 'rtl'], ['para', 0]]],
], tags));

describe('paragraph contents', () => stepCases(s, [
  ['Code Block drops character styles and keeps line breaks', doc(para('a ', ['emph', 'b'], BR, ['linktext', 'c'], ['linkref', '1']),
    block('link', 0, ['linkref', '1'], ['url', 'http://x.org'])), [[0, 0, 1], 'styleParagraphCode'],
  doc(block('verbatim', 0, 'a b', BR, 'c1'), block('note', 0, ['noteref', '1'], ['url', 'http://x.org']))],
  ['Comment keeps styles, Math Block converts', doc(para(['strong', 'x']), para('y')),
    [[0, 0, 0], 'styleParagraphComment', [1, 0, 0], 'styleParagraphMath'], doc(block('comment', 0, ['strong', 'x']), block('formula', 0, 'y'))],
  ['Image takes the trimmed paragraph text, its styles dropped, as the reference', doc(para('  images/', ['emph', 'figure'], '.png ')),
    [[0, 0, 3], 'styleParagraphImage'], doc(img('images/figure.png'))],
  ['Image drops line breaks from the reference', doc(para('pics/', BR, 'b.png')), [[0, 0, 0], 'styleParagraphImage'],
    doc(img('pics/b.png'))],
  ['a paragraph without text does not become an image', doc(para('  '), para('b.png')), [[[0, 0, 0], [1, 0, 5]], 'styleParagraphImage'],
    doc(para('  '), img('b.png'))],
  ['Shift Up moves the selected blocks above the block before them, the selection with them', doc(para('a'), para('b'), para('c')),
    [[[1, 0, 0], [2, 0, 1]], 'shiftParagraphUp'], doc(para('b'), para('c'), para('a'))],
  ['Shift Down moves the block after the selection before it and keeps its direction', doc(para('a'), rtl('b')),
    [[0, 0, 1], 'shiftParagraphDown'], doc(rtl('b'), para('a')), [1, 0, 1]],
  ['Shift Up does nothing on the first block or under a table', doc(para('a'), row('r'), col('c'), para('b')),
    [[0, 0, 0], 'shiftParagraphUp', [3, 0, 0], 'shiftParagraphUp'], doc(para('a'), row('r'), col('c'), para('b')), null, []],
  ['Shift Down does nothing on the last block or above a table', doc(para('a'), row('r'), para('b')),
    [[0, 0, 0], 'shiftParagraphDown', [2, 0, 0], 'shiftParagraphDown'], doc(para('a'), row('r'), para('b')), null, []],
]));

describe('what the style sheet and the caret see after a change', () => {
  test('a level-2 bulleted item is drawn at indent 3', async () => {
    await s.e.run(doc(block('para', 2, 'item')), [0, 0, 1], 'styleParagraphBulleted');
    assert.deepEqual(await s.e.blockClasses(), ['Bulleted Indent3', 'Final Indent0']);
  });

  test('a style with the caret in Final styles a new paragraph above Final, where typing goes', async () => {
    await s.e.run(doc(para('a')), [1, 0, 0], 'styleParagraphHeading2');
    assert.deepEqual(await s.e.blockClasses(), ['Plain Indent0', 'Heading Indent1', 'Final Indent0']);
    await s.e.type('Hi');
    assert.deepEqual((await s.e.model())[2], block('heading', -2, 'Hi'));
  });

  test('an image made from a paragraph is selected and stays an image when loaded again; in Final Image makes no image', async () => {
    const model = await s.e.run(doc(para('pics/b.png')), [0, 0, 0], 'styleParagraphImage');
    assert.equal(await s.e.imageSelected(), true);
    assert.deepEqual(await s.e.run(model), doc(img('pics/b.png')));
    await s.e.steps([1, 0, 0], 'styleParagraphImage');
    assert.deepEqual(await s.e.blockClasses(), ['Image Indent0', 'Plain Indent0', 'Final Indent0']);
  });

  test('Right to Left at the end of the document applies to what is typed there, and draws right to left', async () => {
    await s.e.run(doc(para('a')), [1, 0, 0], 'setRTL');
    await s.e.type('b');
    assert.deepEqual((await s.e.model())[2], rtl('b'));
    assert.deepEqual(await s.e.eval(() => Array.from(document.querySelectorAll('#doc span.Start'), (b) => b.parentNode.dir)), ['ltr', 'rtl', 'ltr']);
  });

  for (const [name, model, at, command, selection] of [
    ['the selection is restored after a type change', doc(para('one ', ['emph', 'two']), para('three')), [[0, 1, 1], [1, 0, 2]],
      'styleParagraphNumbered', { anchor: [0, 1, 1], focus: [1, 0, 2] }],
    ['Shift Up moves the selection with the blocks', doc(para('a'), para('b'), para('c')), [[1, 0, 0], [2, 0, 1]], 'shiftParagraphUp',
      { anchor: [0, 0, 0], focus: [1, 0, 1] }],
  ]) {
    test(name, async () => {
      await s.e.run(model, at, command);
      assert.deepEqual(await s.e.selection(), selection);
    });
  }
});
