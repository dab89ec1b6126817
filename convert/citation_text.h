// Citations in running text, in the form the Pandoc reader gives them: "@doe99" in
// the text, "[@a; -@b]" in brackets. The Pandoc writer turns them back into
// citations, so a document that holds them keeps them from save to save.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qorva::convert {

struct CitationKey {
    std::string id;
    bool suppressAuthor = false;  // "-@doe99"
};

struct CitationMatch {
    std::size_t begin = 0, end = 0;  // in the text searched
    bool bracketed = false;
    std::vector<CitationKey> keys;
};

// The first citation at or after `from`; false when there is none. A key starts with a
// letter, digit or "_" and may hold ":.#$%&-+?<>~/" between its other characters; an
// "@" right after a letter or digit (an address) starts none.
bool findCitation(std::string_view text, std::size_t from, CitationMatch& match);

}  // namespace qorva::convert
