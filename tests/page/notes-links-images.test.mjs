// Footnotes, hyperlinks, following references and URLs, and image paragraphs.
import { test, describe, before, after, beforeEach } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, openEditor, doc, para, block } from './harness.mjs';

let browser;
let e;
before(async () => {
  browser = await launchBrowser();
  e = await openEditor(browser);
});
after(async () => browser && browser.close());
beforeEach(() => { e.errors.length = 0; });

const body = async () => (await e.model()).slice(1);

describe('footnotes', () => {
  test('two selected words move into a new note labelled 1 after the paragraph', async () => {
    await e.load(doc(para('keep these words here'), para('next')));
    await e.select([0, 0, 5], [0, 0, 16]);
    await e.call('insertFootnote');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'keep '], ['noteref', '1'], ['plain', ' here']],
      ['note', { level: 0 }, ['noteref', '1'], ['plain', 'these words']],
      ['para', { level: 0 }, ['plain', 'next']],
    ]);
    assert.deepEqual(await e.caretAt(), [1, 1, 11]);
  });

  test('a second footnote in the paragraph gets label 2 and follows the first note', async () => {
    await e.load(doc(para('one two'), para('next')));
    await e.caret(0, 0, 3);
    await e.call('insertFootnote');
    await e.type('first');
    await e.caret(0, 2, 4);
    await e.call('insertFootnote');
    await e.type('second');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'one'], ['noteref', '1'], ['plain', ' two'], ['noteref', '2']],
      ['note', { level: 0 }, ['noteref', '1'], ['plain', 'first']],
      ['note', { level: 0 }, ['noteref', '2'], ['plain', 'second']],
      ['para', { level: 0 }, ['plain', 'next']],
    ]);
  });

  test('a footnote is one undo step', async () => {
    await e.load(doc(para('text')));
    await e.caret(0, 0, 4);
    await e.call('insertFootnote');
    assert.deepEqual(await e.hostCalls(), ['done']);
    await e.call('undo');
    assert.deepEqual(await body(), [['para', { level: 0 }, ['plain', 'text']]]);
  });

  test('inside a code block or on an image nothing happens', async () => {
    await e.load(doc(block('verbatim', 0, 'code'), block('image', 0, ['url', 'a.png'])));
    await e.caret(0, 0, 2);
    await e.call('insertFootnote');
    await e.caret(1, 0, 0);
    await e.call('insertFootnote');
    assert.equal((await body()).length, 2);
    assert.deepEqual(await e.hostCalls(), []);
  });

  test('a reference in a table cell gets its note after the table', async () => {
    await e.load(doc(block('row', 1, 'a'), block('col', 2, 'b'), para('after')));
    await e.caret(0, 0, 1);
    await e.call('insertFootnote');
    const tags = (await body()).map((b) => b[0]);
    assert.deepEqual(tags, ['row', 'col', 'note', 'para']);
  });

  test('with the caret in Final the reference goes into a new paragraph', async () => {
    await e.load(doc(para('a')));
    await e.caret(1, 0, 0);
    await e.call('insertFootnote');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'a']],
      ['para', { level: 0 }, ['noteref', '1']],
      ['note', { level: 0 }, ['noteref', '1']],
    ]);
  });

  test('a caret inside a label never splits it, and labels never touch', async () => {
    await e.load(doc(para('x', ['noteref', '12'], 'y')));
    await e.caret(0, 1, 1);
    await e.call('insertFootnote');
    assert.deepEqual((await body())[0],
      ['para', { level: 0 }, ['plain', 'x'], ['noteref', '12'], ['plain', ' '], ['noteref', '1'], ['plain', 'y']]);
  });

  test('a footnote just before a label stays apart from it', async () => {
    await e.load(doc(para('x', ['noteref', '7'])));
    await e.caret(0, 1, 0);
    await e.call('insertFootnote');
    assert.deepEqual((await body())[0],
      ['para', { level: 0 }, ['plain', 'x'], ['noteref', '1'], ['plain', ' '], ['noteref', '7']]);
  });
});

describe('following links', () => {
  test('a reference goes to the start of its note\'s text', async () => {
    await e.load(doc(para('a', ['noteref', 'n']), para('b'), block('note', 0, ['noteref', 'n'], 'text')));
    await e.caret(0, 1, 1);
    await e.call('followLink');
    assert.deepEqual(await e.caretAt(), [2, 1, 0]);
    assert.deepEqual(await e.hostCalls(), []);
  });

  test('a reference whose note was deleted gets a new empty note', async () => {
    await e.load(doc(para('a', ['noteref', ' 5 ']), para('b')));
    await e.caret(0, 1, 1);
    await e.call('followLink');
    assert.deepEqual((await body())[1], ['note', { level: 0 }, ['noteref', '5']]);
    assert.deepEqual(await e.caretAt(), [1, 1, 0]);
    assert.deepEqual(await e.hostCalls(), ['done']);
  });

  test('a link label goes to the link definition', async () => {
    await e.load(doc(para(['linktext', 'site'], ['linkref', 'L']), block('link', 0, ['linkref', 'L'], ['url', 'http://a.org'])));
    await e.caret(0, 1, 0);
    await e.call('followLink');
    assert.deepEqual(await e.caretAt(), [1, 1, 0]);
  });

  const follow = async (url) => {
    await e.load(doc(para('x ', ['url', url])));
    await e.caret(0, 1, 1);
    await e.call('followLink');
    return e.hostCalls();
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
    await e.load(doc(block('link', 0, ['linkref', '1'], ['url', 'https://a.org']), block('image', 0, ['url', 'pics/b.png'])));
    await e.caret(0, 1, 2);
    await e.call('followLink');
    await e.caret(1, 0, 0);
    await e.call('followLink');
    assert.deepEqual(await e.hostCalls(), ['url:https://a.org', 'file:pics/b.png']);
  });

  test('plain text, an empty URL and an empty label do nothing', async () => {
    await e.load(doc(para('text ', ['url', '  '], ' ', ['noteref', ' '])));
    for (const span of [0, 1, 3]) {
      await e.caret(0, span, 1);
      await e.call('followLink');
    }
    assert.equal((await body()).length, 1);
    assert.deepEqual(await e.hostCalls(), []);
  });

  test('a click in navigation mode follows the link under the mouse', async () => {
    await e.load(doc(para('go ', ['url', 'https://x.org'])));
    await e.call('enterNavigationMode');
    await e.page.click('.Url');
    await e.call('leaveNavigationMode');
    assert.deepEqual(await e.hostCalls(), ['url:https://x.org']);
  });
});

describe('hyperlinks', () => {
  test('a link with a numbered definition after the paragraph, caret after it', async () => {
    await e.load(doc(para('see  now')));
    await e.caret(0, 0, 4);
    await e.call('insertHyperlink', 'the site', 'http://example.org');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'see '], ['linktext', 'the site'], ['linkref', '1'], ['plain', ' now']],
      ['link', { level: 0 }, ['linkref', '1'], ['url', 'http://example.org']],
    ]);
    assert.deepEqual(await e.caretAt(), [0, 3, 0]);
  });

  test('two links inserted one after the other are apart and numbered in turn', async () => {
    await e.load(doc(para('x')));
    await e.caret(0, 0, 1);
    await e.call('insertHyperlink', 'one', 'http://a.org');
    await e.call('insertHyperlink', 'two', 'http://b.org');
    assert.deepEqual(await body(), [
      ['para', { level: 0 }, ['plain', 'x'], ['linktext', 'one'], ['linkref', '1'], ['plain', ' '],
        ['linktext', 'two'], ['linkref', '2']],
      ['link', { level: 0 }, ['linkref', '1'], ['url', 'http://a.org']],
      ['link', { level: 0 }, ['linkref', '2'], ['url', 'http://b.org']],
    ]);
  });

  test('a link text put back before its old label replaces the old reference', async () => {
    await e.load(doc(para(['linktext', 'old'], ['linkref', '1'], ' end'), block('link', 0, ['linkref', '1'], ['url', 'http://a.org'])));
    await e.caret(0, 0, 3);
    await e.call('insertHyperlink', 'new', 'http://b.org');
    assert.deepEqual((await body())[0],
      ['para', { level: 0 }, ['linktext', 'old'], ['plain', ' '], ['linktext', 'new'], ['linkref', '2'], ['plain', ' end']]);
  });

  test('a selection is replaced by the link', async () => {
    await e.load(doc(para('click here please')));
    await e.select([0, 0, 6], [0, 0, 10]);
    await e.call('insertHyperlink', 'here', 'https://x.org');
    assert.deepEqual((await body())[0].slice(2),
      [['plain', 'click '], ['linktext', 'here'], ['linkref', '1'], ['plain', ' please']]);
  });

  test('on an image the link goes into a new paragraph after it; in Final into a new one', async () => {
    await e.load(doc(block('image', 0, ['url', 'a.png'])));
    await e.caret(0, 0, 0);
    await e.call('insertHyperlink', 'l', 'http://a.org');
    await e.caret(3, 0, 0);
    await e.call('insertHyperlink', 'm', 'http://b.org');
    assert.deepEqual((await body()).map((b) => b[0]), ['image', 'para', 'link', 'para', 'link']);
  });

  test('in a code block the link goes into a new paragraph after it, keeping the code plain', async () => {
    await e.load(doc(block('verbatim', 0, 'let x'), para('after')));
    await e.caret(0, 0, 3);
    await e.call('insertHyperlink', 'docs', 'http://a.org');
    assert.deepEqual(await body(), [
      ['verbatim', { level: 0 }, ['plain', 'let x']],
      ['para', { level: 0 }, ['linktext', 'docs'], ['linkref', '1']],
      ['link', { level: 0 }, ['linkref', '1'], ['url', 'http://a.org']],
      ['para', { level: 0 }, ['plain', 'after']],
    ]);
  });

  test('without a text the link shows its target; without a target nothing happens', async () => {
    await e.load(doc(para('a')));
    await e.caret(0, 0, 1);
    await e.call('insertHyperlink', '', 'http://a.org');
    await e.call('insertHyperlink', 'text', '  ');
    assert.deepEqual((await body())[0].slice(2), [['plain', 'a'], ['linktext', 'http://a.org'], ['linkref', '1']]);
    assert.deepEqual(await e.hostCalls(), ['done']);
  });
});

describe('images', () => {
  test('an image replaces an empty paragraph, follows a full one, or goes before Final', async () => {
    await e.load(doc(para(''), para('text')));
    await e.caret(0, 0, 0);
    await e.call('insertImage', 'a.png');
    await e.caret(1, 0, 2);
    await e.call('insertImage', 'b.png');
    await e.caret(3, 0, 0);
    await e.call('insertImage', 'c.png');
    assert.deepEqual(await body(), [
      ['image', { level: 0 }, ['url', 'a.png']],
      ['para', { level: 0 }, ['plain', 'text']],
      ['image', { level: 0 }, ['url', 'b.png']],
      ['image', { level: 0 }, ['url', 'c.png']],
    ]);
  });

  test('the inserted image is selected and renders as an image', async () => {
    await e.load(doc(para('text')));
    await e.caret(0, 0, 1);
    await e.call('insertImage', 'pic.png');
    const state = await e.eval(() => ({
      url: editor.blocks[1].querySelector('img').getAttribute('url'),
      selected: window.getSelection().anchorNode.parentNode.className,
    }));
    assert.deepEqual(state, { url: 'pic.png', selected: 'ImageBorder' });
  });

  test('with the caret in a table cell, even an empty one, the image goes after the table', async () => {
    await e.load(doc(block('row', 1, ''), block('col', 2, 'b'), para('after')));
    await e.caret(0, 0, 0);
    await e.call('insertImage', 'x.png');
    assert.deepEqual((await body()).map((b) => b[0]), ['row', 'col', 'image', 'para']);
  });

  test('an empty path inserts nothing', async () => {
    await e.load(doc(para('a')));
    await e.caret(0, 0, 0);
    await e.call('insertImage', '   ');
    assert.equal((await body()).length, 1);
    assert.deepEqual(await e.hostCalls(), []);
  });
});
