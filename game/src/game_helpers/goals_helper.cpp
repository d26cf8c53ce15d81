#include "game_helpers/goals_helper.h"

#include <lua.hpp>

#include <algorithm>
#include <set>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "behavior.h"
#include "chip.h"
#include "chip_manager.h"
#include "game_field.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "log_system.h"
#include "lua_context.h"
#include "sprite.h"
#include "sprite_manager.h"

namespace {

struct GoalNames {
    std::string textKey;
    std::string sprite;
};

const GoalNames& goalNames(int kind)
{
    static const GoalNames walls{"WALLS_TARGET", "s_walls_ui_p_psd"};
    static const GoalNames tiles{"TILES_TARGET", "s_tiles_ui_p_psd"};
    static const GoalNames falling{"FALLING_TARGET", "s_falling_ui_p_psd"};
    static const GoalNames strongWalls{"STRONG_WALLS_TARGET", "s_strong_wall_ui_p_psd"};
    static const GoalNames chipUp{"CHIP_UP_TARGET", "s_chip_up_ui_p_psd"};
    switch (kind) {
    case GOAL_TILES:
        return tiles;
    case GOAL_FALLING:
        return falling;
    case GOAL_STRONG_WALLS:
        return strongWalls;
    case GOAL_CHIP_UP:
        return chipUp;
    default:
        return walls;
    }
}

}  // namespace

const std::string& goalTypeTextKey(int kind)
{
    return goalNames(kind).textKey;
}

const std::string& goalTypeSpriteName(int kind)
{
    return goalNames(kind).sprite;
}

VQ::Sprite* createBonusSprite(int kind)
{
    static const char* const names[] = {"s_buster_gefest_busters_psd", "s_buster_zeus_busters_psd",
                                        "s_buster_artem_busters_psd", "s_buster_ares_busters_psd"};
    if (kind < 0 || kind > 3)
        return nullptr;
    return VQ::SpriteManager<VQ::Sprite>::instance()->tryCreateSpriteFromScript("ui_sprites", names[kind], "default");
}

int goalKindOfLayers(bool falling, bool strongWall, bool chipUp)
{
    // One order for counting and for crediting, so that no count passes its
    // target.
    if (falling)
        return GOAL_FALLING;
    if (strongWall)
        return GOAL_STRONG_WALLS;
    if (chipUp)
        return GOAL_CHIP_UP;
    return GOAL_WALLS;
}

GoalsHelper::GoalsHelper(const std::string& sceneName)
{
    scene.reset(AE::loadScene(sceneName));
    if (!scene) {
        VQ::log(VQ::formatString("ERROR: Failed to load goals scene %s", sceneName.c_str()));
        return;
    }
    counters[0].text = dynamic_cast<AE::TextSceneNode*>(scene->findNode("#text0"));
    counters[1].text = dynamic_cast<AE::TextSceneNode*>(scene->findNode("#text1"));
    counters[2].text = dynamic_cast<AE::TextSceneNode*>(scene->findNode("#score_text"));
}

GoalsHelper::~GoalsHelper() = default;

void GoalsHelper::readLevelGoals(VQ::LuaContext& script)
{
    lua_State* state = script.state();
    VQ::LuaStackGuard guard(state);
    targetChips = 0;
    lua_getglobal(state, "GameField");
    if (!lua_istable(state, -1))
        return;
    const int table = lua_gettop(state);
    lua_getfield(state, table, "LevelGoals");
    int kinds[2] = {GOAL_NONE, GOAL_NONE};
    if (lua_istable(state, -1)) {
        for (int i = 0; i < 2; ++i) {
            lua_rawgeti(state, -1, i + 1);
            if (lua_isnumber(state, -1))
                kinds[i] = static_cast<int>(lua_tonumber(state, -1));
            lua_pop(state, 1);
        }
    }
    lua_pop(state, 1);
    goalKinds[0] = kinds[0];
    goalKinds[1] = kinds[1];
    lua_getfield(state, table, "TargetChips");
    if (lua_isnumber(state, -1))
        targetChips = static_cast<int>(lua_tonumber(state, -1));
    lua_pop(state, 1);
    lua_getfield(state, table, "TargetsInField");
    if (lua_type(state, -1) == LUA_TNUMBER)
        targetsInField = static_cast<int>(lua_tonumber(state, -1));
    lua_pop(state, 1);
}

int GoalsHelper::goalCount() const
{
    int count = 0;
    while (count < 2 && goalKinds[count] != GOAL_NONE && goalKinds[count] != GOAL_SCORE)
        ++count;
    return count;
}

void GoalsHelper::reset()
{
    int found[7] = {};
    if (GameField* field = currentGameField()) {
        std::set<const Chip*> seen;
        for (const auto& row : field->rows) {
            for (const FieldCell& cell : row) {
                if (cell.solidity > 1)
                    ++found[GOAL_TILES];
                const Chip* chip = cell.chip;
                if (!chip || chip->released || !seen.insert(chip).second || chip->layers.countLevelGoals() == 0)
                    continue;
                ++found[goalKindOfLayers(chip->hasBehavior(BEHAVIOR_FALLING_LEVEL_GOAL),
                                         chip->hasBehavior(BEHAVIOR_STRONG_WALL), chip->hasBehavior(BEHAVIOR_CHIP_UP))];
            }
        }
    }
    fallingChipsOnBoard = found[GOAL_FALLING];

    const int count = goalCount();
    for (int i = 0; i < count; ++i) {
        const int kind = goalKinds[i];
        replaceIcon(i, kind);
        Counter& counter = counters[i];
        counter.kind = kind;
        counter.shown = 0;
        counter.count = 0;
        counter.timer = -1.0f;
        counter.target = kind >= 0 && kind < 7 ? found[kind] : 0;
        if (kind == GOAL_FALLING) {
            counter.target += targetChips;
            topUpFallingChips();
        }
        if (counter.text)
            counter.text->setEnabled(true);
    }
    if (scene) {
        if (AE::Marker* marker = scene->requireMarker(VQ::formatString("goals%d", count)))
            marker->start(true);
    }
    for (int i = count; i < 2; ++i)
        counters[i].kind = GOAL_NONE;
    if (scene) {
        for (int i = 0; i < 2; ++i)
            if (AE::ISceneNode* node = scene->findNode(VQ::formatString("goal%d", i + 1)))
                node->setEnabled(counters[i].kind != GOAL_NONE);
        if (AE::ISceneNode* score = scene->findNode("#score"))
            score->setEnabled(count == 0);
    }
    update(0.0f);
}

void GoalsHelper::replaceIcon(int index, int kind)
{
    if (!scene)
        return;
    const std::string name = VQ::formatString("#icon%d", index);
    replaceWithGoalIcon(scene->findNode(name), kind);
}

void replaceWithGoalIcon(AE::ISceneNode* old, int kind)
{
    if (!old)
        return;
    VQ::Sprite* sprite = VQ::SpriteManager<VQ::Sprite>::instance()->tryCreateSpriteFromScript(
        "targets_sprites", goalTypeSpriteName(kind), "default");
    if (!sprite)
        return;
    // A sprite node keeps its place and the markers that animate it.
    if (auto* spriteNode = dynamic_cast<AE::SpriteSceneNode*>(old)) {
        spriteNode->setSprite(sprite);
        return;
    }
    auto* icon = new AE::SpriteSceneNode();
    icon->setSprite(sprite);
    icon->name = old->name;
    icon->posX = old->posX;
    icon->posY = old->posY;
    icon->posZ = old->posZ;
    icon->scaleX = old->scaleX;
    icon->scaleY = old->scaleY;
    AE::ISceneNode* parent = old->parent;
    if (parent) {
        parent->removeChild(old, true);
        parent->addChild(icon, true);
    }
    delete old;
}

void GoalsHelper::topUpFallingChips()
{
    ChipManager* chips = ChipManager::instancePtr();
    while (targetChips > 0 && fallingChipsOnBoard < targetsInField) {
        if (chips)
            chips->nextChips.push_back("FallingLevelGoal");
        --targetChips;
        ++fallingChipsOnBoard;
    }
}

void GoalsHelper::onChipDestroyed(const ChipSnapshot& snapshot)
{
    if (snapshot.levelGoals == 0)
        return;
    const int kind = goalKindOfLayers(snapshot.hasAnyBehavior({BEHAVIOR_FALLING_LEVEL_GOAL}),
                                      snapshot.hasAnyBehavior({BEHAVIOR_STRONG_WALL}),
                                      snapshot.hasAnyBehavior({BEHAVIOR_CHIP_UP}));
    if (kind == counters[0].kind)
        addGoalProgress(0);
    else if (kind == counters[1].kind)
        addGoalProgress(1);
}

void GoalsHelper::addGoalProgress(int index)
{
    if (index < 0 || index > 1)
        return;
    Counter& counter = counters[index];
    ++counter.count;
    if (counter.timer == 0.0f)
        counter.timer = countDuration;
    if (counter.kind == GOAL_FALLING) {
        --fallingChipsOnBoard;
        topUpFallingChips();
    }
}

bool GoalsHelper::hasNoGoals() const
{
    return goalCount() == 0;
}

bool GoalsHelper::isComplete() const
{
    const int count = goalCount();
    if (count == 0)
        return counters[2].count >= counters[2].target;
    for (int i = 0; i < count; ++i)
        if (counters[i].count != counters[i].target)
            return false;
    return true;
}

void GoalsHelper::update(float dt)
{
    for (Counter& counter : counters) {
        if (counter.kind == GOAL_NONE || counter.timer == 0.0f)
            continue;
        counter.timer = std::max(counter.timer - dt, 0.0f);
        const int value =
            counter.count - static_cast<int>((counter.count - counter.shown) * counter.timer / countDuration + 0.5f);
        if (value == counter.count)
            counter.shown = counter.count;
        if (counter.text)
            counter.text->setText(VQ::formatString("%d/%d", value, counter.target));
    }
    if (scene)
        AE::ISceneNode::update(scene.get(), dt);
}

void GoalsHelper::drawOverField()
{
    if (scene)
        AE::renderScene(scene.get());
}
