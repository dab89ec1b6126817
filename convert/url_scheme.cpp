#include "convert/url_scheme.h"

#include <array>

namespace qorva::convert {
namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string urlScheme(std::string_view url) {
    std::size_t start = 0;
    while (start < url.size() && static_cast<unsigned char>(url[start]) <= 0x20) ++start;
    std::string scheme;
    for (std::size_t i = start; i < url.size(); ++i) {
        const char c = url[i];
        if (c == '\t' || c == '\n' || c == '\r') continue;
        if (c == ':') return scheme;
        const bool schemeChar =
            isAsciiLetter(c) || (!scheme.empty() && (isAsciiDigit(c) || c == '+' || c == '-' || c == '.'));
        if (!schemeChar) return {};
        scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return {};
}

bool isSafeUrlScheme(std::string_view scheme) {
    static constexpr std::array<std::string_view, 5> safe{"http", "https", "ftp", "mailto", "file"};
    for (std::string_view name : safe)
        if (scheme == name) return true;
    return false;
}

bool isSafeExportUrl(std::string_view url) {
    const std::string scheme = urlScheme(url);
    return scheme.empty() || isSafeUrlScheme(scheme);
}

bool isSafeImageSource(std::string_view url) {
    if (isSafeExportUrl(url)) return true;
    // Read as urlScheme reads: leading spaces and controls skipped, tabs and line
    // breaks ignored, letters in any case.
    std::string start;
    for (std::size_t i = 0; i < url.size() && start.size() < 11; ++i) {
        const char c = url[i];
        if ((start.empty() && static_cast<unsigned char>(c) <= 0x20) || c == '\t' || c == '\n' || c == '\r') continue;
        start += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    if (start.starts_with("data:image/")) return true;
    return start.size() >= 3 && isAsciiLetter(start[0]) && start[1] == ':' && (start[2] == '\\' || start[2] == '/');
}

}  // namespace qorva::convert
