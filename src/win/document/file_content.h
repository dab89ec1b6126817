// What the bytes of a file about to be opened are, and whether the editor page can
// hold the document they make.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qorva {

enum class FileContent {
    Text,     // valid UTF-8 without zero bytes
    NotUtf8,  // text with some invalid sequences or zero bytes: they become U+FFFD
    Binary,   // not text at all: refused
};

FileContent ClassifyFileContent(std::string_view bytes);

// The size rule of a document, wherever it grows (open, import, paste): its file
// may hold at most this many bytes. A paste counts the file the document would be
// saved as in the native text format.
inline constexpr std::uint64_t kDocumentFileLimitBytes = 20'000'000;

// The largest model JSON that the editor page takes and gives back within a page
// call's time limit (20 s). Measured with `shell_bench page-limit` on a heavily
// loaded two-core machine: prose of 16 MiB went in in 15 s and of 32 MiB in 35 s;
// the call itself carries 256 MiB. Prose takes about as much as its file; dense
// mark-up can take several times more.
inline constexpr std::uint64_t kPageDocumentLimitBytes = 20'000'000;

// The bytes a model takes as a file in the native text format (wrapped, CR LF);
// the model's own size when the writer cannot write it.
std::uint64_t SavedTextSize(std::string_view model);

// Whole megabytes (1,000,000 bytes) for messages, rounded up so that a size just
// over the limit never reads as the limit itself.
std::uint64_t MegabytesRoundedUp(std::uint64_t bytes);

// The size of a regular file; nothing when it cannot be told.
std::optional<std::uint64_t> FileSize(const std::string& path);

}  // namespace qorva
