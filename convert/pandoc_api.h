// The Pandoc dialect the writer is asked for. Pandoc 1.11's form is
// [{"docTitle":..,"docAuthors":..,"docDate":..}, blocks], every element an object
// {"Constructor": contents} or a bare "Constructor" string. Current Pandoc
// (pandoc-types 1.17 to 1.23) writes {"pandoc-api-version": [..], "meta": {..},
// "blocks": [..]} with elements {"t": .., "c": ..}. Reading either: pandoc_import.h;
// writing either: pandoc_json_out.h.
#pragma once

#include <string>
#include <vector>

namespace qorva::convert {

struct PandocApi {
    std::vector<int> version;  // e.g. {1, 22} or {1, 22, 2, 1}; {1, 11} for the 1.11 form
    bool headerRow = false;    // a table's first row is its header (for pipe tables)
    bool headerAlone = true;   // the flavour reads a table of a header row alone as a table
    bool divsAndSpans = false; // HTML division and span tags as the reader keeps them become a Div and a Span
    bool citations = true;     // "@doe" in the text is a citation (the flavour has them: not GitHub Markdown)
    bool blockAfterText = false;  // a code block or quotation right after a line of text is one (GitHub Markdown)
    bool emptyRows = true;     // an empty table row reads back as one (not in Pandoc Markdown, where it ends the table)
    bool legacy() const { return version.size() >= 2 && version[0] == 1 && version[1] < 17; }
    int minor() const { return version.size() >= 2 ? version[1] : 0; }
};

// Reads the options text of the Pandoc writer: absent or without "api" means 1.11;
// "headerRow": true makes each table's first row its header row; "headerAlone": false says it reads a table of a header row alone as something else
// (Pandoc Markdown), so a table of one row goes without a header; "divsAndSpans": true
// makes the HTML tags of a division or span, as the reader keeps them, a Div or Span again;
// "citations": false for a flavour without citations leaves "@doe" text; "blockAfterText":
// true for a flavour that reads a code block or quotation right after a line of text as
// one (GitHub Markdown; Pandoc Markdown reads a fence there as inline code); "emptyRows":
// false for a flavour where an empty table row ends the table (Pandoc Markdown) leaves
// such rows out of the body.
// Throws ConverterError on broken JSON or an unsupported version.
PandocApi parsePandocApiOptions(const char* options);

// What the Pandoc reader is told of the flavour Pandoc read.
struct PandocReading {
    bool leftAlignment = true;  // a left-aligned table column is told from a default one
    bool divsAndSpans = false;  // divisions and spans are the document's own, kept as their HTML tags
    bool blankLinesLoosen = false;  // a blank line between the blocks of a list item makes the list loose (GitHub Markdown)
    bool emptyRows = true;  // an empty row of a table's body reads back (not in Pandoc Markdown)
};

// Reads the options text of the Pandoc reader: "leftAlignment" and "emptyRows"
// (absent: true), "divsAndSpans" and "blankLinesLoosen" (absent: false). Throws ConverterError on broken JSON.
PandocReading parsePandocReaderOptions(const char* options);

}  // namespace qorva::convert
