// Pandoc's divisions and spans as the raw HTML tags around them: Pandoc Markdown reads
// an HTML <div> or <span> as one, and the model keeps one as its opening and closing
// tags around its contents, so that a save gives it back as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qorva::convert {

struct ElementAttributes {
    std::string id;
    std::vector<std::string> classes;
    std::vector<std::pair<std::string, std::string>> pairs;
};

// `<div id="a" class="b c" key="value">` for `element` "div": the parts that are there,
// in that order.
std::string openingTagText(std::string_view element, const ElementAttributes& attributes);

// The attributes of a tag openingTagText writes for `element`, exactly as it writes it;
// nothing for any other text (another tag, other quoting or spacing, an entity in a value).
std::optional<ElementAttributes> parseOpeningTag(std::string_view element, std::string_view tag);

}  // namespace qorva::convert
