import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { doc, para, block } from './harness.mjs';
import { useEditor } from './suite.mjs';

const s = useEditor();

describe('markup', () => {
  test('a missing image becomes a grey frame, its reference kept', async () => {
    await s.e.load(doc(block('image', 0, ['url', 'does-not-exist.png'])));
    await s.e.page.waitForFunction(() => document.querySelector('#doc img').src.startsWith('data:image/svg+xml'));
    assert.equal(await s.e.eval(() => document.querySelector('#doc .ImageBorder img').getAttribute('url')), 'does-not-exist.png');
    assert.deepEqual(await s.e.model(), doc(block('image', 0, ['url', 'does-not-exist.png'])));
  });

  test('table runs are grouped into Table, TableRow and TableCell wrappers', async () => {
    await s.e.load(doc(para('before'), block('row', 1, 'a'), block('col', 2, 'b'), block('row', 1, 'c'),
      block('col', 2, 'd'), para('between'), block('col', 2, 'orphan cell'), para('after')));
    const shape = await s.e.eval(() => Array.from(editor.root.querySelectorAll(':scope > block-group > div')).map((c) => c.className === 'Table'
      ? Array.from(c.children).map((row) => Array.from(row.children).map((cell) => cell.className + ':' + cell.textContent.replace(/\u200B/g, '')))
      : c.className));
    assert.deepEqual(shape, ['Plain Indent0', [['TableCell:a', 'TableCell:b'], ['TableCell:c', 'TableCell:d']],
      'Plain Indent0', [['TableCell:orphan cell']], 'Plain Indent0', 'Final Indent0']);
  });

  test('inserting and removing blocks keeps the grouping as a full re-render would make it', async () => {
    await s.e.load(doc(para('p'), block('row', 1, 'a'), block('col', 2, 'b'), para('q'), block('row', 1, 'c')));
    const same = await s.e.eval(() => {
      const snapshot = () => editor.root.innerHTML;
      const results = [];
      const check = () => {
        const incremental = snapshot();
        editor._rebuild();
        results.push(incremental === snapshot());
      };
      editor.removeBlock(3); check();
      editor.insertBlock(3, 'Plain', 0); check();
      editor.setBlockType(3, 'Row'); check();
      editor.setBlockType(1, 'Plain'); check();
      editor.insertBlock(0, 'Cell', 0); check();
      return results;
    });
    assert.deepEqual(same, [true, true, true, true, true]);
  });
});

describe('store positions', () => {
  test('writing spans that break the invariants is refused', async () => {
    await s.e.load(doc(para('x')));
    const codes = await s.e.eval(() => {
      const attempt = (spans) => { try { editor.setBlockSpans(0, spans); return null; } catch (e) { return e.message; } };
      return [attempt([]), attempt([Span('Plain', 'a'), Span('Plain', 'b')]), attempt([Span('Plain', 'a'), Span('Break', '\n'), Span('Break', '\n')])];
    });
    assert.deepEqual(codes, ['ERR084', 'ERR085', 'ERR085']);
  });
});

describe('reading and setting the selection', () => {
  test('set and read back keep the direction of the selection', async () => {
    await s.e.load(doc(para('hello', ['emph', 'world']), para('next')), [[1, 0, 2], [0, 1, 3]]);
    assert.deepEqual(await s.e.selection(), { anchor: [1, 0, 2], focus: [0, 1, 3] });
    assert.equal(await s.e.eval(() => window.getSelection().toString().replace(/\u200B/g, '')), 'ld\nne');
  });

  test('a collapsed browser selection reads as the nearest span position, flagged when it needs correcting', async () => {
    const reads = [
      [doc(para('ab', ['emph', 'cd'])), 'b[0].childNodes[3].firstChild, 0', [0, 1, 0, true]],
      [doc(para('ab', ['emph', 'cd'])), 'b[0].childNodes[3].firstChild, 4', [0, 1, 2, true]],
      [doc(para('ab', ['emph', 'cd'])), 'b[0].childNodes[3].firstChild, 2', [0, 1, 1, false]],
      [doc(block('bulleted', 0, ['strong', 'x'], 'y')), 'b[0].childNodes[1].firstChild, 0', [0, 0, 0, true]],
      [doc(para('ab', ['break', '\n'], 'cd')), 'b[0].childNodes[3].firstChild, 1', [0, 0, 2, true]],
      [doc(para('ab', ['break', '\n'], 'cd')), 'b[0].childNodes[3].firstChild, 2', [0, 2, 0, true]],
      [doc(para('ab', ['emph', 'cd']), block('row', 1, 'cell')), 'b[0], 4', [0, 1, 2, true]],
      [doc(para('ab', ['emph', 'cd']), block('row', 1, 'cell')), 'b[1].parentNode, 0', [1, 0, 0, true]],
    ];
    for (const [model, code, expected] of reads) {
      await s.e.load(model);
      const read = await s.e.eval((c) => {
        const [node, offset] = new Function('b', `return [${c}]`)(editor.blocks);
        window.getSelection().collapse(node, offset);
        const r = editor.getSelection(true);
        return [r.start.block, r.start.span, r.start.offset, r.needsCorrection];
      }, code);
      assert.deepEqual(read, expected, code);
    }
  });

  test('the browser placing the caret outside the zero-width spaces is corrected at once', async () => {
    await s.e.load(doc(para('abc')));
    const after = await s.e.eval(async () => {
      const text = editor.blocks[0].childNodes[2].firstChild;
      const sel = window.getSelection();
      sel.collapse(text, 0);
      await new Promise((r) => setTimeout(r, 20));
      const first = sel.focusOffset;
      sel.collapse(text, text.length);
      await new Promise((r) => setTimeout(r, 20));
      return [first, sel.focusOffset, text.length];
    });
    assert.deepEqual(after, [1, 4, 5]);
  });

  test('the active span and block are marked for the style sheet', async () => {
    await s.e.load(doc(para('ab', ['strong', 'cd']), para('x')), [0, 1, 1]);
    await s.e.page.waitForFunction(() => document.getElementById('ActiveSpan'));
    assert.deepEqual(await s.e.eval(() => [document.getElementById('ActiveSpan').className,
      document.getElementById('ActiveBlock') === editor.blocks[0]]), ['Strong', true]);
    await s.e.caret(1, 0, 1);
    await s.e.page.waitForFunction(() => document.getElementById('ActiveBlock') === editor.blocks[1]);
    assert.equal(await s.e.eval(() => document.querySelectorAll('#ActiveSpan').length), 1);
  });

  test('clicking an image selects it and highlights it', async () => {
    await s.e.load(doc(para('a'), block('image', 0, ['url', 'missing.png']), para('b')));
    await s.e.page.waitForFunction(() => document.querySelector('#doc img').complete);
    await s.e.page.click('#doc img');
    await s.e.page.waitForFunction(() => document.getElementById('ActiveBlock') === editor.blocks[1]);
    const facts = await s.e.eval(() => ({ text: window.getSelection().toString(), read: editor.getSelection().start,
      bg: getComputedStyle(document.querySelector('#doc img')).backgroundColor }));
    assert.deepEqual(facts, { text: '\u200B', read: { block: 1, span: 0, offset: 0 }, bg: 'rgb(180, 213, 254)' });
  });
});

describe('page functions', () => {
  test('the page works without a host: callbacks do nothing', async () => {
    const errors = await s.e.eval(() => {
      const host = window.Host;
      delete window.Host;
      try {
        setTextJson('["text",["para",{"level":0},["plain","x"]]]');
        editor.setCaret(Point(0, 0, 1));
        deleteBackward();
        undo();
        redo();
        return getTextJson();
      } finally {
        window.Host = host;
      }
    });
    assert.equal(errors, '["text",["para",{"level":0}]]');
  });

  test('zoom, base URL and navigation mode', async () => {
    await s.e.load(doc(block('image', 0, ['url', 'figure.png'])));
    const facts = await s.e.eval(() => {
      setZoomFactor('1.095445');
      setBaseUrl('file:///tmp/docs/');
      setBaseUrl('file:///tmp/other/');
      enterNavigationMode();
      const on = editor.root.className;
      leaveNavigationMode();
      return { zoom: document.body.style.zoom, bases: Array.from(document.querySelectorAll('base')).map((b) => b.href),
        image: new URL(document.querySelector('#doc img').getAttribute('url'), document.baseURI).href,
        on, off: editor.root.className };
    });
    assert.ok(Math.abs(parseFloat(facts.zoom) - 109.5445) < 0.01, facts.zoom);
    assert.deepEqual(facts.bases, ['file:///tmp/other/']);
    assert.equal(facts.image, 'file:///tmp/other/figure.png');
    assert.deepEqual([facts.on, facts.off], ['editor navigation', 'editor']);
    await s.e.eval(() => { setZoomFactor('1.0'); document.querySelectorAll('base').forEach((b) => b.remove()); });
  });

  test('a mouse press on the page margin is cancelled, so the selection stays', async () => {
    await s.e.load(doc(para('abc')), [[0, 0, 1], [0, 0, 2]]);
    await s.e.page.mouse.click(1250, 400);
    assert.deepEqual(await s.e.selection(), { anchor: [0, 0, 1], focus: [0, 0, 2] });
  });
});
