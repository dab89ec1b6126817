// Pandoc syntax tree (1.11 form; the current form is translated into it first) to model JSON.
// Nesting becomes levels: list items and quotations one level deeper per step,
// footnotes and reference links definition blocks after their paragraph.
#include "convert/converters.h"
#include "convert/html_opening_tag.h"
#include "convert/html_text.h"
#include "convert/model_blocks.h"
#include "convert/pandoc_api.h"
#include "convert/pandoc_element.h"
#include "convert/pandoc_import.h"
#include "model/model_json.h"
#include "model/table_columns.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <variant>

namespace qorva::convert {
namespace {

using Blocks = std::vector<Block>;
using element = PandocValue;

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// A link's target, plain or in the styles around the whole link ("emphurl", "stronglinkref").
bool isLinkTarget(const std::string& tag) {
    std::string_view t = tag;
    for (std::string_view style : {"strongemph", "strong", "emph"}) {
        if (!t.starts_with(style)) continue;
        t.remove_prefix(style.size());
        break;
    }
    return t == "url" || t == "linkref";
}

// Footnote labels, reference-link labels and URLs are identities, not running
// text: two of them side by side stay two.
// Raw HTML and TeX stay as Pandoc found them, one piece each.
bool mergeable(const std::string& tag) {
    return tag != "noteref" && !isLinkTarget(tag) && tag != "html" && tag != "tex";
}

// Lines of a code block or display formula; empty lines at either end are dropped.
std::vector<Span> lineSpans(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); });
    auto last = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& l) { return !l.empty(); }).base();
    std::vector<Span> spans;
    for (auto it = first; it < last; ++it) {
        if (it != first) spans.push_back({"break", "\n"});
        // An empty line is two breaks in a row, as the editor keeps it.
        if (!it->empty()) spans.push_back({"plain", std::move(*it)});
    }
    return spans;
}

bool isStyle(const std::string& tag) {
    return tag == "emph" || tag == "strong" || tag == "strike" || tag == "sup" || tag == "sub" || tag == "strongemph";
}

// Whether two neighbouring spans lie in one emphasis or one strong emphasis. A link
// standing whole in a style has it on its target ("emphurl", "stronglinkref").
bool shareStyle(const std::string& a, const std::string& b) {
    const auto emph = [](const std::string& t) {
        return t == "emph" || t == "strongemph" || t == "emphcode" || (isLinkTarget(t) && t.find("emph") != std::string::npos);
    };
    const auto strong = [](const std::string& t) {
        return t == "strong" || t == "strongemph" || t == "strongcode" || (isLinkTarget(t) && t.starts_with("strong"));
    };
    return (emph(a) && emph(b)) || (strong(a) && strong(b));
}

bool isLinkTextTag(const std::string& tag) {
    return tag == "linktext" || tag == "linkcode" || tag == "linkemph" || tag == "linkstrong" || tag.starts_with("linkimage");
}

// The tag that stands for span i's styles next to its neighbours: a link's text and
// title take its target's.
const std::string& styleTag(const std::vector<Span>& spans, std::size_t i) {
    if (spans[i].tag == "title" && i > 0 && isLinkTarget(spans[i - 1].tag)) return spans[i - 1].tag;
    std::size_t k = i;
    while (k < spans.size() && isLinkTextTag(spans[k].tag)) ++k;
    return k > i && k < spans.size() && isLinkTarget(spans[k].tag) ? spans[k].tag : spans[i].tag;
}

std::vector<Span> mergeRuns(std::vector<Span> spans) {
    std::vector<Span> out;
    out.reserve(spans.size());
    for (Span& span : spans) {
        if (!out.empty() && span.tag != "break" && span.tag == out.back().tag && mergeable(span.tag))
            out.back().text += span.text;
        else
            out.push_back(std::move(span));
    }
    return out;
}

// Spaces inside a style keep it, so "**a** **b**" stays two spans and "**a b**" one;
// spaces at either end of a styled span (HTML's "<b>a </b>") stand outside it, unless
// the neighbour on that side shares the style ("**a *b***").
std::vector<Span> mergeSpans(std::vector<Span> spans) {
    std::vector<Span> edged, merged = mergeRuns(std::move(spans));
    std::string previousTag;  // the span before is moved away by then
    for (std::size_t i = 0; i < merged.size(); ++i) {
        const bool keepBack = i + 1 < merged.size() && shareStyle(styleTag(merged, i + 1), merged[i].tag);
        const std::string ownStyle = styleTag(merged, i);
        Span& span = merged[i];
        const bool keepFront = shareStyle(previousTag, span.tag);
        previousTag = ownStyle;
        const std::size_t first = keepFront ? 0 : span.text.find_first_not_of(' ');
        if (!isStyle(span.tag) || (first == 0 && (keepBack || span.text.back() != ' '))) {
            edged.push_back(std::move(span));
            continue;
        }
        const std::size_t end = keepBack ? span.text.size() : span.text.find_last_not_of(' ') + 1;
        if (first == std::string::npos || end <= first) {
            edged.push_back({"plain", std::move(span.text)});
            continue;
        }
        if (first > 0) edged.push_back({"plain", span.text.substr(0, first)});
        edged.push_back({span.tag, span.text.substr(first, end - first)});
        if (end < span.text.size()) edged.push_back({"plain", span.text.substr(end)});
    }
    return mergeRuns(std::move(edged));
}

// Spaces at the start and end of a paragraph and around its line breaks, and runs of
// spaces, are left over from what was dropped (raw HTML); Markdown has no way to
// keep them.
std::vector<Span> trimLineEdges(std::vector<Span> spans) {
    auto trim = [](std::string& text, bool front) {
        if (front) text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
        else text.erase(text.find_last_not_of(' ') + 1);
    };
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (spans[i].tag != "plain") continue;
        for (std::size_t at; (at = spans[i].text.find("  ")) != std::string::npos;) spans[i].text.erase(at, 1);
        if (i == 0 || spans[i - 1].tag == "break") trim(spans[i].text, true);
        if (i + 1 == spans.size() || spans[i + 1].tag == "break") trim(spans[i].text, false);
    }
    std::erase_if(spans, [](const Span& span) { return span.tag == "plain" && span.text.empty(); });
    return spans;
}

// The contents of an element, checked to be an array.
element contentsOf(const PandocElement& e) {
    arrayContents(e);
    return e.contents;
}

// What inline conversion yields: spans, with image and formula blocks standing among them.
using InlineItem = std::variant<Span, Block>;

class PandocReader {
public:
    explicit PandocReader(const PandocReading& reading)
        : leftAlignment_(reading.leftAlignment),
          divsAndSpans_(reading.divsAndSpans),
          blankLinesLoosen_(reading.blankLinesLoosen),
          emptyRows_(reading.emptyRows) {}

    Blocks document(element tree) {
        element meta = tree, blocks = tree;
        if (!tree.isArray() || tree.size() != 2 || !tree.at(0, meta) || !tree.at(1, blocks)) {
            malformed("the document is not [metadata, blocks]");
        }
        Blocks out = metadata(meta);
        appendBlocks(blocks, 0, out);
        placeDefinitions(out);
        return out;
    }

private:
    // A definition stands where the text of the block it follows stands (its level
    // has no meaning of its own; how deep Pandoc nests the paragraph it came from
    // differs between a document and its saved form): inside a list item, after a
    // table at the top.
    static void placeDefinitions(Blocks& blocks) {
        int level = 0;
        for (Block& block : blocks) {
            if (block.tag == "link" || block.tag == "note") block.level = level;
            else if (block.tag == "bulleted" || block.tag == "numbered" || block.tag == "term" || block.tag == "definition")
                level = std::clamp(block.level + 1, 0, 4);
            else if (block.tag == "row" || block.tag == "col" || block.tag == "heading") level = 0;
            else level = std::clamp(block.level, 0, 4);
        }
    }

    // Tables and headings stand at the top level of the model even when Pandoc found
    // them inside a list item, so what followed them in that item can no longer be
    // nested there: saved, it would come out at the top. Read it that way at once, the
    // run after the table or heading keeping its levels relative to its first block.
    static bool standsAtTheTop(const Block& block) {
        return block.tag == "row" || block.tag == "col" || block.tag == "heading";
    }

    // Applied to the blocks of an outermost list, from `first` on: a heading or table
    // found at the top already stands there and what follows keeps its level.
    static void liftBlocksAfterTopLevelOnes(Blocks& blocks, std::size_t first) {
        for (std::size_t i = first + 1; i < blocks.size(); ++i) {
            if (!standsAtTheTop(blocks[i - 1]) || standsAtTheTop(blocks[i]) || blocks[i].level <= 0) continue;
            const int lift = blocks[i].level;
            for (std::size_t j = i; j < blocks.size() && blocks[j].level > 0 && !standsAtTheTop(blocks[j]); ++j)
                blocks[j].level = std::max(blocks[j].level - lift, 0);
        }
    }

    const bool leftAlignment_, divsAndSpans_, blankLinesLoosen_, emptyRows_;
    // Where the last table or list was read: two in a row of a kind would read as one.
    struct LastRun {
        const Blocks* in = nullptr;
        std::size_t end = 0;
        std::string_view kind;
        int level = 0;
        bool endsAt(const Blocks& out, std::string_view k, int l) const { return &out == in && out.size() == end && kind == k && level == l; }
        void mark(const Blocks& out, std::string_view k, int l) { *this = {&out, out.size(), k, l}; }
    };
    LastRun lastTable_, lastList_, lastQuotation_;
    int notesCounter_ = 0;
    int listDepth_ = 0;
    bool insideLink_ = false;

    Blocks metadata(element meta) {
        Blocks out;
        if (!meta.isObject()) return out;
        element title = meta, authors = meta, date = meta;
        if (meta.atKey("docTitle", title) && title.isArray()) appendParagraph(title, 0, out);
        if (meta.atKey("docAuthors", authors) && authors.isArray()) {
            for (element author : authors) appendParagraph(author, 0, out);
        }
        if (meta.atKey("docDate", date) && date.isArray()) appendParagraph(date, 0, out);
        return out;
    }

    void appendBlocks(element blocks, int level, Blocks& out) {
        for (element block : requireArray(blocks, "a block list")) appendBlock(block, level, out);
    }

    Blocks convertBlocks(element blocks, int level) {
        Blocks out;
        appendBlocks(blocks, level, out);
        return out;
    }

    void appendBlock(element value, int level, Blocks& out) {
        const PandocElement e = legacyElement(value);
        const std::string_view n = e.name;
        if (n == "Plain" || n == "Para") {
            appendParagraph(contentsOf(e), level, out);
        } else if (n == "CodeBlock") {
            // A code block of no lines holds nothing but its info string ("{versionadded}"
            // as a marker); without one Pandoc's writers leave it out.
            std::vector<Span> lines = lineSpans(std::string(stringAt(e, 1)));
            std::string info = infoString(contentsAt(e, 0));
            if (!lines.empty() || !info.empty()) out.push_back({"verbatim", level, false, std::move(lines), std::move(info)});
        } else if (n == "RawBlock") {
            const char* tag = rawTag(contentsAt(e, 0));
            // An empty comment is what Pandoc writes to keep two blocks apart, no content.
            if (stringAt(e, 1) == "<!-- -->" || stringAt(e, 1) == "<!-- -->\n") tag = nullptr;
            std::vector<Span> lines = tag ? lineSpans(std::string(stringAt(e, 1))) : std::vector<Span>();
            if (!lines.empty()) out.push_back({tag, level, false, std::move(lines)});
        } else if (n == "HorizontalRule") {
            out.push_back({"divider", 0, false, {}});
        } else if (n == "Div") {
            // A division the document says itself (Pandoc Markdown reads an HTML <div> as
            // one) is kept as the HTML that says it, around its blocks, and the Pandoc
            // writer makes it a division again; one of a web page pasted is just its blocks.
            if (divsAndSpans_) out.push_back({"html", level, false, {{"plain", openingTagText("div", attributesOf(contentsAt(e, 0)))}}});
            appendBlocks(contentsAt(e, 1), level, out);
            if (divsAndSpans_) out.push_back({"html", level, false, {{"plain", "</div>"}}});
        } else if (n == "BlockQuote") {
            appendQuotation(contentsOf(e), level, out);
        } else if (n == "OrderedList") {
            std::int64_t startNumber = 1;
            element attributes = contentsAt(e, 0), first = attributes;
            if (attributes.isArray() && attributes.at(0, first) && !first.getInt64(startNumber)) startNumber = 1;
            appendList("numbered", contentsAt(e, 1), level, out, startNumber);
        } else if (n == "BulletList") {
            appendList("bulleted", contentsOf(e), level, out);
        } else if (n == "DefinitionList") {
            for (element entry : arrayContents(e)) {
                element term = entry, definitions = entry;
                if (!entry.isArray() || entry.size() != 2 || !entry.at(0, term) || !entry.at(1, definitions)) {
                    malformed("a DefinitionList entry is not [term, definitions]");
                }
                const std::size_t first = out.size();
                appendParagraph(term, level, out);
                // The term's paragraph; images and notes in it stand after it.
                auto para = std::find_if(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                                         [&](const Block& b) { return b.tag == "para" && b.level == level; });
                if (para != out.end()) para->tag = "term";
                else para = out.insert(out.begin() + static_cast<std::ptrdiff_t>(first), Block{"term", level, false, {}});
                // A term's first definition must follow it directly; what the term's own
                // links, notes and images give goes after its definitions.
                std::vector<Block> termsOwn(std::make_move_iterator(para + 1), std::make_move_iterator(out.end()));
                out.erase(para + 1, out.end());
                appendList("definition", definitions, level, out);
                std::move(termsOwn.begin(), termsOwn.end(), std::back_inserter(out));
            }
        } else if (n == "Header") {
            appendHeading(e, out);
        } else if (n == "Table") {
            appendTable(e, out);
        }
        // Unknown blocks give nothing.
    }

    // Raw text of HTML or TeX has a block and span of its own; other formats are left out.
    static const char* rawTag(element format) {
        std::string_view name;
        if (!format.getString(name)) malformed("a raw format is not a name");
        return name == "html" ? "html" : name == "tex" || name == "latex" ? "tex" : nullptr;
    }

    // Pandoc's [id, classes, key-value pairs]; what is malformed in them is left out.
    static ElementAttributes attributesOf(element attributes) {
        ElementAttributes out;
        element id = attributes, classes = attributes, pairs = attributes;
        std::string_view text;
        if (!attributes.isArray() || !attributes.at(0, id) || !attributes.at(1, classes) || !attributes.at(2, pairs))
            return out;
        if (id.getString(text)) out.id = text;
        for (element c : classes)
            if (c.getString(text) && !text.empty()) out.classes.emplace_back(text);
        for (element pair : pairs) {
            element key = pair, value = pair;
            std::string_view k, v;
            if (pair.at(0, key) && pair.at(1, value) && key.getString(k) && value.getString(v)) out.pairs.emplace_back(k, v);
        }
        return out;
    }

    // A code block's attributes as its Markdown info string: the language alone when
    // that is all there is, else the attributes in braces as Pandoc Markdown writes them.
    static std::string infoString(element attributes) {
        const ElementAttributes a = attributesOf(attributes);
        if (a.id.empty() && a.pairs.empty() && a.classes.size() <= 1) return a.classes.empty() ? "" : a.classes[0];
        std::string info = "{";
        const auto add = [&](std::string_view part) {
            if (info.size() > 1) info += ' ';
            info += part;
        };
        if (!a.id.empty()) add("#" + a.id);
        for (const std::string& name : a.classes) add("." + name);
        for (const auto& [key, value] : a.pairs) {
            std::string quoted;
            for (char c : value) {
                if (c == '"' || c == '\\') quoted += '\\';
                quoted += c;
            }
            add(key + "=\"" + quoted + "\"");
        }
        return info + "}";
    }

    void appendHeading(const PandocElement& e, Blocks& out) {
        const element contents = arrayContents(e);
        std::int64_t headerLevel = 0;
        element levelValue = contents, inlines = contents;
        if (contents.size() < 2 || !contents.at(0, levelValue) || !levelValue.getInt64(headerLevel) ||
            !contents.at(contents.size() - 1, inlines)) {
            malformed("Header is not [level, ..., inlines]");
        }
        const std::size_t first = out.size();
        appendParagraph(inlines, 0, out);
        if (out.size() == first) return;
        out[first].tag = "heading";
        out[first].level = static_cast<int>(std::clamp<std::int64_t>(headerLevel - 4, -3, 2));
    }

    // A quotation's blocks come out one level deeper and turn into "quote" blocks one
    // level up again, so each nesting adds one level. A heading inside a quotation has
    // no depth of its own; it takes the quotation's level. A quotation right after another
    // is kept apart from it by an empty paragraph at its level, as quotation paragraphs in a
    // row are one quotation; inside a quotation that paragraph keeps the level, saying how
    // deep the quotations it parts are.
    // Outside lists, a quotation's lists of items and code blocks and its own code blocks
    // stay such, saying how many quotations they stand in (their levels count from the
    // quotation's); a list whose items hold anything else becomes quotation paragraphs.
    void appendQuotation(element blocks, int level, Blocks& out) {
        if (lastQuotation_.endsAt(out, "quote", level)) out.push_back(Block{"para", level, false, {}});
        Blocks inner = convertBlocks(blocks, level + 1);
        for (Block& block : inner)  // a nested quotation's own lists and code: one quotation deeper
            if (!block.quote.empty()) block.quote = std::to_string(std::min(std::stoi(block.quote) + 1, kDeepestQuotation));
        if (listDepth_ == 0) keepQuotedListsAndCode(inner, level + 1);
        for (Block& block : inner) {
            if (!block.quote.empty() || block.tag == "quote" || block.tag == "link" || block.tag == "note") {
                // already placed
            } else if (isEmptyParagraph(block)) {
                // parts two quotations inside this one
            } else if (block.tag == "heading") {
                block.tag = "quote";
                block.level = level;
            } else {
                asRunningText(block);
                block.tag = "quote";
                block.level = std::max(block.level - 1, 0);
            }
            out.push_back(std::move(block));
        }
        lastQuotation_.mark(out, "quote", level);
    }

    static constexpr int kDeepestQuotation = 5;

    // Marks the lists and code blocks among a quotation's blocks (at `level`) as standing
    // in it, where every block of the list is an item, a code block in an item, an empty
    // paragraph parting two lists or a definition.
    static void keepQuotedListsAndCode(Blocks& inner, int level) {
        for (std::size_t i = 0; i < inner.size();) {
            const bool item = isListItem(inner[i]);
            if (inner[i].level != level || !inner[i].quote.empty() || (!item && inner[i].tag != "verbatim")) {
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            bool whole = true;
            for (; item && end < inner.size() && (inner[end].level > level || isListItem(inner[end])); ++end) {
                const Block& block = inner[end];
                whole = whole && (isListItem(block) || block.tag == "verbatim" || isEmptyParagraph(block) || isAside(block));
            }
            for (std::size_t j = i; whole && j < end; ++j) {
                if (isAside(inner[j])) continue;
                inner[j].quote = "1";
                inner[j].level -= level;
            }
            i = end;
        }
    }

    static bool isListItem(const Block& block) { return block.tag == "bulleted" || block.tag == "numbered"; }

    // Definitions and comments stand among an item's blocks without being one of them.
    static bool isAside(const Block& block) { return block.tag == "link" || block.tag == "note" || block.tag == "comment"; }

    // What keeps two lists or quotations in a row apart.
    static bool isEmptyParagraph(const Block& block) { return block.tag == "para" && block.spans.empty(); }

    // Whether a loose list says so: its items hold nothing but their own paragraph,
    // nested lists (two in a row parted by an empty paragraph) and definitions. Any
    // other list the writer takes for loose anyway. With nested lists every item must
    // be a Para: Pandoc writes blank lines around a nested list in a tight one.
    static bool saysItsSpacing(const Blocks& out, const std::vector<std::size_t>& itemBlocks, int level, bool everyItemLoose) {
        for (std::size_t i = itemBlocks.empty() ? out.size() : itemBlocks.front(); i < out.size(); ++i) {
            // Deeper blocks belong to nested items, whose own spacing they decide.
            if (std::binary_search(itemBlocks.begin(), itemBlocks.end(), i) || out[i].level > level + 1) continue;
            const std::string& tag = out[i].tag;
            const bool nestedItem = tag == "bulleted" || tag == "numbered";
            if (out[i].level <= level || (nestedItem && !everyItemLoose) || (!nestedItem && !isEmptyParagraph(out[i]) && !isAside(out[i])))
                return false;
        }
        return true;
    }

    // Whether a tight list must say so: an item holds a code block, quotation or picture
    // (taken from the end of its text) besides its paragraph and nested lists, which makes
    // the writers take a list that does not say its spacing for loose. Not when an item
    // holds a further paragraph, which Pandoc writes loose (save after a nested list at the
    // very end of a list, where no item follows the blank line before it, outside GitHub
    // Markdown), or another
    // block, which may not read back as a block right after a line of text; nor, where a
    // blank line between an item's blocks makes the list loose (GitHub Markdown), when it
    // holds two or more: Pandoc writes one between them. Tables are lifted out of lists.
    bool needsTightMark(const Blocks& out, const std::vector<std::size_t>& itemBlocks, int level) const {
        bool needed = false;
        for (std::size_t k = 0; k < itemBlocks.size(); ++k) {
            const std::size_t end = k + 1 < itemBlocks.size() ? itemBlocks[k + 1] : out.size();
            std::size_t children = 0, others = 0;
            bool opensAList = false;
            for (std::size_t i = itemBlocks[k] + 1; i < end; ++i) {
                const std::string& tag = out[i].tag;
                if (out[i].level != level + 1 || isAside(out[i]) || tag == "row" || tag == "col" || isEmptyParagraph(out[i]))
                    continue;
                if (++children == 1) opensAList = tag == "bulleted" || tag == "numbered";
                const bool closingParagraph = tag == "para" && !blankLinesLoosen_ && k + 1 == itemBlocks.size() && opensAList &&
                                              std::all_of(out.begin() + static_cast<std::ptrdiff_t>(i) + 1, out.begin() + static_cast<std::ptrdiff_t>(end),
                                                          isAside);
                if (tag == "verbatim" || tag == "quote" || tag == "image" || closingParagraph) ++others;
                else if (tag != "bulleted" && tag != "numbered") return false;
            }
            if (others > 0 && children > 1 && blankLinesLoosen_) return false;
            needed = needed || others > 0;
        }
        return needed;
    }

    // A bulleted or numbered list with an item whose text is a Para rather than a Plain
    // is loose, every item of it, as Pandoc's writers write such a list (said only where
    // saysItsSpacing); a numbered list
    // starting elsewhere than at 1 says so on its first item.
    void appendList(const char* tag, element items, int level, Blocks& out, std::int64_t startNumber = 1) {
        const std::size_t start = out.size();
        const bool list = tag != std::string_view("definition");
        // A list right after another of its kind is kept apart from it by an empty paragraph:
        // items in a row are one list.
        const bool afterList = list && lastList_.endsAt(out, tag, level);
        std::vector<std::size_t> itemBlocks;
        bool loose = false, everyItemLoose = true;
        ++listDepth_;
        for (element item : requireArray(items, "a list of items")) {
            const std::size_t first = out.size();
            // An item opening with a list ("-   1.  a") has no text of its own: the nested list
            // keeps its own first item.
            const bool opensWithList = list && (startsWith(item, "BulletList") || startsWith(item, "OrderedList"));
            if (opensWithList) out.push_back(Block{"para", level + 1, false, {}});
            appendBlocks(item, level + 1, out);
            // An empty item keeps its place, and so its marker: Pandoc reads a wrapped line "8." as one.
            if (out.size() == first) out.push_back(Block{"para", level + 1, false, {}});
            asRunningText(out[first]);
            out[first].tag = tag;
            out[first].level = level;
            // Spacing and start are this list's, not those of a list the item opened with.
            out[first].spacing.clear();
            out[first].start.clear();
            itemBlocks.push_back(first);
            const bool para = list && startsWith(item, "Para");
            loose = loose || para;
            everyItemLoose = everyItemLoose && para;
            // A definition given as a Plain follows its term without a blank line.
            if (!list && startsWith(item, "Plain")) out[first].spacing = "tight";
        }
        if (loose && saysItsSpacing(out, itemBlocks, level, everyItemLoose))
            for (std::size_t i : itemBlocks) out[i].spacing = "loose";
        else if (list && !loose && needsTightMark(out, itemBlocks, level))
            for (std::size_t i : itemBlocks) out[i].spacing = "tight";
        if (!itemBlocks.empty() && list && startNumber != 1 && startNumber >= 0 && startNumber <= 999999999)
            out[itemBlocks.front()].start = std::to_string(startNumber);
        if (afterList && !itemBlocks.empty()) out.insert(out.begin() + static_cast<std::ptrdiff_t>(start), Block{"para", level, false, {}});
        if (--listDepth_ == 0) liftBlocksAfterTopLevelOnes(out, start);
        lastList_.mark(out, tag, level);
    }

    // Whether the first block is a `name` (Para, Plain), looking into a division it opens with.
    static bool startsWith(element blocks, std::string_view name) {
        element head = blocks;
        if (blocks.size() == 0 || !blocks.at(0, head)) return false;
        const PandocElement e = legacyElement(head);
        return e.name == name || (e.name == "Div" && startsWith(contentsAt(e, 1), name));
    }

    // Every row and every cell keeps its place, empty or not, so the cells stay in
    // their columns: an empty cell is an empty "col" (or "row") block.
    // A header row whose cells are all empty holds nothing: Pandoc gives one for a table
    // written without a header, and writes one in a headerless table so that it reads
    // back as a table of a different kind. An empty row of the body is the writer's own
    // and stays, where the flavour keeps one. Definitions made inside cells
    // follow the table, which they would otherwise cut in two. The first row keeps
    // the columns' alignments and widths. A table right after another is kept apart
    // from it by an empty paragraph: rows in a row are one table.
    void appendTable(const PandocElement& e, Blocks& out) {
        Blocks definitions;
        const bool afterTable = lastTable_.endsAt(out, "row", 0);
        const std::size_t first = out.size();
        appendTableRow(contentsAt(e, 3), out, definitions, false);
        for (element row : arrayAt(e, 4)) appendTableRow(row, out, definitions, emptyRows_);
        if (out.size() > first) {
            out[first].align = columnAlignmentsText(columnAlignments(arrayAt(e, 1)));
            out[first].widths = columnWidthsText(columnWidths(arrayAt(e, 2)));
            if (afterTable) out.insert(out.begin() + static_cast<std::ptrdiff_t>(first), Block{"para", 0, false, {}});
        }
        for (Block& definition : definitions) out.push_back(std::move(definition));
        lastTable_.mark(out, "row", 0);
    }

    // Where the flavour does not tell left alignment from the default (Pandoc Markdown
    // writes both alike and reads a short header back as left), left is the default.
    std::vector<char> columnAlignments(element aligns) const {
        std::vector<char> out;
        for (element a : aligns) {
            const std::string_view name = legacyElement(a).name;
            out.push_back(name == "AlignLeft" && leftAlignment_ ? 'l'
                          : name == "AlignCenter"               ? 'c'
                          : name == "AlignRight"                ? 'r'
                                                                : 'd');
        }
        return out;
    }

    static std::vector<double> columnWidths(element widths) {
        std::vector<double> out;
        for (element w : widths) {
            double value = 0.0;
            if (!w.getDouble(value) || !(value >= 0.0) || value > 1e6) value = 0.0;
            out.push_back(value);
        }
        return out;
    }

    // A cell is one block: its further blocks join its first one, a space apart.
    void appendTableRow(element cells, Blocks& out, Blocks& definitions, bool keepEmpty) {
        const std::size_t first = out.size();
        for (element cell : requireArray(cells, "a table row")) {
            Block merged{"col", 2, false, {}};
            for (Block& block : convertBlocks(cell, 3)) {
                if (block.tag == "note" || block.tag == "link") {
                    definitions.push_back(std::move(block));
                    continue;
                }
                if (!merged.spans.empty()) merged.spans.push_back({"plain", " "});
                // A cell holds running text, where a picture is a run of its own; one without
                // a source, which such a run cannot hold, stays a picture as the HTML that shows one.
                if (isPictureWithSource(block)) appendPictureSpans(block, merged.spans);
                else if (block.tag == "image") merged.spans.push_back({"html", pictureTag(block)});
                else appendAsRunningText(block, merged.spans);
            }
            merged.spans = mergeSpans(std::move(merged.spans));
            out.push_back(std::move(merged));
        }
        const bool empty = std::all_of(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                                       [](const Block& cell) { return cell.spans.empty(); });
        if (empty && (!keepEmpty || out.size() == first)) {
            out.resize(first);
            return;
        }
        out[first].tag = "row";
        out[first].level = 1;
    }

    // A paragraph with formulas among its words is split around them; the definitions of
    // the links and notes of each piece follow that piece, as they do once the pieces are
    // paragraphs of their own. Pictures among words, or side by side, stay in the text
    // (a run of pictures with no link after it), save one right before a link's text,
    // which would take it in: it too splits the paragraph.
    void appendParagraph(element inlines, int level, Blocks& out) {
        std::vector<InlineItem> items;
        Blocks definitions;
        std::vector<std::size_t> definedBy;  // for each item, the definitions made by then
        for (element value : requireArray(inlines, "an inline list")) {
            convertInline(value, level, nullptr, items, definitions);
            definedBy.resize(items.size(), definitions.size());
        }
        std::size_t placed = 0;
        auto placeDefinitions = [&](std::size_t end) {
            for (; placed < end; ++placed) out.push_back(std::move(definitions[placed]));
        };
        std::vector<Span> spans;
        auto finishPara = [&] {
            if (spans.empty()) return;
            std::vector<Span> merged = trimLineEdges(mergeSpans(std::move(spans)));
            spans.clear();
            if (merged.empty() || (merged.size() == 1 && isBlank(merged.front().text))) return;
            out.push_back({"para", level, false, std::move(merged)});
        };
        const bool picturesInText = holdsPicturesInText(items);
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (auto* span = std::get_if<Span>(&items[i])) {
                spans.push_back(std::move(*span));
            } else if (const Block& block = std::get<Block>(items[i]); picturesInText && isPictureWithSource(block) &&
                                                                      !(i + 1 < items.size() && isLinkTextItem(items[i + 1]))) {
                appendPictureSpans(block, spans);
            } else {
                finishPara();
                placeDefinitions(definedBy[i]);
                out.push_back(std::move(std::get<Block>(items[i])));
            }
        }
        finishPara();
        placeDefinitions(definitions.size());
    }

    static bool isPictureWithSource(const Block& block) {
        return block.tag == "image" && !block.spans.empty() && !block.spans[0].text.empty();
    }

    static bool isLinkTextItem(const InlineItem& item) {
        const Span* span = std::get_if<Span>(&item);
        return span && isLinkTextTag(span->tag);
    }

    // Whether a paragraph's pictures stand among words or beside another: not a picture alone.
    static bool holdsPicturesInText(const std::vector<InlineItem>& items) {
        std::size_t pictures = 0;
        bool words = false;
        for (const InlineItem& item : items) {
            if (const Span* span = std::get_if<Span>(&item)) words = words || (span->tag != "break" && !isBlank(span->text));
            else if (isPictureWithSource(std::get<Block>(item))) ++pictures;
        }
        return pictures > 1 || (pictures == 1 && words);
    }

    // Strong emphasis and emphasis, one inside the other, make "strongemph"; otherwise
    // the outermost style wins.
    static const char* nestedStyle(const char* outer, const char* own) {
        if (!outer) return own;
        const std::string_view a = outer, b = own;
        return (a == "emph" && b == "strong") || (a == "strong" && b == "emph") ? "strongemph" : outer;
    }

    // Code keeps the strong emphasis or emphasis around it.
    static const char* codeIn(const char* style) {
        const std::string_view s = style ? style : "";
        return s == "emph" ? "emphcode" : s == "strong" || s == "strongemph" ? "strongcode" : "code";
    }

    // `style` is what the enclosing styles make: "emph", "strong", "strongemph", "strike", "sup", "sub" or null.
    void convertInlines(element inlines, int level, const char* style, std::vector<InlineItem>& items,
                        Blocks& definitions) {
        for (element value : requireArray(inlines, "an inline list")) {
            convertInline(value, level, style, items, definitions);
        }
    }

    void convertInline(element value, int level, const char* style, std::vector<InlineItem>& items,
                       Blocks& definitions) {
        const PandocElement e = legacyElement(value);
        const std::string_view n = e.name;
        if (n == "Str") {
            if (!e.hasContents) malformed("Str has no text");
            items.emplace_back(Span{style ? style : "plain", std::string(requireString(e.contents, "the text of Str"))});
        } else if (n == "Emph" || n == "Strong" || n == "Strikeout" || n == "Superscript" || n == "Subscript") {
            const char* own = n == "Emph"        ? "emph"
                              : n == "Strong"    ? "strong"
                              : n == "Strikeout" ? "strike"
                              : n == "Superscript" ? "sup"
                                                   : "sub";
            convertInlines(contentsOf(e), level, nestedStyle(style, own), items, definitions);
        } else if (n == "SmallCaps") {
            convertInlines(contentsOf(e), level, style, items, definitions);
        } else if (n == "Quoted") {
            std::string_view type;
            const bool single = contentsAt(e, 0).getString(type) && type == "SingleQuote";
            items.emplace_back(Span{style ? style : "plain", single ? "\u2018" : "\u201C"});
            convertInlines(contentsAt(e, 1), level, style, items, definitions);
            items.emplace_back(Span{style ? style : "plain", single ? "\u2019" : "\u201D"});
        } else if (n == "Cite") {
            items.emplace_back(Span{"plain", citationText(arrayAt(e, 0))});
        } else if (n == "Span") {
            // Only where the document's own spans are kept (pandoc_import.h): as the HTML
            // tags around its text, which the Pandoc writer makes a span again.
            items.emplace_back(Span{"html", openingTagText("span", attributesOf(contentsAt(e, 0)))});
            convertInlines(contentsAt(e, 1), level, style, items, definitions);
            items.emplace_back(Span{"html", "</span>"});
        } else if (n == "RawInline") {
            const char* tag = rawTag(contentsAt(e, 0));
            std::string text(stringAt(e, 1));
            // A line end inside an HTML tag, or in TeX outside a comment, is a space to
            // both, and one line of a paragraph must hold the span (Pandoc's Markdown
            // reads it back with spaces too).
            if (tag && (tag == std::string_view("html") || text.find('%') == std::string::npos))
                std::replace(text.begin(), text.end(), '\n', ' ');
            // Pandoc Markdown takes the space after a TeX command ("\tracing when") into
            // it, and reads it back from `\tracing `{=tex} without: the space between the
            // words would go on the second save. It stays text.
            const std::size_t length = text.size();
            if (tag && tag == std::string_view("tex") && text.find('%') == std::string::npos)
                text.resize(text.find_last_not_of(' ') + 1);  // npos + 1 is 0: all spaces
            const bool spaceAfter = text.size() < length;
            if (tag && !text.empty()) items.emplace_back(Span{tag, std::move(text)});
            if (spaceAfter) items.emplace_back(Span{style ? style : "plain", " "});
        } else if (n == "Code") {
            items.emplace_back(Span{codeIn(style), std::string(stringAt(e, 1))});
        } else if (n == "Space") {
            items.emplace_back(Span{style ? style : "plain", " "});
        } else if (n == "LineBreak") {
            items.emplace_back(Span{"break", "\n"});
        } else if (n == "Math") {
            convertMath(e, level, items);
        } else if (n == "Link") {
            convertLink(e, level, style, items, definitions);
        } else if (n == "Image") {
            const element target = arrayAt(e, 1);
            std::string title = targetTitle(target);
            // Pandoc marks an image standing alone as a figure by its title.
            if (title.starts_with("fig:")) title.erase(0, 4);
            items.emplace_back(Block{"image", level, false, {{"url", targetUrl(target)}}, {}, plainText(contentsAt(e, 0)),
                                     std::move(title)});
        } else if (n == "Note") {
            convertNote(contentsOf(e), level, items, definitions);
        }
        // Unknown inlines give nothing.
    }

    // The text of inlines with their formatting left out (an image's description).
    static std::string plainText(element inlines) {
        std::string text;
        appendPlainText(inlines, text);
        return text;
    }

    static void appendPlainText(element inlines, std::string& text) {
        if (!inlines.isArray()) return;
        for (element value : inlines) {
            const PandocElement e = legacyElement(value);
            const std::string_view n = e.name;
            std::string_view part;
            if (n == "Space" || n == "LineBreak") text += ' ';
            else if (n == "Str" && e.hasContents && e.contents.getString(part)) text += part;
            else if (n == "Code" || n == "Math") text += stringAt(e, 1);
            else if (n == "Quoted") {
                std::string_view type;
                const bool single = contentsAt(e, 0).getString(type) && type == "SingleQuote";
                text += single ? "\u2018" : "\u201C";
                appendPlainText(contentsAt(e, 1), text);
                text += single ? "\u2019" : "\u201D";
            } else if (n == "Link" || n == "Image" || n == "Cite" || n == "Span")
                appendPlainText(contentsAt(e, n == "Link" || n == "Image" ? 0 : 1), text);
            else if (n != "Note" && n != "RawInline" && e.hasContents) appendPlainText(e.contents, text);
        }
    }

    // Citations word for word as Pandoc Markdown writes them: "@doe99" or "@doe [p. 33]"
    // in the text, "[see @a, p. 33; -@b]" in brackets (the writer turns them back into
    // citations). Several authors in the text stand apart before the bracket.
    static std::string citationText(element citations) {
        std::string inText;
        std::vector<std::string> bracketed;
        for (element citation : citations) {
            element id = citation, mode = citation, words = citation;
            if (!citation.atKey("citationId", id)) malformed("a citation has no citationId");
            std::string_view modeName;
            if (citation.atKey("citationMode", mode)) modeName = legacyElement(mode).name;
            const std::string prefix = citation.atKey("citationPrefix", words) ? plainText(words) : "";
            const std::string suffix = citation.atKey("citationSuffix", words) ? plainText(words) : "";
            const std::string key = "@" + std::string(requireString(id, "citationId"));
            if (modeName == "AuthorInText") {
                inText += inText.empty() ? key : " " + key;
                const std::size_t start = suffix.find_first_not_of(' ');
                if (start != std::string::npos) bracketed.push_back(suffix.substr(start));
            } else {
                bracketed.push_back((prefix.empty() ? "" : prefix + " ") + (modeName == "SuppressAuthor" ? "-" : "") +
                                    key + suffix);
            }
        }
        std::string text = inText;
        for (std::size_t i = 0; i < bracketed.size(); ++i)
            text += (i > 0 ? "; " : inText.empty() ? "[" : " [") + bracketed[i];
        return bracketed.empty() ? text : text + "]";
    }

    static std::string targetTitle(element target) {
        element title = target;
        std::string_view text;
        return target.at(1, title) && title.getString(text) ? std::string(text) : std::string();
    }

    static std::string targetUrl(element target) {
        element url = target;
        if (!target.at(0, url)) malformed("a link target is not [url, title]");
        return std::string(requireString(url, "a link URL"));
    }

    void convertMath(const PandocElement& e, int level, std::vector<InlineItem>& items) {
        std::string_view type;
        if (!contentsAt(e, 0).getString(type)) malformed("the math type is not a name");
        std::string source(stringAt(e, 1));
        if (type == "InlineMath") {
            std::replace(source.begin(), source.end(), '\n', ' ');
            items.emplace_back(Span{"math", std::move(source)});
        } else if (type == "DisplayMath") {
            items.emplace_back(Block{"formula", level, false, lineSpans(source)});
        } else {
            malformed("unknown math type \"" + std::string(type) + "\"");
        }
    }

    // A link becomes a "url" span when its text is its URL, else "linktext" with a
    // numbered "linkref" and a "link" definition. Footnote references, images and
    // formulas inside the link text keep their own place after the link, save pictures
    // among words, code and emphasis, which stay in the link's text.
    void convertLink(const PandocElement& e, int level, const char* style, std::vector<InlineItem>& items,
                     Blocks& definitions) {
        if (insideLink_) {
            // A link inside a link's text (an address Pandoc links by itself) is text.
            convertInlines(contentsAt(e, 0), level, style, items, definitions);
            return;
        }
        // A link standing whole in emphasis or strong emphasis says so on its target; its
        // text keeps its own styles, save the one around it.
        const char* outer = outerOf(style);
        std::vector<InlineItem> inner;
        insideLink_ = true;
        convertInlines(contentsAt(e, 0), level, outer ? nullptr : style, inner, definitions);
        insideLink_ = false;
        const std::string url = targetUrl(arrayAt(e, 1));
        const std::string title = targetTitle(arrayAt(e, 1));
        std::string text;
        std::vector<InlineItem> after;
        const bool pictures = !style && holdsPictures(inner);
        for (InlineItem& item : inner) {
            auto* span = std::get_if<Span>(&item);
            if (!span && pictures) continue;
            if (!span) after.push_back(std::move(item));
            else if (span->tag == "noteref") after.push_back(std::move(item));
            else if (span->tag != "break") text += span->text;
        }
        // A link whose plain text is its URL, or that has no text of its own (an
        // image inside a link stands after it), is the URL itself. A title needs the
        // link's definition to stand in, and so does a styled text ([`LICENSE`]).
        const bool styled = (!style || outer) && hasFlatStyles(contentsAt(e, 0));
        const std::string prefix = outer ? outer : "";
        if (!pictures && (text.empty() || (title.empty() && text == url && !styled))) {
            items.emplace_back(Span{prefix + "url", url});
        } else {
            const std::string label = std::to_string(++notesCounter_);
            if (pictures || styled) appendLinkTextRun(inner, prefix, items);
            else items.emplace_back(Span{"linktext", std::move(text)});
            items.emplace_back(Span{prefix + "linkref", label});
            definitions.push_back({"link", level, false, {{"linkref", label}, {"url", url}}});
            if (!title.empty()) definitions.back().spans.push_back({"title", title});
        }
        for (InlineItem& item : after) items.push_back(std::move(item));
    }

    // The styles of `style` a whole link can stand in ("emph", "strong", "strongemph"), or null.
    static const char* outerOf(const char* style) {
        const std::string_view s = style ? style : "";
        return s == "emph" || s == "strong" || s == "strongemph" ? style : nullptr;
    }

    // Whether a link's text is words, code, and emphasis or strong emphasis of words
    // only, with at least one of the three: such a text keeps its styles.
    static bool hasFlatStyles(element inlines) {
        bool styled = false;
        return flatStylesIn(inlines, styled) && styled;
    }

    // Whether `inlines` hold words, code and emphasis of words only, `styled` set when code
    // or emphasis is among them. Quotation marks are text around what they hold.
    static bool flatStylesIn(element inlines, bool& styled) {
        for (element value : requireArray(inlines, "an inline list")) {
            const PandocElement e = legacyElement(value);
            if (e.name == "Code") {
                styled = true;
            } else if (e.name == "Emph" || e.name == "Strong") {
                for (element word : requireArray(contentsOf(e), "an inline list")) {
                    const std::string_view n = legacyElement(word).name;
                    if (n != "Str" && n != "Space" && n != "SoftBreak") return false;
                }
                styled = true;
            } else if (e.name == "Quoted") {
                if (!flatStylesIn(contentsAt(e, 1), styled)) return false;
            } else if (e.name != "Str" && e.name != "Space" && e.name != "SoftBreak") {
                return false;
            }
        }
        return true;
    }

    // Whether a link's converted text holds pictures with a source, among words, code and
    // emphasis only: the pictures then stay in the link's text.
    static bool holdsPictures(const std::vector<InlineItem>& inner) {
        bool picture = false;
        for (const InlineItem& item : inner) {
            if (const Block* block = std::get_if<Block>(&item)) {
                if (!isPictureWithSource(*block)) return false;
                picture = true;
            } else if (const std::string& tag = std::get<Span>(item).tag; tag != "plain" && tag != "code" && tag != "emph" && tag != "strong") {
                return false;
            }
        }
        return picture;
    }

    static void appendPictureSpans(const Block& picture, std::vector<Span>& run) {
        run.push_back(Span{"linkimage", picture.alt});
        run.push_back(Span{"linkimageurl", picture.spans[0].text});
        if (!picture.title.empty()) run.push_back(Span{"linkimagetitle", picture.title});
    }

    // The converted spans of such a text as its run of link-text spans. In a link standing
    // whole in emphasis (`outer`) only code is its own, in strong emphasis code and
    // emphasis: the text format could not mark the others inside the outer marks.
    static void appendLinkTextRun(const std::vector<InlineItem>& inner, const std::string& outer,
                                  std::vector<InlineItem>& items) {
        std::vector<Span> run;
        for (const InlineItem& item : inner) {
            if (const Block* picture = std::get_if<Block>(&item)) {
                appendPictureSpans(*picture, run);
                continue;
            }
            const Span& span = std::get<Span>(item);
            const bool own = outer.empty() || (span.tag == "emph" && outer == "strong");
            const char* tag = span.tag == "code"             ? "linkcode"
                              : span.tag == "emph" && own    ? "linkemph"
                              : span.tag == "strong" && own  ? "linkstrong"
                                                             : "linktext";
            if (span.text.empty()) continue;
            if (!run.empty() && run.back().tag == tag) run.back().text += span.text;
            else run.push_back(Span{tag, span.text});
        }
        for (Span& span : run) items.emplace_back(std::move(span));
    }

    void convertNote(element blocks, int level, std::vector<InlineItem>& items, Blocks& definitions) {
        const std::string label = std::to_string(++notesCounter_);
        items.emplace_back(Span{"noteref", label});
        // A note in a link's text is no part of that text: its links are links.
        const bool insideLink = std::exchange(insideLink_, false);
        Blocks note = convertBlocks(blocks, level);
        insideLink_ = insideLink;
        if (note.empty()) {
            definitions.push_back({"note", level, false, {{"noteref", label}}});
            return;
        }
        // The note's further blocks join its first one, two line breaks apart (the
        // model has no block inside a note); definitions they made stay definitions.
        Block merged{"note", level, false, {Span{"noteref", label}}};
        Blocks nested;
        for (Block& block : note) {
            if (block.tag == "note" || block.tag == "link") {
                nested.push_back(std::move(block));
                continue;
            }
            if (merged.spans.size() > 1) merged.spans.insert(merged.spans.end(), 2, Span{"break", "\n"});
            appendAsRunningText(block, merged.spans);
        }
        definitions.push_back(std::move(merged));
        for (Block& block : nested) definitions.push_back(std::move(block));
    }

    // A code or math block that becomes an item or a quotation keeps its lines as
    // code or math in the block's running text.
    static void asRunningText(Block& block) {
        if (block.tag != "verbatim" && block.tag != "formula" && block.tag != "html" && block.tag != "tex") return;
        block.info.clear();
        std::vector<Span> spans;
        appendAsRunningText(block, spans);
        block.spans = std::move(spans);
    }

    // `<img src=".." alt=".." title="..">`, the title only where there is one.
    static std::string pictureTag(const Block& image) {
        std::string tag = "<img src=\"";
        appendHtmlAttributeValue(tag, image.spans.empty() ? "" : image.spans.front().text);
        tag += "\" alt=\"";
        appendHtmlAttributeValue(tag, image.alt);
        if (!image.title.empty()) {
            tag += "\" title=\"";
            appendHtmlAttributeValue(tag, image.title);
        }
        return tag + "\">";
    }

    // A block's spans as running text: code lines as code, formula lines as math.
    static void appendAsRunningText(Block& block, std::vector<Span>& out) {
        const char* lineTag = block.tag == "verbatim"  ? "code"
                              : block.tag == "formula" ? "math"
                              : block.tag == "html"    ? "html"
                              : block.tag == "tex"     ? "tex"
                                                       : nullptr;
        for (Span& span : block.spans) {
            if (lineTag && span.tag == "plain") span.tag = lineTag;
            out.push_back(std::move(span));
        }
    }
};

}  // namespace

std::string ReadPandocJson(std::string_view input, const char* options) {
    const PandocReading reading = parsePandocReaderOptions(options);
    simdjson::dom::parser parser;  // the tree's strings point into it
    const simdjson::dom::element parsed = parseJsonText(parser, input);
    PandocTree tree;
    if (isCurrentPandocForm(parsed)) translateToLegacyPandoc(parsed, tree, reading.divsAndSpans);
    else tree.copy(parsed);
    return serializeModel("text", PandocReader(reading).document(tree.root()));
}

}  // namespace qorva::convert
