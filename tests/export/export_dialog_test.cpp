// The export dialog: its filters, default extension and proposed name, and the
// template row with "Default" first and the choice that follows the selection.
#include "src/win/export_dialog.h"

#include "qt_printers.h"
#include "scratch_folder.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace qorva {
namespace {

const ExportFormat& Format(ExportKind kind) { return *FindExportFormat(kind); }

QStringList Entries(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

QString TypedName(const CExportFileDialog& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    return edit ? edit->text() : QString();
}

TEST(ExportDialogFilters, EachFormatOffersItsOwnFilterThenAllFiles) {
    EXPECT_EQ(ExportNameFilters(Format(ExportKind::Html)),
              QStringList({"HTML Files (*.html *.htm)", "All Files (*)"}));
    EXPECT_EQ(ExportNameFilters(Format(ExportKind::Word)),
              QStringList({"Microsoft Word (DOCX) Files (*.docx)", "All Files (*)"}));
    EXPECT_EQ(ExportNameFilters(Format(ExportKind::RichText)),
              QStringList({"Rich Text Format (RTF) Files (*.rtf)", "All Files (*)"}));
    EXPECT_EQ(ExportNameFilters(Format(ExportKind::Pdf)), QStringList({"PDF Files (*.pdf)", "All Files (*)"}));
    EXPECT_EQ(ExportNameFilters(Format(ExportKind::Latex)), QStringList({"TeX Files (*.tex)", "All Files (*)"}));
}

TEST(ExportDialogFilters, TheDialogIsASaveDialogWithTheFormatsExtension) {
    const std::vector<std::string> none;
    CExportFileDialog dialog(Format(ExportKind::RichText), {}, none, nullptr);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.defaultSuffix(), "rtf");
    EXPECT_EQ(dialog.nameFilters(), ExportNameFilters(Format(ExportKind::RichText)));
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(ExportDialogNames, AProposedPathOpensItsFolderWithItsName) {
    test::Scratch scratch;
    const std::vector<std::string> none;
    CExportFileDialog dialog(Format(ExportKind::Pdf), QString::fromStdString(scratch.file("a.pdf")), none, nullptr);
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(QString::fromStdString(scratch.path())).canonicalPath());
    EXPECT_EQ(TypedName(dialog), "a.pdf");
}

TEST(ExportDialogNames, AnUntitledDocumentProposesNoName) {
    const std::vector<std::string> none;
    CExportFileDialog dialog(Format(ExportKind::Epub), {}, none, nullptr);
    EXPECT_EQ(TypedName(dialog), "");
    EXPECT_TRUE(dialog.ChosenPath().isEmpty()) << "nothing is chosen before the dialog is confirmed";
}

TEST(ExportDialogNames, ANameWithoutExtensionGetsTheFormatsOne) {
    test::Scratch scratch;
    const std::vector<std::string> none;
    CExportFileDialog dialog(Format(ExportKind::Html), {}, none, nullptr);
    dialog.setDirectory(QString::fromStdString(scratch.path()));
    dialog.selectFile("report");
    static_cast<QDialog&>(dialog).accept();  // as the Save button does
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenPath(), QString::fromStdString(scratch.file("report.html")));
}

TEST(ExportDialogTemplates, DefaultComesFirstThenTheListedNamesInOrder) {
    const std::vector<std::string> names = {"Bootstrap", "Plain", "aside"};
    CExportFileDialog dialog(Format(ExportKind::Html), {}, names, nullptr);
    ASSERT_NE(dialog.TemplateList(), nullptr);
    EXPECT_EQ(Entries(dialog.TemplateList()), QStringList({"Default", "Bootstrap", "Plain", "aside"}));
    EXPECT_EQ(dialog.TemplateList()->currentIndex(), 0);
    EXPECT_EQ(dialog.TemplateChoice(), "Default");
}

TEST(ExportDialogTemplates, TheRowIsLabelledTemplateAndReachesTheList) {
    const std::vector<std::string> names = {"Table of Contents"};
    CExportFileDialog dialog(Format(ExportKind::Pdf), {}, names, nullptr);
    QLabel* label = nullptr;
    for (QLabel* candidate : dialog.findChildren<QLabel*>()) {
        if (candidate->buddy() == dialog.TemplateList()) label = candidate;
    }
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().remove('&'), "Template:");
}

TEST(ExportDialogTemplates, PickingAnotherEntryMakesItTheChoice) {
    const std::vector<std::string> names = {"Table of Contents"};
    CExportFileDialog dialog(Format(ExportKind::Latex), {}, names, nullptr);
    dialog.TemplateList()->setCurrentIndex(1);
    EXPECT_EQ(dialog.TemplateChoice(), "Table of Contents");
    dialog.TemplateList()->setCurrentIndex(0);
    EXPECT_EQ(dialog.TemplateChoice(), "Default");
}

TEST(ExportDialogTemplates, WithoutNamesThereIsNoRowAndNoChoice) {
    const std::vector<std::string> none;
    CExportFileDialog dialog(Format(ExportKind::Word), {}, none, nullptr);
    EXPECT_EQ(dialog.TemplateList(), nullptr);
    EXPECT_EQ(dialog.findChild<QComboBox*>("templateChoice"), nullptr);
    EXPECT_TRUE(dialog.TemplateChoice().isEmpty());
}

}  // namespace
}  // namespace qorva
