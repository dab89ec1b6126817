#include "src/win/document/document_conversion.h"

#include "convert/front_matter.h"
#include "tools/converter_host/converter_host.h"

#include <QString>

namespace qorva {

std::string FileBytesAsText(std::string_view bytes) {
    // QString's decoder turns each invalid sequence into U+FFFD and keeps zero
    // bytes as characters, which are then made visible the same way.
    QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    text.replace(QChar(u'\0'), QChar(QChar::ReplacementCharacter));
    return text.toStdString();
}

ConversionResult ReadThroughPandoc(std::string_view text, std::string_view pandocFormat,
                                   const PandocInstallation& pandoc) {
    ConversionResult result;
    const auto frontMatter = convert::ReadsFrontMatter(PandocFormatName(pandoc, pandocFormat))
                                 ? convert::FindFrontMatter(text) : std::nullopt;
    if (frontMatter) text = frontMatter->rest;
    std::string json, messages;
    if (!PandocToJson(pandoc, text, pandocFormat, json, &messages)) {
        result.failure = ConversionResult::Failure::Pandoc;
        // Pandoc's own words when it ran; why it could not start otherwise.
        result.pandocMessage = json.empty() ? messages : json;
        return result;
    }
    std::string error;
    result.text = TryReadPandocJson(json, PandocReaderOptions(pandocFormat), &error);
    if (!error.empty()) result.failure = ConversionResult::Failure::Converter;
    else if (frontMatter) result.text = convert::WithMetadataBlock(result.text, frontMatter->yaml);
    return result;
}

ConversionResult ReadDocument(std::string_view text, DocumentFormat format, const PandocInstallation& pandoc) {
    if (UsesPandoc(format)) return ReadThroughPandoc(text, PandocNameOf(format), pandoc);
    ConversionResult result;
    std::string error;
    result.text = TryReadTextFormat(text, &error);
    if (!error.empty()) result.failure = ConversionResult::Failure::Converter;
    return result;
}

ConversionResult WriteDocument(std::string_view model, DocumentFormat format, bool unwrapped,
                               const PandocInstallation& pandoc) {
    ConversionResult result;
    std::string error;
    if (!UsesPandoc(format)) {
        std::string text = TryWriteTextFormat(model, !unwrapped, &error);
        if (!error.empty()) {
            result.failure = ConversionResult::Failure::Converter;
            return result;
        }
        result.text = std::move(text);
        return result;
    }
    PandocInstallation writer = pandoc;
    if (!writer.usable()) writer.jsonApi = "1.11";
    const std::string options = PandocSavingOptions(writer, PandocNameOf(format));
    std::string json = TryWritePandocJson(model, options.c_str(), &error);
    if (!error.empty()) {
        result.failure = ConversionResult::Failure::Converter;
        return result;
    }
    std::string output, messages;
    if (!PandocFromJson(pandoc, json, PandocNameOf(format), output, &messages, unwrapped)) {
        // Pandoc's messages are never taken for the document.
        result.failure = ConversionResult::Failure::Pandoc;
        result.pandocMessage = output.empty() ? messages : output;
        return result;
    }
    result.text = std::move(output);
    return result;
}

}  // namespace qorva
