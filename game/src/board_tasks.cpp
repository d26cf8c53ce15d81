#include "board_tasks.h"

#include "chip.h"
#include "field_tasks.h"
#include "game_field.h"
#include "task_manager.h"

namespace {

// A lone bonus chip shows its detonation this much longer before it goes.
constexpr float DETONATION_DELAY = 1.0f;

}  // namespace

SpawnEffectTask::SpawnEffectTask(FieldCell* target, int index, GameField* board)
    : cell(target), effectIndex(index), field(board)
{
    blockWhileDelayed = true;
}

bool SpawnEffectTask::run(float)
{
    field->spawnWaveEffect(cell, effectIndex);
    return true;
}

DestroyChipInCellTask::DestroyChipInCellTask(GameField* board, int columnValue, int rowValue)
    : field(board), column(columnValue), row(rowValue)
{
    blockWhileRunning = true;
    blockWhileDelayed = true;
}

bool DestroyChipInCellTask::run(float)
{
    field->destroyChipAt(column, row);
    return true;
}

void destroyChipInCell(GameField* field, FieldCell* cell, Chip* destroyer, float delay, float specialDelay)
{
    if (!cell || !field->active)
        return;
    Chip* chip = cell->chip;
    if (!chip || chip->released) {
        auto* task = new ReduceCellTask(field, cell);
        task->delay = delay;
        field->taskManager->addTask(task);
        return;
    }
    if (chip->hasBehavior(BEHAVIOR_FALLING_LEVEL_GOAL) || chip->hasBehavior(BEHAVIOR_CHIP_GENERATOR) ||
        chip->hasBehavior(BEHAVIOR_CHIP_UP))
        return;
    if (!chip->hasBehavior(BEHAVIOR_SIMPLE) && !chip->falling && chip->layers.countLevelGoals() == 0 &&
        chip->layers.size() == 1) {
        chip->detonateCounter = 1;
        delay = specialDelay + DETONATION_DELAY;
    }
    chip->setUserData("destroyer", chipSlot(destroyer));
    auto* task = new DestroyChipTask(chip, field, false);
    task->delay = delay;
    field->taskManager->addTask(task);
}
