// The reference written into the document for an inserted image.
#pragma once

#include <string>

namespace qorva {

// `imagePath` is the chosen file (absolute); `documentFolder` the open document's
// folder, empty for an untitled document. The reference is relative to the folder
// when one can be made ("pic.png", "img/pic.png", "../other/pic.png"), otherwise the
// absolute path.
std::string MakeImageReference(const std::string& imagePath, const std::string& documentFolder);

// A picture file the page shows, by its extension (.png .jpg .jpeg .gif .webp .svg .bmp, any case).
bool IsImageFileName(const std::string& path);

// What a dropped picture becomes: a reference to where it lies when that is in or
// below the document's folder (or the document is untitled, then its full path);
// otherwise a copy in images/ beside the document when `copyOutside`, else a
// reference made by MakeImageReference.
struct ImageDropPlan {
    bool copy = false;
    std::string reference;  // empty when copied: the copy's name decides it
    bool operator==(const ImageDropPlan&) const = default;
};
ImageDropPlan PlanImageDrop(const std::string& imagePath, const std::string& documentFolder, bool copyOutside);

// The `number`th name tried for a new picture: "image.png" for 0, "image-2.png" for 2.
std::string NumberedFileName(const std::string& stem, const std::string& extension, int number);

}  // namespace qorva
