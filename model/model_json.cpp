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

Json makeBlock(std::string_view tag, int level, bool rtl) {
    Json attributes = Json::object();
    attributes["level"] = level;
    if (rtl) attributes["direction"] = "rtl";
    return Json::array({Json(std::string(tag)), std::move(attributes)});
}

Json makeSpan(std::string_view tag, std::string_view text) {
    return Json::array({Json(std::string(tag)), Json(std::string(text))});
}

}  // namespace qorva
