#include "convert/front_matter.h"

#include "model/json_text.h"

#include <cctype>

namespace qorva::convert {
namespace {

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

// The line starting at `at`, without its line feed; `next` is where the next one starts.
std::string_view lineAt(std::string_view text, std::size_t at, std::size_t& next) {
    const std::size_t end = text.find('\n', at);
    next = end == std::string_view::npos ? text.size() : end + 1;
    return text.substr(at, (end == std::string_view::npos ? text.size() : end) - at);
}

// "key:" or "key: value", a key possibly quoted.
bool startsMapping(std::string_view line) {
    if (line.empty() || std::isspace(static_cast<unsigned char>(line[0])) || line[0] == '#' || line[0] == '-') return false;
    const std::size_t colon = line.find(':');
    return colon != std::string_view::npos && colon > 0 && (colon + 1 == line.size() || line[colon + 1] == ' ');
}

}  // namespace

std::optional<FrontMatter> FindFrontMatter(std::string_view text) {
    std::size_t next = 0;
    if (withoutLineEnd(lineAt(text, 0, next)) != "---" || next >= text.size()) return std::nullopt;
    const std::size_t begin = next;
    const std::string_view first = withoutLineEnd(lineAt(text, begin, next));
    if (!startsMapping(first)) return std::nullopt;
    for (std::size_t at = next; at < text.size(); at = next) {
        const std::string_view line = withoutLineEnd(lineAt(text, at, next));
        if (line == "---" || line == "...") {
            std::string_view yaml = text.substr(begin, at - begin);
            if (!yaml.empty() && yaml.back() == '\n') yaml.remove_suffix(1);
            if (!yaml.empty() && yaml.back() == '\r') yaml.remove_suffix(1);
            return FrontMatter{yaml, text.substr(next)};
        }
    }
    return std::nullopt;
}

std::string WithMetadataBlock(std::string_view modelJson, std::string_view yaml) {
    std::string block = R"(["metadata",{"level":0})";
    std::size_t next = 0;
    for (std::size_t at = 0; at < yaml.size(); at = next) {
        std::string_view line = lineAt(yaml, at, next);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (at > 0) block += R"(,["break","\n"])";
        if (line.empty()) continue;
        block += R"(,["plain",)";
        appendJsonStringReplacingBrokenUtf8(block, line);
        block += ']';
    }
    block += ']';
    const std::string_view head = R"(["text")";
    if (!modelJson.starts_with(head)) return std::string(modelJson);
    std::string out(head);
    out += ',';
    out += block;
    out += modelJson.substr(head.size());
    return out;
}

bool ReadsFrontMatter(std::string_view pandocFormat) {
    return pandocFormat == "markdown" || pandocFormat == "gfm";
}

}  // namespace qorva::convert
