// Blocks and spans as the readers build them before writing model JSON.
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

// Compact model JSON: [root, blocks...], "level" first and "direction" only for rtl.
std::string serializeModel(std::string_view root, const std::vector<Block>& blocks);

}  // namespace qorva::convert
