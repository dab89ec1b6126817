#include "model/level_range.h"

namespace qorva {

// The page's block traits less the offset between its levels and the model's
// (headings 3, items, notes and quotations 1); every tag it does not know is a paragraph.
LevelRange levelRangeOf(std::string_view tag) {
    if (tag == "heading") return {-3, 2};
    if (tag == "bulleted" || tag == "numbered" || tag == "quote" || tag == "note" || tag == "link" || tag == "term" ||
        tag == "definition")
        return {0, 4};
    if (tag == "row") return {1, 1};
    if (tag == "col") return {2, 2};
    if (tag == "divider" || tag == "metadata") return {0, 0};
    return {0, 5};
}

}  // namespace qorva
