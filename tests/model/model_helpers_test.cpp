// Model JSON checks: one reader builds the typed view every writer walks.
#include "model/model_json.h"
#include "model/model_view.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

std::string failureOf(const std::string& json) { return convert::testing::errorOf([&] { readModelView(json); }); }

TEST(ModelChecks, ReaderAcceptsWellFormedModelsDecodesEveryEscapeAndNamesTheFirstFault) {
    const std::string notRoot = "malformed model: the root is not an array starting with \"text\" or \"inline\"";
    const std::pair<const char*, std::string> cases[] = {
        {R"(["text"])", "(no error)"},
        {R"(["inline",["para",{"level":0},["plain","a"]]])", "(no error)"},
        {R"(["text",["unknown",{"level":7},["whatever","x"]]])", "(no error)"},
        {R"(["text",["para",{"level":1,"x":{"y":[1,{"z":2}]},"direction":"rtl"},["plain","a"]]])", "(no error)"},
        {R"(["page"])", "malformed model: unknown root tag \"page\""},
        {R"({"text":1})", notRoot},
        {R"([])", notRoot},
        {R"(["text","para"])", "malformed model: block 0 is not an array"},
        {R"(["text",[1,{"level":0}]])", "malformed model: block 0 has a tag that is not a string"},
        {R"(["text",["para"]])", "malformed model: block 0 has no attributes"},
        {R"(["text",["para",[0]]])", "malformed model: block 0 has attributes that are not an object"},
        {R"(["text",["para",{}]])", "malformed model: block 0 has no level"},
        {R"(["text",["para",{"level":"1"}]])", "malformed model: block 0 has a level that is not an integer"},
        {R"(["text",["para",{"level":99999999999}]])", "malformed model: block 0 has a level out of range"},
        {R"(["text",["para",{"level":0}],["para",{"level":0},["plain"]]])", "malformed model: block 1, span 0 does not have exactly two elements"},
        {R"(["text",["para",{"level":0},"x"]])", "malformed model: block 0, span 0 is not an array"},
        {R"(["text",["para",{"level":0},[3,"x"]]])", "malformed model: block 0, span 0 has a tag that is not a string"},
        {R"(["text",["para",{"level":0},["plain",3]]])", "malformed model: block 0, span 0 has a text that is not a string"},
    };
    for (const auto& [json, message] : cases) EXPECT_EQ(failureOf(json), message) << json;
    // A number too large for any type is refused like a syntax error (found by fuzzing).
    for (const char* broken : {R"(["text",)", R"(["text"] x)", R"(["text",[1E999999999999999999999999,{"level":0}],x])"}) {
        EXPECT_EQ(failureOf(broken).rfind("invalid JSON: ", 0), 0u) << broken;
    }
    const std::string json = R"(["text",["para",{"level":-0},["plain","\"\\\/\b\f\n\r\t\u00e9\u21a9\ud83d\ude00 \u0000x"]]])";
    const ModelView doc = readModelView(json);
    ASSERT_EQ(doc.blocks.size(), 1u);
    EXPECT_EQ(doc.text(doc.span(doc.blocks[0], 0)), parseJson(json)[1][2][1].get<std::string>());
    // What JSON forbids is refused, whichever way the model is read.
    for (const char* bad : {R"(["text",["para",{"level":0},["plain","\ud83d"]]])", R"(["text",["para",{"level":01}]])",
                            "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"a\tb\"]]]", "[\"text\",[\"p\xff\",{\"level\":0}]]"}) {
        EXPECT_NE(failureOf(bad), "(no error)") << bad;
    }
}

// The newer tags and string attributes, by the fast reader and (with an object among the
// attributes) the checking one; the tree puts terms, definitions and headings in place.
TEST(ModelChecks, NewerKindsAndAttributesReadAlikeOnBothPaths) {
    for (const char* extra : {"", R"(,"alt":7,"x":{})"}) {
        const std::string json = std::string(R"(["text",["verbatim",{"level":0,"info":"{#i .hs}")") + extra +
                                 R"(}],["image",{"level":0,"alt":"A \"b\"","title":"T"},["url","u"]],)"
                                 R"(["term",{"level":0},["strike","s"],["sup","p"],["sub","b"],["html","<i>"],["tex","\\X"]],)"
                                 R"(["definition",{"level":0},["linktext","t"],["url","u"],["title","T"],["title","x"]],)"
                                 R"(["para",{"level":1}],["definition",{"level":0}],["term",{"level":0}],)"
                                 R"(["bulleted",{"level":1}],["heading",{"level":2}],["html",{"level":0}],["tex",{"level":0}]])";
        const ModelView doc = readModelView(json);
        ASSERT_EQ(doc.blocks.size(), 11u);
        EXPECT_EQ(doc.info(doc.blocks[0]), "{#i .hs}");
        EXPECT_EQ(doc.alt(doc.blocks[0]), "");
        EXPECT_EQ(doc.alt(doc.blocks[1]), "A \"b\"");
        EXPECT_EQ(doc.title(doc.blocks[1]), "T");
        std::string tags;
        for (const ModelBlock& block : doc.blocks) {
            tags += std::string(doc.tag(block)) + ":";
            for (const ModelSpan& span : doc.spansOf(block)) tags += std::string(doc.tag(span)) + ",";
        }
        EXPECT_EQ(tags, "verbatim:image:url,term:strike,sup,sub,html,tex,definition:linktext,url,title,title,para:"
                        "definition:term:bulleted:heading:html:tex:") << extra;
        EXPECT_EQ(doc.titleAfter(doc.blocks[3], 1), "T");
        EXPECT_FALSE(doc.isLinkTitle(doc.blocks[3], 3));
    }
    const std::pair<const char*, const char*> languages[] = {
        {"python", "python"}, {"c++ {.numberLines}", "c++"}, {"{#id .haskell .x}", "haskell"}, {" {#id}", ""}, {"", ""}};
    for (const auto& [info, language] : languages) EXPECT_EQ(codeLanguage(info), language) << info;
}

}  // namespace
}  // namespace qorva
