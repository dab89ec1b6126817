#include "convert/writer_model.h"

#include "model/json_guard.h"
#include "model/level_range.h"
#include "model/model_json.h"

#include <cstdlib>

namespace qorva::convert {

ModelView readWriterModel(std::string_view json) {
    ModelView model = readModelView(json);
    for (std::size_t i = 0; i < model.blocks.size(); ++i) {
        const long level = model.blocks[i].level;
        if (std::labs(level) > kMaxBlockLevel) {
            throw ConverterError("malformed model: block " + std::to_string(i) + " has level " + std::to_string(level) +
                                 ", beyond the supported " + std::to_string(kMaxBlockLevel));
        }
        // Each level is a nested list or quotation in the output: a model jumping
        // between shallow and deep levels would open and close hundreds per block.
        model.blocks[i].level = static_cast<int>(clampLevel(model.tag(model.blocks[i]), level));
    }
    return model;
}

std::string verbatimText(const ModelView& model, const ModelBlock& block, bool strict) {
    std::string text;
    for (const ModelSpan& span : model.spansOf(block)) {
        if (strict && span.kind != SpanKind::Plain && span.kind != SpanKind::Break) {
            throw ConverterError("malformed model: a \"" + std::string(model.tag(block)) + "\" block holds a \"" +
                                 std::string(model.tag(span)) + "\" span");
        }
        text += model.text(span);
    }
    return text;
}

}  // namespace qorva::convert
