// Where a "linktext" span points: the "url" span right after it (an inline link), or
// the definition that the "linkref" span after it names (a reference link).
#pragma once

#include "model/label_tables.h"
#include "model/model_view.h"

#include <optional>
#include <span>
#include <string_view>

namespace qorva::convert {

// For the "linktext" span at `index` of `spans` (spans of `model`). An inline link's
// "url" span is consumed: `index` then stands on it. A "linkref" is left for the
// caller, which writes nothing for it. Without `labels`, reference links are not resolved.
inline std::optional<std::string_view> takeLinkTarget(const ModelView& model, std::span<const ModelSpan> spans,
                                                      std::size_t& index, const LabelTables* labels) {
    if (index + 1 >= spans.size()) return std::nullopt;
    const ModelSpan& next = spans[index + 1];
    if (next.kind == SpanKind::Url) return model.text(spans[++index]);
    if (next.kind == SpanKind::LinkRef && labels) {
        auto found = labels->linkTargets.find(std::string(model.text(next)));
        if (found != labels->linkTargets.end()) return std::string_view(found->second);
    }
    return std::nullopt;
}

// After takeLinkTarget took an inline link's "url" at `index`: the link's "title"
// span, consumed (`index` then stands on it), or "" when the link has none.
inline std::string_view takeLinkTitle(const ModelView& model, const ModelBlock& block, std::size_t& index) {
    if (index >= block.spanCount || model.span(block, index).kind != SpanKind::Url) return {};
    if (!model.isLinkTitle(block, index + 1)) return {};
    return model.text(model.span(block, ++index));
}

}  // namespace qorva::convert
