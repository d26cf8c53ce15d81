#include "game_helpers/bonus.h"

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "board_renderer.h"
#include "chip.h"
#include "chip_manager.h"
#include "field_scene.h"
#include "game_field.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/helper_sound.h"
#include "game_level.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "particle_system.h"
#include "player_profile.h"
#include "random.h"
#include "task_manager.h"

namespace {

const char* const BONUS_SCENE = "bonus_effects_scene_xml";
const char* const COMET_SOUND = "comet_bonus_sound";
const char* const LIGHT_SOUND = "light_bonus_sound";
const char* const ARROW_SCENE = "bonus_arrow_effect_xml";
const char* const DETONATE_SCENE = "bonus_detonate_effect_xml";
constexpr int EFFECT_LAYER = 1000;
constexpr float ROW_STEP = 0.125f;

bool hasGoal(const int kinds[2], int kind)
{
    return kinds[0] == kind || kinds[1] == kind;
}

VQ::Vector2f cellPixel(const GameField& field, float column, float row)
{
    const float size = static_cast<float>(field.cellSize);
    return {size * (column + 0.5f), size * (row + 0.5f)};
}

void addEffect(GameField& field, GameFieldEffect* effect)
{
    if (field.renderer)
        field.renderer->effectList().add(effect);
    else
        delete effect;
}

void addFlight(GameField& field, const char* particles, const VQ::Vector2f& from, const VQ::Vector2f& to,
               float seconds, float delay)
{
    VQ::ParticleSystem* system = VQ::ParticleSystem::instancePtr();
    addEffect(field, new FlyingEffect(system ? system->create(particles) : nullptr, from, to, seconds, delay));
}

// The board is held while a bonus plays.
void holdLevel(bool holdBoard)
{
    if (GameLevel* level = currentGameLevel())
        ++level->busyCount;
    if (GameField* field = currentGameField(); field && holdBoard) {
        field->spawnEnabled = false;
        field->gravityEnabled = false;
    }
}

void releaseLevel(BonusGoldHelper* panel)
{
    if (GameLevel* level = currentGameLevel())
        level->releaseBusy();
    if (GameField* field = currentGameField()) {
        field->spawnEnabled = true;
        field->gravityEnabled = true;
    }
    if (panel) {
        panel->enabled = true;
        panel->refreshButtons();
    }
}

// Does a chip of the board count for one of the level's goals, as the
// comet and the arrows weigh them?
bool isGoalChip(const Chip& chip, const int goalKinds[2])
{
    return (hasGoal(goalKinds, GOAL_WALLS) &&
            (chip.hasBehavior(BEHAVIOR_WALL) || chip.hasBehavior(BEHAVIOR_DWALL) || chip.hasBehavior(BEHAVIOR_CWALL))) ||
           (hasGoal(goalKinds, GOAL_STRONG_WALLS) && chip.hasBehavior(BEHAVIOR_STRONG_WALL)) ||
           (hasGoal(goalKinds, GOAL_CHIP_UP) && chip.hasBehavior(BEHAVIOR_CHIP_UP));
}

}  // namespace

PlayerProfile* gameProfile()
{
    const GameProperties* properties = GameProperties::instancePtr();
    return properties ? properties->profile() : nullptr;
}

VQ::Vector2f boardCentre(const GameField& field)
{
    const float size = static_cast<float>(field.cellSize);
    float y = (field.gridHeight + 1) * size * 0.5f;
    if (field.gridHeight % 2 == 0)
        y += size;
    return {size * field.gridWidth * 0.5f, y};
}

SceneEffect* playBonusScene(const char* marker, SceneEffectListener* listener)
{
    GameField* field = currentGameField();
    if (!field || !field->renderer)
        return nullptr;
    auto* effect = new SceneEffect(BONUS_SCENE, EFFECT_LAYER, boardCentre(*field), 0.0f, marker);
    effect->addListener(listener);
    field->renderer->effectList().add(effect);
    return effect;
}

void forgetSceneEffect(SceneEffect*& effect, SceneEffectListener* listener)
{
    GameField* field = currentGameField();
    if (effect && field && field->renderer) {
        const auto& effects = field->renderer->effectList().effects;
        if (std::find(effects.begin(), effects.end(), effect) != effects.end()) {
            auto& listeners = effect->listeners;
            listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
        }
    }
    effect = nullptr;
}

bool hasBonusLayer(const Chip* chip)
{
    for (const Behavior* layer : chip->layers.objects)
        if (layer->type >= BEHAVIOR_BOMB_STAGE1 && layer->type <= BEHAVIOR_SUPER_STAR)
            return true;
    return false;
}

bool detonateNextBonusChip(GameField& field, std::set<const Chip*>& passedOver)
{
    if (!field.chipManager)
        return false;
    for (const auto& owned : field.chipManager->chips) {
        Chip* chip = owned.get();
        if (chip->released || passedOver.count(chip) || !hasBonusLayer(chip))
            continue;
        if (chip->hasBehavior(BEHAVIOR_BOMB_STAGE2))
            return true;
        const Behavior* top = chip->layers.top();
        const size_t layers = chip->layers.size();
        chip->destroyInField(&field, true, false);
        if (chip->released || chip->layers.size() != layers || chip->layers.top() != top)
            return true;
        // A layer that refuses to go would hold the level for ever.
        passedOver.insert(chip);
    }
    return false;
}

Chip* putChipInCell(GameField& field, FieldCell& cell, const std::string& name)
{
    Chip* made = field.chipManager ? field.chipManager->createChip(name, cell.column, cell.row, 1, UserDataMap())
                                   : nullptr;
    if (made) {
        made->falling = 1;
        made->x = made->targetX = cell.column + 0.5f;
        made->y = made->targetY = cell.row + 0.5f;
    }
    cell.chip = made;
    return made;
}

// --- Bonus ---

int Bonus::activate()
{
    return getType();
}

int Bonus::start(const char* marker, SceneEffectListener* listener, bool holdBoard)
{
    forgetSceneEffect(effect, listener);
    effect = playBonusScene(marker, listener);
    if (panel)
        panel->hold();
    holdLevel(holdBoard);
    const int kind = getType();
    if (PlayerProfile* profile = panel ? panel->profile : gameProfile())
        // The tutorial fires a bonus without stock: the stock stays at 0.
        profile->bonusCounts[static_cast<size_t>(kind)] = std::max(profile->bonusCounts[static_cast<size_t>(kind)] - 1, 0);
    // Without a board renderer nothing plays: the bonus goes off at once.
    if (!effect)
        listener->onSceneEffectFinished(nullptr);
    return kind;
}

// --- CometBonus ---

CometBonus::CometBonus(int goalKind1, int goalKind2) : goalKinds{goalKind1, goalKind2}
{
    sound = acquireHelperSound(COMET_SOUND);
}

CometBonus::~CometBonus()
{
    forgetSceneEffect(effect, this);
    releaseHelperSound(sound);
}

void CometBonus::onSceneEffectFinished(SceneEffect*)
{
    effect = nullptr;
    GameField* field = currentGameField();
    if (!field)
        return;
    const int width = field->gridWidth, height = field->gridHeight;
    std::vector<int> goalColumns;
    std::vector<int> usable;
    for (int column = 0; column < width; ++column) {
        bool goal = false, solid = false;
        for (int row = 1; row <= height; ++row) {
            const FieldCell* cell = field->cellAt(column, row);
            if (!cell)
                continue;
            solid = solid || cell->solidity > 0;
            goal = goal || (hasGoal(goalKinds, GOAL_TILES) && cell->solidity > 1) ||
                   (cell->chip && !cell->chip->released && isGoalChip(*cell->chip, goalKinds));
        }
        if (goal)
            goalColumns.push_back(column);
        if (solid)
            usable.push_back(column);
    }
    std::vector<int> columns;
    if (!goalColumns.empty())
        columns.push_back(goalColumns[static_cast<size_t>(VQ::rand()) % goalColumns.size()]);
    // A narrow board takes the columns it has.
    const size_t wanted = std::min<size_t>(3, std::max(usable.size(), columns.size()));
    while (columns.size() < wanted) {
        const int candidate = VQ::rand() % width;
        if (std::find(columns.begin(), columns.end(), candidate) == columns.end() &&
            std::find(usable.begin(), usable.end(), candidate) != usable.end())
            columns.push_back(candidate);
    }
    std::sort(columns.begin(), columns.end());

    const GameStateManager* states = GameStateManager::instancePtr();
    const bool portrait = states && states->isPortrait();
    const float flight = portrait ? (3 * height + 3) * ROW_STEP : (height + 5) * ROW_STEP;
    const float lead = portrait ? (height + 1) * ROW_STEP : 0.25f;
    for (size_t index = 0; index < columns.size(); ++index) {
        const int column = columns[index];
        const float start = (index + 1) * 0.3f;
        for (int row = 0; row <= height; ++row)
            if (const FieldCell* cell = field->cellAt(column, row); cell && cell->chip)
                field->queueDestroyChipInCell(column, row, row * ROW_STEP + start + lead);
        const float fromRow = portrait ? -(height + 1.0f) : -2.0f;
        const float toRow = portrait ? 2.0f * (height + 1) : height + 3.0f;
        addFlight(*field, "meteorite_fx", cellPixel(*field, column, fromRow), cellPixel(*field, column, toRow), flight,
                  start);
        addEffect(*field, new SoundEffect(sound, start + lead));
    }
    auto* unlocker = new UnlockerTask(panel, this);
    unlocker->delay = flight;
    field->taskManager->addTask(unlocker);
}

// --- LightBonus ---

LightBonus::LightBonus()
{
    sound = acquireHelperSound(LIGHT_SOUND);
}

LightBonus::~LightBonus()
{
    forgetSceneEffect(effect, this);
    releaseHelperSound(sound);
}

void LightBonus::onSceneEffectFinished(SceneEffect*)
{
    effect = nullptr;
    GameField* field = currentGameField();
    if (!field)
        return;
    const int centre = field->gridWidth / 2;
    const float step = 0.05f;
    for (int row = 1; row <= field->lastRow(); row += 2) {
        const float start = row * ROW_STEP;
        for (int k = 0; k <= centre; ++k)
            for (int column : {centre - k, centre + k}) {
                if (const FieldCell* cell = field->cellAt(column, row); cell && cell->chip)
                    field->queueDestroyChipInCell(column, row, start + k * step);
                if (k == 0)
                    break;
            }
        const VQ::Vector2f from = cellPixel(*field, static_cast<float>(centre), static_cast<float>(row));
        const float size = static_cast<float>(field->cellSize);
        addFlight(*field, "light_fx", from, {0.0f, from.y}, centre * step, start);
        addFlight(*field, "light_fx", from, {size * (field->gridWidth - 1), from.y}, centre * step, start);
        addEffect(*field, new SoundEffect(sound, start));
    }
    auto* unlocker = new UnlockerTask(panel, this);
    unlocker->delay = centre * step + ROW_STEP;
    field->taskManager->addTask(unlocker);
}

// --- ArrowBonus ---

ArrowBonus::ArrowBonus(int goalKind1, int goalKind2) : goalKinds{goalKind1, goalKind2}
{
    arrowScene = loadFieldScene(ARROW_SCENE);
}

ArrowBonus::~ArrowBonus()
{
    forgetSceneEffect(effect, this);
}

void ArrowBonus::onSceneEffectFinished(SceneEffect*)
{
    effect = nullptr;
    GameField* field = currentGameField();
    if (!field || !field->chipManager)
        return;
    std::vector<Chip*> preferred, ordinary;
    for (const auto& owned : field->chipManager->chips) {
        Chip* chip = owned.get();
        if (chip->released)
            continue;
        const FieldCell* cell = field->cellAt(chip->x, chip->y);
        const bool tileGoal = hasGoal(goalKinds, GOAL_TILES) && cell && cell->solidity > 1 &&
                              !chip->hasBehavior(BEHAVIOR_CHIP_UP) &&
                              !chip->hasBehavior(BEHAVIOR_FALLING_LEVEL_GOAL) &&
                              !chip->hasBehavior(BEHAVIOR_CHIP_GENERATOR);
        if (isGoalChip(*chip, goalKinds) || tileGoal)
            preferred.push_back(chip);
        else if (!chip->hasBehavior(BEHAVIOR_FALLING_LEVEL_GOAL) && !chip->hasBehavior(BEHAVIOR_CHIP_UP) &&
                 !chip->hasBehavior(BEHAVIOR_CHIP_GENERATOR))
            ordinary.push_back(chip);
    }
    std::vector<Chip*> picked;
    for (std::vector<Chip*>* list : {&preferred, &ordinary})
        while (picked.size() < TARGETS && !list->empty()) {
            const size_t index = static_cast<size_t>(VQ::rand()) % list->size();
            picked.push_back((*list)[index]);
            list->erase(list->begin() + static_cast<std::ptrdiff_t>(index));
        }
    float t = 0.0f;
    for (Chip* chip : picked) {
        const int column = static_cast<int>(chip->x), row = static_cast<int>(chip->y);
        field->queueDestroyChipInCell(column, row, t + 0.6f);
        if (arrowScene) {
            const float size = static_cast<float>(field->cellSize);
            const char* marker = row < 3 ? "init_0" : row < 6 ? "init_1" : "init_2";
            addEffect(*field, new SceneEffect(std::unique_ptr<AE::ISceneNode>(arrowScene->clone(nullptr)), ARROW_SCENE,
                                              EFFECT_LAYER, {size * chip->x, size * chip->y}, t, marker));
        }
        t += 0.3f;
    }
    auto* unlocker = new UnlockerTask(panel, this);
    unlocker->delay = t + 0.1f;
    field->taskManager->addTask(unlocker);
}

// --- DetonateBonus ---

DetonateBonus::DetonateBonus()
{
    detonateScene = loadFieldScene(DETONATE_SCENE);
}

DetonateBonus::~DetonateBonus()
{
    forgetSceneEffect(effect, this);
}

bool DetonateBonus::canActivate()
{
    const GameField* field = currentGameField();
    if (!field || !field->chipManager)
        return false;
    for (const auto& chip : field->chipManager->chips)
        if (!chip->released && hasBonusLayer(chip.get()))
            return true;
    return false;
}

void DetonateBonus::onSceneEffectFinished(SceneEffect*)
{
    effect = nullptr;
    GameField* field = currentGameField();
    if (!field || !field->chipManager)
        return;
    const float size = static_cast<float>(field->cellSize);
    const VQ::Vector2f centre{size * field->gridWidth * 0.5f, (field->gridHeight + 1) * size * 0.5f};
    for (const auto& chip : field->chipManager->chips)
        if (!chip->released && hasBonusLayer(chip.get()) && detonateScene)
            addEffect(*field, new ChipSceneEffect(std::unique_ptr<AE::ISceneNode>(detonateScene->clone(nullptr)),
                                                  chip.get(), centre, 0.7f, "init"));
    auto* task = new DetonateTask(panel, this);
    task->delay = DetonateTask::START_DELAY;
    field->taskManager->addTask(task);
}

// --- UnlockerTask ---

UnlockerTask::UnlockerTask(BonusGoldHelper* owner, Bonus* source) : panel(owner), bonus(source)
{
    blockWhileDelayed = true;
}

bool UnlockerTask::run(float)
{
    releaseLevel(panel);
    return true;
}

// --- DetonateTask ---

DetonateTask::DetonateTask(BonusGoldHelper* owner, Bonus* source) : panel(owner), bonus(source) {}

bool DetonateTask::run(float)
{
    GameField* field = currentGameField();
    if (!field)
        return true;
    if (field->moving || field->isUnsettled())
        return false;
    if (detonateNextBonusChip(*field, passedOver))
        return false;
    if (GameLevel* level = currentGameLevel())
        level->releaseBusy();
    if (panel) {
        panel->enabled = true;
        panel->refreshButtons();
    }
    return true;
}

// --- ChipSceneEffect ---

ChipSceneEffect::ChipSceneEffect(std::unique_ptr<AE::ISceneNode> root, Chip* target, const VQ::Vector2f& startPoint,
                                 float seconds, const char* marker)
    : duration(seconds), remaining(seconds), start(startPoint), scene(std::move(root)), chip(target)
{
    layer = LAYER;
    if (scene) {
        scene->setPosition(start);
        if (AE::Marker* found = scene->requireMarker(marker))
            found->start(true);
    }
}

void ChipSceneEffect::update(float dt)
{
    if (!chip || chip->released) {
        finished = true;
        return;
    }
    const GameField* field = currentGameField();
    const float size = field ? static_cast<float>(field->cellSize) : 0.0f;
    const VQ::Vector2f target{size * chip->x, size * chip->y};
    if (state == 0) {
        remaining = std::max(remaining - dt, 0.0f);
        const float f = duration > 0.0f ? remaining / duration : 0.0f;
        if (scene)
            scene->setPosition(target - (target - start) * f);
        if (remaining == 0.0f)
            state = 1;
    } else if (scene) {
        scene->setPosition(target);
    }
    if (scene)
        AE::ISceneNode::update(scene.get(), dt);
}

void ChipSceneEffect::draw()
{
    if (scene)
        AE::renderScene(scene.get());
}
