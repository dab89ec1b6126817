// Whether a Markdown file keeps its paragraphs on one line each, so that a save
// writes them back the same way instead of wrapping them.
#pragma once

#include <string_view>

namespace qorva {

// True when some line of prose runs well past the width a wrapping writer keeps
// to and could have been broken early: its writer did not wrap. Code (fenced or
// indented), tables and lines without an early space do not count.
bool HasUnwrappedParagraphs(std::string_view markdown);

}  // namespace qorva
