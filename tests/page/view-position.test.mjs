// The reader's place (caret block and scroll offset) kept across loading a
// changed document, as after a change made on disk by another program.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

const paragraphs = (count, prefix) => doc(...Array.from({ length: count }, (_, i) => para(`${prefix} ${i} `.repeat(8))));
const scrollOffset = () => s.e.eval(() => {
  const scroller = [document.scrollingElement, document.body].find((el) => el && el.scrollTop > 0);
  return scroller ? scroller.scrollTop : 0;
});

test('the caret block and the scroll offset come back after the document is loaded again', async () => {
  await s.e.load(paragraphs(300, 'old'));
  await s.e.caret(200, 0, 3);
  await s.e.call('scrollToSelection');
  const position = JSON.parse(await s.e.call('getViewPosition'));
  assert.equal(position.block, 200);
  assert.ok(position.scroll > 1000, `scrolled down: ${position.scroll}`);
  assert.equal(await scrollOffset(), position.scroll);

  await s.e.load(paragraphs(300, 'new'));
  assert.ok(await scrollOffset() < position.scroll, 'loading alone loses the place');
  assert.equal(await s.e.call('setViewPosition', JSON.stringify(position)), true);
  assert.deepEqual(await s.e.caretAt(), [200, 0, 0]);
  assert.equal(await scrollOffset(), position.scroll);
});

test('a document that became shorter puts the caret in its last block; bad input changes nothing', async () => {
  await s.e.load(paragraphs(10, 'short'));
  await s.e.call('setViewPosition', JSON.stringify({ block: 500, scroll: 99999 }));
  assert.equal(JSON.parse(await s.e.call('getViewPosition')).block, 9);
  assert.equal(await s.e.call('setViewPosition', 'not json'), false);
});
