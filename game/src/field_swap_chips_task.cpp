#include "field_swap_chips_task.h"

#include <algorithm>

#include "behavior.h"
#include "chip.h"
#include "chip_selector.h"
#include "game_field.h"
#include "mode.h"

FieldSwapChipsTask::FieldSwapChipsTask(FieldCell* a, FieldCell* b, GameField* board)
    : cellA(a), cellB(b), field(board)
{
    blockWhileRunning = true;
    blockWhileDelayed = true;
}

void FieldSwapChipsTask::placeChips(float k)
{
    const float columnA = cellA->column, rowA = cellA->row;
    const float columnB = cellB->column, rowB = cellB->row;
    if (Chip* chip = cellA->chip) {
        chip->x = columnA + (columnB - columnA) * k + 0.5f;
        chip->y = rowA + (rowB - rowA) * k + 0.5f;
    }
    if (Chip* chip = cellB->chip) {
        chip->x = columnB - (columnB - columnA) * k + 0.5f;
        chip->y = rowB - (rowB - rowA) * k + 0.5f;
    }
}

void FieldSwapChipsTask::settleSwappedChips()
{
    std::swap(cellA->chip, cellB->chip);
    for (Chip* chip : {cellB->chip, cellA->chip}) {
        chip->targetX = chip->x;
        chip->targetY = chip->y;
        chip->landingStamp = Chip::landingCounter++;
        if (chip->falling)
            ++Chip::landingCounter;
        chip->falling = 0;
    }
}

bool FieldSwapChipsTask::run(float dt)
{
    timeLeft = std::max(timeLeft - dt, 0.0f);
    placeChips(1.0f - timeLeft / duration);
    if (timeLeft > 0.0f)
        return false;

    const bool bothChips = cellA->chip && cellB->chip;
    if (bothChips)
        settleSwappedChips();
    field->spawnEnabled = true;
    field->gravityEnabled = true;
    if (returning)
        return true;
    if (!bothChips) {
        returning = true;
        timeLeft = duration;
        return false;
    }
    decide();
    if (!returning) {
        if (Mode* mode = field->mode())
            mode->onPlayerMove(cellA, cellB);
    }
    return timeLeft == 0.0f;
}

void FieldSwapChipsTask::decide()
{
    Chip* moved = cellB->chip;  // came from cellA
    Chip* other = cellA->chip;
    const ChipSelection movedRuns = moved->selector ? moved->selector->select(field, moved) : ChipSelection();
    const ChipSelection otherRuns = other->selector ? other->selector->select(field, other) : ChipSelection();

    const char* direction = cellA->column == cellB->column ? "ver" : "hor";
    moved->setUserData("swap", DataSlot(direction));
    other->setUserData("swap", DataSlot(direction));

    if (moved->hasBehavior(BEHAVIOR_DESTROY_COLOR)) {
        moved->setUserData("swappedChip", chipSlot(other));
        moved->destroyInField(field, true, false);
    } else if (other->hasBehavior(BEHAVIOR_DESTROY_COLOR)) {
        other->setUserData("swappedChip", chipSlot(moved));
        other->destroyInField(field, true, false);
    } else if (matchCount(movedRuns) > 0 || matchCount(otherRuns) > 0) {
        field->runMatchPass(true);
    } else {
        returning = true;
        timeLeft = duration;
    }
}
