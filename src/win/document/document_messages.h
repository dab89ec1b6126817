// What the document commands say to the user: texts, captions, buttons and icons.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qorva {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Exclamation, Stop };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageSpec {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    bool operator==(const MessageSpec&) const = default;
};

namespace message {

inline constexpr std::string_view kQorva = "Qorva";
inline constexpr std::string_view kChangesWillBeLost = "Changes will be lost. Proceed?";
inline constexpr std::string_view kParsingError = "Parsing Error. Please report this to Qorva support.";
inline constexpr std::string_view kFormattingError = "Formatting Error. Please report this to Qorva support.";
inline constexpr std::string_view kErrorWritingFile = "Error writing file!";
inline constexpr std::string_view kNewWindowFailed = "Failed to open new window";
inline constexpr std::string_view kWelcomeFailed = "Failed to open \u2018Welcome\u2019 document";

// "Save changes to story.text?" with the document's file name; an untitled
// document is named as such.
MessageSpec SaveChanges(std::string_view path);
MessageSpec ChangesWillBeLost();
MessageSpec ParsingError();
MessageSpec FormattingError();
MessageSpec ErrorWritingFile();
MessageSpec FileDoesNotExist(std::string_view path);
MessageSpec PandocMissing();
MessageSpec ImportFailed(std::string_view pandocOutput);
MessageSpec NewWindowFailed();
MessageSpec WelcomeFailed();
// A file that could not be read or written: the file and the system's reason.
MessageSpec CannotRead(std::string_view reason);
MessageSpec CannotWrite(std::string_view reason);
// Pandoc failed while a document in a Pandoc flavour was opened or saved.
MessageSpec PandocFailed(std::string_view pandocOutput);
// A file the editor cannot hold, refused before anything changes.
MessageSpec TooLargeToOpen(std::string_view path, std::uint64_t megabytes, std::uint64_t limitMegabytes);
// A file within the limit whose mark-up takes more than the editor holds.
MessageSpec TooLargeForEditor(std::string_view path, std::uint64_t fileMegabytes, std::uint64_t editorMegabytes,
                              std::uint64_t limitMegabytes);
// A paste after which the document could not be opened again.
MessageSpec PasteTooLarge(std::uint64_t megabytes, std::uint64_t limitMegabytes);
MessageSpec PasteTooLargeForEditor(std::uint64_t editorMegabytes, std::uint64_t limitMegabytes);
MessageSpec NotATextFile(std::string_view path);
// Opened, with its odd bytes shown as U+FFFD: a save writes those instead.
MessageSpec NotUtf8(std::string_view path);
// The editor did not take the document or did not give it back readably.
MessageSpec PageDidNotTakeDocument(std::string_view path);
MessageSpec PageDidNotGiveDocument();

}  // namespace message

// Addresses the commands open.
inline constexpr std::string_view kSupportPage = "https://qorva.org/support/";
inline constexpr std::string_view kFeedbackPage = "https://qorva.org/feedback/";

}  // namespace qorva
