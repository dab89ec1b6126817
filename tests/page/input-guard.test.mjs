import { test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

async function copyHtmlOutsideEditor(html) {
  await s.e.eval((markup) => {
    const source = document.createElement('div');
    source.id = 'outside';
    source.innerHTML = markup;
    document.body.appendChild(source);
    window.getSelection().selectAllChildren(source);
  }, html);
  await s.e.page.keyboard.press('Control+C');
  await s.e.eval(() => document.getElementById('outside').remove());
}

test('the browser\'s own paste, cut, undo and drop leave the document as it was and readable', async () => {
  const model = doc(para('one two'), para('three'));
  await copyHtmlOutsideEditor('<h1 style="color:red">Raw</h1><div><b>heading</b></div>');
  await s.e.load(model, [[0, 0, 1], [0, 0, 3]]);
  await s.e.page.focus('#doc');
  await s.e.select([0, 0, 1], [0, 0, 3]);
  for (const key of ['Control+V', 'Shift+Insert', 'Control+X', 'Control+Z']) {
    await s.e.page.keyboard.press(key);
    assert.deepEqual(await s.e.model(), model, key);
  }
  const cdp = await s.e.page.context().newCDPSession(s.e.page);
  const box = await s.e.page.locator('#doc').boundingBox();
  const data = { items: [{ mimeType: 'text/html', data: '<h1>Dropped</h1>' }, { mimeType: 'text/plain', data: 'Dropped' }],
    dragOperationsMask: 1 };
  for (const type of ['dragEnter', 'dragOver', 'drop']) {
    await cdp.send('Input.dispatchDragEvent', { type, x: box.x + 20, y: box.y + 10, data });
  }
  assert.deepEqual(await s.e.model(), model);
  assert.deepEqual(await s.e.hostCalls(), []);
});
