#include "resources/resources.h"

namespace qorva {

std::optional<std::string_view> findResource(std::string_view name) {
    for (const ResourceEntry& entry : allResources())
        if (entry.name == name) return entry.bytes;
    return std::nullopt;
}

}  // namespace qorva
