// A table's column alignments and widths ride on its first Row block: data-align
// holds a letter per column ("l", "c", "r", "d" for the default), data-widths a
// number per column, space-separated ("0" the default). Commands that add, remove
// or move columns edit them alike; whichever row ends up first carries them.

const DEFAULT = { align: 'd', widths: '0' };

// The lists of the element, each empty when the element has none.
export function readTableColumns(element) {
  const align = element.getAttribute('data-align');
  const widths = element.getAttribute('data-widths');
  return { align: align ? align.split('') : [], widths: widths ? widths.split(' ') : [] };
}

// Writes the lists onto the element; a list of defaults only is no attribute.
export function writeTableColumns(element, columns) {
  for (const key of ['align', 'widths']) {
    const name = 'data-' + key;
    const list = columns[key];
    if (list.some(function (entry) { return entry !== DEFAULT[key]; })) element.setAttribute(name, list.join(key === 'align' ? '' : ' '));
    else if (element.hasAttribute(name)) element.removeAttribute(name);
  }
}

// Applies edit(list, fill) to each list the table has, after padding it with
// defaults to `width` entries; fill is the default entry.
export function editTableColumns(columns, width, edit) {
  for (const key of ['align', 'widths']) {
    const list = columns[key];
    if (!list.length) continue;
    while (list.length < width) list.push(DEFAULT[key]);
    edit(list, DEFAULT[key]);
  }
  return columns;
}

// Takes the lists off `from` and puts them on `to` (a row that became first).
export function moveTableColumns(from, to) {
  if (from === to) return;
  const columns = readTableColumns(from);
  writeTableColumns(from, { align: [], widths: [] });
  writeTableColumns(to, columns);
}
