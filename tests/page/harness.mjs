// Shared set-up of the page suites and benchmarks: headless Chromium (Debian's
// /usr/bin/chromium) on the assembled test page, driven the way the shell
// drives it, with what the page tells the host collected.
import { chromium } from 'playwright-core';
import { test, before, after, afterEach } from 'node:test';
import assert from 'node:assert/strict';
import { pathToFileURL, fileURLToPath } from 'node:url';
import { existsSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';

export { test, describe } from 'node:test';
export { assert };

const productPage = process.env.QORVA_EDITOR_PAGE || resolve(dirname(fileURLToPath(import.meta.url)), '../../build/editor/editor.html');
const built = (path, target) => {
  if (!existsSync(path)) throw new Error(`assembled editor page not found: ${path} (build the ${target} target)`);
  return path;
};
// The program's page, and the one the suites open: the program's page plus the names their code in the
// page uses (QORVA_EDITOR_TEST_PAGE, or editor-test.html beside the program's page).
export const editorPagePath = () => built(productPage, 'editor_page');
export const testPagePath = () => built(process.env.QORVA_EDITOR_TEST_PAGE || join(dirname(productPage), 'editor-test.html'), 'editor_test_page');

export async function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.QORVA_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--headless', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

export async function openEditor(browser, path = testPagePath()) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(pathToFileURL(path).href);
  await page.evaluate(() => {
    window.hostCalls = [];
    window.Host = {
      callbackChangeDone: () => window.hostCalls.push('done'),
      callbackChangeUndone: () => window.hostCalls.push('undone'),
      callbackOpenUrl_: (url) => window.hostCalls.push('url:' + url),
      callbackOpenFile_: (path) => window.hostCalls.push('file:' + path),
    };
  });
  return new EditorPage(page, errors);
}

// One browser and page per test file; a test fails on any uncaught page error.
export function useEditor() {
  const shared = { browser: null, e: null };
  before(async () => {
    shared.browser = await launchBrowser();
    shared.e = await openEditor(shared.browser);
  });
  afterEach(() => assert.deepEqual(shared.e.errors.splice(0), [], 'uncaught errors in the page'));
  after(() => shared.browser.close());
  return shared;
}

export const doc = (...blocks) => ['text', ...blocks];
export const para = (...spans) => ['para', { level: 0 }, ...spans.map(toSpan)];
export const block = (tag, level, ...spans) => [tag, { level }, ...spans.map(toSpan)];
export const empty = (tag, level = 0) => [tag, { level }];
export const img = (url) => block('image', 0, ['url', url]);
export const row = (text) => block('row', 1, text);
export const col = (text) => block('col', 2, text);
export const BR = ['break', '\n'];
export const typed = (text) => ({ text });
const toSpan = (s) => (typeof s === 'string' ? ['plain', s] : s);

// Rows [name, model, steps, expected, caret, hostCalls, read], each a test: the steps on the model, then what `read`
// (the row's or the table's) gives, the caret (a position, its block's text, a selection or IMAGE) and the host calls.
export function stepCases(s, rows, tableRead = (e) => e.model()) {
  for (const [name, model, steps, expected, caret, calls, read = tableRead] of rows) {
    test(name, async () => {
      await s.e.run(model, ...steps);
      assert.deepEqual(await read(s.e), expected);
      if (Array.isArray(caret)) assert.deepEqual(await s.e.caretAt(), caret, 'caret');
      else if (caret === IMAGE) assert.equal(await s.e.imageSelected(), true, 'image selected');
      else if (typeof caret === 'string') assert.equal(await s.e.caretBlockText(), caret, 'caret block');
      else if (caret) assert.deepEqual(await s.e.selection(), caret, 'selection');
      if (calls) assert.deepEqual(await s.e.hostCalls(), calls, 'host calls');
    });
  }
}

export const IMAGE = Symbol('an image selected');
export const selected = (anchor, focus) => ({ anchor, focus });

// Runs in the page: [block index, shown, expected] where a shown number differs from a count from the top.
export function numberFaults() {
  const counters = [null, null, null, null, null, null];
  const quotes = ['', '', '', '', '', ''];
  const faults = [];
  document.querySelectorAll('#doc span.Start').forEach((start, i) => {
    const [type, indent] = start.parentNode.className.split(' ');
    const level = type === 'Heading' ? 0 : Number(indent.slice(6));
    for (let d = level + 1; d <= 5; d++) counters[d] = null;
    if (type !== 'Numbered' || level === 0) return;
    const first = Number(start.parentNode.getAttribute('data-start') || 1);
    const quote = start.parentNode.getAttribute('data-quote') || '';
    counters[level] = counters[level] === null || quotes[level] !== quote ? first : counters[level] + 1;
    quotes[level] = quote;
    const expected = String(counters[level]);
    const shown = start.parentNode.querySelector('.Prefix').getAttribute('data-number');
    if (shown !== expected) faults.push([i, shown, expected]);
  });
  return faults;
}

export class EditorPage {
  constructor(page, errors) {
    this.page = page;
    this.errors = errors;
  }

  eval(fn, arg) { return this.page.evaluate(fn, arg); }
  call(name, ...args) { return this.eval(([n, a]) => window[n](...a), [name, args]); }
  callError(name, ...args) {
    return this.eval(([n, a]) => { try { window[n](...a); return null; } catch (error) { return error.message; } }, [name, args]);
  }
  async model() { return JSON.parse(await this.call('getTextJson')); }
  async spans(i) { return (await this.model())[i + 1].slice(2); }
  hostCalls() { return this.eval(() => window.hostCalls.slice()); }
  type(text) { return this.page.keyboard.type(text); }

  // Replaces the document, forgets undo history (the host has no call for that) and host calls,
  // then puts the caret at `at` ([block, span, offset]) or selects it ([anchor, focus]).
  async load(model, at) {
    await this.eval((json) => {
      editor.undoStack.length = 0;
      editor.redoStack.length = 0;
      editor.journal.take();
      setTextJson(json);
      window.hostCalls.length = 0;
    }, JSON.stringify(model));
    if (at) await this.place(at);
  }

  // Loads `model`, then takes each step in turn and gives the model afterwards.
  async run(model, ...steps) {
    await this.load(model);
    return this.steps(...steps);
  }

  // A step is a command's name, [name, ...arguments], a position, typed text,
  // a key, or a click on an element or at a point.
  async steps(...steps) {
    for (const step of steps) {
      if (typeof step === 'string') await this.call(step);
      else if (step.text) await this.type(step.text);
      else if (step.key) await this.page.keyboard.press(step.key);
      else if (step.click) await (typeof step.click === 'string' ? this.page.click(step.click) : this.page.mouse.click(...step.click));
      else if (typeof step[0] === 'string') await this.call(...step);
      else await this.place(step);
    }
    return this.model();
  }

  // The user places the caret with the mouse and keys; the host has no call
  // for it, so these go through the page's own selection.
  place(at) { return Array.isArray(at[0]) ? this.select(...at) : this.caret(...at); }
  caret(...at) { return this.eval((p) => editor.setCaret(Point(...p)), at); }
  select(anchor, focus) { return this.eval(([a, f]) => editor.setSelection(Range(Point(...a), Point(...f))), [anchor, focus]); }
  selection() {
    return this.eval(() => {
      const r = editor.getSelection();
      return { anchor: [r.anchor.block, r.anchor.span, r.anchor.offset], focus: [r.focus.block, r.focus.span, r.focus.offset] };
    });
  }
  async caretAt() { return (await this.selection()).focus; }
  async caretBlockText() { return (await this.spans((await this.caretAt())[0])).map((s) => s[1]).join(''); }

  // The browser's selection as the user sees it, without the zero-width spaces.
  selectedText() { return this.eval(() => window.getSelection().toString().replace(/\u200B/g, '')); }
  imageSelected() { return this.eval(() => window.getSelection().toString() === '\u200B'); }
  // Each block element's classes, in order, as the style sheet sees them.
  blockClasses() { return this.eval(() => Array.from(document.querySelectorAll('#doc span.Start'), (s) => s.parentNode.className)); }
}
