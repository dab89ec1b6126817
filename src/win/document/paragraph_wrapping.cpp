#include "paragraph_wrapping.h"

#include <cstddef>

namespace qorva {
namespace {

// Pandoc wraps at 72 columns; hand-wrapped files stay near 80. Past this width a
// line was not wrapped by anyone.
constexpr std::size_t kUnwrappedWidth = 100;
constexpr std::size_t kWrapColumn = 72;

std::size_t Columns(std::string_view line) {
    std::size_t columns = 0;
    for (const char c : line) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return columns;
}

bool IsFence(std::string_view line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos || start > 3) return false;
    const std::string_view rest = line.substr(start);
    return rest.substr(0, 3) == "```" || rest.substr(0, 3) == "~~~";
}

bool IsProseLine(std::string_view line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos || start >= 4 || line[start] == '\t' || line[start] == '|') return false;
    // A space before the wrap column, after the line's own indentation and marker,
    // is where a wrapping writer would have broken it.
    const std::size_t space = line.find(' ', start + 1);
    return space != std::string_view::npos && Columns(line.substr(0, space)) < kWrapColumn;
}

}  // namespace

bool HasUnwrappedParagraphs(std::string_view markdown) {
    bool inFence = false;
    while (!markdown.empty()) {
        const std::size_t end = markdown.find('\n');
        std::string_view line = markdown.substr(0, end);
        markdown.remove_prefix(end == std::string_view::npos ? markdown.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (IsFence(line)) {
            inFence = !inFence;
            continue;
        }
        if (!inFence && Columns(line) > kUnwrappedWidth && IsProseLine(line)) return true;
    }
    return false;
}

}  // namespace qorva
