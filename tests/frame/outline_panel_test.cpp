#include "src/win/view/outline_headings.h"
#include "src/win/view/outline_panel.h"
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace qorva {
namespace {

class OutlinePanelTest : public ::testing::Test {
protected:
    std::string answer = R"({"headings":[[0,0,"One"],[2,1,"One.a"],[5,0,"Two"]],"current":1})";
    int current = 1;
    unsigned changes = 0;
    int outlineReads = 0;
    std::vector<int> jumps;  // blocks gone to; -1 for Escape back to the text
    OutlinePanel panel{OutlinePage{[this] { return ++outlineReads, answer; }, [this] { return current; },
                                    [this](int block) { jumps.push_back(block); }, [this] { return changes; },
                                    [this] { jumps.push_back(-1); }},
                        nullptr};

    QStringList Rows() {
        QStringList rows;
        for (QTreeWidgetItemIterator it(panel.tree()); *it; ++it) {
            QString row = QString((*it)->parent() ? "  " : "") + (*it)->text(0);
            if ((*it)->font(0).bold()) row += " *";
            rows << row;
        }
        return rows;
    }
};

TEST_F(OutlinePanelTest, ShowsTheTreeMarksTheCurrentHeadingAndJumpsOnClickAndEnter) {
    panel.Toggle();
    EXPECT_EQ(Rows(), (QStringList{"One", "  One.a *", "Two"}));
    QTreeWidgetItem* two = panel.tree()->topLevelItem(1);
    QTest::mouseClick(panel.tree()->viewport(), Qt::LeftButton, {}, panel.tree()->visualItemRect(two).center());
    EXPECT_EQ(Rows(), (QStringList{"One", "  One.a", "Two *"}));
    panel.tree()->setFocus();
    panel.tree()->setCurrentItem(panel.tree()->topLevelItem(0));
    QTest::keyClick(panel.tree(), Qt::Key_Return);
    QTest::keyClick(panel.tree(), Qt::Key_Escape);
    ASSERT_GE(jumps.size(), 3u);
    EXPECT_EQ(std::vector<int>({jumps.front(), jumps.end()[-2], jumps.back()}), std::vector<int>({5, 0, -1}));
}

TEST_F(OutlinePanelTest, FollowsTheCaretWhenQuietAndReadsTheOutlineAgainOnlyAfterChangesStop) {
    panel.Toggle();
    const int readsAtShow = outlineReads;
    current = 2;
    panel.Poll();
    EXPECT_EQ(Rows(), (QStringList{"One", "  One.a", "Two *"}));
    EXPECT_EQ(outlineReads, readsAtShow);
    // Same levels, new texts: the tree keeps its folding.
    panel.tree()->topLevelItem(0)->setExpanded(false);
    answer = R"({"headings":[[0,0,"One"],[3,1,"One.b"],[6,0,"Two"]],"current":2})";
    ++changes;
    panel.Poll();
    panel.Poll();
    EXPECT_EQ(Rows(), (QStringList{"One", "  One.b", "Two *"}));
    EXPECT_FALSE(panel.tree()->topLevelItem(0)->isExpanded());
    const int readsAfterEdit = outlineReads;
    answer = R"({"headings":[[0,0,"One"],[5,0,"Two!"]],"current":0})";
    ++changes;  // typing: the outline waits
    panel.Poll();
    EXPECT_EQ(outlineReads, readsAfterEdit);
    panel.Poll();  // a quiet poll reads it
    EXPECT_EQ(outlineReads, readsAfterEdit + 1);
    EXPECT_EQ(Rows(), (QStringList{"One *", "Two!"}));
    const auto* poll = panel.findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(poll && poll->interval() == OutlinePanel::kPollMs);
    EXPECT_TRUE(poll->isActive());
    panel.Toggle();
    EXPECT_FALSE(poll->isActive()) << "hidden, the panel asks nothing";
}

TEST(OutlineHeadings, ReadsThePagesAnswerAndTurnsAnythingElseIntoAnEmptyOutline) {
    const Outline read = ParseOutline(R"({"headings":[[1,0,"One"],[4,2,"Deep \"x\""]],"current":1})");
    EXPECT_EQ(read.headings, (std::vector<OutlineHeading>{{1, 0, "One"}, {4, 2, "Deep \"x\""}}));
    EXPECT_EQ(read.current, 1);
    for (const char* bad : {"", "[]", R"({"headings":[[1,0]]})", R"({"headings":[["1",0,"a"]]})"}) {
        const Outline outline = ParseOutline(bad);
        EXPECT_EQ(std::tuple(outline.headings.size(), outline.current), std::tuple(0ul, -1)) << bad;
    }
    // A current heading the list does not hold is none.
    EXPECT_EQ(ParseOutline(R"({"headings":[[0,0,"a"]],"current":3})").current, -1);
}

TEST(OutlineHeadings, EachHeadingSitsUnderTheNearestEarlierHeadingOfASmallerLevel) {
    const struct {
        std::vector<int> levels;
        std::vector<int> parents;
    } cases[] = {
        {{0, 1, 2, 3, 5, 4, 1, 0, 2}, {-1, 0, 1, 2, 3, 3, 0, -1, 7}},
        // A document that starts below the top level keeps those headings at the top.
        {{2, 1, 2, 0}, {-1, -1, 1, -1}},
    };
    for (const auto& c : cases) {
        std::vector<OutlineHeading> headings;
        for (int level : c.levels) headings.push_back({0, level, "h"});
        EXPECT_EQ(OutlineParents(headings), c.parents);
    }
}

}  // namespace
}  // namespace qorva
