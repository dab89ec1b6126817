// The page's entry. It builds the editor on the page's root, ties it to the
// shell and the browser, and puts on window what is called by name: the page
// functions the shell calls (window[name](...)) and onImageError, which image
// elements call from their onerror attribute.
import { BlockStore } from './block-store.js';
import {
  styleWordCode, styleWordEmphasis, styleWordLink, styleWordMath, styleWordPlain, styleWordReference,
  styleWordStrike, styleWordStrong, styleWordSubscript, styleWordSuperscript, styleWordUrl,
} from './character-styles.js';
import { copy, cut, getSelectedText, paste } from './clipboard.js';
import { getCharCount, getCharCountSelected, getCounts, getWordCount, getWordCountSelected } from './counts.js';
import { editor, setCurrentEditor } from './current-editor.js';
import { Editor } from './editor.js';
import { installInputGuard } from './input-guard.js';
import { ListNumbering } from './list-numbering.js';
import {
  followLink, getImageDescription, insertFootnote, insertHorizontalRule, insertHyperlink, insertImage, moveCaretToPoint,
  setImageDescription,
} from './notes-links-images.js';
import { getOutline, getOutlineCurrent, goToBlock } from './outline.js';
import { prepareForPrinting } from './formulas.js';
import { RenderedView } from './rendered-view.js';
import { connectHost, installPageEvents } from './page-events.js';
import {
  deleteBackward, deleteForward, deleteWordBackward, deleteWordForward, enterNavigationMode, getTextJson,
  indentParagraph, insertBacktab, insertLineBreak, insertNewline, insertTab, leaveNavigationMode,
  moveBackward, moveDown, moveForward, moveToBeginningOfParagraph, moveToEndOfDocument, moveToEndOfParagraph, moveUp, onImageError,
  redo, scrollToSelection, setBaseUrl, setTextJson, setThemeCss, setZoomFactor, undo,
  unindentParagraph,
} from './page-functions.js';
import {
  setLTR, setRTL, shiftParagraphDown, shiftParagraphLeft, shiftParagraphRight, shiftParagraphUp,
} from './paragraph-moves.js';
import {
  getCodeInfo, setCodeInfo, styleParagraphBulleted, styleParagraphCode, styleParagraphComment,
  styleParagraphDefinition, styleParagraphHeading1, styleParagraphHeading2, styleParagraphHeading3,
  styleParagraphHeading4, styleParagraphHeading5, styleParagraphHeading6, styleParagraphHtml, styleParagraphImage,
  styleParagraphMath, styleParagraphNote, styleParagraphNumbered, styleParagraphPlain, styleParagraphQuotation,
  styleParagraphTerm, styleParagraphTex,
} from './paragraph-styles.js';
import { getRecoveryJson } from './recovery-copy.js';
import { continueSearch, prepareSearch, startSearch } from './search.js';
import { replaceAll, replaceMatch, setSearchOptions } from './search-replace.js';
import {
  insertTable, insertTableColumnAfter, insertTableColumnBefore, insertTableRowAfter, insertTableRowBefore,
  removeTableColumn, removeTableRow,
} from './table-commands.js';
import { getViewPosition, setViewPosition } from './view-position.js';
import { installWritingModes, setFocusMode, setTypewriterMode } from './writing-modes.js';

// Called by the shell by name.
const pageFunctions = {
  setTextJson, getTextJson, getRecoveryJson, getViewPosition, setViewPosition,
  undo, redo, scrollToSelection, setZoomFactor, enterNavigationMode, leaveNavigationMode,
  setThemeCss, setBaseUrl,
  insertNewline, insertLineBreak, insertTab, insertBacktab,
  deleteBackward, deleteWordBackward, deleteForward, deleteWordForward,
  moveBackward, moveForward, moveUp, moveDown, moveToBeginningOfParagraph, moveToEndOfParagraph, moveToEndOfDocument,
  indentParagraph, unindentParagraph,
  shiftParagraphUp, shiftParagraphDown, shiftParagraphLeft, shiftParagraphRight, setLTR, setRTL,
  styleParagraphPlain, styleParagraphHeading1, styleParagraphHeading2, styleParagraphHeading3,
  styleParagraphBulleted, styleParagraphNumbered, styleParagraphCode, styleParagraphMath,
  styleParagraphNote, styleParagraphImage, styleParagraphQuotation, styleParagraphComment,
  styleParagraphHeading4, styleParagraphHeading5, styleParagraphHeading6, styleParagraphHtml, styleParagraphTex,
  styleParagraphTerm, styleParagraphDefinition, setCodeInfo, getCodeInfo,
  styleWordPlain, styleWordEmphasis, styleWordStrong, styleWordCode, styleWordMath, styleWordUrl,
  styleWordLink, styleWordReference, styleWordStrike, styleWordSuperscript, styleWordSubscript,
  insertTable, insertTableRowBefore, insertTableRowAfter, insertTableColumnBefore,
  insertTableColumnAfter, removeTableRow, removeTableColumn,
  insertFootnote, followLink, insertHyperlink, insertImage, moveCaretToPoint, insertHorizontalRule, getImageDescription,
  setImageDescription,
  copy, cut, paste, getSelectedText,
  getCharCount, getWordCount, getCharCountSelected, getWordCountSelected, getCounts,
  prepareSearch, startSearch, continueSearch, setSearchOptions, replaceMatch, replaceAll,
  getOutline, getOutlineCurrent, goToBlock, setFocusMode, setTypewriterMode, prepareForPrinting,
};

// Named in the onerror attribute of the page's own picture elements.
const markupHandlers = { onImageError };

function initEditor(element) {
  const store = new BlockStore(element);
  setCurrentEditor(new Editor(store));
  new ListNumbering(element);
  new RenderedView(element);
  editor.setTextJson('["text"]');
}

(function startPage() {
  Object.assign(window, pageFunctions, markupHandlers);
  installInputGuard();
  initEditor(document.getElementById('doc'));
  connectHost(editor);
  installPageEvents(editor);
  installWritingModes();
})();
