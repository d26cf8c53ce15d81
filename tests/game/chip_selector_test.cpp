#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "board_fixture.h"
#include "chip_selector.h"

namespace {

using Cells = std::vector<std::pair<int, int>>;

Cells cellsOf(const std::vector<Chip*>& run)
{
    Cells cells;
    for (const Chip* chip : run)
        cells.emplace_back(static_cast<int>(chip->x), static_cast<int>(chip->y));
    return cells;
}

TEST(ChipSelector, SelectionsOverHandBuiltBoards)
{
    struct Case {
        const char* what;
        std::vector<std::string> picture;
        std::pair<int, int> start;
        Cells locked;
        Cells rowRun;
        Cells columnRun;
    };
    const Case cases[] = {
        {"a line of three, asked from the middle", {"....", ".RRR", "...."}, {2, 1}, {},
         {{2, 1}, {3, 1}, {1, 1}}, {{2, 1}}},
        {"a pair is no line", {"....", ".RR.", "...."}, {1, 1}, {}, {}, {}},
        {"a run of four stops at another colour", {"GRRRRG", "......"}, {2, 0}, {},
         {{2, 0}, {3, 0}, {1, 0}, {4, 0}}, {{2, 0}}},
        {"a line in row 0 counts like any other", {"RRR", "...", "..."}, {0, 0}, {}, {{0, 0}, {1, 0}, {2, 0}},
         {{0, 0}}},
        {"a falling neighbour of the colour cancels the row", {"...", "RRr", "..."}, {1, 1}, {}, {}, {}},
        {"a cancelled row leaves the column run", {".R..", "RRr.", ".R..", "...."}, {1, 1}, {}, {},
         {{1, 1}, {1, 2}, {1, 0}}},
        {"a falling neighbour of another colour only stops its direction", {"RRRg"}, {0, 0}, {},
         {{0, 0}, {1, 0}, {2, 0}}, {{0, 0}}},
        {"a falling neighbour holding lock is a member", {"RRr"}, {0, 0}, {{2, 0}}, {{0, 0}, {1, 0}, {2, 0}},
         {{0, 0}}},
        {"a resting neighbour holding lock is a member", {"RRR"}, {0, 0}, {{1, 0}}, {{0, 0}, {1, 0}, {2, 0}},
         {{0, 0}}},
        {"a chip holding lock starts nothing", {"RRR"}, {1, 0}, {{1, 0}}, {}, {}},
        {"a falling chip starts nothing", {"RrR"}, {1, 0}, {}, {}, {}},
        {"a never-starting chip joins its neighbours' line", {"R*R"}, {0, 0}, {}, {{0, 0}, {1, 0}, {2, 0}},
         {{0, 0}}},
        {"a never-starting chip has no line of its own", {"R*R"}, {1, 0}, {}, {}, {}},
        {"an L of five from its far end gives the corner's selection", {"R..", "R..", "RRR"}, {2, 2}, {},
         {{0, 2}, {1, 2}, {2, 2}}, {{0, 2}, {0, 1}, {0, 0}}},
        {"an L of five from its top gives the corner's selection", {"R..", "R..", "RRR"}, {0, 0}, {},
         {{0, 2}, {1, 2}, {2, 2}}, {{0, 2}, {0, 1}, {0, 0}}},
        {"a cross: the centre's own selection wins on equal counts", {".R.", "RRR", ".R."}, {1, 1}, {},
         {{1, 1}, {2, 1}, {0, 1}}, {{1, 1}, {1, 2}, {1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BoardFixture::Board board(c.picture);
        for (const auto& [column, row] : c.locked)
            board.at(column, row)->setUserData("lock", "1");
        Chip* chip = board.at(c.start.first, c.start.second);
        const ChipSelection selection = chip->selector->select(&board.field, chip);
        EXPECT_EQ(cellsOf(selection.rowRun), c.rowRun);
        EXPECT_EQ(cellsOf(selection.columnRun), c.columnRun);
    }
}

TEST(ChipSelector, MatchCountAddsRunsOfThreeOrMore)
{
    Chip a, b, c;
    EXPECT_EQ(matchCount({{&a, &b, &c}, {&a}}), 3);
    EXPECT_EQ(matchCount({{&a, &b}, {&a, &b}}), 0);
    EXPECT_EQ(matchCount({{&a, &b, &c}, {&a, &b, &c}}), 6);
}

TEST(ChipSelector, CacheSharesOneSelectorPerName)
{
    ChipSelector* all = createChipSelector("AllChipsSameGroupSelector");
    EXPECT_TRUE(all->isAllChipsSelector());
    EXPECT_STREQ(all->name(), "AllChipsSameGroupSelector");
    EXPECT_EQ(createChipSelector("AllChipsSameGroupSelector"), all);
    ChipSelector* other = createChipSelector("SomethingElse");
    EXPECT_FALSE(other->isAllChipsSelector());
    EXPECT_STREQ(other->name(), "NearestChipSameGroupSelector");
    EXPECT_NE(other, createChipSelector("NearestChipSameGroupSelector"));
}

}  // namespace
