// A generated manuscript of a given number of blocks: every block type, tables,
// footnotes and link definitions, about ten words per block. With `formulas`,
// one block in five holds a formula and one in twenty is code in a language.
const WORDS = ('lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor ' +
  'incididunt ut labore et dolore magna aliqua enim ad minim veniam quis nostrud').split(' ');

function words(seed, count) {
  const out = [];
  for (let i = 0; i < count; i++) out.push(WORDS[(seed * 7 + i * 13) % WORDS.length]);
  return out.join(' ');
}

export function generateDocument(blockCount, { formulas = false } = {}) {
  const blocks = [];
  let n = 0;
  while (blocks.length < blockCount) {
    const k = n++;
    if (formulas && k % 20 >= 1 && k % 20 <= 3) {
      blocks.push(['para', { level: 0 }, ['plain', words(k, 6) + ' '], ['math', '\\sum_{i=1}^{' + k + '} x_i^2'], ['plain', ' ' + words(k + 2, 4)]]);
      continue;
    }
    if (formulas && (k % 20 === 9 || k % 80 === 12)) {
      blocks.push(['verbatim', { level: 0, info: k % 20 === 9 ? 'js' : 'python' }, ['plain', 'let x = "a" + ' + k + '; // sum'],
        ['break', '\n'], ['plain', 'function f(y) { return x * y; }']]);
      continue;
    }
    switch (k % 20) {
      case 0: blocks.push(['heading', { level: -3 + (k % 3) }, ['plain', words(k, 4)]]); break;
      case 1: case 2: case 3:
        blocks.push(['para', { level: 0 }, ['plain', words(k, 6) + ' '], ['emph', words(k + 1, 2)],
          ['plain', ' ' + words(k + 2, 4)], ['noteref', String(k)]]);
        break;
      case 4: blocks.push(['note', { level: 0 }, ['noteref', String(k - 1)], ['plain', words(k, 9)]]); break;
      case 5: case 6: blocks.push(['bulleted', { level: k % 2 }, ['plain', words(k, 10)]]); break;
      case 7: case 8: blocks.push(['numbered', { level: 0 }, ['strong', words(k, 3)], ['plain', ' ' + words(k, 7)]]); break;
      case 9: blocks.push(['verbatim', { level: 0 }, ['plain', 'let x = 1;'], ['break', '\n'], ['plain', 'x += ' + k + ';']]); break;
      case 10: blocks.push(['formula', { level: 0 }, ['plain', 'e^{i\\pi} + ' + k + ' = 0']]); break;
      case 11: blocks.push(['quote', { level: 0 }, ['plain', words(k, 12)]]); break;
      case 12: blocks.push(['comment', { level: 0 }, ['plain', words(k, 8)]]); break;
      case 13: blocks.push(['para', { level: 0 }, ['plain', words(k, 3) + ' '], ['linktext', 'a link'], ['linkref', 'L' + k],
        ['plain', ' ' + words(k, 3) + ' '], ['code', 'code()'], ['plain', ' and '], ['math', 'x^2']]); break;
      case 14: blocks.push(['link', { level: 0 }, ['linkref', 'L' + (k - 1)], ['url', 'https://example.org/' + k]]); break;
      case 15: blocks.push(['image', { level: 0 }, ['url', 'images/figure' + k + '.png']]); break;
      case 16:
        for (let r = 0; r < 2; r++) {
          blocks.push(['row', { level: 1 }, ['plain', words(k + r, 2)]]);
          blocks.push(['col', { level: 2 }, ['plain', words(k + r + 1, 2)]]);
          blocks.push(['col', { level: 2 }, ['plain', words(k + r + 2, 2)]]);
        }
        break;
      case 17: blocks.push(['divider', { level: 0 }]); break;
      default: blocks.push(['para', { level: 0 }, ['plain', words(k, 14)], ['break', '\n'], ['plain', words(k + 3, 6)]]);
    }
  }
  blocks.length = blockCount;
  return ['text', ...blocks];
}

export function countWords(model) {
  let count = 0;
  for (const block of model.slice(1)) {
    for (const span of block.slice(2)) count += span[1].split(/\s+/).filter(Boolean).length;
  }
  return count;
}
