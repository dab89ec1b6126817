// Helpers shared by the converter suites.
#pragma once

#include "model/model_json.h"

#include <string>

namespace qorva::convert::testing {

// The message of the ConverterError that `call` throws, or "(no error)".
template <class Call>
std::string errorOf(Call&& call) {
    try {
        call();
    } catch (const ConverterError& e) {
        return e.what();
    }
    return "(no error)";
}

// A model document of the blocks `blocks` (written without the root and its comma).
inline std::string textModel(const std::string& blocks) {
    return R"(["text")" + (blocks.empty() ? "" : "," + blocks) + "]";
}

}  // namespace qorva::convert::testing
