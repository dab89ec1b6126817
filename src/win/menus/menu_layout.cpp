#include "src/win/menus/menu_layout.h"

#include "src/win/menus/command_ids.h"

namespace qorva {
namespace {

using Kind = MenuNode::Kind;
namespace id = command_id;

MenuNode Item(std::string label, int commandId) { return {Kind::Command, std::move(label), commandId, {}}; }
MenuNode Sub(std::string label, std::vector<MenuNode> children) {
    return {Kind::Submenu, std::move(label), 0, std::move(children)};
}
MenuNode Separator() { return {Kind::Separator, {}, 0, {}}; }

// The four storage formats in menu order (which differs from their numbers).
std::vector<MenuNode> FormatItems(int qorva, int pandoc, int github, int mmd) {
    return {Item("Qorva Markdown", qorva), Item("Pandoc Markdown", pandoc), Item("GitHub Markdown", github),
            Item("MultiMarkdown", mmd)};
}

std::vector<MenuNode> BuildLayout() {
    return {
        Sub("&File",
            {Item("&New\tCtrl+N", id::New), Item("&Open...\tCtrl+O", id::Open),
             Sub("Open Recent", {Item("No Recent Files", id::RecentFirst)}),
             Sub("Reopen in Format", FormatItems(id::ReopenQorva, id::ReopenPandoc, id::ReopenGithub, id::ReopenMmd)),
             Item("&Save\tCtrl+S", id::Save),
             Sub("Save in Format", FormatItems(id::SaveInQorva, id::SaveInPandoc, id::SaveInGithub, id::SaveInMmd)),
             Item("Save &As...", id::SaveAs), Separator(),
             Sub("&Import", {Item("Import HTML...", id::ImportHtml), Item("Import LaTeX...", id::ImportLatex)}),
             Sub("&Export",
                 {Item("Repeat Export\tCtrl+Alt+Shift+E", id::RepeatExport), Separator(),
                  Item("Export HTML5...", id::ExportHtml5), Item("Export Word Document...", id::ExportWord),
                  Item("Export Rich Text...", id::ExportRichText), Item("Export EPUB...", id::ExportEpub),
                  Item("Export PDF...", id::ExportPdf), Item("Export XeLaTeX...", id::ExportXelatex)}),
             Separator(), Item("&Print...\tCtrl+P", id::Print), Separator(), Item("&Close\tCtrl+W", id::Close),
             Item("&Quit\tCtrl+Q", id::Exit)}),
        Sub("&Edit",
            {Item("&Undo\tCtrl+Z", id::Undo), Item("&Redo\tCtrl+Shift+Z", id::Redo), Separator(),
             Item("Cu&t\tCtrl+X", id::Cut), Item("&Copy\tCtrl+C", id::Copy),
             Item("Copy as HTML\tCtrl+Shift+C", id::CopyAsHtml), Item("&Paste\tCtrl+V", id::Paste),
             Sub("Paste as Markdown",
                 {Item("MultiMarkdown Format", id::PasteMultiMarkdown), Item("Qorva Format", id::PasteQorvaFormat)}),
             Separator(),
             Sub("Move Paragraph",
                 {Item("Shift &Up\tAlt+Shift+Up", id::ShiftUp), Item("Shift &Down\tAlt+Shift+Down", id::ShiftDown),
                  Item("Shift Left\tAlt+Shift+Left", id::ShiftLeft),
                  Item("Shift Right\tAlt+Shift+Right", id::ShiftRight), Item("In&dent\tCtrl+]", id::Indent),
                  Item("&Unindent\tCtrl+[", id::Unindent)}),
             Item("Follow Link\tCtrl+Enter", id::FollowLink),
             Sub("Writing Direction", {Item("Left to Right\tCtrl+Alt+Shift+Right", id::LeftToRight),
                                       Item("Right to Left\tCtrl+Alt+Shift+Left", id::RightToLeft)}),
             Separator(), Item("Search\tCtrl+F", id::Search), Item("Replace\tCtrl+H", id::Replace), Separator(),
             Item("Pr&eferences...\tCtrl+,", id::Preferences)}),
        Sub("&Insert", {Item("Hyperlink...\tCtrl+K", id::InsertHyperlink), Item("Footnote\tCtrl+R", id::InsertFootnote),
                        Item("Image...\tCtrl+Shift+I", id::InsertImage), Item("Table\tCtrl+Shift+L", id::InsertTable),
                        Item("Horizontal Rule", id::InsertRule)}),
        Sub("&Paragraph",
            {Item("Heading 1\tCtrl+1", id::Heading1), Item("Heading 2\tCtrl+2", id::Heading2),
             Item("Heading 3\tCtrl+3", id::Heading3), Item("Heading 4\tCtrl+4", id::Heading4),
             Item("Heading 5\tCtrl+5", id::Heading5), Item("Heading 6\tCtrl+6", id::Heading6),
             Item("&Bulleted Item\tCtrl+Shift+B", id::Bulleted),
             Item("&Numbered Item\tCtrl+Shift+N", id::Numbered), Item("Cod&e Block\tCtrl+Shift+E", id::CodeBlock),
             Item("Ma&th Block\tCtrl+Shift+T", id::MathBlock), Item("&Image", id::ImageBlock), Item("Note", id::Note),
             Item("&Quotation\tCtrl+Shift+Q", id::Quotation), Item("Comment\tCtrl+/", id::Comment),
             Item("Definition Term", id::Term), Item("Definition", id::Definition),
             Item("Raw HTML Block", id::HtmlBlock), Item("Raw TeX Block", id::TexBlock),
             Item("Plain\tCtrl+Shift+\\", id::Plain), Separator(), Item("Code &Language...", id::CodeLanguage),
             Item("Image &Description...", id::ImageDescription)}),
        Sub("&Character",
            {Item("Emphas&is\tCtrl+I", id::Emphasis), Item("Strong Emphasis\tCtrl+B", id::Strong),
             Item("Stri&keout\tCtrl+Shift+X", id::Strikeout), Item("Su&perscript", id::Superscript),
             Item("Su&bscript", id::Subscript), Item("Cod&e\tCtrl+E", id::CodeSpan), Item("Ma&th\tCtrl+T", id::MathSpan), Item("URL", id::Url),
             Item("&Hyperlink Text", id::HyperlinkText), Item("&Reference", id::Reference),
             Item("Clear Formatting\tCtrl+\\", id::ClearFormatting)}),
        Sub("&Table",
            {Item("Insert Table\tCtrl+Shift+L", id::InsertTable), Separator(),
             // Shown with the keys that desktops leave free; Ctrl+Alt with the arrows
             // still works where no workspace switch takes it.
             Item("Insert Row Before\tAlt+Up", id::RowBefore), Item("Insert Row After\tAlt+Down", id::RowAfter),
             Item("Insert Column Before\tAlt+Left", id::ColumnBefore),
             Item("Insert Column After\tAlt+Right", id::ColumnAfter), Separator(),
             Item("Remove Row\tCtrl+Shift+Backspace", id::RemoveRow),
             Item("Remove Column\tCtrl+Shift+Delete", id::RemoveColumn)}),
        Sub("&Window",
            {Item("&Full Screen\tF11", id::FullScreen),
             Sub("Font", {Item("&Larger\tCtrl +", id::ZoomLarger), Item("&Smaller\tCtrl -", id::ZoomSmaller),
                          Item("&Reset\tCtrl 0", id::ZoomReset)}),
             Sub("Themes", {Item("Follow the Desktop", id::ThemeDesktop), Item("Default", id::ThemeFirst)}),
             Item("Display Word Count", id::DisplayWordCount),
             Item("Display Character Count", id::DisplayCharacterCount), Item("&Outline\tCtrl+Shift+O", id::Outline),
             Separator(), Item("Focus Mode", id::FocusMode), Item("Typewriter Mode", id::TypewriterMode)}),
        Sub("&Help", {Item("&About Qorva", id::About), Item("Check for Updates...", id::CheckForUpdates),
                      Item("Welcome to Qorva", id::WelcomeDocument), Item("Qorva Support", id::Support),
                      Item("Send Feedback", id::Feedback)}),
    };
}

}  // namespace

const std::vector<MenuNode>& MenuBarLayout() {
    static const std::vector<MenuNode> layout = BuildLayout();
    return layout;
}

}  // namespace qorva
