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

bool IsImageFileName(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (const char* known : {".png", ".jpg", ".jpeg", ".gif", ".webp", ".svg", ".bmp"})
        if (extension == known) return true;
    return false;
}

ImageDropPlan PlanImageDrop(const std::string& imagePath, const std::string& documentFolder, bool copyOutside) {
    const std::string reference = MakeImageReference(imagePath, documentFolder);
    const bool outside = reference.starts_with("../") || reference == ".." || reference.starts_with("/");
    if (documentFolder.empty() || !outside || !copyOutside) return {false, reference};
    return {true, {}};
}

std::string NumberedFileName(const std::string& stem, const std::string& extension, int number) {
    return number == 0 ? stem + extension : stem + "-" + std::to_string(number) + extension;
}

}  // namespace qorva
