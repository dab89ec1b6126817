#include "src/win/frame/help_commands.h"

#include "src/win/app/about_dialog.h"
#include "src/win/app/program_version.h"
#include "src/win/app/update_checker.h"
#include "src/win/document/document_lifecycle.h"
#include "src/win/document/document_messages.h"
#include "src/win/menus/command_ids.h"

#include <QApplication>

namespace qorva {

bool HelpCommands::HandleCommand(int commandId) {
    switch (commandId) {
        case command_id::About: ShowAbout(); return true;
        case command_id::CheckForUpdates: CheckForUpdates(); return true;
        case command_id::Support: ui_.OpenUrl(std::string(kSupportPage)); return true;
        case command_id::Feedback: ui_.OpenUrl(std::string(kFeedbackPage)); return true;
        default: return false;
    }
}

void HelpCommands::ShowAbout() {
    QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : &frame_;
    CAboutDialog about(QString::fromStdString(ProgramVersionText()), owner);
    about.exec();
}

void HelpCommands::CheckForUpdates() {
    if (!updates_) {
        updates_ = new UpdateChecker(QString::fromLatin1(kUpdateFeedUrl),
                                     QString::fromStdString(ProgramFileVersionText()), &frame_);
    }
    updates_->CheckWithUi();
}

}  // namespace qorva
