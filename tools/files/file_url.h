// Reading local paths out of "file:" URLs, for followed links and exported pictures alike.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

// The URL without the white space around it.
std::string_view TrimmedUrl(std::string_view url);

// The scheme in lower case only when it stands at the very start: letters, digits,
// "+", "-" and "." up to the first ":", nothing skipped or ignored on the way;
// empty otherwise.
std::string LeadingScheme(std::string_view url);

// "/a/./b/../c" gives "/a/c"; ".." at the root stays at the root.
std::string NormalisedPath(std::string_view path);

// The path of a "file:" URL with %XX escapes decoded and "." and ".." resolved
// lexically ("file:///../etc/shadow" gives "/etc/shadow"); empty when the URL
// names another host or is not a file: URL.
std::string FileUrlPath(std::string_view url);

}  // namespace qorva
