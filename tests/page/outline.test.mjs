import { test, assert, doc, para, block, row, col, typed, useEditor } from './harness.mjs';

const s = useEditor();
const h = (level, text) => block('heading', level - 4, text);
const outline = async () => JSON.parse(await s.e.call('getOutline'));
const model = doc(para('intro'), h(1, 'One'), para('a'), h(2, 'One.one'), row('cell'), col('x'), h(6, 'Deep'), para('b'), h(1, 'Two'));
const headings = [[1, 0, 'One'], [3, 1, 'One.one'], [6, 5, 'Deep'], [8, 0, 'Two']];

test('headings with their blocks, levels and texts, and the heading the caret is under', async () => {
  for (const [caret, current] of [[[0, 0, 2], -1], [[1, 0, 0], 0], [[5, 0, 1], 1], [[7, 0, 1], 2], [[8, 0, 3], 3]]) {
    await s.e.load(model, caret);
    assert.deepEqual(await outline(), { headings, current }, JSON.stringify(caret));
  }
});

test('the outline follows typing, commands, undo and loading', async () => {
  await s.e.run(model, [1, 0, 3], typed('!'), [2, 0, 0], 'styleParagraphHeading4');
  assert.deepEqual(await outline(), { headings: [[1, 0, 'One!'], [2, 3, 'a'], [3, 1, 'One.one'], ...headings.slice(2)], current: 1 });
  await s.e.steps('undo', 'undo');
  assert.deepEqual((await outline()).headings, headings);
  await s.e.load(doc(para('none')));
  assert.deepEqual(await outline(), { headings: [], current: -1 });
});

test('going to a heading puts the caret at its start and shows it at the top', async () => {
  const filler = Array.from({ length: 200 }, (_, i) => para('filler ' + i));
  await s.e.run(doc(...filler, h(1, 'Far'), ...filler), ['goToBlock', 200]);
  assert.deepEqual(await s.e.selection(), { anchor: [200, 0, 0], focus: [200, 0, 0] });
  const top = await s.e.eval(() => document.querySelectorAll('#doc span.Start')[200].parentNode.getBoundingClientRect().top);
  assert.ok(top >= 0 && top < 50, `heading at ${top}px from the top`);
  assert.equal((await outline()).current, 0);
});
