#include <gtest/gtest.h>

#include <cmath>

#include "board_play_fixture.h"
#include "board_tasks.h"
#include "chip_manager.h"
#include "color_tasks.h"
#include "field_tasks.h"
#include "support/shipped_content_fixture.h"

using BoardFixture::makeLayer;
using BoardPlayFixture::PlayBoard;

namespace {

std::vector<std::string> picture(int width, int height)
{
    std::vector<std::string> rows(height + 1, std::string(width, 'R'));
    rows[0] = std::string(width, '.');
    return rows;
}

// The cells of the DestroyChipTasks in the order they were queued, with
// their delays.
struct Queued {
    int column, row;
    float delay;
};
std::vector<Queued> queuedDestroys(const PlayBoard& board)
{
    std::vector<Queued> result;
    for (Task* task : board.field.taskManager->tasks)
        if (auto* destroy = dynamic_cast<DestroyChipTask*>(task))
            result.push_back({static_cast<int>(destroy->chip->x), static_cast<int>(destroy->chip->y), task->delay});
    return result;
}

TEST(BoomAction, QueuesTheRingThenTheNeighboursAndHoldsTheBoard)
{
    for (int super : {0, 1}) {
        SCOPED_TRACE(super);
        PlayBoard board(picture(11, 11));
        Chip* bomb = board.at(5, 5);
        BoomAction(super).run(&board.field, bomb, 0.0f);
        EXPECT_FLOAT_EQ(board.field.suspendTime, 0.7f);
        const std::vector<Queued> queued = queuedDestroys(board);
        ASSERT_EQ(queued.size(), super ? 20u : 8u);
        if (super) {
            const int ring[12][2] = {{4, 3}, {4, 7}, {3, 4}, {7, 4}, {5, 3}, {5, 7},
                                     {3, 5}, {7, 5}, {6, 3}, {6, 7}, {3, 6}, {7, 6}};
            for (int i = 0; i < 12; ++i) {
                EXPECT_EQ(queued[i].column, ring[i][0]) << i;
                EXPECT_EQ(queued[i].row, ring[i][1]) << i;
                EXPECT_FLOAT_EQ(queued[i].delay, 0.4f);
            }
        }
        const size_t first = super ? 12 : 0;
        EXPECT_EQ(queued[first].column, 4);
        EXPECT_EQ(queued[first].row, 4);
        EXPECT_EQ(queued[first + 3].column, 4);  // the centre is left out
        EXPECT_EQ(queued[first + 3].row, 5);
        for (size_t i = first; i < queued.size(); ++i)
            EXPECT_FLOAT_EQ(queued[i].delay, 0.2f);
    }
}

TEST(BoomAction, PushesChipsAwayUpToTheCornersOfItsSquare)
{
    PlayBoard board(picture(9, 9));
    board.field.boomShakePower = 0.75f;
    BoomAction(0).run(&board.field, board.at(4, 4), 0.0f);
    const Chip* right = board.at(5, 4);
    EXPECT_NEAR(right->pushX, std::sqrt(std::sqrt(18.0f) - 1.0f) * 0.75f, 1e-5f);
    EXPECT_NEAR(right->pushX, 1.351f, 1e-3f);
    EXPECT_EQ(right->pushY, 0.0f);
    EXPECT_FLOAT_EQ(right->spin, 12.566371f);
    EXPECT_FLOAT_EQ(right->wobbleLeft, 0.5f);
    const Chip* above = board.at(4, 2);
    EXPECT_LT(above->pushY, 0.0f);
    // The corner is exactly at the reach: no swing, and never a NaN.
    for (const Chip* corner : {board.at(1, 1), board.at(7, 7), board.at(1, 7), board.at(7, 1)}) {
        EXPECT_EQ(corner->pushX, 0.0f);
        EXPECT_EQ(corner->pushY, 0.0f);
    }
    EXPECT_EQ(board.at(0, 4)->wobbleLeft, 0.0f);  // out of reach
}

TEST(WaveAction, LanesDelaysAndEffects)
{
    PlayBoard board(picture(21, 15));
    Chip* wave = board.at(10, 5);
    WaveAction(WAVE_LEFT | WAVE_RIGHT, 0).run(&board.field, wave, 0.0f);
    EXPECT_FLOAT_EQ(board.field.suspendTime, 0.2f);
    const std::vector<Queued> queued = queuedDestroys(board);
    ASSERT_EQ(queued.size(), 20u);  // the whole row but the chip
    const float step = 0.2f / 21;
    for (const Queued& q : queued) {
        EXPECT_EQ(q.row, 5);
        const int k = std::abs(q.column - 10);
        EXPECT_NEAR(q.delay, std::hypot(k - 0.5f, k - 0.5f) * step, 1e-6f);
    }
    EXPECT_EQ(queued[0].column, 9);  // left before right
    EXPECT_EQ(queued[1].column, 11);
    EXPECT_NEAR(queued[2].delay, 0.0202f, 1e-4f);
    EXPECT_EQ(board.countTasks<SpawnEffectTask>(), 20);
    for (Task* task : board.field.taskManager->tasks) {
        if (auto* spawn = dynamic_cast<SpawnEffectTask*>(task)) {
            EXPECT_EQ(spawn->effectIndex, std::abs(spawn->cell->column - 10) % 2);
        }
    }
}

// The lanes' effects are the shipped ones.
using WaveEffects = TestSupport::ShippedContentTest;

TEST_F(WaveEffects, WideAndDiagonalLanes)
{
    PlayBoard board(picture(7, 7));
    board.field.createWaveEffects();
    board.field.cellAt(3, 1)->solidity = 0;  // a hole: no effect there
    board.field.cellAt(3, 1)->chip = nullptr;
    Chip* wave = board.at(3, 3);
    WaveAction(WAVE_UP, 1).run(&board.field, wave, 0.0f);
    // Three lanes up: (3, r), (4, r), (2, r) for r = 2..0, and (4, 3), (2, 3)
    // beside the chip; the hole and the empty spawn row get tile hits.
    const std::vector<Queued> queued = queuedDestroys(board);
    std::vector<std::pair<int, int>> cells;
    for (const Queued& q : queued)
        cells.push_back({q.column, q.row});
    const std::vector<std::pair<int, int>> expected = {{4, 3}, {2, 3}, {3, 2}, {4, 2}, {2, 2}, {4, 1}, {2, 1}};
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(board.countTasks<ReduceCellTask>(), 4);
    EXPECT_EQ(board.countTasks<SpawnEffectTask>(), 10);

    PlayBoard diagonal(picture(7, 7));
    diagonal.field.createWaveEffects();
    WaveAction(WAVE_DIAGONALS, 0).run(&diagonal.field, diagonal.at(3, 3), 0.0f);
    std::vector<int> effects;
    for (Task* task : diagonal.field.taskManager->tasks)
        if (auto* spawn = dynamic_cast<SpawnEffectTask*>(task))
            effects.push_back(spawn->effectIndex);
    ASSERT_GE(effects.size(), 4u);
    EXPECT_EQ(std::vector<int>(effects.begin(), effects.begin() + 4), (std::vector<int>{5, 5, 7, 7}));
    diagonal.runTasks(0.2f);
    EXPECT_EQ(diagonal.field.effectDrawables.size(), effects.size());
    // An effect sits on the cell's centre: (column + 1) * size - size / 2.
    EXPECT_FLOAT_EQ(diagonal.field.effectDrawables[0].x, 4 * 40 + 40 - 20);
}

TEST(FloorExit, LocksTheBoardUntilNothingMovesThenLeaves)
{
    PlayBoard board({"...", "RGB", "MBR"});
    Chip* goal = board.at(1, 1);
    DestroyIfFloorIsReached action;
    // A cell below: not at the floor yet.
    EXPECT_TRUE(action.run(&board.field, goal, 0.0f));
    EXPECT_EQ(board.field.taskManager->count, 0);

    board.field.cellAt(1, 2)->solidity = 0;
    board.field.moving = true;
    EXPECT_TRUE(action.run(&board.field, goal, 0.0f));
    ASSERT_EQ(board.countTasks<LockTask>(), 1);
    board.runTasks(0.05f);
    EXPECT_EQ(board.field.taskManager->count, 1);  // holds clicks and matching
    board.click(0, 1);
    EXPECT_EQ(board.field.selectedChip, nullptr);

    board.field.moving = false;
    EXPECT_FALSE(action.run(&board.field, goal, 0.0f));
    EXPECT_FLOAT_EQ(board.field.suspendTime, 0.3f);
    board.runTasks(0.02f);
    EXPECT_EQ(board.field.taskManager->count, 0);

    // Run again after its lock has finished, it takes a new one.
    board.field.moving = true;
    EXPECT_TRUE(action.run(&board.field, goal, 0.0f));
    EXPECT_EQ(board.countTasks<LockTask>(), 1);
    // A copy starts without a lock, and the action going away lets go.
    std::unique_ptr<Action> copy(action.clone());
    EXPECT_EQ(static_cast<DestroyIfFloorIsReached*>(copy.get())->lock, nullptr);
    {
        DestroyIfFloorIsReached gone;
        gone.run(&board.field, goal, 0.0f);
    }
    EXPECT_EQ(board.countTasks<LockTask>(), 2);
    board.runTasks(0.02f);
    EXPECT_EQ(board.countTasks<LockTask>(), 1);
}

TEST(ColorDestroyerAction, PicksTheTaskAndColourFromWhatDestroyedIt)
{
    struct Case {
        const char* what;
        int otherLayer;  // 0: no other chip
        const char* key;
        bool transformer;
        int kind;
        int colour;
    };
    const Case cases[] = {
        {"swapped with a plain chip", BEHAVIOR_SIMPLE, "swappedChip", false, 0, 2},
        {"swapped with a bomb", BEHAVIOR_BOMB_STAGE1, "swappedChip", true, BEHAVIOR_SIMPLE_BOMB, 2},
        {"swapped with a wave", BEHAVIOR_WAVE_HOR, "swappedChip", true, BEHAVIOR_WAVE_DSIDE, 2},
        {"swapped with a diagonal wave", BEHAVIOR_WAVE_DSIDE, "swappedChip", true, BEHAVIOR_WAVE_DSIDE, 2},
        {"destroyed by a blast", BEHAVIOR_SUPER_BOMB, "destroyer", false, 0, 2},
        {"on its own, nothing dropped", 0, "", false, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayBoard board({"..", "DB"});
        Chip* self = board.at(0, 1);
        Chip* other = board.at(1, 1);
        other->layers.deleteAll();
        other->layers.add(makeLayer(c.otherLayer ? c.otherLayer : BEHAVIOR_SIMPLE));
        if (c.otherLayer)
            self->setUserData(c.key, chipSlot(other));
        ColorDestroyer action;
        EXPECT_TRUE(action.run(&board.field, self, 0.0f));
        ASSERT_EQ(board.field.taskManager->count, 1);
        Task* task = board.field.taskManager->tasks.front();
        EXPECT_TRUE(task->blockWhileRunning && task->blockWhileDelayed);
        if (c.transformer) {
            auto* transformer = dynamic_cast<ColorTransformerTask*>(task);
            ASSERT_NE(transformer, nullptr);
            EXPECT_EQ(transformer->kind, c.kind);
            EXPECT_EQ(transformer->colour, c.colour);
        } else {
            auto* destroyer = dynamic_cast<ColorDestroyerTask*>(task);
            ASSERT_NE(destroyer, nullptr);
            EXPECT_EQ(destroyer->colour, c.colour);
        }
    }
}

TEST(ColorDestroyerTask, SkipsColourDestroyersAndChipsThatCannotGo)
{
    PlayBoard board({"....", "RRRR", "RRGR"});
    board.at(1, 1)->layers.add(makeLayer(BEHAVIOR_DESTROY_COLOR));
    // Neither joins lines nor is plain: left alone.
    Chip* stuck = board.at(2, 1);
    stuck->layers.deleteAll();
    stuck->layers.add(makeLayer(BEHAVIOR_WALL, false, false));
    // Chained: no group, but a plain layer under the chain: taken.
    Chip* chained = board.at(3, 1);
    chained->layers.add(makeLayer(BEHAVIOR_CHAIN, false, false));
    ColorDestroyerTask task(&board.field, board.at(0, 2), 0);
    int runs = 0;
    while (!task.run(0.016f))
        ++runs;
    EXPECT_EQ(runs, 5);  // one run to start the effect, then one per further chip
    EXPECT_FALSE(board.at(1, 1)->released);
    EXPECT_FALSE(stuck->released);
    EXPECT_EQ(chained->layers.size(), 1u);  // lost its chain
    EXPECT_TRUE(board.at(0, 1) == nullptr);
    EXPECT_FALSE(board.at(2, 2)->released);  // green
    EXPECT_TRUE(task.effect->finished);
}

}  // namespace
