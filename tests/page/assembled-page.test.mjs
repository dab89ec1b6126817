import { test, assert, editorPagePath, openEditor, useEditor } from './harness.mjs';
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

// The shell calls page functions by name on window: from its command and key tables and through its call
// methods. Each name it calls must be a function there, and each function the page offers the shell must
// be one the shell calls; a name renamed on one side only would otherwise silently disable a command.
test('the shell calls exactly the page functions the page offers it', async () => {
  const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
  const sources = readdirSync(join(root, 'src'), { recursive: true }).filter((name) => /\.(cpp|h)$/.test(name))
    .map((name) => [name, readFileSync(join(root, 'src', name), 'utf8')]);
  const called = new Set(sources.flatMap(([name, text]) => [
    ...text.matchAll(/\b(?:Call|TryCall|CallLater|CallForNumber|callPage)\("([A-Za-z_]\w*)"/g),
    ...text.matchAll(/\bfunction == "([A-Za-z_]\w*)"/g),
    ...(/(^|\/)(editor_commands|key_tables)\.cpp$/.test(name) ? text.matchAll(/\{\s*[\w:"]+,\s*"([a-z]\w*)"\s*\}/g) : []),
  ].map((m) => m[1])));
  const pageScript = readFileSync(join(root, 'editor/scripts/page.js'), 'utf8');
  const offered = [...pageScript.match(/const pageFunctions = \{([^}]*)\}/)[1].matchAll(/\w+/g)].map((m) => m[0]);
  // The shell calls some 90 page functions; far fewer means a scan found nothing.
  assert.ok(called.size > 80, `only ${called.size} page function calls found in src/`);
  assert.deepEqual(await s.e.eval((names) => names.filter((n) => typeof window[n] !== 'function'), [...called]), [],
    'called by the shell, missing in the page');
  assert.deepEqual(offered.filter((name) => !called.has(name)), [], 'offered by the page, called nowhere in the shell');
  // The program's page defines no other script function or getter on window (the names the suites use
  // are in the test page only).
  const product = await openEditor(s.browser, editorPagePath());
  const defined = await product.eval(() => Object.getOwnPropertyNames(window).filter((name) => {
    const property = Object.getOwnPropertyDescriptor(window, name);
    const value = property.get || property.value;
    return typeof value === 'function' && !/\[native code\]\s*\}$/.test(Function.prototype.toString.call(value));
  }));
  assert.deepEqual(defined.sort(), [...offered, 'onImageError'].sort());
  await product.page.close();
});
