// The LaTeX writer's output typeset by the installed XeLaTeX in the built-in
// template: every construct must compile, including the footnote inside a
// footnote and URLs holding characters special to LaTeX.
#include "convert/converters.h"
#include "tools/files/file_io.h"
#include "tools/xelatex/font_substitution.h"
#include "tools/process/process_runner.h"
#include "tools/templates/templates.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

// A 1x1 PNG, so \includegraphics finds a real image.
const unsigned char kPixelPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00,
    0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF,
    0x89, 0x99, 0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

TEST(LatexTypesetting, EveryConstructCompiles) {
    std::string output, folder;
    ASSERT_TRUE(RunProcess("xelatex --version", "", "", "", output))
        << "XeLaTeX is not installed here (scripts/setup.sh installs it)";
    ASSERT_TRUE(MakeTempFolder(folder));
    const std::string body = WriteLatex(R"(["text",
        ["heading",{"level":-3},["plain","Title with 100% & #1"]],
        ["heading",{"level":-2,"direction":"rtl"},["plain","Second "],["strike","struck"],["sub","down"]],
        ["heading",{"level":-1},["plain","Third"]],["heading",{"level":0},["plain","Fourth "],["strike","struck"],["sup","up"]],
        ["heading",{"level":1},["plain","Fifth"]],["heading",{"level":2},["plain","Sixth"]],
        ["para",{"level":0},["plain","Text with \\ ^ ~ _ { } $ "],["emph","emph"],["strong","strong"],["code","a_b%c"],
            ["math","x^2_i"],["break","\n"],["linktext","inline"],["url","http://x.org/a%20b#frag{}"],["plain"," "],
            ["linktext","reference"],["linkref","r"],["plain"," "],["url","http://y.org/~user_name"],["noteref","outer"],
            ["strike","struck"],["sup","up"],["sub","down"],["tex","\\TeX{} \\emph{raw}"],["html","<b>"]],
        ["term",{"level":0},["plain","Term [1]"]],["definition",{"level":0},["plain","Definition"]],
        ["bulleted",{"level":1},["plain","inside"]],["definition",{"level":0},["plain","Second"]],
        ["tex",{"level":0},["plain","\\begin{center}"],["break","\n"],["plain","centred \\write18{x}"],["break","\n"],["plain","\\end{center}"]],
        ["link",{"level":0},["linkref","r"],["url","http://z.org/?q=1&r=2"]],
        ["note",{"level":0},["noteref","inner"],["plain","Inner note."]],
        ["note",{"level":0},["noteref","outer"],["plain","Outer note "],["noteref","inner"],["plain","."]],
        ["bulleted",{"level":0},["plain","one"]],["bulleted",{"level":1},["plain","nested"]],
        ["numbered",{"level":2},["plain","deeper"]],["para",{"level":1},["plain","continuation"]],
        ["numbered",{"level":0},["plain","numbered"]],
        ["quote",{"level":0},["plain","quoted"]],
        ["verbatim",{"level":0},["plain","code {with} \\ specials % #"],["break","\n"],["plain","  second"]],
        ["formula",{"level":0},["plain","E = mc^2"]],
        ["image",{"level":0},["url","pixel.png"]],["image",{"level":0,"alt":"A 100% pixel"},["url","pixel.png"]],
        ["verbatim",{"level":0,"info":"python"},["plain","print 1"]],
        ["divider",{"level":0}],
        ["row",{"level":1},["plain","a"]],["col",{"level":2},["strong","b"]],
        ["row",{"level":1},["plain","a long cell that makes the column wider than the others"]],["col",{"level":2}]])",
                                        nullptr);
    WriteWholeFile(folder + "/pixel.png", std::string_view(reinterpret_cast<const char*>(kPixelPng), sizeof kPixelPng));
    std::string document = SubstituteMissingFonts(*BuiltinTemplate("Table of Contents.xelatex"));
    document.replace(document.find("$body$"), 6, body);
    document.insert(document.find("\\begin{document}"), "\\newenvironment{RTL}{}{}\n");
    WriteWholeFile(folder + "/doc.tex", document);
    // The second run reads the headings back from the table of contents.
    const char* run = "xelatex -interaction=nonstopmode -halt-on-error doc.tex";
    const bool ran = RunProcess(run, folder, "", "", output) && RunProcess(run, folder, "", "", output);
    const bool madePdf = FileExists(folder + "/doc.pdf");
    RemoveTempFolder(folder);
    EXPECT_TRUE(ran && madePdf) << body << "\n----\n" << output;
}

}  // namespace
}  // namespace qorva::convert
