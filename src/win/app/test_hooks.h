// A way for the window tests to read the document back: when QORVA_TEST_DOCUMENT_OUT
// names a file, the document's model JSON is written there whenever it changed.
// Without that variable nothing happens.
#pragma once

namespace qorva {

class CEditorView;

void WriteDocumentForTests(CEditorView& view);

}  // namespace qorva
