// Every writer reads the model through one checked view, so a malformed model gets
// the same message from each of them; the view's own cases (ModelChecks) pin the rest.
#include "convert/converters.h"
#include "model/text_writer.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

namespace qorva::convert {
namespace {

using Writer = std::string (*)(std::string_view, const char*);

TEST(ModelMessages, EveryWriterNamesTheSameFault) {
    const Writer writers[] = {static_cast<Writer>(qorva::writeTextFormat), WriteHtml, WriteLatex, WritePandocJson};
    const std::pair<std::string, std::string> cases[] = {
        {R"(["html"])", "malformed model: unknown root tag \"html\""},
        {R"(["text",["para",{"level":0}],["para"]])", "malformed model: block 1 has no attributes"},
        {R"(["text",["para",{"level":1.5}]])", "malformed model: block 0 has a level that is not an integer"},
        {R"(["text",["para",{"level":0},["plain","a","b"]]])",
         "malformed model: block 0, span 0 does not have exactly two elements"},
        {std::string(2000, '[') + std::string(2000, ']'), "input nested deeper than 1000 levels (offset 1000)"},
    };
    for (const auto& [model, message] : cases) {
        for (Writer write : writers) EXPECT_EQ(testing::errorOf([&] { write(model, nullptr); }), message) << model.substr(0, 60);
    }
    for (const std::string broken : {std::string(R"(["text",)"), std::string("[\"text\",[\"p\xFF\",{\"level\":0}]]")}) {
        const std::string message = testing::errorOf([&] { qorva::writeTextFormat(broken, nullptr); });
        EXPECT_EQ(message.rfind("invalid JSON: ", 0), 0u) << message;
        for (Writer write : writers) EXPECT_EQ(testing::errorOf([&] { write(broken, nullptr); }), message);
    }
}

}  // namespace
}  // namespace qorva::convert
