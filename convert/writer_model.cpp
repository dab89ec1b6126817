#include "convert/writer_model.h"

#include "model/json_guard.h"
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
