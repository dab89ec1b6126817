import { test, assert, editorPagePath, useEditor } from './harness.mjs';
import { readFileSync, readdirSync } from 'node:fs';
import { join, dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as acorn from 'acorn';

const s = useEditor();
const html = readFileSync(editorPagePath(), 'utf8');
const scripts = [...html.matchAll(/<script>([\s\S]*?)<\/script>/g)].map((m) => m[1]);

test('the page carries its style and script inline and loads nothing from elsewhere', () => {
  assert.equal(scripts.length, 1);
  assert.doesNotMatch(html, /<script[^>]+src=/i);
  assert.doesNotMatch(html, /<link[^>]+href=/i);
});

// The program embeds an older engine than Debian's browser.
test('the script parses as ES2020', () => {
  assert.doesNotThrow(() => acorn.parse(scripts[0], { ecmaVersion: 2020, sourceType: 'script' }));
});

// The shell calls page functions by name on window; the page's modules export them and page.js puts them
// there. A function the C++ side names that is exported but left off window would only fail in the program.
test('every page function the shell names is a function on window', async () => {
  const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
  const texts = (folder, pattern) => readdirSync(join(root, folder), { recursive: true })
    .filter((name) => pattern.test(name)).map((name) => readFileSync(join(root, folder, name), 'utf8'));
  const exported = new Set(texts('editor/scripts', /\.js$/).flatMap((text) =>
    [...text.matchAll(/^export function (\w+)/gm)].map((m) => m[1])));
  const named = new Set(texts('src', /\.(cpp|h)$/).flatMap((text) =>
    [...text.matchAll(/"([A-Za-z_]\w*)"/g)].map((m) => m[1]).filter((name) => exported.has(name))));
  // The shell names some 90 page functions; far fewer means the scan found nothing.
  assert.ok(named.size > 60, `only ${named.size} page functions found in src/`);
  assert.deepEqual(await s.e.eval((names) => names.filter((n) => typeof window[n] !== 'function'), [...named]), []);
});
