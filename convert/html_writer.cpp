// Model JSON to an HTML body. Lists and tables are rebuilt from levels; footnotes
// are numbered in the order of their references and listed at the end. The
// output is written straight into one string, element by element.
#include "convert/converters.h"
#include "convert/html_fragments.h"
#include "convert/html_sanitizer.h"
#include "convert/html_text.h"
#include "convert/link_target.h"
#include "convert/writer_model.h"
#include "convert/url_scheme.h"
#include "model/label_tables.h"
#include "model/table_columns.h"
#include "model/model_json.h"
#include "model/model_tree.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qorva::convert {
namespace {

// A footnote's paragraph: written once, shown in every entry of the footnote list
// that refers to it, with one back-link per reference.
struct Footnote {
    const ModelBlock* block = nullptr;
    std::string content;
    std::vector<int> references;
};

// Markup made elsewhere for a formula or a code block, by its source.
struct Fragments {
    std::unordered_map<std::string, std::string> inlineMath, displayMath, code;

    static const std::string* find(const std::unordered_map<std::string, std::string>& table, std::string_view key) {
        const auto found = table.find(std::string(key));
        return found == table.end() ? nullptr : &found->second;
    }
};

Fragments readFragments(const char* options) {
    Fragments fragments;
    if (!options || !*options) return fragments;
    const Json json = parseJson(options);
    auto read = [&](const char* name, std::unordered_map<std::string, std::string>& table) {
        if (!json.contains(name) || !json[name].is_object()) return;
        for (const auto& [key, value] : json[name].items())
            if (value.is_string()) table.emplace(key, value.get<std::string>());
    };
    read("inlineMath", fragments.inlineMath);
    read("displayMath", fragments.displayMath);
    read("code", fragments.code);
    return fragments;
}

std::string codeKey(std::string_view language, std::string_view text) {
    return std::string(language) + '\n' + std::string(text);
}

class HtmlWriter {
public:
    HtmlWriter(const ModelView& model, const Fragments& fragments)
        : model_(model), labels_(buildLabelTables(model)), fragments_(fragments) {
        for (const ModelBlock& block : model.blocks) {
            if (block.kind != BlockKind::Link || block.spanCount < 2) continue;
            if (model.span(block, 0).kind != SpanKind::LinkRef || model.span(block, 1).kind != SpanKind::Url) continue;
            linkTitles_.insert_or_assign(std::string(model.text(model.span(block, 0))), model.titleAfter(block, 1));
        }
    }

    std::string document() {
        const TreeNodes tree = rebuildTree(model_, 0);
        for (const TreeNode& node : tree) topLevel([&] { return writeNode(node); });
        writeFootnoteContents();
        if (!entries_.empty()) topLevel([&] { return writeFootnoteList(), true; });
        out_ += '\n';
        return std::move(out_);
    }

private:
    const ModelView& model_;
    LabelTables labels_;
    const Fragments& fragments_;
    std::unordered_map<std::string, std::string_view> linkTitles_;  // label to the title of its definition
    std::string out_;
    bool wroteTopLevel_ = false;
    std::unordered_map<std::string, std::unique_ptr<Footnote>> footnotes_;
    std::deque<Footnote*> unwritten_;  // footnotes whose paragraph is still to be written
    std::vector<Footnote*> entries_;   // the footnote list, entry N at index N - 1
    int quotationsOpen_ = 0;  // quotations around the list or code block being written

    // Top-level elements are separated by an empty line; one that writes nothing
    // leaves no trace.
    template <typename Write>
    void topLevel(Write write) {
        const std::size_t mark = out_.size();
        if (wroteTopLevel_) out_ += "\n\n";
        if (write()) wroteTopLevel_ = true;
        else out_.resize(mark);
    }

    void open(const char* tag, bool rtl = false) {
        out_ += '<';
        out_ += tag;
        if (rtl) appendHtmlAttribute(out_, "dir", "rtl");
        out_ += '>';
    }
    void close(const char* tag) {
        out_ += "</";
        out_ += tag;
        out_ += '>';
    }

    // ---- spans -------------------------------------------------------------------

    static const char* spanElement(SpanKind kind) {
        switch (kind) {
            case SpanKind::Emph: return "em";
            case SpanKind::Strong: return "strong";
            case SpanKind::Code: return "code";
            case SpanKind::Strike: return "del";
            case SpanKind::Sup: return "sup";
            case SpanKind::Sub: return "sub";
            default: return nullptr;
        }
    }

    // Writes the spans of `block` from `first` on; false when every span wrote nothing.
    // Raw HTML among them is cleaned together with the spans around it, so that its
    // tags may open in one span and close in another.
    bool writeSpans(const ModelBlock& block, std::size_t first) {
        const std::span<const ModelSpan> spans = model_.spansOf(block);
        const bool raw = std::any_of(spans.begin() + static_cast<std::ptrdiff_t>(std::min(first, spans.size())),
                                     spans.end(), [](const ModelSpan& span) { return span.kind == SpanKind::Html; });
        const std::size_t mark = out_.size();
        bool wrote = false;
        for (std::size_t i = first; i < spans.size(); ++i) {
            const SpanKind kind = spans[i].kind;
            const std::string_view text = model_.text(spans[i]);
            if (const char* element = spanElement(kind)) {
                open(element);
                appendHtmlText(out_, text);
                close(element);
            } else if (const NestedStyles styles = nestedStyles(kind); styles.outer != SpanKind::Other) {
                open(spanElement(styles.outer));
                open(spanElement(styles.inner));
                appendHtmlText(out_, text);
                close(spanElement(styles.inner));
                close(spanElement(styles.outer));
            } else if (kind == SpanKind::Url) {
                const std::uint8_t outer = openOuterStyles(block, i);
                writeLink(text, text);
                closeOuterStyles(outer);
            } else if (kind == SpanKind::Break) {
                out_ += "<br>\n";
            } else if (kind == SpanKind::Math) {
                if (const std::string* markup = Fragments::find(fragments_.inlineMath, text)) {
                    out_ += *markup;
                    wrote = true;
                    continue;
                }
                out_ += "\\(";
                appendHtmlText(out_, text);
                out_ += "\\)";
            } else if (isLinkTextKind(kind)) {
                // Link text followed by its target (a "url", or a defined label) is a link;
                // otherwise the text stands alone.
                const std::uint8_t outer = openOuterStyles(block, i);
                const std::size_t runBegin = i, runEnd = model_.linkTextEnd(block, i);
                i = runEnd - 1;
                auto writeText = [&] { writeLinkText(block, runBegin, runEnd); };
                if (auto target = takeLinkTarget(model_, spans, i, &labels_)) writeLink(*target, writeText, linkTitle(block, i));
                else writeText();
                closeOuterStyles(outer);
            } else if (kind == SpanKind::LinkRef || kind == SpanKind::Tex) {
                continue;
            } else if (kind == SpanKind::Html) {
                out_ += text;
            } else if (kind == SpanKind::NoteRef) {
                if (!writeFootnoteReference(text)) continue;
            } else {
                appendHtmlText(out_, text);
            }
            wrote = true;
        }
        if (!raw) return wrote;
        const std::string clean = sanitizeHtml(std::string_view(out_).substr(mark));
        out_.resize(mark);
        out_ += clean;
        return !clean.empty();
    }

    // The emphasis and strong emphasis a link starting at span i stands in, opened
    // around it; returns them for closeOuterStyles.
    std::uint8_t openOuterStyles(const ModelBlock& block, std::size_t i) {
        const std::uint8_t outer = model_.outerLinkAt(block, i).outer;
        if (outer & kOuterStrong) open("strong");
        if (outer & kOuterEmph) open("em");
        return outer;
    }
    void closeOuterStyles(std::uint8_t outer) {
        if (outer & kOuterEmph) close("em");
        if (outer & kOuterStrong) close("strong");
    }

    // The title of the link whose target was just taken for the "linktext" before
    // span `index`: an inline link's own (consumed), or that of the label's definition.
    std::string_view linkTitle(const ModelBlock& block, std::size_t& index) {
        const ModelSpan& taken = model_.span(block, index);
        if (taken.kind == SpanKind::Url) return takeLinkTitle(model_, block, index);
        if (!isLinkTextKind(taken.kind) || index + 1 >= block.spanCount) return {};
        auto found = linkTitles_.find(std::string(model_.text(model_.span(block, index + 1))));
        return found == linkTitles_.end() ? std::string_view() : found->second;
    }

    // A target with a scheme that could run or fetch something (javascript:, data:)
    // never becomes a link: its text stands alone.
    void writeLink(std::string_view href, std::string_view text) {
        writeLink(href, [&] { appendHtmlText(out_, text); });
    }

    template <typename WriteText>
    void writeLink(std::string_view href, const WriteText& writeText, std::string_view title = {}) {
        if (!isSafeExportUrl(href)) {
            writeText();
            return;
        }
        out_ += "<a";
        appendHtmlAttribute(out_, "href", href);
        if (!title.empty()) appendHtmlAttribute(out_, "title", title);
        out_ += '>';
        writeText();
        out_ += "</a>";
    }

    // A link's text: its code, emphasis and strong emphasis in their elements, its pictures as images.
    void writeLinkText(const ModelBlock& block, std::size_t first, std::size_t end) {
        for (std::size_t k = first; k < end; ++k) {
            const ModelSpan& span = model_.span(block, k);
            if (span.kind == SpanKind::LinkImage) {
                k = writeLinkPicture(model_.linkPicture(model_.spansOf(block), k)) - 1;
                continue;
            }
            const char* element = span.kind == SpanKind::LinkCode   ? "code"
                                  : span.kind == SpanKind::LinkEmph  ? "em"
                                  : span.kind == SpanKind::LinkStrong ? "strong"
                                                                      : nullptr;
            if (element) open(element);
            appendHtmlText(out_, model_.text(span));
            if (element) close(element);
        }
    }

    // A picture whose source could run or fetch something (javascript:) shows its description instead.
    std::size_t writeLinkPicture(const ModelView::LinkPicture& picture) {
        if (!isSafeImageSource(picture.source)) {
            appendHtmlText(out_, picture.alt);
            return picture.end;
        }
        out_ += "<img";
        appendHtmlAttribute(out_, "src", picture.source);
        if (!picture.alt.empty()) appendHtmlAttribute(out_, "alt", picture.alt);
        if (!picture.title.empty()) appendHtmlAttribute(out_, "title", picture.title);
        out_ += '>';
        return picture.end;
    }

    bool writeFootnoteReference(std::string_view text) {
        const std::string label(text);
        auto defined = labels_.notes.find(label);
        if (defined == labels_.notes.end()) return false;
        std::unique_ptr<Footnote>& footnote = footnotes_[label];
        if (!footnote) {
            footnote = std::make_unique<Footnote>();
            footnote->block = defined->second;
            unwritten_.push_back(footnote.get());
        }
        entries_.push_back(footnote.get());
        const std::string number = std::to_string(entries_.size());
        footnote->references.push_back(static_cast<int>(entries_.size()));
        out_ += "<sup";
        appendHtmlAttribute(out_, "id", "fnref:" + number);
        out_ += "><a";
        appendHtmlAttribute(out_, "href", "#fn:" + number);
        appendHtmlAttribute(out_, "rel", "footnote");
        out_ += '>' + number + "</a></sup>";
        return true;
    }

    // A footnote's text may refer to further footnotes, even to itself; they are
    // numbered as they are met while the footnote paragraphs are written, one after
    // the other, so no chain of references nests the writer.
    void writeFootnoteContents() {
        while (!unwritten_.empty()) {
            Footnote* footnote = unwritten_.front();
            unwritten_.pop_front();
            std::string body;
            std::swap(body, out_);
            writeSpans(*footnote->block, 1);
            std::swap(body, out_);
            footnote->content = std::move(body);
        }
    }

    void writeFootnoteList() {
        out_ += "<ol";
        appendHtmlAttribute(out_, "class", "footnotes");
        out_ += ">\n";
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const Footnote& footnote = *entries_[i];
            out_ += "<li";
            appendHtmlAttribute(out_, "id", "fn:" + std::to_string(i + 1));
            out_ += ">\n<p>";
            out_ += footnote.content;
            for (int reference : footnote.references) {
                out_ += "<a";
                appendHtmlAttribute(out_, "href", "#fnref:" + std::to_string(reference));
                appendHtmlAttribute(out_, "rev", "footnote");
                out_ += ">\u21A9</a>";
            }
            out_ += "</p>\n</li>";
        }
        out_ += "\n</ol>";
    }

    // ---- blocks ------------------------------------------------------------------

    // A paragraph of spans; nothing at all when no span writes anything.
    bool writeParagraph(const ModelBlock& block, bool rtl) {
        const std::size_t mark = out_.size();
        open("p", rtl);
        if (!writeSpans(block, 0)) {
            out_.resize(mark);
            return false;
        }
        close("p");
        return true;
    }

    bool writeNodes(const TreeNodes& nodes) {
        bool wrote = false;
        for (const TreeNode& node : nodes) wrote |= writeNode(node);
        return wrote;
    }

    bool writeNode(const TreeNode& node) {
        // A list or code block in quotations: in as many quotations as it says.
        if (const int quotes = quoteDepthOf(model_, node); quotes > quotationsOpen_) {
            for (int i = quotationsOpen_; i < quotes; ++i) out_ += "<blockquote>\n";
            const int outer = std::exchange(quotationsOpen_, quotes);
            writeNode(node);
            quotationsOpen_ = outer;
            for (int i = outer; i < quotes; ++i) out_ += "\n</blockquote>";
            return true;
        }
        switch (node.kind) {
            case TreeNode::Kind::Paragraph: return writeParagraph(*node.block, false);
            case TreeNode::Kind::List: return writeList(node);
            case TreeNode::Kind::Block: return writeBlock(*node.block);
        }
        return false;
    }

    bool writeList(const TreeNode& list) {
        if (list.listKind == BlockKind::Row) return writeRowList(list);
        if (list.listKind == BlockKind::Col) return writeNodesOfItems(list);  // cells outside any table
        if (list.listKind == BlockKind::Term) return writeDefinitionList(list);
        const char* tag = list.listKind == BlockKind::Numbered ? "ol" : "ul";
        // Every item's text is a paragraph, as in a loose list; a numbered list may start
        // elsewhere than at 1.
        const TreeNodes* first = list.items.empty() ? nullptr : &list.items.front();
        const long start = list.listKind == BlockKind::Numbered && first && !first->empty() &&
                                   first->front().kind == TreeNode::Kind::Paragraph
                               ? model_.startNumber(*first->front().block)
                               : 1;
        if (start != 1) {
            out_ += "<ol";
            appendHtmlAttribute(out_, "start", std::to_string(start));
            out_ += '>';
        } else {
            open(tag);
        }
        out_ += '\n';
        for (const TreeNodes& item : list.items) {
            out_ += "<li>\n";
            writeNodes(item);
            out_ += "\n</li>";
        }
        out_ += '\n';
        close(tag);
        return true;
    }

    // Each item: its term, then its definitions, each running on through the deeper
    // blocks after it (those before any definition form one of their own).
    bool writeDefinitionList(const TreeNode& list) {
        out_ += "<dl>\n";
        for (const TreeNodes& item : list.items) {
            bool inDefinition = false;
            for (const TreeNode& node : item) {
                const bool paragraph = node.kind == TreeNode::Kind::Paragraph;
                if (paragraph && node.block->kind == BlockKind::Term) {
                    out_ += "<dt>";
                    writeSpans(*node.block, 0);
                    out_ += "</dt>\n";
                    continue;
                }
                if (inDefinition && paragraph && node.block->kind == BlockKind::Definition) {
                    out_ += "\n</dd>\n";
                    inDefinition = false;
                }
                if (!inDefinition) out_ += "<dd>\n";
                inDefinition = true;
                writeNode(node);
            }
            if (inDefinition) out_ += "\n</dd>\n";
        }
        out_ += "</dl>";
        return true;
    }

    bool writeNodesOfItems(const TreeNode& list) {
        bool wrote = false;
        for (const TreeNodes& item : list.items) wrote |= writeNodes(item);
        return wrote;
    }

    // A table is an outer "row" list holding the list of rows. Blocks that the levels
    // placed beside the rows (after a table, deeper than level 0) follow the table.
    bool writeRowList(const TreeNode& list) {
        const bool holdsRows = !list.items.empty() && !list.items.front().empty() &&
                               list.items.front().front().kind == TreeNode::Kind::Paragraph;
        if (holdsRows) return writeTable(list);
        std::vector<const TreeNode*> nodes;
        for (const TreeNodes& item : list.items) {
            for (const TreeNode& node : item) nodes.push_back(&node);
        }
        return writeSeparated(nodes);
    }

    // Nodes standing at the top level although the tree placed them inside a table.
    bool writeSeparated(const std::vector<const TreeNode*>& nodes) {
        bool wrote = false;
        for (const TreeNode* node : nodes) {
            const std::size_t mark = out_.size();
            if (wrote) out_ += "\n\n";
            if (writeNode(*node)) wrote = true;
            else out_.resize(mark);
        }
        return wrote;
    }

    // Cells of a column aligned other than by default say so.
    static std::string cellStart(const std::vector<char>& align, std::size_t column) {
        const char a = alignmentAt(align, column);
        if (a == 'd') return "<td>\n";
        return std::string("<td style=\"text-align: ") + (a == 'l' ? "left" : a == 'c' ? "center" : "right") + "\">\n";
    }

    bool writeTable(const TreeNode& rows) {
        std::vector<const TreeNode*> after;
        const std::vector<char> align = readColumnAlignments(model_.align(*rows.items.front().front().block));
        open("table");
        out_ += '\n';
        for (const TreeNodes& row : rows.items) {
            out_ += "<tr>\n" + cellStart(align, 0);
            bool inFirstCell = true;
            for (const TreeNode& node : row) {
                if (inFirstCell && node.kind == TreeNode::Kind::List && node.listKind == BlockKind::Col) {
                    out_ += "\n</td>";
                    std::size_t column = 0;
                    for (const TreeNodes& cell : node.items) {
                        out_ += cellStart(align, ++column);
                        writeNodes(cell);
                        out_ += "\n</td>";
                    }
                    inFirstCell = false;
                } else if (inFirstCell) {
                    writeNode(node);
                } else {
                    after.push_back(&node);
                }
            }
            if (inFirstCell) out_ += "\n</td>";
            out_ += "\n</tr>";
        }
        out_ += '\n';
        close("table");
        const std::size_t mark = out_.size();
        out_ += "\n\n";
        if (!writeSeparated(after)) out_.resize(mark);
        return true;
    }

    bool writeBlock(const ModelBlock& block) {
        const BlockKind kind = block.kind;
        const bool rtl = block.rtl;
        if (kind == BlockKind::Link || kind == BlockKind::Note || kind == BlockKind::Comment || kind == BlockKind::Tex ||
            kind == BlockKind::Metadata)
            return false;
        if (kind == BlockKind::Verbatim) {
            const std::string_view language = codeLanguage(model_.info(block));
            const std::string text = verbatimText(model_, block, true);
            if (const std::string* markup = language.empty() ? nullptr : Fragments::find(fragments_.code, codeKey(language, text))) {
                if (rtl) open("div", true);
                out_ += *markup;
                if (rtl) close("div");
                return true;
            }
            open("pre", rtl);
            out_ += "<code";
            if (!language.empty()) appendHtmlAttribute(out_, "class", "language-" + std::string(language));
            out_ += '>';
            appendHtmlText(out_, text);
            out_ += "\n</code></pre>";
        } else if (kind == BlockKind::Formula) {
            const std::string text = verbatimText(model_, block, true);
            open("figure", rtl);
            if (const std::string* markup = Fragments::find(fragments_.displayMath, text)) {
                out_ += '\n';
                out_ += *markup;
                out_ += "\n</figure>";
                return true;
            }
            out_ += "\n<p>\\[\n";
            appendHtmlText(out_, text);
            out_ += "\n\\]</p>\n</figure>";
        } else if (kind == BlockKind::Image) {
            const std::span<const ModelSpan> spans = model_.spansOf(block);
            if (spans.empty() || spans[0].kind != SpanKind::Url) return false;
            const std::string_view url = model_.text(spans[0]);
            if (!isSafeImageSource(url)) {
                open("p", rtl);
                appendHtmlText(out_, url);
                close("p");
                return true;
            }
            open("figure", rtl);
            out_ += "\n<img";
            appendHtmlAttribute(out_, "src", url);
            if (!model_.alt(block).empty()) appendHtmlAttribute(out_, "alt", model_.alt(block));
            if (!model_.title(block).empty()) appendHtmlAttribute(out_, "title", model_.title(block));
            out_ += ">\n</figure>";
        } else if (kind == BlockKind::Divider) {
            out_ += rtl ? "<hr dir=\"rtl\">" : "<hr>";
        } else if (kind == BlockKind::Html) {
            const std::string clean = sanitizeHtml(verbatimText(model_, block, true));
            if (clean.find_first_not_of(" \t\r\n") == std::string::npos) return false;
            if (rtl) open("div", true);
            out_ += clean;
            if (rtl) close("div");
        } else if (kind == BlockKind::Heading) {
            static const char* const headings[] = {"h1", "h2", "h3", "h4", "h5", "h6"};
            const char* element = block.level < -3 ? "h3" : headings[headingRank(block.level) - 1];
            open(element, rtl);
            writeSpans(block, 0);
            close(element);
        } else if (kind == BlockKind::Quote) {
            open("blockquote", rtl);
            out_ += "\n<p>";
            writeSpans(block, 0);
            out_ += "</p>\n</blockquote>";
        } else {
            return writeParagraph(block, rtl);
        }
        return true;
    }
};

}  // namespace

std::string WriteHtml(std::string_view input, const char* options) {
    const ModelView model = readWriterModel(input);
    const Fragments fragments = readFragments(options);
    return HtmlWriter(model, fragments).document();
}

std::vector<HtmlFragmentSource> htmlFragmentSources(std::string_view input) {
    const ModelView model = readWriterModel(input);
    std::vector<HtmlFragmentSource> sources;
    for (const ModelBlock& block : model.blocks) {
        if (block.kind == BlockKind::Verbatim) {
            const std::string_view language = codeLanguage(model.info(block));
            if (!language.empty())
                sources.push_back({HtmlFragmentKind::Code, std::string(language), verbatimText(model, block, true)});
        } else if (block.kind == BlockKind::Formula) {
            sources.push_back({HtmlFragmentKind::DisplayMath, {}, verbatimText(model, block, true)});
        } else {
            for (const ModelSpan& span : model.spansOf(block))
                if (span.kind == SpanKind::Math) sources.push_back({HtmlFragmentKind::InlineMath, {}, std::string(model.text(span))});
        }
    }
    return sources;
}

std::string htmlFragmentOptions(const std::vector<HtmlFragmentSource>& sources, const std::vector<std::string>& markup) {
    Json options = {{"inlineMath", Json::object()}, {"displayMath", Json::object()}, {"code", Json::object()}};
    for (std::size_t i = 0; i < sources.size() && i < markup.size(); ++i) {
        if (markup[i].empty()) continue;
        const HtmlFragmentSource& source = sources[i];
        switch (source.kind) {
            case HtmlFragmentKind::InlineMath: options["inlineMath"][source.text] = markup[i]; break;
            case HtmlFragmentKind::DisplayMath: options["displayMath"][source.text] = markup[i]; break;
            case HtmlFragmentKind::Code: options["code"][codeKey(source.language, source.text)] = markup[i]; break;
        }
    }
    return dumpCompact(options);
}

}  // namespace qorva::convert
