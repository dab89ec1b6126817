#include "model/model_access.h"

#include <limits>

namespace qorva {
namespace {

[[noreturn]] void fault(const std::string& what) { throw ConverterError("malformed model: " + what); }

void checkSpan(const Json& span, std::size_t blockIndex, std::size_t spanIndex) {
    const std::string where = "block " + std::to_string(blockIndex) + ", span " + std::to_string(spanIndex);
    if (!span.is_array()) fault(where + " is not an array");
    if (span.size() != 2) fault(where + " does not have exactly two elements");
    if (!span[0].is_string()) fault(where + " has a tag that is not a string");
    if (!span[1].is_string()) fault(where + " has a text that is not a string");
}

void checkBlock(const Json& block, std::size_t index) {
    const std::string where = "block " + std::to_string(index);
    if (!block.is_array()) fault(where + " is not an array");
    if (block.size() < 2) fault(where + " has no attributes");
    if (!block[0].is_string()) fault(where + " has a tag that is not a string");
    const Json& attributes = block[1];
    if (!attributes.is_object()) fault(where + " has attributes that are not an object");
    auto level = attributes.find("level");
    if (level == attributes.end()) fault(where + " has no level");
    if (!level->is_number_integer()) fault(where + " has a level that is not an integer");
    const auto value = level->get<std::int64_t>();
    if (value < std::numeric_limits<int>::min() / 4 || value > std::numeric_limits<int>::max() / 4)
        fault(where + " has a level out of range");
    for (std::size_t i = kFirstSpan; i < block.size(); ++i) checkSpan(block[i], index, i - kFirstSpan);
}

}  // namespace

Json parseModel(std::string_view text) {
    Json model = parseJson(text);
    checkModel(model);
    return model;
}

void checkModel(const Json& model) {
    if (!model.is_array() || model.empty() || !model[0].is_string())
        fault("the root is not an array starting with \"text\" or \"inline\"");
    const std::string& root = model[0].get_ref<const std::string&>();
    if (root != "text" && root != "inline") fault("unknown root tag \"" + root + "\"");
    for (std::size_t i = kFirstBlock; i < model.size(); ++i) checkBlock(model[i], i - kFirstBlock);
}

int blockLevel(const Json& block) { return static_cast<int>(block[1]["level"].get<std::int64_t>()); }

bool blockIsRtl(const Json& block) {
    const Json& attributes = block[1];
    auto direction = attributes.find("direction");
    return direction != attributes.end() && direction->is_string() && *direction == "rtl";
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
