// The reference written into the document for an inserted image.
#pragma once

#include <string>

namespace qorva {

// `imagePath` is the chosen file (absolute); `documentFolder` the open document's
// folder, empty for an untitled document. The reference is relative to the folder
// when one can be made ("pic.png", "img/pic.png", "../other/pic.png"), otherwise the
// absolute path.
std::string MakeImageReference(const std::string& imagePath, const std::string& documentFolder);

}  // namespace qorva
