#include "game_helpers/chip_up_helper.h"

#include <algorithm>

#include "behavior.h"
#include "chip.h"
#include "chip_manager.h"
#include "game_field.h"
#include "task_manager.h"

namespace {

const char* const SWAP_PROCESS = "swap_process";

}  // namespace

SwapChipsTask::SwapChipsTask(FieldCell* upperCell, FieldCell* lowerCell, float seconds)
    : upper(upperCell), lower(lowerCell), duration(seconds), timeLeft(seconds)
{
    blockWhileRunning = true;
    blockWhileDelayed = true;
    for (FieldCell* cell : {upper, lower})
        if (cell->chip)
            cell->chip->setUserData(SWAP_PROCESS, DataSlot(1));
}

bool SwapChipsTask::run(float dt)
{
    timeLeft = std::max(timeLeft - dt, 0.0f);
    const float progress = 1.0f - timeLeft / duration;
    Chip* top = upper->chip;
    Chip* bottom = lower->chip;
    if (top) {
        top->x = upper->column + 0.5f;
        top->y = upper->row + progress + 0.5f;
    }
    if (bottom) {
        bottom->x = lower->column + 0.5f;
        bottom->y = lower->row - progress + 0.5f;
    }
    if (timeLeft > 0.0f)
        return false;
    std::swap(upper->chip, lower->chip);
    for (Chip* chip : {top, bottom}) {
        if (!chip)
            continue;
        chip->targetX = chip->x;
        chip->targetY = chip->y;
        chip->falling = 1;
        chip->userData.erase(SWAP_PROCESS);
    }
    return true;
}

void ChipUpHelper::collectChips()
{
    reset();
    GameField* field = currentGameField();
    if (!field || !field->chipManager)
        return;
    for (const auto& chip : field->chipManager->chips)
        if (!chip->released && chip->hasBehavior(BEHAVIOR_CHIP_UP))
            chips[chip.get()] = static_cast<int>(chip->x);
}

void ChipUpHelper::reset()
{
    chips.clear();
    raisePending = false;
}

void ChipUpHelper::update(float)
{
    GameField* field = currentGameField();
    if (!raisePending || !field || field->taskManager->count > 0)
        return;
    raisePending = false;
    raiseChips();
}

void ChipUpHelper::raiseChips()
{
    GameField* field = currentGameField();
    if (!field)
        return;
    for (const auto& [chip, column] : chips) {
        if (chip->hasUserData(SWAP_PROCESS))
            continue;
        const int row = static_cast<int>(chip->y);
        bool settled = true;
        for (int y = row + 1; y <= field->lastRow() && settled; ++y) {
            const FieldCell* below = field->cellAt(column, y);
            if (below && below->solidity > 0 && (!below->chip || below->chip->detonateCounter > 0))
                settled = false;
        }
        if (!settled)
            continue;
        // Never with the spawn row: the cell above must be a play row.
        FieldCell* above = row - 1 >= 1 ? field->cellAt(column, row - 1) : nullptr;
        FieldCell* own = field->cellAt(column, row);
        if (!above || above->solidity == 0 || !own || own->chip != chip)
            continue;
        Chip* upper = above->chip;
        // A rising chip under another one waits until that one has moved,
        // else both exchanges would share a cell.
        if (!upper || upper->released || upper->layers.empty() || !upper->canFall() ||
            upper->layers.countLevelGoals() > 0 || upper->hasUserData(SWAP_PROCESS))
            continue;
        for (Behavior* layer : chip->layers.objects)
            layer->playIdleMarker("up");
        field->taskManager->addTask(new SwapChipsTask(above, own));
    }
}
