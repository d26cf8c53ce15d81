#include "move_hint.h"

#include <utility>

#include "chip.h"
#include "chip_selector.h"
#include "game_field.h"
#include "particle_system.h"

MoveHint::MoveHint(GameField* board) : field(board)
{
    positions.reserve(32);
    reset();
}

MoveHint::~MoveHint()
{
    if (effect) {
        if (VQ::ParticleSystem* particles = VQ::ParticleSystem::instancePtr())
            particles->release(effect);
    }
}

void MoveHint::reset()
{
    shown = false;
    positions.clear();
    field->idleTime = 0.0f;
    searched = false;
}

void MoveHint::findMove(FieldCell* out[2])
{
    out[0] = out[1] = nullptr;
    for (int row = 0; row <= field->lastRow(); ++row) {
        for (int column = 0; column < field->columnCount(); ++column) {
            FieldCell* a = field->cellAt(column, row);
            FieldCell* right = field->cellAt(column + 1, row);
            FieldCell* below = field->cellAt(column, row + 1);
            for (FieldCell* b : {right, below}) {
                if (isUsefulSwap(a, b)) {
                    out[0] = a;
                    out[1] = b;
                    return;
                }
            }
        }
    }
}

namespace {

bool fallsAndJoins(const Chip* chip)
{
    return chip->canFall() && chip->canIterateWithGroup();
}

int selectionCount(GameField* field, Chip* chip)
{
    return chip->selector ? matchCount(chip->selector->select(field, chip)) : 0;
}

}  // namespace

bool MoveHint::isUsefulSwap(FieldCell* a, FieldCell* b)
{
    if (!a || !b || !a->chip || !b->chip || !a->chip->isSwappable() || !b->chip->isSwappable())
        return false;
    Chip* first = a->chip;
    Chip* second = b->chip;
    if ((first->hasBehavior(BEHAVIOR_DESTROY_COLOR) && fallsAndJoins(second)) ||
        (second->hasBehavior(BEHAVIOR_DESTROY_COLOR) && fallsAndJoins(first)))
        return true;
    if (isHintSpecialChip(first) && isHintSpecialChip(second))
        return true;
    if (first->colour == second->colour || !fallsAndJoins(first) || !fallsAndJoins(second))
        return false;

    auto exchange = [&] {
        std::swap(first->x, second->x);
        std::swap(first->y, second->y);
        std::swap(a->chip, b->chip);
    };
    exchange();
    const bool useful = selectionCount(field, first) > 0 || selectionCount(field, second) > 0;
    exchange();
    return useful;
}

bool isHintSpecialChip(const Chip* chip)
{
    for (int type : {BEHAVIOR_DESTROY_COLOR, BEHAVIOR_BOMB_STAGE1, BEHAVIOR_CROSS, BEHAVIOR_WAVE_DSIDE,
                     BEHAVIOR_WAVE_HOR, BEHAVIOR_WAVE_VER})
        if (chip->hasBehavior(type))
            return true;
    return false;
}
