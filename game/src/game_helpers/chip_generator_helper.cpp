#include "game_helpers/chip_generator_helper.h"

#include <cstdlib>

#include "behavior.h"
#include "chip.h"
#include "chip_manager.h"
#include "game_field.h"
#include "move_hint.h"
#include "task_manager.h"

namespace {

bool isGenerator(const Chip* chip)
{
    return !chip->released && chip->hasBehavior(BEHAVIOR_CHIP_GENERATOR);
}

}  // namespace

void ChipGeneratorHelper::collectGenerators()
{
    reset();
    GameField* field = currentGameField();
    if (field && field->chipManager)
        for (const auto& chip : field->chipManager->chips)
            if (isGenerator(chip.get()))
                generators.push_back(chip.get());
    stepPending = false;
}

void ChipGeneratorHelper::reset()
{
    generators.clear();
    hitThisTurn = false;
}

bool ChipGeneratorHelper::onNeighbourDestroyed(Chip* chip)
{
    const bool hasStuff = chip->hasBehavior(BEHAVIOR_STUFF_CHIP);
    hitThisTurn = hitThisTurn || hasStuff || chip->hasBehavior(BEHAVIOR_CHIP_GENERATOR);
    GameField* field = currentGameField();
    if (!hasStuff || !field)
        return false;
    chip->destroyInField(field, false, false);
    return true;
}

void ChipGeneratorHelper::update(float)
{
    if (!takeSettledStep(stepPending))
        return;
    if (hitThisTurn) {
        hitThisTurn = false;
        return;
    }
    for (Chip* generator : generators) {
        // The list is never pruned: a destroyed generator's chip may have
        // been reused by the pool for anything.
        if (!isGenerator(generator))
            continue;
        const int limit = generator->getIntData("limit", 0);
        int left = generator->getIntData("limitLeft", limit) - 1;
        if (left < 1) {
            generate(generator);
            left = limit;
        }
        generator->setUserData("limitLeft", DataSlot(left));
    }
}

std::vector<FieldCell*> ChipGeneratorHelper::candidateCells(Chip* generator)
{
    std::vector<FieldCell*> candidates;
    GameField* field = currentGameField();
    if (!field)
        return candidates;
    const int gx = static_cast<int>(generator->x);
    const int gy = static_cast<int>(generator->y);
    const int radius = generator->getIntData("radius", 0);
    // A cell is listed once per square around the generator that holds it,
    // so nearer chips are likelier to turn.
    for (int size = 1; size <= radius; ++size)
        for (int dx = -size; dx <= size; ++dx)
            for (int dy = -size; dy <= size; ++dy) {
                if (dx == 0 && dy == 0)
                    continue;
                // The spawn row above the play rows is no part of the board.
                FieldCell* cell = gy + dy >= 1 ? field->cellAt(gx + dx, gy + dy) : nullptr;
                if (!cell || !cell->chip)
                    continue;
                const Chip* chip = cell->chip;
                if (chip->detonateCounter == 0 && chip->layers.size() == 1 &&
                    chip->layers.top()->type == BEHAVIOR_SIMPLE)
                    candidates.push_back(cell);
            }
    return candidates;
}

void ChipGeneratorHelper::generate(Chip* generator)
{
    GameField* field = currentGameField();
    if (!field || !field->chipManager)
        return;
    const std::vector<FieldCell*> candidates = candidateCells(generator);
    if (candidates.empty())
        return;
    FieldCell* cell = candidates[static_cast<size_t>(std::rand()) % candidates.size()];
    Chip* chip = cell->chip;
    chip->layers.popTopAndDestroy(field, chip, true);
    if (field->moveHint)
        field->moveHint->reset();
    if (chip->layers.empty()) {
        chip->released = true;
        chip->layers.deleteAll();
        field->holdTime = 0.3f;
    }
    if (Chip* stuff = field->chipManager->createChip("StuffChip", cell->column, cell->row, 1, UserDataMap())) {
        stuff->falling = 1;
        stuff->targetX = stuff->x;
        stuff->targetY = stuff->y;
        cell->chip = stuff;
    }
    for (Behavior* layer : generator->layers.objects)
        layer->playIdleMarker("generate");
}
