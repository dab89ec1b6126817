import { test, assert, doc, para, useEditor } from './harness.mjs';

const s = useEditor();

test('the browser\'s own paste, cut, undo and drop leave the document as it was and the host uncalled', async () => {
  const model = doc(para('one two'), para('three'));
  await s.e.eval(() => {
    const source = document.body.appendChild(document.createElement('div'));
    source.innerHTML = '<h1 style="color:red">Raw</h1><div><b>heading</b></div>';
    window.getSelection().selectAllChildren(source);
  });
  await s.e.page.keyboard.press('Control+C');
  await s.e.eval(() => document.body.lastChild.remove());
  await s.e.load(model);
  await s.e.page.focus('#doc');
  await s.e.select([0, 0, 1], [0, 0, 3]);
  for (const key of ['Control+V', 'Shift+Insert', 'Control+X', 'Control+Z']) {
    await s.e.page.keyboard.press(key);
    assert.deepEqual(await s.e.model(), model, key);
  }
  const cdp = await s.e.page.context().newCDPSession(s.e.page);
  const box = await s.e.page.locator('#doc').boundingBox();
  const data = { items: [{ mimeType: 'text/html', data: '<h1>Dropped</h1>' }, { mimeType: 'text/plain', data: 'Dropped' }], dragOperationsMask: 1 };
  for (const type of ['dragEnter', 'dragOver', 'drop']) await cdp.send('Input.dispatchDragEvent', { type, x: box.x + 20, y: box.y + 10, data });
  assert.deepEqual(await s.e.model(), model, 'drop');
  assert.deepEqual(await s.e.hostCalls(), []);
});
