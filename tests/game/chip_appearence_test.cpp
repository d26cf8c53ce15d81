#include <gtest/gtest.h>

#include <cmath>

#include "animation.h"
#include "board_fixture.h"
#include "chip_appearence.h"
#include "move_hint.h"

using namespace BoardFixture;

namespace {

TEST(ChipAppearence, LineSendsTheChipsInOneAfterAnotherAndEndsInTheirCells)
{
    Board board({"....", "RG.B", "GBRY"});
    ChipAppearenceLine line(0.85f);
    line.apply(&board.field);
    ASSERT_EQ(line.entries.size(), 7u);
    const float a = 0.25f / 0.85f;
    const float step = a / (4.0f * 3.0f);
    // The empty cell adds no wait.
    EXPECT_FLOAT_EQ(line.entries[0]->animation->durations()[0], 0.0f);
    EXPECT_FLOAT_EQ(line.entries[3]->animation->durations()[0], 3.0f * (2.0f * a + step) / 100.0f);
    // A waiting chip stands above the top centre.
    line.update(0.0f);
    EXPECT_FLOAT_EQ(board.at(0, 2)->x, 2.0f);
    EXPECT_FLOAT_EQ(board.at(0, 2)->y, -1.5f);
    EXPECT_FALSE(line.isFinished());
    for (int i = 0; i < 100; ++i)
        line.update(0.02f);
    EXPECT_TRUE(line.isFinished());
    EXPECT_TRUE(line.entries.empty());
    EXPECT_FLOAT_EQ(board.at(3, 1)->x, 3.5f);
    EXPECT_FLOAT_EQ(board.at(3, 1)->y, 1.5f);
}

TEST(ChipAppearence, CrossSweepsInFromTheCornersNearestFirst)
{
    // W = 3, H = 4: the middle (1.5, 2) is the centre of cell (1, 1)'s
    // lower edge; the chip at (1, 2) sits at (1.5, 2.5), bottom right.
    Board board({"...", "R.G", "BYB", "..."});
    ChipAppearenceCross cross(0.85f);
    cross.apply(&board.field);
    ASSERT_EQ(cross.entries.size(), 5u);
    const VQ::Animation& first = *cross.entries[0]->animation;  // (0, 1), top left
    EXPECT_EQ(*const_cast<VQ::Animation&>(first).vector2KeyAt("position", 0), VQ::Vector2f(-3.0f, -4.0f));
    EXPECT_EQ(*const_cast<VQ::Animation&>(first).vector2KeyAt("position", 1), VQ::Vector2f(0.0f, 0.0f));
    const VQ::Animation& middle = *cross.entries[3]->animation;  // (1, 2)
    EXPECT_EQ(*const_cast<VQ::Animation&>(middle).vector2KeyAt("position", 1), VQ::Vector2f(3.0f, 4.0f));
    EXPECT_LT(middle.durations()[0], first.durations()[0]);
    for (int i = 0; i < 100; ++i)
        cross.update(0.02f);
    EXPECT_TRUE(cross.isFinished());
    EXPECT_FLOAT_EQ(board.at(2, 1)->x, 2.5f);
    EXPECT_FLOAT_EQ(board.at(2, 1)->y, 1.5f);
}

TEST(ChipAppearence, AShuffleMovesOnlyLonePlainChipsAndLeavesAMove)
{
    Board board({
        ".....",
        "YGGYR",
        "BRYBG",
        "BGRGB",
        "RYYGR",
    });
    // A chained chip keeps its cell.
    Chip* chained = board.at(4, 4);
    chained->layers.add(makeLayer(BEHAVIOR_CHAIN, false));
    board.field.moveHint = std::make_unique<MoveHint>(&board.field);
    ChipMixing mixing(0.85f, 0);
    mixing.apply(&board.field);
    EXPECT_EQ(mixing.entries.size(), 19u);
    EXPECT_EQ(board.at(4, 4), chained);
    for (int i = 0; i < 200; ++i)
        mixing.update(0.02f);
    EXPECT_TRUE(mixing.isFinished());
    // Every chip stands in the cell that points at it.
    for (int row = 1; row <= 4; ++row)
        for (int column = 0; column < 5; ++column) {
            const Chip* chip = board.at(column, row);
            EXPECT_FLOAT_EQ(chip->x, column + 0.5f);
            EXPECT_FLOAT_EQ(chip->y, row + 0.5f);
        }
    FieldCell* move[2];
    board.field.moveHint->findMove(move);
    EXPECT_NE(move[0], nullptr);
}

}  // namespace
