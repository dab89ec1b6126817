import { test, describe, assert, doc, para, block, empty, img, row, col, IMAGE, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const note = (label, ...spans) => block('note', 0, ['noteref', label], ...spans);
const link = (label, url) => block('link', 0, ['linkref', label], ['url', url]);
const ref = (label) => ['noteref', label];
const linked = (text, label) => [['linktext', text], ['linkref', label]];
const kinds = async (e) => (await e.model()).slice(1).map((b) => b[0]);

describe('footnotes', () => stepCases(s, [
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
  ['a second footnote in the paragraph gets label 2 and its note follows the first note', doc(para('one', ref('1'), ' two'), note('1', 'first')),
    [[0, 2, 4], 'insertFootnote'], doc(para('one', ref('1'), ' two', ref('2')), note('1', 'first'), note('2'))],
  ['a reference in a table cell gets its note after the table', doc(row('a'), col('b'), para('after')), [[0, 0, 1], 'insertFootnote'],
    ['row', 'col', 'note', 'para'], null, null, kinds],
  ['a reference just above a table gets its note before the table', doc(para('above'), row('a'), col('b')), [[0, 0, 5], 'insertFootnote'],
    ['para', 'note', 'row', 'col'], null, null, kinds],
]));

describe('following links', () => {
  stepCases(s, [
    ['a reference goes to the start of its note\'s text', doc(para('a', ['noteref', 'n']), para('b'), note('n', 'text')), [[0, 1, 1], 'followLink'],
      doc(para('a', ['noteref', 'n']), para('b'), note('n', 'text')), [2, 1, 0], []],
    ['a link label goes to its definition', doc(para(...linked('site', 'L')), link('L', 'http://a.org')), [[0, 1, 0], 'followLink'],
      doc(para(...linked('site', 'L')), link('L', 'http://a.org')), [1, 1, 0], []],
    ['a reference whose note was deleted gets a new empty note', doc(para('a', ['noteref', ' 5 ']), para('b')), [[0, 1, 1], 'followLink'],
      doc(para('a', ['noteref', ' 5 ']), note('5'), para('b')), [1, 1, 0], ['done']],
    ['the URL of a link definition and of an image open too', doc(link('1', 'https://a.org'), img('pics/b.png')),
      [[0, 1, 2], 'followLink', [1, 0, 0], 'followLink'], doc(note('1', ['url', 'https://a.org']), img('pics/b.png')), null,
      ['url:https://a.org', 'file:pics/b.png']],
    ['plain text, an empty URL and an empty label do nothing', doc(para('text ', ['url', '  '], ' ', ['noteref', ' '])),
      [[0, 0, 1], 'followLink', [0, 1, 1], 'followLink', [0, 3, 1], 'followLink'], doc(para('text ', ['url', '  '], ' ', ['noteref', ' '])), null, []],
    ['a click in navigation mode follows the link under the mouse', doc(para('go ', ['url', 'https://x.org'])),
      ['enterNavigationMode', { click: '.Url' }, 'leaveNavigationMode'], doc(para('go ', ['url', 'https://x.org'])), null, ['url:https://x.org']],
  ]);

  // Internal: a note whose spans start with an empty one cannot be loaded, only made by edits.
  test('a note whose label follows an empty span is still found, not made again', async () => {
    await s.e.load(doc(para('a', ['noteref', 'n']), note('n', 'text')));
    await s.e.eval(() => editor.setBlockSpans(1, [{ Type: 'Plain', Text: '' }, { Type: 'NoteRef', Text: 'n' }, { Type: 'Plain', Text: 'text' }]));
    assert.equal((await s.e.steps([0, 1, 1], 'followLink')).length, 3);
    assert.equal((await s.e.caretAt())[0], 1);
  });

  // Only a text that starts with an allowed scheme opens as a URL; anything else as a file.
  const opens = (text, as) => [`"${text}" opens as a ${as}`, doc(para('x ', ['url', text])), [[0, 1, 1], 'followLink'],
    [(as === 'URL' ? 'url:' : 'file:') + text], null, null, (e) => e.hostCalls()];
  stepCases(s, [...['http://example.org/a?b=c', 'FTP://host/file', 'mailto:a@b.org', 'file:///tmp/a.txt'].map((u) => opens(u, 'URL')),
    ...['images/a.png', 'http:/x', 'xhttp://a.b', 'see FTP://host/file', 'javascript:alert(1)//http://a.b', 'smb://host/share http://x.y',
      'mailto: a@b'].map((f) => opens(f, 'file'))]);
});

describe('hyperlinks', () => stepCases(s, [
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
  ['a link text put back before its old label replaces the old reference', doc(para(...linked('old', '1'), ' end'), link('1', 'http://a.org')),
    [[0, 0, 3], ['insertHyperlink', 'new', 'http://b.org']],
    doc(para(['linktext', 'old'], ' ', ...linked('new', '2'), ' end'), note('1', ['url', 'http://a.org']), link('2', 'http://b.org'))],
  ['on an image the link goes into a new paragraph after it; in Final into a new one', doc(img('a.png')),
    [[0, 0, 0], ['insertHyperlink', 'l', 'http://a.org'], [3, 0, 0], ['insertHyperlink', 'm', 'http://b.org']],
    ['image', 'para', 'link', 'para', 'link'], null, null, kinds],
]));

describe('a link text with code and emphasis', () => {
  const styled = (code) => doc(para('see ', ['linktext', 'the '], ['linkcode', code], ['linkemph', 'new'], ['url', 'http://a.org'], ' end'));
  test('typing inside its code part keeps the run, undo brings it back, and every part follows the link', async () => {
    await s.e.run(styled('f()'), [0, 2, 1], { text: 'oo' });
    assert.deepEqual(await s.e.model(), styled('foo()'));
    await s.e.steps('undo');
    assert.deepEqual(await s.e.model(), styled('f()'));
    await s.e.steps([0, 2, 1], 'followLink', [0, 3, 1], 'followLink');
    assert.deepEqual(await s.e.hostCalls(), ['done', 'done', 'undone', 'url:http://a.org', 'url:http://a.org']);
    // Word styles inside the link keep the word in it.
    await s.e.steps([0, 1, 1], 'styleWordStrong', [0, 4, 1], 'styleWordEmphasis');
    assert.deepEqual(await s.e.model(), doc(para('see ', ['linkstrong', 'the'], ['linktext', ' '], ['linkcode', 'f()'], ['linktext', 'new'],
      ['url', 'http://a.org'], ' end')));
  });
});

describe('a link standing whole in emphasis or strong emphasis', () => {
  const outer = (text) => doc(para(['emph', 'see '], ['linktext', text], ['emphlinkref', '1'], ['emph', ' more '], ['strongemphurl', 'http://b.org']),
    link('1', 'http://a.org'));
  test('shows in its styles and keeps them through typing in its text and undo', async () => {
    await s.e.run(outer('deps'), [0, 1, 2], { text: 'x' });
    assert.deepEqual(await s.e.model(), outer('dexps'));
    await s.e.steps('undo');
    assert.deepEqual(await s.e.model(), outer('deps'));
    const shown = await s.e.page.evaluate(() => Array.from(document.querySelectorAll('#doc span.LinkText, #doc span.Url'),
      (span) => [getComputedStyle(span).fontStyle, getComputedStyle(span).fontWeight]));
    assert.deepEqual(shown, [['italic', '400'], ['italic', '700'], ['normal', '400']]);
    // Emphasis and strong emphasis over a whole link go to and from the link as a whole.
    await s.e.steps([[0, 0, 0], [0, 3, 5]], 'styleWordEmphasis', 'styleWordStrong');
    assert.deepEqual(await s.e.model(), doc(para(['strong', 'see '], ['linktext', 'deps'], ['stronglinkref', '1'], ['strong', ' more'], ['emph', ' '],
      ['strongemphurl', 'http://b.org']),
      link('1', 'http://a.org')));
  });
});

describe('pictures in a link\'s text', () => {
  const badges = (alt) => para(['linkimage', alt], ['linkimageurl', 'http://127.0.0.1:9/a.svg'], ['linkimagetitle', 'T'],
    ['linkimage', ''], ['linkimageurl', 'b.svg'], ['linktext', ' ci'], ['url', 'http://a.org'], ' end');
  test('keep their sources through typing in a description, undo and copy, are never loaded, and follow the link', async () => {
    const asked = [];
    const ask = (request) => asked.push(request.url());
    s.e.page.on('request', ask);
    await s.e.run(doc(badges('build')), [0, 0, 5], { text: ' ok' });
    assert.deepEqual(await s.e.model(), doc(badges('build ok')));
    await s.e.steps('undo');
    assert.deepEqual(await s.e.model(), doc(badges('build')));
    await s.e.steps([[0, 0, 0], [0, 5, 4]]);
    assert.deepEqual(JSON.parse(await s.e.call('copy')), ['inline', badges('build')]);
    await s.e.steps([0, 2, 0], 'followLink');
    assert.deepEqual(await s.e.hostCalls(), ['done', 'done', 'done', 'undone', 'url:http://a.org']);
    s.e.page.off('request', ask);
    assert.deepEqual(asked.filter((url) => url.endsWith('.svg')), []);
  });
  test('stay two, each with its source, when the text between them is deleted, in a link\'s text or in running text', async () => {
    for (const [between, target] of [[['linktext', ' '], [['url', 'http://u']]], [' ', []]]) {
      const two = (...mid) => doc(para(['linkimage', 'a'], ['linkimageurl', 'x.svg'], ...mid, ['linkimage', 'b'], ['linkimageurl', 'y.svg'], ...target));
      assert.deepEqual(await s.e.run(two(between), [[0, 1, 0], [0, 1, 1]], 'deleteBackward'), two());
    }
  });
});

describe('images', () => stepCases(s, [
  ['an image replaces an empty paragraph, follows a full one or goes before Final, selected',
    doc(empty('para'), para('text')),
    [[0, 0, 0], ['insertImage', 'a.png'], [1, 0, 2], ['insertImage', 'b.png'], [3, 0, 0], ['insertImage', 'c.png']],
    doc(img('a.png'), para('text'), img('b.png'), img('c.png')), IMAGE],
  ['with the caret in a table cell, even an empty one, the image goes after the table', doc(empty('row', 1), col('b'), para('after')),
    [[0, 0, 0], ['insertImage', 'x.png']], doc(empty('row', 1), col('b'), img('x.png'), para('after'))],
  ['an empty path inserts nothing', doc(para('a')), [[0, 0, 0], ['insertImage', '   ']], doc(para('a')), null, []],
]));
