import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import * as acorn from 'acorn';
import { editorPagePath } from './harness.mjs';

const html = readFileSync(editorPagePath(), 'utf8');

function inlineScripts() {
  return [...html.matchAll(/<script>([\s\S]*?)<\/script>/g)].map((m) => m[1]);
}

test('the page carries its style and script inline and loads nothing from elsewhere', () => {
  assert.equal(inlineScripts().length, 1);
  assert.doesNotMatch(html, /<script[^>]+src=/i);
  assert.doesNotMatch(html, /<link[^>]+href=/i);
  assert.match(html, /<style id="theme.css"><\/style>/);
  assert.match(html, /<div id="doc" class="editor"><\/div>/);
});

test('the script parses as ES2020', () => {
  const [script] = inlineScripts();
  assert.doesNotThrow(() => acorn.parse(script, { ecmaVersion: 2020, sourceType: 'script' }));
});
