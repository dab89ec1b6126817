// Builds the self-contained editor page: the HTML template with the style sheet
// and the bundled script placed inline.
// Usage: node assemble.mjs TEMPLATE STYLE BUNDLE OUT
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { dirname } from 'node:path';

const [template, style, bundle, out, ...extra] = process.argv.slice(2);
if (!template || !style || !bundle || !out || extra.length > 0) {
  console.error('usage: node assemble.mjs TEMPLATE STYLE BUNDLE OUT');
  process.exit(2);
}

function read(path) {
  try {
    return readFileSync(path, 'utf8');
  } catch (error) {
    console.error(`assemble: cannot read ${path}: ${error.message}`);
    process.exit(1);
  }
}

// Inline content must not close its own element early.
function checkInline(text, path, tag) {
  if (new RegExp(`</${tag}`, 'i').test(text)) {
    console.error(`assemble: ${path} contains "</${tag}", which would end the inline element`);
    process.exit(1);
  }
  return text;
}

const css = checkInline(read(style), style, 'style');
// The modules were strict; the bundle that wraps them must be too.
const js = "'use strict';\n" + checkInline(read(bundle), bundle, 'script');

let page = read(template);
for (const marker of ['/* @style */', '/* @script */']) {
  if (!page.includes(marker)) {
    console.error(`assemble: ${template} lacks the marker ${marker}`);
    process.exit(1);
  }
}
page = page.replace('/* @style */', () => css).replace('/* @script */', () => js);
mkdirSync(dirname(out), { recursive: true });
writeFileSync(out, page);
