// Checked access to model JSON: a document is ["text" or "inline", block...], a block
// is [tag, {"level": n, "direction": "rtl"?}, span...] and a span is [tag, text].
// Converters call checkModel once and then use the plain accessors below.
#pragma once

#include "model/model_json.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace qorva {

// Parses model JSON and checks its shape (see checkModel).
Json parseModel(std::string_view text);

// Throws ConverterError naming the first fault: a root that is not an array starting with
// "text" or "inline", a block that is not [tag, attributes...], an attributes object
// without an integer "level", a span that is not exactly [tag, text] with string members.
// Block and span tags outside the known sets are allowed.
void checkModel(const Json& model);

// Index of the first block inside a document array and of the first span inside a block.
inline constexpr std::size_t kFirstBlock = 1;
inline constexpr std::size_t kFirstSpan = 2;

inline const std::string& blockTag(const Json& block) { return block[0].get_ref<const std::string&>(); }
int blockLevel(const Json& block);
bool blockIsRtl(const Json& block);
inline std::size_t spanCount(const Json& block) { return block.size() - kFirstSpan; }
inline const Json& blockSpan(const Json& block, std::size_t i) { return block[kFirstSpan + i]; }

inline const std::string& spanTag(const Json& span) { return span[0].get_ref<const std::string&>(); }
inline const std::string& spanText(const Json& span) { return span[1].get_ref<const std::string&>(); }

// [tag, {"level": level}] or [tag, {"level": level, "direction": "rtl"}], keys in that order.
Json makeBlock(std::string_view tag, int level, bool rtl = false);
Json makeSpan(std::string_view tag, std::string_view text);

}  // namespace qorva
