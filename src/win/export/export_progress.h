// What the window shows while an export runs and when it ends: a progress window
// with a Cancel button for the slow tool runs (the window keeps painting meanwhile),
// the time limit for every tool run, and a brief notice instead of a message box
// when all went well.
#pragma once

#include "tools/export/export_formats.h"
#include "tools/process/process_runner.h"

#include <QString>

#include <chrono>
#include <memory>
#include <optional>

class QProgressDialog;
class QWidget;

namespace qorva {

// "Export Word Document..." names the format "Word Document".
QString ExportFormatName(const ExportFormat& format);

// Lives while one export runs. Pandoc and XeLaTeX run while the event loop goes on
// through the process runner's wait hook; the progress window is application-modal,
// so the document window repaints but takes no input until the export is over.
class ExportProgress {
public:
    ExportProgress(QWidget* owner, const ExportFormat& format, std::chrono::milliseconds toolTimeLimit);
    ~ExportProgress();
    ExportProgress(const ExportProgress&) = delete;
    ExportProgress& operator=(const ExportProgress&) = delete;

    bool CancelRequested() const;

private:
    std::unique_ptr<QProgressDialog> dialog_;
    bool cancelled_ = false;
    std::optional<ScopedProcessWaitHook> waitHook_;
    std::optional<ScopedToolRunLimits> limits_;
};

// A busy progress window titled "Qorva" with Cancel, shown at once. Modal for the
// whole program, so the document cannot be edited or closed under a running tool;
// Cancel, Escape and closing it set `*cancelled`.
std::unique_ptr<QProgressDialog> ShowToolProgress(QWidget* owner, const QString& label, const char* objectName,
                                                  bool* cancelled);

// A short text at the foot of `window` that goes away by itself after a few seconds.
void ShowBriefNotice(QWidget* window, const QString& text);

}  // namespace qorva
