// Where two models first differ, to make a failed comparison readable.
#pragma once

#include "model/model_json.h"

#include <algorithm>
#include <string>

namespace qorva::testing {

// The first block that differs, shown from a little before its first differing character.
inline std::string firstDifference(const std::string& expected, const std::string& actual) {
    Json a, b;
    try {
        a = Json::parse(expected), b = Json::parse(actual);
    } catch (...) {
        return "(not JSON) " + actual.substr(0, 300);
    }
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i].dump() : "(none)", y = i < b.size() ? b[i].dump() : "(none)";
        if (x == y) continue;
        std::size_t at = std::mismatch(x.begin(), x.begin() + std::min(x.size(), y.size()), y.begin()).first - x.begin();
        at = at > 120 ? at - 120 : 0;
        return "block " + std::to_string(i) + "\n      was  ..." + x.substr(at, 300) + "\n      now  ..." + y.substr(at, 300);
    }
    return "(none)";
}

}  // namespace qorva::testing
