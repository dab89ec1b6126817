// Between file bytes and model JSON in each storage format: the native readers
// and writers, or Pandoc with the Pandoc JSON converters.
#pragma once

#include "src/win/document/document_format.h"
#include "tools/files/file_io.h"
#include "tools/pandoc/pandoc.h"

#include <string>
#include <string_view>

namespace qorva {

struct ConversionResult {
    enum class Failure { None, Converter, Pandoc };
    Failure failure = Failure::None;
    std::string text;           // model JSON when reading, file bytes when writing
    std::string pandocMessage;  // what Pandoc said when it failed
    bool ok() const { return failure == Failure::None; }
};

// A file's bytes as text the readers accept: a zero byte becomes U+FFFD, as does
// each invalid UTF-8 sequence, so nothing after either is lost.
std::string FileBytesAsText(std::string_view bytes);

// File text to model JSON.
ConversionResult ReadDocument(std::string_view text, DocumentFormat format, const PandocInstallation& pandoc);

// Model JSON to the text of a file, its lines ending in line feeds: native text
// and Markdown wrapped (unless `unwrapped`), as the writer or Pandoc produced it.
ConversionResult WriteDocument(std::string_view model, DocumentFormat format, bool unwrapped,
                               const PandocInstallation& pandoc);

// Pandoc JSON from a Pandoc input format ("html", "latex", "markdown_mmd") to
// model JSON; Pandoc's message on failure.
ConversionResult ReadThroughPandoc(std::string_view text, std::string_view pandocFormat,
                                   const PandocInstallation& pandoc);

}  // namespace qorva
