import { test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const paragraphs = (count, first) => doc(para(first), ...Array.from({ length: count - 1 }, (_, i) => para(`Paragraph ${i} `.repeat(8))));
const settled = () => s.e.eval(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
const view = () => s.e.eval(() => ({ scroll: document.body.scrollTop, height: document.body.clientHeight }));

test('the caret block and about the same scroll offset come back after the document is loaded again', async () => {
  await s.e.load(paragraphs(300, 'Before'));
  await s.e.caret(200, 0, 3);
  await s.e.call('scrollToSelection');
  await s.e.eval(() => { document.body.scrollTop += 250; });
  await settled();
  const position = JSON.parse(await s.e.call('getViewPosition'));
  assert.equal(position.block, 200);
  assert.ok(position.scroll > 1000, `scrolled down: ${position.scroll}`);

  await s.e.load(paragraphs(300, 'After'));
  await settled();
  assert.ok((await view()).scroll < position.scroll / 2, 'loading alone loses the place');
  assert.equal(await s.e.call('setViewPosition', JSON.stringify(position)), true);
  await settled();
  assert.deepEqual(await s.e.caretAt(), [200, 0, 0]);
  const now = JSON.parse(await s.e.call('getViewPosition'));
  assert.equal(now.top, position.top);
  assert.ok(Math.abs(now.offset - position.offset) <= 2, `${now.offset} near ${position.offset}`);
});

test('the place comes back at another zoom and from a position with the scroll offset alone', async () => {
  await s.e.load(paragraphs(300, 'Zoomed'));
  await s.e.eval(() => { document.body.style.zoom = '150%'; });
  await s.e.eval(() => { document.body.scrollTop = 9000; });
  await settled();
  const position = JSON.parse(await s.e.call('getViewPosition'));
  await s.e.load(paragraphs(300, 'Again'));
  await s.e.call('setViewPosition', JSON.stringify(position));
  await settled();
  const now = JSON.parse(await s.e.call('getViewPosition'));
  assert.equal(now.top, position.top);
  assert.ok(Math.abs(now.offset - position.offset) <= 2, `${now.offset} near ${position.offset}`);
  await s.e.eval(() => { document.body.style.zoom = ''; });

  await s.e.call('setViewPosition', JSON.stringify({ block: 3, scroll: 500 }));
  await settled();
  assert.ok(Math.abs((await view()).scroll - 500) < 2);
});

test('a document that became shorter puts the caret in its last block; bad input changes nothing', async () => {
  await s.e.load(paragraphs(10, 'Short'));
  await s.e.call('setViewPosition', JSON.stringify({ block: 500, scroll: 99999 }));
  const last = await s.e.eval(() => editor.getBlockCount() - 1);
  assert.ok(last >= 9);
  assert.equal(JSON.parse(await s.e.call('getViewPosition')).block, last);
  assert.equal(await s.e.call('setViewPosition', 'not json'), false);
  assert.equal(JSON.parse(await s.e.call('getViewPosition')).block, last);
});
