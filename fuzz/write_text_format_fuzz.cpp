// libFuzzer target for the writer on arbitrary bytes: text that is not model JSON, or
// not well-formed, fails with a ConverterError and nothing else; a model that is read
// is written under every option set.
#include "model/model_json.h"
#include "model/text_writer.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const qorva::TextWriterOptions options : {qorva::TextWriterOptions{true, false}, qorva::TextWriterOptions{false, true}}) {
        try {
            qorva::writeTextFormat(input, options);
        } catch (const qorva::ConverterError&) {
        }
    }
    return 0;
}
