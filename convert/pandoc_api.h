// The Pandoc dialect the writer is asked for, and the translation of its output
// from the 1.11 form to current Pandoc's. The converters
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

// 1.11 form (as the writer produces it) to the current form of `api`.
Json fromLegacyPandoc(const Json& document, const PandocApi& api);

}  // namespace qorva::convert
