#include "src/win/document/file_content.h"

#include "tools/converter_host/converter_host.h"

#include <sys/stat.h>

#include <algorithm>

namespace qorva {
namespace {

// Length of the valid UTF-8 sequence at the start of `text`, 0 when it is not one.
size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                  : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F) ||
        (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) > 0x8F)) {
        return 0;
    }
    return length;
}

bool IsControlOutsideText(unsigned char c) {
    // Zero, and controls other than tab, line feed, vertical tab, form feed,
    // carriage return and escape, which appear in text files.
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r' && c != 0x1B) || c == 0x7F;
}

}  // namespace

FileContent ClassifyFileContent(std::string_view bytes) {
    // A look at the start is enough to tell a binary file; the rest is only checked
    // for validity.
    constexpr size_t kSample = 65536;
    constexpr size_t kFewOddBytes = 8;
    size_t odd = 0, sampled = 0;
    bool valid = true;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = Utf8SequenceLength(bytes.substr(i, 4));
        const bool bad = length == 0 || bytes[i] == '\0';
        valid = valid && !bad;
        if (i < kSample) {
            sampled = i + std::max<size_t>(length, 1);
            if (IsControlOutsideText(static_cast<unsigned char>(bytes[i]))) ++odd;
        } else if (!valid) {
            break;
        }
        i += std::max<size_t>(length, 1);
    }
    // Zero bytes and control characters: in a text file, even one in another
    // encoding, they are few if any; in an image, an archive or a program (about
    // one byte in ten of compressed data) they are everywhere.
    if (odd >= kFewOddBytes && odd * 20 >= sampled) return FileContent::Binary;
    return valid ? FileContent::Text : FileContent::NotUtf8;
}

std::uint64_t MegabytesRoundedUp(std::uint64_t bytes) { return (bytes + 999'999) / 1'000'000; }

std::uint64_t SavedTextSize(std::string_view model) {
    const std::string text = TryWriteTextFormat(model, /*wrap=*/true);
    if (text.empty()) return model.size();
    return text.size() + static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace qorva
