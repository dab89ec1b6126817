// Builds the self-contained editor page: the HTML template with the style sheet
// and the scripts (in the order given) placed inline.
// Usage: node assemble.mjs TEMPLATE STYLE OUT SCRIPT...
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { dirname, basename } from 'node:path';

const [template, style, out, ...scripts] = process.argv.slice(2);
if (!template || !style || !out || scripts.length === 0) {
  console.error('usage: node assemble.mjs TEMPLATE STYLE OUT SCRIPT...');
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
const js = scripts
  .map((path) => `// ---- ${basename(path)}\n` + checkInline(read(path), path, 'script'))
  .join('\n');

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
