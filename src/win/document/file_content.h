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

// The largest document, in bytes of file or of model JSON, that the editor page
// takes and gives back within a page call's time limit (20 s). Measured with
// `shell_bench page-limit` on a heavily loaded two-core machine: prose of 16 MiB
// went in in 15 s and of 32 MiB in 35 s; the call itself carries 256 MiB.
inline constexpr std::uint64_t kPageDocumentLimitBytes = 20'000'000;

// Whole megabytes (1,000,000 bytes) for messages, rounded up so that a size just
// over the limit never reads as the limit itself.
std::uint64_t MegabytesRoundedUp(std::uint64_t bytes);

// The size of a regular file; nothing when it cannot be told.
std::optional<std::uint64_t> FileSize(const std::string& path);

}  // namespace qorva
