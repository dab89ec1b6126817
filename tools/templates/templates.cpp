#include "tools/templates/templates.h"

#include <algorithm>

#include "resources/resources.h"
#include "tools/files/file_io.h"

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
    return ApplyTemplate(templateFileName, body, folders, {});
}

std::string ApplyTemplate(const std::string& templateFileName, std::string_view body, const std::vector<std::string>& folders,
                          const TemplateFields& fields, const TemplateInsert& insert) {
    std::string text;
    std::string path = FindUserFile(templateFileName, folders);
    if (!path.empty()) {
        text = ReadWholeFile(path);
    } else if (auto builtin = BuiltinTemplate(templateFileName)) {
        text = *builtin;
    }
    const size_t anchor = insert.anchor.empty() ? std::string::npos : text.find(insert.anchor);
    const bool anchored = !insert.text.empty() && anchor != std::string::npos;
    const std::string bodyText = anchored ? std::string(body) : insert.text + std::string(body);
    if (text.empty()) return bodyText;

    // One pass over the template, so a body (or an inserted text) that itself holds a
    // marker stays as it is.
    std::string result;
    result.reserve(text.size() + bodyText.size() + insert.text.size());
    auto substitute = [&](std::string_view part) {
        size_t start = 0;
        for (size_t found; (found = part.find('$', start)) != std::string_view::npos;) {
            result.append(part.substr(start, found - start));
            const std::string_view rest = part.substr(found);
            start = found + 1;
            if (rest.starts_with(kBodyMarker)) {
                result.append(bodyText);
                start = found + kBodyMarker.size();
                continue;
            }
            const auto field = std::find_if(fields.begin(), fields.end(),
                                            [&](const auto& entry) { return rest.starts_with(entry.first); });
            if (field == fields.end()) {
                result += '$';
                continue;
            }
            result.append(field->second);
            start = found + field->first.size();
        }
        result.append(part.substr(start));
    };
    const size_t split = anchored ? anchor + (insert.afterAnchor ? insert.anchor.size() : 0) : text.size();
    substitute(std::string_view(text).substr(0, split));
    if (anchored) result.append(insert.text);
    substitute(std::string_view(text).substr(split));
    return result;
}

}  // namespace qorva
