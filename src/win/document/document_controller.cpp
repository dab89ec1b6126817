#include "src/win/document/document_controller.h"

#include "src/win/menus/command_ids.h"
#include "src/win/menus/menu_bar.h"
#include "src/win/menus/recent_menu.h"
#include "src/win/settings/settings.h"
#include "src/win/view/editor_view.h"

#include <QFileInfo>

namespace qorva {

// The editor view as the document sees it.
class DocumentController::ViewPage : public DocumentPage {
public:
    explicit ViewPage(CEditorView& view) : view_(view) {}
    std::string GetTextJson() override { return view_.GetTextJson(); }
    void SetTextJson(const std::string& model) override { view_.SetTextJson(model); }
    void SetBaseUrl(const std::string& url) override { view_.SetBaseUrl(url); }
    bool IsModified() const override { return view_.IsModified(); }
    void SetModified(bool modified) override { view_.SetModified(modified); }
    std::optional<std::string> TryGetTextJson() override { return view_.TryGetTextJson(); }
    bool TrySetTextJson(const std::string& model) override { return view_.TrySetTextJson(model); }

private:
    CEditorView& view_;
};

DocumentController::DocumentController(QWidget& owner, CEditorView& view, MenuBar& menus,
                                       std::function<void()> stateChanged)
    : DocumentDialogs(&owner), menus_(menus), stateChanged_(std::move(stateChanged)),
      page_(std::make_unique<ViewPage>(view)) {
    lifecycle_ = std::make_unique<DocumentLifecycle>(*page_, *this, recent_);
    recent_.SetMaximum(kRecentDefaultMaximum);
    recentPlaceholder_ = RecentPlaceholderOf(menus_.openRecentMenu());
    if (recent_.Read(UserSettings())) RecentListChanged();
    ResetRepeatExport();
}

DocumentController::~DocumentController() = default;

bool DocumentController::HandleCommand(int commandId) { return lifecycle_->HandleCommand(commandId); }

void DocumentController::UpdateMenuStates() {
    const bool titled = !lifecycle_->path().empty();
    for (int commandId : {command_id::ReopenQorva, command_id::ReopenPandoc, command_id::ReopenGithub,
                          command_id::ReopenMmd}) {
        menus_.setEnabledState(commandId, titled);
    }
}

bool DocumentController::CanClose() { return lifecycle_->AskToSave(); }

void DocumentController::WriteRecentList() { recent_.Write(UserSettings()); }

QString DocumentController::DialogFolder() const {
    const std::string& path = lifecycle_->path();
    return path.empty() ? QString() : QFileInfo(QString::fromStdString(path)).absolutePath();
}

void DocumentController::RecentListChanged() {
    RebuildRecentMenu(menus_, menus_.openRecentMenu(), recent_, recentPlaceholder_);
}

void DocumentController::ResetRepeatExport() {
    menus_.setEnabledState(command_id::RepeatExport, false);
    if (repeatExportReset_) repeatExportReset_();
}

}  // namespace qorva
