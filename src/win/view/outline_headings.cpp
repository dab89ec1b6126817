#include "src/win/view/outline_headings.h"

#include <nlohmann/json.hpp>

namespace qorva {

Outline ParseOutline(const std::string& json) {
    Outline outline;
    const nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
    if (!parsed.is_object() || !parsed.contains("headings") || !parsed["headings"].is_array()) return outline;
    for (const auto& entry : parsed["headings"]) {
        if (!entry.is_array() || entry.size() != 3 || !entry[0].is_number_integer() || !entry[1].is_number_integer() ||
            !entry[2].is_string()) {
            return {};
        }
        outline.headings.push_back({entry[0].get<int>(), entry[1].get<int>(), entry[2].get<std::string>()});
    }
    const auto current = parsed.value("current", -1);
    outline.current = current >= 0 && current < static_cast<int>(outline.headings.size()) ? current : -1;
    return outline;
}

std::vector<int> OutlineParents(const std::vector<OutlineHeading>& headings) {
    std::vector<int> parents;
    std::vector<int> open;  // the chain of headings the next one may sit under
    for (int i = 0; i < static_cast<int>(headings.size()); ++i) {
        while (!open.empty() && headings[open.back()].level >= headings[i].level) open.pop_back();
        parents.push_back(open.empty() ? -1 : open.back());
        open.push_back(i);
    }
    return parents;
}

}  // namespace qorva
