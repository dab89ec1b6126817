#include "convert/writer_input.h"

#include "convert/json_guard.h"
#include "model/model_access.h"

#include <cstdlib>
#include <string>

namespace qorva::convert {

Json parseWriterInput(std::string_view text) {
    checkJsonDepth(text);
    Json model = parseModel(text);
    for (std::size_t i = kFirstBlock; i < model.size(); ++i) {
        const int level = blockLevel(model[i]);
        if (std::abs(level) > kMaxBlockLevel) {
            throw ConverterError("malformed model: block " + std::to_string(i - kFirstBlock) + " has level " +
                                 std::to_string(level) + ", beyond the supported " +
                                 std::to_string(kMaxBlockLevel));
        }
    }
    return model;
}

std::string verbatimText(const Json& block, bool strict) {
    std::string text;
    for (std::size_t i = 0; i < spanCount(block); ++i) {
        const Json& span = blockSpan(block, i);
        const std::string& tag = spanTag(span);
        if (strict && tag != "plain" && tag != "break") {
            throw ConverterError("malformed model: a \"" + blockTag(block) + "\" block holds a \"" + tag + "\" span");
        }
        text += spanText(span);
    }
    return text;
}

}  // namespace qorva::convert
