// Plain text to model JSON, nothing interpreted: every line becomes a paragraph
// holding the line as it is.
#include "convert/converters.h"
#include "convert/model_blocks.h"

namespace qorva::convert {

std::string ReadPlainText(std::string_view input, const char* /*options*/) {
    if (input.find_first_of("\r\n") == std::string_view::npos) {
        return serializeModel("inline", {Block{"para", 0, false, {{"plain", std::string(input)}}}});
    }
    // A CR LF pair counts as two line ends, like a lone CR or LF.
    std::vector<Block> blocks;
    std::size_t start = 0;
    while (start <= input.size()) {
        const std::size_t end = input.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            if (start < input.size()) {
                blocks.push_back({"para", 0, false, {{"plain", std::string(input.substr(start))}}});
            }
            break;
        }
        blocks.push_back({"para", 0, false, {{"plain", std::string(input.substr(start, end - start))}}});
        start = end + 1;
    }
    return serializeModel("text", blocks);
}

}  // namespace qorva::convert
