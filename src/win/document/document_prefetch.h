// The first document read and converted on a worker thread while the engine
// starts and the editor page loads: Pandoc runs in a process of its own and the
// converter on another core, so a long Markdown file is ready about when the page
// is. A load takes the result only for the same path and format with the file as
// it was read; anything else, a failure included, is read again the usual way,
// so the messages and the outcome stay those of an ordinary load.
#pragma once

#include "src/win/document/document_conversion.h"
#include "src/win/document/document_format.h"

#include <optional>
#include <string>

namespace qorva {

struct PreparedDocument {
    std::string bytes;
    ConversionResult result;
};

// Starts reading and converting the file; replaces one started before.
void PrepareDocument(const std::string& path, DocumentFormat format);

// The prepared file when it is this one, unchanged, and read and converted
// without a fault (waits for the worker); nothing otherwise. Taken once.
std::optional<PreparedDocument> TakePreparedDocument(const std::string& path, DocumentFormat format);

}  // namespace qorva
