// The document model as every writer reads it: model JSON read once into flat arrays
// of typed blocks and spans, with its shape checked on the way in. A document is
// ["text" or "inline", block...], a block [tag, {"level": n, "direction": "rtl"?},
// span...] and a span [tag, text]. No JSON tree is built, which keeps large
// documents cheap; writers that need nesting build a tree over it (model_tree.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

enum class BlockKind : std::uint8_t { Para, Heading, Bulleted, Numbered, Quote, Comment, Verbatim, Formula, Image, Note, Link, Divider, Row, Col, Other };
enum class SpanKind : std::uint8_t { Plain, Emph, Strong, Code, Math, Url, LinkText, LinkRef, NoteRef, Break, Other };

struct ModelSpan {
    SpanKind kind;
    std::uint32_t otherTag;  // for SpanKind::Other, in ModelView::otherTags
    std::size_t textBegin, textLength;  // in ModelView::texts
};

struct ModelBlock {
    BlockKind kind;
    std::uint32_t otherTag;  // for BlockKind::Other, in ModelView::otherTags
    int level;  // within a quarter of the int range either way
    bool rtl;
    std::size_t firstSpan, spanCount;  // in ModelView::spans
};

struct ModelView {
    bool fragment = false;  // root "inline" rather than "text"
    std::vector<ModelBlock> blocks;
    std::vector<ModelSpan> spans;
    std::string texts;
    std::vector<std::string> otherTags;  // tags outside the known kinds, as written

    const ModelSpan& span(const ModelBlock& block, std::size_t i) const { return spans[block.firstSpan + i]; }
    std::span<const ModelSpan> spansOf(const ModelBlock& block) const { return {spans.data() + block.firstSpan, block.spanCount}; }
    std::string_view text(const ModelSpan& span) const { return {texts.data() + span.textBegin, span.textLength}; }
    std::string_view tag(const ModelBlock& block) const;
    std::string_view tag(const ModelSpan& span) const;
};

std::string_view blockTagName(BlockKind kind);  // "" for BlockKind::Other
std::string_view spanTagName(SpanKind kind);    // "" for SpanKind::Other

// Throws ConverterError naming the first fault: text that is not JSON ("invalid JSON:
// ..."), nesting deeper than the converters accept, a root that is not an array
// starting with "text" or "inline", a block that is not [tag, {"level": int, ...},
// spans...], a level beyond a quarter of the int range, a span that is not exactly
// [tag, text] with string members. Tags outside the known kinds are kept as Other.
ModelView readModelView(std::string_view json);

}  // namespace qorva
