// The export commands in the window: every format from the menu to a file, the
// template choice, Repeat Export and its state, the tool checks before the
// dialog, and export runs that fail, are cancelled or run out of time.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync, existsSync, rmSync, mkdirSync, readdirSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { withDocument, waitUntil, notFirstRun, dword } from './window_driver.mjs';

const sampleText = 'Export sample\n=============\n\nHello from Qorva with *emphasis* and **strong** text.\n';
const EXPORT_DIALOG = /^Export to /;

// The items of "&File" > "&Export" below "Repeat Export", in menu order. The submenu opens on its
// first enabled item, "Repeat Export" only while there is an export to repeat: so "html" without
// `repeatEnabled` takes the first item, whichever it is.
const FORMATS = ['html', 'docx', 'rtf', 'epub', 'pdf', 'tex'];
async function chooseExport(desktop, kind, { repeatEnabled = false } = {}) {
  await desktop.openMenu('alt+f');
  await desktop.openMenu('e');
  desktop.keys(...Array(FORMATS.indexOf(kind) + (repeatEnabled ? 1 : 0)).fill('Down'), 'Return');
}

// Replaces the proposed file name with `path` (if given) and confirms.
async function confirmExport(desktop, path) {
  await desktop.waitForFocus(EXPORT_DIALOG);
  if (path) desktop.keys('ctrl+a').type(path);
  await desktop.keys('Return').waitForNoTitle(EXPORT_DIALOG);
}

// Picks the template `downs` below "Default" in the export dialog, then confirms.
async function confirmWithTemplate(desktop, downs, path) {
  await desktop.waitForFocus(EXPORT_DIALOG);
  desktop.keys('alt+t', ...Array(downs).fill('Down'), 'alt+n');
  await confirmExport(desktop, path);
}

// A file once it exists, is not empty and has stopped growing.
async function waitForFile(path, timeoutMs = 120000) {
  let lastSize = -1;
  return waitUntil(`the file ${path}`, () => {
    const size = existsSync(path) ? statSync(path).size : 0;
    const settled = size > 0 && size === lastSize;
    lastSize = size;
    return settled && path;
  }, timeoutMs);
}

// How each file begins; what the files hold is checked in export_command_test.
const SIGNATURES = {
  html: /^<!DOCTYPE html>[^]*Hello from Qorva with <em>emphasis<\/em>/, tex: /^\\documentclass[^]*Hello from Qorva/,
  rtf: /^\{\\rtf1[^]*Hello from Qorva/, docx: /^PK/, epub: /^PK[^]{28}mimetypeapplication\/epub\+zip/, pdf: /^%PDF-/,
};

test('each export from the menu writes its file beside the document under the proposed name', async () => {
  await withDocument('sample', sampleText, async ({ desktop, home: folder, file: path }) => {
    for (const [i, kind] of Object.keys(SIGNATURES).entries()) {
      await chooseExport(desktop, kind, { repeatEnabled: i > 0 });
      await confirmExport(desktop);
      // XeLaTeX takes seconds: a progress window says so meanwhile, and goes.
      if (kind === 'pdf') await desktop.waitForTitle('Qorva', 60000);
      assert.match(readFileSync(await waitForFile(join(folder, `sample.${kind}`)), 'latin1'), SIGNATURES[kind], kind);
      await desktop.waitForNoTitle(/^Qorva$/);
    }
    await desktop.waitForTitle(`${path} - Qorva`);
    assert.equal(readFileSync(path, 'utf8'), sampleText, 'the document itself is untouched');
  });
});

test('the template picked in the dialog wraps the export; Repeat Export writes the last confirmed one again, with the current content', async () => {
  await withDocument('sample', sampleText, async ({ desktop, home: folder, file: path }) => {
    const [boot, contents] = [join(folder, 'boot.html'), join(folder, 'contents.tex')];
    await chooseExport(desktop, 'html');
    await confirmWithTemplate(desktop, 1, boot);   // "Bootstrap", after "Default"
    assert.match(readFileSync(await waitForFile(boot), 'utf8'),
      /<style>[^]*\.container[^]*<div class="container">\n\n[^]*Hello from Qorva[^]*\n\n<\/div>/);

    await chooseExport(desktop, 'tex', { repeatEnabled: true });
    await confirmWithTemplate(desktop, 1, contents);   // "Table of Contents"
    assert.match(readFileSync(await waitForFile(contents), 'utf8'), /\\begin\{document\}\n\\ifdefined\\hypersetup\\hypersetup\{pdftitle=\{[^\n]*\n[^\n]*\/Lang \(en-US\)[^\n]*\n\n\\tableofcontents\n\n[^]*Hello from Qorva/);

    // New, unsaved text at the end of the document goes into the repeated export.
    [boot, contents].forEach((file) => rmSync(file));
    await desktop.keys('ctrl+End').type(' Added later.').waitForTitle(`${path}* - Qorva`);
    desktop.keys('ctrl+alt+shift+e');   // Repeat Export
    assert.match(readFileSync(await waitForFile(contents), 'utf8'), /\\tableofcontents[^]*strong} text\.\s+Added later\./);
    assert.equal(existsSync(boot), false, 'only the second export is repeated');

    // A cancelled dialog leaves the state as it was: the TeX export is still what repeats.
    await chooseExport(desktop, 'html', { repeatEnabled: true });
    await desktop.dismiss('Escape', EXPORT_DIALOG);
    rmSync(contents);
    await chooseExport(desktop, 'html');   // the first item: "Repeat Export"
    await waitForFile(contents);
    assert.equal(existsSync(join(folder, 'sample.html')), false, 'the cancelled export wrote nothing');
  });
});

test('without Pandoc or XeLaTeX on PATH the export offers the download and shows no dialog', async () => {
  await withDocument('sample', sampleText, async ({ desktop }) => {
    // Word stands for the Pandoc formats; PDF needs XeLaTeX too.
    for (const kind of ['docx', 'pdf']) {
      await chooseExport(desktop, kind);
      await desktop.dismiss('Escape');   // Cancel: no download page
    }
    // The exports that need no tool still work, and theirs is the only dialog.
    await chooseExport(desktop, 'html');
    await desktop.waitForFocus(EXPORT_DIALOG);
    assert.deepEqual(desktop.windowTitles().filter((t) => EXPORT_DIALOG.test(t)), ['Export to HTML5']);
  }, { env: (home) => { mkdirSync(join(home, 'bin')); return { PATH: join(home, 'bin') }; } });
});

test('a failed export is reported with the reason, nothing is left behind, and after Open nothing repeats', async () => {
  const files = { 'data/qorva/Broken.xelatex': '\\documentclass{no-such-class}\n\\begin{document}\n$body$\n\\end{document}\n' };
  await withDocument('sample', sampleText, async ({ desktop, home: folder, file: path }) => {
    // XeLaTeX cannot typeset with the user's broken template.
    const pdf = join(folder, 'broken.pdf');
    await chooseExport(desktop, 'pdf');
    await confirmWithTemplate(desktop, 1, pdf);   // "Broken", before "Table of Contents"
    await desktop.dismiss('Return', 'Export failed');
    assert.equal(existsSync(pdf), false);

    // The folder of the last export is gone: Repeat Export says why it cannot write.
    const exports = join(folder, 'exports');
    mkdirSync(exports);
    await chooseExport(desktop, 'html', { repeatEnabled: true });
    await confirmExport(desktop, join(exports, 'page.html'));
    await waitForFile(join(exports, 'page.html'));
    rmSync(exports, { recursive: true });
    desktop.keys('ctrl+alt+shift+e');   // Repeat Export
    await desktop.dismiss('Return', 'Export failed');
    assert.equal(existsSync(exports), false, 'no folder is made behind the user\'s back');
    await desktop.waitForTitle(`${path} - Qorva`);

    // After Open, Repeat Export is disabled and does nothing; the submenu opens
    // on "Export HTML5...", and the dialog proposes the opened document's name.
    const other = join(folder, 'other.text');
    writeFileSync(other, 'Another document\n');
    await desktop.keys('ctrl+o').waitForFocus(/^Open/);
    await desktop.keys('ctrl+a').type(other).keys('Return').waitForTitle(`${other} - Qorva`);
    desktop.keys('ctrl+alt+shift+e');   // Repeat Export
    await chooseExport(desktop, 'html');
    await confirmExport(desktop);
    assert.match(readFileSync(await waitForFile(join(folder, 'other.html')), 'utf8'), /Another document/);
    assert.equal(desktop.windowTitles().includes('Export failed'), false, 'Repeat Export after Open tried nothing');
    assert.equal(existsSync(exports), false);
  }, { files });
});

// The running XeLaTeX processes whose command line names `text`.
const toolsNaming = (text) => spawnSync('pgrep', ['-f', text], { encoding: 'utf8' }).stdout.split('\n').filter(Boolean);
const workFolders = (temp) => readdirSync(temp).filter((name) => name.startsWith('TEX'));

// A document whose math never finishes typesetting (a macro that expands to
// itself), its tools working in a temporary folder of their own.
const ENDLESS = 'Endless\n\na $\\def\\x{\\x}\\x$ b\n';
const ownTemp = { files: { 'tmp/.keep': '' }, env: (home) => ({ TMPDIR: join(home, 'tmp') }) };

test('a PDF export that never ends is cancelled from its progress window: XeLaTeX is gone, so is its work folder, and the window works on', async () => {
  await withDocument('loop', ENDLESS, async ({ desktop, home }) => {
    const temp = join(home, 'tmp');
    await chooseExport(desktop, 'pdf');
    await confirmExport(desktop);
    await waitUntil('XeLaTeX at work', () => toolsNaming(temp).length > 0, 60000);
    await desktop.dismiss('Escape');
    await waitUntil('XeLaTeX to be gone', () => toolsNaming(temp).length === 0);
    await waitUntil('the work folder to be removed', () => workFolders(temp).length === 0);
    assert.equal(existsSync(join(home, 'loop.pdf')), false);

    // The window takes keys again: an HTML export goes through.
    await chooseExport(desktop, 'html', { repeatEnabled: true });
    await confirmExport(desktop);
    assert.match(readFileSync(await waitForFile(join(home, 'loop.html')), 'utf8'), /Endless/);
    assert.equal(desktop.windowTitles().includes('Export failed'), false, 'a cancel the user asked for needs no message box');
  }, ownTemp);
});

test('a tool run past the time limit of the settings is stopped and reported, and leaves nothing behind', async () => {
  await withDocument('loop', ENDLESS, async ({ desktop, home }) => {
    const temp = join(home, 'tmp');
    await chooseExport(desktop, 'pdf');
    await confirmExport(desktop);
    await desktop.waitForTitle('Export failed', 60000);
    assert.deepEqual([toolsNaming(temp), workFolders(temp), existsSync(join(home, 'loop.pdf'))], [[], [], false]);
    await desktop.answer('Return', 'Export failed');
  }, { settings: notFirstRun({ ToolTimeLimit: dword(3) }), ...ownTemp });
});
