// The board operations the player and the rules call: the click that
// selects and swaps, destroying a cell's chip now or later, the reshuffle
// and small queries.

#include <algorithm>

#include "board_renderer.h"
#include "board_tasks.h"
#include "chip.h"
#include "chip_appearence.h"
#include "drawable.h"
#include "field_swap_chips_task.h"
#include "game_field.h"
#include "mode.h"
#include "move_hint.h"
#include "task_manager.h"
#include "tutorial/tutorial_registry.h"

namespace {

constexpr float MIXING_SPEED = 0.85f;

bool areNeighbours(int columnA, int rowA, int columnB, int rowB)
{
    return (columnA == columnB && std::abs(rowA - rowB) == 1) || (rowA == rowB && std::abs(columnA - columnB) == 1);
}

}  // namespace

void GameField::onCellClicked(const int cell[2])
{
    if ((appearance && appearance->isRunning()) || taskManager->count > 0)
        return;
    // A lesson waiting for certain chips lets the player touch only those.
    if (TutorialRegistry::exists() && !TutorialRegistry::instance()->isCellAllowed(cell))
        return;
    lastClickedColumn = cell[0];
    lastClickedRow = cell[1];
    const FieldCell* clicked = inputCell(cell[0], cell[1], 0);
    if (!clicked)
        return;
    Chip* chip = clicked->chip;
    if (!chip || chip->falling || !chip->isSwappable())
        return;
    if (!selectedChip) {
        selectedChip = chip;
        chip->selected = true;
        return;
    }

    const int selectedColumn = static_cast<int>(selectedChip->x), selectedRow = static_cast<int>(selectedChip->y);
    const int clickedColumn = static_cast<int>(chip->x), clickedRow = static_cast<int>(chip->y);
    if (!areNeighbours(selectedColumn, selectedRow, clickedColumn, clickedRow)) {
        selectedChip->selected = false;
        selectedChip = chip;
        chip->selected = true;
        idleTime = 0.0f;
        return;
    }

    FieldCell* cellA = cellAt(selectedChip->x, selectedChip->y);
    FieldCell* cellB = cellAt(chip->x, chip->y);
    selectedChip->selected = false;
    selectedChip = nullptr;
    if (!cellA || !cellB || !cellA->chip || !cellB->chip || cellA->chip->falling || cellB->chip->falling) {
        idleTime = 0.0f;
        return;
    }
    if (Mode* current = mode()) {
        if (current->onBonusSwap(cellA->chip, cellB->chip))
            return;
    }
    taskManager->addTask(new FieldSwapChipsTask(cellA, cellB, this));
    idleTime = 0.0f;
}

void GameField::queueDestroyChipInCell(int column, int row, float delay)
{
    const FieldCell* cell = inputCell(column, row, 1);
    const Chip* chip = cell ? cell->chip : nullptr;
    if (!chip || chip->hasBehavior(BEHAVIOR_FALLING_LEVEL_GOAL))
        return;
    auto* task = new DestroyChipInCellTask(this, column, row);
    task->delay = delay;
    taskManager->addTask(task);
}

void GameField::destroyChipAt(int column, int row)
{
    const FieldCell* cell = inputCell(column, row, 1);
    Chip* chip = cell ? cell->chip : nullptr;
    if (chip && static_cast<int>(chip->x) == column && static_cast<int>(chip->y) == row)
        chip->destroyInField(this, false, false);
}

FieldCell* GameField::inputCell(int column, int row, int firstRow)
{
    // A level that failed to load leaves no grid behind its sizes.
    if (!active || row < firstRow)
        return nullptr;
    return cellAt(column, row);
}

bool GameField::mixChips()
{
    int counts[6] = {};
    for (int row = 1; row < static_cast<int>(rows.size()); ++row) {
        for (const FieldCell& cell : rows[row]) {
            const Chip* chip = cell.chip;
            if (chip && chip->layers.size() == 1 && chip->layers.top()->type == BEHAVIOR_SIMPLE &&
                chip->colour >= 0 && chip->colour < 6)
                ++counts[chip->colour];
        }
    }
    const int* found = std::find_if(std::begin(counts), std::end(counts), [](int count) { return count >= 2; });
    if (found == std::end(counts))
        return false;
    if (!appearance->isRunning() && !moving) {
        appearance->clear();
        appearance->appearances.push_back(new ChipMixing(MIXING_SPEED, static_cast<int>(found - counts)));
        appearance->current = static_cast<unsigned>(appearance->appearances.size() - 1);
        appearance->appearances.back()->apply(this);
        idleTime = 0.0f;
        moveHint->reset();
    }
    return true;
}

bool GameField::hasBombStage2Chip() const
{
    for (const auto& row : rows)
        for (const FieldCell& cell : row)
            if (cell.chip && cell.chip->hasBehavior(BEHAVIOR_BOMB_STAGE2))
                return true;
    return false;
}

void GameField::cellToScreen(float out[2], const float cell[2]) const
{
    const VQ::Vector2f origin = renderer ? renderer->boardOrigin() : VQ::Vector2f(0.0f, 0.0f);
    out[0] = origin.x + cellSize * cell[0];
    out[1] = origin.y + cellSize * cell[1];
}

void GameField::createWaveEffects()
{
    waveEffects.clear();
    for (const char* name : {"wave_hor_fx", "wave_hor_fx", "wave_ver_fx", "wave_ver_fx", "wave_tl_fx", "wave_tl_fx",
                             "wave_tr_fx", "wave_tr_fx"})
        waveEffects.emplace_back(createDrawable("ParticleFX", name, std::string(), WAVE_EFFECT_LAYER, std::string()));
}

void GameField::spawnWaveEffect(FieldCell* cell, int effectIndex)
{
    if (!cell || effectIndex < 0 || effectIndex >= static_cast<int>(waveEffects.size()))
        return;
    Drawable* copy = waveEffects[effectIndex]->clone();
    const int half = cellSize / 2;
    effectDrawables.push_back({copy, static_cast<float>(cellSize * (cell->column + 1) - half),
                               static_cast<float>(cellSize * (cell->row + 1) - half), copy->layer});
}
