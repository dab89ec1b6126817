import { describe, doc, para, block, img, BR, typed, selected, useEditor, stepCases } from './harness.mjs';

const s = useEditor();
const spans0 = (e) => e.spans(0);
const plain = (text) => ['plain', text];

stepCases(s, [
  ['Ctrl+I styles the whole word and keeps the caret', doc(para('one two three')), [[0, 0, 5], 'styleWordEmphasis'],
    [plain('one '), ['emph', 'two'], plain(' three')], [0, 1, 1]],
  ['Ctrl+I again makes the word plain', doc(para('one ', ['emph', 'two'], ' three')), [[0, 1, 1], 'styleWordEmphasis'],
    [plain('one two three')], [0, 0, 5]],
  ['a line feed ends a word as a space does', doc(para('ab', BR, 'cd ef')), [[0, 2, 1], 'styleWordStrong'],
    [plain('ab'), BR, ['strong', 'cd'], plain(' ef')]],
  ['in a code block nothing is styled but a snapshot is taken', doc(block('verbatim', 0, 'let x')), [[0, 0, 1], 'styleWordStrong'],
    [plain('let x')], null, ['done']],
  ['at the start of a span after a styled one, the caret moves into the styled span', doc(para(['emph', 'it'], ' and')),
    [[0, 1, 0], 'styleWordEmphasis'], [['emph', 'it'], plain(' and')], [0, 0, 2]],
  ['a selection to the end of the document stops before Final', doc(para('abc')), [[[0, 0, 1], [1, 0, 0]], 'styleWordStrong'],
    [plain('a'), ['strong', 'bc']]],
  ['Clear Formatting makes every style in the selection plain, line breaks stay',
    doc(para(['emph', 'a'], BR, ['strong', 'b'], ['url', 'c'])), [[[0, 0, 0], [0, 3, 1]], 'styleWordPlain'], [plain('a'), BR, plain('bc')]],
  ['Clear Formatting with a caret changes nothing, but the snapshot is taken', doc(para(['emph', 'word'])),
    [[0, 0, 2], 'styleWordPlain'], [['emph', 'word']], null, ['done']],
  ['an empty styled span between plain text is merged away again', doc(para('ab  cd')),
    [[0, 0, 3], 'styleWordCode', 'styleWordCode'], [plain('ab  cd')], [0, 0, 3]],
  ['a new label goes between two words; labels count trimmed', doc(para('see  that', ['noteref', ' 1 '])),
    [[0, 0, 4], 'styleWordReference'], [plain('see '), ['noteref', '2'], plain(' that'), ['noteref', ' 1 ']]],
  ['at the end of a span followed by a label the caret moves into that label', doc(para('see ', ['noteref', '7'])),
    [[0, 0, 4], 'styleWordReference'], [plain('see '), ['noteref', '7']], [0, 1, 0]],
  ['Reference on a word makes the word a label', doc(para('see note1 here')), [[0, 0, 6], 'styleWordReference'],
    [plain('see '), ['noteref', 'note1'], plain(' here')]],
  ['Reference on a label makes it plain', doc(para('see ', ['noteref', 'note1'], ' here')), [[0, 1, 2], 'styleWordReference'],
    [plain('see note1 here')]],
], spans0);

describe('caret outside a word: the style is for what is typed', () => stepCases(s, [
  ['Ctrl+I after a space, then typing, gives emphasised text', doc(para('one ')), [[0, 0, 4], 'styleWordEmphasis', typed('two')],
    [plain('one '), ['emph', 'two']]],
  ['Ctrl+I twice before typing leaves the next text plain', doc(para('one ')), [[0, 0, 4], 'styleWordEmphasis', 'styleWordEmphasis', typed('x')],
    [plain('one x')]],
  ['at the end of a styled span the caret moves into the following plain span, where typing goes',
    doc(para(['strong', 'bold'], ' rest')), [[0, 0, 4], 'styleWordStrong', typed('X')],
    [['strong', 'bold'], plain('X rest')]],
  ['at the end of a block an empty plain span follows a new label', doc(para('end ')), [[0, 0, 4], 'styleWordReference', [0, 2, 0], typed('x')],
    [plain('end '), ['noteref', '1'], plain('x')]],
  ['in Final a new paragraph takes the style', doc(para('a')), [[1, 0, 0], 'styleWordStrong', typed('b')], [['strong', 'b']], null, null,
    (e) => e.spans(1)],
], spans0));

describe('strong, emphasis and code pair up: a style switches, the other stays', () => stepCases(s, [
  ['Ctrl+I on a strong word gives strong emphasis, typing inside keeps it', doc(para('a ', ['strong', 'bc'])),
    [[0, 1, 1], 'styleWordEmphasis', typed('x')], [plain('a '), ['strongemph', 'bxc']]],
  ['undo after Ctrl+I gives the strong word back', doc(para('a ', ['strong', 'bc'])), [[0, 1, 1], 'styleWordEmphasis', 'undo'],
    [plain('a '), ['strong', 'bc']]],
  ['Ctrl+I and Ctrl+B on strong emphasis take one style off', doc(para(['strongemph', 'ab'], ' ', ['strongemph', 'cd'])),
    [[0, 0, 1], 'styleWordEmphasis', [0, 2, 1], 'styleWordStrong'], [['strong', 'ab'], plain(' '), ['emph', 'cd']]],
  ['code keeps strong emphasis and emphasis', doc(para(['strong', 'ab'], ' ', ['emph', 'cd'])),
    [[0, 0, 1], 'styleWordCode', [0, 2, 1], 'styleWordCode'], [['strongcode', 'ab'], plain(' '), ['emphcode', 'cd']]],
  ['Ctrl+B on strong code leaves code, code off leaves emphasis', doc(para(['strongcode', 'ab'], ' ', ['emphcode', 'cd'])),
    [[0, 0, 1], 'styleWordStrong', [0, 2, 1], 'styleWordCode'], [['code', 'ab'], plain(' '), ['emph', 'cd']]],
  ['after a strong word Ctrl+I styles what is typed strong and emphasised', doc(para(['strong', 'ab'], ' c')),
    [[0, 0, 2], 'styleWordEmphasis', typed('x')], [['strong', 'ab'], ['strongemph', 'x'], plain(' c')]],
], spans0));

describe('selections and images', () => stepCases(s, [
  ['on a selected image nothing is styled and the image stays whole', doc(img('a.png')), [[0, 0, 0], 'styleWordStrong', 'styleWordReference'],
    doc(img('a.png')), [0, 0, 0]],
  ['a selection across blocks styles the tail, the middle and the head, not code, and stays', doc(para('abc'), block('verbatim', 0, 'code'),
    para('mid'), para('xyz')), [[[0, 0, 1], [3, 0, 2]], 'styleWordEmphasis'],
    doc(para('a', ['emph', 'bc']), block('verbatim', 0, 'code'), para(['emph', 'mid']), para(['emph', 'xy'], 'z')), selected([0, 0, 1], [3, 0, 2])],
  ['a backwards selection keeps its direction', doc(para('hello world')), [[[0, 0, 8], [0, 0, 2]], 'styleWordStrong'],
    doc(para('he', ['strong', 'llo wo'], 'rld')), selected([0, 1, 6], [0, 0, 2])],
  ['a partly strong selection loses strong in its strong parts only and stays selected', doc(para('ab', ['strong', 'cd'], 'ef', ['emph', 'gh'])),
    [[[0, 0, 1], [0, 3, 1]], 'styleWordStrong'], doc(para('abcdef', ['emph', 'gh'])), selected([0, 0, 1], [0, 1, 1])],
]));

describe('a new label is the smallest unused number among notes and links, and it is selected', () => stepCases(s, [
  ['labels 1 and 3', doc(para('one two ', ['noteref', '1'], ' ', ['noteref', '3'])), '2'],
  ['a link label 1', doc(para('one two ', ['linktext', 'l'], ['linkref', '1'])), '2'],
].map(([name, model, label]) => [name, model, [[0, 0, 3], typed(' '), [0, 0, 4], 'styleWordReference'], label]), (e) => e.selectedText()));
