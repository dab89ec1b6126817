#include "src/win/tools/templates.h"

#include "resources/resources.h"
#include "src/win/tools/file_helpers.h"

namespace qorva {
namespace {

constexpr std::string_view kBodyMarker = "$body$";

const char* builtinExtra(const std::string& extension) {
    if (extension == kHtmlTemplateExtension) return "Bootstrap";
    if (extension == kLatexTemplateExtension) return "Table of Contents";
    return nullptr;
}

}  // namespace

std::vector<std::string> ListTemplates(const std::string& extension, const std::vector<std::string>& folders) {
    std::vector<std::string> names;
    for (std::string& name : ListUserFiles(extension, folders))
        if (name != "Default") names.push_back(std::move(name));
    if (const char* extra = builtinExtra(extension)) names.emplace_back(extra);
    SortOrdinalUnique(names);
    return names;
}

std::optional<std::string_view> BuiltinTemplate(const std::string& fileName) {
    for (const char* builtin : {"Default.html5", "Bootstrap.html5", "Default.xelatex", "Table of Contents.xelatex"})
        if (fileName == builtin) return findResource("templates/" + fileName);
    return std::nullopt;
}

std::string ApplyTemplate(const std::string& templateFileName, std::string_view body,
                          const std::vector<std::string>& folders) {
    std::string text;
    std::string path = FindUserFile(templateFileName, folders);
    if (!path.empty()) {
        text = ReadWholeFile(path);
    } else if (auto builtin = BuiltinTemplate(templateFileName)) {
        text = *builtin;
    }
    if (text.empty()) return std::string(body);

    // One pass over the template, so a body that itself holds "$body$" stays as it is.
    std::string result;
    result.reserve(text.size() + body.size());
    size_t start = 0;
    for (size_t found; (found = text.find(kBodyMarker, start)) != std::string::npos; start = found + kBodyMarker.size()) {
        result.append(text, start, found - start);
        result.append(body);
    }
    result.append(text, start);
    return result;
}

}  // namespace qorva
