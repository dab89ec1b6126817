// The export operations end to end, with the real converters, Pandoc and XeLaTeX.
#include "model/model_json.h"
#include "src/win/tools/converter_host.h"
#include "src/win/tools/export.h"
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/pandoc.h"
#include "src/win/tools/repeat_export.h"
#include "src/win/tools/templates.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace qorva {
namespace {

using test::EnvOverride;
using test::ScratchFolder;
using test::Shell;
using test::ShellQuote;

const std::string kDocument =
    R"(["text",["heading",{"level":-3},["plain","Quarterly Report"]],)"
    R"(["para",{"level":0},["plain","Sales rose in "],["emph","every"],["plain"," region."]],)"
    R"(["bulleted",{"level":0},["plain","North grew fastest"]],)"
    R"(["image",{"level":0},["url","pics/chart.png"]]])";

// A document folder holding the relative image the document names.
struct DocumentFolder {
    ScratchFolder folder;
    DocumentFolder() {
        mkdir(folder.file("pics").c_str(), 0755);
        test::WriteTinyPng(folder.file("pics/chart.png"));
    }
    std::string file(const std::string& name) const { return folder.file(name); }
    const std::string& path() const { return folder.path(); }
};

std::string unzipText(const std::string& archive, const std::string& members) {
    return Shell("unzip -p " + ShellQuote(archive) + " " + members + " 2>/dev/null");
}

bool zipIsSound(const std::string& archive) {
    int code = -1;
    Shell("unzip -tq " + ShellQuote(archive) + " >/dev/null 2>&1", &code);
    return code == 0;
}

TEST(HtmlExport, FileIsTheTemplateAroundTheBodyWithCrLfFromTheWriter) {
    ScratchFolder folder;
    std::string path = folder.file("report.html");
    ExportResult result = ExportHtml(kDocument, path, "Default", {});
    ASSERT_TRUE(result.succeeded) << result.errorText;
    std::string file = ReadWholeFile(path);
    std::string body = WriteHtml(kDocument);
    ASSERT_NE(body.find('\n'), std::string::npos);
    for (size_t at = 0; (at = body.find('\n', at)) != std::string::npos; at += 2) body.insert(at, "\r");
    std::string_view builtin = BuiltinTemplate("Default.html5").value();
    size_t marker = builtin.find("$body$");
    EXPECT_EQ(file.substr(0, marker), builtin.substr(0, marker));
    EXPECT_EQ(file.substr(marker, body.size()), body);
    EXPECT_EQ(file.substr(marker + body.size()), builtin.substr(marker + 6));
    EXPECT_NE(file.find("Quarterly Report"), std::string::npos);
}

TEST(HtmlExport, ChosenTemplateIsUsed) {
    ScratchFolder folder, templates;
    templates.write("Plain.html5", "<main>$body$</main>");
    ASSERT_TRUE(ExportHtml(kDocument, folder.file("a.html"), "Bootstrap", {templates.path()}).succeeded);
    EXPECT_NE(ReadWholeFile(folder.file("a.html")).find("<div class=\"container\">"), std::string::npos);
    ASSERT_TRUE(ExportHtml(kDocument, folder.file("b.html"), "Plain", {templates.path()}).succeeded);
    std::string plain = ReadWholeFile(folder.file("b.html"));
    EXPECT_TRUE(plain.starts_with("<main>") && plain.ends_with("</main>")) << plain;
}

TEST(HtmlExport, BrokenModelFailsAndKeepsTheOldFile) {
    ScratchFolder folder;
    std::string path = folder.write("a.html", "old export");
    ExportResult result = ExportHtml("[\"text\",[\"para\"", path, "Default", {});
    EXPECT_FALSE(result.succeeded);
    EXPECT_TRUE(result.errorText.starts_with(kFormattingError)) << result.errorText;
    EXPECT_EQ(ReadWholeFile(path), "old export");
}

TEST(HtmlExport, MissingFolderIsReportedWithThePath) {
    ExportResult result = ExportHtml(kDocument, "/nonexistent/folder/a.html", "Default", {});
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.errorText, "/nonexistent/folder/a.html: No such file or directory");
}

TEST(LatexExport, FileIsACompleteXeLaTeXDocument) {
    ScratchFolder folder;
    ASSERT_TRUE(ExportLatex(kDocument, folder.file("a.tex"), "Table of Contents", {}).succeeded);
    std::string tex = ReadWholeFile(folder.file("a.tex"));
    EXPECT_TRUE(tex.starts_with("\\documentclass[10pt]{article}\n"));
    EXPECT_TRUE(tex.ends_with("\n\\end{document}\n"));
    EXPECT_NE(tex.find("\\tableofcontents"), std::string::npos);
    EXPECT_NE(tex.find("Quarterly Report"), std::string::npos);
    EXPECT_NE(tex.find("\r\n"), std::string::npos);
}

TEST(PdfExport, PdfHoldsTheTextAndTheImageFromTheDocumentsFolder) {
    DocumentFolder document;
    std::string pdf = document.file("report.pdf");
    ExportResult result = ExportPdf(kDocument, pdf, "Default", document.path(), {});
    ASSERT_TRUE(result.succeeded) << result.errorText;
    std::string text = test::Squeeze(test::PdfText(pdf));
    EXPECT_NE(text.find("Quarterly Report"), std::string::npos) << text;
    EXPECT_NE(text.find("Sales rose in every region."), std::string::npos) << text;
    EXPECT_EQ(Shell("pdfimages -list " + ShellQuote(pdf) + " | tail -n +3 | wc -l"), "1\n");
}

TEST(PandocExport, DocxIsASoundArchiveWithTextAndImage) {
    DocumentFolder document;
    std::string docx = document.file("report.docx");
    ExportResult result = ExportWithPandoc(kDocument, docx, "docx", document.path());
    ASSERT_TRUE(result.succeeded) << result.errorText;
    EXPECT_TRUE(zipIsSound(docx));
    std::string xml = unzipText(docx, "word/document.xml");
    EXPECT_NE(xml.find("Quarterly Report"), std::string::npos);
    EXPECT_NE(xml.find("every"), std::string::npos);
    EXPECT_NE(Shell("unzip -l " + ShellQuote(docx)).find("word/media/"), std::string::npos);
}

TEST(PandocExport, EpubIsASoundArchiveWithTextAndContents) {
    DocumentFolder document;
    std::string epub = document.file("report.epub");
    ExportResult result = ExportWithPandoc(kDocument, epub, "epub", document.path());
    ASSERT_TRUE(result.succeeded) << result.errorText;
    EXPECT_TRUE(zipIsSound(epub));
    EXPECT_NE(unzipText(epub, "'*.xhtml'").find("Sales rose in"), std::string::npos);
    EXPECT_NE(unzipText(epub, "'*nav.xhtml'").find("Quarterly Report"), std::string::npos);
}

TEST(PandocExport, RtfHoldsTheText) {
    ScratchFolder folder;
    std::string rtf = folder.file("report.rtf");
    ExportResult result = ExportWithPandoc(kDocument, rtf, "rtf", folder.path());
    ASSERT_TRUE(result.succeeded) << result.errorText;
    std::string text = ReadWholeFile(rtf);
    EXPECT_TRUE(text.starts_with("{\\rtf"));
    EXPECT_NE(text.find("Quarterly Report"), std::string::npos);
    EXPECT_NE(text.find("Sales rose in"), std::string::npos);
}

TEST(PandocExport, FailingPandocLeavesTheOldFileAndNoLeftovers) {
    ScratchFolder home, folder;
    test::Shell("mkdir -p " + ShellQuote(home.file(".local/bin")));
    home.write(".local/bin/pandoc",
               "#!/bin/sh\nif [ \"$1\" = --version ]; then echo 'pandoc 2.17.1.1'; exit 0; fi\n"
               "echo 'pandoc: disk quota exceeded' >&2; echo partial > \"$(echo \"$@\" | sed 's/.*--output //')\"; exit 1\n",
               0755);
    EnvOverride homeVariable("HOME", home.path());
    std::string docx = folder.write("report.docx", "old export");
    ExportResult result = ExportWithPandoc(kDocument, docx, "docx", folder.path());
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.errorText, "pandoc: disk quota exceeded\n");
    EXPECT_EQ(ReadWholeFile(docx), "old export");
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"report.docx"});
}

TEST(PandocExport, MissingPandocIsReportedBeforeAnythingIsWritten) {
    ScratchFolder home, folder;
    EnvOverride homeVariable("HOME", home.path());
    EnvOverride path("PATH", home.path());
    if (LocatePandoc() != "pandoc") GTEST_SKIP() << "a system-wide Pandoc in /usr/local/bin";
    ExportResult result = ExportWithPandoc(kDocument, folder.file("a.docx"), "docx", folder.path());
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.errorText, std::string(kPandocRequired) + " Pandoc was not found.");
    EXPECT_TRUE(test::FolderEntries(folder.path()).empty());
}

TEST(RepeatExportState, StartsEmptyStoreReplacesEverythingAndResetClears) {
    RepeatExportState state;
    EXPECT_FALSE(state.CanRepeat());
    EXPECT_FALSE(RepeatExport(state, kDocument, "").succeeded);
    state.Store(ExportKind::Word, "/a/b.docx", "");
    state.Store(ExportKind::Latex, "/a/b.tex", "Table of Contents");
    EXPECT_TRUE(state.CanRepeat());
    EXPECT_EQ(state.kind(), ExportKind::Latex);
    EXPECT_EQ(state.path(), "/a/b.tex");
    EXPECT_EQ(state.templateChoice(), "Table of Contents");
    state.Reset();
    EXPECT_FALSE(state.CanRepeat());
    EXPECT_EQ(state.kind(), ExportKind::None);
    EXPECT_EQ(state.path(), "");
    EXPECT_EQ(state.templateChoice(), "");
}

TEST(RepeatExportState, RepeatsTheLastStoredExportWithItsTemplate) {
    ScratchFolder folder;
    RepeatExportState state;
    state.Store(ExportKind::Word, folder.file("a.docx"), "");
    state.Store(ExportKind::Latex, folder.file("a.tex"), "Table of Contents");
    ExportResult result = RepeatExport(state, kDocument, folder.file("a.text"), {});
    ASSERT_TRUE(result.succeeded) << result.errorText;
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"a.tex"});
    EXPECT_NE(ReadWholeFile(folder.file("a.tex")).find("\\tableofcontents"), std::string::npos);
}

TEST(ExportWorkingFolder, DocumentsFolderOrProgramFolderWhenUntitled) {
    EXPECT_EQ(ExportWorkingFolder("/home/u/docs/a.text"), "/home/u/docs");
    EXPECT_EQ(ExportWorkingFolder(""), ProgramFolder());
    EXPECT_EQ(ExportWorkingFolder("a.text"), CurrentFolder());
}

}  // namespace
}  // namespace qorva
