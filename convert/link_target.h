// Where a "linktext" span points: the "url" span right after it (an inline link), or
// the definition that the "linkref" span after it names (a reference link).
#pragma once

#include "convert/model_view.h"
#include "model/label_tables.h"

#include <optional>
#include <span>
#include <string_view>

namespace qorva::convert {

// For the "linktext" span at `index`. An inline link's "url" span is consumed: `index`
// then stands on it. A "linkref" is left for the caller, which writes nothing for it.
// Without `labels`, reference links are not resolved.
inline std::optional<std::string_view> takeLinkTarget(std::span<const SpanView> spans, std::size_t& index,
                                                      const LabelTables* labels) {
    if (index + 1 >= spans.size()) return std::nullopt;
    const SpanView& next = spans[index + 1];
    if (next.tag == "url") return spans[++index].text;
    if (next.tag == "linkref" && labels) {
        auto found = labels->linkTargets.find(std::string(next.text));
        if (found != labels->linkTargets.end()) return std::string_view(found->second);
    }
    return std::nullopt;
}

}  // namespace qorva::convert
