#include "convert/html_sanitizer.h"

#include "convert/html_text.h"
#include "convert/url_scheme.h"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

namespace qorva::convert {
namespace {

// Removed with everything inside: what runs or embeds code or other pages, what
// belongs to a page's head, and elements whose content is raw text or foreign
// markup, parsed differently once taken out of context.
bool isDroppedElement(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_HTML: case GUMBO_TAG_HEAD: case GUMBO_TAG_BODY: case GUMBO_TAG_TITLE:
        case GUMBO_TAG_BASE: case GUMBO_TAG_LINK: case GUMBO_TAG_META: case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_IFRAME: case GUMBO_TAG_EMBED:
        case GUMBO_TAG_OBJECT: case GUMBO_TAG_PARAM: case GUMBO_TAG_APPLET: case GUMBO_TAG_FRAME:
        case GUMBO_TAG_FRAMESET: case GUMBO_TAG_NOFRAMES: case GUMBO_TAG_NOEMBED: case GUMBO_TAG_MATH:
        case GUMBO_TAG_SVG: case GUMBO_TAG_TEXTAREA: case GUMBO_TAG_XMP: case GUMBO_TAG_PLAINTEXT:
        case GUMBO_TAG_ISINDEX: case GUMBO_TAG_BGSOUND: case GUMBO_TAG_BASEFONT: case GUMBO_TAG_KEYGEN:
            return true;
        default:
            return false;
    }
}

bool isVoidElement(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_AREA: case GUMBO_TAG_BR: case GUMBO_TAG_COL: case GUMBO_TAG_HR: case GUMBO_TAG_IMG:
        case GUMBO_TAG_IMAGE: case GUMBO_TAG_INPUT: case GUMBO_TAG_SOURCE: case GUMBO_TAG_TRACK:
        case GUMBO_TAG_WBR: case GUMBO_TAG_SPACER: case GUMBO_TAG_MENUITEM:
            return true;
        default:
            return false;
    }
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

// Attributes whose value is a URL the browser may fetch or follow.
bool isUrlAttribute(std::string_view name) {
    static constexpr std::array<std::string_view, 19> names{
        "href", "src", "action", "formaction", "xlink:href", "poster", "background", "cite", "longdesc", "lowsrc",
        "dynsrc", "data", "codebase", "manifest", "usemap", "profile", "icon", "archive", "classid"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

// CSS that could load something (url(), image-set(), @import) or run script in old
// engines (expression(), behavior, -moz-binding); escapes could hide any of them.
bool isSafeCss(std::string_view css) {
    const std::string text = lowered(css);
    static constexpr std::array<std::string_view, 10> hazards{
        "url", "image-set", "image(", "@import", "expression", "behavior", "binding", "javascript", "\\", "<"};
    for (std::string_view hazard : hazards)
        if (text.find(hazard) != std::string::npos) return false;
    return true;
}

// Every candidate of a srcset list must have a safe URL.
bool isSafeSrcset(std::string_view value) {
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = std::min(value.find(',', start), value.size());
        std::string_view candidate = value.substr(start, comma - start);
        const std::size_t first = candidate.find_first_not_of(" \t\n\r\f");
        if (first != std::string_view::npos) {
            candidate.remove_prefix(first);
            if (!isSafeExportUrl(candidate.substr(0, candidate.find_first_of(" \t\n\r\f")))) return false;
        }
        start = comma + 1;
    }
    return true;
}

bool isAsciiAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// The parser points a bare attribute's value at its name.
bool hasValue(const GumboAttribute& attribute) {
    return attribute.original_value.length > 0 && attribute.original_value.data != attribute.original_name.data;
}

// The name as a browser reads it from the tag. The parser's own copy can differ: after
// a repeated bare attribute it runs the next name on from the repeated one ("a a
// onerror" gives "aonerror"). An attribute it read otherwise is not trusted.
std::string attributeName(const GumboAttribute& attribute) {
    return lowered({attribute.original_name.data, attribute.original_name.length});
}

bool isSafeAttribute(const GumboAttribute& attribute, GumboTag tag) {
    const std::string name = attributeName(attribute);
    const std::string_view value = attribute.value;
    if (name != attribute.name) return false;
    // Names of letters, digits and "-_.:" only: one holding a quote, an equals sign or
    // a space would be read otherwise where the tag is written anew.
    const bool plainName = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return isAsciiAlnum(c) || c == '-' || c == '_' || c == '.' || c == ':';
    });
    if (!plainName) return false;
    // A value without references is its text as written, less its quotes.
    std::string_view written(attribute.original_value.data, attribute.original_value.length);
    if (hasValue(attribute) && written.find('&') == std::string_view::npos) {
        if (written.size() >= 2 && (written[0] == '"' || written[0] == '\'') && written.back() == written[0])
            written = written.substr(1, written.size() - 2);
        if (written != value) return false;
    }
    if (name.size() >= 2 && name.substr(0, 2) == "on") return false;  // event handlers
    if (name == "srcdoc" || name == "ping" || name == "http-equiv") return false;
    if (name == "style") return isSafeCss(value);
    if (name == "srcset" || name == "imagesrcset") return isSafeSrcset(value);
    if (tag == GUMBO_TAG_IMG && name == "src") return isSafeImageSource(value);  // as pictures of the document
    if (isUrlAttribute(name)) return isSafeExportUrl(value);
    return true;
}

// The parser's time grows with the square of the nesting depth and of the number of
// attributes on one tag. A rough count of both (tags in comments or scripts count
// too; elements that close themselves or their like do not) keeps the parser away
// from fragments that only an attack holds.
constexpr int kMaxDepth = 256;
constexpr int kMaxAttributes = 256;


bool neverNests(std::string_view name) {
    static constexpr std::array<std::string_view, 31> names{
        "area", "base", "br", "col", "embed", "hr", "img", "image", "input", "keygen", "link", "meta", "param",
        "source", "track", "wbr", "p", "li", "dt", "dd", "tr", "td", "th", "option", "optgroup", "thead", "tbody",
        "tfoot", "rb", "rt", "rp"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isWithinParserLimits(std::string_view html) {
    std::unordered_map<std::string, int> open;
    int depth = 0;
    for (std::size_t i = 0; i + 1 < html.size(); ++i) {
        if (html[i] != '<') continue;
        const bool end = html[i + 1] == '/';
        std::size_t at = i + (end ? 2 : 1);
        if (at >= html.size() || !isAsciiAlnum(html[at])) continue;
        std::string name;
        for (; at < html.size() && (isAsciiAlnum(html[at]) || html[at] == '-'); ++at) name += lowered(html.substr(at, 1));
        if (end) {
            auto opened = open.find(name);
            if (opened != open.end() && opened->second > 0) --opened->second, --depth;
            continue;
        }
        int attributes = 0;
        bool inName = false;
        for (; at < html.size() && html[at] != '>'; ++at) {
            const char c = html[at];
            if (c == '"' || c == '\'') {
                at = std::min(html.find(c, at + 1), html.size() - 1);
                inName = false;
            } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '/' || c == '=') {
                inName = false;
            } else if (!inName) {
                inName = true;
                if (++attributes > kMaxAttributes) return false;
            }
        }
        if (neverNests(name)) continue;
        ++open[name];
        if (++depth > kMaxDepth) return false;
    }
    return true;
}

// Decoded text written back: escaped, and control characters as references, since
// the parser reads them raw otherwise than it decodes their references.
void appendDecoded(std::string& out, std::string_view text, bool attribute) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || byte == 0x7F) {
            out += "&#" + std::to_string(byte) + ';';
        } else if (attribute && (c == '"' || c == '\'')) {
            out += c == '"' ? "&quot;" : "&#39;";
        } else {
            appendHtmlText(out, std::string_view(&c, 1));
        }
    }
}

std::string_view originalOf(const GumboStringPiece& piece) { return {piece.data, piece.length}; }


bool holdsOnly(const char* begin, const char* end, std::string_view allowed) {
    if (begin > end) return false;
    return std::all_of(begin, end, [&](char c) { return allowed.find(c) != std::string_view::npos; });
}

// True when the tag as written holds its name, the `kept` attributes and nothing
// else: no attribute that was removed, nor one the parser ignored (a repeated
// name), which another parser might not ignore. A value holding an entity counts
// as not kept as written: decoded elsewhere, it could read as another scheme.
bool isWrittenAsKept(const GumboElement& element, const std::vector<const GumboAttribute*>& kept) {
    constexpr std::string_view kSpace = " \t\n\r\f";
    const char* const end = element.original_tag.data + element.original_tag.length;
    if (element.original_tag.length < 2 || element.original_tag.data[0] != '<') return false;
    const char* at = element.original_tag.data + 1;
    while (at < end && std::string_view(" \t\n\r\f/>").find(*at) == std::string_view::npos) ++at;
    for (const GumboAttribute* attribute : kept) {
        const GumboStringPiece& name = attribute->original_name;
        const GumboStringPiece& value = attribute->original_value;
        if (!holdsOnly(at, name.data, std::string(kSpace) + "/") || name.data + name.length > end) return false;
        at = name.data + name.length;
        if (!hasValue(*attribute)) continue;
        if (originalOf(value).find('&') != std::string_view::npos) return false;
        if (!holdsOnly(at, value.data, std::string(kSpace) + "=") || value.data + value.length > end) return false;
        at = value.data + value.length;
    }
    return holdsOnly(at, end, std::string(kSpace) + "/>");
}

class Sanitizer {
public:
    explicit Sanitizer(std::string& out) : out_(out) {}

    void writeChildren(const GumboNode& parent) {
        struct Frame {
            const GumboNode* element;
            std::size_t next;
            bool closeTag;
        };
        std::vector<Frame> stack{{&parent, 0, false}};
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const GumboVector& children = frame.element->v.element.children;
            if (frame.next == children.length) {
                if (frame.closeTag) writeEndTag(frame.element->v.element);
                stack.pop_back();
                continue;
            }
            const GumboNode& node = *static_cast<const GumboNode*>(children.data[frame.next++]);
            if (node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE) writeText(node.v.text);
            if (node.type != GUMBO_NODE_ELEMENT) continue;  // comments, CDATA, templates
            const GumboElement& element = node.v.element;
            if (element.tag_namespace != GUMBO_NAMESPACE_HTML || isDroppedElement(element.tag)) continue;
            if (element.tag == GUMBO_TAG_STYLE) {
                writeStyle(element);
                continue;
            }
            // A form loses its tag: it could only send somewhere, and the parser
            // misplaces text written directly inside one.
            const bool known = element.tag != GUMBO_TAG_UNKNOWN && element.tag != GUMBO_TAG_FORM;
            if (known) writeStartTag(element);
            if (!known || !isVoidElement(element.tag)) stack.push_back({&node, 0, known});
        }
    }

private:
    std::string& out_;

    void writeText(const GumboText& text) {
        const std::string_view original = originalOf(text.original_text);
        if (!original.empty() && original.find('<') == std::string_view::npos) out_ += original;
        else appendDecoded(out_, text.text, false);
    }

    void writeStartTag(const GumboElement& element) {
        std::vector<const GumboAttribute*> kept;
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto& attribute = *static_cast<const GumboAttribute*>(element.attributes.data[i]);
            if (isSafeAttribute(attribute, element.tag)) kept.push_back(&attribute);
        }
        if (isWrittenAsKept(element, kept)) {
            out_ += originalOf(element.original_tag);
            return;
        }
        out_ += '<';
        out_ += gumbo_normalized_tagname(element.tag);
        for (const GumboAttribute* attribute : kept) {
            out_ += ' ';
            out_ += attribute->name;
            if (hasValue(*attribute)) {
                out_ += "=\"";
                appendDecoded(out_, attribute->value, true);
                out_ += '"';
            }
        }
        out_ += '>';
    }

    void writeEndTag(const GumboElement& element) {
        const std::string_view name = gumbo_normalized_tagname(element.tag);
        const std::string_view original = originalOf(element.original_end_tag);
        if (original.size() == name.size() + 3 && lowered(original.substr(2, name.size())) == name) {
            out_ += original;
        } else {
            out_ += "</";
            out_ += name;
            out_ += '>';
        }
    }

    // A style sheet stays only when it can load nothing; its text is raw.
    void writeStyle(const GumboElement& element) {
        std::string css;
        for (unsigned i = 0; i < element.children.length; ++i) {
            const auto& child = *static_cast<const GumboNode*>(element.children.data[i]);
            if (child.type != GUMBO_NODE_TEXT && child.type != GUMBO_NODE_WHITESPACE) return;
            css += child.v.text.text;
        }
        if (!isSafeCss(css)) return;
        writeStartTag(element);
        out_ += css;
        writeEndTag(element);
    }
};

}  // namespace

std::string sanitizeHtml(std::string_view html) {
    if (!isWithinParserLimits(html)) {
        std::string text;
        appendHtmlText(text, html);
        return text;
    }
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = GUMBO_TAG_BODY;
    options.max_errors = 0;
    const std::string buffer(html);  // the parser reads up to a terminating zero
    auto destroy = [&options](GumboOutput* output) { gumbo_destroy_output(&options, output); };
    const std::unique_ptr<GumboOutput, decltype(destroy)> output(
        gumbo_parse_with_options(&options, buffer.data(), buffer.size()), destroy);
    std::string out;
    if (output && output->root && output->root->type == GUMBO_NODE_ELEMENT) Sanitizer(out).writeChildren(*output->root);
    return out;
}

}  // namespace qorva::convert
