// The board's frame: timers and start-of-level animations, tasks, gravity,
// idle actions, spawning and the match pass.

#include <algorithm>
#include <cmath>

#include "animation.h"
#include "chip.h"
#include "chip_appearence.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "dialogs/dialog_window_manager.h"
#include "drawable.h"
#include "field_tasks.h"
#include "game_field.h"
#include "mode.h"
#include "move_hint.h"
#include "random.h"
#include "random_seed.h"
#include "task_manager.h"

namespace {

constexpr float LANDING_EPSILON = 0.00001f;
constexpr float LANDING_SPIN = 6.2831855f;

float distance(float dx, float dy)
{
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

void GameField::update(float dt)
{
    if (rows.empty() || !active)
        return;
    // A window on screen or waiting for its turn holds the whole board.
    if (const DialogWindowManager* dialogs = DialogWindowManager::instancePtr(); dialogs && dialogs->hasActiveWindow())
        return;

    if (selectedChip) {
        if (selectedChip->released) {
            selectedChip->selected = false;
            selectedChip = nullptr;
        } else {
            selectedChip->selected = true;
        }
    }
    tileSoundPlayed = false;
    moveHint->update(dt);

    moving = !fallDelays.empty();
    holdTime = std::max(holdTime - dt, 0.0f);
    idleTime += suspendTime > 0.0f ? 0.0f : dt;
    hotspotTime += dt;
    if (hotspotTime > chipHotspotPeriod)
        hotspotTime = 0.0f;

    updateCellAnimations(dt);
    // Cell (0, 1) waits longest, so it holds the frame until every cell has
    // flown in.
    if (lastRow() >= 1 && columnCount() >= 1) {
        const VQ::Animation* waiting = rows[1][0].appearAnimation.get();
        if (waiting && !waiting->isFinished())
            return;
    }
    if (ChipAppearence* current = appearance->currentAppearance()) {
        current->update(dt);
        if (!current->isFinished())
            return;
    }
    if (!levelBeginReported) {
        levelBeginReported = true;
        if (Mode* current = mode())
            current->onLevelBegin();
    }

    updateEffectDrawables(dt);
    if (taskManager->update(dt)) {
        updateChipWobbles(dt);
        suspendTime = std::max(suspendTime - dt, 0.0f);
        if (suspendTime <= 0.0f) {
            relinkChips();
            for (FallDelay& delay : fallDelays)
                delay.timeLeft -= dt;
            fallDelays.erase(std::remove_if(fallDelays.begin(), fallDelays.end(),
                                            [](const FallDelay& delay) { return delay.timeLeft <= 0.0f; }),
                             fallDelays.end());
            if (!taskManager->hasDelayedBlockingTask()) {
                if (gravityEnabled && holdTime == 0.0f) {
                    for (int row = lastRow(); row >= 0; --row)
                        for (int column = 0; column < columnCount(); ++column)
                            if (Chip* chip = rows[row][column].chip)
                                updateFallingChip(chip, dt);
                }
                runIdleActionsOfPool(dt);
                if (spawnEnabled && holdTime == 0.0f)
                    spawnChips();
            }
        }
        if (levelBusyCount() <= 0 && taskManager->count == 0) {
            bool found = false;
            runMatchScan(found, true);
        }
        for (int row = lastRow(); row >= 0; --row)
            for (FieldCell& cell : rows[row])
                if (cell.chip)
                    cell.chip->hitThisPass = false;
    }

    for (int row = lastRow(); row >= 0; --row)
        for (FieldCell& cell : rows[row])
            if (cell.chip)
                cell.chip->layers.update(cell.chip, dt);
}

void GameField::updateCellAnimations(float dt)
{
    for (int row = lastRow(); row >= 1; --row)
        for (FieldCell& cell : rows[row])
            if (cell.appearAnimation && !cell.appearAnimation->isFinished())
                cell.appearAnimation->update(dt);
}

void GameField::updateEffectDrawables(float dt)
{
    for (auto it = effectDrawables.begin(); it != effectDrawables.end();) {
        Drawable* drawable = it->drawable;
        if (drawable->isAlive()) {
            drawable->wasVisible = drawable->visible;
            drawable->visible = true;
            drawable->update(dt);
            ++it;
        } else {
            delete drawable;
            it = effectDrawables.erase(it);
        }
    }
}

void GameField::updateChipWobbles(float dt)
{
    for (const auto& chip : chipManager->chips) {
        if (chip->wobbleLeft == 0.0f)
            continue;
        chip->wobbleLeft = std::max(chip->wobbleLeft - dt, 0.0f);
        const float k = 1.0f - chip->wobbleLeft / chip->wobbleTotal;
        if (chip->wobbleLeft == 0.0f) {
            chip->wobbleX = chip->wobbleY = 0.0f;
        } else {
            const float swing = std::sin(chip->spin * k) * (1.0f - k);
            chip->wobbleX = chip->pushX * swing;
            chip->wobbleY = chip->pushY * swing;
        }
    }
}

void GameField::relinkChips()
{
    for (auto& row : rows)
        for (FieldCell& cell : row)
            cell.chip = nullptr;
    // By index: destroying a layerless chip may run actions that make chips.
    for (size_t i = 0; i < chipManager->chips.size(); ++i) {
        Chip* chip = chipManager->chips[i].get();
        if (chip->layers.empty())
            chip->destroyInField(this, false, false);
        if (chip->released || suspendTime != 0.0f)
            continue;
        float x = chip->x, y = chip->y;
        if (chip->falling && distance(chip->targetX - chip->x, chip->targetY - chip->y) > 0.5f) {
            x = chip->targetX;
            y = chip->targetY;
        }
        if (FieldCell* cell = cellAt(x, y))
            cell->chip = chip;
    }
}

int GameField::findTopCellRow(int column) const
{
    for (int row = 1; row <= lastRow(); ++row) {
        const FieldCell* cell = cellAt(column, row);
        if (cell && cell->solidity > 0)
            return row;
    }
    return -1;
}

FieldCell* GameField::findLandingCell(Chip* chip, int column, int row)
{
    if (column < 0 || column >= columnCount() || row + 1 < 1 || row + 1 > lastRow())
        return nullptr;
    for (int r = row + 1; r <= lastRow(); ++r) {
        FieldCell& cell = rows[r][column];
        if (cell.solidity <= 0)
            continue;
        if (!cell.chip) {
            FieldCell* lower = findLandingCell(chip, column, r);
            return lower ? lower : &cell;
        }
        if (cell.chip->layers.empty() || cell.chip->canFall())
            return nullptr;
        // A fixed chip (a wall, a chained chip): chips fall past it.
    }
    return nullptr;
}

void GameField::updateFallingChip(Chip* chip, float dt)
{
    chip->hitThisPass = false;
    if (!chip->falling && chip->canFall()) {
        if (FieldCell* landing =
                findLandingCell(chip, static_cast<int>(chip->x), static_cast<int>(chip->y))) {
            // A destroy task is pending on it.
            const DataSlot lock = chip->getUserData("lock");
            if (lock.value && lock.value->asInt() == 1)
                return;
            chip->targetX = landing->column + 0.5f;
            chip->targetY = landing->row + 0.5f;
            chip->falling = 1;
            landing->reserved = true;
            chip->fallSpeed = CHIP_START_FALL_SPEED;
        }
    }
    if (chip->falling) {
        moving = true;
        moveFallingChip(chip, dt);
    }
}

void GameField::moveFallingChip(Chip* chip, float dt)
{
    const int column = static_cast<int>(chip->x);
    const int row = static_cast<int>(chip->y);
    for (const FallDelay& delay : fallDelays)
        if (delay.column == column && delay.row > row)
            return;

    float dx = chip->targetX - chip->x;
    float dy = chip->targetY - chip->y;
    const float length = distance(dx, dy);
    if (length > 0.0f) {
        dx /= length;
        dy /= length;
    }
    chip->fallSpeed += chipAcceleration * dt;
    const float step = chip->fallSpeed * dt;
    if (length <= step) {
        chip->x = chip->targetX;
        chip->y = chip->targetY;
    } else {
        chip->x += dx * step;
        chip->y += dy * step;
    }
    if (distance(chip->x - chip->targetX, chip->y - chip->targetY) >= LANDING_EPSILON)
        return;

    if (FieldCell* cell = cellAt(chip->x, chip->y)) {
        cell->reserved = false;
        cell->chip = chip;
    }
    if (chip->falling)
        chip->landingStamp = Chip::landingCounter++;
    chip->falling = 0;
    FieldCell* next = findLandingCell(chip, static_cast<int>(chip->x), static_cast<int>(chip->y));
    if (next && (chip->layers.empty() || chip->canFall())) {
        // Straight on into the next empty cell, speed kept, no wobble.
        chip->targetX = next->column + 0.5f;
        chip->targetY = next->row + 0.5f;
        chip->falling = 1;
        next->reserved = true;
        return;
    }
    chip->fallSpeed = CHIP_START_FALL_SPEED;
    FieldCell* cell = cellAt(chip->x, chip->y);
    if (cell && cell->row >= 1 && cell->chip) {
        Chip* landed = cell->chip;
        landed->pushX = 0.0f;
        landed->pushY = fallShaking;
        landed->wobbleTotal = landed->wobbleLeft = fallShakingTime;
        landed->spin = LANDING_SPIN;
    }
}

void GameField::runIdleActionsOfPool(float dt)
{
    // By index: actions may make chips and so grow the pool. A released
    // chip may still carry layers (a placement the level loader replaced);
    // it is off the board and acts no more.
    for (size_t i = 0; i < chipManager->chips.size(); ++i) {
        Chip* chip = chipManager->chips[i].get();
        if (!chip->released)
            runIdleActions(chip->layers, this, chip, dt);
    }
}

void GameField::spawnChips()
{
    seedRandomFromCounter();
    struct Candidate {
        FieldCell* cell;
        int column;
        int top;
    };
    std::vector<Candidate> candidates;
    for (int column = 0; column < columnCount(); ++column) {
        const int top = findTopCellRow(column);
        if (top == -1)
            continue;
        if (std::any_of(fallDelays.begin(), fallDelays.end(),
                        [column](const FallDelay& delay) { return delay.column == column; }))
            continue;
        for (int row = top; row <= lastRow(); ++row) {
            FieldCell& cell = rows[row][column];
            if (cell.solidity == 0)
                continue;
            if (Chip* chip = cell.chip) {
                if (!chip->canFall() || (chip->hasBehavior(BEHAVIOR_FALLING_LEVEL_GOAL) && !chip->falling))
                    continue;
                break;
            }
            if (cell.solidity > 0) {
                candidates.push_back({&cell, column, top});
                break;
            }
        }
    }
    while (!candidates.empty()) {
        const size_t pick = static_cast<size_t>(VQ::rand()) % candidates.size();
        spawnChip(candidates[pick].cell, candidates[pick].column, candidates[pick].top);
        candidates[pick] = candidates.back();
        candidates.pop_back();
    }
}

void GameField::spawnChip(FieldCell* cell, int column, int topRow)
{
    Chip* chip = chipManager->createRandomChip(column + 0.5f, topRow - 0.5f);
    // An empty drop table gives nothing (and has been reported).
    if (!chip)
        return;
    cell->chip = chip;
    chip->falling = 1;
    chip->targetX = cell->column + 0.5f;
    chip->targetY = cell->row + 0.5f;
    cell->reserved = true;
}
