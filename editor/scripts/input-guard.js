// Content enters the page only by typing and by the program's own paste (the
// shell reads the clipboard and calls paste()). The browser's own ways in, a
// paste event from a middle click or a Paste key, a drop, its own cut, undo or
// formatting, would put markup into the blocks that the model cannot read back,
// so the page refuses them; the shell keeps them away in the first place.

const BROWSER_EDITS = /^(insertFrom(Paste|PasteAsQuotation|Drop|Yank)|deleteBy(Drag|Cut)|history(Undo|Redo)|format)/;

function refuseBrowserEdit(event) {
  event.preventDefault();
  event.stopImmediatePropagation();
}

export function installInputGuard() {
  for (const name of ['paste', 'cut']) document.addEventListener(name, refuseBrowserEdit, true);
  document.addEventListener('beforeinput', function (event) {
    if (BROWSER_EDITS.test(event.inputType)) refuseBrowserEdit(event);
  }, true);
}
