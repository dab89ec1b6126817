#include "src/win/main_frame.h"

#include "resources/resources.h"
#include "src/win/editor_commands.h"
#include "src/win/editor_view.h"
#include "src/win/test_hooks.h"
#include "src/win/tools/converter_host.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace qorva {
namespace {

constexpr char kSupportPage[] = "https://qorva.app/support";

void ShowParsingError(QWidget* owner) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Qorva"),
                    QStringLiteral("Parsing Error. Please report this to Qorva support."),
                    QMessageBox::Ok | QMessageBox::Cancel, owner);
    if (box.exec() == QMessageBox::Ok) QDesktopServices::openUrl(QUrl(QString(kSupportPage)));
}

}  // namespace

void ShowExclamation(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

CMainFrame::CMainFrame() {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(QStringLiteral("Qorva"));
    setMinimumSize(350, 250);
    view_ = new CEditorView(this, this);
    setCentralWidget(view_);
    if (auto* loop = ChromiumMessageHandler::Current()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    UpdateTitle();
    view_->setFocus();
}

CMainFrame::~CMainFrame() {
    if (auto* loop = ChromiumMessageHandler::Current()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
}

bool CMainFrame::LoadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowExclamation(this, QStringLiteral("Qorva"),
                        QStringLiteral("Cannot open %1:\n%2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::string error;
    const std::string json = ReadTextFormat(std::string_view(bytes.constData(), bytes.size()), &error);
    if (!error.empty()) {
        ShowParsingError(this);
        return false;
    }
    view_->SetBaseUrl(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toStdString());
    view_->SetTextJson(json);
    path_ = path;
    welcome_ = false;
    view_->SetModified(false);
    UpdateTitle();
    return true;
}

void CMainFrame::LoadWelcomeDocument() {
    const auto text = findResource("welcome.text");
    const std::string json = ReadTextFormat(text.value_or(std::string_view{}));
    view_->SetTextJson(json);
    path_.clear();
    welcome_ = true;
    UpdateTitle();
}

void CMainFrame::UpdateTitle() {
    QString title;
    if (welcome_ && path_.isEmpty() && !view_->IsModified()) {
        title = QStringLiteral("Welcome - Qorva");
    } else {
        title = QStringLiteral("%1%2 - Qorva")
                    .arg(path_.isEmpty() ? QStringLiteral("Untitled") : path_,
                         view_->IsModified() ? QStringLiteral("*") : QString());
    }
    if (windowTitle() != title) setWindowTitle(title);
}

bool CMainFrame::OnCommand(int id) {
    if (id == cmd::Print) {
        view_->Print();
        return true;
    }
    return view_->OnCommand(id);
}

bool CMainFrame::PreTranslateMessage(QObject*, QEvent*) { return false; }

bool CMainFrame::OnIdle() {
    UpdateTitle();
    WriteDocumentForTests(*view_);
    return false;
}

void CMainFrame::OpenUrl(const QString& url) {
    if (!QDesktopServices::openUrl(QUrl(url))) {
        ShowExclamation(this, QStringLiteral("Error"), QStringLiteral("Failed to open URL:\n%1").arg(url));
    }
}

void CMainFrame::OpenFile(const QString& path) {
    if (path_.isEmpty()) return;
    const QString joined = QDir::cleanPath(QDir(GetDocumentFolder()).filePath(path));
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(joined))) {
        ShowExclamation(this, QStringLiteral("Error"),
                        QStringLiteral("Failed to open file:\n%1").arg(joined));
    }
}

QString CMainFrame::GetDocumentFolder() {
    return path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath();
}

}  // namespace qorva
