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
    bool smart = true;         // the flavour reads "e.g. x" with a no-break space (Pandoc Markdown)
    bool legacy() const { return version.size() >= 2 && version[0] == 1 && version[1] < 17; }
    int minor() const { return version.size() >= 2 ? version[1] : 0; }
};

// Reads the options text of the Pandoc writer: absent or without "api" means 1.11;
// "headerRow": true makes each table's first row its header row; "smart": false says
// the flavour reads a space after an abbreviation as any other (GitHub Markdown).
// Throws ConverterError on broken JSON or an unsupported version.
PandocApi parsePandocApiOptions(const char* options);

// Reads the options text of the Pandoc reader: whether the flavour read was "smart"
// (absent: true). Throws ConverterError on broken JSON.
bool parsePandocReaderOptions(const char* options);

}  // namespace qorva::convert
