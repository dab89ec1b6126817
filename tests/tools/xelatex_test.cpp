// XeLaTeX: finding it and typesetting real documents. XeLaTeX runs take seconds,
// so each test here checks several things about one run.
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/xelatex.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace qorva {
namespace {

using test::EnvOverride;
using test::ScratchFolder;

TEST(XeLaTeXLocation, NewestTeXLiveInstallationWinsAndWithoutOneThePathIsSearched) {
    ScratchFolder root;
    for (auto year : {"2021", "2023", "2022", "2024"}) {
        test::Shell("mkdir -p " + test::ShellQuote(root.path() + "/" + year + "/bin/x86_64-linux"));
        if (year != std::string("2024"))  // 2024 holds no xelatex
            root.write(std::string(year) + "/bin/x86_64-linux/xelatex", "#!/bin/sh\n", 0755);
    }
    EXPECT_EQ(LocateTeXFolder(root.path()), root.path() + "/2023/bin/x86_64-linux/");
    ScratchFolder empty;
    EXPECT_EQ(LocateTeXFolder(empty.path()), "");
    EXPECT_EQ(LocateTeXFolder("/nonexistent/texlive"), "");
}

TEST(XeLaTeXAvailability, InstalledXeLaTeXIsFoundAndAMissingOneReported) {
    EXPECT_TRUE(IsXeLaTeXAvailable());
    ScratchFolder empty;
    EnvOverride path("PATH", empty.path());
    if (!LocateTeXFolder().empty()) GTEST_SKIP() << "a TeX Live installation outside PATH";
    EXPECT_FALSE(IsXeLaTeXAvailable());
}

const char* kTemplateFonts = "\\documentclass{article}\n\\pagestyle{empty}\n\\usepackage{fontspec}\n\\usepackage{graphicx}\n"
                             "\\setmainfont{Georgia}\n\\setmonofont{Courier New}\n";

TEST(XeLaTeXExport, TypesetsTextAndImagesInTheWorkFolderDespiteRecoverableErrors) {
    ScratchFolder documentFolder;
    test::WriteTinyPng(documentFolder.file("pic.png"));
    std::string latex = std::string(kTemplateFonts) +
                        "\\begin{document}\nQuarterly figures in \\texttt{mono type}.\n\n"
                        // An undefined command is a recoverable error: the PDF still comes out.
                        "Before \\undefinedqorvamacro after.\n\n"
                        "\\includegraphics{pic.png}\n\\end{document}\n";
    std::string target = documentFolder.file("out.pdf");
    std::string error;
    ASSERT_TRUE(ExportPdfViaXeLaTeX(latex, target, documentFolder.path(), error)) << error;
    EXPECT_EQ(error, "");
    // The fonts named are missing on a stock system; the text must still be there.
    EXPECT_EQ(test::Squeeze(test::PdfText(target)), "Quarterly figures in mono type. Before after.");
    EXPECT_EQ(test::Shell("pdfimages -list " + test::ShellQuote(target) + " | tail -n +3 | wc -l"), "1\n");
}

TEST(XeLaTeXExport, EmptyPdfLeftByACrashedDriverIsAFailure) {
    ScratchFolder folder;
    // A PNG with a broken checksum makes the PDF driver abort after XeLaTeX has
    // created an empty x.pdf.
    test::Shell("printf %s iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVQI12P4z8AAAAMBAQDJ/pLvAAAAAElFTkSuQmCC"
                " | base64 -d > " + test::ShellQuote(folder.file("broken.png")));
    std::string latex = "\\documentclass{article}\n\\usepackage{graphicx}\n\\begin{document}\nText\n\n"
                        "\\includegraphics{broken.png}\n\\end{document}\n";
    std::string error;
    EXPECT_FALSE(ExportPdfViaXeLaTeX(latex, folder.file("out.pdf"), folder.path(), error));
    EXPECT_EQ(error.substr(0, 33), "Export to PDF via XeLaTeX failed.");
    EXPECT_FALSE(FileExists(folder.file("out.pdf")));
}

TEST(XeLaTeXExport, TargetThatCannotBeReplacedGivesTheSystemMessage) {
    ScratchFolder folder;
    ASSERT_EQ(mkdir(folder.file("out.pdf").c_str(), 0755), 0);
    std::string error;
    EXPECT_FALSE(ExportPdfViaXeLaTeX("\\documentclass{article}\n\\begin{document}\nx\n\\end{document}\n",
                                     folder.file("out.pdf"), folder.path(), error));
    EXPECT_EQ(error, "Is a directory");
}

// TeX in the document (math is passed through as TeX) may not read files outside
// the work folder, nor run commands: the PDF comes out without them.
TEST(XeLaTeXExport, DocumentTeXCannotReadOutsideTheWorkFolderNorRunCommands) {
    ScratchFolder outside, work;
    const std::string secret = outside.write("secret.tex", "QORVASECRETMARKER\n");
    const std::string ran = outside.file("ran");
    const std::string latex = "\\documentclass{article}\n\\pagestyle{empty}\n\\begin{document}\nStart\n"
                              "\\newread\\r\\openin\\r=" + secret + " \\ifeof\\r\\else\\read\\r to\\x \\x\\fi\n"
                              "\\immediate\\write18{touch " + ran + "}\n"
                              "\\IfFileExists{" + secret + "}{\\input{" + secret + "}}{}\n"
                              "\\IfFileExists{../" + test::Shell("basename " + test::ShellQuote(outside.path()) +
                              " | tr -d '\\n'") + "/secret.tex}{FOUND}{}\nEnd\n\\end{document}\n";
    // Without the sandbox the same source reads the file, so the check below means something.
    test::Shell("cd " + test::ShellQuote(work.path()) + " && printf '%s' " + test::ShellQuote(latex) +
                " > plain.tex && xelatex -interaction nonstopmode plain.tex >/dev/null 2>&1");
    ASSERT_NE(test::PdfText(work.file("plain.pdf")).find("QORVASECRETMARKER"), std::string::npos);

    const std::string target = outside.file("out.pdf");
    std::string error;
    ASSERT_TRUE(ExportPdfViaXeLaTeX(latex, target, work.path(), error)) << error;
    EXPECT_EQ(test::Squeeze(test::PdfText(target)), "Start End");
    EXPECT_FALSE(FileExists(ran));
}

}  // namespace
}  // namespace qorva
