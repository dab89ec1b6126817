// The formula and code libraries (KaTeX, highlight.js) and the formula style
// sheet are most of the page's weight. They are in the page as inert text (a
// script element of a type the engine does not run, a template) and are made
// live when first needed, so that opening the page does not parse them: the
// style sheet is put into the head and the libraries' script (its own bundle,
// libraries-bundle.js) is run as a function that returns them.
let loaded = null;

export function formulaLibraries() {
  if (loaded) return loaded;
  const style = document.getElementById('formula-style');
  if (style) document.head.insertBefore(style.content.cloneNode(true), style);
  const source = document.getElementById('formula-libraries');
  // eslint-disable-next-line no-new-func
  loaded = new Function(source.textContent + '\nreturn formulaLibraries;')();
  return loaded;
}

export function formulaLibrariesLoaded() {
  return loaded !== null;
}
