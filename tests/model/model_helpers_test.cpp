// Model JSON checks: the tree reader and the streaming reader judge models alike.
#include "model/model_access.h"
#include "model/model_document.h"

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

}  // namespace
}  // namespace qorva
