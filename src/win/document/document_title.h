// The window title: the document's name and state, then the count display.
#pragma once

#include "src/win/settings/settings.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qorva {

// "Welcome - Qorva" for the untouched welcome document, else "PATH* - Qorva"
// with "Untitled" for no path and "*" when modified.
std::string DocumentTitle(std::string_view path, bool welcome, bool modified);

// " - 3 Words", " - 1 Character Selected" and so on. The selected count is asked
// first; the document's total only when nothing countable is selected.
std::string CountSuffix(CountDisplay mode, const std::function<int()>& selectedCount,
                        const std::function<int()>& totalCount);

// The page's four counts, given as "words characters selectedWords
// selectedCharacters"; nothing when they cannot be read.
struct PageCounts {
    long long words = 0;
    long long characters = 0;
    long long selectedWords = 0;
    long long selectedCharacters = 0;
};
std::optional<PageCounts> ParseCounts(std::string_view counts);

// The status line from the page's counts, given as "words characters
// selectedWords selectedCharacters": "1,204 words, 6,873 characters, 6 min
// read", led by the selection's counts when something is selected. Empty when
// the counts cannot be read.
std::string StatusLineText(std::string_view counts);

}  // namespace qorva
