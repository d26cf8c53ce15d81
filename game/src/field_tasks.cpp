#include "field_tasks.h"

#include "chip.h"
#include "game_field.h"

DestroyChipTask::DestroyChipTask(Chip* target, GameField* board, bool notify)
    : field(board), chip(target), notifyNeighbours(notify)
{
    blockWhileRunning = true;
    blockWhileDelayed = true;
    chip->setUserData("lock", DataSlot("1"));
}

bool DestroyChipTask::run(float)
{
    chip->destroyInField(field, notifyNeighbours, false);
    // A released chip keeps it until the pool resets the chip for reuse.
    if (!chip->released)
        chip->userData.erase("lock");
    return true;
}

ReduceCellTask::ReduceCellTask(GameField* board, FieldCell* target) : field(board), cell(target)
{
    blockWhileDelayed = true;
}

bool ReduceCellTask::run(float)
{
    field->reduceCell(cell);
    return true;
}
