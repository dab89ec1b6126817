// The "HTML Format" clipboard envelope: a fixed header with byte offsets of the
// fragment, then the fragment between its two marker comments.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

inline constexpr std::string_view kStartFragmentMarker = "<!--StartFragment-->";
inline constexpr std::string_view kEndFragmentMarker = "<!--EndFragment-->";

// Wraps UTF-8 HTML. StartHTML and EndHTML are -1 (no surrounding document);
// StartFragment and EndFragment are ten-digit byte offsets from the envelope's start.
std::string BuildCfHtml(std::string_view html);

// The text after the first start marker up to the first end marker after it;
// empty when either marker is missing. The header's offsets are not trusted.
std::string ExtractCfHtmlFragment(std::string_view envelope);

}  // namespace qorva
