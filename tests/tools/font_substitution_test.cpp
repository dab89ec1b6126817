// Fonts a LaTeX template names but the system lacks are swapped for installed ones.
#include "src/win/tools/font_substitution.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(FontLookup, KnowsInstalledFamiliesAndOffersInstalledMonospacedSubstitutes) {
    EXPECT_TRUE(IsFontFamilyInstalled("dejavu serif"));  // fonts-dejavu is part of the set-up
    EXPECT_FALSE(IsFontFamilyInstalled("Qorva Imaginary Grotesque"));
    EXPECT_FALSE(IsFontFamilyInstalled(""));
    std::string mono = InstalledSubstitute("Qorva Imaginary Typewriter", FontRole::Mono);
    EXPECT_TRUE(IsFontFamilyInstalled(mono)) << mono;
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
    ASSERT_TRUE(IsFontFamilyInstalled(main)) << main;
    EXPECT_NE(result.find("\\setmainfont{" + main + "}\n"), std::string::npos) << result;
    EXPECT_NE(result.find("\\setmonofont[Scale=0.9]{" + mono + "}\n"), std::string::npos) << result;
    EXPECT_NE(result.find("\\setsansfont{DejaVu Sans}\n"), std::string::npos);
    EXPECT_NE(result.find("Body {braces} stay."), std::string::npos);
    EXPECT_EQ(result.find("Imaginary"), std::string::npos);
    std::string installed = "\\setmainfont{DejaVu Serif}\n\\setmonofont{DejaVu Sans Mono}\n$body$\n";
    EXPECT_EQ(SubstituteMissingFonts(installed), installed);
}

}  // namespace
}  // namespace qorva
