#include "tools/themes/themes.h"

#include "resources/resources.h"
#include "tools/files/file_io.h"

namespace qorva {
namespace {

constexpr const char* kBuiltinThemes[] = {"Dark", "Monospaced", "Serif"};

}  // namespace

std::vector<std::string> ThemeMenuNames(const std::vector<std::string>& folders) {
    std::vector<std::string> names = ListUserFiles(".theme", folders);
    for (const char* builtin : kBuiltinThemes) names.emplace_back(builtin);
    SortOrdinalUnique(names);
    return names;
}

std::string ThemeStyleSheet(const std::string& name, const std::vector<std::string>& folders) {
    std::string path = FindUserFile(name + ".theme", folders);
    if (!path.empty()) return ReadWholeFile(path);
    for (const char* builtin : kBuiltinThemes)
        if (name == builtin) return std::string(findResource("themes/" + name + ".theme").value_or(""));
    return {};
}

}  // namespace qorva
