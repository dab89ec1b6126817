// The numbers of numbered items, as the native format writes them: one counter per
// list level; a numbered item's number counts the numbered items at its level since
// the last other block at that level or any shallower block, from its list's start; an
// item standing in other quotations than the one before it at its level starts a list.
#pragma once

#include <cstddef>
#include <vector>

namespace qorva {

class ListCounter {
public:
    // The number of a numbered item (0 for other blocks; a level below 0 ends every
    // list). `start` counts only for the first item of a list; `quotes` is how many
    // quotations the block stands in.
    long next(long level, bool numbered, long start = 1, int quotes = 0) {
        if (level < 0) {
            items_.clear();
            return 0;
        }
        const auto at = static_cast<std::size_t>(level);
        if (items_.size() <= at) items_.resize(at + 1, {0, 1, 0});
        Count& count = items_[at];
        count = !numbered                                     ? Count{0, 1, quotes}
                : count.items == 0 || count.quotes != quotes ? Count{1, start, quotes}
                                                              : Count{count.items + 1, count.first, quotes};
        items_.resize(at + 1);  // deeper levels start again
        return numbered ? count.first + count.items - 1 : 0;
    }
    // Whether the last numbered item was the first of its list.
    bool startedList(long level) const {
        const auto at = static_cast<std::size_t>(level);
        return level >= 0 && at < items_.size() && items_[at].items == 1;
    }

private:
    struct Count {
        long items, first;
        int quotes;
    };
    std::vector<Count> items_;
};

}  // namespace qorva
