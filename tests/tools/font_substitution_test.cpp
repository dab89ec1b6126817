// Fonts a LaTeX template names but the system lacks are swapped for installed ones.
#include "src/win/tools/font_substitution.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(FontLookup, KnowsInstalledAndMissingFamilies) {
    EXPECT_TRUE(IsFontFamilyInstalled("DejaVu Serif"));  // fonts-dejavu is part of the set-up
    EXPECT_TRUE(IsFontFamilyInstalled("dejavu serif"));
    EXPECT_FALSE(IsFontFamilyInstalled("Qorva Imaginary Grotesque"));
    EXPECT_FALSE(IsFontFamilyInstalled(""));
}

TEST(FontLookup, SubstitutesAreInstalledAndMonospacedWhereAsked) {
    std::string main = InstalledSubstitute("Qorva Imaginary Serif", FontRole::Main);
    std::string mono = InstalledSubstitute("Qorva Imaginary Typewriter", FontRole::Mono);
    ASSERT_FALSE(main.empty());
    ASSERT_FALSE(mono.empty());
    EXPECT_TRUE(IsFontFamilyInstalled(main));
    EXPECT_TRUE(IsFontFamilyInstalled(mono));
    EXPECT_NE(mono.find("Mono"), std::string::npos) << mono;
}

TEST(FontSubstitution, MissingFamiliesAreReplacedAndTheRestKept) {
    std::string latex =
        "\\usepackage{xltxtra}\n% select widely available fonts\n"
        "\\setmainfont{Qorva Imaginary Serif}\n\\setmonofont[Scale=0.9]{Qorva Imaginary Typewriter}\n"
        "\\setsansfont{DejaVu Sans}\n\\begin{document}\nBody {braces} stay.\n\\end{document}\n";
    std::string result = SubstituteMissingFonts(latex);
    std::string main = InstalledSubstitute("Qorva Imaginary Serif", FontRole::Main);
    std::string mono = InstalledSubstitute("Qorva Imaginary Typewriter", FontRole::Mono);
    EXPECT_NE(result.find("\\setmainfont{" + main + "}\n"), std::string::npos) << result;
    EXPECT_NE(result.find("\\setmonofont[Scale=0.9]{" + mono + "}\n"), std::string::npos) << result;
    EXPECT_NE(result.find("\\setsansfont{DejaVu Sans}\n"), std::string::npos);
    EXPECT_NE(result.find("Body {braces} stay."), std::string::npos);
    EXPECT_EQ(result.find("Imaginary"), std::string::npos);
}

TEST(FontSubstitution, TextNamingInstalledFontsIsUnchanged) {
    std::string latex = "\\setmainfont{DejaVu Serif}\n\\setmonofont{DejaVu Sans Mono}\n$body$\n";
    EXPECT_EQ(SubstituteMissingFonts(latex), latex);
    EXPECT_EQ(SubstituteMissingFonts("no font commands at all"), "no font commands at all");
}

}  // namespace
}  // namespace qorva
