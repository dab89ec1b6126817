#include "src/win/document/outside_change_watch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QThread>

namespace qorva {
namespace {

// Editors write in several steps (truncate and write, or write and rename); the
// file is looked at once they have settled.
constexpr int kSettleMs = 250;

}  // namespace

OutsideChangeWatch::OutsideChangeWatch(Hooks hooks, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)), watcher_(new QFileSystemWatcher(this)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &OutsideChangeWatch::Check);
    auto changed = [this](const QString&) { settle_.start(); };
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, changed);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
}

void OutsideChangeWatch::Watch(const std::string& path) {
    settle_.stop();
    if (const QStringList watched = watcher_->files() + watcher_->directories(); !watched.isEmpty()) {
        watcher_->removePaths(watched);
    }
    path_ = path;
    known_ = baseline_ = path.empty() ? FileStamp{} : StampOf(path);
    missingReported_ = false;
    if (path.empty()) return;
    watcher_->addPath(QFileInfo(QString::fromStdString(path)).absolutePath());
    RenewWatch();
}

void OutsideChangeWatch::RenewWatch() {
    const QString file = QString::fromStdString(path_);
    if (!watcher_->files().contains(file) && QFileInfo::exists(file)) watcher_->addPath(file);
}

void OutsideChangeWatch::Check() {
    if (path_.empty() || checking_) return;
    // Not inside a dialog or a wait for a tool (a save through Pandoc): the file
    // may be half-way through being written by this program itself.
    if (QThread::currentThread()->loopLevel() > 1) {
        settle_.start();
        return;
    }
    checking_ = true;
    RenewWatch();
    const FileStamp now = StampOf(path_, &known_);
    switch (DecideOutsideChange(known_, now, hooks_.isModified(), missingReported_)) {
        case OutsideChange::None:
            break;
        case OutsideChange::Reload:
            known_ = now;  // a reload that fails is not tried again until the next change
            hooks_.reload();
            break;
        case OutsideChange::AskReload:
            // Asked once per change: what the user keeps is what the file now is.
            known_ = now;
            missingReported_ = false;
            if (hooks_.ask(message::ReloadChangedFile(path_)) == MessageAnswer::No) hooks_.reload();
            break;
        case OutsideChange::ReportMissing:
            missingReported_ = true;
            hooks_.markModified();
            hooks_.ask(message::FileWasRemoved(path_));
            break;
        case OutsideChange::ReportLinked:
            // Reported once; the save that follows asks before writing over the
            // file behind the link, which differs from the baseline.
            known_ = now;
            missingReported_ = false;
            hooks_.markModified();
            hooks_.ask(message::FileBecameLink(path_, now.linkTarget));
            break;
    }
    checking_ = false;
}

void OutsideChangeWatch::KeepBaseline(const FileStamp& baseline) { baseline_ = baseline; }

bool OutsideChangeWatch::FileAsKnown(const std::string& path) { return path != path_ || StampOf(path) == baseline_; }

bool OutsideChangeWatch::MayWriteOver(const std::string& path) {
    if (path != path_) return true;
    const FileStamp now = StampOf(path);
    if (!now.exists || now == baseline_) return true;
    return hooks_.ask(message::OverwriteChangedFile(path)) == MessageAnswer::Yes;
}

}  // namespace qorva
