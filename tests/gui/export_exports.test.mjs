// The export commands in the window: every format from the menu to a file, the
// template choice, Repeat Export and its state, and the tool checks before the
// dialog. Each test runs the program on an X server of its own.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { writeFileSync, readFileSync, existsSync, rmSync, mkdirSync, readdirSync } from 'node:fs';
import { join } from 'node:path';
import {
  withProgram, makeHome, waitUntil, sleep, chooseExport, saveDialog, saveAs, waitForFile, windowsNamed,
  exportDialogTitle,
} from './export_driver.mjs';
import { writeSettings, notFirstRun, dword } from './frame_helpers.mjs';

const sampleText = 'Export sample\n=============\n\nHello from Qorva with *emphasis* and **strong** text.\n';

function homeWithSample(dataFiles = {}) {
  const home = makeHome(dataFiles);
  const folder = join(home, 'docs');
  mkdirSync(folder);
  const path = join(folder, 'sample.text');
  writeFileSync(path, sampleText);
  return { home, folder, path };
}

// Exports under the name the dialog proposes.
async function exportProposed(desktop, kind, options) {
  await chooseExport(desktop, kind, options);
  await saveDialog(desktop);
  await desktop.keys('Return');
  await saveDialog(desktop, false);
}
// Waits for a message box (or progress window) titled by `pattern` to be shown, or gone.
const windowShown = (desktop, pattern, shown = true, timeoutMs = 10000) => waitUntil(
  `${pattern} ${shown ? 'shown' : 'gone'}`, () => (windowsNamed(desktop, pattern).length > 0) === shown, timeoutMs);

const unzipTests = (path) => spawnSync('unzip', ['-t', path], { encoding: 'utf8' }).status === 0;
const unzipEntry = (path, entry) => execFileSync('unzip', ['-p', path, entry], { encoding: 'utf8' });

test('each export from the menu writes its file beside the document under the proposed name', async () => {
  const { home, folder, path } = homeWithSample();
  await withProgram({ home, args: [path] }, async (desktop) => {
    await desktop.waitForTitle(`${path} - Qorva`);
    const files = {};
    let repeatEnabled = false;
    for (const kind of ['html', 'tex', 'rtf', 'docx', 'epub', 'pdf']) {
      // The proposed name is the document's own with the format's extension.
      await exportProposed(desktop, kind, { repeatEnabled });
      repeatEnabled = true;
      files[kind] = join(folder, `sample.${kind}`);
      // XeLaTeX takes seconds: a progress window says so meanwhile, and goes.
      if (kind === 'pdf') await windowShown(desktop, /^Qorva$/, true, 60000);
      await waitForFile(files[kind]);
      await windowShown(desktop, /^Qorva$/, false, 20000);
    }

    const html = readFileSync(files.html, 'utf8');
    assert.match(html, /^<!DOCTYPE html>\n<html>\n<head>\n<meta charset="UTF-8">\n/, 'the default template opens the page');
    assert.match(html, /MathJax\.js\?config=TeX-AMS-MML_HTMLorMML/);
    assert.match(html, /<body>\n[^]*Hello from Qorva with <em>emphasis<\/em>[^]*\n<\/body>\n<\/html>\n$/);
    assert.match(html, /<\/h1>\r\n/, "the writer's line ends become CR LF inside the template");

    const tex = readFileSync(files.tex, 'utf8');
    assert.match(tex, /^\\documentclass\[10pt\]\{article\}/);
    assert.match(tex, /\\begin\{document\}[^]*Hello from Qorva with \\emph\{emphasis\}[^]*\\end\{document\}/);
    assert.doesNotMatch(tex, /\\tableofcontents/);

    assert.match(readFileSync(files.rtf, 'latin1'), /^\{\\rtf1[^]*Hello from Qorva with/);

    assert.ok(unzipTests(files.docx), 'the Word document is a sound zip archive');
    assert.match(unzipEntry(files.docx, 'word/document.xml'), /Hello from Qorva with/);

    assert.ok(unzipTests(files.epub), 'the EPUB is a sound zip archive');
    assert.match(unzipEntry(files.epub, 'mimetype'), /^application\/epub\+zip/);

    const pdf = execFileSync('pdftotext', [files.pdf, '-'], { encoding: 'utf8' });
    assert.match(pdf, /Export sample/);
    assert.match(pdf, /Hello from Qorva with emphasis and strong text\./);

    // The document itself is untouched: same title, file unchanged.
    await desktop.waitForTitle(`${path} - Qorva`);
    assert.equal(readFileSync(path, 'utf8'), sampleText);
  });
});

test('an untitled document proposes no name, and Pandoc still runs for it', async () => {
  const home = makeHome();
  await withProgram({ home, args: ['--welcome'] }, async (desktop) => {
    await desktop.waitForTitle('Welcome - Qorva');
    await desktop.waitForDocument((d) => Array.isArray(d) && d.length > 1);
    await chooseExport(desktop, 'docx');
    await saveDialog(desktop);
    // Save with an empty name does nothing: the dialog stays.
    await desktop.keys('Return');
    await sleep(1000);
    assert.equal(windowsNamed(desktop, /^Export to Word Document$/).length, 1, 'no name was proposed');
    const word = join(home, 'welcome.docx');
    await saveAs(desktop, word);
    await waitForFile(word);
    assert.ok(unzipTests(word));
    await desktop.waitForTitle('Welcome - Qorva');
  });
});

test('the template picked in the dialog wraps the export; Repeat Export writes the last confirmed one again, with the current content', async () => {
  const { home, folder, path } = homeWithSample();
  await withProgram({ home, args: [path] }, async (desktop) => {
    await desktop.waitForTitle(`${path} - Qorva`);
    const boot = join(folder, 'boot.html');
    const contents = join(folder, 'contents.tex');

    await chooseExport(desktop, 'html');
    await saveDialog(desktop);
    desktop.screenshot('export-dialog-templates');
    await desktop.keys('alt+t', 'Down');   // "Bootstrap", after "Default"
    await desktop.keys('alt+n');
    await saveAs(desktop, boot);
    await waitForFile(boot);
    assert.match(readFileSync(boot, 'utf8'), /<div class="container">\n\n[^]*Hello from Qorva[^]*\n\n<\/div>/);
    assert.match(readFileSync(boot, 'utf8'), /bootstrap\.css/);

    await chooseExport(desktop, 'tex', { repeatEnabled: true });
    await saveDialog(desktop);
    await desktop.keys('alt+t', 'Down');   // "Table of Contents"
    await desktop.keys('alt+n');
    await saveAs(desktop, contents);
    await waitForFile(contents);
    assert.match(readFileSync(contents, 'utf8'), /\\begin\{document\}\n\n\\tableofcontents\n\n[^]*Hello from Qorva/);

    // New, unsaved text at the end of the document goes into the repeated export.
    rmSync(boot);
    rmSync(contents);
    await desktop.keys('ctrl+End');
    await desktop.type(' Added later.');
    await desktop.waitForTitle(`${path}* - Qorva`);
    await desktop.keys('ctrl+alt+shift+e');   // Repeat Export
    await waitForFile(contents);
    assert.match(readFileSync(contents, 'utf8'), /\\tableofcontents[^]*strong} text\.\s+Added later\./);
    assert.equal(existsSync(boot), false, 'only the second export is repeated');

    // A cancelled dialog leaves the state as it was: the TeX export is still what repeats.
    await chooseExport(desktop, 'html', { repeatEnabled: true });
    await saveDialog(desktop);
    await desktop.keys('Escape');
    await saveDialog(desktop, false);
    rmSync(contents);
    await chooseExport(desktop, 'html');   // the first item: "Repeat Export"
    await waitForFile(contents);
    assert.equal(existsSync(join(folder, 'sample.html')), false, 'the cancelled export wrote nothing');
    await desktop.waitForTitle(`${path}* - Qorva`);
  });
});

test('without Pandoc or XeLaTeX on PATH the export offers the download and shows no dialog', async () => {
  const { home, path } = homeWithSample();
  mkdirSync(join(home, 'bin'));
  await withProgram({ home, args: [path], env: { PATH: join(home, 'bin') } }, async (desktop) => {
    await desktop.waitForTitle(`${path} - Qorva`);
    // Word stands for the Pandoc formats; PDF needs XeLaTeX too.
    for (const kind of ['docx', 'pdf']) {
      await chooseExport(desktop, kind);
      await windowShown(desktop, /^Qorva$/, true, 20000);
      desktop.screenshot(`export-missing-tool-${kind}`);
      await desktop.keys('Escape');   // Cancel: no download page
      await windowShown(desktop, /^Qorva$/, false);
      await sleep(1000);
      assert.deepEqual(windowsNamed(desktop, exportDialogTitle), [], `no export dialog for ${kind}`);
    }
    // The exports that need no tool still work.
    await chooseExport(desktop, 'html');
    await saveDialog(desktop);
    await desktop.keys('Escape');
  });
});

test('a failed export is reported with the reason, nothing is left behind, and after Open nothing repeats', async () => {
  const { home, folder, path } = homeWithSample({
    'Broken.xelatex': '\\documentclass{no-such-class}\n\\begin{document}\n$body$\n\\end{document}\n' });
  await withProgram({ home, args: [path] }, async (desktop) => {
    await desktop.waitForTitle(`${path} - Qorva`);

    // XeLaTeX cannot typeset with the user's broken template.
    const pdf = join(folder, 'broken.pdf');
    await chooseExport(desktop, 'pdf');
    await saveDialog(desktop);
    await desktop.keys('alt+t', 'Down');   // "Broken", before "Table of Contents"
    await desktop.keys('alt+n');
    await saveAs(desktop, pdf);
    await windowShown(desktop, /^Export failed$/, true, 120000);
    desktop.screenshot('export-failed-pdf');
    await desktop.keys('Return');
    await windowShown(desktop, /^Export failed$/, false);
    assert.equal(existsSync(pdf), false);

    // The folder of the last export is gone: Repeat Export says why it cannot write.
    const exports = join(folder, 'exports');
    mkdirSync(exports);
    await chooseExport(desktop, 'html', { repeatEnabled: true });
    await saveDialog(desktop);
    await saveAs(desktop, join(exports, 'page.html'));
    await waitForFile(join(exports, 'page.html'));
    rmSync(exports, { recursive: true });
    await desktop.keys('ctrl+alt+shift+e');   // Repeat Export
    await windowShown(desktop, /^Export failed$/, true, 20000);
    desktop.screenshot('export-failed-html');
    await desktop.keys('Return');
    await windowShown(desktop, /^Export failed$/, false);
    assert.equal(existsSync(exports), false, 'no folder is made behind the user\'s back');
    await desktop.waitForTitle(`${path} - Qorva`);

    // After Open, Repeat Export is disabled and does nothing.
    const other = join(folder, 'other.text');
    writeFileSync(other, 'Another document\n');
    await desktop.keys('ctrl+o');
    await windowShown(desktop, /^Open/, true, 20000);
    await sleep(500);
    await desktop.keys('ctrl+a');
    await desktop.type(other);
    await desktop.keys('Return');
    await desktop.waitForTitle(`${other} - Qorva`);
    await desktop.keys('ctrl+alt+shift+e');   // Repeat Export
    await sleep(2000);
    assert.deepEqual(windowsNamed(desktop, /^Export failed$/), [], 'Repeat Export after Open tries nothing');
    assert.equal(existsSync(exports), false);

    // The submenu opens on "Export HTML5...": "Repeat Export" above it is disabled.
    // The dialog proposes the opened document's name.
    await exportProposed(desktop, 'html');
    assert.match(readFileSync(await waitForFile(join(folder, 'other.html')), 'utf8'),
      /Another document/);
  });
});

// The running XeLaTeX processes whose command line names `text`.
const toolsNaming = (text) => spawnSync('pgrep', ['-f', text], { encoding: 'utf8' }).stdout.split('\n').filter(Boolean);

// A document whose math never finishes typesetting (a macro that expands to
// itself), in a home whose tools work in a temporary folder of its own.
function endlessDocument(settings = null) {
  const home = makeHome();
  const folder = join(home, 'docs');
  const temp = join(home, 'tmp');
  mkdirSync(folder);
  mkdirSync(temp);
  if (settings) writeSettings(home, settings);
  const path = join(folder, 'loop.text');
  writeFileSync(path, 'Endless\n\na $\\def\\x{\\x}\\x$ b\n');
  return { home, folder, temp, path };
}


test('a PDF export that never ends is cancelled from its progress window: XeLaTeX is gone, so is its work folder, and the window works on', async () => {
  const { home, folder, temp, path } = endlessDocument();
  await withProgram({ home, args: [path], env: { TMPDIR: temp } }, async (desktop) => {
    await desktop.waitForTitle(`${path} - Qorva`);
    await exportProposed(desktop, 'pdf');
    await windowShown(desktop, /^Qorva$/, true, 60000);
    await waitUntil('XeLaTeX at work', () => toolsNaming(temp).length > 0, 60000);
    await sleep(1500);
    assert.equal(windowsNamed(desktop, /^Qorva$/).length, 1, 'the export is still running');

    await desktop.keys('Escape');
    await windowShown(desktop, /^Qorva$/, false);
    await waitUntil('XeLaTeX to be gone', () => toolsNaming(temp).length === 0, 10000);
    await sleep(800);
    assert.deepEqual(readdirSync(temp).filter((name) => name.startsWith('TEX')), [], 'the work folder is removed');
    assert.equal(existsSync(join(folder, 'loop.pdf')), false);
    assert.deepEqual(windowsNamed(desktop, /^Export failed$/), [], 'a cancel the user asked for needs no message box');

    // The window takes keys again: an HTML export goes through.
    await exportProposed(desktop, 'html', { repeatEnabled: true });
    assert.match(readFileSync(await waitForFile(join(folder, 'loop.html')), 'utf8'), /Endless/);
  });
});

test('a tool run past the time limit of the settings is stopped and reported, and leaves nothing behind', async () => {
  const { home, folder, temp, path } = endlessDocument(notFirstRun({ ToolTimeLimit: dword(3) }));
  await withProgram({ home, args: [path], env: { TMPDIR: temp } }, async (desktop) => {
    await desktop.waitForTitle(`${path} - Qorva`);
    await exportProposed(desktop, 'pdf');
    await windowShown(desktop, /^Export failed$/, true, 60000);
    assert.deepEqual(toolsNaming(temp), []);
    assert.deepEqual(readdirSync(temp).filter((name) => name.startsWith('TEX')), []);
    assert.equal(existsSync(join(folder, 'loop.pdf')), false);
    await desktop.keys('Return');
    await windowShown(desktop, /^Export failed$/, false);
  });
});
