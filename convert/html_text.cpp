#include "convert/html_text.h"

namespace qorva::convert {
namespace {

template <bool Attribute>
void appendEscaped(std::string& out, std::string_view text) {
    std::size_t plainStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* replacement = nullptr;
        switch (text[i]) {
            case '&': replacement = "&amp;"; break;
            case '<': replacement = "&lt;"; break;
            case '>': replacement = "&gt;"; break;
            case '"': if (Attribute) replacement = "&quot;"; break;
            case '\'': if (Attribute) replacement = "&#39;"; break;
            default: break;
        }
        if (!replacement) continue;
        out.append(text, plainStart, i - plainStart);
        out += replacement;
        plainStart = i + 1;
    }
    out.append(text, plainStart);
}

}  // namespace

void appendHtmlText(std::string& out, std::string_view text) { appendEscaped<false>(out, text); }

void appendHtmlAttributeValue(std::string& out, std::string_view value) { appendEscaped<true>(out, value); }

void appendHtmlAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    appendEscaped<true>(out, value);
    out += '"';
}

}  // namespace qorva::convert
