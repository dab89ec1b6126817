// Files carried inside the program: the welcome document, the built-in export
// templates and the built-in themes. Names are paths relative to resources/,
// for example "welcome.text" or "themes/Dark.theme".
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace qorva {

struct ResourceEntry {
    std::string_view name;
    std::string_view bytes;
};

std::span<const ResourceEntry> allResources();

// The bytes of one embedded file, or nothing when there is no such resource.
std::optional<std::string_view> findResource(std::string_view name);

}  // namespace qorva
