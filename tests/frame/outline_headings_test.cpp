#include "src/win/view/outline_headings.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(OutlineHeadings, ReadsThePagesAnswerAndTurnsAnythingElseIntoAnEmptyOutline) {
    const Outline read = ParseOutline(R"({"headings":[[1,0,"One"],[4,2,"Deep \"x\""]],"current":1})");
    EXPECT_EQ(read.headings, (std::vector<OutlineHeading>{{1, 0, "One"}, {4, 2, "Deep \"x\""}}));
    EXPECT_EQ(read.current, 1);
    for (const char* bad : {"", "null", "[]", R"({"headings":[[1,0]]})", R"({"headings":[["1",0,"a"]]})",
                            R"({"headings":{}})"}) {
        const Outline outline = ParseOutline(bad);
        EXPECT_TRUE(outline.headings.empty()) << bad;
        EXPECT_EQ(outline.current, -1) << bad;
    }
    // A current heading the list does not hold is none.
    EXPECT_EQ(ParseOutline(R"({"headings":[[0,0,"a"]],"current":3})").current, -1);
}

TEST(OutlineHeadings, EachHeadingSitsUnderTheNearestEarlierHeadingOfASmallerLevel) {
    const struct {
        std::vector<int> levels;
        std::vector<int> parents;
    } cases[] = {
        {{}, {}},
        {{0, 0, 0}, {-1, -1, -1}},
        {{0, 1, 2, 1, 0, 2}, {-1, 0, 1, 0, -1, 4}},
        // A document that starts below the top level keeps those headings at the top.
        {{2, 1, 2, 0}, {-1, -1, 1, -1}},
        {{1, 2, 2, 0, 1}, {-1, 0, 0, -1, 3}},
    };
    for (const auto& c : cases) {
        std::vector<OutlineHeading> headings;
        for (int level : c.levels) headings.push_back({0, level, "h"});
        EXPECT_EQ(OutlineParents(headings), c.parents);
    }
}

}  // namespace
}  // namespace qorva
