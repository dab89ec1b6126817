// The document as model JSON for the recovery file, taken every few seconds
// while the user types. Each block's record and JSON text are kept until a
// change under that block is seen, so a copy after typing in one block reads
// and writes out that block again, not all of them.
import { assert } from './base.js';
import { BlockDerivedCache } from './block-cache.js';
import { readBlockRecord } from './block-elements.js';
import { editor } from './current-editor.js';
import { modelFromRecords } from './model.js';
import { BlockType, isLinkTextTag, splitOuterTag } from './types.js';

function recoveryEntry(element) {
  const record = readBlockRecord(element);
  const block = modelFromRecords([record])[1];
  // A label after link text makes a link (modelFromRecords has already turned this
  // block's own ones into link references).
  let linkNote = false;
  for (let s = 3; s < block.length; s++) {
    if (isLinkTextTag(block[s - 1][0]) && (block[s][0] === 'noteref' || splitOuterTag(block[s][0])[0] === 'linkref')) linkNote = true;
  }
  return { record: record, json: JSON.stringify(block), linkNote: linkNote };
}

export const recoveryCopyMethods = {
  getRecoveryJson() {
    if (!this.recoveryCache) this.recoveryCache = new BlockDerivedCache(this.root, recoveryEntry);
    const cache = this.recoveryCache;
    cache.refresh();
    const entries = [];
    let linkNotes = false;
    for (const element of this.blocks) {
      let entry = cache.get(element);
      // The cache does not watch the direction attribute.
      if (!entry.record.RTL !== (element.getAttribute('dir') !== 'rtl')) {
        entry = recoveryEntry(element);
        cache.set(element, entry);
      }
      if (entry.linkNote) linkNotes = true;
      entries.push(entry);
    }
    assert(entries.length > 0 && entries[entries.length - 1].record.Type === BlockType.Final, 'ERR081');
    entries.pop();
    // Link labels written as notes change blocks elsewhere in the document.
    if (linkNotes) return JSON.stringify(modelFromRecords(entries.map(function (entry) { return entry.record; })));
    let json = '["text"';
    for (const entry of entries) json += ',' + entry.json;
    return json + ']';
  },
};

export function getRecoveryJson() { return editor.getRecoveryJson(); }
