#include "game_helpers/level_end_helper.h"

#include <algorithm>

#include "behavior.h"
#include "board_renderer.h"
#include "chip.h"
#include "chip_manager.h"
#include "field_scene.h"
#include "game_field.h"
#include "game_helpers/bonus.h"
#include "game_helpers/bonus_chip_helper.h"
#include "game_helpers/helper_sound.h"
#include "game_helpers/limit_helper.h"
#include "game_level.h"
#include "log_system.h"
#include "player_profile.h"
#include "random.h"
#include "task_manager.h"
#include "tutorial/tutorial_registry.h"

namespace {

const char* const END_SOUND = "fusion_chip_effect_sound";
const char* const END_SCENE = "level_bonus_end_effects_xml";
const char* const WIN_SCENE_NAME = "win_effect_scene_xml";
constexpr int WIN_SCENE_LAYER = 3;
const char* const CONVERSION_NAMES[3] = {"Bomb_%s", "WaveHor_%s", "WaveVer_%s"};

}  // namespace

LevelEndHelper::LevelEndHelper() : profile(gameProfile())
{
    sound = acquireHelperSound(END_SOUND);
    scene = loadFieldScene(END_SCENE);
}

LevelEndHelper::~LevelEndHelper()
{
    forgetSceneEffect(effect, this);
    releaseHelperSound(sound);
}

void LevelEndHelper::start(LimitHelper* levelLimit)
{
    if (started)
        return;
    started = true;
    state = WIN_SCENE;
    limit = levelLimit;
    cells.clear();
    passedOver.clear();
    if (GameField* field = currentGameField())
        for (int row = 1; row <= field->lastRow(); ++row)
            for (int column = 0; column < field->columnCount(); ++column)
                if (FieldCell* cell = field->cellAt(column, row); cell && cell->solidity > 0)
                    cells.push_back(cell);
}

void LevelEndHelper::reset()
{
    forgetSceneEffect(effect, this);
    started = false;
    done = false;
    state = WIN_SCENE;
}

bool LevelEndHelper::limitReached() const
{
    // A level without a limit has nothing to pay out.
    return !limit || limit->isLimitReached();
}

void LevelEndHelper::update(float dt)
{
    GameField* field = currentGameField();
    if (!started || done || !field || tutorialLessonActive() || field->moving || field->taskManager->count > 0)
        return;
    switch (state) {
    case WIN_SCENE: {
        state = WAITING;
        GameLevel* level = currentGameLevel();
        if (level)
            level->setAmbientVolume(0.0f);
        if (field->renderer) {
            effect = new SceneEffect(WIN_SCENE_NAME, WIN_SCENE_LAYER, boardCentre(*field), 0.0f, "init");
            effect->addListener(this);
            field->renderer->effectList().add(effect);
        } else {
            onSceneEffectFinished(nullptr);
        }
        conversions = 0;
        timer = STEP;
        break;
    }
    case WAITING:
        break;
    case SETTLING:
        timer -= dt;
        if (timer <= 0.0f) {
            timer = STEP;
            if (!field->runMatchPass(true))
                state = limitReached() ? DETONATING : CONVERTING;
        }
        break;
    case CONVERTING:
        timer -= dt;
        if (timer <= 0.0f) {
            if (!convert())
                state = DETONATING;
            timer = STEP;
        }
        break;
    case DETONATING:
        timer -= dt;
        if (timer <= 0.0f) {
            if (!detonate()) {
                state = FINISHED;
                done = true;
            }
            timer = STEP;
        }
        break;
    default:
        break;
    }
}

void LevelEndHelper::onSceneEffectFinished(SceneEffect*)
{
    effect = nullptr;
    if (state != WAITING)
        return;
    state = SETTLING;
    if (GameLevel* level = currentGameLevel())
        level->setAmbientVolume(profile ? profile->musicVolume : 1.0f);
}

bool LevelEndHelper::convert()
{
    GameField* field = currentGameField();
    // Every cell tried: nothing is left to convert.
    if (!field || cells.empty())
        return false;
    const size_t index = static_cast<size_t>(VQ::rand()) % cells.size();
    FieldCell* cell = cells[index];
    cells[index] = cells.back();
    cells.pop_back();
    Chip* chip = cell->chip;
    if (!chip || chip->released || chip->colour < 0 || chip->layers.size() != 1 ||
        !chip->hasBehavior(BEHAVIOR_SIMPLE) || !*bonusColourLetter(chip->colour))
        return true;

    const std::string name = VQ::formatString(CONVERSION_NAMES[conversions % 3], bonusColourLetter(chip->colour));
    chip->released = true;
    chip->layers.deleteAll();
    putChipInCell(*field, *cell, name);
    playHelperSound(sound);

    if (auto* moves = dynamic_cast<MoveLimitHelper*>(limit))
        moves->setMoves(moves->moves - 1, false);
    else if (auto* timer = dynamic_cast<TimerHelper*>(limit)) {
        timer->timeLeft = std::max(timer->timeLeft - SECONDS_PER_CONVERSION, 0.0f);
        timer->showTime();
    }
    ++conversions;
    return !limitReached();
}

bool LevelEndHelper::detonate()
{
    GameField* field = currentGameField();
    return field && detonateNextBonusChip(*field, passedOver);
}
