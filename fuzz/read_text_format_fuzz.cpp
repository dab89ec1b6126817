// libFuzzer target for the text reader and, through it, the writer:
// whatever the bytes, reading never crashes, its result is valid model JSON, the writer
// accepts that model in every option set, and reading what it wrote never crashes.
#include "model/model_json.h"
#include "model/syntax_error.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fault(const char* what) {
    __builtin_printf("fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string model;
    try {
        model = qorva::readTextFormat(input);
    } catch (const qorva::SyntaxError&) {
        return 0;
    }
    // Strict parsing rejects invalid UTF-8 as well as broken JSON.
    const qorva::Json parsed = qorva::Json::parse(model, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_array() || parsed.empty() || parsed[0] != "text") fault("reader output is not model JSON");
    if (qorva::dumpCompact(parsed) != model) fault("reader output is not compact JSON");
    for (const qorva::TextWriterOptions options : {qorva::TextWriterOptions{true, false}, qorva::TextWriterOptions{false, false},
                                                    qorva::TextWriterOptions{true, true}}) {
        std::string written;
        try {
            written = qorva::writeTextFormat(model, options);
        } catch (const qorva::ConverterError&) {
            fault("writer rejected the reader's output");
        }
        try {
            qorva::readTextFormat(written);
        } catch (const qorva::SyntaxError&) {
            // Some models the format cannot say; reading them fails cleanly.
        }
    }
    return 0;
}
