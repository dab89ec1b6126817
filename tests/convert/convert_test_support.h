// Helpers shared by the converter suites.
#pragma once

#include "model/model_json.h"

#include <ostream>
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

// A case of a table-driven writer suite: the model's blocks (without the root) and what is written.
struct WriterCase {
    const char* name;
    std::string blocks;
    std::string written;
};

inline void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }

}  // namespace qorva::convert::testing
