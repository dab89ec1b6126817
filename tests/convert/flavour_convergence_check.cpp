// Opening and saving in a Markdown flavour without any edit changes the document at
// most once: the second save equals the first and so do the models read from them.
#include "model/model_json.h"
#include "tests/convert/flavour_saves.h"

#include <gtest/gtest.h>

namespace qorva::convert {
namespace {

struct Case {
    const char* name;
    const char* markdown;
    const char* firstModelHolds;  // a piece of the model after the first open
    bool normalForm = false;      // the first save is Pandoc's own normal form of the text
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const Case kCases[] = {
    {"Citations", "As shown [@item1] and [@a; -@b], [see @doe, p. 33; also -@roe]; @doe99 [p. 4] says so.\n",
     "[\"plain\",\"As shown [@item1] and [@a; -@b], [see @doe, p.\u00A033; also -@roe]; @doe99 [p.\u00A04] says so.\"]"},
    {"HeadingsFourToSix", "#### Four\n\n##### Five\n\n###### Six\n",
     R"(["heading",{"level":0},["plain","Four"]],["heading",{"level":1},["plain","Five"]],["heading",{"level":2},["plain","Six"]])"},
    {"CodeInfoStrings", "```python\nx = 1\n```\n\n``` {#id .haskell .numberLines}\ny\n```\n",
     R"(["verbatim",{"level":0,"info":"python"},["plain","x = 1"]],["verbatim",{"level":0,"info":"{#id .haskell .numberLines}"})"},
    {"RawHtmlAndTex", "<details>\n<summary>S</summary>\n\nText with <kbd>K</kbd> and \\LaTeX{}.\n\n</details>\n\n\\begin{center}\nc\n\\end{center}\n",
     R"(["html","<kbd>"],["plain","K"],["html","</kbd>"],["plain"," and "],["tex","\\LaTeX{}"])"},
    {"RuleImageAndTitles", "Above\n\n---\n\n![A cat](cat.png \"Puss\")\n\nSee [site](http://x.org \"The site\").\n",
     R"(["divider",{"level":0}],["image",{"level":0,"alt":"A cat","title":"Puss"},["url","cat.png"]])"},
    {"StrikeSuperAndSubscript", "~~gone~~ x^2^ H~2~O\n", R"(["strike","gone"],["plain"," x"],["sup","2"],["plain"," H"],["sub","2"])"},
    {"DefinitionList", "Term\n:   Def one\n\n    more\n\n:   Def two\n\nNext\n:   Def\n",
     R"(["term",{"level":0},["plain","Term"]],["definition",{"level":0},["plain","Def one"]],["para",{"level":1},["plain","more"]],)"
     R"(["definition",{"level":0},["plain","Def two"]],["term",{"level":0},["plain","Next"]])"},
    {"QuotationInAListItem", "- item\n\n    > quoted\n\n- next\n", R"(["quote",{"level":1},["plain","quoted"]])"},
    {"ParagraphAfterATableInAListItem", "- item\n\n    | a | b |\n    |---|---|\n    | 1 | 2 |\n\n    After the table.\n",
     R"(["para",{"level":0},["plain","After the table."]])"},
    {"ListAfterAHeadingInAListItem", "- item\n\n    ### Heading\n\n    * CLI\n        * nested\n    * JS\n",
     R"(["plain","nested"])"},  // a heading there in GitHub Markdown only
    {"TwoTablesInARow", "| a | b |\n|---|---|\n| 1 | 2 |\n\n| c | d |\n|---|---|\n| 3 | 4 |\n",
     R"(["col",{"level":2},["plain","2"]],["para",{"level":0}],["row",{"level":1},["plain","c"]])", true},
    {"TwoListsInARow", "- a\n- b\n\n<!-- -->\n\n- c\n    - d\n\n    <!-- -->\n\n    - e\n\n1. x\n\n<!-- -->\n\n1. y\n",
     R"(["numbered",{"level":0},["plain","x"]],["para",{"level":0}],["numbered",{"level":0},["plain","y"]])", true},
    {"TableWithAnEmptyFirstHeaderCellAfterAList", "- item\n\n|   | b |\n|---|---|\n| 1 | 2 |\n",
     R"(["bulleted",{"level":0},["plain","item"]],["row",{"level":1}],["col",{"level":2},["plain","b"]])"},
    {"FootnoteOfSeveralParagraphs", "Text.[^n]\n\n[^n]: First.\n\n    Second.\n\n        code\n\nAfter.\n",
     R"(["note",{"level":0},["noteref","1"],["plain","First."],["break","\n"],["break","\n"],["plain","Second."],)"
     R"(["break","\n"],["break","\n"],["code","code"]],["para",{"level":0},["plain","After."]])"},
    {"FrontMatter", "---\ntitle: A \"T\"\nlayout: default\ntags:\n\n  - x\n...\n\n# A\n",
     R"(["metadata",{"level":0},["plain","title: A \"T\""],["break","\n"],["plain","layout: default"],["break","\n"],)"
     R"(["plain","tags:"],["break","\n"],["break","\n"],["plain","  - x"]],["heading",{"level":-3},["plain","A"]])"},
    {"TablesWithHeaderRowsAlignmentsAndOneRowAlone",
     "| Left | Right | Default |\n|:-----|------:|---------|\n| a | b | c |\n\nBetween.\n\n---------\nalone\n---------\n",
     R"(["row",{"level":1,"align":"drd"},["plain","Left"]],["col",{"level":2},["plain","Right"]],["col",{"level":2},["plain","Default"]],)"
     R"(["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]],["col",{"level":2},["plain","c"]],)"
     R"(["para",{"level":0},["plain","Between."]],["row",{"level":1},["plain","alone"]])",
     true},
    {"DivisionsAndSpans", "<div align=\"center\">\n\n**Logo**\n\n</div>\n\n::: {#formats .note}\nFenced\n\n::: inner\nIn "
     "<span style=\"color: red\">red *it*</span> []{.mark}\n:::\n:::\n",
     R"(["html",{"level":0},["plain","<div id=\"formats\" class=\"note\">"]],["para",{"level":0},["plain","Fenced"]],)"
     R"(["html",{"level":0},["plain","<div class=\"inner\">"]],["para",{"level":0},["plain","In "],["html","<span style=\"color: red\">"],)"
     R"(["plain","red "],["emph","it"],["html","</span>"],["plain"," "],["html","<span class=\"mark\">"],["html","</span>"]],["html",{"level":0},["plain","</div>"]],)"
     R"(["html",{"level":0},["plain","</div>"]])", true},
    {"TightListsHoldingCodeAndTightDefinitions",
     "1.  Open\n    -   sub\n\n    ```\n    code\n    ```\n2.  Close\n\nThen:\n\n- Run:\n  ```sh\n  zstd\n  ```\n- Stop\n\nTerm\n:   Def\n",
     R"(["numbered",{"level":0,"spacing":"tight"},["plain","Open"]],["bulleted",{"level":1},["plain","sub"]],["verbatim",{"level":1},["plain","code"]])",
     true},
    {"ListsAndCodeInQuotations",
     "> Steps:\n>\n> 1. First\n>    - nested\n> 2. Second\n>\n> ```sh\n> make\n> ```\n>\n> > - deeper\n>\n> After.\n\n- outside\n",
     R"(["numbered",{"level":0,"quote":"1"},["plain","First"]],["bulleted",{"level":1,"quote":"1"},["plain","nested"]],)"
     R"(["numbered",{"level":0,"quote":"1"},["plain","Second"]],["verbatim",{"level":0,"info":"sh","quote":"1"},["plain","make"]],)"
     R"(["bulleted",{"level":0,"quote":"2"},["plain","deeper"]],["quote",{"level":0},["plain","After."]],["bulleted",{"level":0},["plain","outside"]])",
     true},
    {"StyledRunsAndFencedCodeBlocks", "**a** **b** and **c d**\n\n```js\nf()\n```\n\n```\ng()\n```\n",
     R"(["strong","a"],["plain"," "],["strong","b"],["plain"," and "],["strong","c d"]])", true},
};

class FlavourConvergence : public testing::PandocSuite<::testing::TestWithParam<Case>> {};

TEST_P(FlavourConvergence, SecondSaveEqualsTheFirst) {
    for (const char* flavour : {"markdown", "markdown_github", "markdown_mmd"}) {
        const testing::FlavourSaves saves = testing::openAndSaveTwice(*pandoc_, GetParam().markdown, flavour);
        EXPECT_TRUE(saves.converged()) << flavour << ": " << saves.failure << "\n first save:\n" << saves.firstSave
                                       << "\n second save:\n" << saves.secondSave << "\n first model:  " << saves.firstModel
                                       << "\n second model: " << saves.secondModel;
        if (std::string normal; GetParam().normalForm && PandocFromJson(*pandoc_, saves.originalJson, PandocFormatName(*pandoc_, flavour), normal))
            EXPECT_EQ(saves.firstSave, normal) << flavour;
        if (std::string_view(flavour) == "markdown")
            EXPECT_NE(saves.firstModel.find(GetParam().firstModelHolds), std::string::npos) << saves.firstModel;
    }
}

INSTANTIATE_TEST_SUITE_P(, FlavourConvergence, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qorva::convert
