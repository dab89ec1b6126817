#include "model/style_run_writer.h"

#include "model/inline_scanner.h"

#include <algorithm>

namespace qorva {

std::string writeStyleRun(const ModelView& doc, const ModelBlock& block, std::size_t first, std::size_t end,
                          bool escapeAll, std::size_t& next) {
    end = std::min(end, block.spanCount);
    const auto kindAt = [&](std::size_t k) { return k < end ? doc.span(block, k).kind : SpanKind::Other; };
    const auto strongOrCode = [](SpanKind kind) { return kind == SpanKind::Strong || kind == SpanKind::StrongCode; };
    const SpanKind kind = kindAt(first);
    const bool strong = strongOrCode(kind) || (kind == SpanKind::StrongEmph && strongOrCode(kindAt(first + 1)));
    const bool emph = kind == SpanKind::Emph || kind == SpanKind::EmphCode;
    std::size_t runEnd = first + 1;
    if (strong) {
        while (isStrong(kindAt(runEnd))) ++runEnd;
        if (kindAt(runEnd - 1) == SpanKind::StrongEmph) --runEnd;
    } else if (emph) {
        while (kindAt(runEnd) == SpanKind::Emph || kindAt(runEnd) == SpanKind::EmphCode) ++runEnd;
    }
    next = runEnd;

    bool nestedEmph = false, nestedCode = false;
    std::size_t stars = 0, ticks = 0;
    for (std::size_t k = first; k < runEnd; ++k) {
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
    for (std::size_t k = first; k < runEnd; ++k) {
        const SpanKind part = kindAt(k);
        const std::string_view text = doc.text(doc.span(block, k));
        const bool code = part == SpanKind::StrongCode || part == SpanKind::EmphCode;
        const bool inner = strong && part == SpanKind::StrongEmph;
        const std::string_view mark = code ? "`" : inner ? "*" : "";
        out += mark;
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
        }
        out += mark;
    }
    out += outer;
    return out;
}

}  // namespace qorva
