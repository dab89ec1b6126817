// The pictures an export may take into its output. A document names pictures by
// path or URL; only files that really are pictures are copied into the export's
// private work folder (so the tool run there can read nothing else of the user's),
// and remote pictures stay only when the user allows fetching them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorva {

enum class ImageKind { None, Png, Jpeg, Gif, Bmp, Tiff, WebP, Pdf, Svg };

// What the first bytes of a file say it is, by its signature and header fields;
// None for anything else.
ImageKind SniffImage(std::string_view head);

// The file extension (".png") a copy of that kind gets.
const char* ImageExtension(ImageKind kind);

struct ExportImageRules {
    std::string documentFolder;  // relative references are read from here
    std::string workFolder;      // checked copies go here, as image-N.EXT
    bool allowRemote = false;    // keep http, https and ftp references for the tool to fetch
    bool pdfPictures = false;    // the output shows PDF files as pictures (PDF via XeLaTeX does)
};

struct PreparedImages {
    std::string modelJson;              // image blocks point at the copies
    std::vector<std::string> leftOut;   // references written as text instead, with the reason
};

// Rewrites the model's image blocks: a local picture file (relative, absolute or a
// file: URL) becomes its copy in the work folder; a reference that is not a readable
// picture, a remote one (unless allowed) or one of another scheme becomes a
// paragraph holding the reference as text. Throws ConverterError for a malformed model.
PreparedImages PrepareExportImages(std::string_view modelJson, const ExportImageRules& rules);

struct HtmlPictureRules {
    std::string documentFolder;  // relative references are read from here
    std::string exportFolder;    // the folder of the exported page
    bool embed = false;          // pictures as data: URLs inside the page
};

// Rewrites the model's image blocks for a page in `exportFolder`: a local picture
// file (relative, absolute or a file: URL) is named relative to the page, or
// embedded. Other references (remote, missing, not pictures) stay as they are.
// Throws ConverterError for a malformed model.
std::string PrepareHtmlPictures(std::string_view modelJson, const HtmlPictureRules& rules);

}  // namespace qorva
