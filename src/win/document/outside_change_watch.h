// Watches the document's file for changes made by other programs: reloads when
// the document has nothing to lose, asks when it has unsaved changes, reports a
// file that went away once, and asks before a save writes over a file that
// changed on disk. Editors that save through a rename replace the file's inode,
// so the folder is watched too and the file's watch is renewed after each event.
#pragma once

#include "src/win/document/document_file_observer.h"
#include "src/win/document/document_messages.h"
#include "src/win/document/file_stamp.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <string>

class QFileSystemWatcher;

namespace qorva {

class OutsideChangeWatch : public QObject, public DocumentFileObserver {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> isModified;
        std::function<MessageAnswer(const MessageSpec&)> ask;
        // Loads the file again, keeping the reader's place.
        std::function<void()> reload;
        // The document no longer matches any file: it becomes modified.
        std::function<void()> markModified;
    };

    explicit OutsideChangeWatch(Hooks hooks, QObject* parent = nullptr);

    // DocumentFileObserver
    void FileLoaded(const std::string& path) override { Watch(path); }
    void FileSaved(const std::string& path) override { Watch(path); }
    void DocumentReplaced(const std::string& path) override { Watch(path); }
    bool MayWriteOver(const std::string& path) override;
    bool FileAsKnown(const std::string& path) override;

    // Compares the file with what the document knows now (also run by the watch).
    void Check();
    // The file changed and is looked at once its events have settled.
    bool CheckPending() const { return settle_.isActive(); }

    // The file as last loaded or saved: what a save may write over without asking.
    const FileStamp& baseline() const { return baseline_; }
    // A restored document was made from the file as it was then: a save asks
    // unless the file on disk is still that one.
    void KeepBaseline(const FileStamp& baseline);

private:
    void Watch(const std::string& path);
    void RenewWatch();

    Hooks hooks_;
    QFileSystemWatcher* watcher_;
    QTimer settle_;
    std::string path_;
    FileStamp known_;     // as last loaded, saved or reported
    FileStamp baseline_;  // as last loaded or saved: what a save may write over
    bool missingReported_ = false;
    bool checking_ = false;
};

}  // namespace qorva
