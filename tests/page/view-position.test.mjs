import { test, assert, doc, para, useEditor } from './harness.mjs';

const s = useEditor();
const paragraphs = (count, first) => doc(para(first), ...Array.from({ length: count - 1 }, (_, i) => para(`Paragraph ${i} `.repeat(8))));
const settled = () => s.e.eval(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
const scrollTop = () => s.e.eval(() => document.body.scrollTop);
const position = async () => JSON.parse(await s.e.call('getViewPosition'));

for (const [name, zoom, scroll] of [
  ['the caret block and about the same scroll offset come back after the document is loaded again', '', () => {
    editor.setCaret(Point(200, 0, 3));
    scrollToSelection();
    document.body.scrollTop += 250;
  }],
  ['the place comes back at another zoom', '150%', () => { document.body.scrollTop = 9000; }],
]) {
  test(name, async () => {
    await s.e.load(paragraphs(300, 'Before'));
    await s.e.eval((z) => { document.body.style.zoom = z; }, zoom);
    await s.e.eval(scroll);
    await settled();
    const before = await position();
    if (!zoom) assert.equal(before.block, 200, 'the caret block');
    await s.e.load(paragraphs(300, 'After'));
    await settled();
    assert.ok(before.scroll > 1000 && (await scrollTop()) < before.scroll / 2, `scrolled to ${before.scroll}; loading alone loses the place`);
    assert.equal(await s.e.call('setViewPosition', JSON.stringify(before)), true);
    await settled();
    const after = await position();
    await s.e.eval(() => { document.body.style.zoom = ''; });
    assert.equal(after.top, before.top);
    assert.ok(Math.abs(after.offset - before.offset) <= 2, `${after.offset} near ${before.offset}`);
    assert.deepEqual(await s.e.caretAt(), [before.block, 0, 0]);
  });
}

test('a scroll offset alone scrolls there; a block past the end gives the last; bad input does nothing', async () => {
  await s.e.load(paragraphs(300, 'Offset'));
  await s.e.call('setViewPosition', JSON.stringify({ block: 3, scroll: 500 }));
  await settled();
  assert.ok(Math.abs((await scrollTop()) - 500) < 2);
  await s.e.load(paragraphs(10, 'Short'));
  await s.e.call('setViewPosition', JSON.stringify({ block: 500, scroll: 99999 }));
  assert.equal((await position()).block, 10);
  assert.equal(await s.e.call('setViewPosition', 'not json'), false);
  assert.equal((await position()).block, 10);
});
