// XeLaTeX: finding it, the fonts templates name, and typesetting real documents.
// XeLaTeX runs take seconds, so each test here checks several things about one run.
#include "tools/files/file_io.h"
#include "tools/xelatex/font_substitution.h"
#include "tools/xelatex/xelatex.h"
#include "tests/tools/tool_test_support.h"
#include <gtest/gtest.h>

namespace qorva {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

TEST(XeLaTeXLocation, NewestTeXLiveInstallationWinsWithoutOneThePathIsSearchedAndAMissingOneIsReported) {
    TempFolder root, empty;
    for (std::string year : {"2021", "2023", "2022", "2024"}) {
        std::filesystem::create_directories(root / (year + "/bin/x86_64-linux"));
        if (year != "2024") root.Write(year + "/bin/x86_64-linux/xelatex", "#!/bin/sh\n", 0755);  // 2024 holds none
    }
    EXPECT_EQ(LocateTeXFolder(root.path()), root.path().string() + "/2023/bin/x86_64-linux/");
    for (const std::string& none : {empty.path().string(), std::string("/nonexistent/texlive")}) EXPECT_EQ(LocateTeXFolder(none), "");
    EXPECT_TRUE(IsXeLaTeXAvailable());
    ScopedEnv path("PATH", empty.path());
    if (!LocateTeXFolder().empty()) GTEST_SKIP() << "a TeX Live installation outside PATH";
    EXPECT_FALSE(IsXeLaTeXAvailable());
}

const char* kTemplateFonts = "\\documentclass{article}\n\\pagestyle{empty}\n\\usepackage{fontspec}\n\\usepackage{graphicx}\n"
                             "\\setmainfont{Georgia}\n\\setmonofont{Courier New}\n";

TEST(XeLaTeXExport, TypesetsTextAndImagesInTheWorkFolderDespiteRecoverableErrors) {
    TempFolder documentFolder;
    test::WriteTinyPng(documentFolder.File("pic.png"));
    std::string latex = std::string(kTemplateFonts) +
                        "\\begin{document}\nQuarterly figures in \\texttt{mono type}.\n\n"
                        // An undefined command is a recoverable error: the PDF still comes out.
                        "Before \\undefinedqorvamacro after.\n\n"
                        "\\includegraphics{pic.png}\n\\end{document}\n";
    std::string target = documentFolder.File("out.pdf");
    std::string error;
    ASSERT_TRUE(ExportPdfViaXeLaTeX(latex, target, documentFolder.path(), error)) << error;
    EXPECT_EQ(error, "");
    // The fonts named are missing on a stock system; the text must still be there.
    EXPECT_EQ(test::Squeeze(test::PdfText(target)), "Quarterly figures in mono type. Before after.");
    EXPECT_EQ(test::PdfImageCount(target), "1\n");
}

TEST(XeLaTeXExport, EmptyPdfLeftByACrashedDriverIsAFailureAndLeavesNothingInTheTemporaryFolder) {
    TempFolder folder, temporaries;
    ScopedEnv tmp("TMPDIR", temporaries.path());
    // A PNG with a broken checksum makes the PDF driver abort after XeLaTeX has created an empty x.pdf.
    test::Shell("printf %s iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVQI12P4z8AAAAMBAQDJ/pLvAAAAAElFTkSuQmCC"
                " | base64 -d > " + test::ShellQuote(folder.File("broken.png")));
    std::string latex = "\\documentclass{article}\n\\usepackage{graphicx}\n\\begin{document}\nText\n\n"
                        "\\includegraphics{broken.png}\n\\end{document}\n";
    std::string error;
    EXPECT_FALSE(ExportPdfViaXeLaTeX(latex, folder.File("out.pdf"), folder.path(), error));
    EXPECT_EQ(error.substr(0, 33), "Export to PDF via XeLaTeX failed.");
    EXPECT_FALSE(FileExists(folder.File("out.pdf")));
    // The driver's own temporary files went into the work folder, not the user's.
    EXPECT_EQ(test::FolderEntries(temporaries.path()), std::vector<std::string>{});
}

// TeX in the document (math is passed through as TeX) may not read files outside
// the work folder, nor run commands: the PDF comes out without them.
TEST(XeLaTeXExport, DocumentTeXCannotReadOutsideTheWorkFolderNorRunCommands) {
    TempFolder outside, work;
    const std::string secret = outside.Write("secret.tex", "QORVASECRETMARKER\n");
    const std::string ran = outside.File("ran");
    const std::string latex = "\\documentclass{article}\n\\pagestyle{empty}\n\\begin{document}\nStart\n"
                              "\\newread\\r\\openin\\r=" + secret + " \\ifeof\\r\\else\\read\\r to\\x \\x\\fi\n"
                              "\\immediate\\write18{touch " + ran + "}\n"
                              "\\IfFileExists{" + secret + "}{\\input{" + secret + "}}{}\n"
                              "\\IfFileExists{../" + outside.path().filename().string() + "/secret.tex}{FOUND}{}\nEnd\n\\end{document}\n";
    // Without the sandbox the same source reads the file, so the check below means something.
    test::Shell("cd " + test::ShellQuote(work.path()) + " && printf '%s' " + test::ShellQuote(latex) +
                " > plain.tex && xelatex -interaction nonstopmode plain.tex >/dev/null 2>&1");
    ASSERT_NE(test::PdfText(work.File("plain.pdf")).find("QORVASECRETMARKER"), std::string::npos);
    const std::string target = outside.File("out.pdf");
    std::string error;
    ASSERT_TRUE(ExportPdfViaXeLaTeX(latex, target, work.path(), error)) << error;
    EXPECT_EQ(test::Squeeze(test::PdfText(target)), "Start End");
    EXPECT_FALSE(FileExists(ran));
}

// Fonts a LaTeX template names but the system lacks are swapped for installed ones.
TEST(FontSubstitution, MissingFamiliesAreReplacedByInstalledOnesAndTheRestKept) {
    std::string latex =
        "\\usepackage{xltxtra}\n% select widely available fonts\n"
        "\\setmainfont{Qorva Imaginary Serif}\n\\setmonofont[Scale=0.9]{Qorva Imaginary Typewriter}\n"
        "\\setsansfont{DejaVu Sans}\n\\begin{document}\nBody {braces} stay.\n\\end{document}\n";
    std::string result = SubstituteMissingFonts(latex);
    std::string main = InstalledSubstitute("Qorva Imaginary Serif", FontRole::Main);
    std::string mono = InstalledSubstitute("Qorva Imaginary Typewriter", FontRole::Mono);
    for (const std::string& family : {main, mono}) EXPECT_TRUE(IsFontFamilyInstalled(family)) << family;
    EXPECT_NE(mono.find("Mono"), std::string::npos) << mono;
    EXPECT_NE(result.find("\\setmainfont{" + main + "}\n"), std::string::npos) << result;
    EXPECT_NE(result.find("\\setmonofont[Scale=0.9]{" + mono + "}\n"), std::string::npos) << result;
    for (const char* kept : {"\\setsansfont{DejaVu Sans}\n", "Body {braces} stay."})
        EXPECT_NE(result.find(kept), std::string::npos) << kept;
    EXPECT_EQ(result.find("Imaginary"), std::string::npos);
    std::string installed = "\\setmainfont{DejaVu Serif}\n\\setmonofont{DejaVu Sans Mono}\n$body$\n";
    EXPECT_EQ(SubstituteMissingFonts(installed), installed);
}

}  // namespace
}  // namespace qorva
