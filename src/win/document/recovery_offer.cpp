#include "src/win/document/recovery_offer.h"

#include "src/win/document/document_controller.h"
#include "src/win/frame/main_frame.h"
#include "src/win/keys/message_loop.h"
#include "src/win/document/outside_change_watch.h"
#include "src/win/document/recovery_keeper.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

namespace qorva {
namespace {

std::string WhenText(std::time_t savedAt, std::time_t now) {
    if (savedAt <= 0) return "";
    char text[64];
    std::tm local{};
    localtime_r(&savedAt, &local);
    std::tm today{};
    localtime_r(&now, &today);
    const bool sameDay = local.tm_year == today.tm_year && local.tm_yday == today.tm_yday;
    std::strftime(text, sizeof text, sameDay ? "today at %H:%M" : "on %Y-%m-%d at %H:%M", &local);
    return text;
}

// False when the page did not take the model (it said so): the file is kept.
bool Restore(CMainFrame& frame, OrphanedRecovery& orphan) {
    const RecoveryRecord& record = orphan.record;
    if (!frame.Controller().Document().Restore(record.path, record.format, record.welcome, record.model)) {
        orphan.lock.reset();
        return false;
    }
    // A save asks unless the file is still the one the document was made from.
    if (!record.path.empty()) frame.FileWatch().KeepBaseline(record.file);
    // The window's own copy is on disk before the old one goes.
    frame.Recovery().Keep(record);
    frame.Recovery().Flush();
    DiscardRecovery(orphan);
    // Not an input event: the idle work (title, counts) is asked for.
    if (auto* loop = ChromiumMessageHandler::Current()) loop->StartIdlePeriod();
    return true;
}

bool StartRestoringWindow(OrphanedRecovery& orphan) {
    const std::string file = orphan.file;
    orphan.lock.reset();  // the new window takes it
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kRestoreVariable), QString::fromStdString(file));
    process.setProcessEnvironment(environment);
    process.setProgram(QCoreApplication::applicationFilePath());
    return process.startDetached();
}

}  // namespace

namespace message {

MessageSpec RestoreUnsavedChanges(const RecoveryRecord& record, std::time_t now) {
    const std::string what = record.path.empty() ? std::string(record.welcome ? "the welcome document"
                                                                                : "an untitled document")
                                                 : "\u2018" + record.path + "\u2019";
    const std::string when = WhenText(static_cast<std::time_t>(record.savedAt), now);
    return {"Qorva kept unsaved changes to " + what + (when.empty() ? "" : " " + when) +
                " from a window that did not close normally.\n\nRestore them? (No discards them; Cancel "
                "asks again at the next start.)",
            std::string(kQorva), MessageButtons::YesNoCancel, MessageIcon::Exclamation};
}

MessageSpec RecoveryFilesSetAside(const std::vector<std::string>& reasons) {
    std::string list;
    for (const std::string& reason : reasons) list += "\n" + reason;
    return {"Qorva could not use these recovery files; nothing was restored from them:\n" + list +
                "\n\nDamaged files were renamed with \u201c" + std::string(kDamagedSuffix) +
                "\u201d and are not offered again.",
            std::string(kQorva), MessageButtons::Ok, MessageIcon::Exclamation};
}

}  // namespace message

bool RestoreRequestedRecovery(CMainFrame& frame) {
    const QByteArray file = qgetenv(kRestoreVariable);
    // Not handed on to the windows this one starts.
    qunsetenv(kRestoreVariable);
    if (file.isEmpty()) return false;
    std::string damage;
    std::optional<OrphanedRecovery> orphan = ClaimRecovery(file.toStdString(), &damage);
    if (!damage.empty()) frame.Controller().ShowMessage(message::RecoveryFilesSetAside({damage}));
    return orphan && Restore(frame, *orphan);
}

void OfferRecoveredDocuments(CMainFrame& frame, const std::string& folder) {
    std::vector<std::string> setAside;
    std::vector<OrphanedRecovery> orphans = ClaimOrphanedRecoveries(folder, &setAside);
    if (!setAside.empty()) frame.Controller().ShowMessage(message::RecoveryFilesSetAside(setAside));
    bool windowFree = true;
    for (OrphanedRecovery& orphan : orphans) {
        const MessageAnswer answer =
            frame.Controller().ShowMessage(message::RestoreUnsavedChanges(orphan.record, std::time(nullptr)));
        if (answer == MessageAnswer::No) {
            DiscardRecovery(orphan);
            continue;
        }
        if (answer != MessageAnswer::Yes) continue;  // kept, and let go with its lock
        const DocumentLifecycle& document = frame.Controller().Document();
        const bool fits = !document.modified() && (document.path().empty() || document.path() == orphan.record.path);
        if (windowFree && fits) {
            windowFree = !Restore(frame, orphan);
        } else if (!StartRestoringWindow(orphan)) {
            frame.Controller().ShowMessage(message::NewWindowFailed());
        }
    }
}

}  // namespace qorva
