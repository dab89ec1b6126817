#include "src/win/export/export_progress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QTimer>
#include <QToolTip>

namespace qorva {
namespace {

constexpr int kNoticeMilliseconds = 6000;
constexpr int kNoticeMargin = 8;

}  // namespace

QString ExportFormatName(const ExportFormat& format) {
    QString name = QString::fromLatin1(format.menuLabel);
    name.remove(QStringLiteral("..."));
    if (name.startsWith(QStringLiteral("Export "))) name.remove(0, 7);
    return name;
}

ExportProgress::ExportProgress(QWidget* owner, const ExportFormat& format, std::chrono::milliseconds toolTimeLimit) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    limits_.emplace(toolTimeLimit, [this] { return CancelRequested(); });
    // The formats that need an outside tool are the slow ones.
    if (format.toolCheck == ExportTool::None) return;
    const QString tool =
        format.toolCheck == ExportTool::XeLaTeX ? QStringLiteral("XeLaTeX") : QStringLiteral("Pandoc");
    dialog_ = ShowToolProgress(owner, QStringLiteral("Exporting %1 with %2\u2026").arg(ExportFormatName(format), tool),
                               "exportProgress", &cancelled_);
    QApplication::restoreOverrideCursor();
    QCoreApplication::processEvents();
    waitHook_.emplace([] { QCoreApplication::processEvents(); });
}

ExportProgress::~ExportProgress() {
    waitHook_.reset();
    limits_.reset();
    if (dialog_) dialog_.reset();
    else QApplication::restoreOverrideCursor();
}

bool ExportProgress::CancelRequested() const { return cancelled_; }

std::unique_ptr<QProgressDialog> ShowToolProgress(QWidget* owner, const QString& label, const char* objectName,
                                                  bool* cancelled) {
    auto dialog = std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, 0, owner);
    dialog->setObjectName(QString::fromLatin1(objectName));
    dialog->setWindowTitle(QStringLiteral("Qorva"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    // The tool is stopped at the runner's next look at the flag.
    QObject::connect(dialog.get(), &QProgressDialog::canceled, [cancelled] { *cancelled = true; });
    QObject::connect(dialog.get(), &QDialog::rejected, [cancelled] { *cancelled = true; });
    dialog->show();
    return dialog;
}

void ShowBriefNotice(QWidget* window, const QString& text) {
    if (!window) return;
    // A newer notice replaces the one still showing.
    for (QLabel* earlier : window->findChildren<QLabel*>("briefNotice", Qt::FindDirectChildrenOnly)) delete earlier;
    auto* notice = new QLabel(text, window);
    notice->setObjectName("briefNotice");
    notice->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice->setAutoFillBackground(true);
    notice->setPalette(QToolTip::palette());
    notice->setFrameShape(QFrame::StyledPanel);
    notice->setMargin(6);
    notice->adjustSize();
    // A long path wraps rather than running past the window's edge.
    const int widest = window->width() - 2 * kNoticeMargin;
    if (notice->width() > widest) {
        notice->setWordWrap(true);
        notice->setFixedWidth(widest);
        notice->adjustSize();
    }
    notice->move(kNoticeMargin, window->height() - notice->height() - kNoticeMargin);
    notice->show();
    notice->raise();
    QTimer::singleShot(kNoticeMilliseconds, notice, &QObject::deleteLater);
}

}  // namespace qorva
