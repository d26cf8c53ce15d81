#pragma once
// A hand-built board with the parts the click, swap and actions need (task
// manager, hint, appearance list, a level with a mode that counts what it is
// told), driven frame by frame through its task manager only.

#include <memory>
#include <string>
#include <vector>

#include "board_fixture.h"
#include "chip_appearence.h"
#include "game_level.h"
#include "mode.h"
#include "move_hint.h"
#include "task.h"
#include "task_manager.h"

namespace BoardPlayFixture {

struct CountingMode : Mode {
    void save(AE::DataStream&) override {}
    void load(AE::DataStream&) override {}
    bool hasLevelBegun() override { return true; }
    bool onMatch(const ChipSelection&) override { return false; }
    bool onBonusSwap(Chip* a, Chip* b) override
    {
        offeredPairs.push_back({a, b});
        return takePairs;
    }
    void onPlayerMove(FieldCell* a, FieldCell* b) override { moves.push_back({a, b}); }
    void onNoPossibleMoves() override { ++noMoveReports; }
    void onChipDestroyed(const ChipSnapshot&) override { ++chipsRemoved; }

    std::vector<std::pair<Chip*, Chip*>> offeredPairs;
    std::vector<std::pair<FieldCell*, FieldCell*>> moves;
    bool takePairs = false;
    int noMoveReports = 0;
    int chipsRemoved = 0;
};

class PlayBoard : public BoardFixture::Board {
public:
    explicit PlayBoard(const std::vector<std::string>& picture) : Board(picture)
    {
        // A level in play: the board takes input.
        field.active = true;
        field.taskManager = std::make_unique<TaskManager>();
        field.appearance = std::make_unique<AppearanceSequence>(&field);
        field.moveHint = std::make_unique<MoveHint>(&field);
        field.cellSize = 40;
        field.boomShakePower = 0.75f;
        field.boomShakeTime = 0.5f;
        level.mode = &mode;
        field.level = &level;
    }

    void click(int column, int row)
    {
        const int cell[2] = {column, row};
        field.onCellClicked(cell);
    }
    // Task frames of `dt` until `seconds` have passed.
    void runTasks(float seconds, float dt = 0.01f)
    {
        for (float t = 0.0f; t < seconds - 1e-6f; t += dt)
            field.taskManager->update(dt);
    }
    std::vector<float> taskDelays() const
    {
        std::vector<float> delays;
        for (const Task* task : field.taskManager->tasks)
            delays.push_back(task->delay);
        return delays;
    }
    template <typename T>
    int countTasks() const
    {
        int count = 0;
        for (Task* task : field.taskManager->tasks)
            count += dynamic_cast<T*>(task) != nullptr;
        return count;
    }

    CountingMode mode;
    GameLevel level;
};

}  // namespace BoardPlayFixture
