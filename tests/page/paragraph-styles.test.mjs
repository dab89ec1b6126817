// Paragraph type toggles, their level arithmetic, the Image toggle, indenting,
// shifting paragraphs and the writing direction.
import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

// Every test must leave no uncaught error in the page (checked by useEditor).
const s = useEditor();

const tags = (model) => model.slice(1).map((b) => [b[0], b[1].level]);

describe('heading toggles', () => {
  test('Heading 1 on a level-0 heading and a paragraph makes both plain', async () => {
    await s.e.load(doc(block('heading', -3, 'Title'), para('text')));
    await s.e.select([0, 0, 1], [1, 0, 2]);
    await s.e.call('styleParagraphHeading1');
    assert.deepEqual(tags(await s.e.model()), [['para', 0], ['para', 0]]);
  });

  test('Heading 1 on two paragraphs makes both level-0 headings', async () => {
    await s.e.load(doc(para('one'), para('two')));
    await s.e.select([0, 0, 0], [1, 0, 3]);
    await s.e.call('styleParagraphHeading1');
    assert.deepEqual(tags(await s.e.model()), [['heading', -3], ['heading', -3]]);
  });

  test('Heading 2 on a Heading 1 makes it a Heading 2, not plain', async () => {
    await s.e.load(doc(block('heading', -3, 'Title')));
    await s.e.caret(0, 0, 2);
    await s.e.call('styleParagraphHeading2');
    assert.deepEqual(tags(await s.e.model()), [['heading', -2]]);
    await s.e.call('styleParagraphHeading2');
    assert.deepEqual(tags(await s.e.model()), [['para', 0]]);
  });

  test('a selection ending at the very start of a block leaves that block alone', async () => {
    await s.e.load(doc(para('one'), para('two')));
    await s.e.select([0, 0, 0], [1, 0, 0]);
    await s.e.call('styleParagraphHeading3');
    assert.deepEqual(tags(await s.e.model()), [['heading', -1], ['para', 0]]);
  });
});

describe('type toggles and levels', () => {
  test('Bulleted on a level-2 paragraph gives a level-3 item, and back to level 2', async () => {
    await s.e.load(doc(block('para', 2, 'item')));
    await s.e.caret(0, 0, 1);
    await s.e.call('styleParagraphBulleted');
    assert.deepEqual(await s.e.blockClasses(), ['Bulleted Indent3', 'Final Indent0']);
    assert.deepEqual(tags(await s.e.model()), [['bulleted', 2]]);
    await s.e.call('styleParagraphBulleted');
    assert.deepEqual(tags(await s.e.model()), [['para', 2]]);
  });

  test('a bulleted item turned into a heading and back is a level-0 paragraph', async () => {
    await s.e.load(doc(block('bulleted', 2, 'item')));
    await s.e.caret(0, 0, 1);
    await s.e.call('styleParagraphHeading1');
    await s.e.call('styleParagraphHeading1');
    assert.deepEqual(tags(await s.e.model()), [['para', 0]]);
  });

  test('a toggle on a mixed selection turns every block plain when one has the type', async () => {
    await s.e.load(doc(block('quote', 0, 'q'), para('p')));
    await s.e.select([0, 0, 0], [1, 0, 1]);
    await s.e.call('styleParagraphQuotation');
    assert.deepEqual(tags(await s.e.model()), [['para', 0], ['para', 0]]);
  });

  test('Code Block drops character styles and keeps line breaks', async () => {
    await s.e.load(doc(para('a ', ['emph', 'b'], ['break', '\n'], ['linktext', 'c'], ['linkref', '1']),
      block('link', 0, ['linkref', '1'], ['url', 'http://x.org'])));
    await s.e.caret(0, 0, 1);
    await s.e.call('styleParagraphCode');
    const model = await s.e.model();
    assert.deepEqual(model[1], ['verbatim', { level: 0 }, ['plain', 'a b'], ['break', '\n'], ['plain', 'c1']]);
  });

  test('Math Block and Comment convert, Comment keeps styles', async () => {
    await s.e.load(doc(para(['strong', 'x']), para('y')));
    await s.e.caret(0, 0, 0);
    await s.e.call('styleParagraphComment');
    await s.e.caret(1, 0, 0);
    await s.e.call('styleParagraphMath');
    const model = await s.e.model();
    assert.deepEqual(model[1], ['comment', { level: 0 }, ['strong', 'x']]);
    assert.deepEqual(model[2], ['formula', { level: 0 }, ['plain', 'y']]);
  });

  test('Note and Numbered keep the model level', async () => {
    await s.e.load(doc(block('para', 1, 'a'), para('b')));
    await s.e.caret(0, 0, 0);
    await s.e.call('styleParagraphNote');
    await s.e.caret(1, 0, 0);
    await s.e.call('styleParagraphNumbered');
    assert.deepEqual(tags(await s.e.model()), [['note', 1], ['numbered', 0]]);
  });

  test('Plain sets the level of every selected block to 0, images included', async () => {
    await s.e.load(doc(block('para', 3, 'a'), block('image', 2, ['url', 'i.png']), block('bulleted', 2, 'b')));
    await s.e.select([0, 0, 0], [2, 0, 1]);
    await s.e.call('styleParagraphPlain');
    assert.deepEqual(tags(await s.e.model()), [['para', 0], ['image', 0], ['para', 0]]);
  });

  test('Quotation leaves images and table cells unchanged', async () => {
    await s.e.load(doc(para('a'), block('image', 0, ['url', 'i.png']), block('row', 1, 'c'), block('col', 2, 'd'), para('b')));
    await s.e.select([0, 0, 0], [4, 0, 1]);
    await s.e.call('styleParagraphQuotation');
    assert.deepEqual(tags(await s.e.model()),
      [['quote', 0], ['image', 0], ['row', 1], ['col', 2], ['quote', 0]]);
  });

  test('a style with the caret in Final styles a new paragraph above Final', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(1, 0, 0);
    await s.e.call('styleParagraphHeading2');
    assert.deepEqual(await s.e.blockClasses(), ['Plain Indent0', 'Heading Indent1', 'Final Indent0']);
    assert.deepEqual(await s.e.caretAt(), [1, 0, 0]);
    await s.e.type('Hi');
    assert.deepEqual((await s.e.model())[2], ['heading', { level: -2 }, ['plain', 'Hi']]);
  });

  test('the selection is restored and one undo gives the old paragraph back', async () => {
    await s.e.load(doc(para('one ', ['emph', 'two']), para('three')));
    await s.e.select([0, 1, 1], [1, 0, 2]);
    await s.e.call('styleParagraphNumbered');
    assert.deepEqual(await s.e.selection(), { anchor: [0, 1, 1], focus: [1, 0, 2] });
    await s.e.call('undo');
    assert.deepEqual(tags(await s.e.model()), [['para', 0], ['para', 0]]);
    assert.deepEqual(await s.e.hostCalls(), ['done', 'undone']);
  });
});

describe('image toggle', () => {
  test('the paragraph text becomes the image reference', async () => {
    await s.e.load(doc(para('  images/', ['emph', 'figure'], '.png ')));
    await s.e.caret(0, 0, 3);
    await s.e.call('styleParagraphImage');
    assert.deepEqual((await s.e.model())[1], ['image', { level: 0 }, ['url', 'images/figure.png']]);
    // The file does not exist, so the page shows its grey frame in its place.
    const img = await s.e.eval(() => {
      const i = editor.blocks[0].querySelector('img');
      return { url: i.getAttribute('url'), missing: i.getAttribute('src').startsWith('data:image/svg') };
    });
    assert.deepEqual(img, { url: 'images/figure.png', missing: true });
  });

  test('the image block reads, copies, shows and undoes like any image', async () => {
    await s.e.load(doc(para('a.png'), para('after')));
    await s.e.caret(0, 0, 1);
    await s.e.call('styleParagraphImage');
    // Selected as an image after the command.
    assert.equal(await s.e.eval(() => window.getSelection().toString().length), 1);
    assert.deepEqual(await s.e.eval(() => editor.getBlockSpans(0)), [{ Type: 'Url', Text: 'a.png' }]);
    assert.equal(await s.e.call('copy'), '["text",["image",{"level":0},["url","a.png"]]]');
    await s.e.call('undo');
    assert.deepEqual((await s.e.model())[1], ['para', { level: 0 }, ['plain', 'a.png']]);
    await s.e.call('redo');
    assert.deepEqual((await s.e.model())[1], ['image', { level: 0 }, ['url', 'a.png']]);
    // Read back from the page's own HTML, as a whole-content snapshot would be.
    await s.e.eval(() => editor.setContent(editor.getContent()));
    assert.deepEqual((await s.e.model())[1], ['image', { level: 0 }, ['url', 'a.png']]);
    assert.deepEqual([await s.e.call('getWordCount'), await s.e.call('getCharCount')], [2, 10]);
    assert.deepEqual(s.e.errors, []);
  });

  test('Image on a selection holding an image turns the other paragraphs plain', async () => {
    await s.e.load(doc(block('quote', 0, 'q'), block('image', 0, ['url', 'i.png']), para('p.png')));
    await s.e.select([0, 0, 0], [2, 0, 2]);
    await s.e.call('styleParagraphImage');
    assert.deepEqual(tags(await s.e.model()), [['para', 0], ['image', 0], ['para', 0]]);
  });

  test('a paragraph without text does not become an image', async () => {
    await s.e.load(doc(para('  '), para('b.png')));
    await s.e.select([0, 0, 0], [1, 0, 5]);
    await s.e.call('styleParagraphImage');
    assert.deepEqual(await s.e.model(), doc(para('  '), block('image', 0, ['url', 'b.png'])));
    await s.e.caret(2, 0, 0);
    await s.e.call('styleParagraphImage');
    assert.deepEqual(await s.e.blockClasses(), ['Plain Indent0', 'Image Indent0', 'Plain Indent0', 'Final Indent0']);
  });

  test('a paragraph with line breaks joins its lines into one reference', async () => {
    await s.e.load(doc(para('pics/', ['break', '\n'], 'b.png')));
    await s.e.caret(0, 0, 0);
    await s.e.call('styleParagraphImage');
    assert.deepEqual((await s.e.model())[1], ['image', { level: 0 }, ['url', 'pics/b.png']]);
  });
});

describe('indent and unindent', () => {
  test('a level-0 heading indents to level 1, a level-2 heading not at all', async () => {
    await s.e.load(doc(block('heading', -3, 'a'), block('heading', -1, 'b')));
    await s.e.caret(0, 0, 0);
    await s.e.call('indentParagraph');
    await s.e.caret(1, 0, 0);
    await s.e.call('indentParagraph');
    assert.deepEqual(tags(await s.e.model()), [['heading', -2], ['heading', -1]]);
    assert.deepEqual(await s.e.hostCalls(), ['done']);
  });

  test('Shift Left on a level-1 bulleted item makes a paragraph, on a numbered item nothing', async () => {
    await s.e.load(doc(block('bulleted', 0, 'a'), block('numbered', 0, 'b')));
    await s.e.caret(0, 0, 0);
    assert.equal(await s.e.call('shiftParagraphLeft'), false);
    await s.e.caret(1, 0, 0);
    await s.e.call('shiftParagraphLeft');
    assert.deepEqual(tags(await s.e.model()), [['para', 0], ['numbered', 0]]);
  });

  test('Shift Right raises the level of every selected paragraph', async () => {
    await s.e.load(doc(para('a'), block('quote', 0, 'b')));
    await s.e.select([0, 0, 0], [1, 0, 1]);
    await s.e.call('shiftParagraphRight');
    assert.deepEqual(tags(await s.e.model()), [['para', 1], ['quote', 1]]);
  });
});

describe('shifting paragraphs up and down', () => {
  test('Shift Up moves the selected blocks above the block before them', async () => {
    await s.e.load(doc(para('a'), para('b'), para('c')));
    await s.e.select([1, 0, 0], [2, 0, 1]);
    await s.e.call('shiftParagraphUp');
    const model = await s.e.model();
    assert.deepEqual(model.slice(1).map((b) => b[2][1]), ['b', 'c', 'a']);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 0], focus: [1, 0, 1] });
  });

  test('Shift Down moves the block after the selection before it and keeps its direction', async () => {
    await s.e.load(doc(para('a'), ['para', { level: 0, direction: 'rtl' }, ['plain', 'b']]));
    await s.e.caret(0, 0, 1);
    await s.e.call('shiftParagraphDown');
    const model = await s.e.model();
    assert.deepEqual(model[1], ['para', { level: 0, direction: 'rtl' }, ['plain', 'b']]);
    assert.deepEqual(model[2], ['para', { level: 0 }, ['plain', 'a']]);
    assert.deepEqual(await s.e.caretAt(), [1, 0, 1]);
    await s.e.call('undo');
    assert.deepEqual((await s.e.model()).slice(1).map((b) => b[2][1]), ['a', 'b']);
  });

  test('Shift Up does nothing on the first block or under a table', async () => {
    await s.e.load(doc(para('a'), block('row', 1, 'r'), block('col', 2, 'c'), para('b')));
    await s.e.caret(0, 0, 0);
    await s.e.call('shiftParagraphUp');
    await s.e.caret(3, 0, 0);
    await s.e.call('shiftParagraphUp');
    assert.deepEqual(tags(await s.e.model()), [['para', 0], ['row', 1], ['col', 2], ['para', 0]]);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('Shift Down does nothing on the last block or above a table', async () => {
    await s.e.load(doc(para('a'), block('row', 1, 'r'), para('b')));
    await s.e.caret(0, 0, 0);
    await s.e.call('shiftParagraphDown');
    await s.e.caret(2, 0, 0);
    await s.e.call('shiftParagraphDown');
    assert.deepEqual(tags(await s.e.model()), [['para', 0], ['row', 1], ['para', 0]]);
  });
});

describe('writing direction', () => {
  test('Right to Left marks the selected blocks, Left to Right clears the mark', async () => {
    await s.e.load(doc(para('a'), para('b'), para('c')));
    await s.e.select([0, 0, 0], [1, 0, 1]);
    assert.equal(await s.e.call('setRTL'), false);
    let model = await s.e.model();
    assert.deepEqual(model.slice(1).map((b) => b[1].direction), ['rtl', 'rtl', undefined]);
    await s.e.caret(1, 0, 0);
    await s.e.call('setLTR');
    model = await s.e.model();
    assert.deepEqual(model.slice(1).map((b) => b[1].direction), ['rtl', undefined, undefined]);
    assert.equal(await s.e.eval(() => editor.blocks[1].getAttribute('dir')), 'ltr');
  });

  test('Right to Left at the end of the document applies to what is typed there', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(1, 0, 0);
    await s.e.call('setRTL');
    await s.e.type('b');
    assert.deepEqual((await s.e.model())[2], ['para', { level: 0, direction: 'rtl' }, ['plain', 'b']]);
  });

  test('Enter in a right-to-left paragraph keeps the direction', async () => {
    await s.e.load(doc(para('abc')));
    await s.e.caret(0, 0, 3);
    await s.e.call('setRTL');
    await s.e.call('insertNewline');
    await s.e.type('d');
    assert.deepEqual((await s.e.model())[2], ['para', { level: 0, direction: 'rtl' }, ['plain', 'd']]);
  });
});
