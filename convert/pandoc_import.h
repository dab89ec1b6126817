// Reading Pandoc JSON of either form. The reader works on the 1.11 form; current
// Pandoc's form (pandoc-types 1.17 to 1.23) is translated into it in memory first.
// What 1.11 cannot express keeps its content: Div and Span give their children,
// Figure its content and caption, Underline its text, LineBlock a paragraph with
// line breaks, SoftBreak a space. Unknown constructors are left out, as the reader
// would leave them out anyway.
#pragma once

#include "convert/pandoc_tree.h"

#include <simdjson.h>

#include <string>
#include <string_view>

namespace qorva::convert {

// Parses `text` with `parser` (the result lives until its next parse). Throws
// ConverterError on text that is not JSON or nests deeper than the parser allows.
simdjson::dom::element parseJsonText(simdjson::dom::parser& parser, std::string_view text);

// True for a document in current Pandoc's form: an object with "blocks".
bool isCurrentPandocForm(simdjson::dom::element document);

// Writes a document in current Pandoc's form into `into` as the same document in the 1.11 form. Its
// strings point into the parser that gave `document`. Throws ConverterError where the
// translation needs a shape it does not find.
// `spans`: the document's own spans are kept
// as the reader's "Span" element, [attributes, inlines], outside link texts, picture
// descriptions and citations (else only their inlines).
void translateToLegacyPandoc(simdjson::dom::element document, PandocTree& into, bool spans = false);

}  // namespace qorva::convert
