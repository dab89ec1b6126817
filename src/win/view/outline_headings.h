// The outline as the page reports it: the document's headings in order, and
// which of them the caret is under. Parsing and the tree shape, without widgets.
#pragma once

#include <string>
#include <vector>

namespace qorva {

struct OutlineHeading {
    int block = 0;  // index of the heading's block in the page
    int level = 0;  // 0 for Heading 1
    std::string text;
    bool operator==(const OutlineHeading&) const = default;
};

struct Outline {
    std::vector<OutlineHeading> headings;
    int current = -1;  // index into headings; -1 above the first heading
};

// Reads the page's getOutline answer; an unreadable answer is an empty outline.
Outline ParseOutline(const std::string& json);

// For each heading, the index of the heading it sits under in the tree (the
// nearest earlier heading of a smaller level), or -1 at the top.
std::vector<int> OutlineParents(const std::vector<OutlineHeading>& headings);

}  // namespace qorva
