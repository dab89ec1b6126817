// Round trips through the installed Pandoc, the way the program talks to it:
// model -> WritePandocJson (in the installed Pandoc's JSON dialect) -> Pandoc
// Markdown -> Pandoc JSON -> ReadPandocJson.
#include "convert/converters.h"
#include "model/model_json.h"
#include "tools/files/file_io.h"
#include "tests/convert/flavour_saves.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

class PandocRoundTrip : public testing::PandocSuite<> {
protected:
    // The model as Pandoc Markdown (or another flavour), then read back into a model, compact.
    static std::string throughMarkdown(const std::string& model, std::string* markdown = nullptr,
                                       std::string_view flavour = "markdown") {
        const std::string json = WritePandocJson(model, PandocSavingOptions(*pandoc_, flavour).c_str());
        const std::string format = PandocFormatName(*pandoc_, flavour);
        std::string text, back;
        EXPECT_TRUE(PandocFromJson(*pandoc_, json, format, text)) << text;
        EXPECT_TRUE(PandocToJson(*pandoc_, text, format, back)) << back;
        if (markdown) *markdown = text;
        return ReadPandocJson(back, PandocReaderOptions(flavour));
    }

    static std::string compact(const std::string& model) { return dumpCompact(parseJson(model)); }
};

// The common ground of the three Markdown flavours the program saves in.
const char* kFlavourDocument = R"(["text",
    ["heading",{"level":-3},["plain","Title"]],
    ["para",{"level":0},["plain","Some "],["emph","emphasised words"],["plain"," and "],["strong","strong"],
        ["plain"," with "],["code","x = y"],["plain","."]],
    ["bulleted",{"level":0},["plain","one"]],["para",{"level":1},["plain","continued"]],
    ["bulleted",{"level":1},["plain","nested"]],["bulleted",{"level":0},["plain","two"]],
    ["numbered",{"level":0},["plain","first"]],
    ["quote",{"level":0},["plain","A quotation."]],
    ["verbatim",{"level":0},["plain","int main() {"],["break","\n"],["plain","}"]],
    ["para",{"level":0},["plain","See "],["linktext","the site"],["linkref","1"],["plain",", a note"],["noteref","2"],
        ["plain"," and "],["url","http://example.com/page"],["plain","."]],
    ["link",{"level":0},["linkref","1"],["url","http://example.org/"]],
    ["note",{"level":0},["noteref","2"],["plain","The note."]],
    ["image",{"level":0},["url","picture.png"]],
    ["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]],
    ["row",{"level":1},["plain","c"]],["col",{"level":2},["strong","d"]]])";

// The new constructs that all three flavours keep, and those that only some of them keep.
const char* kNewCommonBlocks = R"j([
    ["heading",{"level":0},["plain","Fourth level"]],["heading",{"level":1},["plain","Fifth"]],["heading",{"level":2},["plain","Sixth"]],
    ["verbatim",{"level":0,"info":"python"},["plain","x = 1"]],
    ["html",{"level":0},["plain","<details>"]],["para",{"level":0},["plain","Inside."]],["html",{"level":0},["plain","</details>"]],
    ["divider",{"level":0}],
    ["image",{"level":0,"alt":"A cat","title":"Puss"},["url","cat.png"]],
    ["para",{"level":0},["html","<kbd>"],["plain","K"],["html","</kbd>"],["plain"," and "],["linktext","the "],["linkcode","f()"],["linkemph","site"],["linkref","3"],
        ["noteref","4"],["plain"," "],["linkimage","build"],["linkimageurl","b.svg"],["linkref","5"]],
    ["link",{"level":0},["linkref","3"],["url","http://x.org/"],["title","The site"]],
    ["note",{"level":0},["noteref","4"],["plain","First."],["break","\n"],["break","\n"],["plain","Second."]],
    ["link",{"level":0},["linkref","5"],["url","http://ci.org/"]]])j";
const char* kStrikeBlocks = R"([["para",{"level":0},["strike","gone"],["plain"," for good"]]])";
const char* kMultiMarkdownBlocks = R"([
    ["tex",{"level":0},["plain","\\begin{center}"],["break","\n"],["plain","c"],["break","\n"],["plain","\\end{center}"]],
    ["para",{"level":0},["plain","x"],["sup","2"],["plain"," H"],["sub","2"],["plain","O"]],
    ["term",{"level":0},["plain","Term"]],["definition",{"level":0},["plain","Def one"]],["para",{"level":1},["plain","more"]],
    ["definition",{"level":0},["plain","Def two"]]])";

// The document with the groups of blocks given.
std::string documentWith(std::initializer_list<const char*> groups) {
    Json document = parseJson(kFlavourDocument);
    for (const char* group : groups)
        for (const Json& block : parseJson(group)) document.push_back(block);
    return dumpCompact(document);
}

// Pandoc Markdown keeps more: further heading levels, math, deeper and mixed lists,
// nested quotations and formulas, code attributes, raw TeX inline and citations.
TEST_F(PandocRoundTrip, PandocMarkdownKeepsTheDocumentWithMathNestingAndFormulas) {
    const std::string model = documentWith({kNewCommonBlocks, kStrikeBlocks, kMultiMarkdownBlocks, R"([
        ["heading",{"level":-2},["plain","Second level"]],
        ["heading",{"level":-1},["plain","Third level"]],
        ["para",{"level":0},["plain","Some "],["math","a^2 + b^2"],["plain","."]],
        ["bulleted",{"level":0},["plain","one"]],["bulleted",{"level":1},["plain","nested"]],
        ["numbered",{"level":2},["plain","deeper, numbered"]],
        ["numbered",{"level":0},["plain","first"]],["para",{"level":1},["plain","more of the first"]],
        ["numbered",{"level":0},["plain","second"]],
        ["quote",{"level":0},["plain","A quotation."]],["quote",{"level":1},["plain","A quotation inside it."]],
        ["formula",{"level":0},["plain","E = mc^2"]],
        ["verbatim",{"level":0,"info":"{#id .haskell .numberLines start=\"5\"}"},["plain","main"]],
        ["para",{"level":0},["tex","\\LaTeX{}"],["plain"," [see @doe, p.\u00A033; also -@roe] and @doe [p.\u00A04]"]],
        ["heading",{"level":-3},["plain","Before a quotation"]],["quote",{"level":1},["plain","Nested right after it."]],
        ["para",{"level":0},["plain","Noted"],["noteref","6"]],["note",{"level":0},["noteref","6"],["plain","a"],
            ["break","\n"],["break","\n"],["break","\n"],["plain","b"],["break","\n"],["break","\n"]]])"});
    std::string markdown;
    EXPECT_EQ(throughMarkdown(model, &markdown), model) << markdown;
}

TEST_F(PandocRoundTrip, MultiMarkdownAndGitHubMarkdownKeepTheDocument) {
    for (const char* flavour : {"markdown_mmd", "markdown_github"}) {
        const bool github = std::string_view(flavour) == "markdown_github";
        const std::string model = documentWith({kNewCommonBlocks, github ? kStrikeBlocks : kMultiMarkdownBlocks});
        std::string markdown;
        EXPECT_EQ(throughMarkdown(model, &markdown, flavour), model) << flavour << "\n" << markdown;
    }
}

TEST_F(PandocRoundTrip, HtmlWithNestedDivsAndSpansGivesTheExpectedModel) {
    std::string json;
    ASSERT_TRUE(PandocToJson(*pandoc_, ReadWholeFile(QORVA_PANDOC_SAMPLES "/nested_divs.html"), "html", json)) << json;
    EXPECT_EQ(ReadPandocJson(json, nullptr), compact(R"(["text",
        ["heading",{"level":-3},["plain","Main title"]],
        ["para",{"level":0},["plain","Text with "],["emph","emphasis"],["plain",", "],["strong","strong"],["plain",", "],
            ["code","code"],["plain"," and "],["linktext","a link"],["linkref","1"],["plain","."]],
        ["link",{"level":0},["linkref","1"],["url","http://example.org/"]],
        ["heading",{"level":-2},["plain","Lists"]],
        ["bulleted",{"level":0},["plain","one"]],
        ["bulleted",{"level":1},["plain","nested span"]],
        ["bulleted",{"level":0},["plain","two"]],
        ["numbered",{"level":0},["plain","first"]],
        ["numbered",{"level":0},["plain","second"]],
        ["para",{"level":1},["plain","more"]],
        ["row",{"level":1},["plain","H1"]],["col",{"level":2},["plain","H2"]],
        ["row",{"level":1},["plain","a"]],["col",{"level":2}],
        ["row",{"level":1}],["col",{"level":2},["plain","d"]],
        ["image",{"level":0,"alt":"A picture"},["url","pic.png"]],
        ["para",{"level":0},["url","http://x.org"]],
        ["quote",{"level":0},["plain","Quoted heading"]],
        ["quote",{"level":0},["plain","Quoted text"]]])"));
}

}  // namespace
}  // namespace qorva::convert
