#include <gtest/gtest.h>

#include "board_play_fixture.h"
#include "board_renderer.h"
#include "board_tasks.h"
#include "color_tasks.h"
#include "field_swap_chips_task.h"
#include "field_tasks.h"
#include "game_field.h"

using BoardFixture::makeLayer;
using BoardPlayFixture::PlayBoard;

namespace {

std::string swapOf(const Chip* chip)
{
    return chip->getUserData("swap").value ? chip->getUserData("swap").value->asString() : std::string();
}

TEST(FieldClick, SelectsReselectsAndSwapsOnlyNeighbours)
{
    PlayBoard board({"....", "RGBM", "MBRG"});
    Chip* first = board.at(0, 1);
    board.field.idleTime = 3.0f;
    board.click(0, 1);
    EXPECT_EQ(board.field.selectedChip, first);
    EXPECT_TRUE(first->selected);
    EXPECT_EQ(board.field.idleTime, 3.0f);  // a first selection keeps the idle clock

    // A diagonal neighbour becomes the selection; no swap.
    board.click(1, 2);
    EXPECT_FALSE(first->selected);
    EXPECT_EQ(board.field.selectedChip, board.at(1, 2));
    EXPECT_EQ(board.field.taskManager->count, 0);
    EXPECT_EQ(board.field.idleTime, 0.0f);

    // The selected chip clicked again stays selected.
    board.field.idleTime = 2.0f;
    board.click(1, 2);
    EXPECT_EQ(board.field.selectedChip, board.at(1, 2));
    EXPECT_TRUE(board.at(1, 2)->selected);
    EXPECT_EQ(board.field.idleTime, 0.0f);

    // Outside the grid and empty cells do nothing.
    board.click(4, 1);
    board.click(-1, 1);
    board.click(0, 0);
    EXPECT_EQ(board.field.selectedChip, board.at(1, 2));
    EXPECT_EQ(board.field.lastClickedColumn, 0);
    EXPECT_EQ(board.field.lastClickedRow, 0);

    // A neighbour: the pair is offered to the mode, then a swap task made.
    board.click(1, 1);
    EXPECT_EQ(board.field.selectedChip, nullptr);
    ASSERT_EQ(board.mode.offeredPairs.size(), 1u);
    EXPECT_EQ(board.mode.offeredPairs[0].first, board.at(1, 2));
    EXPECT_EQ(board.mode.offeredPairs[0].second, board.at(1, 1));
    EXPECT_EQ(board.countTasks<FieldSwapChipsTask>(), 1);

    // While a task is pending, clicks are not taken.
    board.click(3, 1);
    EXPECT_EQ(board.field.selectedChip, nullptr);
}

TEST(FieldClick, ModeTakingThePairAndUnswappableChipsMakeNoSwap)
{
    PlayBoard board({"...", "RGB", "Mbx"});
    board.mode.takePairs = true;
    board.click(0, 1);
    board.click(1, 1);
    EXPECT_EQ(board.mode.offeredPairs.size(), 1u);
    EXPECT_EQ(board.field.taskManager->count, 0);

    // A falling chip and a chained chip cannot be selected.
    board.click(1, 2);
    EXPECT_EQ(board.field.selectedChip, nullptr);
    board.at(2, 1)->layers.add(makeLayer(BEHAVIOR_CHAIN, false));
    board.click(2, 1);
    EXPECT_EQ(board.field.selectedChip, nullptr);
}

TEST(FieldSwap, SwapWithoutLineSlidesThereAndBackWithoutMove)
{
    struct Case {
        int columnA, rowA, columnB, rowB;
        const char* direction;
    };
    for (const Case& c : {Case{0, 1, 1, 1, "hor"}, Case{1, 2, 1, 1, "ver"}}) {
        SCOPED_TRACE(c.direction);
        PlayBoard board({"....", "RGBM", "MBRG"});
        Chip* a = board.at(c.columnA, c.rowA);
        Chip* b = board.at(c.columnB, c.rowB);
        board.click(c.columnA, c.rowA);
        board.click(c.columnB, c.rowB);

        board.field.taskManager->update(0.09f);  // half way
        EXPECT_FLOAT_EQ(a->x, (c.columnA + c.columnB) / 2.0f + 0.5f);
        EXPECT_FLOAT_EQ(a->y, (c.rowA + c.rowB) / 2.0f + 0.5f);
        board.field.taskManager->update(0.09f);  // there: cells exchanged
        EXPECT_EQ(board.at(c.columnB, c.rowB), a);
        EXPECT_EQ(board.at(c.columnA, c.rowA), b);
        EXPECT_EQ(board.field.taskManager->count, 1);
        EXPECT_EQ(swapOf(a), c.direction);
        EXPECT_EQ(swapOf(b), c.direction);

        board.field.taskManager->update(0.17f);
        EXPECT_EQ(board.field.taskManager->count, 1);
        board.field.taskManager->update(0.011f);  // back after another 0.18 s
        EXPECT_EQ(board.field.taskManager->count, 0);
        EXPECT_EQ(board.at(c.columnA, c.rowA), a);
        EXPECT_EQ(board.at(c.columnB, c.rowB), b);
        EXPECT_FLOAT_EQ(a->x, c.columnA + 0.5f);
        EXPECT_FLOAT_EQ(a->y, c.rowA + 0.5f);
        EXPECT_TRUE(board.mode.moves.empty());
        EXPECT_TRUE(board.field.gravityEnabled);
    }
}

TEST(FieldSwap, SwapMakingALineStandsIsReportedAndDestroysTheLine)
{
    PlayBoard board({"....", "RGRR", "BRBB"});
    Chip* green = board.at(1, 1);
    Chip* red = board.at(1, 2);
    board.click(1, 1);
    board.click(1, 2);
    const int before = Chip::landingCounter;
    board.runTasks(0.18f);
    EXPECT_EQ(board.at(1, 1), red);
    EXPECT_EQ(board.at(1, 2), green);
    // Stamps: the chip now in the lower cell first.
    EXPECT_EQ(green->landingStamp, before);
    EXPECT_EQ(red->landingStamp, before + 1);
    ASSERT_EQ(board.mode.moves.size(), 1u);
    EXPECT_EQ(board.mode.moves[0].first, board.field.cellAt(1, 1));
    EXPECT_EQ(board.mode.moves[0].second, board.field.cellAt(1, 2));
    EXPECT_GT(board.countTasks<DestroyChipTask>(), 0);
    EXPECT_EQ(board.countTasks<FieldSwapChipsTask>(), 0);

    board.runTasks(0.2f);
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(board.at(column, 1), nullptr) << column;
    EXPECT_EQ(board.mode.chipsRemoved, 4);
    EXPECT_FALSE(green->released);
}

// A colour destroyer needs no line: it is destroyed at once and its colour
// task takes every chip of the other chip's colour, one per run.
TEST(FieldSwap, ColourDestroyerSwapTakesEveryChipOfTheOtherColour)
{
    for (bool withRenderer : {false, true}) {
        SCOPED_TRACE(withRenderer);
        PlayBoard board({"....", "RGBR", "GRDB", "BRMG"});
        NullBoardRenderer renderer;
        if (withRenderer)
            board.field.renderer = &renderer;
        Chip* destroyer = board.at(2, 2);
        destroyer->colour = -1;
        destroyer->layers.deleteAll();
        destroyer->layers.add(makeLayer(BEHAVIOR_DESTROY_COLOR));
        destroyer->layers.top()->OnDestroyActions.add(new ColorDestroyer());
        Chip* red = board.at(1, 2);

        board.click(2, 2);
        board.click(1, 2);
        board.field.taskManager->update(0.18f);
        EXPECT_TRUE(destroyer->released);
        EXPECT_EQ(destroyer->getUserData("swappedChip").chipPointer(), red);
        EXPECT_EQ(board.mode.moves.size(), 1u);
        ASSERT_EQ(board.countTasks<ColorDestroyerTask>(), 1);
        auto* task = dynamic_cast<ColorDestroyerTask*>(board.field.taskManager->tasks.back());
        EXPECT_EQ(task->colour, 0);
        ASSERT_NE(task->effect, nullptr);
        EXPECT_EQ(task->effect->marker, "red");
        EXPECT_EQ(withRenderer, renderer.effects.effects.size() == 1u);

        for (int i = 0; i < 10 && board.field.taskManager->count > 0; ++i)
            board.field.taskManager->update(0.016f);
        EXPECT_EQ(board.field.taskManager->count, 0);
        int redsLeft = 0, othersLeft = 0;
        for (auto& chip : board.chips)
            (chip->colour == 0 ? redsLeft : othersLeft) += chip->released ? 0 : 1;
        EXPECT_EQ(redsLeft, 0);
        EXPECT_EQ(othersLeft, 7);
        if (withRenderer) {
            EXPECT_TRUE(renderer.effects.effects.front()->finished);
        }
    }
}

TEST(FieldSwap, TwoColourDestroyersGoTogether)
{
    PlayBoard board({"...", "DDR", "RGB"});
    for (int column : {0, 1}) {
        Chip* chip = board.at(column, 1);
        chip->colour = -1;
        chip->layers.deleteAll();
        chip->layers.add(makeLayer(BEHAVIOR_DESTROY_COLOR));
        chip->layers.top()->OnDestroyActions.add(new ColorDestroyer());
    }
    Chip* first = board.at(0, 1);
    Chip* second = board.at(1, 1);
    board.click(0, 1);
    board.click(1, 1);
    board.field.taskManager->update(0.18f);
    // The one selected first is destroyed; the other leaves with it, and the
    // colour task takes every coloured chip.
    EXPECT_EQ(first->getUserData("swappedChip").chipPointer(), second);
    EXPECT_TRUE(first->released);
    EXPECT_TRUE(second->released);
    auto* task = dynamic_cast<ColorDestroyerTask*>(board.field.taskManager->tasks.back());
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->colour, -1);
    board.runTasks(0.2f);
    for (auto& chip : board.chips)
        EXPECT_TRUE(chip->released);
}

TEST(FieldDestroy, DestroyChipInCellByKindOfChip)
{
    PlayBoard board({"....", "RGB.", "MBRG"});
    Chip* bomb = board.at(1, 1);
    bomb->layers.deleteAll();
    bomb->layers.add(makeLayer(BEHAVIOR_SUPER_BOMB));
    Chip* goal = board.at(2, 1);
    goal->layers.add(makeLayer(BEHAVIOR_FALLING_LEVEL_GOAL));
    Chip* blaster = board.at(0, 2);

    destroyChipInCell(&board.field, board.field.cellAt(1, 1), blaster, 0.2f, 0.0f);
    EXPECT_EQ(bomb->detonateCounter, 1);
    EXPECT_EQ(bomb->getUserData("destroyer").chipPointer(), blaster);
    destroyChipInCell(&board.field, board.field.cellAt(0, 1), blaster, 0.2f, 0.0f);
    destroyChipInCell(&board.field, board.field.cellAt(2, 1), blaster, 0.2f, 0.0f);  // a goal is left alone
    destroyChipInCell(&board.field, board.field.cellAt(3, 1), blaster, 0.3f, 0.0f);  // empty: the tile
    destroyChipInCell(&board.field, nullptr, blaster, 0.3f, 0.0f);
    EXPECT_EQ(board.countTasks<DestroyChipTask>(), 2);
    EXPECT_EQ(board.countTasks<ReduceCellTask>(), 1);
    const std::vector<float> delays = board.taskDelays();
    ASSERT_EQ(delays.size(), 3u);
    // A lone bonus chip shows its detonation first: the special delay plus a
    // second, in place of the blast's delay.
    EXPECT_FLOAT_EQ(delays[0], 1.0f);
    EXPECT_FLOAT_EQ(delays[1], 0.2f);
    EXPECT_FLOAT_EQ(delays[2], 0.3f);
    EXPECT_FALSE(goal->hasUserData("destroyer"));
}

TEST(FieldDestroy, QueuedDestroyTakesOnlyAChipStillRestingInItsCell)
{
    PlayBoard board({"...", "RGB", "MBR"});
    board.field.queueDestroyChipInCell(0, 1, 0.1f);
    board.field.queueDestroyChipInCell(1, 1, 0.1f);
    board.field.queueDestroyChipInCell(1, 0, 0.1f);  // the spawn row
    board.field.queueDestroyChipInCell(3, 1, 0.1f);
    EXPECT_EQ(board.countTasks<DestroyChipInCellTask>(), 2);
    Chip* passing = board.at(1, 1);
    passing->y = 1.9f;  // still in the cell
    Chip* left = board.at(0, 1);
    left->y = 2.1f;  // fell on
    board.runTasks(0.11f);
    EXPECT_TRUE(passing->released);
    EXPECT_FALSE(left->released);
}

TEST(FieldQueries, BombStageTwoAndCellToScreen)
{
    PlayBoard board({"..", "RG", "MB"});
    EXPECT_FALSE(board.field.hasBombStage2Chip());
    board.at(1, 2)->layers.add(makeLayer(BEHAVIOR_BOMB_STAGE2));
    EXPECT_TRUE(board.field.hasBombStage2Chip());

    struct OffsetRenderer : NullBoardRenderer {
        VQ::Vector2f boardOrigin() const override { return {100.0f, 20.0f}; }
    } renderer;
    const float cell[2] = {1.5f, 2.0f};
    float out[2];
    board.field.cellToScreen(out, cell);
    EXPECT_FLOAT_EQ(out[0], 60.0f);
    EXPECT_FLOAT_EQ(out[1], 80.0f);
    board.field.renderer = &renderer;
    board.field.cellToScreen(out, cell);
    EXPECT_FLOAT_EQ(out[0], 160.0f);
    EXPECT_FLOAT_EQ(out[1], 100.0f);
}

}  // namespace
