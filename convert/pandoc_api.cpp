#include "convert/pandoc_api.h"

#include "model/json_guard.h"

#include <charconv>

namespace qorva::convert {
namespace {

std::vector<int> parseVersion(std::string_view text) {
    std::vector<int> parts;
    while (true) {
        int value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end == text.data()) return {};
        parts.push_back(value);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        if (text.empty()) return parts;
        if (text.front() != '.') return {};
        text.remove_prefix(1);
    }
}

bool booleanOption(const Json& parsed, const char* name, bool absent) {
    auto value = parsed.find(name);
    if (value != parsed.end() && !value->is_boolean())
        throw ConverterError(std::string("invalid options: \"") + name + "\" must be true or false");
    return value == parsed.end() ? absent : value->get<bool>();
}

Json parseOptionsObject(const char* options) {
    Json parsed;
    try {
        parsed = parseGuarded(options);
    } catch (const ConverterError& e) {
        throw ConverterError(std::string("invalid options: ") + e.what());
    }
    if (!parsed.is_object()) throw ConverterError("invalid options: expected a JSON object");
    return parsed;
}

}  // namespace

PandocReading parsePandocReaderOptions(const char* options) {
    if (!options) return {};
    const Json parsed = parseOptionsObject(options);
    return {booleanOption(parsed, "leftAlignment", true), booleanOption(parsed, "divsAndSpans", false),
            booleanOption(parsed, "blankLinesLoosen", false), booleanOption(parsed, "emptyRows", true)};
}

PandocApi parsePandocApiOptions(const char* options) {
    if (!options) return PandocApi{{1, 11}};
    const Json parsed = parseOptionsObject(options);
    PandocApi result{{1, 11},
                     booleanOption(parsed, "headerRow", false),
                     booleanOption(parsed, "headerAlone", true),
                     booleanOption(parsed, "divsAndSpans", false),
                     booleanOption(parsed, "citations", true),
                     booleanOption(parsed, "blockAfterText", false),
                     booleanOption(parsed, "emptyRows", true)};
    auto api = parsed.find("api");
    if (api == parsed.end()) return result;
    if (!api->is_string()) throw ConverterError("invalid options: \"api\" must be a version text such as \"1.22\"");
    const std::string text = api->get<std::string>();
    result.version = parseVersion(text);
    const bool supported = result.version.size() >= 2 && result.version[0] == 1 &&
                           (result.version[1] == 11 || (result.version[1] >= 17 && result.version[1] <= 23));
    if (!supported) {
        throw ConverterError("unsupported Pandoc API version \"" + text + "\" (supported: 1.11, 1.17 to 1.23)");
    }
    return result;
}

}  // namespace qorva::convert
