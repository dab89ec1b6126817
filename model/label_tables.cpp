#include "model/label_tables.h"

namespace qorva {

LabelTables buildLabelTables(const ModelView& model) {
    LabelTables tables;
    for (const ModelBlock& block : model.blocks) {
        if (block.kind == BlockKind::Link) {
            if (block.spanCount < 2) continue;
            const ModelSpan& label = model.span(block, 0);
            const ModelSpan& target = model.span(block, 1);
            if (label.kind != SpanKind::LinkRef || target.kind != SpanKind::Url) continue;
            tables.linkTargets.insert_or_assign(std::string(model.text(label)), std::string(model.text(target)));
        } else if (block.kind == BlockKind::Note) {
            if (block.spanCount < 1 || model.span(block, 0).kind != SpanKind::NoteRef) continue;
            tables.notes.insert_or_assign(std::string(model.text(model.span(block, 0))), &block);
        }
    }
    return tables;
}

}  // namespace qorva
