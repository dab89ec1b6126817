import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test, assert, doc, para, block, BR, typed, useEditor, openEditor } from './harness.mjs';

const s = useEditor();
// Formulas are typeset and code coloured when their group has come near the viewport.
const settle = () => s.e.eval(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done)))));
// How each formula of block b looks: typeset, its source, or its source marked with the error.
const looks = (b) => s.e.eval((b) => {
  const element = editor.blocks[b];
  return (element.classList.contains('Formula') ? [element] : Array.from(element.querySelectorAll('span.Math'))).map((host) => {
    const shown = host.shadowRoot && host.shadowRoot.querySelector('.shown');
    const source = host.shadowRoot && host.shadowRoot.querySelector('.source');
    if (!shown) return 'source';
    if (getComputedStyle(shown).display !== 'none') return getComputedStyle(source).fontSize === '0px' ? 'typeset ' + shown.textContent : 'both';
    return source.title ? 'error ' + source.title : 'source';
  });
}, b);
// The texts each code colour covers in block b.
const colours = (b) => s.e.eval((b) => {
  const found = {};
  for (const [name, highlight] of CSS.highlights) {
    for (const r of highlight) if (editor.blocks[b].contains(r.startContainer)) (found[name] ||= []).push(r.startContainer.data.slice(r.startOffset, r.endOffset));
  }
  return found;
}, b);
const lightTree = () => s.e.eval(() => document.getElementById('doc').innerHTML.replace(/ id="Active(Span|Block)"/g, ''));

const model = doc(
  para('Euler ', ['math', 'e^{i\\pi}'], ' and ', ['math', 'x^}']),
  block('formula', 0, '\\alpha+\\beta'),
  ['verbatim', { level: 0, info: 'python' }, ['plain', 'def f(x):'], BR, ['plain', '    return "s"']],
  block('verbatim', 0, 'def g(): pass'),
  ['verbatim', { level: 0, info: '{.nosuchlanguage}' }, ['plain', 'def h(): pass']],
  block('formula', 0, '\\frac{1}{'),
  para('end'));

test('formulas show typeset, a bad one its source with the message, code coloured by its language; the page holds the source only', async () => {
  await s.e.load(model);
  const before = await lightTree();
  await settle();
  assert.deepEqual(await looks(0), ['typeset eiπ', "error KaTeX parse error: Expected group after '^' at position 2: x^̲}"]);
  assert.deepEqual(await looks(1), ['typeset α+β']);
  assert.deepEqual(await colours(2), { 'code-keyword': ['def', 'return'], 'code-title': ['f'], 'code-string': ['"s"'] });
  assert.deepEqual([await colours(3), await colours(4)], [{}, {}], 'no language, an unknown one: no colours');
  assert.match((await looks(5))[0], /^error KaTeX parse error/);
  assert.ok(await s.e.eval(() => editor.blocks[5].getBoundingClientRect().height >= 18), 'a formula block in error keeps its line');
  assert.equal(await lightTree(), before, 'nothing added to the document\'s elements');
  assert.deepEqual(await s.e.model(), model);
  // The browser's find sees the source of a typeset formula, which shows it selected.
  await s.e.steps([6, 0, 0], 'prepareSearch', ['startSearch', 'pi']);
  assert.deepEqual([await s.e.selectedText(), (await looks(0))[0]], ['pi', 'source']);
});

test('the caret entering a formula shows its source, leaving shows it typeset again with the edits; undo too', async () => {
  await s.e.load(model, [0, 0, 6]);
  await settle();
  await s.e.steps('moveForward');
  assert.deepEqual((await looks(0))[0], 'source');
  await s.e.steps([0, 1, 8], typed('+1'), [1, 0, 2]);
  await settle();
  assert.deepEqual([(await looks(0))[0], await looks(1)], ['typeset eiπ+1', ['source']]);
  await s.e.steps([6, 0, 0], 'undo', [6, 0, 0]);
  await settle();
  assert.deepEqual((await looks(0))[0], 'typeset eiπ');
  // A click on a typeset formula puts the caret at the end of its source.
  const [x, y] = await s.e.eval(() => {
    const r = editor.blocks[1].shadowRoot.querySelector('.shown').getBoundingClientRect();
    return [r.x + r.width / 2, r.y + r.height / 2];
  });
  await s.e.steps({ click: [x, y] });
  assert.deepEqual([await s.e.caretAt(), await looks(1)], [[1, 0, 12], ['source']]);
  // Code is coloured again as it is typed, and not once its language is taken away.
  await s.e.steps([2, 2, 14], typed(' # note'));
  assert.deepEqual((await colours(2))['code-comment'], ['# note']);
  await s.e.steps(['setCodeInfo', '']);
  assert.deepEqual(await colours(2), {});
});

test('far from the viewport nothing is typeset until printing, which typesets and colours everything', async () => {
  const blocks = Array.from({ length: 3000 }, (_, i) => para('Paragraph ' + i));
  blocks[2990] = para('far ', ['math', '\\sqrt{\\pi}']);
  blocks[2992] = block('formula', 0, '\\alpha^2');
  blocks[2995] = ['verbatim', { level: 0, info: 'js' }, ['plain', 'const far = 1;']];
  // In a page of its own, where no formula was shown yet: the shell asks for this before its print dialog,
  // and the formula fonts start loading, as printing will not wait for them.
  const fresh = await openEditor(s.browser);
  await fresh.load(doc(...blocks), [0, 0, 0]);
  const formulaFonts = () => fresh.eval(() => [...document.fonts].filter((f) => f.family.includes('KaTeX_')).map((f) => f.status));
  assert.ok((await formulaFonts()).every((status) => status === 'unloaded'));
  await fresh.call('prepareForPrinting');
  assert.ok((await formulaFonts()).some((status) => status !== 'unloaded'), 'the formula fonts are loading');
  await fresh.page.close();

  await s.e.load(doc(...blocks), [0, 0, 0]);
  await settle();
  assert.deepEqual([await looks(2990), await colours(2995)], [['source'], {}]);
  const pdf = join(mkdtempSync(join(tmpdir(), 'qorva-print-')), 'far.pdf');
  await s.e.page.pdf({ path: pdf });
  assert.deepEqual([await looks(2990), await colours(2995)], [['typeset π​'], { 'code-keyword': ['const'], 'code-number': ['1'] }]);
  const printed = execFileSync('pdftotext', [pdf, '-'], { encoding: 'utf8' }).replace(/\u200B/g, '');
  assert.match(printed, /far\s+π\s+Paragraph 2991\s+α2\s+Paragraph 2993/);
  assert.doesNotMatch(printed, /\\sqrt/);
});
