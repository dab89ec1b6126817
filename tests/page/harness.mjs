// Shared set-up of the page suites: one headless Chromium per test file (Debian's
// /usr/bin/chromium), the assembled page from QORVA_EDITOR_PAGE, and helpers
// that drive the page the way the shell does.
import { chromium } from 'playwright-core';
import { pathToFileURL, fileURLToPath } from 'node:url';
import { existsSync } from 'node:fs';
import { resolve, dirname } from 'node:path';

const here = dirname(fileURLToPath(import.meta.url));

export const CHROMIUM_ARGS = [
  '--no-sandbox', '--headless', '--disable-gpu', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export function editorPagePath() {
  const path = process.env.QORVA_EDITOR_PAGE || resolve(here, '../../build/editor/editor.html');
  if (!existsSync(path)) throw new Error(`assembled editor page not found: ${path} (build the editor_page target)`);
  return path;
}

export async function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.QORVA_CHROMIUM || '/usr/bin/chromium',
    args: CHROMIUM_ARGS,
  });
}

// Opens the page and collects what the page would tell the host.
export async function openEditor(browser) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(pathToFileURL(editorPagePath()).href);
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

export const doc = (...blocks) => ['text', ...blocks];
export const para = (...spans) => ['para', { level: 0 }, ...spans.map(toSpan)];
export const block = (tag, level, ...spans) => [tag, { level }, ...spans.map(toSpan)];
function toSpan(s) {
  return typeof s === 'string' ? ['plain', s] : s;
}

export class EditorPage {
  constructor(page, errors) {
    this.page = page;
    this.errors = errors;
  }

  // Replaces the document and forgets undo history and host calls; then puts
  // the caret at `at` ([block, span, offset]) or selects it ([anchor, focus]).
  async load(model, at) {
    await this.page.evaluate((json) => {
      editor.undoStack.length = 0;
      editor.redoStack.length = 0;
      editor.journal.take();
      setTextJson(json);
      window.hostCalls.length = 0;
    }, JSON.stringify(model));
    if (at) await this.place(at);
  }

  async place(at) {
    await (Array.isArray(at[0]) ? this.select(...at) : this.caret(...at));
  }

  // Loads `model`, then takes each step in turn and gives the model afterwards.
  async run(model, ...steps) {
    await this.load(model);
    return this.steps(...steps);
  }

  // A step is a position, a command's name, or [name, ...arguments].
  async steps(...steps) {
    for (const step of steps) {
      if (typeof step === 'string') await this.call(step);
      else if (typeof step[0] === 'string') await this.call(...step);
      else await this.place(step);
    }
    return this.model();
  }

  async model() {
    return JSON.parse(await this.page.evaluate(() => getTextJson()));
  }

  async call(name, ...args) {
    return this.page.evaluate(([n, a]) => window[n](...a), [name, args]);
  }

  async callError(name, ...args) {
    return this.page.evaluate(([n, a]) => {
      try {
        window[n](...a);
        return null;
      } catch (error) {
        return error.message;
      }
    }, [name, args]);
  }

  async caret(block, span, offset) {
    await this.page.evaluate(([b, s, o]) => editor.setCaret(Point(b, s, o)), [block, span, offset]);
  }

  async select(anchor, focus) {
    await this.page.evaluate(([a, f]) => editor.setSelection(Range(Point(...a), Point(...f))), [anchor, focus]);
  }

  async selection() {
    return this.page.evaluate(() => {
      const r = editor.getSelection();
      return { anchor: [r.anchor.block, r.anchor.span, r.anchor.offset], focus: [r.focus.block, r.focus.span, r.focus.offset] };
    });
  }

  async caretAt() {
    const s = await this.selection();
    return s.focus;
  }

  async type(text) {
    await this.page.keyboard.type(text);
  }

  async hostCalls() {
    return this.page.evaluate(() => window.hostCalls.slice());
  }

  async blockClasses() {
    return this.page.evaluate(() => editor.blocks.map((b) => b.className));
  }

  async eval(fn, arg) {
    return this.page.evaluate(fn, arg);
  }
}

// What the style sheet draws in front of each block: for every block whose
// prefix is rendered, [block index, the marker text]. Read from the layout tree,
// since generated content is not in the DOM.
export async function renderedPrefixes(editorPage) {
  const { page } = editorPage;
  await page.evaluate(() => editor.blocks.forEach((b, i) => b.setAttribute('data-test-index', String(i))));
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
  const cdp = await page.context().newCDPSession(page);
  try {
    const snap = await cdp.send('DOMSnapshot.captureSnapshot', { computedStyles: [] });
    const strings = snap.strings;
    const { nodes, layout } = snap.documents[0];
    const attribute = (node, name) => {
      const list = nodes.attributes[node] || [];
      for (let k = 0; k < list.length; k += 2) if (strings[list[k]] === name) return strings[list[k + 1]];
      return null;
    };
    const pseudo = new Map();
    (nodes.pseudoType.index || []).forEach((node, k) => pseudo.set(node, strings[nodes.pseudoType.value[k]]));
    const out = [];
    layout.nodeIndex.forEach((node, k) => {
      const textIndex = layout.text[k];
      if (textIndex < 0) return;
      let owner = node;
      if (!pseudo.has(owner)) owner = nodes.parentIndex[owner];
      if (pseudo.get(owner) !== 'before') return;
      const prefix = nodes.parentIndex[owner];
      if (attribute(prefix, 'class') !== 'Prefix') return;
      const blockIndex = attribute(nodes.parentIndex[prefix], 'data-test-index');
      out.push([Number(blockIndex), strings[textIndex]]);
    });
    return out;
  } finally {
    await cdp.detach();
    await page.evaluate(() => editor.blocks.forEach((b) => b.removeAttribute('data-test-index')));
  }
}
