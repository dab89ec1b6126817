// A Markdown file's YAML front matter (a "---" first line, YAML, a "---" or "..."
// line) kept byte for byte as the document's first block, a "metadata" block,
// rather than read into Pandoc's metadata, whose writers leave it out or rewrite it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qorva::convert {

struct FrontMatter {
    std::string_view yaml;  // the lines between the two marker lines
    std::string_view rest;  // the text after the closing line
};

// The front matter at the start of `text`, as Pandoc's Markdown readers find one: the
// first line "---", a next line that is not blank, the block closed by "---" or "...",
// and a first line of YAML that starts a mapping ("key:"), so that a rule followed by
// text stays what it was.
std::optional<FrontMatter> FindFrontMatter(std::string_view text);

// `modelJson` (a document) with a "metadata" block of `yaml`'s lines put first.
std::string WithMetadataBlock(std::string_view modelJson, std::string_view yaml);

// Whether the Pandoc reader of `pandocFormat` (as Pandoc names it) reads YAML front matter.
bool ReadsFrontMatter(std::string_view pandocFormat);

}  // namespace qorva::convert
