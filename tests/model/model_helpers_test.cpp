// Model JSON checks, tree rebuilding from levels and the label tables.
#include "model/label_tables.h"
#include "model/model_access.h"
#include "model/model_document.h"
#include "model/model_tree.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

template <class Read>
std::string failureOf(Read read, const std::string& json) {
    try {
        read(json);
    } catch (const ConverterError& e) {
        return e.what();
    }
    return "";
}

// The writers read models without building a JSON tree; both readers must judge them alike.
std::string treeFailure(const std::string& json) { return failureOf([](const std::string& j) { parseModel(j); }, json); }
std::string streamedFailure(const std::string& json) { return failureOf([](const std::string& j) { readModelDocument(j); }, json); }

TEST(ModelChecks, BothReadersAcceptWellFormedModelsAndNameTheFirstFault) {
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
        {R"(["text",["para",{"level":0}],["para",{"level":0},["plain"]]])", "malformed model: block 1, span 0 does not have exactly two elements"},
        {R"(["text",["para",{"level":0},["plain","a","b"]]])", "malformed model: block 0, span 0 does not have exactly two elements"},
        {R"(["text",["para",{"level":0},"x"]])", "malformed model: block 0, span 0 is not an array"},
        {R"(["text",["para",{"level":0},[3,"x"]]])", "malformed model: block 0, span 0 has a tag that is not a string"},
        {R"(["text",["para",{"level":0},["plain",3]]])", "malformed model: block 0, span 0 has a text that is not a string"},
    };
    for (const auto& [json, message] : cases) {
        EXPECT_EQ(treeFailure(json), message) << json;
        EXPECT_EQ(streamedFailure(json), message) << json;
    }
    // A number too large for any type is refused like a syntax error (found by fuzzing).
    for (const char* broken : {R"(["text",)", R"(["text"] x)", R"(["text",[1E999999999999999999999999,{"level":0}],x])"}) {
        EXPECT_EQ(treeFailure(broken).rfind("invalid JSON: ", 0), 0u) << broken;
        EXPECT_EQ(streamedFailure(broken), treeFailure(broken)) << broken;
    }
}

TEST(ModelChecks, StreamingReaderDecodesEveryEscapeAndRefusesWhatJsonForbids) {
    const std::string json = R"(["text",["para",{"level":-0},["plain","\"\\\/\b\f\n\r\t\u00e9\u21a9\ud83d\ude00 \u0000x"]]])";
    const ModelDocument doc = readModelDocument(json);
    ASSERT_EQ(doc.blocks.size(), 1u);
    EXPECT_EQ(doc.text(doc.span(doc.blocks[0], 0)), parseJson(json)[1][2][1].get<std::string>());
    for (const char* bad : {R"(["text",["para",{"level":0},["plain","\ud83d"]]])", R"(["text",["para",{"level":01}]])",
                            "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"a\tb\"]]]", "[\"text\",[\"p\xff\",{\"level\":0}]]"}) {
        EXPECT_NE(streamedFailure(bad), "") << bad;
        EXPECT_NE(treeFailure(bad), "") << bad;
    }
}

// A compact picture of a tree: blocks by tag, paragraphs as their first span's text,
// lists as kind{item|item}.
std::string describe(const TreeNodes& nodes) {
    std::string out;
    for (const TreeNode& node : nodes) {
        if (!out.empty()) out += ' ';
        if (node.kind == TreeNode::Kind::Block) out += blockTag(*node.block);
        if (node.kind == TreeNode::Kind::Paragraph) out += spanText(blockSpan(*node.block, 0));
        if (node.kind != TreeNode::Kind::List) continue;
        out += node.listKind + "{";
        for (std::size_t i = 0; i < node.items.size(); ++i) out += (i ? "|" : "") + describe(node.items[i]);
        out += "}";
    }
    return out;
}

std::string tree(const std::string& blocks, int tableShift = 0) {
    static Json model;  // the tree points into it
    model = parseModel("[\"text\"," + blocks + "]");
    return describe(rebuildTree(model, tableShift));
}

TEST(TreeRebuilding, ListsFollowLevelsKindsAndHeadings) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"ItemsNestByLevel", R"(["bulleted",{"level":0},["plain","a"]],["bulleted",{"level":1},["plain","b"]],["bulleted",{"level":0},["plain","c"]])",
         "bulleted{a bulleted{b}|c}"},
        {"DeeperParagraphContinuesTheItemOneAtItsLevelEndsTheList",
         R"(["bulleted",{"level":0},["plain","a"]],["para",{"level":1},["plain","x"]],["para",{"level":0},["plain","y"]])", "bulleted{a para} para"},
        {"HeadingsCloseEveryList",
         R"(["numbered",{"level":0},["plain","a"]],["numbered",{"level":2},["plain","b"]],["heading",{"level":-3},["plain","h"]],["numbered",{"level":0},["plain","c"]])",
         "numbered{a numbered{numbered{b}}} heading numbered{c}"},
        {"ChangeOfKindStartsANewList", R"(["bulleted",{"level":0},["plain","a"]],["numbered",{"level":0},["plain","b"]])", "bulleted{a} numbered{b}"},
    };
    for (const auto& [name, blocks, expected] : cases) EXPECT_EQ(tree(blocks), expected) << name;
    const std::string table = R"(["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","c"]],["col",{"level":2},["plain","d"]])";
    EXPECT_EQ(tree(table, -1), "row{a col{b}|c col{d}}") << "rows at depth 0";
    EXPECT_EQ(tree(table, 0), "row{row{a col{b}|c col{d}}}") << "levels kept";
}

TEST(LabelTables, LaterDefinitionsWinAndMalformedOnesDefineNothing) {
    const Json model = parseModel(R"(["text",
        ["link",{"level":0},["linkref","a"],["url","first"]],["link",{"level":0},["linkref","a"],["url","second"]],
        ["link",{"level":0},["url","x"],["linkref","b"]],["link",{"level":0},["linkref","c"]],
        ["note",{"level":0},["noteref","1"],["plain","one"]],["note",{"level":1},["noteref","1"],["plain","two"]],
        ["note",{"level":0},["plain","no label"]],["link",{"level":0},["linkref","A"],["url","upper"]]])");
    const LabelTables tables = buildLabelTables(model);
    EXPECT_EQ(tables.linkTargets.size(), 2u);
    EXPECT_EQ(tables.linkTargets.at("a"), "second");
    EXPECT_EQ(tables.linkTargets.at("A"), "upper");  // labels compare exactly
    ASSERT_EQ(tables.notes.size(), 1u);
    EXPECT_EQ(spanText(blockSpan(*tables.notes.at("1"), 1)), "two");
}

}  // namespace
}  // namespace qorva
