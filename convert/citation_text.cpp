#include "convert/citation_text.h"

namespace qorva::convert {
namespace {

bool isKeyStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isInnerPunctuation(char c) { return std::string_view(":.#$%&-+?<>~/").find(c) != std::string_view::npos; }

// The key after an "@" at `at`: its end, or `at` when none starts there.
std::size_t keyEnd(std::string_view text, std::size_t at) {
    std::size_t p = at + 1;
    if (p >= text.size() || !isKeyStart(text[p])) return at;
    std::size_t end = ++p;
    while (p < text.size() && (isKeyStart(text[p]) || isInnerPunctuation(text[p]))) {
        if (isKeyStart(text[p])) end = p + 1;
        ++p;
    }
    return end;
}

// "[" key ("; " key)* "]", each key "@id" or "-@id", starting at `at`.
bool bracketedAt(std::string_view text, std::size_t at, CitationMatch& match) {
    std::size_t p = at + 1;
    std::vector<CitationKey> keys;
    for (;;) {
        const bool suppress = p < text.size() && text[p] == '-';
        if (suppress) ++p;
        if (p >= text.size() || text[p] != '@') return false;
        const std::size_t end = keyEnd(text, p);
        if (end == p) return false;
        keys.push_back({std::string(text.substr(p + 1, end - p - 1)), suppress});
        p = end;
        if (text.substr(p, 1) == "]") break;
        if (text.substr(p, 2) != "; ") return false;
        p += 2;
    }
    match = {at, p + 1, true, std::move(keys)};
    return true;
}

}  // namespace

bool findCitation(std::string_view text, std::size_t from, CitationMatch& match) {
    for (std::size_t at = from; at < text.size(); ++at) {
        if (text[at] == '[' && bracketedAt(text, at, match)) return true;
        if (text[at] != '@' || (at > 0 && isKeyStart(text[at - 1]))) continue;
        const std::size_t end = keyEnd(text, at);
        if (end == at) continue;
        match = {at, end, false, {{std::string(text.substr(at + 1, end - at - 1)), false}}};
        return true;
    }
    return false;
}

}  // namespace qorva::convert
