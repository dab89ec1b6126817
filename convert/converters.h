// The interchange converters. Each takes one UTF-8 text (and an options text or
// nullptr) and returns another; each throws qorva::ConverterError on input it cannot
// handle. The converter host dispatches to these.
#pragma once

#include <string>
#include <string_view>

namespace qorva::convert {

// Pandoc JSON (the 1.11 form or the object form of pandoc-types 1.17 to 1.23) to model JSON.
// Options: {"leftAlignment": false} when it does not tell a left-aligned table column from a
// default one (Pandoc Markdown): left reads as the default; {"divsAndSpans": true}
// keeps each Div and Span as the HTML tags around its contents (model/README.md), else
// only the contents; {"blankLinesLoosen": true} when a blank line between the blocks of
// a list item makes the list loose (GitHub Markdown); {"emptyRows": false} when an empty
// row of a table's body does not read back (Pandoc Markdown): such rows are left out.
std::string ReadPandocJson(std::string_view input, const char* options);

// Model JSON to Pandoc JSON. Options: {"api":"1.11"} (the default, also when absent)
// or {"api":"<pandoc-types version>"}, 1.17 to 1.23; "headerRow": true writes each
// table's first row as its header row; "headerAlone": false for a
// flavour that reads a table of a header row alone as something else (one-row tables
// then go without a header); "divsAndSpans": true makes the HTML tags of a division or
// span, as the Pandoc reader keeps them, a Div or Span again; "citations": false for a
// flavour without citations (GitHub Markdown, MultiMarkdown) writes "@doe" as text;
// "blockAfterText": true for a flavour that reads a code block or quotation right after
// a line of text as one (GitHub Markdown), where a tight item's text may have one.
std::string WritePandocJson(std::string_view input, const char* options);

// Unformatted text to model JSON: a fragment without line ends, else one paragraph a line.
std::string ReadPlainText(std::string_view input, const char* options);

// Model JSON to an HTML body with footnotes.
std::string WriteHtml(std::string_view input, const char* options);

// Model JSON to a LaTeX body.
std::string WriteLatex(std::string_view input, const char* options);

}  // namespace qorva::convert
