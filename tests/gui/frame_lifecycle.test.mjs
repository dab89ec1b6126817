// A document's life in the window, with real key events and the real Pandoc:
// opening odd bytes, a Markdown file saved as it was written, Save in Format,
// changes made by other programs, and unsaved work that survives a kill. The questions asked on the
// way are checked in document_lifecycle_test and document_guards_test.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { chmodSync, readFileSync, existsSync, renameSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  withDocument, withFrame, makeHome, notFirstRun, str, waitUntil, blockTexts, recoveryFiles,
} from './window_driver.mjs';

const bytesOf = (path) => (existsSync(path) ? readFileSync(path, 'utf8') : '');

test('a file with a zero byte and invalid UTF-8 says so, opens whole and modified, is saved with CR LF and reopened as saved', async () => {
  const odd = Buffer.concat([Buffer.from('before\0after '), Buffer.from([0xff]), Buffer.from(' end\r\n')]);
  await withDocument('native', odd, async ({ start, desktop, home, file }) => {
    await desktop.answer('Return');
    await desktop.waitForTitle(`${file}* - Qorva`);
    const opened = await desktop.waitForDocument((d) => blockTexts(d).length > 0);
    assert.deepEqual(blockTexts(opened), ['before\uFFFDafter \uFFFD end']);
    await desktop.type('Yes ').waitForDocument((d) => blockTexts(d)[0].startsWith('Yes '));
    await desktop.keys('ctrl+s').waitForTitle(`${file} - Qorva`);
    const saved = bytesOf(file);
    assert.match(saved, /^Yes before/);
    assert.ok(!/[^\r]\n/.test(saved), `every line ends with CR LF: ${JSON.stringify(saved)}`);
    await desktop.close();

    const again = start({ home, args: [file] });
    await again.waitForTitle(`${file} - Qorva`);
    const doc = await again.waitForDocument((d) => blockTexts(d).length > 0);
    assert.deepEqual(blockTexts(doc), ['Yes before\uFFFDafter \uFFFD end']);
  }, { title: 'Qorva' });
});

// A README as GitHub Markdown writes it: lists, code, a table with its header row,
// a reference link, a paragraph on one long line, lines ending in LF. (Soft line
// breaks, a loose list of plain items and fences are not kept yet: the document
// model has no place for them.)
const readme = readFileSync(new URL('samples/readme.md', import.meta.url), 'utf8');

test('a GitHub README opened by the dialog, then from Open Recent, edited and saved, differs only by the edits', async () => {
  const home = makeHome({ settings: notFirstRun({ MarkdownFormat: str('github') }), files: { 'README.md': readme } });
  const file = join(home, 'README.md');
  await withFrame('readme', async ({ start }) => {
    const edits = ['My ', 'Our '];
    for (const [run, edit] of edits.entries()) {
      const desktop = start({ home });
      await desktop.waitForTitle('Untitled - Qorva');
      if (run === 0) {
        await desktop.keys('ctrl+o').waitForFocus(/^Open/);
        await desktop.keys('ctrl+a').type(file).keys('Return');
      } else {
        await desktop.openSubmenu('alt+f', 12, 2);   // "&File" > "Open Recent"
        desktop.keys('Down', 'Return');
      }
      await desktop.waitForTitle(`${file} - Qorva`);
      await desktop.waitForDocument((d) => blockTexts(d).length > 5);
      await desktop.type(edit).waitForTitle(`${file}* - Qorva`);
      await desktop.keys('ctrl+s').waitForTitle(`${file} - Qorva`);
      assert.equal(bytesOf(file), readme.replace('# ', `# ${edits.slice(0, run + 1).reverse().join('')}`));
      desktop.keys('ctrl+w');
      await desktop.ended();
    }
  });
});

test('Save in Format asks for a name saying the format and leaves the file under the old name as it was', async () => {
  const text = 'Title\n=====\n\nSome *emphasis* here.\n';
  await withDocument('save-in-format', text, async ({ desktop, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d).includes('Title'));
    await desktop.type('My ').waitForDocument((d) => blockTexts(d)[0] === 'My Title');
    // "&File" > "Save in Format" (5) > "Pandoc Markdown" (1).
    await desktop.openSubmenu('alt+f', 12, 5);
    desktop.keys('Down', 'Return');
    await desktop.waitForFocus('Save As');
    desktop.keys('Return');   // the name offered
    const markdown = file.replace(/\.text$/, '.md');
    await desktop.waitForTitle(`${markdown} - Qorva`);
    assert.equal(bytesOf(file), text);
    // An ATX heading, and the line ends of the document's file.
    assert.equal(bytesOf(markdown), '# My Title\n\nSome *emphasis* here.\n');
  });
});

test('a rename-written change reloads with the caret in its block; a file that disappears is reported and can be saved again; a pipe is refused at once', async () => {
  const paragraphs = (first) => [first, ...Array.from({ length: 59 }, (_, i) => `Paragraph ${i + 1}`)].join('\r\n\r\n') + '\r\n';
  await withDocument('outside', paragraphs('First'), async ({ desktop, file, home }) => {
    await desktop.waitForDocument((d) => blockTexts(d).length === 60);
    desktop.keys(...Array(30).fill('Down'));
    // As many editors save: a new file beside the old one takes its name.
    writeFileSync(`${file}.swp~`, paragraphs('Changed elsewhere'));
    renameSync(`${file}.swp~`, file);
    await desktop.waitForDocument((d) => blockTexts(d)[0] === 'Changed elsewhere');
    const doc = await desktop.settled('Z');
    assert.equal(blockTexts(doc).findIndex((t) => t.includes('Z')), 30, 'typing goes on in the caret\'s block');
    await desktop.keys('ctrl+s').waitForTitle(`${file} - Qorva`);

    rmSync(file);
    await desktop.answer('Return');
    await desktop.waitForTitle(`${file}* - Qorva`);
    await desktop.keys('ctrl+s').waitForTitle(`${file} - Qorva`);
    assert.match(readFileSync(file, 'utf8'), /^Changed elsewhere\r\n/);
    spawnSync('mkfifo', [join(home, 'pipe.text')]);
    await desktop.keys('ctrl+o').waitForFocus(/^Open/);
    desktop.keys('ctrl+a').type(join(home, 'pipe.text')).keys('Return');
    await desktop.dismiss('Return');   // not a regular file
  });
});

async function killAfterRecovery(desktop, home, typed) {
  await waitUntil('the recovery file', () => recoveryFiles(home).find(([, text]) => text.includes(typed)));
  desktop.process.kill('SIGKILL');
  await desktop.exited;
}

test('kill -9: the next start restores the typed text, modified under its path, and the file stays as it was until saved; planted recovery files are set aside, and one naming another file asks before a save writes over that', async () => {
  await withDocument('recovery-restore', 'On disk\r\n', async ({ start, desktop, home, file }) => {
    await desktop.waitForDocument((d) => blockTexts(d).length > 0);
    desktop.keys('End').type(' and more');
    const typed = await desktop.waitForDocument((d) => blockTexts(d).join('').includes('and more'));
    await killAfterRecovery(desktop, home, 'and more');

    const again = start({ home });
    await again.answer('alt+y');
    await again.waitForTitle(`${file}* - Qorva`);
    assert.deepEqual(await again.waitForDocument((d) => blockTexts(d).join('').includes('and more')), typed);
    assert.equal(readFileSync(file, 'utf8'), 'On disk\r\n');
    await waitUntil('only the new window\'s recovery file', () => recoveryFiles(home).length === 1);
    await again.keys('ctrl+s').waitForTitle(`${file} - Qorva`);
    assert.equal(readFileSync(file, 'utf8'), 'On disk and more\r\n');
    await waitUntil('no recovery file after the save', () => recoveryFiles(home).length === 0);
    const folder = join(home, 'state', 'qorva', 'recovery');
    const victim = join(home, 'victim.text');
    chmodSync(folder, 0o777);
    writeFileSync(victim, 'Theirs\r\n');
    writeFileSync(join(folder, '1-1-1.json'), JSON.stringify({ path: victim, format: 0, savedAt: 1,
      model: '["text",["para",{"level":0},["plain","Planted"]]]' }));
    writeFileSync(join(folder, '2-2-2.json'), '{"path":');
    spawnSync('mkfifo', [join(folder, '3-3-3.json')]);
    await again.close();
    const third = start({ home });
    await third.waitForFocus('Qorva');
    const box = third.xdotool('getwindowfocus');
    third.keys('Return');   // the files set aside
    await waitUntil('the restore question', () => third.xdotool('getwindowfocus') !== box);
    await third.answer('alt+y');
    await third.waitForDocument((d) => blockTexts(d)[0] === 'Planted');
    await third.keys('ctrl+s').dismiss('alt+n');   // changed since it was opened: save over it? No
    assert.equal(readFileSync(victim, 'utf8'), 'Theirs\r\n');
    assert.equal(statSync(folder).mode & 0o777, 0o700);
  });
});

test('Cancel keeps the recovery file for the next start, No discards it', async () => {
  await withDocument('recovery-discard', null, async ({ start, desktop, home }) => {
    await desktop.type('Scratch').waitForTitle('Untitled* - Qorva');
    await killAfterRecovery(desktop, home, 'Scratch');
    for (const [answer, left] of [['Escape', 1], ['alt+n', 0]]) {
      const next = start({ home });
      await next.answer(answer);
      await next.waitForTitle('Untitled - Qorva');
      // The next start's offer shows too that Cancel kept the file.
      await waitUntil(`${left} recovery file after ${answer}`, () => recoveryFiles(home).length === left);
      await next.close();
    }
  });
});
