#include "src/win/document/document_prefetch.h"

#include "src/win/document/file_content.h"
#include "src/win/document/file_stamp.h"
#include "tools/files/file_io.h"

#include <future>
#include <mutex>

namespace qorva {
namespace {

struct Read {
    FileStamp stamp;  // taken before the read: a file written since no longer matches it
    std::optional<PreparedDocument> document;
};

struct Prepared {
    std::string path;
    DocumentFormat format;
    std::future<Read> read;
};

std::mutex gLock;
std::optional<Prepared> gPrepared;

Read ReadAndConvert(const std::string& path, DocumentFormat format) {
    Read read{StampOf(path), std::nullopt};
    const std::optional<std::uint64_t> size = FileSize(path);
    if (!read.stamp.exists || !size || *size > kDocumentFileLimitBytes) return read;
    PreparedDocument prepared;
    try {
        prepared.bytes = ReadWholeFile(path, kPageDocumentLimitBytes);
    } catch (const FileError&) {
        return read;
    }
    if (ClassifyFileContent(prepared.bytes) == FileContent::Binary) return read;
    prepared.result = ReadDocument(FileBytesAsText(prepared.bytes), format,
                                   UsesPandoc(format) ? DetectPandoc() : PandocInstallation{});
    if (prepared.result.ok()) read.document = std::move(prepared);
    return read;
}

}  // namespace

void PrepareDocument(const std::string& path, DocumentFormat format) {
    Prepared prepared{path, format, std::async(std::launch::async, ReadAndConvert, path, format)};
    std::lock_guard lock(gLock);
    gPrepared = std::move(prepared);
}

std::optional<PreparedDocument> TakePreparedDocument(const std::string& path, DocumentFormat format) {
    std::optional<Prepared> prepared;
    {
        std::lock_guard lock(gLock);
        prepared.swap(gPrepared);
    }
    if (!prepared) return std::nullopt;
    Read read = prepared->read.get();
    if (prepared->path != path || prepared->format != format || !read.document) return std::nullopt;
    if (!(StampOf(path, &read.stamp) == read.stamp)) return std::nullopt;
    return std::move(read.document);
}

}  // namespace qorva
