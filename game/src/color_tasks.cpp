#include "color_tasks.h"

#include "board_renderer.h"
#include "chip.h"
#include "chip_manager.h"
#include "chip_prototype.h"
#include "game_field.h"
#include "log_system.h"
#include "task_manager.h"

namespace {

const char* const EFFECT_SCENE = "color_fly_effect_xml";

VQ::Vector2f boardPixels(const GameField* field, const Chip* chip)
{
    return VQ::Vector2f(field->cellSize * chip->x, field->cellSize * chip->y);
}

// Walks the cells from the cursor in reading order (rows 1 .. gridHeight)
// and hands every eligible chip to `visit`; true from `visit` stops the walk
// with the cursor on that chip. True when stopped, false when the walk is
// exhausted.
template <typename Eligible, typename Visit>
bool scanFrom(GameField* field, int& column, int& row, Eligible eligible, Visit visit)
{
    for (; row <= field->lastRow(); ++row, column = 0) {
        for (; column < field->columnCount(); ++column) {
            Chip* chip = field->rows[row][column].chip;
            if (chip && !chip->released && eligible(chip) && visit(chip))
                return true;
        }
    }
    return false;
}

// The effect starts on the colour destroyer and flies to the first chip.
ScenePathEffect* startEffect(GameField* field, int colour, const Chip* source, const Chip* first,
                             std::unique_ptr<ScenePathEffect>& ownEffect)
{
    auto* effect = new ScenePathEffect(EFFECT_SCENE, colourEffectName(colour));
    effect->placeAt(boardPixels(field, source));
    if (field->renderer)
        field->renderer->effectList().add(effect);
    else
        ownEffect.reset(effect);
    effect->sendTo(boardPixels(field, first));
    return effect;
}

}  // namespace

const char* colourEffectName(int colour)
{
    static const char* const names[6] = {"red", "green", "blue", "purple", "yellow", "orange"};
    return colour >= 0 && colour < 6 ? names[colour] : "all";
}

const char* colourLetter(int colour)
{
    // The suffixes read "_R" .. "_O".
    return colour >= 0 && colour < 6 ? CHIP_COLOUR_SUFFIXES[colour] + 1 : "";
}

ColorDestroyerTask::ColorDestroyerTask(GameField* board, Chip* sourceChip, int colourValue)
    : field(board), source(sourceChip), colour(colourValue)
{
    blockWhileRunning = true;
    blockWhileDelayed = true;
}

bool ColorDestroyerTask::run(float)
{
    if (effect && !effect->arrived)
        return false;
    const int wanted = colour;
    auto eligible = [wanted](const Chip* chip) {
        const bool colourMatches = wanted == -1 ? chip->colour != -1 : chip->colour == wanted;
        return colourMatches && (chip->canIterateWithGroup() || chip->hasBehavior(BEHAVIOR_SIMPLE)) &&
               !chip->hasBehavior(BEHAVIOR_DESTROY_COLOR);
    };
    bool destroyed = false;
    const bool waiting = scanFrom(field, column, row, eligible, [&](Chip* chip) {
        if (!effect) {
            effect = startEffect(field, colour, source, chip, ownEffect);
            return true;
        }
        if (!destroyed) {
            chip->destroyInField(field, true, false);
            destroyed = true;
            return false;
        }
        effect->sendTo(boardPixels(field, chip));
        return true;
    });
    if (waiting)
        return false;
    if (effect)
        effect->startEndMarker();
    return true;
}

ColorTransformerTask::ColorTransformerTask(GameField* board, int colourValue, Chip* sourceChip, int kindValue)
    : field(board), colour(colourValue), source(sourceChip), kind(kindValue)
{
    blockWhileRunning = true;
    blockWhileDelayed = true;
}

bool ColorTransformerTask::run(float dt)
{
    if (effect && !effect->arrived)
        return false;
    timer -= dt;
    if (timer > 0.0f)
        return false;
    const int wanted = colour;
    auto eligible = [wanted](const Chip* chip) {
        return chip->colour == wanted && chip->canIterateWithGroup() && chip->hasBehavior(BEHAVIOR_SIMPLE) &&
               chip->layers.size() <= 1;
    };
    bool transformed = false;
    const bool waiting = scanFrom(field, column, row, eligible, [&](Chip* chip) {
        if (!effect) {
            effect = startEffect(field, colour, source, chip, ownEffect);
            return true;
        }
        if (transformed) {
            effect->sendTo(boardPixels(field, chip));
            return true;
        }
        transform(chip);
        transformed = true;
        return false;
    });
    if (waiting)
        return false;
    if (effect)
        effect->startEndMarker();
    auto* destroyer = new ColorDestroyerTask(field, source, colour);
    field->taskManager->addTask(destroyer);
    return true;
}

void ColorTransformerTask::transform(Chip* chip)
{
    const char* letter = colourLetter(chip->colour);
    std::string name;
    if (kind == BEHAVIOR_SIMPLE_BOMB)
        name = VQ::formatString("SimpleBomb_%s", letter);
    else
        name = VQ::formatString(count % 2 ? "WaveHor_%s" : "WaveVer_%s", letter);
    const float x = chip->x, y = chip->y;
    FieldCell* cell = field->cellAt(x, y);
    chip->hitThisPass = false;
    chip->destroyInField(field, true, false);
    if (cell && field->chipManager && (!cell->chip || (cell->chip->layers.empty() && cell->chip->released))) {
        if (Chip* made = field->chipManager->createChip(name, cell->column, cell->row, 1, UserDataMap())) {
            made->falling = 1;
            made->x = made->targetX = x;
            made->y = made->targetY = y;
            cell->chip = made;
        }
    }
    ++count;
    timer = TRANSFORM_INTERVAL;
}
