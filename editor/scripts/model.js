// Exchange with model JSON: ["text", [tag, {level, direction, info, alt, title, spacing, start, quote, align, widths}, [spanTag, text]...]...].
import { Point, assert } from './base.js';
import { BlockDerivedCache } from './block-cache.js';
import { readBlockRecord } from './block-elements.js';
import { spansAsShown } from './counts.js';
import { SpanList } from './spans.js';
import { BlockType, Span, SpanType, emptyPlain, isLinkTextTag, isTableType, splitOuterTag, traitsOf } from './types.js';

const BLOCK_FROM_TAG = {
  heading: BlockType.Heading, bulleted: BlockType.Bulleted, verbatim: BlockType.Code,
  formula: BlockType.Formula, numbered: BlockType.Numbered, note: BlockType.Note,
  link: BlockType.Note, image: BlockType.Image, quote: BlockType.Quotation,
  comment: BlockType.Comment, row: BlockType.Row, col: BlockType.Cell,
  divider: BlockType.Divider, html: BlockType.Html, tex: BlockType.Tex, term: BlockType.Term,
  definition: BlockType.Definition, metadata: BlockType.Metadata,
};

const SPAN_FROM_TAG = {
  emph: SpanType.Emphasis, strong: SpanType.Strong, code: SpanType.Code, url: SpanType.Url,
  math: SpanType.Math, break: SpanType.Break, linktext: SpanType.LinkText,
  linkref: SpanType.NoteRef, noteref: SpanType.NoteRef, strike: SpanType.Strike,
  sup: SpanType.Superscript, sub: SpanType.Subscript, html: SpanType.Html, tex: SpanType.Tex,
  linkcode: SpanType.LinkCode, linkemph: SpanType.LinkEmphasis, linkstrong: SpanType.LinkStrong,
  linkimage: SpanType.LinkImage, linkimageurl: SpanType.LinkText, linkimagetitle: SpanType.LinkText,
  strongemph: SpanType.StrongEmphasis, strongcode: SpanType.StrongCode, emphcode: SpanType.EmphasisCode,
};

// Block type to model tag and the offset between editor and model level.
const TAG_FROM_BLOCK = {
  Heading: ['heading', -3], Bulleted: ['bulleted', -1], Code: ['verbatim', 0],
  Formula: ['formula', 0], Numbered: ['numbered', -1], Note: ['note', -1], Image: ['image', 0],
  Quotation: ['quote', -1], Comment: ['comment', 0], Divider: ['divider', 0], Html: ['html', 0],
  Tex: ['tex', 0], Term: ['term', -1], Definition: ['definition', -1], Metadata: ['metadata', 0],
};

// Block attributes in the order they are written, by the block type carrying
// them: [model key, record key]. Loading and saving look them up only for these
// types, so documents without them cost no more than before.
const ATTRIBUTE_KEYS = {
  Code: [['info', 'Info'], ['quote', 'Quote']],
  Image: [['alt', 'Alt'], ['title', 'Title']],
  Bulleted: [['spacing', 'Spacing'], ['quote', 'Quote']],
  Numbered: [['spacing', 'Spacing'], ['start', 'Start'], ['quote', 'Quote']],
  Definition: [['spacing', 'Spacing']],
  Row: [['align', 'Align'], ['widths', 'Widths']],
};

const TAG_FROM_SPAN = {
  Break: 'break', Emphasis: 'emph', Strong: 'strong', Code: 'code', Url: 'url', Math: 'math',
  NoteRef: 'noteref', LinkText: 'linktext', Strike: 'strike', Superscript: 'sup', Subscript: 'sub',
  Html: 'html', Tex: 'tex', LinkCode: 'linkcode', LinkEmphasis: 'linkemph', LinkStrong: 'linkstrong',
  LinkImage: 'linkimage',
  StrongEmphasis: 'strongemph', StrongCode: 'strongcode', EmphasisCode: 'emphcode',
};

const own = Object.prototype.hasOwnProperty;

function isPlainObject(value) {
  return value !== null && typeof value === 'object' && !Array.isArray(value);
}

function editorLevel(type, modelLevel) {
  if (isTableType(type)) return 0;
  let level = Number.isInteger(modelLevel) ? modelLevel : 0;
  if (type === BlockType.Heading) level += 3;
  else if (type === BlockType.Note || type === BlockType.Bulleted || type === BlockType.Numbered ||
           type === BlockType.Quotation || type === BlockType.Term || type === BlockType.Definition) level += 1;
  // The page shows levels as one digit within each type's range; a level the
  // editor cannot hold is brought to the nearest one it can.
  const t = traitsOf(type);
  return Math.min(t.MaxLevel, Math.max(t.MinLevel, level));
}

// Whether the span at index s of a block's model spans is a link's title: right
// after the address of an inline link or of a link definition.
function isLinkTitle(tag, items, s) {
  if (items[s][0] !== 'title' || s === 0 || splitOuterTag(items[s - 1][0])[0] !== 'url') return false;
  return (s >= 2 && isLinkTextTag(items[s - 2][0])) || (tag === 'link' && s === 2);
}

// Whether the span at index s is the source or title of the picture ("linkimage") before it.
function isPicturePart(items, s) {
  const tag = items[s][0];
  if (tag !== 'linkimageurl' && tag !== 'linkimagetitle') return false;
  const before = s > 0 ? items[s - 1][0] : '';
  return before === 'linkimage' || (tag === 'linkimagetitle' && before === 'linkimageurl' && items[s - 2][0] === 'linkimage');
}

function spansFromModel(tag, items) {
  const spans = [];
  for (let i = 0; i < items.length; i++) {
    const item = items[i];
    assert(Array.isArray(item) && item.length === 2 && typeof item[1] === 'string', 'ERR076');
    if (isPicturePart(items, i)) {
      spans[spans.length - 1][item[0] === 'linkimageurl' ? 'Source' : 'Title'] = item[1];
      continue;
    }
    if (isLinkTitle(tag, items, i)) {
      // The title travels on its link's address.
      if (item[1]) spans[spans.length - 1].Title = item[1];
      continue;
    }
    const [spanTag, outer] = splitOuterTag(item[0]);
    const type = own.call(SPAN_FROM_TAG, spanTag) ? SPAN_FROM_TAG[spanTag] : SpanType.Plain;
    const last = spans[spans.length - 1];
    if (type === SpanType.Break && (!last || last.Type === SpanType.Break)) spans.push(emptyPlain());
    // Two labels or addresses side by side stay two: joined, "1" and "2" would
    // become the label "12".
    if ((type === SpanType.NoteRef || type === SpanType.Url) && last && last.Type === type) spans.push(emptyPlain());
    // Two pictures of one link stay two, and in the link.
    if (type === SpanType.LinkImage && last && last.Type === type) spans.push(Span(SpanType.LinkText, ''));
    // A break always stands for one line feed, whatever text it came with.
    spans.push(Span(type, type === SpanType.Break ? '\n' : item[1], null, type === SpanType.LinkImage ? '' : null, outer));
  }
  if (!spans.length || spans[spans.length - 1].Type === SpanType.Break) spans.push(emptyPlain());
  return spans;
}

// Model array (root "text") to editor block records.
export function recordsFromModel(array) {
  assert(Array.isArray(array) && array[0] === 'text', 'ERR074');
  const records = [];
  for (let b = 1; b < array.length; b++) {
    const block = array[b];
    assert(Array.isArray(block) && block.length >= 2, 'ERR075');
    const attributes = isPlainObject(block[1]) ? block[1] : {};
    const type = own.call(BLOCK_FROM_TAG, block[0]) ? BLOCK_FROM_TAG[block[0]] : BlockType.Plain;
    const record = { Type: type, Level: editorLevel(type, attributes.level), Spans: spansFromModel(block[0], block.slice(2)) };
    if (attributes.direction === 'rtl') record.RTL = true;
    const keys = own.call(ATTRIBUTE_KEYS, type) ? ATTRIBUTE_KEYS[type] : null;
    if (keys) {
      for (const [key, recordKey] of keys) {
        if (typeof attributes[key] === 'string' && attributes[key]) record[recordKey] = attributes[key];
      }
    }
    records.push(record);
  }
  return records;
}

// A record as its element will give it back when read.
function recordAsShown(record) {
  const levelWord = 'Indent' + record.Level;
  const shown = { Type: record.Type, Level: parseInt(levelWord.charAt(levelWord.length - 1), 10) || 0, Spans: spansAsShown(record) };
  if (record.RTL) shown.RTL = true;
  const keys = own.call(ATTRIBUTE_KEYS, record.Type) ? ATTRIBUTE_KEYS[record.Type] : null;
  if (keys) for (const [, key] of keys) if (record[key]) shown[key] = record[key];
  return shown;
}

// Editor block records to a model array with root "text".
export function modelFromRecords(records) {
  const out = ['text'];
  let titled = false;
  for (const record of records) {
    let tag = 'para';
    let level = record.Level;
    if (own.call(TAG_FROM_BLOCK, record.Type)) {
      tag = TAG_FROM_BLOCK[record.Type][0];
      level += TAG_FROM_BLOCK[record.Type][1];
    } else if (record.Type === BlockType.Row) {
      tag = 'row';
      level = 1;
    } else if (record.Type === BlockType.Cell) {
      tag = 'col';
      level = 2;
    }
    const attributes = { level: level };
    if (record.RTL) attributes.direction = 'rtl';
    const keys = own.call(ATTRIBUTE_KEYS, record.Type) ? ATTRIBUTE_KEYS[record.Type] : null;
    if (keys) {
      for (const [key, recordKey] of keys) {
        if (typeof record[recordKey] === 'string' && record[recordKey]) attributes[key] = record[recordKey];
      }
    }
    const block = [tag, attributes];
    if (record.Type !== BlockType.Divider) {
      for (const span of record.Spans) {
        if (span.Type === SpanType.LinkImage) {
          pushPicture(block, span);
          continue;
        }
        if (span.Text === '') continue;
        const pair = [own.call(TAG_FROM_SPAN, span.Type) ? TAG_FROM_SPAN[span.Type] : 'plain', span.Text];
        // A label says its link's styles once it is known to be a link's.
        if (span.Outer && span.Type === SpanType.Url) pair[0] = span.Outer + 'url';
        else if (span.Outer) pair.outer = span.Outer;
        // Not part of the JSON text: placed once it is known whether the block is a link.
        if (span.Title && span.Type === SpanType.Url) {
          pair.title = span.Title;
          titled = true;
        }
        block.push(pair);
      }
    }
    out.push(block);
  }
  separateLinksFromNotes(out);
  return titled ? placeLinkTitles(out) : out;
}

// A picture in a link's text, kept also without a description.
function pushPicture(block, span) {
  block.push(['linkimage', span.Text]);
  if (span.Source) block.push(['linkimageurl', span.Source]);
  if (span.Title) block.push(['linkimagetitle', span.Title]);
}

// A link's title goes right after its address; an address that no longer
// belongs to a link drops it.
function placeLinkTitles(model) {
  for (let b = 1; b < model.length; b++) {
    const block = model[b];
    for (let s = block.length - 1; s >= 2; s--) {
      const title = block[s].title;
      if (title === undefined) continue;
      delete block[s].title;
      if ((s >= 3 && isLinkTextTag(block[s - 1][0])) || (block[0] === 'link' && s === 3)) block.splice(s + 1, 0, ['title', title]);
    }
  }
  return model;
}

// The editor keeps link definitions as notes and link labels as note labels.
// A label used directly after a link text is a link label everywhere.
function separateLinksFromNotes(model) {
  const linkLabels = new Set();
  for (let b = 1; b < model.length; b++) {
    const block = model[b];
    for (let s = 3; s < block.length; s++) {
      if (block[s][0] === 'noteref' && isLinkTextTag(block[s - 1][0])) linkLabels.add(block[s][1]);
    }
  }
  if (!linkLabels.size) return model;
  for (let b = 1; b < model.length; b++) {
    const block = model[b];
    if (block[0] === 'note' && block.length > 2 && block[2][0] === 'noteref' && linkLabels.has(block[2][1])) {
      block[0] = 'link';
    }
    for (let s = 2; s < block.length; s++) {
      if (block[s][0] === 'noteref' && linkLabels.has(block[s][1])) block[s] = [(block[s].outer || '') + 'linkref', block[s][1]];
    }
  }
  return model;
}

export const modelMethods = {
  // Records are kept per block until it changes: saving a long document reads
  // back only what was edited since it was loaded or last saved.
  copyAllBlocks() {
    if (!this.recordCache) this.recordCache = new BlockDerivedCache(this.root, readBlockRecord);
    const cache = this.recordCache;
    cache.refresh();
    return this.blocks.map(function (element) { return cache.get(element); });
  },

  // Replaces the document; input that is not a valid model leaves it untouched.
  setTextJson(json) {
    const records = recordsFromModel(JSON.parse(json));
    records.push({ Type: BlockType.Final, Level: 0, Spans: [emptyPlain()] });
    for (const record of records) record.Spans = SpanList.normalize(record.Spans);
    this.replaceAllBlocks(records);
    if (!this.recordCache) this.recordCache = new BlockDerivedCache(this.root, readBlockRecord);
    this.recordCache.refresh();
    for (let i = 0; i < records.length; i++) this.recordCache.set(this.blocks[i], recordAsShown(records[i]));
    this.primeSearchTexts(records);
    this.setCaret(Point(0, 0, 0));
  },

  getTextJson() {
    const records = this.copyAllBlocks();
    assert(records.length > 0, 'ERR081');
    assert(records[records.length - 1].Type === BlockType.Final, 'ERR081');
    records.pop();
    return JSON.stringify(modelFromRecords(records));
  },
};
