#include "convert/html_opening_tag.h"

#include "convert/html_text.h"

namespace qorva::convert {
namespace {

void appendAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    appendHtmlAttributeValue(out, value);
    out += '"';
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' ||
           c == '.';
}

}  // namespace

std::string openingTagText(std::string_view element, const ElementAttributes& div) {
    std::string out = "<" + std::string(element);
    if (!div.id.empty()) appendAttribute(out, "id", div.id);
    if (!div.classes.empty()) {
        std::string classes;
        for (const std::string& name : div.classes) classes += (classes.empty() ? "" : " ") + name;
        appendAttribute(out, "class", classes);
    }
    for (const auto& [key, value] : div.pairs) appendAttribute(out, key, value);
    return out + ">";
}

std::optional<ElementAttributes> parseOpeningTag(std::string_view element, std::string_view tag) {
    if (tag.size() < element.size() + 2 || tag[0] != '<' || tag.substr(1, element.size()) != element || !tag.ends_with(">"))
        return std::nullopt;
    std::string_view rest = tag.substr(element.size() + 1, tag.size() - element.size() - 2);
    ElementAttributes div;
    while (!rest.empty()) {
        std::size_t name = 1;
        while (name < rest.size() && isNameCharacter(rest[name])) ++name;
        if (rest[0] != ' ' || name == 1 || rest.substr(name, 2) != "=\"") return std::nullopt;
        const std::size_t end = rest.find('"', name + 2);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view key = rest.substr(1, name - 1), value = rest.substr(name + 2, end - name - 2);
        if (key == "id" && div.id.empty() && div.classes.empty() && div.pairs.empty()) div.id = value;
        else if (key == "class" && div.classes.empty() && div.pairs.empty()) {
            for (std::size_t at = 0; at <= value.size();) {
                const std::size_t space = std::min(value.find(' ', at), value.size());
                div.classes.emplace_back(value.substr(at, space - at));
                at = space + 1;
            }
        } else div.pairs.emplace_back(key, value);
        rest.remove_prefix(end + 1);
    }
    // Only what reads back as written: no entities, no empty class names.
    for (const std::string& name : div.classes)
        if (name.empty()) return std::nullopt;
    if (openingTagText(element, div) != tag) return std::nullopt;
    return div;
}

}  // namespace qorva::convert
