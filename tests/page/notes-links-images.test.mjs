// Footnotes, hyperlinks, following references and URLs, and image paragraphs.
import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

// Every test must leave no uncaught error in the page (checked by useEditor).
const s = useEditor();

const body = async () => (await s.e.model()).slice(1);

describe('footnotes', () => {
  test('two selected words move into a new note labelled 1 after the paragraph', async () => {
    await s.e.load(doc(para('keep these words here'), para('next')));
    await s.e.select([0, 0, 5], [0, 0, 16]);
    await s.e.call('insertFootnote');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'keep '], ['noteref', '1'], ['plain', ' here']],
      ['note', { level: 0 }, ['noteref', '1'], ['plain', 'these words']],
      ['para', { level: 0 }, ['plain', 'next']],
    ]);
    assert.deepEqual(await s.e.caretAt(), [1, 1, 11]);
  });

  test('a second footnote in the paragraph gets label 2 and follows the first note', async () => {
    await s.e.load(doc(para('one two'), para('next')));
    await s.e.caret(0, 0, 3);
    await s.e.call('insertFootnote');
    await s.e.type('first');
    await s.e.caret(0, 2, 4);
    await s.e.call('insertFootnote');
    await s.e.type('second');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'one'], ['noteref', '1'], ['plain', ' two'], ['noteref', '2']],
      ['note', { level: 0 }, ['noteref', '1'], ['plain', 'first']],
      ['note', { level: 0 }, ['noteref', '2'], ['plain', 'second']],
      ['para', { level: 0 }, ['plain', 'next']],
    ]);
  });

  test('a footnote is one undo step', async () => {
    await s.e.load(doc(para('text')));
    await s.e.caret(0, 0, 4);
    await s.e.call('insertFootnote');
    assert.deepEqual(await s.e.hostCalls(), ['done']);
    await s.e.call('undo');
    assert.deepEqual(await body(), [['para', { level: 0 }, ['plain', 'text']]]);
  });

  test('inside a code block or on an image nothing happens', async () => {
    await s.e.load(doc(block('verbatim', 0, 'code'), block('image', 0, ['url', 'a.png'])));
    await s.e.caret(0, 0, 2);
    await s.e.call('insertFootnote');
    await s.e.caret(1, 0, 0);
    await s.e.call('insertFootnote');
    assert.equal((await body()).length, 2);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('a reference in a table cell gets its note after the table', async () => {
    await s.e.load(doc(block('row', 1, 'a'), block('col', 2, 'b'), para('after')));
    await s.e.caret(0, 0, 1);
    await s.e.call('insertFootnote');
    const tags = (await body()).map((b) => b[0]);
    assert.deepEqual(tags, ['row', 'col', 'note', 'para']);
  });

  test('a reference in the paragraph just above a table gets its note before the table', async () => {
    await s.e.load(doc(para('above'), block('row', 1, 'a'), block('col', 2, 'b')));
    await s.e.caret(0, 0, 5);
    await s.e.call('insertFootnote');
    assert.deepEqual((await body()).map((b) => b[0]), ['para', 'note', 'row', 'col']);
  });

  test('with the caret in Final the reference goes into a new paragraph', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(1, 0, 0);
    await s.e.call('insertFootnote');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'a']],
      ['para', { level: 0 }, ['noteref', '1']],
      ['note', { level: 0 }, ['noteref', '1']],
    ]);
  });

  test('a caret inside a label never splits it, and labels never touch', async () => {
    await s.e.load(doc(para('x', ['noteref', '12'], 'y')));
    await s.e.caret(0, 1, 1);
    await s.e.call('insertFootnote');
    assert.deepEqual((await body())[0],
      ['para', { level: 0 }, ['plain', 'x'], ['noteref', '12'], ['plain', ' '], ['noteref', '1'], ['plain', 'y']]);
  });

  test('a footnote just before a label stays apart from it', async () => {
    await s.e.load(doc(para('x', ['noteref', '7'])));
    await s.e.caret(0, 1, 0);
    await s.e.call('insertFootnote');
    assert.deepEqual((await body())[0],
      ['para', { level: 0 }, ['plain', 'x'], ['noteref', '1'], ['plain', ' '], ['noteref', '7']]);
  });
});

describe('following links', () => {
  test('a reference goes to the start of its note\'s text', async () => {
    await s.e.load(doc(para('a', ['noteref', 'n']), para('b'), block('note', 0, ['noteref', 'n'], 'text')));
    await s.e.caret(0, 1, 1);
    await s.e.call('followLink');
    assert.deepEqual(await s.e.caretAt(), [2, 1, 0]);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('a note whose label follows an empty span is still found, not made again', async () => {
    await s.e.load(doc(para('a', ['noteref', 'n']), block('note', 0, ['noteref', 'n'], 'text')));
    await s.e.eval(() => editor.setBlockSpans(1, [
      { Type: 'Plain', Text: '' }, { Type: 'NoteRef', Text: 'n' }, { Type: 'Plain', Text: 'text' }]));
    await s.e.caret(0, 1, 1);
    await s.e.call('followLink');
    assert.equal((await body()).length, 2);
    assert.equal((await s.e.caretAt())[0], 1);
  });

  test('a reference whose note was deleted gets a new empty note', async () => {
    await s.e.load(doc(para('a', ['noteref', ' 5 ']), para('b')));
    await s.e.caret(0, 1, 1);
    await s.e.call('followLink');
    assert.deepEqual((await body())[1], ['note', { level: 0 }, ['noteref', '5']]);
    assert.deepEqual(await s.e.caretAt(), [1, 1, 0]);
    assert.deepEqual(await s.e.hostCalls(), ['done']);
  });

  test('a link label goes to the link definition', async () => {
    await s.e.load(doc(para(['linktext', 'site'], ['linkref', 'L']), block('link', 0, ['linkref', 'L'], ['url', 'http://a.org'])));
    await s.e.caret(0, 1, 0);
    await s.e.call('followLink');
    assert.deepEqual(await s.e.caretAt(), [1, 1, 0]);
  });

  const follow = async (url) => {
    await s.e.load(doc(para('x ', ['url', url])));
    await s.e.caret(0, 1, 1);
    await s.e.call('followLink');
    return s.e.hostCalls();
  };

  test('a URL with a scheme opens as a URL, even after other words', async () => {
    assert.deepEqual(await follow('http://example.org/a?b=c'), ['url:http://example.org/a?b=c']);
    assert.deepEqual(await follow('see FTP://host/file'), ['url:see FTP://host/file']);
    assert.deepEqual(await follow('file:///tmp/x.txt'), ['url:file:///tmp/x.txt']);
    assert.deepEqual(await follow('https://a.b/c&d'), ['url:https://a.b/c&d']);
  });

  test('text without a scheme and :// opens as a file', async () => {
    assert.deepEqual(await follow('images/a.png'), ['file:images/a.png']);
    assert.deepEqual(await follow('example.org'), ['file:example.org']);
    assert.deepEqual(await follow('http:/x'), ['file:http:/x']);
    assert.deepEqual(await follow('mailto://'), ['file:mailto://']);
    // A scheme glued to a word is not at a word boundary.
    assert.deepEqual(await follow('xhttp://a.b'), ['file:xhttp://a.b']);
  });

  test('the URL of a link definition and of an image open too', async () => {
    await s.e.load(doc(block('link', 0, ['linkref', '1'], ['url', 'https://a.org']), block('image', 0, ['url', 'pics/b.png'])));
    await s.e.caret(0, 1, 2);
    await s.e.call('followLink');
    await s.e.caret(1, 0, 0);
    await s.e.call('followLink');
    assert.deepEqual(await s.e.hostCalls(), ['url:https://a.org', 'file:pics/b.png']);
  });

  test('plain text, an empty URL and an empty label do nothing', async () => {
    await s.e.load(doc(para('text ', ['url', '  '], ' ', ['noteref', ' '])));
    for (const span of [0, 1, 3]) {
      await s.e.caret(0, span, 1);
      await s.e.call('followLink');
    }
    assert.equal((await body()).length, 1);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('a click in navigation mode follows the link under the mouse', async () => {
    await s.e.load(doc(para('go ', ['url', 'https://x.org'])));
    await s.e.call('enterNavigationMode');
    await s.e.page.click('.Url');
    await s.e.call('leaveNavigationMode');
    assert.deepEqual(await s.e.hostCalls(), ['url:https://x.org']);
  });
});

describe('hyperlinks', () => {
  test('a link with a numbered definition after the paragraph, caret after it', async () => {
    await s.e.load(doc(para('see  now')));
    await s.e.caret(0, 0, 4);
    await s.e.call('insertHyperlink', 'the site', 'http://example.org');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'see '], ['linktext', 'the site'], ['linkref', '1'], ['plain', ' now']],
      ['link', { level: 0 }, ['linkref', '1'], ['url', 'http://example.org']],
    ]);
    assert.deepEqual(await s.e.caretAt(), [0, 3, 0]);
  });

  test('two links inserted one after the other are apart and numbered in turn', async () => {
    await s.e.load(doc(para('x')));
    await s.e.caret(0, 0, 1);
    await s.e.call('insertHyperlink', 'one', 'http://a.org');
    await s.e.call('insertHyperlink', 'two', 'http://b.org');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'x'], ['linktext', 'one'], ['linkref', '1'], ['plain', ' '],
        ['linktext', 'two'], ['linkref', '2']],
      ['link', { level: 0 }, ['linkref', '1'], ['url', 'http://a.org']],
      ['link', { level: 0 }, ['linkref', '2'], ['url', 'http://b.org']],
    ]);
  });

  test('a link text put back before its old label replaces the old reference', async () => {
    await s.e.load(doc(para(['linktext', 'old'], ['linkref', '1'], ' end'), block('link', 0, ['linkref', '1'], ['url', 'http://a.org'])));
    await s.e.caret(0, 0, 3);
    await s.e.call('insertHyperlink', 'new', 'http://b.org');
    assert.deepEqual((await body())[0],
      ['para', { level: 0 }, ['linktext', 'old'], ['plain', ' '], ['linktext', 'new'], ['linkref', '2'], ['plain', ' end']]);
  });

  test('a selection is replaced by the link', async () => {
    await s.e.load(doc(para('click here please')));
    await s.e.select([0, 0, 6], [0, 0, 10]);
    await s.e.call('insertHyperlink', 'here', 'https://x.org');
    assert.deepEqual((await body())[0].slice(2),
      [['plain', 'click '], ['linktext', 'here'], ['linkref', '1'], ['plain', ' please']]);
  });

  test('on an image the link goes into a new paragraph after it; in Final into a new one', async () => {
    await s.e.load(doc(block('image', 0, ['url', 'a.png'])));
    await s.e.caret(0, 0, 0);
    await s.e.call('insertHyperlink', 'l', 'http://a.org');
    await s.e.caret(3, 0, 0);
    await s.e.call('insertHyperlink', 'm', 'http://b.org');
    assert.deepEqual((await body()).map((b) => b[0]), ['image', 'para', 'link', 'para', 'link']);
  });

  test('in a code block the link goes into a new paragraph after it, keeping the code plain', async () => {
    await s.e.load(doc(block('verbatim', 0, 'let x'), para('after')));
    await s.e.caret(0, 0, 3);
    await s.e.call('insertHyperlink', 'docs', 'http://a.org');
    assert.deepEqual(await body(), [
      ['verbatim', { level: 0 }, ['plain', 'let x']],
      ['para', { level: 0 }, ['linktext', 'docs'], ['linkref', '1']],
      ['link', { level: 0 }, ['linkref', '1'], ['url', 'http://a.org']],
      ['para', { level: 0 }, ['plain', 'after']],
    ]);
  });

  test('without a text the link shows its target; without a target nothing happens', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(0, 0, 1);
    await s.e.call('insertHyperlink', '', 'http://a.org');
    await s.e.call('insertHyperlink', 'text', '  ');
    assert.deepEqual((await body())[0].slice(2), [['plain', 'a'], ['linktext', 'http://a.org'], ['linkref', '1']]);
    assert.deepEqual(await s.e.hostCalls(), ['done']);
  });
});

describe('images', () => {
  test('an image replaces an empty paragraph, follows a full one, or goes before Final', async () => {
    await s.e.load(doc(para(''), para('text')));
    await s.e.caret(0, 0, 0);
    await s.e.call('insertImage', 'a.png');
    await s.e.caret(1, 0, 2);
    await s.e.call('insertImage', 'b.png');
    await s.e.caret(3, 0, 0);
    await s.e.call('insertImage', 'c.png');
    assert.deepEqual(await body(), [
      ['image', { level: 0 }, ['url', 'a.png']],
      ['para', { level: 0 }, ['plain', 'text']],
      ['image', { level: 0 }, ['url', 'b.png']],
      ['image', { level: 0 }, ['url', 'c.png']],
    ]);
  });

  test('the inserted image is selected and renders as an image', async () => {
    await s.e.load(doc(para('text')));
    await s.e.caret(0, 0, 1);
    await s.e.call('insertImage', 'pic.png');
    const state = await s.e.eval(() => ({
      url: editor.blocks[1].querySelector('img').getAttribute('url'),
      selected: window.getSelection().anchorNode.parentNode.className,
    }));
    assert.deepEqual(state, { url: 'pic.png', selected: 'ImageBorder' });
  });

  test('with the caret in a table cell, even an empty one, the image goes after the table', async () => {
    await s.e.load(doc(block('row', 1, ''), block('col', 2, 'b'), para('after')));
    await s.e.caret(0, 0, 0);
    await s.e.call('insertImage', 'x.png');
    assert.deepEqual((await body()).map((b) => b[0]), ['row', 'col', 'image', 'para']);
  });

  test('an empty path inserts nothing', async () => {
    await s.e.load(doc(para('a')));
    await s.e.caret(0, 0, 0);
    await s.e.call('insertImage', '   ');
    assert.equal((await body()).length, 1);
    assert.deepEqual(await s.e.hostCalls(), []);
  });
});
