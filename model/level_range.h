// The levels the editor page can show, per block tag, in model levels. Readers bring
// every block into this range, so a file with absurd indentation or nesting opens
// with the same levels on every path and cannot blow up what is written from it.
#pragma once

#include <string_view>

namespace qorva {

struct LevelRange {
    long lowest, highest;
};

LevelRange levelRangeOf(std::string_view tag);

inline long clampLevel(std::string_view tag, long level) {
    const LevelRange range = levelRangeOf(tag);
    return level < range.lowest ? range.lowest : level > range.highest ? range.highest : level;
}

}  // namespace qorva
