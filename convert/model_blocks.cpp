#include "convert/model_blocks.h"

#include "model/model_access.h"
#include "model/model_json.h"

namespace qorva::convert {

std::string serializeModel(std::string_view root, const std::vector<Block>& blocks) {
    Json out = Json::array();
    out.push_back(std::string(root));
    for (const Block& block : blocks) {
        Json item = makeBlock(block.tag, block.level, block.rtl);
        for (const Span& span : block.spans) item.push_back(makeSpan(span.tag, span.text));
        out.push_back(std::move(item));
    }
    return dumpCompact(out);
}

}  // namespace qorva::convert
