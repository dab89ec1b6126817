// Model JSON as the writers read it: parsed in one pass with simdjson into flat
// arrays of blocks and spans whose texts point into the parser's buffer, so even
// very large documents cost no allocation per span. Every shape is checked here
// once; the writers then rely on it.
#pragma once

#include "model/model_json.h"

#include <simdjson.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorva::convert {

struct SpanView {
    std::string_view tag;
    std::string_view text;
};

struct BlockView {
    std::string_view tag;
    int level = 0;
    bool rtl = false;
    std::uint32_t firstSpan = 0;
    std::uint32_t spanCount = 0;
};

class ModelView {
public:
    // Throws ConverterError naming the first fault: JSON that does not parse, a root
    // other than "text" or "inline", a block that is not [tag, {"level": int, ...},
    // spans...], a span that is not exactly [tag, text], a level beyond kMaxBlockLevel.
    explicit ModelView(std::string_view json);
    ModelView(const ModelView&) = delete;
    ModelView& operator=(const ModelView&) = delete;

    const std::vector<BlockView>& blocks() const { return blocks_; }
    std::span<const SpanView> spans(const BlockView& block) const {
        return {spans_.data() + block.firstSpan, block.spanCount};
    }

    // The blocks' tags and levels, with the spans of "link" and "note" blocks, as model
    // JSON: what the shared tree and label helpers need, at a fraction of the size.
    const Json& outline() const { return outline_; }
    // The block behind a block of the outline (as the tree and label helpers hand them out).
    const BlockView& blockOf(const Json* outlineBlock) const;

private:
    simdjson::dom::parser parser_;
    std::vector<BlockView> blocks_;
    std::vector<SpanView> spans_;
    Json outline_;
};

// The texts of a code or formula block's spans joined. Their spans must be "plain"
// lines and "break"s: with `strict` any other span is a ConverterError, without it
// its text is taken as it is.
std::string verbatimText(const ModelView& model, const BlockView& block, bool strict);

}  // namespace qorva::convert
