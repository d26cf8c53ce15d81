// Destroying chips layer by layer: the score, the tile under the chip, the
// walls beside it, the fall delay of its column, and the match pass that
// turns lines into destroy tasks.

#include "board_renderer.h"
#include "chip.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "drawable.h"
#include "field_tasks.h"
#include "game_field.h"
#include "mode.h"
#include "move_hint.h"
#include "sound_system/sound_manager.h"
#include "task_manager.h"

namespace {

bool isBonusLayer(int type)
{
    return type == BEHAVIOR_BOMB_STAGE1 || type == BEHAVIOR_BOMB_STAGE2 || type == BEHAVIOR_DESTROY_COLOR ||
           (type >= BEHAVIOR_WAVE_DSIDE && type <= BEHAVIOR_SUPER_CROSS);
}

}  // namespace

void Chip::destroyInField(GameField* field, bool notifyNeighbours, bool force)
{
    if (released || hitThisPass)
        return;
    field->addDestroyDrawables(this);
    if (layers.size() == 1 && isBonusLayer(layers.top()->type) && field->renderer) {
        DistortionSource source;
        source.x = field->cellSize * x;
        source.y = field->cellSize * y;
        source.scaleX = source.scaleY = 0.1f;
        source.duration = source.timeLeft = 0.5f;
        source.strategy = 0;
        field->renderer->pushDistortionSource(source);
    }
    const ChipSnapshot snapshot(*this);
    DestroyResult result = layers.popTopAndDestroy(field, this, force);
    if (field->moveHint)
        field->moveHint->reset();
    Mode* mode = field->mode();
    if (mode)
        mode->addScore(result, this);
    hitThisPass = true;
    if (notifyNeighbours)
        field->hitNeighbours(this);
    if (!layers.empty())
        return;

    selected = false;
    released = true;
    FieldCell* cell = falling ? field->cellAt(targetX, targetY) : field->cellAt(x, y);
    // A wall's cell keeps pointing at it until the next relink.
    if (!snapshot.types.empty() && !snapshot.hasAnyBehavior({BEHAVIOR_WALL, BEHAVIOR_STRONG_WALL}) && cell) {
        field->reduceCell(cell);
        if (cell->chip == this)
            cell->chip = nullptr;
    }
    layers.deleteAll();
    hitThisPass = true;
    field->idleTime = 0.0f;
    if (!snapshot.types.empty()) {
        if (mode)
            mode->onChipDestroyed(snapshot);
        field->fallDelays.push_back({GameField::FALL_DELAY, snapshot.column, snapshot.row});
    }
}

void Chip::onNeighbourDestroyed(Chip* destroyed, GameField* field, bool force)
{
    if (hitThisPass)
        return;
    const ChipSnapshot snapshot(*this);
    Mode* mode = field->mode();
    if (mode && mode->onNeighbourDestroyed(destroyed, this))
        return;
    if (!force && !destroyed->layers.empty())
        return;
    bool hit = false;
    for (auto it = layers.objects.rbegin(); it != layers.objects.rend(); ++it) {
        const int type = (*it)->type;
        if (type == BEHAVIOR_WALL || type == BEHAVIOR_DWALL) {
            hit = true;
            break;
        }
        if (type == BEHAVIOR_CWALL) {
            hit = colour == destroyed->colour;
            break;
        }
    }
    if (!hit)
        return;
    field->addDestroyDrawables(this);
    DestroyResult result = layers.popTopAndDestroy(field, this, true);
    if (mode)
        mode->addScore(result, this);
    hitThisPass = true;
    // Reported only by the hit that took the last layer: a layerless chip
    // waits for the next relink and must not be counted again meanwhile.
    if (layers.empty() && mode)
        mode->onChipDestroyed(snapshot);
}

void GameField::reduceCell(FieldCell* cell)
{
    if (!cell || cell->solidity <= 1)
        return;
    cell->solidity = std::max(cell->solidity - 1, 1);
    if (Mode* current = mode())
        current->onTileHit(cell);
    if (renderer && renderer->hasTileExplosion())
        renderer->playTileExplosion(VQ::Vector2f(static_cast<float>(cellSize * cell->column),
                                                 static_cast<float>(cellSize * cell->row)));
    if (!tileSoundPlayed) {
        if (VQ::SoundManager* sound = VQ::SoundManager::instancePtr())
            sound->createAndPlay(tileSound);
        tileSoundPlayed = true;
    }
}

void GameField::hitNeighbours(Chip* chip)
{
    const int column = static_cast<int>(chip->x);
    const int row = static_cast<int>(chip->y);
    const int offsets[4][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};
    for (const auto& offset : offsets) {
        const int c = column + offset[0];
        const int r = row + offset[1];
        if (c < 0 || c >= columnCount() || r < 1 || r > lastRow())
            continue;
        if (Chip* neighbour = rows[r][c].chip)
            neighbour->onNeighbourDestroyed(chip, this, false);
    }
}

void GameField::addDestroyDrawables(Chip* chip)
{
    const Behavior* top = chip->layers.top();
    if (!top)
        return;
    const int half = cellSize / 2;
    for (const Drawable* drawable : top->OnDestroyDrawables.objects) {
        Drawable* copy = drawable->clone();
        effectDrawables.push_back({copy, cellSize * chip->x - half, cellSize * chip->y - half, copy->layer});
    }
}

bool GameField::runMatchPass(bool force)
{
    if (rows.empty())
        return false;
    if (!force && (levelBusyCount() > 0 || taskManager->count > 0))
        return false;
    bool found = false;
    runMatchScan(found, true);
    return found;
}

bool GameField::runSettlingScan()
{
    if (rows.empty() || levelBusyCount() > 0)
        return false;
    bool found = false;
    runMatchScan(found, false);
    return found;
}

void GameField::runMatchScan(bool& found, bool notifyNeighbours)
{
    Mode* current = mode();
    for (int row = lastRow(); row >= 0; --row) {
        for (int column = 0; column < columnCount(); ++column) {
            Chip* chip = rows[row][column].chip;
            if (!chip || !chip->selector)
                continue;
            ChipSelection selection = chip->selector->select(this, chip);
            if (matchCount(selection) == 0)
                continue;
            if (current && current->onMatch(selection)) {
                found = true;
                continue;
            }
            for (const std::vector<Chip*>* run : {&selection.rowRun, &selection.columnRun}) {
                if (run->size() < 3)
                    continue;
                for (Chip* member : *run) {
                    auto* task = new DestroyChipTask(member, this, notifyNeighbours);
                    task->delay = MATCH_DESTROY_DELAY;
                    taskManager->addTask(task);
                }
                found = true;
            }
        }
    }
}

bool GameField::isUnsettled() const
{
    for (int row = 1; row <= lastRow(); ++row)
        for (const FieldCell& cell : rows[row])
            if (cell.solidity > 0 && (!cell.chip || cell.chip->falling))
                return true;
    return false;
}

bool GameField::isIdle() const
{
    if (!active || rows.empty() || !levelBeginReported || appearance->isRunning())
        return false;
    if (taskManager->count > 0 || moving || !fallDelays.empty() || suspendTime > 0.0f || holdTime > 0.0f ||
        isUnsettled() || hasBombStage2Chip())
        return false;
    for (const auto& chip : chipManager->chips)
        if (!chip->released && chip->falling)
            return false;
    return true;
}
