import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const tags = (model) => model.slice(1).map((b) => [b[0], b[1].level]);

const cases = [
  ['Heading 1 on a level-0 heading and a paragraph makes both plain', doc(block('heading', -3, 'Title'), para('text')),
    [[[0, 0, 1], [1, 0, 2]], 'styleParagraphHeading1'], [['para', 0], ['para', 0]]],
  ['a selection ending at the very start of a block leaves that block alone', doc(para('one'), para('two')),
    [[[0, 0, 0], [1, 0, 0]], 'styleParagraphHeading3'], [['heading', -1], ['para', 0]]],
  ['a bulleted item turned into a heading and back is a level-0 paragraph', doc(block('bulleted', 2, 'item')),
    [[0, 0, 1], 'styleParagraphHeading1', 'styleParagraphHeading1'], [['para', 0]]],
  ['a toggle on a mixed selection turns every block plain when one has the type', doc(block('quote', 0, 'q'), para('p')),
    [[[0, 0, 0], [1, 0, 1]], 'styleParagraphQuotation'], [['para', 0], ['para', 0]]],
  ['Note and Numbered keep the model level', doc(block('para', 1, 'a'), para('b')),
    [[0, 0, 0], 'styleParagraphNote', [1, 0, 0], 'styleParagraphNumbered'], [['note', 1], ['numbered', 0]]],
  ['Plain sets the level of every selected block to 0, images included',
    doc(block('para', 3, 'a'), block('image', 2, ['url', 'i.png']), block('bulleted', 2, 'b')),
    [[[0, 0, 0], [2, 0, 1]], 'styleParagraphPlain'], [['para', 0], ['image', 0], ['para', 0]]],
  ['Quotation leaves images and table cells unchanged',
    doc(para('a'), block('image', 0, ['url', 'i.png']), block('row', 1, 'c'), block('col', 2, 'd'), para('b')),
    [[[0, 0, 0], [4, 0, 1]], 'styleParagraphQuotation'], [['quote', 0], ['image', 0], ['row', 1], ['col', 2], ['quote', 0]]],
  ['Image on a selection holding an image turns the other paragraphs plain',
    doc(block('quote', 0, 'q'), block('image', 0, ['url', 'i.png']), para('p.png')),
    [[[0, 0, 0], [2, 0, 2]], 'styleParagraphImage'], [['para', 0], ['image', 0], ['para', 0]]],
  ['a level-0 heading indents to level 1, a level-2 heading not at all', doc(block('heading', -3, 'a'), block('heading', -1, 'b')),
    [[0, 0, 0], 'indentParagraph', [1, 0, 0], 'indentParagraph'], [['heading', -2], ['heading', -1]], ['done']],
  ['Shift Right raises the level of every selected paragraph', doc(para('a'), block('quote', 0, 'b')),
    [[[0, 0, 0], [1, 0, 1]], 'shiftParagraphRight'], [['para', 1], ['quote', 1]]],
  ['Shift Up does nothing on the first block or under a table',
    doc(para('a'), block('row', 1, 'r'), block('col', 2, 'c'), para('b')),
    [[0, 0, 0], 'shiftParagraphUp', [3, 0, 0], 'shiftParagraphUp'], [['para', 0], ['row', 1], ['col', 2], ['para', 0]], []],
  ['Shift Down does nothing on the last block or above a table', doc(para('a'), block('row', 1, 'r'), para('b')),
    [[0, 0, 0], 'shiftParagraphDown', [2, 0, 0], 'shiftParagraphDown'], [['para', 0], ['row', 1], ['para', 0]], []],
];
for (const [name, model, steps, expected, hostCalls] of cases) {
  test(name, async () => {
    assert.deepEqual(tags(await s.e.run(model, ...steps)), expected);
    if (hostCalls) assert.deepEqual(await s.e.hostCalls(), hostCalls);
  });
}

test('Heading 2 on a Heading 1 makes it a Heading 2, not plain', async () => {
  assert.deepEqual(tags(await s.e.run(doc(block('heading', -3, 'Title')), [0, 0, 2], 'styleParagraphHeading2')), [['heading', -2]]);
  await s.e.call('styleParagraphHeading2');
  assert.deepEqual(tags(await s.e.model()), [['para', 0]]);
});

describe('type toggles and levels', () => {
  test('Bulleted on a level-2 paragraph gives a level-3 item, and back to level 2', async () => {
    await s.e.run(doc(block('para', 2, 'item')), [0, 0, 1], 'styleParagraphBulleted');
    assert.deepEqual(await s.e.blockClasses(), ['Bulleted Indent3', 'Final Indent0']);
    assert.deepEqual(tags(await s.e.model()), [['bulleted', 2]]);
    await s.e.call('styleParagraphBulleted');
    assert.deepEqual(tags(await s.e.model()), [['para', 2]]);
  });

  test('Code Block drops character styles and keeps line breaks', async () => {
    await s.e.load(doc(para('a ', ['emph', 'b'], ['break', '\n'], ['linktext', 'c'], ['linkref', '1']),
      block('link', 0, ['linkref', '1'], ['url', 'http://x.org'])));
    const model = await s.e.steps([0, 0, 1], 'styleParagraphCode');
    assert.deepEqual(model[1], ['verbatim', { level: 0 }, ['plain', 'a b'], ['break', '\n'], ['plain', 'c1']]);
  });

  test('Math Block and Comment convert, Comment keeps styles', async () => {
    const model = await s.e.run(doc(para(['strong', 'x']), para('y')), [0, 0, 0], 'styleParagraphComment', [1, 0, 0], 'styleParagraphMath');
    assert.deepEqual(model[1], ['comment', { level: 0 }, ['strong', 'x']]);
    assert.deepEqual(model[2], ['formula', { level: 0 }, ['plain', 'y']]);
  });

  test('a style with the caret in Final styles a new paragraph above Final', async () => {
    await s.e.load(doc(para('a')), [1, 0, 0]);
    await s.e.call('styleParagraphHeading2');
    assert.deepEqual(await s.e.blockClasses(), ['Plain Indent0', 'Heading Indent1', 'Final Indent0']);
    assert.deepEqual(await s.e.caretAt(), [1, 0, 0]);
    await s.e.type('Hi');
    assert.deepEqual((await s.e.model())[2], ['heading', { level: -2 }, ['plain', 'Hi']]);
  });

  test('the selection is restored after a type change', async () => {
    await s.e.run(doc(para('one ', ['emph', 'two']), para('three')), [[0, 1, 1], [1, 0, 2]], 'styleParagraphNumbered');
    assert.deepEqual(await s.e.selection(), { anchor: [0, 1, 1], focus: [1, 0, 2] });
  });
});

describe('image toggle', () => {
  test('the paragraph text, styles and line breaks dropped, becomes the image reference', async () => {
    await s.e.run(doc(para('  images/', ['emph', 'figure'], '.png ')), [0, 0, 3], 'styleParagraphImage');
    assert.deepEqual((await s.e.model())[1], ['image', { level: 0 }, ['url', 'images/figure.png']]);
    await s.e.run(doc(para('pics/', ['break', '\n'], 'b.png')), [0, 0, 0], 'styleParagraphImage');
    assert.deepEqual((await s.e.model())[1], ['image', { level: 0 }, ['url', 'pics/b.png']]);
    assert.equal(await s.e.eval(() => window.getSelection().toString()), '\u200B');
    await s.e.eval(() => editor.setContent(editor.getContent()));
    assert.deepEqual((await s.e.model())[1], ['image', { level: 0 }, ['url', 'pics/b.png']]);
  });

  test('a paragraph without text does not become an image', async () => {
    await s.e.run(doc(para('  '), para('b.png')), [[0, 0, 0], [1, 0, 5]], 'styleParagraphImage');
    assert.deepEqual(await s.e.model(), doc(para('  '), block('image', 0, ['url', 'b.png'])));
    await s.e.steps([2, 0, 0], 'styleParagraphImage');
    assert.deepEqual(await s.e.blockClasses(), ['Plain Indent0', 'Image Indent0', 'Plain Indent0', 'Final Indent0']);
  });
});

test('Shift Left on a level-1 bulleted item makes a paragraph, on a numbered item nothing', async () => {
  await s.e.load(doc(block('bulleted', 0, 'a'), block('numbered', 0, 'b')), [0, 0, 0]);
  assert.equal(await s.e.call('shiftParagraphLeft'), false);
  assert.deepEqual(tags(await s.e.steps([1, 0, 0], 'shiftParagraphLeft')), [['para', 0], ['numbered', 0]]);
});

describe('shifting paragraphs up and down', () => {
  test('Shift Up moves the selected blocks above the block before them', async () => {
    const model = await s.e.run(doc(para('a'), para('b'), para('c')), [[1, 0, 0], [2, 0, 1]], 'shiftParagraphUp');
    assert.deepEqual(model.slice(1).map((b) => b[2][1]), ['b', 'c', 'a']);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 0], focus: [1, 0, 1] });
  });

  test('Shift Down moves the block after the selection before it and keeps its direction', async () => {
    const model = await s.e.run(doc(para('a'), ['para', { level: 0, direction: 'rtl' }, ['plain', 'b']]), [0, 0, 1], 'shiftParagraphDown');
    assert.deepEqual(model[1], ['para', { level: 0, direction: 'rtl' }, ['plain', 'b']]);
    assert.deepEqual(model[2], ['para', { level: 0 }, ['plain', 'a']]);
    assert.deepEqual(await s.e.caretAt(), [1, 0, 1]);
  });
});

describe('writing direction', () => {
  test('Right to Left marks the selected blocks, Left to Right clears the mark', async () => {
    await s.e.load(doc(para('a'), para('b'), para('c')), [[0, 0, 0], [1, 0, 1]]);
    assert.equal(await s.e.call('setRTL'), false);
    let model = await s.e.model();
    assert.deepEqual(model.slice(1).map((b) => b[1].direction), ['rtl', 'rtl', undefined]);
    model = await s.e.steps([1, 0, 0], 'setLTR');
    assert.deepEqual(model.slice(1).map((b) => b[1].direction), ['rtl', undefined, undefined]);
    assert.equal(await s.e.eval(() => editor.blocks[1].getAttribute('dir')), 'ltr');
  });

  test('Right to Left at the end of the document applies to what is typed there', async () => {
    await s.e.run(doc(para('a')), [1, 0, 0], 'setRTL');
    await s.e.type('b');
    assert.deepEqual((await s.e.model())[2], ['para', { level: 0, direction: 'rtl' }, ['plain', 'b']]);
  });
});
