import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const body = async () => (await s.e.model()).slice(1);
const note = (label, ...spans) => block('note', 0, ['noteref', label], ...spans);
const link = (label, url) => block('link', 0, ['linkref', label], ['url', url]);
const img = (url) => block('image', 0, ['url', url]);
const ref = (label) => ['noteref', label];

function check(cases) {
  for (const [name, model, steps, expected, caret, hostCalls] of cases) {
    test(name, async () => {
      assert.deepEqual(await s.e.run(model, ...steps), expected);
      if (caret) assert.deepEqual(await s.e.caretAt(), caret);
      if (hostCalls) assert.deepEqual(await s.e.hostCalls(), hostCalls);
    });
  }
}

describe('footnotes', () => {
  check([
    ['two selected words move into a new note labelled 1 after the paragraph', doc(para('keep these words here'), para('next')),
      [[[0, 0, 5], [0, 0, 16]], 'insertFootnote'], doc(para('keep ', ref('1'), ' here'), note('1', 'these words'), para('next')), [1, 1, 11]],
    ['inside a code block or on an image nothing happens', doc(block('verbatim', 0, 'code'), img('a.png')),
      [[0, 0, 2], 'insertFootnote', [1, 0, 0], 'insertFootnote'], doc(block('verbatim', 0, 'code'), img('a.png')), null, []],
    ['with the caret in Final the reference goes into a new paragraph', doc(para('a')), [[1, 0, 0], 'insertFootnote'],
      doc(para('a'), para(ref('1')), note('1'))],
    ['a caret inside a label never splits it, and labels never touch', doc(para('x', ref('12'), 'y')), [[0, 1, 1], 'insertFootnote'],
      doc(para('x', ref('12'), ' ', ref('1'), 'y'), note('1'))],
    ['a footnote just before a label stays apart from it', doc(para('x', ref('7'))), [[0, 1, 0], 'insertFootnote'],
      doc(para('x', ref('1'), ' ', ref('7')), note('1'))],
  ]);

  test('a second footnote in the paragraph gets label 2 and follows the first note', async () => {
    await s.e.run(doc(para('one two'), para('next')), [0, 0, 3], 'insertFootnote');
    await s.e.type('first');
    await s.e.steps([0, 2, 4], 'insertFootnote');
    await s.e.type('second');
    assert.deepEqual(await s.e.model(), doc(para('one', ref('1'), ' two', ref('2')), note('1', 'first'), note('2', 'second'), para('next')));
  });

  test('a reference in a table cell gets its note after the table, one just above a table before it', async () => {
    const tags = async (...steps) => (await s.e.run(...steps)).slice(1).map((b) => b[0]);
    assert.deepEqual(await tags(doc(block('row', 1, 'a'), block('col', 2, 'b'), para('after')), [0, 0, 1], 'insertFootnote'),
      ['row', 'col', 'note', 'para']);
    assert.deepEqual(await tags(doc(para('above'), block('row', 1, 'a'), block('col', 2, 'b')), [0, 0, 5], 'insertFootnote'),
      ['para', 'note', 'row', 'col']);
  });
});

describe('following links', () => {
  test('a reference goes to the start of its note\'s text, a link label to its definition', async () => {
    await s.e.run(doc(para('a', ['noteref', 'n']), para('b'), note('n', 'text')), [0, 1, 1], 'followLink');
    assert.deepEqual(await s.e.caretAt(), [2, 1, 0]);
    await s.e.run(doc(para(['linktext', 'site'], ['linkref', 'L']), link('L', 'http://a.org')), [0, 1, 0], 'followLink');
    assert.deepEqual(await s.e.caretAt(), [1, 1, 0]);
    assert.deepEqual(await s.e.hostCalls(), []);
  });

  test('a note whose label follows an empty span is still found, not made again', async () => {
    await s.e.load(doc(para('a', ['noteref', 'n']), block('note', 0, ['noteref', 'n'], 'text')));
    await s.e.eval(() => editor.setBlockSpans(1, [
      { Type: 'Plain', Text: '' }, { Type: 'NoteRef', Text: 'n' }, { Type: 'Plain', Text: 'text' }]));
    await s.e.steps([0, 1, 1], 'followLink');
    assert.equal((await body()).length, 2);
    assert.equal((await s.e.caretAt())[0], 1);
  });

  test('a reference whose note was deleted gets a new empty note', async () => {
    await s.e.run(doc(para('a', ['noteref', ' 5 ']), para('b')), [0, 1, 1], 'followLink');
    assert.deepEqual((await body())[1], ['note', { level: 0 }, ['noteref', '5']]);
    assert.deepEqual(await s.e.caretAt(), [1, 1, 0]);
    assert.deepEqual(await s.e.hostCalls(), ['done']);
  });

  const follow = async (url) => {
    await s.e.run(doc(para('x ', ['url', url])), [0, 1, 1], 'followLink');
    return s.e.hostCalls();
  };

  test('only a text that starts with an allowed scheme opens as a URL; anything else as a file', async () => {
    for (const url of ['http://example.org/a?b=c', 'FTP://host/file', 'mailto:a@b.org', 'file:///tmp/a.txt']) {
      assert.deepEqual(await follow(url), ['url:' + url]);
    }
    const others = ['images/a.png', 'http:/x', 'xhttp://a.b', 'see FTP://host/file', 'javascript:alert(1)//http://a.b',
      'smb://host/share http://x.y', 'mailto: a@b'];
    for (const path of others) assert.deepEqual(await follow(path), ['file:' + path]);
  });

  test('the URL of a link definition and of an image open too', async () => {
    await s.e.load(doc(block('link', 0, ['linkref', '1'], ['url', 'https://a.org']), block('image', 0, ['url', 'pics/b.png'])), [0, 1, 2]);
    await s.e.steps('followLink', [1, 0, 0], 'followLink');
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
    await s.e.run(doc(para('go ', ['url', 'https://x.org'])), 'enterNavigationMode');
    await s.e.page.click('.Url');
    await s.e.call('leaveNavigationMode');
    assert.deepEqual(await s.e.hostCalls(), ['url:https://x.org']);
  });
});

describe('hyperlinks', () => {
  const linked = (text, label) => [['linktext', text], ['linkref', label]];
  check([
    ['a link with a numbered definition after the paragraph, caret after it', doc(para('see  now')),
      [[0, 0, 4], ['insertHyperlink', 'the site', 'http://example.org']],
      doc(para('see ', ...linked('the site', '1'), ' now'), link('1', 'http://example.org')), [0, 3, 0]],
    ['two links inserted one after the other are apart and numbered in turn', doc(para('x')),
      [[0, 0, 1], ['insertHyperlink', 'one', 'http://a.org'], ['insertHyperlink', 'two', 'http://b.org']],
      doc(para('x', ...linked('one', '1'), ' ', ...linked('two', '2')), link('1', 'http://a.org'), link('2', 'http://b.org'))],
    ['in a code block the link goes into a new paragraph after it, keeping the code plain', doc(block('verbatim', 0, 'let x'), para('after')),
      [[0, 0, 3], ['insertHyperlink', 'docs', 'http://a.org']],
      doc(block('verbatim', 0, 'let x'), para(...linked('docs', '1')), link('1', 'http://a.org'), para('after'))],
    ['without a text the link shows its target; without a target nothing happens', doc(para('a')),
      [[0, 0, 1], ['insertHyperlink', '', 'http://a.org'], ['insertHyperlink', 'text', '  ']],
      doc(para('a', ...linked('http://a.org', '1')), link('1', 'http://a.org')), null, ['done']],
  ]);

  test('a link text put back before its old label replaces the old reference', async () => {
    const model = await s.e.run(doc(para(...linked('old', '1'), ' end'), link('1', 'http://a.org')), [0, 0, 3],
      ['insertHyperlink', 'new', 'http://b.org']);
    assert.deepEqual(model[1], para(['linktext', 'old'], ' ', ...linked('new', '2'), ' end'));
  });

  test('on an image the link goes into a new paragraph after it; in Final into a new one', async () => {
    const model = await s.e.run(doc(img('a.png')), [0, 0, 0], ['insertHyperlink', 'l', 'http://a.org'], [3, 0, 0], ['insertHyperlink', 'm', 'http://b.org']);
    assert.deepEqual(model.slice(1).map((b) => b[0]), ['image', 'para', 'link', 'para', 'link']);
  });
});

describe('images', () => {
  check([
    ['an image replaces an empty paragraph, follows a full one, or goes before Final', doc(para(''), para('text')),
      [[0, 0, 0], ['insertImage', 'a.png'], [1, 0, 2], ['insertImage', 'b.png'], [3, 0, 0], ['insertImage', 'c.png']],
      doc(img('a.png'), para('text'), img('b.png'), img('c.png'))],
    ['with the caret in a table cell, even an empty one, the image goes after the table',
      doc(['row', { level: 1 }], block('col', 2, 'b'), para('after')), [[0, 0, 0], ['insertImage', 'x.png']],
      doc(['row', { level: 1 }], block('col', 2, 'b'), img('x.png'), para('after'))],
    ['an empty path inserts nothing', doc(para('a')), [[0, 0, 0], ['insertImage', '   ']], doc(para('a')), null, []],
  ]);

  test('the inserted image is selected and renders as an image', async () => {
    await s.e.run(doc(para('text')), [0, 0, 1], ['insertImage', 'pic.png']);
    const state = await s.e.eval(() => ({
      url: editor.blocks[1].querySelector('img').getAttribute('url'),
      selected: window.getSelection().anchorNode.parentNode.className,
    }));
    assert.deepEqual(state, { url: 'pic.png', selected: 'ImageBorder' });
  });
});
