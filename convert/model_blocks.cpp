#include "convert/model_blocks.h"

#include "convert/json_guard.h"
#include "model/model_json.h"

#include <cstdlib>
#include <string>

namespace qorva::convert {
namespace {

[[noreturn]] void fail(std::size_t block, const std::string& what) {
    throw ConverterError("block " + std::to_string(block) + ": " + what);
}

int readLevel(const Json& attributes, std::size_t index) {
    auto found = attributes.find("level");
    if (found == attributes.end()) fail(index, "missing \"level\"");
    if (!found->is_number_integer()) fail(index, "\"level\" is not an integer");
    const auto level = found->get<long long>();
    if (std::llabs(level) > kMaxBlockLevel) {
        fail(index, "level " + std::to_string(level) + " is out of range (at most " +
                        std::to_string(kMaxBlockLevel) + ")");
    }
    return static_cast<int>(level);
}

Block readBlock(const Json& value, std::size_t index) {
    if (!value.is_array() || value.size() < 2) fail(index, "a block must be [tag, attributes, spans...]");
    if (!value[0].is_string()) fail(index, "the block tag is not a string");
    if (!value[1].is_object()) fail(index, "the block attributes are not an object");
    Block block;
    block.tag = value[0].get<std::string>();
    block.level = readLevel(value[1], index);
    auto direction = value[1].find("direction");
    block.rtl = direction != value[1].end() && direction->is_string() && *direction == "rtl";
    block.spans.reserve(value.size() - 2);
    for (std::size_t i = 2; i < value.size(); ++i) {
        const Json& span = value[i];
        if (!span.is_array() || span.size() != 2 || !span[0].is_string() || !span[1].is_string()) {
            fail(index, "span " + std::to_string(i - 2) + " is not [tag, text]");
        }
        block.spans.push_back({span[0].get<std::string>(), span[1].get<std::string>()});
    }
    return block;
}

}  // namespace

ModelDocument parseModel(std::string_view json) {
    const Json value = parseGuarded(json);
    if (!value.is_array() || value.empty() || !value[0].is_string() ||
        (value[0] != "text" && value[0] != "inline")) {
        throw ConverterError("model JSON must be an array with the root tag \"text\" or \"inline\"");
    }
    ModelDocument document;
    document.root = value[0].get<std::string>();
    document.blocks.reserve(value.size() - 1);
    for (std::size_t i = 1; i < value.size(); ++i) document.blocks.push_back(readBlock(value[i], i - 1));
    return document;
}

std::string serializeModel(std::string_view root, const std::vector<Block>& blocks) {
    Json out = Json::array();
    out.push_back(std::string(root));
    for (const Block& block : blocks) {
        Json item = Json::array();
        item.push_back(block.tag);
        Json attributes = Json::object();
        attributes["level"] = block.level;
        if (block.rtl) attributes["direction"] = "rtl";
        item.push_back(std::move(attributes));
        for (const Span& span : block.spans) item.push_back(Json::array({span.tag, span.text}));
        out.push_back(std::move(item));
    }
    return dumpCompact(out);
}

}  // namespace qorva::convert
