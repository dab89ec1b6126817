#include "model/style_run_writer.h"

#include "model/inline_scanner.h"
#include "model/span_writer.h"

#include <algorithm>
#include <vector>

namespace qorva {
namespace {

// A "[" or "<" of the run's text that the reader would take for a link or an address
// (it reads links inside emphasis) gets a backslash, until none is left.
void escapeLinkOpeners(std::string& out, std::vector<char>& opener) {
    thread_local InlineScanner scanner;
    for (bool changed = true; changed;) {
        changed = false;
        scanner.reset(out);
        for (std::size_t w = 0; w < out.size(); ++w) {
            if (!opener[w]) continue;
            const InlineRule rule = scanner.matchAt(w).rule;
            if (rule != InlineRule::LinkInline && rule != InlineRule::LinkRef && rule != InlineRule::Url) continue;
            out.insert(w, 1, '\\');
            opener[w] = 0;
            opener.insert(opener.begin() + static_cast<std::ptrdiff_t>(w), 0);
            changed = true;
            break;
        }
    }
}

}  // namespace

std::string writeStyleRun(const ModelView& doc, const ModelBlock& block, std::size_t first, std::size_t end,
                          bool escapeAll, std::size_t& next) {
    end = std::min(end, block.spanCount);
    const auto kindAt = [&](std::size_t k) { return k < end ? doc.span(block, k).kind : SpanKind::Other; };
    const auto linkAt = [&](std::size_t k) { return doc.outerLinkAt(block, k, end); };
    constexpr std::uint8_t both = kOuterEmph | kOuterStrong;
    // The end of the part at k: one span, or a link standing whole in a style.
    const auto partEnd = [&](std::size_t k) {
        const ModelView::OuterLink link = linkAt(k);
        return link.outer ? link.end : k + 1;
    };
    // Parts in strong emphasis alone, emphasis alone, and both.
    const auto strongOnly = [&](std::size_t k) {
        return kindAt(k) == SpanKind::Strong || kindAt(k) == SpanKind::StrongCode || linkAt(k).outer == kOuterStrong;
    };
    const auto emphOnly = [&](std::size_t k) {
        return kindAt(k) == SpanKind::Emph || kindAt(k) == SpanKind::EmphCode || linkAt(k).outer == kOuterEmph;
    };
    const auto inBoth = [&](std::size_t k) { return kindAt(k) == SpanKind::StrongEmph || linkAt(k).outer == both; };

    const bool strong = strongOnly(first) || (inBoth(first) && strongOnly(partEnd(first)));
    const bool emph = !strong && emphOnly(first);
    // Strong emphasised text joins a run of its own ("***text***") only next to a link.
    const auto inRun = [&](std::size_t k, std::size_t before) {
        if (k >= end) return false;
        if (strong) return strongOnly(k) || inBoth(k);
        if (emph) return emphOnly(k);
        return inBoth(k) && (linkAt(k).outer || linkAt(before).outer);
    };
    std::vector<std::size_t> parts{first};  // the first span of each part
    for (std::size_t k = partEnd(first); inRun(k, parts.back()); k = partEnd(k)) parts.push_back(k);
    // Strong emphasised parts ending a strong run stand on their own after it.
    while (strong && parts.size() > 1 && inBoth(parts.back())) parts.pop_back();
    const std::size_t runEnd = partEnd(parts.back());
    next = runEnd;

    bool nestedEmph = false, nestedCode = false;
    std::size_t stars = 0, ticks = 0;
    for (std::size_t k : parts) {
        if (linkAt(k).outer) {
            // Its marks are escaped inside it; those of the text around it are, too.
            nestedEmph = nestedCode = true;
            continue;
        }
        const SpanKind part = kindAt(k);
        const std::string_view text = doc.text(doc.span(block, k));
        nestedEmph = nestedEmph || (strong && part == SpanKind::StrongEmph);
        nestedCode = nestedCode || part == SpanKind::StrongCode || part == SpanKind::EmphCode;
        stars += std::count(text.begin(), text.end(), '*');
        ticks += std::count(text.begin(), text.end(), '`');
    }
    const bool escapeStars = escapeAll || nestedEmph || stars > 1, escapeTicks = nestedCode || ticks > 1;

    const std::string_view outer = strong ? "**" : emph ? "*" : "***";
    std::string out(outer);
    std::vector<char> opener(out.size(), 0);  // for each written byte: an unescaped "[" or "<" of the text
    const auto append = [&](std::string_view written) {
        out += written;
        opener.resize(out.size(), 0);
    };
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const std::size_t k = parts[p];
        // Emphasised parts of strong text side by side (text and a link) share one "*".
        const bool inner = strong && inBoth(k);
        const bool opens = inner && !(p > 0 && inBoth(parts[p - 1])), closes = inner && !(p + 1 < parts.size() && inBoth(parts[p + 1]));
        append(opens ? "*" : "");
        if (const ModelView::OuterLink link = linkAt(k); link.outer) {
            append(writeOuterLink(doc, block, k, link.end));
            append(closes ? "*" : "");
            continue;
        }
        const SpanKind part = kindAt(k);
        const std::string_view text = doc.text(doc.span(block, k));
        const bool code = part == SpanKind::StrongCode || part == SpanKind::EmphCode;
        const std::string_view mark = code ? "`" : "";
        append(mark);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            const bool last = i + 1 == text.size();
            // Every part is followed by a mark: a backslash at its end is escaped. A star in
            // strong text is, where it would start or end a mark.
            const bool escape = c == '\\' ? last || isSpecial(text[i + 1])
                                : c == '`'  ? code || escapeTicks
                                : c == '*'  ? code || inner || !strong || escapeStars || i == 0 || last || text[i + 1] == '*'
                                            : false;
            if (escape) out += '\\';
            out += c;
            opener.resize(out.size(), 0);
            if (!escape && !code && (c == '[' || c == '<')) opener.back() = 1;
        }
        append(mark);
        append(closes ? "*" : "");
    }
    append(outer);
    if (std::any_of(opener.begin(), opener.end(), [](char o) { return o != 0; })) escapeLinkOpeners(out, opener);
    return out;
}

}  // namespace qorva
