// The one document of a window: its path, storage format and welcome mark, and
// every command that replaces, stores or discards it. The frame supplies the page
// (content and modified flag) and the dialogs; this class makes the decisions.
#pragma once

#include "src/win/document/document_file_observer.h"
#include "src/win/document/document_format.h"
#include "src/win/document/document_messages.h"
#include "src/win/menus/recent_documents.h"
#include "tools/files/file_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qorva {

// What the document needs of the editor page.
class DocumentPage {
public:
    virtual ~DocumentPage() = default;
    virtual std::string GetTextJson() = 0;
    virtual void SetTextJson(const std::string& model) = 0;
    virtual void SetBaseUrl(const std::string& url) = 0;
    virtual bool IsModified() const = 0;
    virtual void SetModified(bool modified) = 0;
    // As above, telling a page that did not answer readably from one that answered
    // empty: the model JSON, or nothing; false when the page did not take it.
    virtual std::optional<std::string> TryGetTextJson() { return GetTextJson(); }
    virtual bool TrySetTextJson(const std::string& model) {
        SetTextJson(model);
        return true;
    }
};

// What an automatic save did; `note` says why it did not write, for the status line.
struct AutoSaveResult {
    enum class Outcome { Saved, NotNeeded, Skipped, Failed } outcome = Outcome::NotNeeded;
    std::string note;
};

struct FileFilter {
    std::string label;     // "Qorva Documents (*.text)"
    std::string patterns;  // "*.text", several separated by ";"
    bool operator==(const FileFilter&) const = default;
};

struct FileDialogSpec {
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // without the dot; empty for none
    std::size_t selectedFilter = 0;
    std::string initialName;  // a path or a name; empty for none
    bool operator==(const FileDialogSpec&) const = default;
};

// What the document needs of the window around it.
class DocumentUi {
public:
    virtual ~DocumentUi() = default;
    virtual MessageAnswer ShowMessage(const MessageSpec& message) = 0;
    // The chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> ChooseFileToOpen(const FileDialogSpec& dialog) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const FileDialogSpec& dialog) = 0;
    // Starts another process of the program; false when it did not start.
    virtual bool StartNewInstance(const std::vector<std::string>& arguments) = 0;
    // Opens an address with the desktop's handler; failures are not reported.
    virtual void OpenUrl(const std::string& url) = 0;
    // Path, welcome mark or modified flag changed: the title is recomputed.
    virtual void DocumentStateChanged() = 0;
    virtual void RecentListChanged() = 0;
    virtual void ResetRepeatExport() = 0;
};

FileDialogSpec OpenDocumentDialog();
// With the filter and default extension of `format`. A chosen name ending in a
// filter's extension asks for that filter's format.
FileDialogSpec SaveDocumentDialog(DocumentFormat format = DocumentFormat::QorvaMarkdown,
                                  const std::string& initialName = {});
// For Import HTML (33040) and Import LaTeX (33041): Pandoc's input format and the dialog.
std::optional<std::pair<std::string, FileDialogSpec>> ImportDialogFor(int commandId);

// The format a named file opens in: the one it was last opened or saved in, else
// the one its extension and the settings choose.
DocumentFormat FormatForFile(const std::string& path, const RecentDocumentList& recent,
                             const SettingsStore& settings = UserSettings());

class DocumentLifecycle {
public:
    DocumentLifecycle(DocumentPage& page, DocumentUi& ui, RecentDocumentList& recent,
                      SettingsStore& settings = UserSettings());

    const std::string& path() const { return path_; }
    DocumentFormat format() const { return format_; }
    LineEnds lineEnds() const { return lineEnds_; }
    bool welcome() const { return welcome_; }
    bool modified() const { return page_.IsModified(); }

    // Sets the format from the DefaultFormat setting.
    void ResetFormat();

    // The file commands; false when the identifier is not one of them.
    bool HandleCommand(int commandId);

    // Loads a file in the current format; on failure nothing changes.
    bool LoadFile(const std::string& path);
    // Loads a file named by the user (Open, Open Recent, the command line) in the
    // format it was last opened or saved in, else the one its name asks for.
    bool OpenNamedFile(const std::string& path);
    DocumentFormat FormatForFile(const std::string& path) const;
    // Loads a file in the given format, which becomes the document's on success.
    bool LoadFileAs(const std::string& path, DocumentFormat format);
    // Writes the document to the path in the current format; the path is not changed.
    bool WriteFile(const std::string& path);
    bool Save();
    // Writes a modified, titled document to its own file through the same write as
    // Save, but never asks or shows anything. It writes only over a file that is as
    // last loaded or saved, and only one that holds what a save writes back: a file
    // read cleanly in the native format, or one the user has saved from this window.
    AutoSaveResult AutoSave();
    // Asks for a name, with the filter of `format` (the current one when none).
    bool SaveAs(std::optional<DocumentFormat> format = std::nullopt, const std::string& initialName = {});
    // "Save changes?" before the document is replaced or the window closes.
    bool AskToSave();
    void LoadWelcome();

    void New();
    void OpenWelcomeWindow();
    void Open();
    void OpenRecent(int commandId);
    void ReopenInFormat(int commandId);
    void SaveInFormat(int commandId);
    bool Import(int commandId);

    // Pandoc usable, or the offer to download it (the action then does not happen).
    bool PandocCheck();

    // Loads the document's own file again in its format (after a change on disk).
    bool Reload();
    // Shows a model kept from an earlier session: modified, under its old path, and
    // never written anywhere until the user saves. False, with a message, when the
    // page does not take it: the window keeps what it showed.
    bool Restore(const std::string& path, DocumentFormat format, bool welcome, const std::string& model);

    void AddFileObserver(DocumentFileObserver* observer) { observers_.push_back(observer); }

private:
    void ShowConverterError(const MessageSpec& message);
    // Shown, or kept as the automatic save's note while one runs.
    MessageAnswer Report(const MessageSpec& message);
    template <typename Call>
    void Notify(Call call) {
        for (DocumentFileObserver* observer : observers_) call(*observer);
    }
    void ShowTooLarge(const std::string& path, std::uint64_t bytes);
    bool RefusedAsTooLarge(const std::string& path);
    // Hands the model of the file at `path` to the page; when the page does not
    // take it, the page keeps the document it held and the user is told.
    bool PutIntoPage(const std::string& path, const std::string& model, const std::optional<std::string>& baseUrl);
    // Writes in `format` without making it the document's.
    bool WriteFileAs(const std::string& path, DocumentFormat format);
    void RememberFormat();

    DocumentPage& page_;
    DocumentUi& ui_;
    RecentDocumentList& recent_;
    SettingsStore& settings_;
    std::string path_;
    DocumentFormat format_ = DocumentFormat::QorvaMarkdown;
    LineEnds lineEnds_ = LineEnds::Lf;
    // Paragraphs kept on one line each, as the file read had them.
    bool unwrapped_ = false;
    bool welcome_ = false;
    std::vector<DocumentFileObserver*> observers_;
    bool reloading_ = false;
    bool autoSavable_ = false;
    std::string* quietNote_ = nullptr;  // set while an automatic save runs
};

}  // namespace qorva
