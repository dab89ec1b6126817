// The welcome document the program carries: it reads, it shows every style, and saving
// it gives back the same text.
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"
#include "resources/resources.h"

#include <gtest/gtest.h>

#include <set>

namespace qorva {
namespace {

TEST(WelcomeDocument, IsHeadedShowsEveryStyleAndSavesBackToTheSameText) {
    const auto bytes = findResource("welcome.text");
    ASSERT_TRUE(bytes.has_value());
    const std::string text(*bytes), read = readTextFormat(text);
    const Json model = parseJson(read);
    ASSERT_GT(model.size(), 1u);
    EXPECT_EQ(model[1].dump(), R"(["heading",{"level":-3},["plain","Welcome to Qorva!"]])");
    std::set<std::string> tags;
    std::set<int> headingLevels;
    for (std::size_t i = 1; i < model.size(); ++i) {
        tags.insert(model[i][0].get<std::string>());
        if (model[i][0] == "heading") headingLevels.insert(model[i][1]["level"].get<int>());
        for (std::size_t k = 2; k < model[i].size(); ++k) tags.insert("span " + model[i][k][0].get<std::string>());
    }
    for (const char* tag : {"heading", "para", "bulleted", "numbered", "quote", "comment", "verbatim", "formula", "image", "note", "link",
                            "row", "col", "span plain", "span emph", "span strong", "span code", "span math", "span url",
                            "span linktext", "span linkref", "span noteref", "span break"})
        EXPECT_TRUE(tags.count(tag)) << tag;
    EXPECT_EQ(headingLevels, (std::set<int>{-3, -2, -1}));
    EXPECT_EQ(writeTextFormat(read, "{\"wrap\":true}"), text);
    EXPECT_EQ(readTextFormat(writeTextFormat(read, "{\"wrap\":false}")), read);
}

}  // namespace
}  // namespace qorva
