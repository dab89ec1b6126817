// Current Pandoc's JSON (pandoc-types 1.17 to 1.23) read through the translation
// to the 1.11 form.
#include "convert/converters.h"
#include "model/model_json.h"

#include <gtest/gtest.h>

namespace qorva::convert {
namespace {

std::string readCurrent(const std::string& blocks, const std::string& meta = "{}",
                        const std::string& version = "[1,22,2,1]") {
    const std::string model =
        ReadPandocJson(R"({"pandoc-api-version":)" + version + R"(,"meta":)" + meta + R"(,"blocks":)" + blocks + "}",
                       nullptr);
    Json parsed = parseJson(model);
    parsed.erase(parsed.begin());
    return dumpCompact(parsed);
}

std::string plain(const std::string& text) { return R"({"t":"Plain","c":[{"t":"Str","c":")" + text + R"("}]})"; }
const std::string kAttr = R"(["",[],[]])";

TEST(PandocCurrentForm, MetadataTitleAuthorsAndDate) {
    const std::string meta =
        R"({"title":{"t":"MetaInlines","c":[{"t":"Str","c":"T"}]},)"
        R"("author":{"t":"MetaList","c":[{"t":"MetaInlines","c":[{"t":"Str","c":"A"}]},{"t":"MetaString","c":"B"}]},)"
        R"("date":{"t":"MetaInlines","c":[{"t":"Str","c":"D"}]}})";
    EXPECT_EQ(readCurrent("[]", meta),
              R"([["para",{"level":0},["plain","T"]],["para",{"level":0},["plain","A"]],)"
              R"(["para",{"level":0},["plain","B"]],["para",{"level":0},["plain","D"]]])");
}

TEST(PandocCurrentForm, SoftBreakIsASpaceAndLinkAttributesAreSkipped) {
    const std::string blocks =
        R"([{"t":"Para","c":[{"t":"Str","c":"a"},{"t":"SoftBreak"},{"t":"Str","c":"b"},{"t":"Space"},)"
        R"({"t":"Link","c":[)" + kAttr + R"(,[{"t":"Str","c":"t"}],["http://u",""]]}]}])";
    EXPECT_EQ(readCurrent(blocks),
              R"([["para",{"level":0},["plain","a b "],["linktext","t"],["linkref","1"]],)"
              R"(["link",{"level":0},["linkref","1"],["url","http://u"]]])");
}

TEST(PandocCurrentForm, DivSpanUnderlineAndLineBlockKeepTheirContent) {
    const std::string blocks =
        R"([{"t":"Div","c":[)" + kAttr + R"(,[{"t":"Para","c":[{"t":"Span","c":[)" + kAttr +
        R"(,[{"t":"Str","c":"s"}]]},{"t":"Underline","c":[{"t":"Str","c":"u"}]}]},)" +
        R"({"t":"Div","c":[)" + kAttr + R"(,[)" + plain("deep") + R"(]]}]]},)" +
        R"({"t":"LineBlock","c":[[{"t":"Str","c":"l1"}],[{"t":"Str","c":"l2"}]]},{"t":"Null"}])";
    EXPECT_EQ(readCurrent(blocks),
              R"([["para",{"level":0},["plain","su"]],["para",{"level":0},["plain","deep"]],)"
              R"(["para",{"level":0},["plain","l1"],["break","\n"],["plain","l2"]]])");
}

TEST(PandocCurrentForm, FigureGivesItsImageAndCaption) {
    const std::string blocks = R"([{"t":"Figure","c":[)" + kAttr + R"(,[null,[)" + plain("cap") +
                               R"(]],[{"t":"Plain","c":[{"t":"Image","c":[)" + kAttr +
                               R"(,[{"t":"Str","c":"cap"}],["i.png",""]]}]}]]}])";
    EXPECT_EQ(readCurrent(blocks, "{}", "[1,23,1]"),
              R"([["image",{"level":0},["url","i.png"]],["para",{"level":0},["plain","cap"]]])");
}

TEST(PandocCurrentForm, OrderedListMathAndQuotesUseConstructorObjects) {
    const std::string blocks =
        R"([{"t":"OrderedList","c":[[1,{"t":"Decimal"},{"t":"Period"}],[[{"t":"Plain","c":[)"
        R"({"t":"Math","c":[{"t":"InlineMath"},"x"]},{"t":"Quoted","c":[{"t":"SingleQuote"},[{"t":"Str","c":"q"}]]}]}]]]}])";
    EXPECT_EQ(readCurrent(blocks), "[[\"numbered\",{\"level\":0},[\"math\",\"x\"],[\"plain\",\"\u2018q\u2019\"]]]");
}

TEST(PandocCurrentForm, TableWithHeadBodiesAndFoot) {
    auto cell = [](const std::string& blocks, int colspan = 1) {
        return "[" + kAttr + R"(,{"t":"AlignDefault"},1,)" + std::to_string(colspan) + "," + blocks + "]";
    };
    auto row = [](const std::string& cells) { return "[" + kAttr + ",[" + cells + "]]"; };
    const std::string blocks =
        R"([{"t":"Table","c":[)" + kAttr + R"(,[null,[]],[[{"t":"AlignDefault"},{"t":"ColWidthDefault"}],)"
        R"([{"t":"AlignLeft"},{"t":"ColWidth","c":0.5}]],)" +
        "[" + kAttr + ",[" + row(cell("[" + plain("h1") + "]") + "," + cell("[" + plain("h2") + "]")) + "]]," +
        "[[" + kAttr + ",0,[],[" + row(cell("[" + plain("wide") + "]", 2)) + "," + row(cell("[]") + "," + cell("[" + plain("b") + "]")) + "]]]," +
        "[" + kAttr + ",[" + row(cell("[" + plain("f") + "]") + "," + cell("[]")) + "]]]}]";
    EXPECT_EQ(readCurrent(blocks),
              R"([["row",{"level":1},["plain","h1"]],["col",{"level":2},["plain","h2"]],)"
              R"(["row",{"level":1},["plain","wide"]],["col",{"level":2}],)"
              R"(["row",{"level":1}],["col",{"level":2},["plain","b"]],)"
              R"(["row",{"level":1},["plain","f"]],["col",{"level":2}]])");
}

TEST(PandocCurrentForm, TableWithoutHeadHasNoEmptyFirstRowAndTheOldShapeOf117IsRead) {
    const std::string blocks =
        R"([{"t":"Table","c":[)" + kAttr + R"(,[null,[]],[[{"t":"AlignDefault"},{"t":"ColWidthDefault"}]],)" +
        "[" + kAttr + ",[]],[[" + kAttr + ",0,[],[[" + kAttr + ",[[" + kAttr +
        R"(,{"t":"AlignDefault"},1,1,[)" + plain("x") + "]]]]]]],[" + kAttr + ",[]]]}]";
    EXPECT_EQ(readCurrent(blocks), R"([["row",{"level":1},["plain","x"]]])");
    const std::string old = R"([{"t":"Table","c":[[],[{"t":"AlignDefault"}],[0],[[)" + plain("h") + R"(]],[[[)" +
                               plain("b") + "]]]]}]";
    EXPECT_EQ(readCurrent(old, "{}", "[1,17,5,4]"),
              R"([["row",{"level":1},["plain","h"]],["row",{"level":1},["plain","b"]]])");
}

}  // namespace
}  // namespace qorva::convert
