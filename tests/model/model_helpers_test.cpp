// Model JSON checks, tree rebuilding from levels and the label tables.
#include "model/label_tables.h"
#include "model/model_json.h"
#include "model/model_view.h"
#include "model/model_tree.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

std::string failureOf(const std::string& json) {
    try {
        readModelView(json);
    } catch (const ConverterError& e) {
        return e.what();
    }
    return "";
}

TEST(ModelChecks, ReaderAcceptsWellFormedModelsAndNamesTheFirstFault) {
    const std::string notRoot = "malformed model: the root is not an array starting with \"text\" or \"inline\"";
    const std::pair<const char*, std::string> cases[] = {
        {R"(["text"])", ""},
        {R"(["inline",["para",{"level":0},["plain","a"]]])", ""},
        {R"(["text",["unknown",{"level":7},["whatever","x"]]])", ""},
        {R"(["text",["para",{"level":1,"x":{"y":[1,{"z":2}]},"direction":"rtl"},["plain","a"]]])", ""},
        {R"(["page"])", "malformed model: unknown root tag \"page\""},
        {R"({"text":1})", notRoot},
        {R"([])", notRoot},
        {R"("text")", notRoot},
        {R"(["text","para"])", "malformed model: block 0 is not an array"},
        {R"(["text",[1,{"level":0}]])", "malformed model: block 0 has a tag that is not a string"},
        {R"(["text",["para"]])", "malformed model: block 0 has no attributes"},
        {R"(["text",["para",[0]]])", "malformed model: block 0 has attributes that are not an object"},
        {R"(["text",["para",{}]])", "malformed model: block 0 has no level"},
        {R"(["text",["para",{"level":"1"}]])", "malformed model: block 0 has a level that is not an integer"},
        {R"(["text",["para",{"level":[1]}]])", "malformed model: block 0 has a level that is not an integer"},
        {R"(["text",["para",{"level":99999999999}]])", "malformed model: block 0 has a level out of range"},
        {R"(["text",["para",{"level":0}],["para",{"level":0},["plain"]]])",
         "malformed model: block 1, span 0 does not have exactly two elements"},
        {R"(["text",["para",{"level":0},["plain","a","b"]]])", "malformed model: block 0, span 0 does not have exactly two elements"},
        {R"(["text",["para",{"level":0},"x"]])", "malformed model: block 0, span 0 is not an array"},
        {R"(["text",["para",{"level":0},[3,"x"]]])", "malformed model: block 0, span 0 has a tag that is not a string"},
        {R"(["text",["para",{"level":0},["plain",3]]])", "malformed model: block 0, span 0 has a text that is not a string"},
    };
    for (const auto& [json, message] : cases) EXPECT_EQ(failureOf(json), message) << json;
    // A number too large for any type is refused like a syntax error (found by fuzzing).
    for (const char* broken : {R"(["text",)", R"(["text"] x)", R"(["text",[1E999999999999999999999999,{"level":0}],x])"}) {
        EXPECT_EQ(failureOf(broken).rfind("invalid JSON: ", 0), 0u) << broken;
    }
}

TEST(ModelChecks, ReaderKeepsTagsLevelsDirectionsAndTexts) {
    const ModelView doc = readModelView(
        R"(["inline",["quote",{"x":[1],"level":2,"direction":"rtl"},["emph","a<b"],["mystery","c"]],["new",{"level":-1}]])");
    EXPECT_TRUE(doc.fragment);
    ASSERT_EQ(doc.blocks.size(), 2u);
    EXPECT_EQ(doc.blocks[0].kind, BlockKind::Quote);
    EXPECT_EQ(doc.blocks[0].level, 2);
    EXPECT_TRUE(doc.blocks[0].rtl);
    ASSERT_EQ(doc.blocks[0].spanCount, 2u);
    EXPECT_EQ(doc.span(doc.blocks[0], 0).kind, SpanKind::Emph);
    EXPECT_EQ(doc.text(doc.span(doc.blocks[0], 0)), "a<b");
    EXPECT_EQ(doc.span(doc.blocks[0], 1).kind, SpanKind::Other);
    EXPECT_EQ(doc.tag(doc.span(doc.blocks[0], 1)), "mystery");
    EXPECT_EQ(doc.tag(doc.blocks[0]), "quote");
    EXPECT_EQ(doc.blocks[1].kind, BlockKind::Other);
    EXPECT_EQ(doc.tag(doc.blocks[1]), "new");
    EXPECT_FALSE(doc.blocks[1].rtl);
}

TEST(ModelChecks, ReaderDecodesEveryEscape) {
    const std::string json = R"(["text",["para",{"level":-0},["plain","\"\\\/\b\f\n\r\t\u00e9\u21a9\ud83d\ude00 \u0000x"]]])";
    const ModelView doc = readModelView(json);
    ASSERT_EQ(doc.blocks.size(), 1u);
    EXPECT_EQ(doc.text(doc.span(doc.blocks[0], 0)), parseJson(json)[1][2][1].get<std::string>());
    // What JSON forbids is refused, whichever way the model is read.
    for (const char* bad : {R"(["text",["para",{"level":0},["plain","\ud83d"]]])", R"(["text",["para",{"level":01}]])",
                            "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"a\tb\"]]]", "[\"text\",[\"p\xff\",{\"level\":0}]]"}) {
        EXPECT_NE(failureOf(bad), "") << bad;
    }
}

TEST(ModelBuilding, AttributesKeepLevelBeforeDirection) {
    EXPECT_EQ(dumpCompact(makeBlock("quote", 2, true)), R"(["quote",{"level":2,"direction":"rtl"}])");
    EXPECT_EQ(dumpCompact(makeBlock("para", 0)), R"(["para",{"level":0}])");
    EXPECT_EQ(dumpCompact(makeSpan("plain", "Ω ↩")), R"(["plain","Ω ↩"])");
}

// A compact picture of a tree: blocks by tag, paragraphs as their first span's text,
// lists as kind{item|item}.
std::string describe(const ModelView& model, const TreeNodes& nodes) {
    std::string out;
    for (const TreeNode& node : nodes) {
        if (!out.empty()) out += ' ';
        switch (node.kind) {
            case TreeNode::Kind::Block: out += model.tag(*node.block); break;
            case TreeNode::Kind::Paragraph: out += model.text(model.span(*node.block, 0)); break;
            case TreeNode::Kind::List:
                out += std::string(blockTagName(node.listKind)) + "{";
                for (std::size_t i = 0; i < node.items.size(); ++i) out += (i ? "|" : "") + describe(model, node.items[i]);
                out += "}";
                break;
        }
    }
    return out;
}

std::string tree(const std::string& json, int tableShift = 0) {
    const ModelView model = readModelView(json);
    return describe(model, rebuildTree(model, tableShift));
}

TEST(TreeRebuilding, ListsFollowLevelsKindsAndHeadings) {
    const std::pair<const char*, const char*> cases[] = {
        // Items nest by level.
        {R"(["text",["bulleted",{"level":0},["plain","a"]],["bulleted",{"level":1},["plain","b"]],["bulleted",{"level":0},["plain","c"]]])",
         "bulleted{a bulleted{b}|c}"},
        // A deeper paragraph continues the item; one at the same level ends the list.
        {R"(["text",["bulleted",{"level":0},["plain","a"]],["para",{"level":1},["plain","x"]],["para",{"level":0},["plain","y"]]])",
         "bulleted{a para} para"},
        // Headings close every list.
        {R"(["text",["numbered",{"level":0},["plain","a"]],["numbered",{"level":2},["plain","b"]],["heading",{"level":-3},["plain","h"]],["numbered",{"level":0},["plain","c"]]])",
         "numbered{a numbered{numbered{b}}} heading numbered{c}"},
        // A change of kind at one depth starts a new list.
        {R"(["text",["bulleted",{"level":0},["plain","a"]],["numbered",{"level":0},["plain","b"]]])", "bulleted{a} numbered{b}"},
    };
    for (const auto& [json, expected] : cases) EXPECT_EQ(tree(json), expected) << json;
}

TEST(TreeRebuilding, TableDepthIsAParameter) {
    const std::string table =
        R"(["text",["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","c"]],["col",{"level":2},["plain","d"]]])";
    // Rows at depth 0 with their further cells one level in.
    EXPECT_EQ(tree(table, -1), "row{a col{b}|c col{d}}");
    // With the levels kept, the list of rows stands one level further in.
    EXPECT_EQ(tree(table, 0), "row{row{a col{b}|c col{d}}}");
}

TEST(LabelTables, LaterDefinitionsWinAndMalformedOnesDefineNothing) {
    const ModelView model = readModelView(R"(["text",
        ["link",{"level":0},["linkref","a"],["url","first"]],
        ["link",{"level":0},["linkref","a"],["url","second"]],
        ["link",{"level":0},["url","x"],["linkref","b"]],
        ["link",{"level":0},["linkref","c"]],
        ["note",{"level":0},["noteref","1"],["plain","one"]],
        ["note",{"level":1},["noteref","1"],["plain","two"]],
        ["note",{"level":0},["plain","no label"]],
        ["link",{"level":0},["linkref","A"],["url","upper"]]])");
    const LabelTables tables = buildLabelTables(model);
    EXPECT_EQ(tables.linkTargets.size(), 2u);
    EXPECT_EQ(tables.linkTargets.at("a"), "second");
    EXPECT_EQ(tables.linkTargets.at("A"), "upper");  // labels compare exactly
    ASSERT_EQ(tables.notes.size(), 1u);
    EXPECT_EQ(model.text(model.span(*tables.notes.at("1"), 1)), "two");
}

}  // namespace
}  // namespace qorva
