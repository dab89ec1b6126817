// The document model as the converters handle it: a flat list of blocks of spans,
// read from model JSON with every shape checked once, so the writers can rely on it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorva::convert {

struct Span {
    std::string tag;
    std::string text;
};

struct Block {
    std::string tag;
    int level = 0;
    bool rtl = false;
    std::vector<Span> spans;
};

struct ModelDocument {
    std::string root;  // "text" or "inline"
    std::vector<Block> blocks;
};

// Parses model JSON with the root "text" or "inline". Throws ConverterError naming
// the offending block and span on any other shape: a block must be [tag, {"level": int,
// ...}, spans...] and a span exactly [tag, text] with string tag and text. Levels
// beyond kMaxBlockLevel are refused, since the writers nest once per level.
ModelDocument parseModel(std::string_view json);

// Compact model JSON: [root, blocks...], "level" first and "direction" only for rtl.
std::string serializeModel(std::string_view root, const std::vector<Block>& blocks);

}  // namespace qorva::convert
