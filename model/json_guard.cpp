#include "model/json_guard.h"

#include <string>

namespace qorva {

void checkJsonDepth(std::string_view text, std::size_t limit) {
    std::size_t depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;  // skip the escaped character, which may be a quote
            else if (c == '"') inString = false;
            continue;
        }
        switch (c) {
            case '"':
                inString = true;
                break;
            case '[':
            case '{':
                if (++depth > limit) {
                    throw ConverterError("input nested deeper than " + std::to_string(limit) +
                                         " levels (offset " + std::to_string(i) + ")");
                }
                break;
            case ']':
            case '}':
                if (depth > 0) --depth;
                break;
            default:
                break;
        }
    }
}

Json parseGuarded(std::string_view text) {
    checkJsonDepth(text);
    return parseJson(text);
}

}  // namespace qorva
