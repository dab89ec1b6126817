// Model JSON read straight into flat arrays, for converters that walk a document once
// (the text writer): no JSON tree is built, which keeps large documents cheap. The
// shape is checked as for checkModel, with the same messages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

enum class BlockKind { Para, Heading, Bulleted, Numbered, Quote, Comment, Verbatim, Formula, Image, Note, Link, Divider, Row, Col, Other };
enum class SpanKind { Plain, Emph, Strong, Code, Math, Url, LinkText, LinkRef, NoteRef, Break, Other };

struct ModelSpan {
    SpanKind kind;
    std::size_t textBegin, textLength;  // in ModelDocument::texts
};

struct ModelBlock {
    BlockKind kind;
    long level;
    bool rtl;
    std::size_t firstSpan, spanCount;  // in ModelDocument::spans
};

struct ModelDocument {
    bool fragment = false;  // root "inline" rather than "text"
    std::vector<ModelBlock> blocks;
    std::vector<ModelSpan> spans;
    std::string texts;

    const ModelSpan& span(const ModelBlock& block, std::size_t i) const { return spans[block.firstSpan + i]; }
    std::string_view text(const ModelSpan& span) const { return {texts.data() + span.textBegin, span.textLength}; }
};

// Throws ConverterError for text that is not JSON or not a model.
ModelDocument readModelDocument(std::string_view json);

}  // namespace qorva
