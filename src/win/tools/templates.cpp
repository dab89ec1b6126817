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
    return ApplyTemplate(templateFileName, body, folders, {});
}

std::string ApplyTemplate(const std::string& templateFileName, std::string_view body, const std::vector<std::string>& folders,
                          const TemplateFields& fields, std::string_view head) {
    std::string text;
    std::string path = FindUserFile(templateFileName, folders);
    if (!path.empty()) {
        text = ReadWholeFile(path);
    } else if (auto builtin = BuiltinTemplate(templateFileName)) {
        text = *builtin;
    }
    std::string headed = std::string(head) + std::string(body);
    if (text.empty()) return headed;
    const size_t headEnd = text.find("</head>");
    if (!head.empty() && headEnd != std::string::npos) {
        text.insert(headEnd, head);
        headed = body;
    }

    // One pass over the template, so a body that itself holds a marker stays as it is.
    std::string result;
    result.reserve(text.size() + headed.size());
    size_t start = 0;
    for (size_t found; (found = text.find('$', start)) != std::string::npos;) {
        result.append(text, start, found - start);
        const std::string_view rest = std::string_view(text).substr(found);
        start = found + 1;
        if (rest.starts_with(kBodyMarker)) {
            result.append(headed);
            start = found + kBodyMarker.size();
            continue;
        }
        bool replaced = false;
        for (const auto& [marker, value] : fields) {
            if (!rest.starts_with(marker)) continue;
            result.append(value);
            start = found + marker.size();
            replaced = true;
            break;
        }
        if (!replaced) result += '$';
    }
    result.append(text, start);
    return result;
}

}  // namespace qorva
