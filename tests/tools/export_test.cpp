// The export operations with the real converters, Pandoc and XeLaTeX; every format
// is also run end to end through qorva-convert in export_command_test.cpp.
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
    std::string body = WriteHtml(kDocument);
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
    EXPECT_EQ(state.kind(), ExportKind::None);
    EXPECT_EQ(state.path(), "");
    EXPECT_EQ(state.templateChoice(), "");
}

TEST(ExportWorkingFolder, DocumentsFolderOrProgramFolderWhenUntitled) {
    EXPECT_EQ(ExportWorkingFolder("/home/u/docs/a.text"), "/home/u/docs");
    EXPECT_EQ(ExportWorkingFolder(""), ProgramFolder());
    EXPECT_EQ(ExportWorkingFolder("a.text"), CurrentFolder());
}

}  // namespace
}  // namespace qorva
