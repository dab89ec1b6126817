// The export operations with the real converters, Pandoc and XeLaTeX; every format
// is also run end to end through qorva-convert in export_command_test.cpp.
#include "model/model_json.h"
#include "tools/converter_host/converter_host.h"
#include "tools/export/export.h"
#include "tools/export/export_formats.h"
#include "tools/files/file_io.h"
#include "tools/pandoc/pandoc.h"
#include "tools/templates/templates.h"
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

// User templates and where they are found are templates_test.cpp's. The page
// in a browser without network is tests/page/export-offline.test.mjs's.
TEST(HtmlExport, APageThatNeedsNothingFromElsewhere) {
    TempFolder documents, pages;
    test::WriteTinyPng(documents.File("a b.png"));
    const std::string model = R"(["text",["heading",{"level":-3},["plain","R&D <b>\"x\"</b> "],["emph","plan"]],)"
                              R"(["para",{"level":0},["plain","Area "],["math","\\pi r^2 < 1"],["math","\\frac{"],["math","\\newcommand{\\b}{xx}\\b"]],)"
                              R"(["formula",{"level":0},["plain","\\sum_i i"]],["image",{"level":0},["url","a b.png"]],)"
                              R"j(["verbatim",{"level":0,"info":"python"},["plain","print(\"<hr />\")"]],)j"
                              R"(["verbatim",{"level":0,"info":"nolanguage"},["plain","x"]]])";
    const std::string page = pages.File("page.html");
    ASSERT_TRUE(ExportHtml(model, page, "Default", {}, {documents.path(), "de_DE"}).succeeded);
    const std::string html = ReadWholeFile(page);
    for (const std::string& part :
         {std::string("<html lang=\"de-DE\">"), std::string("<title>R&amp;D &lt;b&gt;&quot;x&quot;&lt;/b&gt; plan</title>"),
          std::string("<style>\r\n"), std::string("code span.bu {"), std::string("<span class=\"bu\">print</span>"),
          std::string("<math display=\"block\""), std::string("\\(\\frac{\\)\\(\\newcommand{\\b}{xx}\\b\\)"),
          std::string("<code class=\"language-nolanguage\">x\r\n"),
          "<img src=\"../" + documents.path().filename().string() + "/a%20b.png\">"})
        EXPECT_NE(html.find(part), std::string::npos) << part << " in " << html;
    EXPECT_EQ(test::Shell("grep -o '<math display=\"inline\"' " + ShellQuote(page) + " | wc -l"), "1\n");
    EXPECT_LT(html.find("</style>"), html.find("</head>"));
    // Pictures inside the page, and a title from the file name without a heading.
    ASSERT_TRUE(ExportHtml(R"(["text",["image",{"level":0},["url","a b.png"]]])", page, "Bootstrap", {},
                           {documents.path(), "", true}).succeeded);
    const std::string embedded = ReadWholeFile(page);
    EXPECT_NE(embedded.find("<img src=\"data:image/png;base64,iVBORw0KGgo"), std::string::npos) << embedded;
    EXPECT_NE(embedded.find("<title>page</title>"), std::string::npos);
    EXPECT_NE(embedded.find("lang=\"en-US\""), std::string::npos);
}

TEST(ExportMetadata, TitlesAndLanguageTags) {
    for (auto [model, title] : {std::pair{R"(["text",["para",{"level":0},["plain","p"]],["heading",{"level":-1}],)"
                                          R"(["heading",{"level":-2},["plain"," A\n "],["noteref","1"],["break","\n"],["code","b"]]])", "A b"},
                                {R"(["text",["para",{"level":0},["plain","no heading"]]])", "notes.v2"},
                                {R"(["text",["heading")", "notes.v2"}})
        EXPECT_EQ(ExportTitle(model, "/x/notes.v2.pdf"), title) << model;
    // Set before a table of contents can fill the first page, which takes the PDF's information with it.
    TempFolder folder;
    ASSERT_TRUE(ExportLatex(R"(["text"])", folder.File("a.tex"), "Table of Contents", {}, "de_CH").succeeded);
    const std::string tex = ReadWholeFile(folder.File("a.tex"));
    EXPECT_LT(tex.find("\\hypersetup{pdftitle={a}}\\fi\n\\ifdefined\\XeTeXversion\\special{pdf:put @catalog << /Lang (de-CH) >>}"),
              tex.find("\\tableofcontents"));
    for (auto [setting, tag] : {std::pair{"en_US", "en-US"}, {"de", "de"}, {"", "en-US"}, {"x", "en-US"},
                                {"en_US) >>", "en-US"}, {"pt-BR-", "en-US"}})
        EXPECT_EQ(LanguageTag(setting), tag) << setting;
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
    const std::string title = "T}\\input{" + secret + "}\\special{x} \"<&>";
    const std::string hostile = R"(["text",["heading",{"level":-3},["plain",)" + Json(title).dump() + R"(]],)"
                                R"(["para",{"level":0},["plain","Visible text."]],["image",{"level":0},["url",)" +
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
    EXPECT_EQ(test::Shell("pdfinfo " + ShellQuote(target) + " | sed -n 's/^Title: *//p'"), title + "\n");
    const std::string inflated = test::PdfInflated(target);
    EXPECT_NE(inflated.find("/Lang(en-US)"), std::string::npos);
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
        // The title and language in the package, escaped; the EPUB passes the checker.
        const std::string described = Shell("unzip -p " + ShellQuote(target) + " docProps/core.xml EPUB/content.opf "
                                            "word/styles.xml | grep -o '<dc:title[^<]*\\|<dc:language>[^<]*\\|w:lang [^/]*'");
        const std::string xmlTitle = test::Shell("printf %s " + ShellQuote(title) + " | sed 's/&/\\&amp;/g; s/</\\&lt;/g; "
                                                 "s/>/\\&gt;/g; s/\"/\\&quot;/g'");
        EXPECT_NE(described.find(">" + xmlTitle + "\n"), std::string::npos) << described;
        EXPECT_NE(described.find(format == std::string("epub") ? "<dc:language>en-US" : "w:val=\"en-US\""), std::string::npos);
        if (format == std::string("docx"))  // the title block stands in for the heading that gave it
            EXPECT_EQ(Shell("unzip -p " + ShellQuote(target) + " word/document.xml | grep -o 'w:val=\"\\(Title\\|Heading1\\)\"'"),
                      "w:val=\"Title\"\n");
        else
            EXPECT_NE(Shell("java -jar /usr/bin/epubcheck " + ShellQuote(target) + " 2>&1").find("0 fatals / 0 errors / 0 warnings"),
                      std::string::npos) << Shell("java -jar /usr/bin/epubcheck " + ShellQuote(target) + " 2>&1");
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
