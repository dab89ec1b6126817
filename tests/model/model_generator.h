// Random documents of the kind the editor produces, for property tests: every block
// tag and level in range, every span tag, breaks, right-to-left blocks, tables, notes
// and links, non-ASCII and astral text, text made mostly of mark-up characters. Texts
// the format cannot say at all are left out; each such case has a test of its own in
// round_trip_exceptions_test.cpp.
#pragma once

#include "model/model_json.h"

#include <random>

namespace qorva::testing {

struct GeneratorOptions {
    // With wrap on, texts have no doubled spaces (filling cannot keep them).
    bool doubledSpaces = true;
};

Json generateDocument(std::mt19937& random, const GeneratorOptions& options);

}  // namespace qorva::testing
