// Formulas and code blocks that the HTML writer can take as markup made elsewhere
// (MathML, highlighted code) instead of writing their source.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorva::convert {

enum class HtmlFragmentKind { InlineMath, DisplayMath, Code };

struct HtmlFragmentSource {
    HtmlFragmentKind kind;
    std::string language;  // code blocks only
    std::string text;      // the TeX or the code, as the writer sees it
};

// Every formula and every code block with a language, in document order (repeats kept).
std::vector<HtmlFragmentSource> htmlFragmentSources(std::string_view modelJson);

// The WriteHtml options that put `markup[i]` in place of `sources[i]`; an empty
// markup leaves its source written as before.
std::string htmlFragmentOptions(const std::vector<HtmlFragmentSource>& sources, const std::vector<std::string>& markup);

}  // namespace qorva::convert
