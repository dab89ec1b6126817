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
    std::string info, alt, title;  // a code block's info string; an image's description and title
    std::string spacing, start;  // a list item's "loose"; the start number on a numbered list's first item
    std::string quote;  // a list item's or code block's quotation depth, "1" to "5"; empty outside quotations
    std::string align, widths;  // a table's first row: its columns' alignments and widths (model/table_columns.h)
};

// Compact model JSON: [root, blocks...], "level" first, "direction" only for rtl, then
// "info", "alt", "title", "spacing", "start", "quote", "align" and "widths" where they are not empty.
std::string serializeModel(std::string_view root, const std::vector<Block>& blocks);

}  // namespace qorva::convert
