// The actions whose work lies on the board itself: blasts, waves, the
// colour destroyer, leaving the board at the floor and shaking the
// background.

#include <algorithm>
#include <cmath>

#include "action.h"
#include "behavior.h"
#include "board_tasks.h"
#include "chip.h"
#include "chip_manager.h"
#include "color_tasks.h"
#include "game_field.h"
#include "game_level.h"
#include "random.h"
#include "task_manager.h"

namespace {

constexpr float BOOM_SUSPEND = 0.7f;
constexpr float WAVE_SUSPEND = 0.2f;
constexpr float FLOOR_EXIT_SUSPEND = 0.3f;
constexpr float BOOM_RING_DELAY = 0.4f;
constexpr float BOOM_NEIGHBOUR_DELAY = 0.2f;
constexpr float WAVE_SPREAD_TIME = 0.2f;
constexpr float BLAST_SPIN = 12.566371f;  // two full swings
constexpr int PUSH_REACH = 3;

void holdBoard(GameField* field, float seconds)
{
    field->suspendTime = std::max(field->suspendTime, seconds);
}

// Chips around a blast swing away from it, the nearer the harder; the
// corners of the 7 x 7 square (distance sqrt 18) do not move.
void pushAround(GameField* field, const Chip* centre)
{
    const float edge = std::sqrt(18.0f);
    for (int dy = -PUSH_REACH; dy <= PUSH_REACH; ++dy) {
        for (int dx = -PUSH_REACH; dx <= PUSH_REACH; ++dx) {
            if (dx == 0 && dy == 0)
                continue;
            FieldCell* cell = field->cellAt(centre->x + dx, centre->y + dy);
            if (!cell || cell->row < 1 || !cell->chip)
                continue;
            const float length = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            // Rounding can take the difference just below 0 at the corners.
            const float amplitude = std::sqrt(std::max(edge - length, 0.0f)) * field->boomShakePower;
            Chip* chip = cell->chip;
            chip->pushX = dx / length * amplitude;
            chip->pushY = dy / length * amplitude;
            chip->wobbleTotal = chip->wobbleLeft = field->boomShakeTime;
            chip->spin = BLAST_SPIN;
        }
    }
}

int colourOfDestroyer(const Chip* chip, const char* key)
{
    const Chip* other = chip->getUserData(key).chipPointer();
    return other ? other->colour : -1;
}

void addColorTask(GameField* field, Task* task)
{
    task->blockWhileRunning = true;
    task->blockWhileDelayed = true;
    field->taskManager->addTask(task);
}

}  // namespace

bool BoomAction::run(GameField* field, Chip* chip, float)
{
    holdBoard(field, BOOM_SUSPEND);
    const int cx = static_cast<int>(chip->x), cy = static_cast<int>(chip->y);
    if (super == 1) {
        for (int k = 0; k <= 2; ++k) {
            const int ring[4][2] = {{cx - 1 + k, cy - 2}, {cx - 1 + k, cy + 2}, {cx - 2, cy - 1 + k}, {cx + 2, cy - 1 + k}};
            for (const auto& cell : ring)
                destroyChipInCell(field, field->cellAt(cell[0], cell[1]), chip, BOOM_RING_DELAY, 0.0f);
        }
    }
    for (int row = cy - 1; row <= cy + 1; ++row)
        for (int column = cx - 1; column <= cx + 1; ++column)
            if (column != cx || row != cy)
                destroyChipInCell(field, field->cellAt(column, row), chip, BOOM_NEIGHBOUR_DELAY, 0.0f);
    pushAround(field, chip);
    return true;
}

bool WaveAction::run(GameField* field, Chip* chip, float)
{
    const int length = std::max(field->gridWidth, field->gridHeight + 1);
    const float step = WAVE_SPREAD_TIME / length;
    holdBoard(field, WAVE_SUSPEND);
    const int cx = static_cast<int>(chip->x), cy = static_cast<int>(chip->y);
    const bool wide = super != 0;

    for (int k = 0; k <= length; ++k) {
        const float d1 = std::hypot(cx + k - chip->x, cy + k - chip->y) * step;
        const float d2 = std::hypot(cx + k - chip->x, cy - chip->y) * step;
        auto hit = [&](int column, int row, int effectIndex, float delay) {
            FieldCell* cell = field->cellAt(column, row);
            if (!cell)
                return;
            destroyChipInCell(field, cell, chip, delay, delay);
            if (cell->solidity > 0) {
                auto* task = new SpawnEffectTask(cell, effectIndex, field);
                task->delay = delay;
                field->taskManager->addTask(task);
            }
        };
        const int odd = k % 2;
        // Each straight lane: its own cell from k = 1, and with the wide form
        // the cells beside it from k = 0.
        struct Lane {
            int bit;
            int dColumn, dRow;  // along the lane
            int effect;
        };
        static const Lane lanes[4] = {{WAVE_LEFT, -1, 0, 0}, {WAVE_RIGHT, 1, 0, 0}, {WAVE_UP, 0, -1, 2}, {WAVE_DOWN, 0, 1, 2}};
        for (const Lane& lane : lanes) {
            if (!(mask & lane.bit))
                continue;
            const int column = cx + lane.dColumn * k, row = cy + lane.dRow * k;
            if (k >= 1)
                hit(column, row, lane.effect + odd, d1);
            if (wide) {
                // Beside a horizontal lane: below, then above; beside a
                // vertical one: right, then left.
                const int sideColumn = lane.dRow != 0 ? 1 : 0, sideRow = lane.dColumn != 0 ? 1 : 0;
                hit(column + sideColumn, row + sideRow, lane.effect + odd, d1);
                hit(column - sideColumn, row - sideRow, lane.effect + odd, d1);
            }
        }
        if ((mask & WAVE_DIAGONALS) && k >= 1) {
            hit(cx + k, cy + k, 4 + odd, d2);
            hit(cx - k, cy - k, 4 + odd, d2);
            hit(cx - k, cy + k, 6 + odd, d2);
            hit(cx + k, cy - k, 6 + odd, d2);
        }
    }
    pushAround(field, chip);
    return true;
}

DestroyIfFloorIsReached::~DestroyIfFloorIsReached()
{
    // A layer that goes before its chip has left must not hold the board.
    if (lock)
        lock->unlocked = true;
}

bool DestroyIfFloorIsReached::run(GameField* field, Chip* chip, float)
{
    const int cx = static_cast<int>(chip->x), cy = static_cast<int>(chip->y);
    int below = 0;
    for (int row = cy + 1; row <= field->lastRow(); ++row)
        if (const FieldCell* cell = field->cellAt(cx, row))
            below += cell->solidity;
    if (below != 0)
        return true;
    // An earlier exit of this layer may have finished its lock already.
    if (!lock || lock->unlocked) {
        lock = std::make_shared<LockState>();
        field->taskManager->addTask(new LockTask(lock));
    }
    if (field->moving)
        return true;
    holdBoard(field, FLOOR_EXIT_SUSPEND);
    lock->unlocked = true;
    return false;
}

bool ColorDestroyer::run(GameField* field, Chip* chip, float)
{
    if (Chip* swapped = chip->getUserData("swappedChip").chipPointer()) {
        if (!swapped->hasBehavior(BEHAVIOR_SIMPLE) && !swapped->hasBehavior(BEHAVIOR_DESTROY_COLOR)) {
            const bool wave = swapped->hasBehavior(BEHAVIOR_WAVE_DSIDE) || swapped->hasBehavior(BEHAVIOR_WAVE_HOR) ||
                              swapped->hasBehavior(BEHAVIOR_WAVE_VER);
            addColorTask(field, new ColorTransformerTask(field, swapped->colour, chip,
                                                         wave ? BEHAVIOR_WAVE_DSIDE : BEHAVIOR_SIMPLE_BOMB));
            return true;
        }
        addColorTask(field, new ColorDestroyerTask(field, chip, swapped->colour));
        // Two colour destroyers: the other one leaves with this one.
        if (swapped->hasBehavior(BEHAVIOR_DESTROY_COLOR))
            swapped->released = true;
        return true;
    }
    if (chip->hasUserData("destroyer")) {
        addColorTask(field, new ColorDestroyerTask(field, chip, colourOfDestroyer(chip, "destroyer")));
        return true;
    }
    // A colour the level drops, drawn from its candidates; every colour when
    // it drops none.
    int colour = -1;
    const ChipManager* manager = field->chipManager;
    if (manager && !manager->dropCandidates.empty())
        colour = manager->dropCandidates[VQ::rand() % manager->dropCandidates.size()]->colour;
    addColorTask(field, new ColorDestroyerTask(field, chip, colour));
    return true;
}

bool ShakeBackField::run(GameField* field, Chip*, float)
{
    // The board sits in the level's field scene, whose shaker carries the
    // shake markers; a board without a level scene plays nothing.
    if (field && field->level)
        field->level->playShake(markerName);
    return true;
}
