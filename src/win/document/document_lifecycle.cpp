#include "src/win/document/document_lifecycle.h"

#include "src/win/document/document_conversion.h"
#include "src/win/document/document_prefetch.h"
#include "src/win/document/file_content.h"
#include "src/win/document/named_file_format.h"
#include "src/win/document/paragraph_wrapping.h"
#include "src/win/menus/command_ids.h"
#include "tools/converter_host/converter_host.h"
#include "tools/files/file_io.h"
#include "tools/pandoc/pandoc.h"
#include "resources/resources.h"

#include <QUrl>

namespace qorva {
namespace {

const FileFilter kQorvaDocuments{"Qorva Documents (*.text)", "*.text"};
const char* const kMarkdownPatterns = "*.md;*.markdown;*.mdown;*.mkdn;*.mkd;*.mdwn;*.mdtxt;*.mdtext";
const FileFilter kAllFiles{"All Files", "*.*"};

std::string FileUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace

FileDialogSpec OpenDocumentDialog() {
    return {{kQorvaDocuments, {"Markdown Files", kMarkdownPatterns}, kAllFiles}, "text"};
}

FileDialogSpec SaveDocumentDialog(DocumentFormat format, const std::string& initialName) {
    return {{kQorvaDocuments, {"Markdown Files (*.md)", kMarkdownPatterns}, kAllFiles},
            std::string(ExtensionOf(format)),
            UsesPandoc(format) ? 1u : 0u,
            initialName};
}

std::optional<std::pair<std::string, FileDialogSpec>> ImportDialogFor(int commandId) {
    if (commandId == command_id::ImportHtml) {
        return std::pair{std::string("html"),
                         FileDialogSpec{{{"HTML Files (*.html;*.htm)", "*.html;*.htm"}, kAllFiles}, ""}};
    }
    if (commandId == command_id::ImportLatex) {
        return std::pair{std::string("latex"),
                         FileDialogSpec{{{"LaTeX Files (*.tex;*.latex)", "*.tex;*.latex"}, kAllFiles}, ""}};
    }
    return std::nullopt;
}

DocumentLifecycle::DocumentLifecycle(DocumentPage& page, DocumentUi& ui, RecentDocumentList& recent,
                                     SettingsStore& settings)
    : page_(page), ui_(ui), recent_(recent), settings_(settings) {
    ResetFormat();
}

void DocumentLifecycle::ResetFormat() { format_ = FormatFromDefaultSetting(DefaultFormatSetting(settings_)); }

bool DocumentLifecycle::HandleCommand(int id) {
    if (id == command_id::New) {
        New();
    } else if (id == command_id::Open) {
        Open();
    } else if (id >= command_id::RecentFirst && id <= command_id::RecentLast) {
        OpenRecent(id);
    } else if (ReopenFormatOf(id)) {
        ReopenInFormat(id);
    } else if (id == command_id::Save) {
        Save();
    } else if (SaveFormatOf(id)) {
        SaveInFormat(id);
    } else if (id == command_id::SaveAs) {
        SaveAs();
    } else if (id == command_id::ImportHtml || id == command_id::ImportLatex) {
        Import(id);
    } else if (id == command_id::WelcomeDocument) {
        OpenWelcomeWindow();
    } else {
        return false;
    }
    return true;
}

MessageAnswer DocumentLifecycle::Report(const MessageSpec& message) {
    if (!quietNote_) return ui_.ShowMessage(message);
    if (quietNote_->empty()) *quietNote_ = message.text;
    return MessageAnswer::Cancel;
}

void DocumentLifecycle::ShowConverterError(const MessageSpec& message) {
    if (Report(message) == MessageAnswer::Ok) ui_.OpenUrl(std::string(kSupportPage));
}

bool DocumentLifecycle::PandocCheck() {
    if (DetectPandoc().usable()) return true;
    if (ui_.ShowMessage(message::PandocMissing()) == MessageAnswer::Ok) ui_.OpenUrl(kPandocDownloadPage);
    return false;
}

bool DocumentLifecycle::LoadFile(const std::string& path) { return LoadFileAs(path, format_); }

DocumentFormat FormatForFile(const std::string& path, const RecentDocumentList& recent,
                             const SettingsStore& settings) {
    std::optional<DocumentFormat> remembered;
    if (std::optional<std::string> keyword = recent.FormatOf(path)) remembered = FormatOfKeyword(*keyword);
    return FormatForNamedFile(path, remembered, MarkdownFormatSetting(settings),
                              FormatFromDefaultSetting(DefaultFormatSetting(settings)));
}

DocumentFormat DocumentLifecycle::FormatForFile(const std::string& path) const {
    return qorva::FormatForFile(path, recent_, settings_);
}

bool DocumentLifecycle::OpenNamedFile(const std::string& path) { return LoadFileAs(path, FormatForFile(path)); }

// The recent list keeps the format the file was last opened or saved in.
void DocumentLifecycle::RememberFormat() {
    recent_.SetFormat(path_, KeywordOf(format_));
    ui_.RecentListChanged();
}

// The format becomes the document's only when the load succeeds, so a failed
// load leaves the document exactly as it was, format included.
bool DocumentLifecycle::LoadFileAs(const std::string& path, DocumentFormat format) {
    if (RefusedAsTooLarge(path)) return false;
    std::optional<PreparedDocument> prepared = TakePreparedDocument(path, format);
    std::string bytes;
    try {
        bytes = prepared ? std::move(prepared->bytes) : ReadWholeFile(path, kPageDocumentLimitBytes);
    } catch (const FileError& error) {
        ui_.ShowMessage(message::CannotRead(error.what()));
        return false;
    }
    const FileContent content = ClassifyFileContent(bytes);
    if (content == FileContent::Binary) {
        ui_.ShowMessage(message::NotATextFile(path));
        return false;
    }
    ConversionResult result = prepared ? std::move(prepared->result)
                                       : ReadDocument(FileBytesAsText(bytes), format,
                                                      UsesPandoc(format) ? DetectPandoc() : PandocInstallation{});
    if (result.failure == ConversionResult::Failure::Pandoc) {
        ui_.ShowMessage(message::PandocFailed(result.pandocMessage));
        return false;
    }
    if (result.failure == ConversionResult::Failure::Converter) {
        ShowConverterError(message::ParsingError());
        return false;
    }
    if (!PutIntoPage(path, result.text, FileUrl(path))) return false;
    format_ = format;
    lineEnds_ = LineEndsOf(bytes);
    unwrapped_ = HasUnwrappedParagraphs(bytes);
    path_ = path;
    welcome_ = false;
    // A flavour read through Pandoc is written back in Pandoc's own words: the
    // user decides once whether that may replace the file as written.
    autoSavable_ = !UsesPandoc(format) && content != FileContent::NotUtf8;
    // The odd bytes are shown as U+FFFD, and a save would write that: the document
    // is not the file any more.
    page_.SetModified(content == FileContent::NotUtf8);
    ui_.DocumentStateChanged();
    recent_.Add(path, KeywordOf(format_));
    ui_.RecentListChanged();
    // The same document read again keeps what Repeat Export would do.
    if (!reloading_) ui_.ResetRepeatExport();
    Notify([&](DocumentFileObserver& o) { o.FileLoaded(path_); });
    if (content == FileContent::NotUtf8) ui_.ShowMessage(message::NotUtf8(path));
    return true;
}

void DocumentLifecycle::ShowTooLarge(const std::string& path, std::uint64_t bytes) {
    ui_.ShowMessage(message::TooLargeToOpen(path, MegabytesRoundedUp(bytes), kDocumentFileLimitBytes / 1'000'000));
}

// Refused before reading: a file past the limit is never read whole.
bool DocumentLifecycle::RefusedAsTooLarge(const std::string& path) {
    std::optional<std::uint64_t> size = FileSize(path);
    if (!size || *size <= kDocumentFileLimitBytes) return false;
    ShowTooLarge(path, *size);
    return true;
}

bool DocumentLifecycle::PutIntoPage(const std::string& path, const std::string& model,
                                    const std::optional<std::string>& baseUrl) {
    // Mark-up can make the model several times larger than the file: the message
    // gives each size for what it is.
    if (model.size() > kPageDocumentLimitBytes) {
        ui_.ShowMessage(message::TooLargeForEditor(path, MegabytesRoundedUp(FileSize(path).value_or(0)),
                                                   MegabytesRoundedUp(model.size()),
                                                   kPageDocumentLimitBytes / 1'000'000));
        return false;
    }
    // Kept to be put back if the page fails to take the new document: a call that
    // timed out may still finish later, and the page must not end up holding a
    // document other than the one the path says.
    const std::optional<std::string> previous = page_.TryGetTextJson();
    if (baseUrl) page_.SetBaseUrl(*baseUrl);
    if (page_.TrySetTextJson(model)) return true;
    if (previous) page_.TrySetTextJson(*previous);
    if (baseUrl && !path_.empty()) page_.SetBaseUrl(FileUrl(path_));
    ui_.ShowMessage(message::PageDidNotTakeDocument(path));
    return false;
}

bool DocumentLifecycle::WriteFile(const std::string& path) { return WriteFileAs(path, format_); }

bool DocumentLifecycle::WriteFileAs(const std::string& path, DocumentFormat format) {
    if (path == path_) {
        for (DocumentFileObserver* observer : observers_) {
            if (quietNote_ ? !observer->FileAsKnown(path) : !observer->MayWriteOver(path)) return false;
        }
    }
    std::optional<std::string> model = page_.TryGetTextJson();
    if (!model) {
        // Never taken for an empty document: that would write over the file.
        Report(message::PageDidNotGiveDocument());
        return false;
    }
    if (model->empty()) return false;
    ConversionResult result = WriteDocument(*model, format, unwrapped_ || SaveUnwrappedSetting(settings_),
                                            UsesPandoc(format) ? DetectPandoc() : PandocInstallation{});
    if (result.failure == ConversionResult::Failure::Converter) {
        ShowConverterError(message::FormattingError());
        return false;
    }
    if (result.failure == ConversionResult::Failure::Pandoc) {
        Report(message::PandocFailed(result.pandocMessage));
        return false;
    }
    try {
        // Replaced atomically: a failed write leaves the old file whole.
        WriteWholeFile(path, WithLineEnds(result.text, lineEnds_));
    } catch (const FileError& error) {
        Report(message::CannotWrite(error.what()));
        return false;
    }
    page_.SetModified(false);
    if (path == path_) Notify([&](DocumentFileObserver& o) { o.FileSaved(path); });
    return true;
}

bool DocumentLifecycle::Save() {
    if (path_.empty()) return SaveAs();
    bool saved = WriteFile(path_);
    if (saved) RememberFormat();
    autoSavable_ = autoSavable_ || saved;
    ui_.DocumentStateChanged();
    return saved;
}

AutoSaveResult DocumentLifecycle::AutoSave() {
    using Outcome = AutoSaveResult::Outcome;
    if (path_.empty() || !page_.IsModified()) return {};
    if (!autoSavable_) return {Outcome::Skipped, "Not saved automatically: save it once yourself (Ctrl+S) to allow it."};
    for (DocumentFileObserver* observer : observers_) {
        if (!observer->FileAsKnown(path_)) return {Outcome::Skipped, "Not saved automatically: the file changed on disk."};
    }
    std::string note;
    quietNote_ = &note;
    const bool saved = WriteFile(path_);
    quietNote_ = nullptr;
    ui_.DocumentStateChanged();
    if (saved) return {Outcome::Saved, {}};
    return {Outcome::Failed, "Automatic save failed" + (note.empty() ? std::string(".") : ": " + note)};
}

// The name and the content agree: a name with the extension of another format
// family is written in that family's format.
bool DocumentLifecycle::SaveAs(std::optional<DocumentFormat> asked, const std::string& initialName) {
    const DocumentFormat offered = asked.value_or(format_);
    std::optional<std::string> chosen = ui_.ChooseFileToSave(SaveDocumentDialog(offered, initialName));
    if (!chosen) return false;
    const DocumentFormat format =
        FormatForSavedName(*chosen, offered, MarkdownFormatSetting(settings_));
    if (UsesPandoc(format) && format != format_ && !PandocCheck()) return false;
    if (!WriteFileAs(*chosen, format)) {
        ui_.ShowMessage(message::ErrorWritingFile());
        return false;
    }
    format_ = format;
    path_ = *chosen;
    welcome_ = false;
    autoSavable_ = true;
    ui_.DocumentStateChanged();
    recent_.Add(path_, KeywordOf(format_));
    ui_.RecentListChanged();
    Notify([&](DocumentFileObserver& o) { o.FileSaved(path_); });
    return true;
}

bool DocumentLifecycle::AskToSave() {
    if (!page_.IsModified()) return true;
    switch (ui_.ShowMessage(message::SaveChanges(path_))) {
        case MessageAnswer::No: return true;
        case MessageAnswer::Yes: return Save();
        default: return false;
    }
}

void DocumentLifecycle::LoadWelcome() {
    std::optional<std::string_view> welcomeText = findResource("welcome.text");
    std::string model = TryReadTextFormat(welcomeText.value_or(""));
    page_.SetTextJson(model);
    ResetFormat();
    lineEnds_ = LineEnds::Lf;
    unwrapped_ = false;
    path_.clear();
    welcome_ = true;
    ui_.DocumentStateChanged();
    ui_.ResetRepeatExport();
    Notify([&](DocumentFileObserver& o) { o.DocumentReplaced(path_); });
}

void DocumentLifecycle::New() {
    if (!ui_.StartNewInstance({})) ui_.ShowMessage(message::NewWindowFailed());
}

void DocumentLifecycle::OpenWelcomeWindow() {
    if (!ui_.StartNewInstance({"--welcome"})) ui_.ShowMessage(message::WelcomeFailed());
}

void DocumentLifecycle::Open() {
    std::optional<std::string> chosen = ui_.ChooseFileToOpen(OpenDocumentDialog());
    if (!chosen || !AskToSave()) return;
    OpenNamedFile(*chosen);
}

void DocumentLifecycle::OpenRecent(int commandId) {
    std::optional<std::string> entry = recent_.Get(commandId);
    if (!entry) return;
    if (!FileExists(*entry)) {
        ui_.ShowMessage(message::FileDoesNotExist(*entry));
        recent_.Remove(commandId);
        ui_.RecentListChanged();
        return;
    }
    if (!AskToSave()) return;
    OpenNamedFile(*entry);
}

void DocumentLifecycle::ReopenInFormat(int commandId) {
    std::optional<DocumentFormat> format = ReopenFormatOf(commandId);
    if (!format || path_.empty()) return;
    if (UsesPandoc(*format) && !PandocCheck()) return;
    // The changes are discarded, not saved.
    if (page_.IsModified() && ui_.ShowMessage(message::ChangesWillBeLost()) != MessageAnswer::Yes) return;
    LoadFileAs(path_, *format);
}

void DocumentLifecycle::SaveInFormat(int commandId) {
    std::optional<DocumentFormat> format = SaveFormatOf(commandId);
    if (!format) return;
    if (UsesPandoc(*format) && !PandocCheck()) return;
    // Never a flavour under another flavour's name: a new name is asked for, and
    // the file under the old one stays as it was.
    if (path_.empty() || !NameFitsFormat(path_, *format)) {
        SaveAs(*format, path_.empty() ? std::string() : WithExtensionOf(path_, *format));
        return;
    }
    // The document takes the format only once it is written in it.
    const DocumentFormat previous = format_;
    format_ = *format;
    if (!Save()) format_ = previous;
}

bool DocumentLifecycle::Import(int commandId) {
    std::optional<std::pair<std::string, FileDialogSpec>> import = ImportDialogFor(commandId);
    if (!import || !PandocCheck() || !AskToSave()) return false;
    std::optional<std::string> chosen = ui_.ChooseFileToOpen(import->second);
    if (!chosen || RefusedAsTooLarge(*chosen)) return false;
    std::string bytes;
    try {
        bytes = ReadWholeFile(*chosen, kPageDocumentLimitBytes);
    } catch (const FileError& error) {
        ui_.ShowMessage(message::CannotRead(error.what()));
        return false;
    }
    ConversionResult result = ReadThroughPandoc(FileBytesAsText(bytes), import->first, DetectPandoc());
    if (result.failure == ConversionResult::Failure::Pandoc) {
        ui_.ShowMessage(message::ImportFailed(result.pandocMessage));
        return false;
    }
    if (result.failure == ConversionResult::Failure::Converter) {
        // An empty model would blank the page while the old path is already gone.
        ShowConverterError(message::ParsingError());
        return false;
    }
    if (!PutIntoPage(*chosen, result.text, std::nullopt)) return false;
    page_.SetModified(false);
    ResetFormat();
    lineEnds_ = LineEnds::Lf;
    unwrapped_ = false;
    path_.clear();
    welcome_ = false;
    ui_.DocumentStateChanged();
    ui_.ResetRepeatExport();
    Notify([&](DocumentFileObserver& o) { o.DocumentReplaced(path_); });
    return true;
}

bool DocumentLifecycle::Reload() {
    if (path_.empty()) return false;
    reloading_ = true;
    const bool loaded = LoadFileAs(path_, format_);
    reloading_ = false;
    return loaded;
}

bool DocumentLifecycle::Restore(const std::string& path, DocumentFormat format, bool welcome,
                                const std::string& model) {
    if (!PutIntoPage(path.empty() ? "kept from an earlier session" : path, model,
                     path.empty() ? std::nullopt : std::optional(FileUrl(path))))
        return false;
    format_ = format;
    // The file on disk, when it is still there, says how its lines end and wrap.
    lineEnds_ = LineEnds::Lf;
    unwrapped_ = false;
    if (!path.empty()) {
        try {
            const std::string bytes = ReadWholeFile(path);
            lineEnds_ = LineEndsOf(bytes);
            unwrapped_ = HasUnwrappedParagraphs(bytes);
        } catch (const FileError&) {
        }
    }
    path_ = path;
    welcome_ = welcome && path.empty();
    autoSavable_ = false;  // never written anywhere until the user saves
    page_.SetModified(true);
    ui_.DocumentStateChanged();
    ui_.ResetRepeatExport();
    Notify([&](DocumentFileObserver& o) { o.DocumentReplaced(path_); });
    return true;
}

}  // namespace qorva
