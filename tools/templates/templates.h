// Export templates: complete HTML pages and LaTeX documents with a "$body$" marker
// where the writers' output goes.
#pragma once

#include "tools/user_files/user_files.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qorva {

inline constexpr const char* kHtmlTemplateExtension = ".html5";
inline constexpr const char* kLatexTemplateExtension = ".xelatex";

// The template names for the export dialog, after its fixed first entry "Default":
// user templates with that extension (except one named "Default") and the built-in
// extra ("Bootstrap" for .html5, "Table of Contents" for .xelatex), in ordinal
// order without repeats.
std::vector<std::string> ListTemplates(const std::string& extension,
                                       const std::vector<std::string>& folders = UserFileFolders());

// The built-in template of that file name ("Default.html5", "Bootstrap.html5",
// "Default.xelatex", "Table of Contents.xelatex"), if it is one.
std::optional<std::string_view> BuiltinTemplate(const std::string& fileName);

// The template of that file name (a user file first, else a built-in one) with
// every "$body$" replaced by `body`; the body alone when there is no such template
// or it is empty. Throws FileError when a user template cannot be read.
std::string ApplyTemplate(const std::string& templateFileName, std::string_view body,
                          const std::vector<std::string>& folders = UserFileFolders());

// The same, with further markers ("$title$") replaced by their texts (already
// escaped for the template's language) and `insert.text` put at its anchor in the
// template (before "</head>", after "\begin{document}"), or before the body when
// the template has no such anchor.
using TemplateFields = std::vector<std::pair<std::string, std::string>>;
struct TemplateInsert {
    std::string text;
    std::string anchor;
    bool afterAnchor = false;
};
std::string ApplyTemplate(const std::string& templateFileName, std::string_view body, const std::vector<std::string>& folders,
                          const TemplateFields& fields, const TemplateInsert& insert = {});

}  // namespace qorva
