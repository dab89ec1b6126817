#include "src/win/document/document_title.h"

namespace qorva {

std::string DocumentTitle(std::string_view path, bool welcome, bool modified) {
    if (welcome && path.empty() && !modified) return "Welcome - Qorva";
    return std::string(path.empty() ? "Untitled" : path) + (modified ? "*" : "") + " - Qorva";
}

std::string CountSuffix(CountDisplay mode, const std::function<int()>& selectedCount,
                        const std::function<int()>& totalCount) {
    if (mode == CountDisplay::None) return "";
    const bool words = mode == CountDisplay::Words;
    const std::string singular = words ? "Word" : "Character";
    const std::string plural = words ? "Words" : "Characters";
    int selected = selectedCount();
    if (selected == 1) return " - 1 " + singular + " Selected";
    if (selected > 1) return " - " + std::to_string(selected) + " " + plural + " Selected";
    int total = totalCount();
    if (total == 1) return " - 1 " + singular;
    return " - " + std::to_string(total) + " " + plural;
}

}  // namespace qorva
