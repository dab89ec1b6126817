#include "model/table_columns.h"

#include <charconv>
#include <cmath>

namespace qorva {

std::vector<char> readColumnAlignments(std::string_view align) {
    std::vector<char> out;
    out.reserve(align.size());
    for (char c : align) out.push_back(c == 'l' || c == 'c' || c == 'r' ? c : 'd');
    return out;
}

std::vector<double> readColumnWidths(std::string_view widths) {
    std::vector<double> out;
    std::size_t p = 0;
    while (p < widths.size()) {
        const std::size_t end = std::min(widths.find(' ', p), widths.size());
        double value = 0.0;
        const auto [stop, error] = std::from_chars(widths.data() + p, widths.data() + end, value);
        if (error != std::errc() || stop != widths.data() + end || !std::isfinite(value) || std::signbit(value)) return {};
        out.push_back(value);
        p = end + 1;
    }
    return out;
}

std::string columnAlignmentsText(const std::vector<char>& align) {
    for (char c : align)
        if (c != 'd') return std::string(align.begin(), align.end());
    return {};
}

std::string columnWidthsText(const std::vector<double>& widths) {
    std::string out;
    bool any = false;
    for (double width : widths) {
        if (!out.empty()) out += ' ';
        out += widthText(width);
        any = any || width != 0.0;
    }
    return any ? out : std::string();
}

std::string widthText(double width) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, width);
    return std::string(buffer, result.ptr);
}

}  // namespace qorva
