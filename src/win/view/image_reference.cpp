#include "src/win/view/image_reference.h"

#include <filesystem>

namespace qorva {

std::string MakeImageReference(const std::string& imagePath, const std::string& documentFolder) {
    namespace fs = std::filesystem;
    const fs::path image = fs::path(imagePath).lexically_normal();
    std::string reference;
    if (!documentFolder.empty() && image.is_absolute()) {
        const fs::path folder = fs::path(documentFolder).lexically_normal();
        if (folder.is_absolute()) reference = image.lexically_relative(folder).generic_string();
    }
    if (reference.empty() || reference == ".") reference = image.generic_string();
    if (reference.starts_with("./")) reference.erase(0, 2);
    return reference;
}

}  // namespace qorva
