#include "tools/files/file_url.h"

#include <cctype>
#include <string>
#include <vector>

namespace qorva {

std::string_view TrimmedUrl(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

std::string LeadingScheme(std::string_view url) {
    std::string scheme;
    for (char c : url) {
        if (c == ':') return scheme;
        const bool letter = std::isalpha(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80;
        const bool other = !scheme.empty() && (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.');
        if (!letter && !other) return {};
        scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return {};
}

std::string NormalisedPath(std::string_view path) {
    std::vector<std::string_view> parts;
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (std::string_view part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

std::string FileUrlPath(std::string_view url) {
    url = TrimmedUrl(url);
    if (LeadingScheme(url) != "file") return {};
    std::string_view rest = url.substr(5);
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && host != "localhost") return {};
        rest = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(rest[i + 2]))) {
            path += static_cast<char>(std::stoi(std::string(rest.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos) return {};
    return NormalisedPath(path);
}

}  // namespace qorva
