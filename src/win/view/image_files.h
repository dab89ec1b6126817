// Pictures written beside a document: the images/ folder and new files in it.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

// Saves `bytes` as a new file in images/ beside the document (the folder made
// 0755 when missing, refused when it is a link or no folder) under the first
// free name from NumberedFileName(stem, extension, firstNumber) on; nothing is
// ever replaced. Returns the reference for the document ("images/image-1.png").
// Throws FileError.
std::string SaveIntoImagesFolder(const std::string& documentFolder, const std::string& stem,
                                 const std::string& extension, int firstNumber, std::string_view bytes);

}  // namespace qorva
