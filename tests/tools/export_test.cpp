// The export operations with the real converters, Pandoc and XeLaTeX; every format
// is also run end to end through qorva-convert in export_command_test.cpp.
#include "model/model_json.h"
#include "src/win/tools/converter_host.h"
#include "src/win/tools/export.h"
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/pandoc.h"
#include "src/win/tools/repeat_export.h"
#include "src/win/tools/templates.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

using test::EnvOverride;
using test::ScratchFolder;
using test::Shell;
using test::ShellQuote;

const std::string kDocument =
    R"(["text",["heading",{"level":-3},["plain","Quarterly Report"]],)"
    R"(["para",{"level":0},["plain","Sales rose in "],["emph","every"],["plain"," region."]]])";

TEST(HtmlExport, TemplateAroundTheBodyWithCrLfFromTheWriter) {
    ScratchFolder folder, templates;
    ASSERT_TRUE(ExportHtml(kDocument, folder.file("a.html"), "Default", {}).succeeded);
    std::string file = ReadWholeFile(folder.file("a.html"));
    std::string body = TryWriteHtml(kDocument);
    for (size_t at = 0; (at = body.find('\n', at)) != std::string::npos; at += 2) body.insert(at, "\r");
    std::string_view builtin = BuiltinTemplate("Default.html5").value();
    size_t marker = builtin.find("$body$");
    EXPECT_EQ(file, std::string(builtin.substr(0, marker)) + body + std::string(builtin.substr(marker + 6)));
    templates.write("Plain.html5", "<main>$body$</main>");
    ASSERT_TRUE(ExportHtml(kDocument, folder.file("b.html"), "Plain", {templates.path()}).succeeded);
    std::string plain = ReadWholeFile(folder.file("b.html"));
    EXPECT_TRUE(plain.starts_with("<main>") && plain.ends_with("</main>")) << plain;
}

TEST(HtmlExport, FailuresKeepTheOldFileAndNameThePath) {
    ScratchFolder folder;
    std::string path = folder.write("a.html", "old export");
    ExportResult broken = ExportHtml("[\"text\",[\"para\"", path, "Default", {});
    EXPECT_FALSE(broken.succeeded);
    EXPECT_TRUE(broken.errorText.starts_with(kFormattingError)) << broken.errorText;
    EXPECT_EQ(ReadWholeFile(path), "old export");
    ExportResult missing = ExportHtml(kDocument, "/nonexistent/folder/a.html", "Default", {});
    EXPECT_FALSE(missing.succeeded);
    EXPECT_EQ(missing.errorText, "/nonexistent/folder/a.html: No such file or directory");
}

TEST(PandocExport, FailingPandocLeavesTheOldFileAndNoLeftovers) {
    ScratchFolder home, folder;
    Shell("mkdir -p " + ShellQuote(home.file(".local/bin")));
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

// A document naming a private text file as a picture, a remote picture and a real
// one, with a code block that tries to end its environment and read a file.
std::string hostileDocument(const std::string& secretPath) {
    Json model = Json::array({"text"});
    model.push_back(Json::array({"para", {{"level", 0}}, Json::array({"plain", "Visible text."})}));
    model.push_back(Json::array({"image", {{"level", 0}}, Json::array({"url", secretPath})}));
    model.push_back(Json::array({"image", {{"level", 0}}, Json::array({"url", "http://127.0.0.1:9/remote.png"})}));
    model.push_back(Json::array({"image", {{"level", 0}}, Json::array({"url", "pic.png"})}));
    model.push_back(Json::array({"verbatim", {{"level", 0}}, Json::array({"plain", "code \\end{verbatim}"}),
                                 Json::array({"break", "\n"}), Json::array({"plain", "\\input{" + secretPath + "}"})}));
    return dumpCompact(model);
}

TEST(ExportPictures, PdfTakesOnlyRealPicturesKeepsCodeAsTextAndCleansUp) {
    ScratchFolder documents, temp;
    EnvOverride tmp("TMPDIR", temp.path());
    const std::string secret = documents.write("secret.txt", "QORVASECRETMARKER\n");
    test::WriteTinyPng(documents.file("pic.png"));
    const std::string target = documents.file("out.pdf");
    ExportResult result = ExportPdf(hostileDocument(secret), target, "Default", documents.path(), {});
    ASSERT_TRUE(result.succeeded) << result.errorText;
    const std::string text = test::Squeeze(test::PdfText(target));
    EXPECT_EQ(text.find("QORVASECRETMARKER"), std::string::npos) << text;
    EXPECT_NE(text.find("code \\end{verbatim}"), std::string::npos) << text;
    EXPECT_NE(text.find("\\input{" + secret + "}"), std::string::npos) << text;
    EXPECT_NE(text.find("http://127.0.0.1:9/remote.png"), std::string::npos) << text;
    EXPECT_EQ(Shell("pdfimages -list " + ShellQuote(target) + " | tail -n +3 | wc -l"), "1\n");
    EXPECT_TRUE(test::FolderEntries(temp.path()).empty());
}

TEST(ExportPictures, PandocFormatsEmbedOnlyRealPicturesAndFetchOnlyWhenAllowed) {
    ScratchFolder documents, temp;
    EnvOverride tmp("TMPDIR", temp.path());
    if (!IsPandocUsable()) GTEST_SKIP() << "no usable Pandoc";
    const std::string secret = documents.write("secret.txt", "QORVASECRETMARKER\n");
    test::WriteTinyPng(documents.file("pic.png"));
    for (const char* format : {"docx", "epub"}) {
        const std::string target = documents.file(std::string("out.") + format);
        ExportResult result = ExportWithPandoc(hostileDocument(secret), target, format, documents.path());
        ASSERT_TRUE(result.succeeded) << result.errorText;
        // Pandoc reports every fetch it tries; none is tried without leave.
        EXPECT_EQ(result.warnings.find("127.0.0.1"), std::string::npos) << result.warnings;
        EXPECT_EQ(Shell("unzip -p " + ShellQuote(target) + " | grep -c QORVASECRETMARKER"), "0\n") << format;
        EXPECT_EQ(Shell("unzip -l " + ShellQuote(target) + " | grep -c 'media/.*png'"), "1\n") << format;
        EXPECT_TRUE(test::FolderEntries(temp.path()).empty());
        ExportResult fetching = ExportWithPandoc(hostileDocument(secret), target, format, documents.path(), true);
        EXPECT_NE(fetching.warnings.find("127.0.0.1:9/remote.png"), std::string::npos) << fetching.warnings;
    }
    const std::string rtf = documents.file("out.rtf");
    ASSERT_TRUE(ExportWithPandoc(hostileDocument(secret), rtf, "rtf", documents.path()).succeeded);
    EXPECT_EQ(ReadWholeFile(rtf).find("QORVASECRETMARKER"), std::string::npos);
    EXPECT_NE(ReadWholeFile(rtf).find("\\pngblip"), std::string::npos);
}

TEST(RepeatExport, RepeatsTheLastStoredExportWithItsTemplateAndResetClears) {
    ScratchFolder folder;
    RepeatExportState state;
    EXPECT_FALSE(state.CanRepeat());
    EXPECT_FALSE(RepeatExport(state, kDocument, "").succeeded);
    state.Store(ExportKind::Word, folder.file("a.docx"), "");
    state.Store(ExportKind::Latex, folder.file("a.tex"), "Table of Contents");
    ExportResult result = RepeatExport(state, kDocument, folder.file("a.text"), {});
    ASSERT_TRUE(result.succeeded) << result.errorText;
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"a.tex"});
    std::string tex = ReadWholeFile(folder.file("a.tex"));
    EXPECT_TRUE(tex.starts_with("\\documentclass[10pt]{article}\n"));
    EXPECT_NE(tex.find("\\tableofcontents"), std::string::npos);
    EXPECT_NE(tex.find("\r\n"), std::string::npos);
    state.Reset();
    EXPECT_FALSE(state.CanRepeat());
    EXPECT_EQ(state.path(), "");
}

TEST(ExportWorkingFolder, DocumentsFolderOrProgramFolderWhenUntitled) {
    EXPECT_EQ(ExportWorkingFolder("/home/u/docs/a.text"), "/home/u/docs");
    EXPECT_EQ(ExportWorkingFolder(""), ProgramFolder());
    EXPECT_EQ(ExportWorkingFolder("a.text"), CurrentFolder());
}

}  // namespace
}  // namespace qorva
