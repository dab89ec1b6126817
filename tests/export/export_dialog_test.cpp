#include "src/win/export/export_dialog.h"
#include "qt_printers.h"
#include "tests/frame/temp_folder.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace qorva {
namespace {

const ExportFormat& Format(ExportKind kind) { return *FindExportFormat(kind); }
const std::vector<std::string> kNoTemplates;

QString TypedName(const CExportFileDialog& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    return edit ? edit->text() : QString();
}

TEST(ExportDialog, EachFormatOffersItsOwnFilterThenAllFilesInASaveDialogWithItsExtension) {
    EXPECT_EQ(ExportNameFilters(Format(ExportKind::Html)), QStringList({"HTML Files (*.html *.htm)", "All Files (*)"}));
    for (const ExportFormat& format : ExportFormats()) {
        CExportFileDialog dialog(format, {}, kNoTemplates, nullptr);
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ("." + dialog.defaultSuffix().toStdString(), format.extension);
        EXPECT_TRUE(dialog.nameFilters().at(0).contains(QString("(*") + format.extension)) << format.extension;
        EXPECT_EQ(dialog.nameFilters().mid(1), QStringList({"All Files (*)"}));
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(TypedName(dialog), "") << "an untitled document proposes no name";
    }
}

// Only Pandoc fetches pictures, so only the formats Pandoc makes offer the choice.
TEST(ExportDialog, PandocFormatsOfferTheRemotePicturesChoiceStartingFromTheSetting) {
    for (const ExportFormat& format : ExportFormats()) {
        const bool offersFetch = format.pandocFormat != nullptr;
        for (const bool setting : {false, true}) {
            CExportFileDialog dialog(format, {}, kNoTemplates, nullptr, setting);
            auto* box = dialog.findChild<QCheckBox*>("fetchRemoteImages");
            ASSERT_EQ(box != nullptr, offersFetch) << format.extension;
            EXPECT_EQ(dialog.FetchRemoteImages(), offersFetch && setting) << format.extension;
            if (!box) continue;
            box->setChecked(!setting);
            EXPECT_EQ(dialog.FetchRemoteImages(), !setting);
        }
    }
}

TEST(ExportDialog, AProposedPathOpensItsFolderWithItsNameAndANameWithoutExtensionGetsTheFormatsOne) {
    testing::TempFolder folder;
    const QString path = QString::fromStdString(folder.path().string());
    CExportFileDialog proposed(Format(ExportKind::Pdf), path + "/a.pdf", kNoTemplates, nullptr);
    EXPECT_EQ(QDir(proposed.directory()).canonicalPath(), QDir(path).canonicalPath());
    EXPECT_EQ(TypedName(proposed), "a.pdf");
    CExportFileDialog dialog(Format(ExportKind::Html), {}, kNoTemplates, nullptr);
    dialog.setDirectory(path);
    dialog.selectFile("report");
    static_cast<QDialog&>(dialog).accept();  // as the Save button does
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenPath(), path + "/report.html");
}

TEST(ExportDialog, TheTemplateListHasDefaultFirstThenTheNamesFollowsTheSelectionAndNeedsNames) {
    const std::vector<std::string> names = {"Bootstrap", "Table of Contents", "aside"};
    CExportFileDialog dialog(Format(ExportKind::Latex), {}, names, nullptr);
    QComboBox* list = dialog.TemplateList();
    ASSERT_NE(list, nullptr);
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    EXPECT_EQ(entries, QStringList({"Default", "Bootstrap", "Table of Contents", "aside"}));
    EXPECT_EQ(dialog.TemplateChoice(), "Default");
    for (int index : {2, 0}) {
        list->setCurrentIndex(index);
        EXPECT_EQ(dialog.TemplateChoice(), entries[index]);
    }
    CExportFileDialog none(Format(ExportKind::Word), {}, kNoTemplates, nullptr);
    EXPECT_TRUE(!none.TemplateList() && !none.findChild<QComboBox*>("templateChoice") && none.TemplateChoice().isEmpty());
}

}  // namespace
}  // namespace qorva
