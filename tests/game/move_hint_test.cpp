#include <gtest/gtest.h>

#include "board_fixture.h"
#include "move_hint.h"

using namespace BoardFixture;

namespace {

// Gives the chip at (column, row) one more layer of `type` on top.
void addLayer(Board& board, int column, int row, int type, bool canFall = true, bool canIterate = true)
{
    board.at(column, row)->layers.add(makeLayer(type, canFall, canIterate));
}

TEST(MoveHint, FindsTheTopmostThenLeftmostSwapThatMakesALine)
{
    // Row 3 has a move (R at (3,3) down to ... ) and row 1 has one too; the
    // first found is in row 1: swapping (2,1) with (3,1) gives R R R.
    Board board({
        ".....",
        "RRGRB",
        "GBYGY",
        "BYRBR",
    });
    MoveHint hint(&board.field);
    FieldCell* move[2];
    hint.findMove(move);
    ASSERT_NE(move[0], nullptr);
    EXPECT_EQ(move[0]->column, 2);
    EXPECT_EQ(move[0]->row, 1);
    EXPECT_EQ(move[1]->column, 3);
    EXPECT_EQ(move[1]->row, 1);
    // The trial swap leaves the board as it was.
    EXPECT_EQ(board.at(2, 1)->colour, 1);
    EXPECT_FLOAT_EQ(board.at(2, 1)->x, 2.5f);
}

TEST(MoveHint, ABoardWithoutAMoveGivesNone)
{
    Board board({
        "....",
        "YGGY",
        "BRYB",
        "BGRG",
        "RYYG",
    });
    MoveHint hint(&board.field);
    FieldCell* move[2] = {nullptr, nullptr};
    hint.findMove(move);
    EXPECT_EQ(move[0], nullptr);
    EXPECT_EQ(move[1], nullptr);
}

TEST(MoveHint, UsefulSwapsOfSpecialChips)
{
    struct Case {
        const char* what;
        int typeA;  // a layer put on top of chip A (0: none)
        bool fixedB;  // chip B gets a layer that cannot fall
        int typeB;
        bool useful;
    } cases[] = {
        {"two plain chips making no line", 0, false, 0, false},
        {"a colour destroyer beside a plain chip", BEHAVIOR_DESTROY_COLOR, false, 0, true},
        {"a colour destroyer beside a chained chip", BEHAVIOR_DESTROY_COLOR, true, 0, false},
        {"a bomb beside a wave", BEHAVIOR_BOMB_STAGE1, false, BEHAVIOR_WAVE_HOR, true},
        {"a bomb beside a plain chip", BEHAVIOR_BOMB_STAGE1, false, 0, false},
        {"a cross beside a bomb", BEHAVIOR_CROSS, false, BEHAVIOR_BOMB_STAGE1, true},
        {"a cross beside a plain chip", BEHAVIOR_CROSS, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Board board({"..", "RG"});
        if (c.typeA)
            addLayer(board, 0, 1, c.typeA);
        if (c.typeB)
            addLayer(board, 1, 1, c.typeB);
        if (c.fixedB)
            addLayer(board, 1, 1, BEHAVIOR_CHAIN, false);
        MoveHint hint(&board.field);
        EXPECT_EQ(hint.isUsefulSwap(board.field.cellAt(0, 1), board.field.cellAt(1, 1)), c.useful);
        EXPECT_EQ(hint.isUsefulSwap(board.field.cellAt(1, 1), board.field.cellAt(0, 1)), c.useful);
    }
}

TEST(MoveHint, SameColouredChipsAreNeverSwappedForALine)
{
    Board board({"....", "RRGR", "BBRY"});
    MoveHint hint(&board.field);
    // (2,1) and (2,2) differ: swapping them lines up R R R in row 1.
    EXPECT_TRUE(hint.isUsefulSwap(board.field.cellAt(2, 1), board.field.cellAt(2, 2)));
    EXPECT_FALSE(hint.isUsefulSwap(board.field.cellAt(0, 1), board.field.cellAt(1, 1)));
    EXPECT_FALSE(hint.isUsefulSwap(board.field.cellAt(0, 0), board.field.cellAt(0, 1)));
}

}  // namespace
