import { test, describe, assert, doc, para, block, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const num = (level, text) => block('numbered', level, text);

const styleOf = (selector, property) => s.e.eval(([sel, p]) => getComputedStyle(document.querySelector(sel)).getPropertyValue(p), [selector, property]);

// What the style sheet draws in front of each block that shows a prefix: [block index, marker].
const renderedPrefixes = () => s.e.eval(() => Array.from(document.querySelectorAll('#doc span.Start'), (start, i) => {
  const prefix = start.parentNode.querySelector('.Prefix');
  return getComputedStyle(prefix).display === 'none' ? null : [i, JSON.parse(getComputedStyle(prefix, '::before').content)];
}).filter(Boolean));

describe('numbering and marks', () => stepCases(s, [
  ['a numbered item after a heading starts again at 1', doc(num(0, 'a'), num(0, 'b'), block('heading', -1, 'h'), num(0, 'c')),
    [[0, '1'], [1, '2'], [3, '1']]],
  ['a level-1 item after a level-2 run continues its own count', doc(num(0, 'a'), num(1, 'a1'), num(0, 'b')), [[0, '1'], [1, '1'], [2, '2']]],
  ['deeper lists restart under each item', doc(num(0, 'a'), num(1, 'a1'), num(1, 'a2'), num(0, 'b'), num(1, 'b1')),
    [[0, '1'], [1, '1'], [2, '2'], [3, '2'], [4, '1']]],
  ['a level-1 plain paragraph continues the count, a level-0 one restarts it',
    doc(num(0, 'a'), block('para', 1, 'inside'), num(0, 'b'), para('outside'), num(0, 'c')), [[0, '1'], [1, ' '], [2, '2'], [4, '1']]],
  ['bullets and note marks; no prefix at level 0 or on headings',
    doc(block('bulleted', 2, 'b'), block('note', 0, ['noteref', '1'], 'n'), para('p'), block('heading', -2, 'h')), [[0, '•'], [1, '▵']]],
].map(([name, model, prefixes]) => [name, model, [], prefixes]), renderedPrefixes));

test('a level-3 bullet sits 50 px right of a level-1 bullet, its text hanging at 75 px', async () => {
  await s.e.load(doc(block('bulleted', 0, 'one'), block('bulleted', 2, 'three')));
  const [one, three] = await s.e.eval(() => {
    const left = document.getElementById('doc').getBoundingClientRect().left + 20;
    return Array.from(document.querySelectorAll('#doc span.Start'), (b) => b.parentNode).slice(0, 2)
      .map((b) => [b.childNodes[1].getBoundingClientRect().left - left, b.childNodes[2].getBoundingClientRect().left - left].map(Math.round));
  });
  assert.deepEqual([three[0] - one[0], three[1], one[1]], [50, 75, 25]);
});

describe('look of blocks and spans', () => {
  stepCases(s, [
    ['in navigation mode addresses show a pointer', doc(para(['url', 'http://x'])), ['enterNavigationMode'], 'pointer'],
    ['out of navigation mode addresses show a text cursor', doc(para(['url', 'http://x'])), ['enterNavigationMode', 'leaveNavigationMode'],
      'text'],
  ], () => styleOf('span.Url', 'cursor'));

  test('a theme placed after the fixed sheet overrides it', async () => {
    await s.e.run(doc(para('x')), ['setThemeCss', '.editor div { color: rgb(200, 0, 0); }']);
    assert.equal(await styleOf('#doc div', 'color'), 'rgb(200, 0, 0)');
    await s.e.call('setThemeCss', '');
  });

  test('in print the page is black on transparent at 80 % with no width limit', async () => {
    await s.e.load(doc(block('heading', -3, 'title'), block('comment', 0, 'c')));
    await s.e.page.emulateMedia({ media: 'print' });
    const seen = await Promise.all([['div.Heading', 'color'], ['div.Comment', 'background-color'], ['#doc', 'max-width'],
      ['#doc', 'padding-left'], ['body', 'zoom']].map(([selector, property]) => styleOf(selector, property)));
    await s.e.page.emulateMedia({ media: 'screen' });
    assert.deepEqual(seen, ['rgb(0, 0, 0)', 'rgba(0, 0, 0, 0)', 'none', '0px', '0.8']);
  });
});
