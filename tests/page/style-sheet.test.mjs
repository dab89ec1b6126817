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
  ['a numbered item after a heading starts again at 1; deeper lists restart under each item',
    doc(num(0, 'a'), num(1, 'a1'), num(1, 'a2'), num(0, 'b'), block('heading', -1, 'h'), num(0, 'c')),
    [[0, '1'], [1, '1'], [2, '2'], [3, '2'], [5, '1']]],
  ['a level-1 plain paragraph continues the count, a level-0 one restarts it',
    doc(num(0, 'a'), block('para', 1, 'inside'), num(0, 'b'), para('outside'), num(0, 'c')), [[0, '1'], [1, ' '], [2, '2'], [4, '1']]],
  ['bullets and note marks; no prefix at level 0 or on headings',
    doc(block('bulleted', 2, 'b'), block('note', 0, ['noteref', '1'], 'n'), para('p'), block('heading', -2, 'h')), [[0, '•'], [1, '▵']]],
].map(([name, model, prefixes]) => [name, model, [], prefixes]), renderedPrefixes));

test('a theme placed after the fixed sheet overrides it', async () => {
  await s.e.run(doc(para('x')), ['setThemeCss', '.editor div { color: rgb(200, 0, 0); }']);
  assert.equal(await styleOf('#doc div', 'color'), 'rgb(200, 0, 0)');
  await s.e.call('setThemeCss', '');
});
