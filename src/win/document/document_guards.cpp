#include "src/win/document/document_guards.h"

#include "src/win/document/document_controller.h"
#include "src/win/view/editor_view.h"
#include "src/win/keys/message_loop.h"

#include "src/win/settings/settings.h"

#include <QThread>

#include <ctime>

namespace qorva {
namespace {

// Work that does not come in as an input event: the title and counts are brought
// up to date at the next idle time all the same.
void StartIdlePeriod() {
    if (auto* loop = ChromiumMessageHandler::Current()) loop->StartIdlePeriod();
}

}  // namespace

DocumentGuards::DocumentGuards(DocumentController& window, CEditorView& view, const std::string& recoveryFolder,
                               std::function<void(const std::string&)> showAutoSaveNote)
    : window_(window), showAutoSaveNote_(std::move(showAutoSaveNote)), view_(view) {
    autoSave_.setSingleShot(true);
    autoSave_.setInterval(AutoSaveDelaySetting() * 1000);
    QObject::connect(&autoSave_, &QTimer::timeout, [this] { AutoSaveNow(); });
    DocumentLifecycle& document = window.Document();
    watch_ = std::make_unique<OutsideChangeWatch>(OutsideChangeWatch::Hooks{
        [&view] { return view.IsModified(); },
        [&window](const MessageSpec& message) { return window.ShowMessage(message); },
        [&view, &document] {
            const std::string position = view.Call("getViewPosition");
            if (document.Reload() && !position.empty()) view.Call("setViewPosition", position);
            StartIdlePeriod();
        },
        [this, &view, &window] {
            view.SetModified(true);
            window.DocumentStateChanged();
            StartIdlePeriod();
            // The window now holds the only copy.
            recovery_->DocumentChanged();
        },
    });
    recovery_ = std::make_unique<RecoveryKeeper>(
        RecoveryKeeper::Document{
            [&view] { return view.IsModified(); },
            [this, &view, &document](RecoveryKeeper::Document::Take take) {
                RecoveryRecord record{document.path(), document.format(), document.welcome(), {},
                                      static_cast<std::int64_t>(std::time(nullptr))};
                if (!record.path.empty()) record.file = watch_->baseline();
                // Asked without waiting, so typing goes on while the page writes the
                // copy out; blocks unchanged since the last copy are not read again.
                view.CallLater("getRecoveryJson",
                               [record = std::move(record), take = std::move(take)](std::optional<std::string> model) mutable {
                                   if (!model || model->empty()) return take(std::nullopt);
                                   record.model = std::move(*model);
                                   take(std::move(record));
                               });
            },
        },
        RecoverySlot(recoveryFolder));
    document.AddFileObserver(watch_.get());
    document.AddFileObserver(recovery_.get());
    view.SetChangeListener([this] {
        recovery_->DocumentChanged();
        autoSave_.start();
    });
}

DocumentGuards::~DocumentGuards() { view_.SetChangeListener({}); }

// The settings are read once per pause, so a change made in any window holds
// from the next pause on.
void DocumentGuards::AutoSaveNow() {
    if (!AutoSaveSetting()) return;
    autoSave_.setInterval(AutoSaveDelaySetting() * 1000);
    // Not inside a dialog or a wait for a tool: tried again after another pause.
    if (QThread::currentThread()->loopLevel() > 1) {
        autoSave_.start();
        return;
    }
    const AutoSaveResult result = window_.Document().AutoSave();
    if (result.outcome != AutoSaveResult::Outcome::NotNeeded) showAutoSaveNote_(result.note);
}

}  // namespace qorva
