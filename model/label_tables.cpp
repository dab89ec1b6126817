#include "model/label_tables.h"

#include "model/model_access.h"

namespace qorva {

LabelTables buildLabelTables(const Json& model) {
    LabelTables tables;
    for (std::size_t i = kFirstBlock; i < model.size(); ++i) {
        const Json& block = model[i];
        const std::string& tag = blockTag(block);
        if (tag == "link") {
            if (spanCount(block) < 2) continue;
            const Json& label = blockSpan(block, 0);
            const Json& target = blockSpan(block, 1);
            if (spanTag(label) != "linkref" || spanTag(target) != "url") continue;
            tables.linkTargets.insert_or_assign(spanText(label), spanText(target));
        } else if (tag == "note") {
            if (spanCount(block) < 1 || spanTag(blockSpan(block, 0)) != "noteref") continue;
            tables.notes.insert_or_assign(spanText(blockSpan(block, 0)), &block);
        }
    }
    return tables;
}

}  // namespace qorva
