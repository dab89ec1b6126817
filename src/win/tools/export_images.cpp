#include "src/win/tools/export_images.h"

#include "convert/url_scheme.h"
#include "model/model_json.h"
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/link_rules.h"

#include <cerrno>
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
        std::string path;
        if (scheme == "file") path = FileUrlPath(reference);
        else if (scheme.empty()) path = reference;
        else return leaveOut(reference, "not a picture file");
        if (path.empty()) return leaveOut(reference, "not a picture file");
        if (path.front() != '/') path = JoinPath(rules_.documentFolder, path);
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
        if (kind == ImageKind::None) return leaveOut(reference, "not a picture file");
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
    if (startsWith(head, "\x89PNG\r\n\x1a\n")) return ImageKind::Png;
    if (startsWith(head, "\xFF\xD8\xFF")) return ImageKind::Jpeg;
    if (startsWith(head, "GIF87a") || startsWith(head, "GIF89a")) return ImageKind::Gif;
    if (startsWith(head, "BM") && head.size() >= 26) return ImageKind::Bmp;
    if (startsWith(head, std::string_view("II*\0", 4)) || startsWith(head, std::string_view("MM\0*", 4))) return ImageKind::Tiff;
    if (startsWith(head, "RIFF") && head.size() >= 12 && head.substr(8, 4) == "WEBP") return ImageKind::WebP;
    if (startsWith(head, "%PDF-")) return ImageKind::Pdf;
    // An SVG picture is XML whose first element is <svg>.
    size_t at = 0;
    if (startsWith(head, "\xEF\xBB\xBF")) at = 3;
    while (at < head.size()) {
        while (at < head.size() && isspace(static_cast<unsigned char>(head[at]))) ++at;
        if (startsWith(head.substr(at), "<svg")) return ImageKind::Svg;
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

}  // namespace qorva
