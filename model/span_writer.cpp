#include "model/span_writer.h"

#include "model/inline_scanner.h"
#include "model/style_run_writer.h"
#include "model/utf8.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace qorva {
namespace {

bool isOneOf(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

void appendEscaped(std::string& out, std::string_view text, std::string_view escaped) {
    for (char c : text) {
        if (isOneOf(c, escaped)) out += '\\';
        out += c;
    }
}

// Inside a marked-up span the reader takes a backslash before a special character as
// an escape, and every closing mark starts with one: so a backslash is escaped when
// a special character or the end of the span follows it.
void appendEscapedInSpan(std::string& out, std::string_view text, std::string_view escaped) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isOneOf(c, escaped) || (c == '\\' && (i + 1 == text.size() || isSpecial(text[i + 1])))) out += '\\';
        out += c;
    }
}

std::string writeMarkedUpSpan(SpanKind kind, std::string_view text, bool afterLinkText, std::string_view title = {},
                              bool titled = false, bool stars = false);

// A picture inside a link's text, written as a picture block's line is: "![description](<source>)",
// with its title `(<source> "title")`. Returns the span after it.
std::size_t appendLinkPicture(std::string& out, const ModelView::LinkPicture& picture) {
    out += '!';
    out += writeMarkedUpSpan(SpanKind::LinkText, picture.alt, false);
    out += writeMarkedUpSpan(SpanKind::Url, picture.source, true, picture.title, !picture.title.empty());
    return picture.end;
}

// A link's text: the run of link-text spans from `first` to `end` inside one pair of
// brackets, code, emphasis and strong emphasis marked as outside links. A "]" is escaped
// in every part, as are a "[" after "!" (it would start a picture), the closing mark of
// code and emphasis, and a star opening strong text. Plain parts escape "*" and "`" once the
// run is styled or the text has two that could pair, so a plain link text with a lone star
// or backtick is written as it always was.
// Inside emphasis or strong emphasis (`outer`) every star is escaped, and the parts in a
// style the link stands in already are written as text (marked, they would end it).
std::string writeLinkText(const ModelView& doc, const ModelBlock& block, std::size_t first, std::size_t end,
                          std::uint8_t outer = 0) {
    std::string out = "[";
    const bool styled = outer || end - first > 1 || doc.span(block, first).kind != SpanKind::LinkText;
    for (std::size_t k = first; k < end; ++k) {
        SpanKind kind = doc.span(block, k).kind;
        if ((kind == SpanKind::LinkEmph && (outer & kOuterEmph)) || (kind == SpanKind::LinkStrong && outer)) kind = SpanKind::LinkText;
        if (kind == SpanKind::LinkImage) {
            k = appendLinkPicture(out, doc.linkPicture(doc.spansOf(block), k)) - 1;
            continue;
        }
        const std::string_view text = doc.text(doc.span(block, k));
        const std::string_view mark = kind == SpanKind::LinkCode ? "`" : kind == SpanKind::LinkEmph ? "*" : kind == SpanKind::LinkStrong ? "**" : "";
        const bool stars = kind == SpanKind::LinkEmph || (kind == SpanKind::LinkText && (styled || std::count(text.begin(), text.end(), '*') > 1));
        const bool ticks = kind == SpanKind::LinkCode || (kind == SpanKind::LinkText && (styled || std::count(text.begin(), text.end(), '`') > 1));
        out += mark;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            const bool last = i + 1 == text.size();
            // Every part is followed by a mark or the closing "]": a backslash at its end is escaped.
            const bool escape = c == '\\' ? last || isSpecial(text[i + 1])
                                           : c == ']' || (c == '[' && i > 0 && text[i - 1] == '!') || (c == '*' && (stars || outer || (kind == SpanKind::LinkStrong && (i == 0 || last || text[i + 1] == '*')))) ||
                                                 (c == '`' && ticks);
            if (escape) out += '\\';
            out += c;
        }
        out += mark;
    }
    out += ']';
    return out;
}

}  // namespace

std::string writeOuterLink(const ModelView& doc, const ModelBlock& block, std::size_t first, std::size_t end) {
    const ModelSpan& own = doc.span(block, first);
    if (own.kind == SpanKind::Url) return writeMarkedUpSpan(SpanKind::Url, doc.text(own), false, {}, false, true);
    const std::size_t target = doc.linkTextEnd(block, first);
    const ModelSpan& to = doc.span(block, target);
    std::string out = writeLinkText(doc, block, first, target, to.outer);
    if (to.kind == SpanKind::LinkRef) return out + writeMarkedUpSpan(SpanKind::LinkRef, doc.text(to), false, {}, false, true);
    const bool titled = target + 1 < end;
    return out + writeMarkedUpSpan(SpanKind::Url, doc.text(to), true, titled ? doc.text(doc.span(block, target + 1)) : "", titled, true);
}

namespace {

// ------------------------------------------------------------------ escape on

void writeEscapedSpan(std::string& out, SpanKind kind, std::string_view text, bool afterLinkText) {
    switch (kind) {
        case SpanKind::Code: out += '`'; appendEscapedInSpan(out, text, "`"); out += '`'; break;
        case SpanKind::Math: out += '$'; appendEscapedInSpan(out, text, "$"); out += '$'; break;
        case SpanKind::LinkText:
        case SpanKind::LinkRef: out += '['; appendEscapedInSpan(out, text, "]"); out += ']'; break;
        case SpanKind::NoteRef: out += "[^"; appendEscapedInSpan(out, text, "]"); out += ']'; break;
        case SpanKind::Url:
            out += afterLinkText ? "(<" : "<";
            appendEscapedInSpan(out, text, ">");
            out += afterLinkText ? ">)" : ">";
            break;
        case SpanKind::Strike: case SpanKind::Sup: case SpanKind::Sub: case SpanKind::Html: case SpanKind::Tex:
            out += writeMarkedUpSpan(kind, text, false);
            break;
        default: {
            // "~" and "^" only where two could pair up: text with at most one of each
            // is written as it always was.
            std::string escaped = "\\*`$<>";
            if (std::count(text.begin(), text.end(), '~') > 1) escaped += '~';
            if (std::count(text.begin(), text.end(), '^') > 1) escaped += '^';
            appendEscaped(out, text, escaped);
            break;
        }
    }
}

// ------------------------------------------------------------------ escape off

// One span of a line: its written form is fixed for every kind but "plain", whose
// characters get a backslash once the reader is found to take them as mark-up.
struct Item {
    bool plain;
    std::string_view text;     // plain: the span's text
    std::string written;       // others: the written form
    std::size_t markBase = 0;  // plain: index of its first byte in `marks`
};

// The written form of a span other than "plain" that reads back as the same span: the
// closing character is escaped inside, and so is a backslash before a special character.
// A link's title, after its target: `> "` + title + `")`; a backslash before a special
// character is escaped, as the title reads them.
void appendTitle(std::string& out, std::string_view title, bool stars) {
    out += "> \"";
    for (std::size_t i = 0; i < title.size(); ++i) {
        if ((title[i] == '\\' && i + 1 < title.size() && isSpecial(title[i + 1])) || (stars && title[i] == '*')) out += '\\';
        out += title[i];
    }
    out += "\")";
}

std::string writeMarkedUpSpan(SpanKind kind, std::string_view text, bool afterLinkText, std::string_view title, bool titled,
                              bool stars) {
    std::string_view open, close;
    auto mustEscape = [&](std::size_t i) {  // besides backslashes
        const char c = text[i];
        if (stars && c == '*') return true;
        switch (kind) {
            case SpanKind::Strike: return (c == '~' && (i == 0 || i + 1 == text.size() || text[i + 1] == '~')) || (i == 0 && c == ' ');
            case SpanKind::Code: case SpanKind::Html: case SpanKind::Tex: return c == '`';
            case SpanKind::Math: return c == '$';
            case SpanKind::Sup: return c == '^' || c == ' ';
            case SpanKind::Sub: return c == '~' || c == ' ';
            // After a link text a target ends at ">)" or, before a title, at `> "`.
            case SpanKind::Url:
                return c == '>' && (!afterLinkText || text.substr(i + 1, 2) == " \"");
            default: return c == ']';  // labels and link texts
        }
    };
    // Which characters a backslash escapes in this span's text.
    const auto special = kind == SpanKind::Sup || kind == SpanKind::Sub || kind == SpanKind::Strike ? isScriptSpecial : isSpecial;
    switch (kind) {
        case SpanKind::Strike: open = close = "~~"; break;
        case SpanKind::Sup: open = close = "^"; break;
        case SpanKind::Sub: open = close = "~"; break;
        case SpanKind::Code: open = close = "`"; break;
        case SpanKind::Html: open = "`", close = "`{=html}"; break;
        case SpanKind::Tex: open = "`", close = "`{=tex}"; break;
        case SpanKind::Math: open = close = "$"; break;
        case SpanKind::NoteRef: open = "[^", close = "]"; break;
        case SpanKind::Url: open = afterLinkText ? "(<" : "<", close = afterLinkText ? ">)" : ">"; break;
        default: open = "[", close = "]"; break;  // linktext, linkref
    }

    // A backslash needs escaping when what follows it is written starting with a
    // special character: the next character (escaped or not, it starts with itself or a
    // backslash) or the closing mark.
    std::string out(open);
    out.reserve(open.size() + text.size() + close.size() + 4);
    if (std::none_of(text.begin(), text.end(), special)) {
        out += text;
    } else {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            const bool escape = c == '\\' ? special(i + 1 < text.size() ? text[i + 1] : close.front()) : mustEscape(i);
            if (escape) out += '\\';
            out += c;
        }
    }
    if (titled) {
        appendTitle(out, title, stars);
        return out;
    }
    out += close;
    return out;
}

// The escapes a plain text needs at the start of a block, where block mark-up would
// otherwise be read.
void markBlockStart(std::string_view text, TextStart start, std::vector<char>& marks, std::size_t base) {
    if (start == TextStart::Running || text.empty()) return;
    // "[label]: " would be a link or note definition, "![](<path>)" an image.
    if (text[0] == '[') {
        const std::size_t close = text.find(']');
        if (close != std::string_view::npos && close + 1 < text.size() && text[close + 1] == ':' &&
            text.substr(0, close).find('\n') == std::string_view::npos)
            marks[base] = 1;
    }
    if (text.substr(0, 5) == "![](<") {
        const std::size_t close = text.find(">)", 5);
        if (close != std::string_view::npos && close > 5) marks[base + 1] = 1;
    }
    // "$$" or a longer run of "$" alone on the first line would open a math block.
    if (text.substr(0, 2) == "$$") {
        const std::size_t run = std::min(text.find_first_not_of('$'), text.size());
        if (run == text.size() || text[run] == ' ' || text[run] == '\n') marks[base] = 1;
    }
    if (start != TextStart::Paragraph) return;
    // "* " would be a bulleted item and "> " a quotation, after up to three spaces; at
    // the end of the text the spaces of a line break or of a cut may follow.
    std::size_t i = 0;
    while (i < 3 && i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '*' || text[i] == '>') && (i + 1 == text.size() || text[i + 1] == ' '))
        marks[base + i] = 1;
}

// Whether the block rules would take a written line for a link or note definition.
bool readsAsDefinition(std::string_view line) {
    if (line.empty() || line[0] != '[') return false;
    const std::size_t close = line.find(']');
    return close != std::string_view::npos && close + 1 < line.size() && line[close + 1] == ':';
}

class LineEscaper {
public:
    LineEscaper(std::vector<Item>& items, std::vector<char>& marks) : items_(items), marks_(marks) {}

    std::string write() {
        bool anyOpener = false, anySpecial = false;
        for (const Item& item : items_) {
            if (!item.plain) continue;
            for (char c : item.text) {
                if (!isPlainSpecial(c)) continue;
                anySpecial = true;
                if (isOpener(c)) anyOpener = true;
            }
        }
        if (!anySpecial) {
            // Nothing in the plain text can be mark-up or be escaped: written as it is.
            std::string out;
            for (const Item& item : items_) out += item.plain ? item.text : std::string_view(item.written);
            return out;
        }
        build();
        if (!anyOpener) return written_;
        for (int pass = 0; pass < 16; ++pass) {
            if (!markWhereReadAsMarkUp()) return written_;
            build();
        }
        // Did not settle: escape every special character of the plain text instead.
        for (const Item& item : items_)
            if (item.plain)
                for (std::size_t i = 0; i < item.text.size(); ++i)
                    if (isPlainSpecial(item.text[i]) && item.text[i] != '\\') marks_[item.markBase + i] = 1;
        build();
        return written_;
    }

private:
    // Writes the line from the current marks, noting for every written byte the plain
    // character it shows unescaped (or -1).
    void build() {
        // Right to left first: what each backslash is followed by.
        escapedBackslash_.assign(marks_.size(), 0);
        char next = '\0';
        for (std::size_t k = items_.size(); k-- > 0;) {
            const Item& item = items_[k];
            if (!item.plain) {
                next = item.written.empty() ? next : item.written.front();
                continue;
            }
            for (std::size_t i = item.text.size(); i-- > 0;) {
                const char c = item.text[i];
                const std::size_t m = item.markBase + i;
                if (c == '\\') {
                    escapedBackslash_[m] = isPlainSpecial(next);
                    next = '\\';
                } else {
                    next = marks_[m] ? '\\' : c;
                }
            }
        }
        written_.clear();
        origin_.clear();
        for (const Item& item : items_) {
            if (!item.plain) {
                written_ += item.written;
                origin_.insert(origin_.end(), item.written.size(), -1);
                continue;
            }
            for (std::size_t i = 0; i < item.text.size(); ++i) {
                const std::size_t m = item.markBase + i;
                const char c = item.text[i];
                if (marks_[m] || (c == '\\' && escapedBackslash_[m])) {
                    written_ += '\\';
                    origin_.push_back(-1);
                    written_ += c;
                    origin_.push_back(-1);
                } else {
                    written_ += c;
                    origin_.push_back(static_cast<long>(m));
                }
            }
        }
    }

    // Runs the inline rules at every unescaped plain character that could open mark-up
    // and escapes the mark-up characters of each match found. True when anything changed.
    bool markWhereReadAsMarkUp() {
        scanner_.reset(written_);
        bool changed = false;
        auto markAt = [&](std::size_t w) {
            if (w < origin_.size() && origin_[w] >= 0 && !marks_[origin_[w]] && isPlainSpecial(written_[w])) {
                marks_[origin_[w]] = 1;
                changed = true;
            }
        };
        for (std::size_t w = 0; w < written_.size(); ++w) {
            if (origin_[w] < 0 || !isOpener(written_[w])) continue;
            const InlineMatch m = scanner_.matchAt(w);
            switch (m.rule) {
                case InlineRule::None: break;
                case InlineRule::Strong:
                case InlineRule::Strike:
                    markAt(w), markAt(w + 1), markAt(m.close), markAt(m.close + 1);
                    break;
                case InlineRule::StrongEmph:
                    for (std::size_t k = 0; k < 3; ++k) markAt(w + k), markAt(m.close + k);
                    break;
                case InlineRule::LinkRef:
                    markAt(w), markAt(m.close), markAt(m.secondOpen), markAt(m.secondClose);
                    break;
                default:
                    markAt(w), markAt(m.close);
                    break;
            }
        }
        return changed;
    }

    std::vector<Item>& items_;
    std::vector<char>& marks_;
    // Working buffers, reused from line to line.
    static thread_local std::vector<char> escapedBackslash_;
    static thread_local std::string written_;
    static thread_local std::vector<long> origin_;
    static thread_local InlineScanner scanner_;
};

thread_local std::vector<char> LineEscaper::escapedBackslash_;
thread_local std::string LineEscaper::written_;
thread_local std::vector<long> LineEscaper::origin_;
thread_local InlineScanner LineEscaper::scanner_;

std::string writeMinimallyEscaped(const ModelView& doc, const ModelBlock& block, std::size_t first, TextStart start,
                                  std::size_t end) {
    // Lines are read independently (a hard line end ends the inline text), so each is
    // escaped on its own.
    std::string out;
    // Reused from block to block: most blocks are short and many.
    thread_local std::vector<Item> items;
    thread_local std::vector<char> marks;
    items.clear();
    marks.clear();
    bool atBlockStart = true;
    auto flushLine = [&]() {
        if (!items.empty()) {
            const bool plainStart = atBlockStart && items.front().plain;
            if (plainStart) markBlockStart(items.front().text, start, marks, items.front().markBase);
            std::string line = LineEscaper(items, marks).write();
            // A definition's label ends at the first "]" of the line, escaped or not and
            // in whatever span: a line starting "[" with "]:" further on needs its "[".
            if (plainStart && start != TextStart::Running && readsAsDefinition(line) && items.front().text[0] == '[' &&
                !marks[items.front().markBase]) {
                marks[items.front().markBase] = 1;
                line = LineEscaper(items, marks).write();
            }
            out += line;
        }
        items.clear();
        marks.clear();
        atBlockStart = false;
    };
    for (std::size_t i = first; i < std::min(end, block.spanCount); ++i) {
        const ModelSpan& span = doc.span(block, i);
        const SpanKind kind = span.kind;
        const std::string_view text = doc.text(span);
        if (kind == SpanKind::Break) {
            flushLine();
            out += text;
            continue;
        }
        if (kind == SpanKind::Title && doc.isLinkTitle(block, i) && i >= 2 && isLinkTextKind(doc.span(block, i - 2).kind))
            continue;  // written with its target
        if (isEmphasised(kind) || isStrong(kind) || doc.outerLinkAt(block, i, end).outer) {
            std::size_t next = i + 1;
            items.push_back(Item{false, {}, writeStyleRun(doc, block, i, end, false, next), 0});
            i = next - 1;
            continue;
        }
        if (isLinkTextKind(kind)) {
            const std::size_t runEnd = std::min(end, doc.linkTextEnd(block, i));
            items.push_back(Item{false, {}, writeLinkText(doc, block, i, runEnd), 0});
            i = runEnd - 1;
            continue;
        }
        if (kind == SpanKind::Plain || kind == SpanKind::Other || kind == SpanKind::Title) {
            // Right after link text with no target (pictures in running text) a "[" would give it a label.
            const bool afterBareLinkText = i > 0 && isLinkTextKind(doc.span(block, i - 1).kind);
            std::string_view rest = text;
            for (;;) {
                const std::size_t end = rest.find('\n');
                const std::string_view part = rest.substr(0, end);
                if (!part.empty()) {
                    items.push_back(Item{true, part, {}, marks.size()});
                    marks.resize(marks.size() + part.size(), 0);
                    if (afterBareLinkText && part.data() == text.data() && part[0] == '[') marks[items.back().markBase] = 1;
                }
                if (end == std::string_view::npos) break;
                flushLine();
                out += '\n';
                rest.remove_prefix(end + 1);
            }
            continue;
        }
        const bool afterLinkText = kind == SpanKind::Url && i > 0 && isLinkTextKind(doc.span(block, i - 1).kind);
        const bool titled = afterLinkText && i + 1 < end && doc.isLinkTitle(block, i + 1);
        items.push_back(Item{false, {}, writeMarkedUpSpan(kind, text, afterLinkText, titled ? doc.text(doc.span(block, i + 1)) : "", titled), 0});
    }
    flushLine();
    return out;
}

}  // namespace

std::string writeSpans(const ModelView& doc, const ModelBlock& block, std::size_t first, bool escape,
                       TextStart start, std::size_t end) {
    if (!escape) return writeMinimallyEscaped(doc, block, first, start, end);
    std::string out;
    for (std::size_t i = first; i < std::min(end, block.spanCount); ++i) {
        const ModelSpan& span = doc.span(block, i);
        if (isEmphasised(span.kind) || isStrong(span.kind) || doc.outerLinkAt(block, i, end).outer) {
            std::size_t next = i + 1;
            out += writeStyleRun(doc, block, i, end, true, next);
            i = next - 1;
            continue;
        }
        if (isLinkTextKind(span.kind)) {
            const std::size_t runEnd = std::min(end, doc.linkTextEnd(block, i));
            out += writeLinkText(doc, block, i, runEnd);
            i = runEnd - 1;
            continue;
        }
        const bool afterLinkText = i > 0 && isLinkTextKind(doc.span(block, i - 1).kind);
        if (span.kind == SpanKind::Url && afterLinkText && i + 1 < end && doc.isLinkTitle(block, i + 1)) {
            out += writeMarkedUpSpan(span.kind, doc.text(span), true, doc.text(doc.span(block, i + 1)), true);
            ++i;
            continue;
        }
        // Right after link text with no target (pictures in running text) a "[" would give it a label.
        if (afterLinkText && (span.kind == SpanKind::Plain || span.kind == SpanKind::Other) && doc.text(span).starts_with('[')) out += '\\';
        writeEscapedSpan(out, span.kind, doc.text(span), afterLinkText);
    }
    return out;
}

}  // namespace qorva
