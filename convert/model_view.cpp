#include "convert/model_view.h"

#include "convert/json_guard.h"
#include "model/model_access.h"

#include <cstdlib>

namespace qorva::convert {
namespace {

[[noreturn]] void fault(std::size_t block, const std::string& what) {
    throw ConverterError("malformed model: block " + std::to_string(block) + " " + what);
}

bool keepsSpansInOutline(std::string_view tag) { return tag == "link" || tag == "note"; }

}  // namespace

ModelView::ModelView(std::string_view json) {
    simdjson::dom::element root;
    if (auto error = parser_.parse(json.data(), json.size()).get(root)) {
        if (error == simdjson::DEPTH_ERROR) {
            throw ConverterError("input nested deeper than " + std::to_string(simdjson::DEFAULT_MAX_DEPTH) + " levels");
        }
        throw ConverterError(std::string("invalid JSON: ") + simdjson::error_message(error));
    }
    simdjson::dom::array top;
    std::string_view rootTag;
    if (root.get_array().get(top) || top.size() == 0 || top.at(0).get_string().get(rootTag) ||
        (rootTag != "text" && rootTag != "inline")) {
        throw ConverterError("malformed model: the root is not an array starting with \"text\" or \"inline\"");
    }
    outline_ = Json::array({std::string(rootTag)});
    blocks_.reserve(top.size() - 1);
    std::size_t index = 0;
    bool first = true;
    for (simdjson::dom::element value : top) {
        if (first) {
            first = false;
            continue;
        }
        simdjson::dom::array block;
        if (value.get_array().get(block)) fault(index, "is not an array");
        BlockView view;
        simdjson::dom::object attributes;
        std::int64_t level = 0;
        auto item = block.begin();
        if (block.size() < 2) fault(index, "has no attributes");
        if ((*item).get_string().get(view.tag)) fault(index, "has a tag that is not a string");
        ++item;
        if ((*item).get_object().get(attributes)) fault(index, "has attributes that are not an object");
        auto levelValue = attributes["level"];
        if (levelValue.error() == simdjson::NO_SUCH_FIELD) fault(index, "has no level");
        if (levelValue.get_int64().get(level)) fault(index, "has a level that is not an integer");
        if (std::llabs(level) > kMaxBlockLevel) {
            fault(index, "has level " + std::to_string(level) + ", beyond the supported " +
                             std::to_string(kMaxBlockLevel));
        }
        view.level = static_cast<int>(level);
        std::string_view direction;
        view.rtl = !attributes["direction"].get_string().get(direction) && direction == "rtl";
        view.firstSpan = static_cast<std::uint32_t>(spans_.size());
        for (++item; item != block.end(); ++item) {
            simdjson::dom::array span;
            SpanView spanView;
            auto spanFault = [&](const char* what) {
                fault(index, "span " + std::to_string(spans_.size() - view.firstSpan) + " " + what);
            };
            if ((*item).get_array().get(span) || span.size() != 2) spanFault("is not [tag, text]");
            if (span.at(0).get_string().get(spanView.tag)) spanFault("has a tag that is not a string");
            if (span.at(1).get_string().get(spanView.text)) spanFault("has a text that is not a string");
            spans_.push_back(spanView);
        }
        view.spanCount = static_cast<std::uint32_t>(spans_.size() - view.firstSpan);
        Json outlineBlock = makeBlock(view.tag, view.level, view.rtl);
        if (keepsSpansInOutline(view.tag)) {
            for (const SpanView& span : spans(view)) outlineBlock.push_back(makeSpan(span.tag, span.text));
        }
        outline_.push_back(std::move(outlineBlock));
        blocks_.push_back(view);
        ++index;
    }
}

const BlockView& ModelView::blockOf(const Json* outlineBlock) const {
    return blocks_[static_cast<std::size_t>(outlineBlock - &outline_[kFirstBlock])];
}

std::string verbatimText(const ModelView& model, const BlockView& block, bool strict) {
    std::string text;
    for (const SpanView& span : model.spans(block)) {
        if (strict && span.tag != "plain" && span.tag != "break") {
            throw ConverterError("malformed model: a \"" + std::string(block.tag) + "\" block holds a \"" +
                                 std::string(span.tag) + "\" span");
        }
        text += span.text;
    }
    return text;
}

}  // namespace qorva::convert
