import { test, assert, doc, para, useEditor } from './harness.mjs';

const s = useEditor();
const settled = () => s.e.eval(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
// Which blocks are marked and shown undimmed, how far the caret's line is from the
// window's middle, and the root's classes.
const look = () => s.e.eval(() => {
  const selection = window.getSelection();
  const range = document.createRange();
  range.setStart(selection.focusNode, selection.focusOffset);
  const line = range.getClientRects()[0];
  const blocks = editor.blocks;
  return {
    marked: blocks.flatMap((b, i) => (b.hasAttribute('data-caret') ? [i] : [])),
    bright: blocks.flatMap((b, i) => (getComputedStyle(b).opacity === '1' ? [i] : [])).slice(0, 5),
    offCentre: Math.round(Math.abs(line.top + line.height / 2 - window.innerHeight / 2)),
    root: document.getElementById('doc').className,
  };
});

test('focus mode dims all blocks but the caret\'s; typewriter mode keeps the caret\'s line in the middle, also at both ends; both switch off', async () => {
  await s.e.page.setViewportSize({ width: 800, height: 600 });
  await s.e.load(doc(...Array.from({ length: 400 }, (_, i) => para(`Paragraph ${i} `.repeat(12)))));
  await s.e.call('setFocusMode', '1');
  await s.e.call('setTypewriterMode', '1');
  await s.e.call('enterNavigationMode');
  const last = await s.e.eval(() => editor.blocks.length - 1);
  await s.e.eval((n) => editor.setCaret(Point(n, 0, editor.blocks[n].textContent.length - 2)), last);
  await s.e.type(' and the end of the story, long enough to wrap onto a further line of its own');
  await settled();
  let seen = await look();
  assert.deepEqual(seen.marked, [last]);
  assert.ok(seen.offCentre <= 10, `the caret's line ${seen.offCentre}px from the middle`);
  assert.equal(seen.root, 'editor FocusMode TypewriterMode navigation');

  await s.e.caret(0, 0, 3);
  await settled();
  seen = await look();
  assert.deepEqual([seen.marked, seen.bright], [[0], [0]]);
  assert.ok(seen.offCentre <= 10, `the first line ${seen.offCentre}px from the middle`);

  await s.e.call('setFocusMode', '0');
  await s.e.call('setTypewriterMode', '0');
  await s.e.call('leaveNavigationMode');
  await s.e.caret(last, 0, 3);
  await settled();
  seen = await look();
  assert.deepEqual([seen.marked, seen.bright, seen.root], [[], [0, 1, 2, 3, 4], 'editor']);
  assert.ok(seen.offCentre > 100, 'without typewriter mode the last line stays at the bottom');
});
