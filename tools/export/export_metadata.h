// What an export says about the document besides its body: a title and a language
// for the reader's window, the EPUB package, Word's properties and the PDF's
// information. Titles come from documents written by strangers, so each target
// gets them escaped in its own way.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

inline constexpr const char* kDefaultLanguage = "en-US";

struct ExportMetadata {
    std::string title;
    std::string language = kDefaultLanguage;
};

// The text of the first heading (white space collapsed, references left out), else
// the name of `exportPath` without its folder and extension. A malformed model
// gives the file name.
std::string ExportTitle(std::string_view modelJson, const std::string& exportPath);

// A language setting as a language tag: "en_US" and "en-US" give "en-US"; an empty
// or malformed setting gives "en-US".
std::string LanguageTag(std::string_view setting);

// Text for the HTML head and attributes: &, <, >, both quotes escaped.
std::string HtmlEscaped(std::string_view text);

// LaTeX lines that set the PDF's title and language through hyperref when the
// template loads it, for the start of the body. The title is escaped as text and
// passed through the TeX guard.
std::string LatexMetadata(const ExportMetadata& metadata);

// `pandocJson` (the object form of current Pandoc) with the title and language in
// its metadata; "title" also gives Pandoc's title block, "pagetitle" does not.
std::string WithPandocMetadata(std::string_view pandocJson, const ExportMetadata& metadata, bool titleBlock);

// The model without its first block when that is a heading whose text is `title`
// (for a format whose title block then stands in its place).
std::string WithoutTitleHeading(std::string_view modelJson, const std::string& title);

}  // namespace qorva
