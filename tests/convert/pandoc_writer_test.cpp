#include "convert/converters.h"
#include "model/model_json.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace qorva::convert {
namespace {

// The block list written for the model blocks `blocks`, compact.
std::string writeBlocks(const std::string& blocks, const char* options = nullptr) {
    const Json tree = parseJson(WritePandocJson(testing::textModel(blocks), options));
    return dumpCompact(tree[1]);
}

TEST(PandocWriterOutput, TwoSpaceLayoutDefaultApiNonAsciiAsItselfAndOldTablesBefore121) {
    for (const char* options : {static_cast<const char*>(nullptr), "{}", R"({"api":"1.11"})"})
        EXPECT_EQ(WritePandocJson(R"(["text"])", options),
                  "[\n  {\n    \"docTitle\": [],\n    \"docAuthors\": [],\n    \"docDate\": []\n  },\n  []\n]");
    const std::string model =
        R"(["text",["heading",{"level":-2},["plain","H \"q\" \u00e9"]],["quote",{"level":1},["emph","e"]],)"
        R"(["bulleted",{"level":0},["code","c"],["break","\n"],["math","m"]],["numbered",{"level":1},["url","u"]],)"
        R"(["formula",{"level":0},["plain","x"]],["image",{"level":0},["url","i.png"]],["para",{"level":0},["noteref","n"]],)"
        R"(["note",{"level":0},["noteref","n"],["plain","N"]],["row",{"level":1}],["col",{"level":2},["plain","b"]]])";
    for (const char* options : {static_cast<const char*>(nullptr), R"({"api":"1.17"})", R"({"api":"1.23"})"}) {
        const std::string written = WritePandocJson(model, options);
        EXPECT_EQ(written, parseJson(written).dump(2)) << (options ? options : "1.11");
        EXPECT_NE(written.find("\xC3\xA9"), std::string::npos) << written;
    }
    // The current form (pandoc-types 1.22, the installed Pandoc's) is read by Pandoc itself in PandocRoundTrip.
    const Json tree = parseJson(WritePandocJson(R"(["text",["row",{"level":1},["plain","c"]]])", R"({"api":"1.20.1"})"));
    EXPECT_EQ(dumpCompact(tree["pandoc-api-version"]), "[1,20,1]");
    EXPECT_EQ(dumpCompact(tree["blocks"][0]),
              R"({"t":"Table","c":[[],[{"t":"AlignDefault"}],[0.0],[[]],[[[{"t":"Plain","c":[{"t":"Str","c":"c"}]}]]]]})");
}

TEST(PandocWriterBlocks, QuotationParagraphsInARowAreOneQuotationWhichAnEmptyParagraphPartsAtItsLevel) {
    EXPECT_EQ(writeBlocks(R"(["quote",{"level":1},["plain","a"]],["para",{"level":1}],["quote",{"level":1},["plain","b"]],)"
                          R"(["quote",{"level":0},["plain","c"]],["para",{"level":0}],["quote",{"level":0},["plain","d"]])"),
              R"([{"BlockQuote":[{"BlockQuote":[{"Para":[{"Str":"a"}]}]},{"BlockQuote":[{"Para":[{"Str":"b"}]}]},{"Para":[{"Str":"c"}]}]},)"
              R"({"Para":[]},{"BlockQuote":[{"Para":[{"Str":"d"}]}]}])");
}

TEST(PandocWriterBlocks, DivisionAndSpanTagsAreADivisionOrSpanOnlyWhereTheyReadBackAsWritten) {
    const auto blocks = [](const std::string& model) {
        return dumpCompact(parseJson(WritePandocJson(testing::textModel(model), R"({"api":"1.22","divsAndSpans":true})"))["blocks"]);
    };
    const auto html = [](const std::string& line) { return R"(["html",{"level":0},["plain",")" + line + R"("]],)"; };
    const std::string para = R"(["para",{"level":0},["plain","p"]])";
    EXPECT_EQ(blocks(html(R"(<div id=\"i\" class=\"a b\" k=\"v\">)") + para + "," + html("</div>") + para),
              R"([{"t":"Div","c":[["i",["a","b"],[["k","v"]]],[{"t":"Para","c":[{"t":"Str","c":"p"}]}]]},)"
              R"({"t":"Para","c":[{"t":"Str","c":"p"}]}])");
    // Other quoting, an entity, an empty class, a stray space or no closing tag: raw HTML as it stands.
    for (const std::string tag : {"<div class='a'>", R"(<div k=\"a&amp;b\">)", R"(<div class=\"\">)", "<div >"})
        EXPECT_EQ(blocks(html(tag) + para + "," + html("</div>") + para).find("Div"), std::string::npos) << tag;
    EXPECT_EQ(blocks(html("<div>") + para).find("Div"), std::string::npos);
    EXPECT_EQ(blocks(R"(["para",{"level":0},["html","<span class=\"c\">"],["plain","s"],["html","</span>"],["html","</span>"]])"),
              R"([{"t":"Para","c":[{"t":"Span","c":[["",["c"],[]],[{"t":"Str","c":"s"}]]},{"t":"RawInline","c":["html","</span>"]}]}])");
}

TEST(PandocWriterBlocks, LeftOutBlocksImagesWithoutUrlRaggedTablesBreaksAndUnknownSpans) {
    // Indentation and direction of a paragraph have no Pandoc counterpart either.
    EXPECT_EQ(writeBlocks(R"(["comment",{"level":0},["plain","c"]],["divider",{"level":0}],)"
                          R"(["link",{"level":0},["linkref","a"],["url","u"]],["odd",{"level":0},["plain","x"]],)"
                          R"(["para",{"level":2,"direction":"rtl"},["plain","p"]])"),
              R"(["HorizontalRule",{"Para":[{"Str":"p"}]}])");
    EXPECT_EQ(writeBlocks(R"(["image",{"level":0},["plain","no url"]])"), R"([{"Para":[{"Image":[[],["",""]]}]}])");
    // The constructs of the 1.11 form that the installed Pandoc does not check.
    EXPECT_EQ(writeBlocks(R"(["verbatim",{"level":0,"info":"c++ {#i .x k=\"a \\\"b\\\"\"}"},["plain","x"]],["html",{"level":0},["plain","<p>"]],)"
                          R"(["image",{"level":0,"alt":"A b","title":"T"},["url","i.png"]],["para",{"level":0},["strike","s"],["tex","\\TeX"],)"
                          R"(["linktext","t"],["url","u"],["title","T"],["title","x"],["plain","@doe [p. 3; -@roe]"]])"),
              R"([{"CodeBlock":[["i",["c++","x"],[["k","a \"b\""]]],"x"]},{"RawBlock":["html","<p>\n"]},)"
              R"({"Para":[{"Image":[[{"Str":"A"},"Space",{"Str":"b"}],["i.png","fig:T"]]}]},{"Para":[{"Strikeout":[{"Str":"s"}]},)"
              R"({"RawInline":["tex","\\TeX"]},{"Link":[[{"Str":"t"}],["u","T"]]},{"Str":"x"},{"Cite":[[{"citationId":"doe",)"
              R"("citationPrefix":[],"citationSuffix":[{"Str":"p."},"Space",{"Str":"3"}],"citationMode":"AuthorInText","citationNoteNum":0,)"
              R"("citationHash":0},{"citationId":"roe","citationPrefix":[],"citationSuffix":[],"citationMode":"SuppressAuthor",)"
              R"("citationNoteNum":0,"citationHash":0}],[{"Str":"@doe"},"Space",{"Str":"[p."},"Space",{"Str":"3;"},"Space",{"Str":"-@roe]"}]]}]}])");
    // A flavour without citations (GitHub Markdown) keeps them text. A key holds punctuation one at a
    // time before a letter, as Pandoc reads it, save "//": "@R::k" is "@R" then text, else it is written "@{R::k}".
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["plain","@doe"]])", R"({"citations":false})"), R"([{"Para":[{"Str":"@doe"}]}])");
    const auto cite = [](const char* key) {
        return std::string(R"({"Cite":[[{"citationId":")") + key + R"(","citationPrefix":[],"citationSuffix":[],"citationMode":"AuthorInText",)"
               R"("citationNoteNum":0,"citationHash":0}],[{"Str":"@)" + key + R"("}]]})";
    };
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["plain","@R::k @a://b"]])"),
              R"([{"Para":[)" + cite("R") + R"(,{"Str":"::k"},"Space",)" + cite("a://b") + "]}]");
    EXPECT_EQ(writeBlocks(R"(["row",{"level":1},["plain","a"]],["row",{"level":1},["plain","b"]],)"
                          R"(["col",{"level":2},["plain","c"]],["para",{"level":3},["plain","c2"]])"),
              R"([{"Table":[[],["AlignDefault","AlignDefault"],[0.08,0.08],[[],[]],)"
              R"([[[{"Plain":[{"Str":"a"}]}],[]],[[{"Plain":[{"Str":"b"}]}],[{"Plain":[{"Str":"c"}]},{"Para":[{"Str":"c2"}]}]]]]}])");
    // Loose items have a Para, the others a Plain; a numbered list starts at its first item's start; an
    // item with no text of its own opening a list is that list.
    EXPECT_EQ(writeBlocks(R"(["numbered",{"level":0,"spacing":"loose","start":"4"},["plain","a"]],["numbered",{"level":0},["plain","b"]],)"
                          R"(["numbered",{"level":1,"start":"x"},["plain","c"]],["bulleted",{"level":0},["plain","d"]],)"
                          R"(["bulleted",{"level":0}],["numbered",{"level":1},["plain","e"]])"),
              R"([{"OrderedList":[[4,"Decimal","Period"],[[{"Para":[{"Str":"a"}]}],[{"Plain":[{"Str":"b"}]},)"
              R"({"OrderedList":[[1,"Decimal","Period"],[[{"Plain":[{"Str":"c"}]}]]]}]]]},{"BulletList":[[{"Plain":[{"Str":"d"}]}],)"
              R"([{"OrderedList":[[1,"Decimal","Period"],[[{"Plain":[{"Str":"e"}]}]]]}]]}])");
    // Items said to be tight have a Plain, however much else they hold, unless a code block follows the
    // text right away where the flavour would read it as inline code (Pandoc Markdown); so do tight definitions.
    const std::string tight = R"(["bulleted",{"level":0,"spacing":"tight"},["plain","a"]],["verbatim",{"level":1},["plain","v"]],)"
                              R"(["bulleted",{"level":0},["plain","b"]],["bulleted",{"level":1},["plain","c"]],["verbatim",{"level":1},["plain","w"]],)"
                              R"(["term",{"level":0},["plain","t"]],["definition",{"level":0,"spacing":"tight"},["plain","d"]])";
    const std::string rest = R"(,{"CodeBlock":[["",[],[]],"v"]}],[{"Plain":[{"Str":"b"}]},{"BulletList":[[{"Plain":[{"Str":"c"}]}]]},)"
                             R"({"CodeBlock":[["",[],[]],"w"]}]]},{"DefinitionList":[[[{"Str":"t"}],[[{"Plain":[{"Str":"d"}]}]]]]}])";
    EXPECT_EQ(writeBlocks(tight), R"([{"BulletList":[[{"Para":[{"Str":"a"}]})" + rest);
    EXPECT_EQ(writeBlocks(tight, R"({"blockAfterText":true})"), R"([{"BulletList":[[{"Plain":[{"Str":"a"}]})" + rest);
    // Asked for a header row, the first row is it, and a cell's text is a Plain; a table of one
    // row, or over empty rows, has its header alone unless the flavour reads that back otherwise (Pandoc Markdown),
    // where an empty row, which would end the table, is left out.
    EXPECT_EQ(writeBlocks(R"(["row",{"level":1},["plain","a"]],["row",{"level":1},["plain","b"]],["col",{"level":2}])",
                          R"({"headerRow":true})"),
              R"([{"Table":[[],["AlignDefault","AlignDefault"],[0.08,0.08],[[{"Plain":[{"Str":"a"}]}],[]],)"
              R"([[[{"Plain":[{"Str":"b"}]}],[{"Plain":[]}]]]]}])");
    EXPECT_EQ(writeBlocks(R"(["row",{"level":1},["plain","a"]])", R"({"headerRow":true})"),
              R"([{"Table":[[],["AlignDefault"],[0.08],[[{"Plain":[{"Str":"a"}]}]],[]]}])");
    EXPECT_EQ(writeBlocks(R"(["row",{"level":1},["plain","a"]],["row",{"level":1}])", R"({"headerRow":true,"headerAlone":false,"emptyRows":false})"),
              R"([{"Table":[[],["AlignDefault"],[0.08],[[]],[[[{"Plain":[{"Str":"a"}]}]]]]}])");
    // The first row's alignments and widths, defaults for missing columns; widths that are no widths say nothing.
    const std::string aligned = R"(["row",{"level":1,"align":"rc","widths":"0.25 0"},["plain","a"]],["col",{"level":2}],["col",{"level":2}])";
    for (const auto& [model, options, specs] : std::initializer_list<std::array<std::string, 3>>{
             {aligned, "{}", R"(["AlignRight","AlignCenter","AlignDefault"],[0.25,0.0,0.0])"},
             {R"(["row",{"level":1,"align":"l","widths":"x"}],["col",{"level":2},["plain","b"]])", "{}", R"(["AlignLeft","AlignDefault"],[0.08,0.08])"},
             {aligned, R"({"api":"1.17"})", R"([{"t":"AlignRight"},{"t":"AlignCenter"},{"t":"AlignDefault"}],[0.25,0.0,0.0])"},
             {aligned, R"({"api":"1.22"})", R"([[{"t":"AlignRight"},{"t":"ColWidth","c":0.25}],[{"t":"AlignCenter"},{"t":"ColWidthDefault"}],)"
                                            R"([{"t":"AlignDefault"},{"t":"ColWidthDefault"}]])"},
         }) {
        const std::string written = dumpCompact(parseJson(WritePandocJson(testing::textModel(model), options.c_str())));
        EXPECT_NE(written.find(specs), std::string::npos) << options << " " << written;
    }
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["plain","a b"],["break","\n"],["odd","kept"]])"),
              R"([{"Para":[{"Str":"a"},"Space",{"Str":"b"},"LineBreak",{"Str":"kept"}]}])");
}

TEST(PandocWriterInlines, NeighboursSharingAStyleShareItsElementTheLongerRunOutside) {
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["strongemph","a"],["plain"," "],["strong","b "],["strongcode","c"],["strongemph","d"],["emph","e"],["emphcode","f"]])"),
              R"j([{"Para":[{"Emph":[{"Strong":[{"Str":"a"}]}]},"Space",{"Strong":[{"Str":"b"},"Space",{"Code":[["",[],[]],"c"]},{"Emph":[{"Str":"d"}]}]},)j"
              R"j({"Emph":[{"Str":"e"},{"Code":[["",[],[]],"f"]}]}]}])j");
    // A space after an abbreviation may end a line, as Pandoc's own; a no-break space stays in its word.
    EXPECT_EQ(writeBlocks("[\"para\",{\"level\":0},[\"plain\",\"see e.g. i.e.\u00A0x\"]]"),
              "[{\"Para\":[{\"Str\":\"see\"},\"Space\",{\"Str\":\"e.g.\"},\"Space\",{\"Str\":\"i.e.\u00A0x\"}]}]");
}

TEST(PandocWriterLinks, LinksStandingWholeInAStyleLieInTheElementTheirNeighboursShare) {
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["emph","see "],["linktext","t"],["emphurl","u"],["title","T"],["emph"," more"],["plain"," "],)"
                          R"(["linkemph","x"],["stronglinkref","L"],["strongemphurl","http://v"]],["link",{"level":0},["linkref","L"],["url","http://u"]])"),
              R"j([{"Para":[{"Emph":[{"Str":"see"},"Space",{"Link":[[{"Str":"t"}],["u","T"]]},"Space",{"Str":"more"}]},"Space",)j"
              R"j({"Strong":[{"Link":[[{"Emph":[{"Str":"x"}]}],["http://u",""]]},{"Emph":[{"Link":[[{"Str":"http://v"}],["http://v",""]]}]}]}]}])j");
}

TEST(PandocWriterLinks, LinksAndNotesUseTheLaterDefinitionNotesAreWrittenAtEachReference) {
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["linktext","t"],["linkref","L"]],["link",{"level":0},["linkref","L"],["url","http://old"]],)"
                          R"(["link",{"level":0},["linkref","L"],["url","http://new"]])"),
              R"([{"Para":[{"Link":[[{"Str":"t"}],["http://new",""]]}]}])");
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["linktext","t"],["linkref","none"],)"
                          R"(["linktext","u"],["linkref","l"]],)"
                          R"(["link",{"level":0},["linkref","L"],["url","http://l"]])"),
              R"([{"Para":[{"Str":"t"},{"Str":"u"}]}])");
    EXPECT_EQ(writeBlocks(R"j(["para",{"level":0},["linktext","the "],["linkcode","f()"],["linkemph","n"],["linkstrong","s"],["url","u"],["title","T"],)j"
                          R"(["linkcode","c"],["linkref","L"],["linkemph","e"],["linkref","none"]],)"
                          R"(["link",{"level":0},["linkref","L"],["url","http://l"]])"),
              R"j([{"Para":[{"Link":[[{"Str":"the"},"Space",{"Code":[["",[],[]],"f()"]},{"Emph":[{"Str":"n"}]},{"Strong":[{"Str":"s"}]}],["u","T"]]},)j"
              R"({"Link":[[{"Code":[["",[],[]],"c"]}],["http://l",""]]},{"Emph":[{"Str":"e"}]}]}])");
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["linkimage","a b"],["linkimageurl","s.svg"],["linkimagetitle","T"],["linktext"," x"],["url","u"]])"),
              R"([{"Para":[{"Link":[[{"Image":[[{"Str":"a"},"Space",{"Str":"b"}],["s.svg","T"]]},"Space",{"Str":"x"}],["u",""]]}]}])");
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["noteref","1"],["noteref","1"],["noteref","missing"]],)"
                          R"(["note",{"level":0},["noteref","1"],["plain","old"]],)"
                          R"(["note",{"level":1},["noteref","1"],["plain","n"]])"),
              R"([{"Para":[{"Note":[{"Para":[{"Str":"n"}]}]},{"Note":[{"Para":[{"Str":"n"}]}]}]}])");
    EXPECT_EQ(writeBlocks(R"(["para",{"level":0},["noteref","b"]],["note",{"level":0},["noteref","a"],["plain","A"],["noteref","b"]],)"
                          R"(["note",{"level":0},["noteref","b"],["plain","B"],["noteref","a"]])"),
              R"([{"Para":[{"Note":[{"Para":[{"Str":"B"},{"Note":[{"Para":[{"Str":"A"}]}]}]}]}]}])");
}

// A chain of `length` notes, each referring to the one before; the text refers to the last.
std::size_t notesWrittenForChain(int length) {
    std::string blocks = R"(["para",{"level":0},["noteref","n)" + std::to_string(length - 1) + R"("]])";
    for (int i = 0; i < length; ++i) {
        blocks += R"(,["note",{"level":0},["noteref","n)" + std::to_string(i) + R"("],["plain","x"])";
        if (i > 0) blocks += R"(,["noteref","n)" + std::to_string(i - 1) + R"("])";
        blocks += "]";
    }
    const std::string written = WritePandocJson(R"(["text",)" + blocks + "]", nullptr);
    std::size_t notes = 0;
    for (std::size_t at = 0; (at = written.find("\"Note\"", at)) != std::string::npos; ++at) ++notes;
    return notes;
}

TEST(PandocWriterNotes, ShortChainsOfNotesAreWrittenWholeAndLongOnesAreCutOff) {
    EXPECT_EQ(notesWrittenForChain(10), 10u);
    EXPECT_GT(notesWrittenForChain(1000), 0u);
    EXPECT_LE(notesWrittenForChain(1000), 16u);
}

// Malformed models are ModelMessages' cases: the writers read models alike.
TEST(PandocWriterBadInput, ClearErrorsForOptions) {
    const std::pair<std::string, const char*> cases[] = {
        {R"({"api":"2.0"})", "unsupported Pandoc API version"},
        {R"({"api":"1.x"})", "unsupported Pandoc API version"},
        {R"({"api":122})", "invalid options"},
        {R"({"headerRow":"yes"})", "invalid options"},
        {"{broken", "invalid options"},
        {R"({"api":)" + std::string(5000, '[') + std::string(5000, ']') + "}", "nested deeper"},
    };
    for (const auto& [options, fragment] : cases) {
        const std::string error = testing::errorOf([&] { WritePandocJson(R"(["text"])", options.c_str()); });
        EXPECT_NE(error.find(fragment), std::string::npos) << options.substr(0, 40);
    }
}

}  // namespace
}  // namespace qorva::convert
