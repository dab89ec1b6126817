// The last export of a window, so that "Repeat Export" can write it again to the
// same file with the same template, without asking.
#pragma once

#include "tools/export/export.h"

#include <string>
#include <string_view>

namespace qorva {

class RepeatExportState {
public:
    // Kind None, path and template choice emptied: Repeat Export is disabled.
    void Reset();
    // A confirmed export dialog replaces the whole state, whatever the export's outcome.
    // `fetchRemoteImages` is the dialog's choice for the Pandoc formats.
    void Store(ExportKind kind, std::string path, std::string templateChoice, bool fetchRemoteImages = false);
    // Whether the "Repeat Export" command is enabled.
    bool CanRepeat() const;

    ExportKind kind() const { return kind_; }
    const std::string& path() const { return path_; }
    const std::string& templateChoice() const { return templateChoice_; }
    bool fetchRemoteImages() const { return fetchRemoteImages_; }

private:
    ExportKind kind_ = ExportKind::None;
    std::string path_;
    std::string templateChoice_;
    bool fetchRemoteImages_ = false;
};

// Performs the stored export of the current content. `documentPath` is the
// document's own path (empty when untitled); relative picture paths are read from
// its folder. Fails without doing anything when nothing is stored.
// `language` goes into the output's metadata; `embedPictures` puts the pictures
// of an HTML export inside the page.
struct ExportPreferences {
    std::string language = kDefaultLanguage;
    bool embedPictures = false;
};
ExportResult RepeatExport(const RepeatExportState& state, std::string_view modelJson,
                          const std::string& documentPath,
                          const std::vector<std::string>& templateFolders = UserFileFolders(),
                          const ExportPreferences& preferences = {});

}  // namespace qorva
