#include "game_helpers/bonus_chip_helper.h"

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "board_renderer.h"
#include "chip.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "field_effects.h"
#include "field_scene.h"
#include "field_tasks.h"
#include "game_field.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/helper_sound.h"
#include "game_level.h"
#include "mode.h"
#include "move_hint.h"
#include "task_manager.h"
#include "log_system.h"

namespace {

const char* const FUSION_SOUND = "fusion_chip_effect_sound";
const char* const MERGE_SCENE = "merge_scene_xml";
const int MERGE_LAYER = 100;

void cellCentre(const FieldCell* cell, float out[2])
{
    out[0] = cell->column + 0.5f;
    out[1] = cell->row + 0.5f;
}

// Takes a chip off the board as a fusion does: no sound, no actions; the
// goals still hear of it. The snapshot comes first, while its layers
// still say what it was.
void removeFusedChip(Chip* chip, Mode* mode)
{
    const ChipSnapshot snapshot(*chip);
    chip->released = true;
    chip->selected = false;
    chip->layers.deleteAll();
    chip->userData.erase("lock");
    if (mode)
        mode->onChipDestroyed(snapshot);
}

}  // namespace

const char* bonusColourLetter(int colour)
{
    static const char* const LETTERS[6] = {"R", "G", "B", "M", "Y", "O"};
    return colour >= 0 && colour < 6 ? LETTERS[colour] : "";
}

bool isBonusChip(const Chip* chip)
{
    return chip && (chip->hasBehavior(BEHAVIOR_BOMB_STAGE1) || chip->hasBehavior(BEHAVIOR_WAVE_DSIDE) ||
                    chip->hasBehavior(BEHAVIOR_WAVE_HOR) || chip->hasBehavior(BEHAVIOR_WAVE_VER));
}

BonusChipHelper::BonusChipHelper(Mode* owner) : mode(owner)
{
    fusionSound = acquireHelperSound(FUSION_SOUND);
    mergeScene = loadFieldScene(MERGE_SCENE);
}

BonusChipHelper::~BonusChipHelper()
{
    releaseHelperSound(fusionSound);
}

bool BonusChipHelper::onMatch(const ChipSelection& selection)
{
    GameField* field = currentGameField();
    if (!field)
        return false;
    const int rowCount = selection.rowRun.size() >= 3 ? static_cast<int>(selection.rowRun.size()) : 0;
    const int columnCount = selection.columnRun.size() >= 3 ? static_cast<int>(selection.columnRun.size()) : 0;
    std::vector<Chip*> chips = selection.rowRun;
    for (Chip* chip : selection.columnRun)
        if (std::find(chips.begin(), chips.end(), chip) == chips.end())
            chips.push_back(chip);

    Chip* anchor = nullptr;
    for (const std::vector<Chip*>* run : {&selection.rowRun, &selection.columnRun})
        for (Chip* chip : *run)
            if (!isBonusChip(chip) && (!anchor || chip->landingStamp > anchor->landingStamp))
                anchor = chip;
    // Only bonus chips: nothing to put the new chip on.
    if (!anchor)
        return false;
    // An uncoloured chip has no letter to name a coloured bonus by.
    std::string newKind;
    bool newColoured = true;
    if (rowCount >= 5 || columnCount >= 5) {
        newKind = "DestroyColor";
        newColoured = false;
    } else if (rowCount >= 3 && columnCount >= 3) {
        newKind = "Bomb";
    } else if (rowCount == 4 || columnCount == 4) {
        const DataSlot swap = anchor->getUserData("swap");
        newKind = swap.value && swap.value->asString() == "hor" ? "WaveHor" : "WaveVer";
    } else {
        return false;
    }
    if (newColoured && !*bonusColourLetter(anchor->colour))
        return false;

    for (Chip* chip : chips)
        if (isBonusChip(chip))
            chip->destroyInField(field, true, false);
    FieldCell* cell = field->cellAt(anchor->x, anchor->y);
    if (!cell || cell->chip != anchor)
        cell = field->cellAt(anchor->targetX, anchor->targetY);
    if (!cell)
        return false;
    startFusion(newKind, newColoured, chips, cell, -1);
    return true;
}

void BonusChipHelper::startFusion(const std::string& newKind, bool newColoured, const std::vector<Chip*>& chips,
                                  FieldCell* anchor, int newColour)
{
    GameField* field = currentGameField();
    if (!field || !anchor)
        return;
    for (Chip* chip : chips)
        if (!chip->released)
            chip->setUserData("lock", DataSlot(1));

    float delay = 0.0f;
    for (Chip* chip : chips) {
        if (chip->released || chip->layers.size() <= 1)
            continue;
        delay += LAYER_STEP;
        auto* strip = new DestroyChipTask(chip, field, false);
        strip->delay = delay;
        field->taskManager->addTask(strip);
    }
    if (delay > 0.0f || slideTimer > 0.0f) {
        const int anchorColour = anchor->chip ? anchor->chip->colour : newColour;
        auto* wait = new FusionChipsTask(this, newKind, newColoured, chips, anchor, anchorColour);
        wait->delay = delay > 0.0f ? delay + LAYER_STEP : LAYER_STEP;
        field->taskManager->addTask(wait);
        return;
    }

    kind = newKind;
    coloured = newColoured;
    fusingChips.clear();
    fusingCells.clear();
    slideStarts.clear();
    slideTimer = SLIDE_TIME;
    anchorCell = anchor;
    colour = newColour != -1 ? newColour : (anchor->chip ? anchor->chip->colour : -1);

    for (Chip* chip : chips) {
        if (!chip->released) {
            FieldCell* cell = field->cellAt(chip->x, chip->y);
            if (!cell || cell->chip != chip)
                cell = field->cellAt(chip->targetX, chip->targetY);
            fusingChips.push_back(chip);
            slideStarts.push_back(chip->x);
            slideStarts.push_back(chip->y);
            fusingCells.push_back(cell);
        }
        const int column = static_cast<int>(chip->x), row = static_cast<int>(chip->y);
        static const int STEPS[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& step : STEPS) {
            const int c = column + step[0], r = row + step[1];
            if (c < 0 || c >= field->columnCount() || r < 1 || r > field->lastRow())
                continue;
            FieldCell* neighbour = field->cellAt(c, r);
            if (neighbour && neighbour->chip)
                neighbour->chip->onNeighbourDestroyed(chip, field, true);
        }
    }
    for (FieldCell* cell : fusingCells) {
        if (!cell)
            continue;
        cell->chip = nullptr;
        field->reduceCell(cell);
    }

    if (GameLevel* level = currentGameLevel())
        ++level->busyCount;
    field->spawnEnabled = false;
    field->gravityEnabled = false;
    if (field->moveHint)
        field->moveHint->reset();

    if (mergeScene && field->renderer) {
        std::unique_ptr<AE::ISceneNode> copy(mergeScene->clone(nullptr));
        const VQ::Vector2f at{field->cellSize * (anchor->column + 0.5f), field->cellSize * (anchor->row + 0.5f)};
        field->renderer->effectList().add(new SceneEffect(std::move(copy), MERGE_SCENE, MERGE_LAYER, at, 0.0f, "init"));
    }
}

void BonusChipHelper::update(float dt)
{
    GameField* field = currentGameField();
    if (slideTimer <= 0.0f || !field || !field->taskManager->allTasksOfType(2))
        return;
    slideTimer = std::max(slideTimer - dt, 0.0f);
    const float f = slideTimer / SLIDE_TIME;
    float centre[2];
    cellCentre(anchorCell, centre);
    for (size_t i = 0; i < fusingChips.size(); ++i) {
        Chip* chip = fusingChips[i];
        if (chip->released)
            continue;
        chip->x = centre[0] - f * (centre[0] - slideStarts[2 * i]);
        chip->y = centre[1] - f * (centre[1] - slideStarts[2 * i + 1]);
    }
    if (slideTimer <= 0.0f)
        finishFusion();
}

void BonusChipHelper::finishFusion()
{
    GameField* field = currentGameField();
    if (!field)
        return;
    for (size_t i = 0; i < fusingChips.size(); ++i) {
        Chip* chip = fusingChips[i];
        if (chip->released)
            continue;
        if (mode)
            for (const Behavior* layer : chip->layers.objects)
                mode->addScore(DestroyResult{layer->type, layer->score}, chip);
        if (const FieldCell* cell = fusingCells[i])
            field->fallDelays.push_back({GameField::FALL_DELAY, cell->column, cell->row});
        removeFusedChip(chip, mode);
    }
    const std::string name = coloured ? VQ::formatString("%s_%s", kind.c_str(), bonusColourLetter(colour)) : kind;
    if (anchorCell->chip && !anchorCell->chip->released) {
        removeFusedChip(anchorCell->chip, mode);
        anchorCell->chip = nullptr;
    }
    if (Chip* made = field->chipManager ? field->chipManager->createChip(name, anchorCell->column, anchorCell->row, 1,
                                                                         UserDataMap())
                                        : nullptr) {
        made->falling = 1;
        cellCentre(anchorCell, &made->x);
        made->targetX = made->x;
        made->targetY = made->y;
        anchorCell->chip = made;
    }
    fusingChips.clear();
    fusingCells.clear();
    slideStarts.clear();
    if (GameLevel* level = currentGameLevel())
        level->releaseBusy();
    field->spawnEnabled = true;
    field->gravityEnabled = true;
    // The new chip may make a bonus usable, or not: the panel looks again
    // once the board is still.
    if (BonusGoldHelper* panel = currentBonusPanel())
        panel->refreshPending = true;
    playHelperSound(fusionSound);
}

FusionChipsTask::FusionChipsTask(BonusChipHelper* owner, const std::string& kindName, bool isColoured,
                                 std::vector<Chip*> list, FieldCell* anchorCell, int colourIndex)
    : anchor(anchorCell), colour(colourIndex), kind(kindName), coloured(isColoured), chips(std::move(list)),
      helper(owner)
{
    blockWhileRunning = true;
    blockWhileDelayed = true;
}

bool FusionChipsTask::run(float)
{
    if (helper->isFusing())
        return false;
    helper->startFusion(kind, coloured, chips, anchor, colour);
    return true;
}

FusionBonusTask::FusionBonusTask(Chip* movingChip, Chip* targetChip, GameField* board, const std::string& result)
    : moving(movingChip), target(targetChip), field(board), kind(result)
{
    const float targetColumn = static_cast<int>(target->x), targetRow = static_cast<int>(target->y);
    targetCentre[0] = targetColumn + 0.5f;
    targetCentre[1] = targetRow + 0.5f;
    offset[0] = targetCentre[0] - (static_cast<int>(moving->x) + 0.5f);
    offset[1] = targetCentre[1] - (static_cast<int>(moving->y) + 0.5f);
}

bool FusionBonusTask::run(float dt)
{
    remaining = std::max(remaining - dt, 0.0f);
    const float f = remaining / BonusChipHelper::SLIDE_TIME;
    moving->x = targetCentre[0] - f * offset[0];
    moving->y = targetCentre[1] - f * offset[1];
    if (remaining > 0.0f)
        return false;

    const int column = static_cast<int>(targetCentre[0]), row = static_cast<int>(targetCentre[1]);
    FieldCell* cell = field->cellAt(column, row);
    FieldCell* from = field->cellAt(targetCentre[0] - offset[0], targetCentre[1] - offset[1]);
    const std::string name = VQ::formatString("%s_%s", kind.c_str(), bonusColourLetter(target->colour));
    moving->released = true;
    target->released = true;
    if (from && from->chip == moving)
        from->chip = nullptr;
    Chip* made = field->chipManager ? field->chipManager->createChip(name, column, row, 1, UserDataMap()) : nullptr;
    if (cell) {
        cell->chip = made;
        if (made) {
            made->falling = 1;
            made->x = made->targetX = targetCentre[0];
            made->y = made->targetY = targetCentre[1];
            made->detonateCounter = 1;
            auto* detonation = new DestroyChipTask(made, field, false);
            detonation->delay = BonusChipHelper::SUPER_CHIP_DELAY;
            field->taskManager->addTask(detonation);
        }
    }
    return true;
}

bool BonusChipHelper::onBonusSwap(Chip* selected, Chip* clicked)
{
    GameField* field = currentGameField();
    if (!field || !isBonusChip(selected) || !isBonusChip(clicked))
        return false;
    std::string result;
    const Chip* bomb = selected->hasBehavior(BEHAVIOR_BOMB_STAGE1) ? selected
                       : clicked->hasBehavior(BEHAVIOR_BOMB_STAGE1) ? clicked
                                                                     : nullptr;
    if (bomb) {
        const Chip* other = bomb == selected ? clicked : selected;
        if (other->hasBehavior(BEHAVIOR_BOMB_STAGE1))
            result = "SuperBomb";
        else if (other->hasBehavior(BEHAVIOR_WAVE_VER))
            result = "SuperWaveVer";
        else
            result = "SuperWaveDSide";
    } else {
        result = "Star";
    }
    // An uncoloured target has no letter for the super chip's name.
    if (!*bonusColourLetter(clicked->colour))
        return false;
    FieldCell* a = field->cellAt(selected->x, selected->y);
    FieldCell* b = field->cellAt(clicked->x, clicked->y);
    field->taskManager->addTask(new FusionBonusTask(selected, clicked, field, result));
    if (mode)
        mode->onPlayerMove(a, b);
    return true;
}
