// The scheme of a URL as a browser reads it, and the schemes that are safe to hand
// on: exported links and links the user follows may only use these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qorva::convert {

// The scheme in lower case ("http" for "HTTP://a"), read the way browsers read an
// href: leading spaces and control characters are skipped and tabs and line breaks
// inside are ignored ("java\tscript:" is "javascript"). Empty for a relative URL.
std::string urlScheme(std::string_view url);

// http, https, ftp, mailto and file.
bool isSafeUrlScheme(std::string_view scheme);

// A relative URL, or one whose scheme is safe.
bool isSafeExportUrl(std::string_view url);

// A picture's source: a safe export URL, a Windows path ("C:\\pics\\a.png") or an
// inline "data:image/" picture (other data: types run or show documents).
bool isSafeImageSource(std::string_view url);

}  // namespace qorva::convert
