#include "tools/pictures/export_images.h"

#include "convert/url_scheme.h"
#include "model/model_json.h"
#include "tools/files/file_io.h"
#include "tools/files/file_url.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qorva {
namespace {

constexpr size_t kSniffBytes = 512;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The first bytes of a regular file; false when it cannot be read.
bool readHead(const std::string& path, std::string& head) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    head.resize(kSniffBytes);
    const ssize_t n = ::read(fd, head.data(), head.size());
    ::close(fd);
    if (n < 0) return false;
    head.resize(static_cast<size_t>(n));
    return true;
}

unsigned byte(std::string_view head, size_t at) { return static_cast<unsigned char>(head[at]); }
unsigned little16(std::string_view head, size_t at) { return byte(head, at) | byte(head, at + 1) << 8; }
uint32_t little32(std::string_view head, size_t at) { return little16(head, at) | uint32_t(little16(head, at + 2)) << 16; }
uint32_t big32(std::string_view head, size_t at) {
    return uint32_t(byte(head, at)) << 24 | byte(head, at + 1) << 16 | byte(head, at + 2) << 8 | byte(head, at + 3);
}

// A Windows bitmap: reserved bytes zero, a known info header size, the pixels
// after the headers, non-zero sizes, one plane and a valid bit count.
bool isBmp(std::string_view head) {
    if (head.size() < 30 || little32(head, 6) != 0) return false;
    const uint32_t info = little32(head, 14);
    if (info != 12 && info != 40 && info != 52 && info != 56 && info != 64 && info != 108 && info != 124) return false;
    if (little32(head, 10) < 14 + info || little32(head, 2) < 14 + info) return false;
    const bool core = info == 12;
    const uint32_t width = core ? little16(head, 18) : little32(head, 18);
    const uint32_t height = core ? little16(head, 20) : little32(head, 22);
    const unsigned planes = little16(head, core ? 22 : 26);
    const unsigned bits = little16(head, core ? 24 : 28);
    const bool validBits = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return width != 0 && height != 0 && planes == 1 && validBits;
}

// The local file a picture reference names, or empty for another scheme.
std::string localPicturePath(const std::string& reference, const std::string& documentFolder) {
    const std::string scheme = convert::urlScheme(reference);
    std::string path;
    if (scheme == "file") path = FileUrlPath(reference);
    else if (scheme.empty()) path = reference;
    if (!path.empty() && path.front() != '/') path = JoinPath(documentFolder, path);
    return path;
}

const char* mediaType(ImageKind kind) {
    switch (kind) {
        case ImageKind::Png: return "image/png";
        case ImageKind::Jpeg: return "image/jpeg";
        case ImageKind::Gif: return "image/gif";
        case ImageKind::Bmp: return "image/bmp";
        case ImageKind::Tiff: return "image/tiff";
        case ImageKind::WebP: return "image/webp";
        case ImageKind::Svg: return "image/svg+xml";
        default: return nullptr;
    }
}

std::string base64(std::string_view bytes) {
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k) group = group << 8 | (k < n ? byte(bytes, i + k) : 0);
        for (size_t k = 0; k < 4; ++k) out += k <= n ? digits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// A relative URL path: every byte but letters, digits, "-._~" and "/" escaped.
std::string urlPath(const std::string& path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string htmlPicture(const std::string& reference, const HtmlPictureRules& rules) {
    const std::string path = localPicturePath(reference, rules.documentFolder);
    std::string head;
    if (path.empty() || !readHead(path, head)) return reference;
    const ImageKind kind = SniffImage(head);
    if (kind == ImageKind::None) return reference;
    if (rules.embed && mediaType(kind)) {
        try {
            return std::string("data:") + mediaType(kind) + ";base64," + base64(ReadWholeFile(path));
        } catch (const FileError&) {
            return reference;
        }
    }
    namespace fs = std::filesystem;
    const fs::path relative = fs::path(path).lexically_normal().lexically_relative(fs::path(rules.exportFolder).lexically_normal());
    return relative.empty() ? reference : urlPath(relative.generic_string());
}

class ImageRewriter {
public:
    explicit ImageRewriter(const ExportImageRules& rules) : rules_(rules) {}

    // The reference to write instead of `reference`, or empty to write it as text.
    std::string rewrite(const std::string& reference) {
        const std::string scheme = convert::urlScheme(reference);
        if (scheme == "http" || scheme == "https" || scheme == "ftp") {
            if (rules_.allowRemote) return reference;
            return leaveOut(reference, "remote pictures are not fetched");
        }
        const std::string path = localPicturePath(reference, rules_.documentFolder);
        if (path.empty()) return leaveOut(reference, "not a picture file");
        return copyPicture(reference, path);
    }

    std::vector<std::string> leftOut;

private:
    std::string leaveOut(const std::string& reference, const char* reason) {
        leftOut.push_back(reference + ": " + reason);
        return {};
    }

    std::string copyPicture(const std::string& reference, const std::string& path) {
        std::string head;
        if (!readHead(path, head)) return leaveOut(reference, "cannot be read");
        const ImageKind kind = SniffImage(head);
        if (kind == ImageKind::None || (kind == ImageKind::Pdf && !rules_.pdfPictures)) {
            return leaveOut(reference, "not a picture file");
        }
        const std::string name = "image-" + std::to_string(++copies_) + ImageExtension(kind);
        try {
            WriteWholeFile(JoinPath(rules_.workFolder, name), ReadWholeFile(path));
        } catch (const FileError& error) {
            return leaveOut(reference, error.what());
        }
        return name;
    }

    const ExportImageRules& rules_;
    int copies_ = 0;
};

}  // namespace

ImageKind SniffImage(std::string_view head) {
    // Each format by its signature and the fixed fields of its header, so that a
    // text file that happens to start with the same letters is no picture.
    if (startsWith(head, "\x89PNG\r\n\x1a\n")) {
        // The IHDR chunk comes first: non-zero sizes, a valid depth and colour type.
        if (head.size() < 29 || head.substr(8, 8) != std::string_view("\0\0\0\x0DIHDR", 8)) return ImageKind::None;
        const bool depth = std::string_view("\x01\x02\x04\x08\x10").find(head[24]) != std::string_view::npos;
        const bool colour = std::string_view("\x00\x02\x03\x04\x06", 5).find(head[25]) != std::string_view::npos;
        return big32(head, 16) && big32(head, 20) && depth && colour ? ImageKind::Png : ImageKind::None;
    }
    if (startsWith(head, "\xFF\xD8\xFF")) {
        // The first segment after the start of image: a frame, table, application or
        // comment marker with a length that covers at least itself.
        if (head.size() < 6) return ImageKind::None;
        const unsigned marker = byte(head, 3);
        const bool known = (marker >= 0xC0 && marker <= 0xCF && marker != 0xC8) || marker == 0xDB || marker == 0xDD ||
                           (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
        return known && (byte(head, 4) << 8 | byte(head, 5)) >= 2 ? ImageKind::Jpeg : ImageKind::None;
    }
    if (startsWith(head, "GIF87a") || startsWith(head, "GIF89a")) {
        return head.size() >= 13 && little16(head, 6) && little16(head, 8) ? ImageKind::Gif : ImageKind::None;
    }
    if (startsWith(head, "BM")) return isBmp(head) ? ImageKind::Bmp : ImageKind::None;
    if (startsWith(head, std::string_view("II*\0", 4))) {
        return head.size() >= 8 && little32(head, 4) >= 8 ? ImageKind::Tiff : ImageKind::None;
    }
    if (startsWith(head, std::string_view("MM\0*", 4))) {
        return head.size() >= 8 && big32(head, 4) >= 8 ? ImageKind::Tiff : ImageKind::None;
    }
    if (startsWith(head, "RIFF")) {
        if (head.size() < 16) return ImageKind::None;
        const std::string_view chunk = head.substr(12, 4);
        return head.substr(8, 4) == "WEBP" && little32(head, 4) >= 8 && (chunk == "VP8 " || chunk == "VP8L" || chunk == "VP8X")
                   ? ImageKind::WebP
                   : ImageKind::None;
    }
    if (startsWith(head, "%PDF-")) {
        // "%PDF-1.7": a version, digit, point, digit.
        const bool version = head.size() >= 8 && isdigit(byte(head, 5)) && head[6] == '.' && isdigit(byte(head, 7));
        return version ? ImageKind::Pdf : ImageKind::None;
    }
    // An SVG picture is XML whose first element is <svg> in the SVG namespace.
    size_t at = 0;
    if (startsWith(head, "\xEF\xBB\xBF")) at = 3;
    while (at < head.size()) {
        while (at < head.size() && isspace(static_cast<unsigned char>(head[at]))) ++at;
        if (startsWith(head.substr(at), "<svg")) {
            const bool element = at + 4 < head.size() && (isspace(byte(head, at + 4)) || head[at + 4] == '>');
            const bool svgNamespace = head.find("http://www.w3.org/2000/svg", at) != std::string_view::npos;
            return element && svgNamespace ? ImageKind::Svg : ImageKind::None;
        }
        if (startsWith(head.substr(at), "<?") || startsWith(head.substr(at), "<!")) {
            const size_t end = head.find('>', at);
            if (end == std::string_view::npos) break;
            at = end + 1;
            continue;
        }
        break;
    }
    return ImageKind::None;
}

const char* ImageExtension(ImageKind kind) {
    switch (kind) {
        case ImageKind::Png: return ".png";
        case ImageKind::Jpeg: return ".jpg";
        case ImageKind::Gif: return ".gif";
        case ImageKind::Bmp: return ".bmp";
        case ImageKind::Tiff: return ".tiff";
        case ImageKind::WebP: return ".webp";
        case ImageKind::Pdf: return ".pdf";
        case ImageKind::Svg: return ".svg";
        case ImageKind::None: break;
    }
    return "";
}

PreparedImages PrepareExportImages(std::string_view modelJson, const ExportImageRules& rules) {
    // Most documents hold no pictures; they pass through untouched.
    if (modelJson.find("\"image\"") == std::string_view::npos) return {std::string(modelJson), {}};
    Json model = parseJson(modelJson);
    if (!model.is_array()) throw ConverterError("The model is not a list of blocks.");
    ImageRewriter rewriter(rules);
    for (size_t i = 1; i < model.size(); ++i) {
        Json& block = model[i];
        if (!block.is_array() || block.size() < 3 || block[0] != "image" || !block[2].is_array() ||
            block[2].size() < 2 || block[2][0] != "url" || !block[2][1].is_string())
            continue;
        const std::string reference = block[2][1].get<std::string>();
        const std::string replacement = rewriter.rewrite(reference);
        if (!replacement.empty()) {
            block[2][1] = replacement;
        } else {
            // The reference stays visible as text, where the picture would have been.
            block = Json::array({"para", block[1], Json::array({"plain", reference})});
        }
    }
    return {dumpCompact(model), std::move(rewriter.leftOut)};
}

std::string PrepareHtmlPictures(std::string_view modelJson, const HtmlPictureRules& rules) {
    if (modelJson.find("\"image\"") == std::string_view::npos) return std::string(modelJson);
    Json model = parseJson(modelJson);
    if (!model.is_array()) throw ConverterError("The model is not a list of blocks.");
    for (size_t i = 1; i < model.size(); ++i) {
        Json& block = model[i];
        if (block.is_array() && block.size() >= 3 && block[0] == "image" && block[2].is_array() && block[2].size() >= 2 &&
            block[2][0] == "url" && block[2][1].is_string())
            block[2][1] = htmlPicture(block[2][1].get<std::string>(), rules);
    }
    return dumpCompact(model);
}

}  // namespace qorva
