// Citations in running text, in the form the Pandoc reader gives them, word for word
// as Pandoc Markdown writes them: "@doe99" or "@doe99 [p. 33]" in the text, "[see
// @a, p. 33; -@b]" in brackets. The Pandoc writer turns them back into citations, so
// a document that holds them keeps them from save to save.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qorva::convert {

struct CitationKey {
    std::string id;
    bool suppressAuthor = false;  // "-@doe99"
    bool authorInText = false;    // "@doe99" outside brackets
    std::string prefix, suffix;   // "see", ", p. 33": the words before and after the key
};

struct CitationMatch {
    std::size_t begin = 0, end = 0;  // in the text searched
    std::vector<CitationKey> keys;
};

// The first citation at or after `from`; false when there is none. A key starts with a
// letter, digit or "_" and may hold ":.#$%&-+?<>~/" between its other characters; an
// "@" right after a letter or digit (an address) starts none. In brackets, every part
// between ";" holds one key, after a space or at the part's start.
bool findCitation(std::string_view text, std::size_t from, CitationMatch& match);

}  // namespace qorva::convert
