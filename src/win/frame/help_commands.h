// The Help menu: the About box, Check for Updates, and the support and feedback pages.
#pragma once

class QWidget;

namespace qorva {

class DocumentUi;
class UpdateChecker;

class HelpCommands {
public:
    // Boxes are owned by `frame`; addresses open through `ui`.
    HelpCommands(QWidget& frame, DocumentUi& ui) : frame_(frame), ui_(ui) {}

    // False for a command that is not on the Help menu.
    bool HandleCommand(int commandId);

private:
    void ShowAbout();
    void CheckForUpdates();

    QWidget& frame_;
    DocumentUi& ui_;
    UpdateChecker* updates_ = nullptr;  // owned by the frame, made on first use
};

}  // namespace qorva
