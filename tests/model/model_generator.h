// Random documents of the kind the editor produces, for property tests: every block
// tag and level in range, every span tag, breaks, right-to-left blocks, tables, notes
// and links, loose items, list starts, lists and code in quotations, column alignments and widths, non-ASCII and astral text, text made mostly
// of mark-up characters. Texts the format cannot say at all are left out; each such
// case has a test of its own in round_trip_exceptions_test.cpp.
#pragma once

#include "model/model_json.h"

#include <random>

namespace qorva::testing {

struct GeneratorOptions {
    // Content that looks like the format's own mark-up: fence lines of every length in
    // code, "$" lines in math, bars and dashes in cells, and lines after a break that
    // start with spaces or look like headings, items, notes, definitions, underlines,
    // dividers, tables, images or fences.
    bool hostile = false;
};

Json generateDocument(std::mt19937& random, const GeneratorOptions& options);

}  // namespace qorva::testing
