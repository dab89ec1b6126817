#include "src/win/clipboard/cf_html.h"
#include "src/win/clipboard/clipboard.h"
#include "src/win/menus/menu_bar.h"
#include "src/win/menus/command_ids.h"
#include "src/win/menus/recent_menu.h"
#include "src/win/view/search_view.h"
#include "tools/converter_host/converter_host.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace qorva {
namespace {

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* action : actions) texts << (action->isSeparator() ? QString("---") : action->text());
    return texts;
}

class MenuBarTest : public ::testing::Test {
protected:
    QMenuBar bar;
    std::vector<int> chosen;
    MenuBar menus{&bar, [this](int id) { chosen.push_back(id); }};
};

TEST_F(MenuBarTest, ItemsSendTheirCommandsAndKeysAreNotQtShortcuts) {
    QAction* redo = menus.action(command_id::Redo);
    ASSERT_NE(redo, nullptr);
    EXPECT_TRUE(redo->shortcut().isEmpty()) << "keys are the frame's accelerator table, not Qt shortcuts";
    menus.action(command_id::SaveAs)->trigger();
    for (QAction* table : menus.actions(command_id::InsertTable)) table->trigger();
    EXPECT_EQ(chosen, (std::vector<int>{command_id::SaveAs, command_id::InsertTable, command_id::InsertTable}));
}

TEST_F(MenuBarTest, UpdateTableIsAppliedWhenTheMenuDropsDown) {
    QMenu* file = bar.actions().at(0)->menu();
    QMenu* reopen = file->actions().at(3)->menu();
    ASSERT_EQ(reopen->title(), "Reopen in Format");
    for (bool enabled : {false, true}) {
        menus.setEnabledState(command_id::ReopenPandoc, enabled);
        EXPECT_EQ(menus.action(command_id::ReopenPandoc)->isEnabled(), !enabled) << "nothing changes before the drop-down";
        emit reopen->aboutToShow();
        EXPECT_EQ(menus.action(command_id::ReopenPandoc)->isEnabled(), enabled);
        EXPECT_TRUE(menus.action(command_id::ReopenQorva)->isEnabled());
    }
}

TEST_F(MenuBarTest, RecentItemsAreNewestFirstEscapedInPlaceAndAGreyedPlaceholderWhenNone) {
    QMenu* submenu = menus.openRecentMenu();
    const QString placeholder = RecentPlaceholderOf(submenu);
    submenu->insertAction(submenu->actions().at(0), new QAction("Before", submenu));
    submenu->addAction("After");
    RecentDocumentList list;
    for (const char* path : {"/docs/a.text", "/docs/R&D notes.text"}) list.Add(path);
    RebuildRecentMenu(menus, submenu, list, placeholder);
    EXPECT_EQ(Texts(submenu->actions()), (QStringList{"Before", "&1 /docs/R&&D notes.text", "&2 /docs/a.text", "After"}));
    EXPECT_EQ(CommandIdOf(submenu->actions().at(2)), command_id::RecentFirst + 1);
    submenu->actions().at(2)->trigger();
    EXPECT_EQ(chosen, std::vector<int>{command_id::RecentFirst + 1});
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(list.Remove(command_id::RecentFirst));
    RebuildRecentMenu(menus, submenu, list, placeholder);
    ASSERT_EQ(Texts(submenu->actions()), (QStringList{"Before", "No Recent Files", "After"}));
    EXPECT_FALSE(submenu->actions().at(1)->isEnabled());
}

struct RecordingSearch : CSearchViewCallback {
    QStringList events;
    int replacedCount = 0;
    void StartSearch(const QString& text) override { events << "start:" + text; }
    void ContinueSearch(const QString& text) override { events << "continue:" + text; }
    void CloseSearch() override { events << "close"; }
    void SetSearchOptions(bool matchCase, bool wholeWord) override {
        events << QString("options:%1%2").arg(matchCase ? "case" : "-", wholeWord ? "word" : "-");
    }
    void Replace(const QString& text, const QString& replacement) override { events << "replace:" + text + ">" + replacement; }
    int ReplaceAll(const QString& text, const QString& replacement) override {
        return events << "all:" + text + ">" + replacement, replacedCount;
    }
};

class SearchViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.SetCallback(&callback);
        view.resize(600, CSearchView::kPaneHeight);
        view.show();
        view.FocusField();
    }
    CSearchView view;
    RecordingSearch callback;
};

TEST_F(SearchViewTest, EveryChangeStartsTheSearchEnterAndFindNextContinueEscapeCloses) {
    QTest::keyClicks(view.field(), "ab");
    QTest::keyClick(view.field(), Qt::Key_Backspace);
    QTest::keyClick(view.field(), Qt::Key_Return);
    QTest::keyClick(view.field(), Qt::Key_Enter);
    QTest::mouseClick(view.findNextButton(), Qt::LeftButton);
    view.findNextButton()->setFocus();
    QTest::keyClick(view.findNextButton(), Qt::Key_Return);  // on the focused button: once, not twice
    QTest::keyClick(view.field(), Qt::Key_Escape);
    EXPECT_EQ(callback.events, (QStringList{"start:a", "start:ab", "start:a", "continue:a", "continue:a", "continue:a",
                                            "continue:a", "close"}));
    EXPECT_FALSE(view.isVisible()) << "the bar hides itself before the view takes the keys";
}

TEST_F(SearchViewTest, OptionsSearchAgainEnterInTheReplaceRowReplacesAndReplaceAllSaysHowMany) {
    QTest::keyClicks(view.field(), "a");
    QTest::mouseClick(view.matchCaseBox(), Qt::LeftButton);
    QTest::mouseClick(view.wholeWordBox(), Qt::LeftButton);
    QTest::keyClicks(view.replaceField(), "b");
    QTest::keyClick(view.replaceField(), Qt::Key_Return);
    QTest::mouseClick(view.replaceButton(), Qt::LeftButton);
    callback.replacedCount = 3;
    QTest::mouseClick(view.replaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(callback.events, (QStringList{"start:a", "options:case-", "start:a", "options:caseword", "start:a",
                                            "replace:a>b", "replace:a>b", "all:a>b"}));
    for (const auto& [count, text] : {std::pair{0, "No matches"}, {1, "1 replaced"}, {3, "3 replaced"}}) {
        callback.replacedCount = count;
        QTest::mouseClick(view.replaceAllButton(), Qt::LeftButton);
        EXPECT_EQ(view.statusLabel()->text(), text);
    }
    QTest::keyClicks(view.field(), "c");
    EXPECT_TRUE(view.statusLabel()->text().isEmpty());
}

TEST_F(SearchViewTest, ReplaceGoesToTheFindFieldWhileItIsEmptyElseToTheReplaceField) {
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.FocusReplaceField();
    EXPECT_EQ(QApplication::focusWidget(), view.field());
    QTest::keyClicks(view.field(), "a");
    view.FocusReplaceField();
    EXPECT_EQ(QApplication::focusWidget(), view.replaceField());
}

class ClipboardTest : public ::testing::Test {
protected:
    std::string selection;  // what copy and cut return
    std::vector<std::pair<std::string, std::string>> calls;
    ClipboardPageCall page = [this](std::string_view function, const std::string* argument) {
        calls.emplace_back(std::string(function), argument ? *argument : std::string());
        return function == "paste" ? std::string() : selection;
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
};

// What another window gets from Copy and Paste is checked by tests/gui/frame_editing_aids.test.mjs.
TEST_F(ClipboardTest, CopyGivesBareLineFeedsAndPlainHtmlCopyAsHtmlOnlyTheSourceAndNothingSelectedKeepsTheOld) {
    selection = R"(["text",["para",{"level":0},["plain","a"],["break","\n"],["plain","b"]]])";
    ASSERT_TRUE(HandleClipboardCommand(command_id::Copy, page));
    const QMimeData* data = clipboard->mimeData();
    EXPECT_TRUE(data->text().contains("a  \nb")) << "the line break, as a bare line feed: " << data->text().toStdString();
    EXPECT_FALSE(data->text().contains('\r')) << "X11 text ends lines with a bare line feed";
    EXPECT_FALSE(data->html().contains("StartFragment")) << "other programs get plain HTML";
    selection = R"(["text",["para",{"level":0},["strong","bold"]]])";
    ASSERT_TRUE(HandleClipboardCommand(command_id::CopyAsHtml, page));
    data = clipboard->mimeData();
    EXPECT_TRUE(data->text().contains("<strong>bold</strong>")) << data->text().toStdString();
    EXPECT_FALSE(data->hasFormat(kModelMimeType) || data->hasHtml());
    selection = "";
    for (int command : {command_id::Copy, command_id::Cut}) ASSERT_TRUE(HandleClipboardCommand(command, page));
    EXPECT_TRUE(clipboard->text().contains("<strong>bold</strong>"));
}

TEST_F(ClipboardTest, PastedHtmlInAnEnvelopeIsUnwrappedFirst) {
    auto* data = new QMimeData;
    data->setHtml(QString::fromStdString(BuildCfHtml("<h2>Sub</h2>")));
    clipboard->setMimeData(data);
    ASSERT_TRUE(HandleClipboardCommand(command_id::Paste, page));
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().first, "paste");
    const std::string& pasted = calls.back().second;
    EXPECT_NE(pasted.find("\"heading\""), std::string::npos) << pasted;
    EXPECT_EQ(pasted.find("Version"), std::string::npos) << pasted;
}

// A paste may not make a document that cannot be opened again.
TEST_F(ClipboardTest, APasteThatWouldPassTheSizeLimitIsRefusedWithTheSizeTheFileWouldHave) {
    selection = R"(["text",["para",{"level":0},["plain","Kept"]]])";
    std::string lines(21'000'000, 'x');  // 210,000 lines of 99 letters
    for (size_t end = 99; end < lines.size(); end += 100) lines[end] = '\n';
    clipboard->setText(QString::fromStdString(lines));
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) shown = box->text(), box->accept();
    });
    ASSERT_TRUE(HandleClipboardCommand(command_id::Paste, page));
    for (const auto& call : calls) EXPECT_NE(call.first, "paste");
    // Each line a paragraph: 99 letters, CR LF and a blank line make 21,630,000 bytes.
    EXPECT_EQ(shown.toStdString(), "Nothing was pasted: the document would be too large to open: 22 MB; the limit is 20 MB.");
}

TEST_F(ClipboardTest, AnImageOnlyClipboardPastesNothing) {
    auto* data = new QMimeData;
    data->setData("image/png", QByteArray("\x89PNG", 4));
    clipboard->setMimeData(data);
    for (int command : {command_id::Paste, command_id::PasteQorvaFormat, command_id::PasteMultiMarkdown})
        ASSERT_TRUE(HandleClipboardCommand(command, page)) << command;
    EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace qorva
