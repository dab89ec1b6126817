// Translation between the two JSON forms of Pandoc's syntax tree. The converters
// work on the 1.11 form: [{"docTitle":..,"docAuthors":..,"docDate":..}, blocks], every
// element an object {"Constructor": contents} or a bare "Constructor" string.
// Current Pandoc (pandoc-types 1.17 to 1.23) writes {"pandoc-api-version": [..],
// "meta": {..}, "blocks": [..]} with elements {"t": .., "c": ..}.
#pragma once

#include "model/model_json.h"

#include <string>
#include <vector>

namespace qorva::convert {

struct PandocApi {
    std::vector<int> version;  // e.g. {1, 22} or {1, 22, 2, 1}; {1, 11} for the 1.11 form
    bool legacy() const { return version.size() >= 2 && version[0] == 1 && version[1] < 17; }
    int minor() const { return version.size() >= 2 ? version[1] : 0; }
};

// Reads the options text of the Pandoc writer: absent or without "api" means 1.11.
// Throws ConverterError on broken JSON or an unsupported version.
PandocApi parsePandocApiOptions(const char* options);

// True when `document` has the shape of current Pandoc's JSON.
bool isCurrentPandocForm(const Json& document);

// Current form to 1.11 form. What 1.11 cannot express keeps its content: Div and
// Span give their children, Figure its content and caption, Underline its text,
// LineBlock a paragraph with line breaks, SoftBreak a space. Unknown constructors
// are left out, as the reader would leave them out anyway.
Json toLegacyPandoc(const Json& document);

// 1.11 form (as the writer produces it) to the current form of `api`.
Json fromLegacyPandoc(const Json& document, const PandocApi& api);

}  // namespace qorva::convert
