// The shell calls page functions by name on window; the page's modules export
// them and page.js puts them there. A function the C++ side names that is
// exported but left off window would only fail at run time in the program.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, readdirSync } from 'node:fs';
import { join, dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchBrowser, openEditor } from './harness.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');

function filesUnder(folder, pattern) {
  return readdirSync(folder, { recursive: true })
    .filter((name) => pattern.test(name))
    .map((name) => join(folder, name));
}

const exported = new Set();
for (const file of filesUnder(join(root, 'editor/scripts'), /\.js$/)) {
  for (const m of readFileSync(file, 'utf8').matchAll(/^export function (\w+)/gm)) exported.add(m[1]);
}
const namedByShell = new Set();
for (const file of filesUnder(join(root, 'src'), /\.(cpp|h)$/)) {
  for (const m of readFileSync(file, 'utf8').matchAll(/"([A-Za-z_]\w*)"/g)) {
    if (exported.has(m[1])) namedByShell.add(m[1]);
  }
}

test('every page function the shell names is a function on window', async () => {
  // The shell names some 90 page functions; far fewer means the scan found nothing.
  assert.ok(namedByShell.size > 60, `only ${namedByShell.size} page functions found in src/`);
  const browser = await launchBrowser();
  try {
    const e = await openEditor(browser);
    const missing = await e.page.evaluate((names) => names.filter((n) => typeof window[n] !== 'function'),
      [...namedByShell]);
    assert.deepEqual(missing, []);
    assert.deepEqual(e.errors, []);
  } finally {
    await browser.close();
  }
});
