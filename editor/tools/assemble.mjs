// Builds the self-contained editor page: the HTML template with the style sheet,
// the formula style sheet (its fonts as data addresses, so that nothing is
// fetched), the libraries' bundle and the page's bundle placed inline.
// Usage: node assemble.mjs TEMPLATE STYLE FORMULA_STYLE LIBRARIES BUNDLE OUT
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { dirname, resolve } from 'node:path';

const [template, style, formulaStyle, libraries, bundle, out, ...extra] = process.argv.slice(2);
if (!template || !style || !formulaStyle || !libraries || !bundle || !out || extra.length > 0) {
  console.error('usage: node assemble.mjs TEMPLATE STYLE FORMULA_STYLE LIBRARIES BUNDLE OUT');
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

// Each font keeps only its WOFF2 source, inlined; every engine the page runs in reads it.
function inlineFonts(text, path) {
  const fonts = text.replace(/src:\s*url\(([^)]+\.woff2)\)\s*format\("woff2"\)[^;}]*/g, (whole, name) => {
    let data;
    try {
      data = readFileSync(resolve(dirname(path), name));
    } catch (error) {
      console.error(`assemble: cannot read the font ${name}: ${error.message}`);
      process.exit(1);
    }
    return `src:url(data:font/woff2;base64,${data.toString('base64')}) format("woff2")`;
  });
  if (/url\((?!data:)/.test(fonts)) {
    console.error(`assemble: ${path} refers to a file that is not inlined`);
    process.exit(1);
  }
  return fonts;
}
const formulaCss = checkInline(inlineFonts(read(formulaStyle), formulaStyle), formulaStyle, 'style');
// The modules were strict; the bundle that wraps them must be too.
const js = "'use strict';\n" + checkInline(read(bundle), bundle, 'script');
// Run by the page as the body of a function (formula-libraries.js), strict as well.
const librariesJs = "'use strict';\n" + checkInline(read(libraries), libraries, 'script');

let page = read(template);
for (const marker of ['/* @style */', '/* @formula-style */', '/* @libraries */', '/* @script */']) {
  if (!page.includes(marker)) {
    console.error(`assemble: ${template} lacks the marker ${marker}`);
    process.exit(1);
  }
}
page = page.replace('/* @style */', () => css).replace('/* @formula-style */', () => formulaCss)
  .replace('/* @libraries */', () => librariesJs).replace('/* @script */', () => js);
mkdirSync(dirname(out), { recursive: true });
writeFileSync(out, page);
