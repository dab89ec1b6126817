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

bool smartOption(const Json& parsed) {
    auto smart = parsed.find("smart");
    if (smart != parsed.end() && !smart->is_boolean()) throw ConverterError("invalid options: \"smart\" must be true or false");
    return smart == parsed.end() || smart->get<bool>();
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

bool parsePandocReaderOptions(const char* options) { return !options || smartOption(parseOptionsObject(options)); }

PandocApi parsePandocApiOptions(const char* options) {
    if (!options) return PandocApi{{1, 11}};
    const Json parsed = parseOptionsObject(options);
    auto headerRow = parsed.find("headerRow");
    if (headerRow != parsed.end() && !headerRow->is_boolean()) {
        throw ConverterError("invalid options: \"headerRow\" must be true or false");
    }
    const bool firstRowIsHeader = headerRow != parsed.end() && headerRow->get<bool>();
    const bool smartFlavour = smartOption(parsed);
    auto api = parsed.find("api");
    if (api == parsed.end()) return PandocApi{{1, 11}, firstRowIsHeader, smartFlavour};
    if (!api->is_string()) throw ConverterError("invalid options: \"api\" must be a version text such as \"1.22\"");
    const std::string text = api->get<std::string>();
    PandocApi result{parseVersion(text), firstRowIsHeader, smartFlavour};
    const bool supported = result.version.size() >= 2 && result.version[0] == 1 &&
                           (result.version[1] == 11 || (result.version[1] >= 17 && result.version[1] <= 23));
    if (!supported) {
        throw ConverterError("unsupported Pandoc API version \"" + text + "\" (supported: 1.11, 1.17 to 1.23)");
    }
    return result;
}

}  // namespace qorva::convert
