#include "src/win/document/document_messages.h"

#include "tools/pandoc/pandoc.h"

namespace qorva::message {
namespace {

MessageSpec Make(std::string text, std::string_view caption, MessageButtons buttons, MessageIcon icon) {
    return {std::move(text), std::string(caption), buttons, icon};
}

}  // namespace

MessageSpec SaveChanges(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    const std::string name = path.empty() ? "the untitled document"
                                          : std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
    return Make("Save changes to " + name + "?", kQorva, MessageButtons::YesNoCancel, MessageIcon::Exclamation);
}
MessageSpec ChangesWillBeLost() {
    return Make(std::string(kChangesWillBeLost), kQorva, MessageButtons::YesNo, MessageIcon::Exclamation);
}
MessageSpec ParsingError() {
    return Make(std::string(kParsingError), kQorva, MessageButtons::OkCancel, MessageIcon::Exclamation);
}
MessageSpec FormattingError() {
    return Make(std::string(kFormattingError), kQorva, MessageButtons::OkCancel, MessageIcon::Exclamation);
}
MessageSpec ErrorWritingFile() {
    return Make(std::string(kErrorWritingFile), "", MessageButtons::Ok, MessageIcon::None);
}
MessageSpec FileDoesNotExist(std::string_view path) {
    return Make("File " + std::string(path) + " doesn't exist.", kQorva, MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec PandocMissing() {
    return Make(kPandocDownloadPrompt, kQorva, MessageButtons::OkCancel, MessageIcon::Exclamation);
}
MessageSpec ImportFailed(std::string_view pandocOutput) {
    return Make("Pandoc Error\n" + std::string(pandocOutput), "Import failed", MessageButtons::Ok, MessageIcon::Stop);
}
MessageSpec NewWindowFailed() {
    return Make(std::string(kNewWindowFailed), "Error", MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec WelcomeFailed() {
    return Make(std::string(kWelcomeFailed), "Error", MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec CannotRead(std::string_view reason) {
    return Make("The file could not be opened.\n" + std::string(reason), kQorva, MessageButtons::Ok,
                MessageIcon::Exclamation);
}
MessageSpec CannotWrite(std::string_view reason) {
    return Make("The file could not be saved.\n" + std::string(reason), kQorva, MessageButtons::Ok,
                MessageIcon::Exclamation);
}
MessageSpec PandocFailed(std::string_view pandocOutput) {
    return Make("Pandoc Error\n" + std::string(pandocOutput), kQorva, MessageButtons::Ok, MessageIcon::Stop);
}

MessageSpec TooLargeToOpen(std::string_view path, std::uint64_t megabytes, std::uint64_t limitMegabytes) {
    return Make(std::string(path) + " is too large to open: " + std::to_string(megabytes) + " MB; the limit is " +
                    std::to_string(limitMegabytes) + " MB.",
                kQorva, MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec TooLargeForEditor(std::string_view path, std::uint64_t fileMegabytes, std::uint64_t editorMegabytes,
                              std::uint64_t limitMegabytes) {
    return Make(std::string(path) + " is too large to open: its " + std::to_string(fileMegabytes) + " MB take " +
                    std::to_string(editorMegabytes) + " MB in the editor; the limit there is " +
                    std::to_string(limitMegabytes) + " MB.",
                kQorva, MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec PasteTooLarge(std::uint64_t megabytes, std::uint64_t limitMegabytes) {
    return Make("Nothing was pasted: the document would be too large to open: " + std::to_string(megabytes) +
                    " MB; the limit is " + std::to_string(limitMegabytes) + " MB.",
                kQorva, MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec PasteTooLargeForEditor(std::uint64_t editorMegabytes, std::uint64_t limitMegabytes) {
    return Make("Nothing was pasted: the document would take " + std::to_string(editorMegabytes) +
                    " MB in the editor; the limit there is " + std::to_string(limitMegabytes) + " MB.",
                kQorva, MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec NotATextFile(std::string_view path) {
    return Make(std::string(path) + " is not a text file and cannot be opened.", kQorva, MessageButtons::Ok,
                MessageIcon::Exclamation);
}
MessageSpec NotUtf8(std::string_view path) {
    return Make(std::string(path) + " contains bytes that are not UTF-8 text; saving will replace them.", kQorva,
                MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec PageDidNotTakeDocument(std::string_view path) {
    return Make("The editor could not take the document " + std::string(path) + "; it was not opened.", kQorva,
                MessageButtons::Ok, MessageIcon::Exclamation);
}
MessageSpec PageDidNotGiveDocument() {
    return Make("The document could not be read back from the editor, so it was not saved.", kQorva,
                MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace qorva::message
