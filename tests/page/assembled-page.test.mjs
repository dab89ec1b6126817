import { test, assert, editorPagePath } from './harness.mjs';
import { readFileSync } from 'node:fs';
import * as acorn from 'acorn';

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
