// The document model as every writer reads it: model JSON read once into flat arrays
// of typed blocks and spans, with its shape checked on the way in. A document is
// ["text" or "inline", block...], a block [tag, {"level": n, "direction": "rtl"?,
// "info"?, "alt"?, "title"?, "spacing"?, "start"?, "quote"?, "align"?, "widths"?}, span...] and a span [tag, text] (model/README.md).
// No JSON tree is built, which keeps large documents cheap; writers that need
// nesting build a tree over it (model_tree.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

enum class BlockKind : std::uint8_t {
    Para, Heading, Bulleted, Numbered, Quote, Comment, Verbatim, Formula, Image, Note, Link, Divider, Row, Col,
    Html, Tex, Term, Definition, Metadata, Other
};
enum class SpanKind : std::uint8_t {
    Plain, Emph, Strong, Code, Math, Url, LinkText, LinkRef, NoteRef, Break, Strike, Sup, Sub, Html, Tex, Title,
    LinkCode, LinkEmph, LinkStrong, LinkImage, LinkImageUrl, LinkImageTitle, StrongEmph, StrongCode, EmphCode, Other
};

// A picture inside a link's text: its description ("linkimage"), then its source and title.
inline bool isLinkPictureKind(SpanKind kind) {
    return kind == SpanKind::LinkImage || kind == SpanKind::LinkImageUrl || kind == SpanKind::LinkImageTitle;
}

// Spans in two styles at once (outside links): strong and emphasised text, code in strong
// emphasis, code in emphasis. Neighbours sharing a style lie in one element of it.
inline bool isEmphasised(SpanKind kind) {
    return kind == SpanKind::Emph || kind == SpanKind::StrongEmph || kind == SpanKind::EmphCode;
}
inline bool isStrong(SpanKind kind) {
    return kind == SpanKind::Strong || kind == SpanKind::StrongEmph || kind == SpanKind::StrongCode;
}
// The model tag of a link's target in the styles around the link: "emphurl", "strongemphlinkref"...
std::string_view outerTargetTag(SpanKind kind, std::uint8_t outer);
// The two styles of such a span, outer first (strong, then emphasis); Other for any other span.
struct NestedStyles {
    SpanKind outer = SpanKind::Other, inner = SpanKind::Other;
};
inline NestedStyles nestedStyles(SpanKind kind) {
    switch (kind) {
        case SpanKind::StrongEmph: return {SpanKind::Strong, SpanKind::Emph};
        case SpanKind::StrongCode: return {SpanKind::Strong, SpanKind::Code};
        case SpanKind::EmphCode: return {SpanKind::Emph, SpanKind::Code};
        default: return {};
    }
}

// The spans that make up a link's text: a run of them right before its "url" or "linkref".
inline bool isLinkTextKind(SpanKind kind) {
    return kind == SpanKind::LinkText || kind == SpanKind::LinkCode || kind == SpanKind::LinkEmph || kind == SpanKind::LinkStrong ||
           isLinkPictureKind(kind);
}

// A piece of ModelView::texts; empty when the attribute or text is absent.
struct TextRef {
    std::size_t begin = 0, length = 0;
};

// The styles around a whole link, said on its target ("url" or "linkref"): "emphurl",
// "strongurl", "strongemphurl" and the same for "linkref". The target's kind stays Url or
// LinkRef, so what reads links reads these as before.
enum OuterStyle : std::uint8_t { kOuterEmph = 1, kOuterStrong = 2 };

struct ModelSpan {
    SpanKind kind;
    std::uint8_t outer;  // OuterStyle bits, on a link's target only
    std::uint32_t otherTag;  // for SpanKind::Other, in ModelView::otherTags
    std::size_t textBegin, textLength;  // in ModelView::texts
};

struct ModelBlock {
    BlockKind kind;
    std::uint32_t otherTag;  // for BlockKind::Other, in ModelView::otherTags
    int level;  // within a quarter of the int range either way
    bool rtl;
    std::size_t firstSpan, spanCount;  // in ModelView::spans
    std::uint32_t attributes = 0;  // its string attributes in ModelView::attributes; 0 for none
};

// The string attributes of a block ("info" of code, "alt" and "title" of pictures,
// "spacing" of list items, "start" of a numbered list's first item, "quote" of a list
// item or code block standing in quotations, "align" and
// "widths" of a table's first row).
struct BlockAttributes {
    TextRef info, alt, title, spacing, start, quote, align, widths;
};

struct ModelView {
    bool fragment = false;  // root "inline" rather than "text"
    std::vector<ModelBlock> blocks;
    std::vector<ModelSpan> spans;
    std::string texts;
    std::vector<std::string> otherTags;  // tags outside the known kinds, as written
    std::vector<BlockAttributes> attributes = {BlockAttributes{}};  // [0]: none

    const ModelSpan& span(const ModelBlock& block, std::size_t i) const { return spans[block.firstSpan + i]; }
    std::span<const ModelSpan> spansOf(const ModelBlock& block) const { return {spans.data() + block.firstSpan, block.spanCount}; }
    std::string_view text(const ModelSpan& span) const { return {texts.data() + span.textBegin, span.textLength}; }
    std::string_view tag(const ModelBlock& block) const;
    std::string_view tag(const ModelSpan& span) const;

    std::string_view text(TextRef ref) const { return {texts.data() + ref.begin, ref.length}; }
    std::string_view info(const ModelBlock& block) const { return text(attributes[block.attributes].info); }
    std::string_view alt(const ModelBlock& block) const { return text(attributes[block.attributes].alt); }
    std::string_view title(const ModelBlock& block) const { return text(attributes[block.attributes].title); }
    // A list item whose paragraph stands apart from the next item ("loose"), as
    // opposed to the items of a tight list.
    bool loose(const ModelBlock& block) const { return text(attributes[block.attributes].spacing) == "loose"; }
    // A list item of a tight list ("tight") that holds more than paragraphs and lists,
    // which would otherwise be taken for loose; a definition right under its term.
    bool tight(const ModelBlock& block) const { return text(attributes[block.attributes].spacing) == "tight"; }
    // The number a numbered list starts at, said by its first item: 1 when absent or
    // not a number from 0 to 999999999.
    long startNumber(const ModelBlock& block) const;
    // How many quotations a list item or code block stands in: 0 when it says none, when
    // it says anything but a digit from 1 to 5, and for every other block.
    int quoteDepth(const ModelBlock& block) const;
    // A table's column alignments and widths, said by its first row (table_columns.h).
    std::string_view align(const ModelBlock& block) const { return text(attributes[block.attributes].align); }
    std::string_view widths(const ModelBlock& block) const { return text(attributes[block.attributes].widths); }

    // One past the run of link-text spans that starts at span i (i itself when span i is none).
    std::size_t linkTextEnd(const ModelBlock& block, std::size_t i) const {
        while (i < block.spanCount && isLinkTextKind(span(block, i).kind)) ++i;
        return i;
    }

    // The picture whose "linkimage" is spans[i]: its description, the "linkimageurl" right
    // after it (none: no source) and the "linkimagetitle" after that, and the span after it.
    // Elsewhere those two read as the link's text.
    struct LinkPicture {
        std::string_view alt, source, title;
        std::size_t end = 0;
    };
    LinkPicture linkPicture(std::span<const ModelSpan> spans, std::size_t i) const {
        LinkPicture picture{text(spans[i]), {}, {}, i + 1};
        if (picture.end < spans.size() && spans[picture.end].kind == SpanKind::LinkImageUrl) picture.source = text(spans[picture.end++]);
        if (picture.end < spans.size() && spans[picture.end].kind == SpanKind::LinkImageTitle) picture.title = text(spans[picture.end++]);
        return picture;
    }

    // A link that stands whole in emphasis, strong emphasis or both and starts at span i
    // (the first of its text, or a "url" of its own): its OuterStyle bits and the span
    // after its target and title. `outer` is 0 when span i starts no such link before `end`.
    struct OuterLink {
        std::uint8_t outer = 0;
        std::size_t end = 0;
    };
    OuterLink outerLinkAt(const ModelBlock& block, std::size_t i, std::size_t end = SIZE_MAX) const;

    // Whether span i is a link's title: a "title" directly after the "url" of an inline
    // link (link text, "url") or after the "url" of a "link" block. Other "title"
    // spans read as plain text.
    bool isLinkTitle(const ModelBlock& block, std::size_t i) const;
    // The title of the link whose "url" is span i, or "".
    std::string_view titleAfter(const ModelBlock& block, std::size_t urlIndex) const;
};

// Blocks whose spans are lines: "plain" lines with "break" between them.
inline bool isLineBlock(BlockKind kind) {
    return kind == BlockKind::Verbatim || kind == BlockKind::Formula || kind == BlockKind::Html || kind == BlockKind::Tex ||
           kind == BlockKind::Metadata;
}

// Heading N (1 to 6) of a heading's model level (-3 is Heading 1, 2 is Heading 6).
inline int headingRank(int level) { return level < -3 ? 1 : level > 2 ? 6 : level + 4; }

// The language of a code block's info string: its first word, or when it starts with
// "{", its first ".class" without the dot; "" when it names none.
std::string_view codeLanguage(std::string_view info);

std::string_view blockTagName(BlockKind kind);  // "" for BlockKind::Other
std::string_view spanTagName(SpanKind kind);    // "" for SpanKind::Other

// Throws ConverterError naming the first fault: text that is not JSON ("invalid JSON:
// ..."), nesting deeper than the converters accept, a root that is not an array
// starting with "text" or "inline", a block that is not [tag, {"level": int, ...},
// spans...], a level beyond a quarter of the int range, a span that is not exactly
// [tag, text] with string members. Tags outside the known kinds are kept as Other;
// attributes other than these are ignored, and so are "info", "alt", "title",
// "spacing", "start", "align" and "widths" values that are not strings.
ModelView readModelView(std::string_view json);

}  // namespace qorva
