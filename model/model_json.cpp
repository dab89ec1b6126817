#include "model_json.h"

namespace qorva {

Json parseJson(std::string_view text) {
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& e) {
        // Syntax errors, and numbers too large to hold (out_of_range), alike.
        throw ConverterError(std::string("invalid JSON: ") + e.what());
    }
}

std::string dumpCompact(const Json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace qorva
