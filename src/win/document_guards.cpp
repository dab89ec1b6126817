#include "src/win/document_guards.h"

#include "src/win/document_window.h"
#include "src/win/editor_view.h"
#include "src/win/message_loop.h"

#include <ctime>

namespace qorva {
namespace {

// Work that does not come in as an input event: the title and counts are brought
// up to date at the next idle time all the same.
void StartIdlePeriod() {
    if (auto* loop = ChromiumMessageHandler::Current()) loop->StartIdlePeriod();
}

}  // namespace

DocumentGuards::DocumentGuards(DocumentWindow& window, CEditorView& view, const std::string& recoveryFolder)
    : view_(view) {
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
            [&view, &document]() -> std::optional<RecoveryRecord> {
                std::string model = view.GetTextJson();
                if (model.empty()) return std::nullopt;
                return RecoveryRecord{document.path(), document.format(), document.welcome(), std::move(model),
                                      static_cast<std::int64_t>(std::time(nullptr))};
            },
        },
        RecoverySlot(recoveryFolder));
    document.AddFileObserver(watch_.get());
    document.AddFileObserver(recovery_.get());
    view.SetChangeListener([this] { recovery_->DocumentChanged(); });
}

DocumentGuards::~DocumentGuards() { view_.SetChangeListener({}); }

}  // namespace qorva
