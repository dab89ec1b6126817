#include "convert/citation_text.h"

namespace qorva::convert {
namespace {

bool isKeyStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isInnerPunctuation(char c) { return std::string_view(":.#$%&-+?<>~/").find(c) != std::string_view::npos; }

// The key after an "@" at `at`: its end, or `at` when none starts there. As Pandoc
// reads one, punctuation inside it comes one at a time before a letter, digit or "_"
// ("@R::keywords" is "@R" and text), save ":" or "/" before "/" ("@http://x").
std::size_t keyEnd(std::string_view text, std::size_t at) {
    std::size_t p = at + 1;
    if (p >= text.size() || !isKeyStart(text[p])) return at;
    for (++p; p < text.size(); ++p) {
        const char next = p + 1 < text.size() ? text[p + 1] : '\0';
        const bool inner = (isInnerPunctuation(text[p]) && isKeyStart(next)) || ((text[p] == ':' || text[p] == '/') && next == '/');
        if (!isKeyStart(text[p]) && !inner) break;
    }
    return p;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// One part of a bracket: prefix, "@key" or "-@key" standing as a word, suffix.
bool keyIn(std::string_view part, CitationKey& key) {
    for (std::size_t p = 0; p < part.size(); ++p) {
        if (part[p] != '@') continue;
        const bool suppress = p > 0 && part[p - 1] == '-';
        const std::size_t start = suppress ? p - 1 : p;
        if (start > 0 && part[start - 1] != ' ') continue;
        const std::size_t end = keyEnd(part, p);
        if (end == p) continue;
        key = {std::string(part.substr(p + 1, end - p - 1)), suppress, false, std::string(trimmed(part.substr(0, start))),
               std::string(part.substr(end))};
        return true;
    }
    return false;
}

// The text between "[" at `open` and its "]", with no bracket inside; false when unclosed.
bool bracketAt(std::string_view text, std::size_t open, std::string_view& inside) {
    const std::size_t close = text.find_first_of("[]", open + 1);
    if (close == std::string_view::npos || text[close] != ']') return false;
    inside = text.substr(open + 1, close - open - 1);
    return true;
}

// The parts of a bracket between ";", each holding a key; `locator` takes a first part
// without a key (the locator of a citation in the text).
bool keysIn(std::string_view inside, std::vector<CitationKey>& keys, std::string* locator) {
    for (std::size_t start = 0, index = 0;; ++index) {
        const std::size_t semicolon = std::min(inside.find(';', start), inside.size());
        const std::string_view part = inside.substr(start, semicolon - start);
        CitationKey key;
        if (keyIn(part, key)) keys.push_back(std::move(key));
        else if (index == 0 && locator && !trimmed(part).empty()) *locator = std::string(trimmed(part));
        else return false;
        if (semicolon == inside.size()) return true;
        start = semicolon + 1;
    }
}

}  // namespace

bool findCitation(std::string_view text, std::size_t from, CitationMatch& match) {
    for (std::size_t at = from; at < text.size(); ++at) {
        std::string_view inside;
        if (text[at] == '[' && bracketAt(text, at, inside)) {
            std::vector<CitationKey> keys;
            if (keysIn(inside, keys, nullptr)) {
                match = {at, at + inside.size() + 2, std::move(keys)};
                return true;
            }
        }
        if (text[at] != '@' || (at > 0 && isKeyStart(text[at - 1]))) continue;
        const std::size_t end = keyEnd(text, at);
        if (end == at) continue;
        match = {at, end, {{std::string(text.substr(at + 1, end - at - 1)), false, true, {}, {}}}};
        // "@doe [p. 33]": a locator, and maybe more citations, in a bracket after the key.
        std::vector<CitationKey> more;
        std::string locator;
        if (text.substr(end, 2) == " [" && bracketAt(text, end + 1, inside) && keysIn(inside, more, &locator) &&
            !(locator.empty() && more.empty())) {
            match.end = end + inside.size() + 3;
            match.keys[0].suffix = locator;
            for (CitationKey& key : more) match.keys.push_back(std::move(key));
        }
        return true;
    }
    return false;
}

}  // namespace qorva::convert
