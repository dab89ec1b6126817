import { before, after, afterEach } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, openEditor } from './harness.mjs';

export function useEditor() {
  const shared = { browser: null, e: null };
  before(async () => {
    shared.browser = await launchBrowser();
    shared.e = await openEditor(shared.browser);
  });
  afterEach(() => {
    const errors = shared.e.errors.splice(0);
    assert.deepEqual(errors, [], 'uncaught errors in the page');
  });
  after(async () => {
    await shared.browser.close();
  });
  return shared;
}
