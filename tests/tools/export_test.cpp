// The export operations with the real converters, Pandoc and XeLaTeX; every format
// is also run end to end through qorva-convert in export_command_test.cpp.
#include "model/model_json.h"
#include "src/win/tools/converter_host.h"
#include "src/win/tools/export.h"
#include "src/win/tools/export_formats.h"
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/pandoc.h"
#include "src/win/tools/templates.h"
#include "tests/tools/tool_test_support.h"
#include <gtest/gtest.h>

namespace qorva {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;
using test::Shell;
using test::ShellQuote;

const std::string kDocument =
    R"(["text",["heading",{"level":-3},["plain","Quarterly Report"]],)"
    R"(["para",{"level":0},["plain","Sales rose in "],["emph","every"],["plain"," region."]]])";

// User templates and where they are found are templates_test.cpp's.
TEST(HtmlExport, TemplateAroundTheBodyWithCrLfFromTheWriter) {
    TempFolder folder;
    ASSERT_TRUE(ExportHtml(kDocument, folder.File("a.html"), "Default", {}).succeeded);
    std::string file = ReadWholeFile(folder.File("a.html"));
    std::string body = TryWriteHtml(kDocument);
    for (size_t at = 0; (at = body.find('\n', at)) != std::string::npos; at += 2) body.insert(at, "\r");
    std::string_view builtin = BuiltinTemplate("Default.html5").value();
    size_t marker = builtin.find("$body$");
    EXPECT_EQ(file, std::string(builtin.substr(0, marker)) + body + std::string(builtin.substr(marker + 6)));
}

TEST(HtmlExport, FailuresKeepTheOldFileAndNameThePath) {
    TempFolder folder;
    std::string path = folder.Write("a.html", "old export");
    ExportResult broken = ExportHtml("[\"text\",[\"para\"", path, "Default", {});
    EXPECT_TRUE(!broken.succeeded && broken.errorText.starts_with(kFormattingError)) << broken.errorText;
    EXPECT_EQ(ReadWholeFile(path), "old export");
    ExportResult missing = ExportHtml(kDocument, "/nonexistent/folder/a.html", "Default", {});
    EXPECT_EQ(std::tuple(missing.succeeded, missing.errorText),
              std::tuple(false, std::string("/nonexistent/folder/a.html: No such file or directory")));
}

TEST(PandocExport, FailingPandocLeavesTheOldFileAndNoLeftovers) {
    test::FakePandocHome fake("pandoc 2.17.1.1", "echo 'pandoc: disk quota exceeded' >&2; "
                                                  "echo partial > \"$(echo \"$@\" | sed 's/.*--output //')\"; exit 1");
    TempFolder folder;
    std::string docx = folder.Write("report.docx", "old export");
    ExportResult result = ExportWithPandoc(kDocument, docx, "docx", folder.path());
    EXPECT_EQ(std::tuple(result.succeeded, result.errorText),
              std::tuple(false, std::string("pandoc: disk quota exceeded\n")));
    EXPECT_EQ(ReadWholeFile(docx), "old export");
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"report.docx"});
}

TEST(PandocExport, MissingPandocHasNoVersionAndIsReportedBeforeAnythingIsWritten) {
    TempFolder home, folder;
    ScopedEnv homeVariable("HOME", home.path());
    ScopedEnv path("PATH", home.path());
    if (LocatePandoc() != "pandoc") GTEST_SKIP() << "a system-wide Pandoc in /usr/local/bin";
    EXPECT_EQ(PandocVersion(), "");
    EXPECT_FALSE(IsPandocUsable());
    std::string output = "unchanged";
    EXPECT_FALSE(PandocToJson("# x", "markdown", output));
    EXPECT_EQ(output, "unchanged");
    ExportResult result = ExportWithPandoc(kDocument, folder.File("a.docx"), "docx", folder.path());
    EXPECT_EQ(std::tuple(result.succeeded, result.errorText),
              std::tuple(false, std::string(kPandocRequired) + " Pandoc was not found."));
    EXPECT_TRUE(test::FolderEntries(folder.path()).empty());
}

// A document naming a private text file as a picture, a remote picture and a real
// one, with a code block that tries to end its environment and read a file, math
// that tries to copy the file into the PDF and add actions to it, and a script link.
class ExportPictures : public ::testing::Test {
protected:
    TempFolder documents, temp;
    ScopedEnv tmp{"TMPDIR", temp.path()};
    const std::string secret = documents.Write("secret.txt", "QORVASECRETMARKER\n");
    const std::string pic = test::WriteTinyPng(documents.File("pic.png"));
    const std::string hostile = R"(["text",["para",{"level":0},["plain","Visible text."]],["image",{"level":0},["url",)" +
                                Json(secret).dump() + R"(]],["image",{"level":0},["url","http://127.0.0.1:9/remote.png"]],)"
                                R"(["image",{"level":0},["url","pic.png"]],["verbatim",{"level":0},["plain","code \\end{verbatim}"],)"
                                R"(["break","\n"],["plain",)" + Json("\\input{" + secret + "}").dump() + "]],"
                                R"(["para",{"level":0},["math",)" + Json("\\special{pdf:fstream @s (" + secret + ")}"
                                "\\special{pdf:obj @h << /S @s >>}\\special{pdf:put @catalog << /Holder @h "
                                "/OpenAction << /S /JavaScript /JS (app.alert(1)) >> >>}\\special{pdf:ann width 9pt height 9pt "
                                "<< /Type /Annot /Subtype /Link /A << /S /Launch /F (x) >> >>}x").dump() +
                                R"j(],["linktext","t"],["url","javascript:alert(2)"]]])j";
};

TEST_F(ExportPictures, PdfTakesOnlyRealPicturesKeepsCodeAsTextAndCleansUp) {
    const std::string target = documents.File("out.pdf");
    ExportResult result = ExportPdf(hostile, target, "Default", documents.path(), {});
    ASSERT_TRUE(result.succeeded) << result.errorText;
    const std::string text = test::Squeeze(test::PdfText(target));
    EXPECT_EQ(text.find("QORVASECRETMARKER"), std::string::npos) << text;
    for (const std::string& shown :
         {std::string("code \\end{verbatim}"), "\\input{" + secret + "}", std::string("http://127.0.0.1:9/remote.png")})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in " << text;
    EXPECT_EQ(test::PdfImageCount(target), "1\n");
    const std::string inflated = test::PdfInflated(target);
    for (const char* absent : {"QORVASECRETMARKER", "/JavaScript", "/Launch", "javascript:"})
        EXPECT_EQ(inflated.find(absent), std::string::npos) << absent;
    EXPECT_TRUE(test::FolderEntries(temp.path()).empty());
}

TEST_F(ExportPictures, PandocFormatsEmbedOnlyRealPicturesAndFetchOnlyWhenAllowed) {
    ASSERT_TRUE(IsPandocUsable()) << "Pandoc is needed (scripts/setup.sh installs it)";
    for (const char* format : {"docx", "epub"}) {
        const std::string target = documents.File(std::string("out.") + format);
        ExportResult result = ExportWithPandoc(hostile, target, format, documents.path());
        ASSERT_TRUE(result.succeeded) << result.errorText;
        // Pandoc reports every fetch it tries; none is tried without leave.
        EXPECT_EQ(result.warnings.find("127.0.0.1"), std::string::npos) << result.warnings;
        EXPECT_EQ(Shell("unzip -p " + ShellQuote(target) + " | grep -c QORVASECRETMARKER"), "0\n") << format;
        EXPECT_EQ(Shell("unzip -l " + ShellQuote(target) + " | grep -c 'media/.*png'"), "1\n") << format;
        EXPECT_TRUE(test::FolderEntries(temp.path()).empty());
        ExportResult fetching = ExportWithPandoc(hostile, target, format, documents.path(), true);
        EXPECT_NE(fetching.warnings.find("127.0.0.1:9/remote.png"), std::string::npos) << fetching.warnings;
    }
    const std::string rtf = documents.File("out.rtf");
    ASSERT_TRUE(ExportWithPandoc(hostile, rtf, "rtf", documents.path()).succeeded);
    EXPECT_EQ(ReadWholeFile(rtf).find("QORVASECRETMARKER"), std::string::npos);
    EXPECT_NE(ReadWholeFile(rtf).find("\\pngblip"), std::string::npos);
}

TEST(ExportPaths, WorkInTheDocumentsFolderOrTheProgramsWhenUntitledAndProposeTheFormatsExtension) {
    EXPECT_EQ(ExportWorkingFolder(""), ProgramFolder());
    EXPECT_EQ(ExportWorkingFolder("a.text"), CurrentFolder());
    // A leading dot names a hidden file, not an extension.
    for (auto [path, extension, proposed] : {std::tuple{"/docs/a.b.text", ".html", "/docs/a.b.html"},
                                             {"/my.docs/.notes", ".rtf", "/my.docs/.notes.rtf"}, {"", ".pdf", ""}})
        EXPECT_EQ(ProposedExportPath(path, extension), proposed) << path;
}

}  // namespace
}  // namespace qorva
