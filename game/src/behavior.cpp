#include "behavior.h"

#include <algorithm>
#include <cstring>

#include "animationeditor/scene_node.h"
#include "chip.h"
#include "fatal_error.h"
#include "game_field.h"
#include "game_state_manager.h"
#include "layer_sound.h"

int behaviorTypeFromName(const std::string& name)
{
    static const struct {
        const char* name;
        int type;
    } names[] = {
        {"Simple", BEHAVIOR_SIMPLE},
        {"Chain", BEHAVIOR_CHAIN},
        {"DChain", BEHAVIOR_DCHAIN},
        {"Wall", BEHAVIOR_WALL},
        {"DWall", BEHAVIOR_DWALL},
        {"CWall", BEHAVIOR_CWALL},
        {"StrongWall", BEHAVIOR_STRONG_WALL},
        {"FallingLevelGoal", BEHAVIOR_FALLING_LEVEL_GOAL},
        {"ChipUp", BEHAVIOR_CHIP_UP},
        {"BombStage1", BEHAVIOR_BOMB_STAGE1},
        {"BombStage2", BEHAVIOR_BOMB_STAGE2},
        {"DestroyColor", BEHAVIOR_DESTROY_COLOR},
        {"SimpleBomb", BEHAVIOR_SIMPLE_BOMB},
        {"WaveDSide", BEHAVIOR_WAVE_DSIDE},
        {"WaveVer", BEHAVIOR_WAVE_VER},
        {"WaveHor", BEHAVIOR_WAVE_HOR},
        {"Cross", BEHAVIOR_CROSS},
        {"SuperBomb", BEHAVIOR_SUPER_BOMB},
        {"SuperWaveDSide", BEHAVIOR_SUPER_WAVE_DSIDE},
        {"SuperWaveVer", BEHAVIOR_SUPER_WAVE_VER},
        {"SuperWaveVerF", BEHAVIOR_SUPER_WAVE_VER},
        {"SuperWaveHor", BEHAVIOR_SUPER_WAVE_HOR},
        {"SuperCross", BEHAVIOR_SUPER_CROSS},
        {"Star", BEHAVIOR_STAR},
        {"SuperStar", BEHAVIOR_SUPER_STAR},
        {"Storm", BEHAVIOR_STORM},
        {"Ice", BEHAVIOR_ICE},
        {"IceChip1", BEHAVIOR_ICE_CHIP1},
        {"IceChip2", BEHAVIOR_ICE_CHIP2},
        {"IceChip3", BEHAVIOR_ICE_CHIP3},
        {"ChainBomb", BEHAVIOR_CHAIN_BOMB},
        {"ChipGenerator", BEHAVIOR_CHIP_GENERATOR},
        {"StuffChip", BEHAVIOR_STUFF_CHIP},
        {"AnyBonus", BEHAVIOR_ANY_BONUS},
    };
    for (const auto& entry : names)
        if (name == entry.name)
            return entry.type;
    if (name.compare(0, 4, "Cell") == 0)
        return BEHAVIOR_CELL;
    return BEHAVIOR_SIMPLE;
}

bool ActionsGroup::runAll(GameField* field, Chip* chip, float dt)
{
    bool result = true;
    for (Action* action : objects)
        result = action->run(field, chip, dt) && result;
    return result;
}

std::vector<DrawablesGroup*> Behavior::groupsToDraw(const GameField& field, const Chip& chip, float alpha)
{
    std::vector<DrawablesGroup*> groups;
    auto show = [&](DrawablesGroup& group) {
        group.setVisible(true);
        group.setAlpha(alpha);
        groups.push_back(&group);
    };
    if (!chip.selected) {
        OnSelectDrawables.setVisible(false);
        InGroupDrawables.setVisible(false);
        // A band sweeping the board diagonally: it reaches a chip after a delay
        // growing with its column and row and stays on it for S seconds.
        const float speed = field.chipHotspotAnimationSpeed;
        const float start = ((chip.x - 0.5f) + (chip.y - 0.5f)) * (0.5f * speed) * field.chipHotspotDelayCoeff;
        const bool hot = !HotspotDrawables.empty() && start <= field.hotspotTime && field.hotspotTime < start + speed;
        if (hot) {
            OnIdleDrawables.setVisible(false);
            show(HotspotDrawables);
        } else {
            HotspotDrawables.setVisible(false);
            show(OnIdleDrawables);
        }
    } else if (!OnSelectDrawables.empty()) {
        HotspotDrawables.setVisible(false);
        OnIdleDrawables.setVisible(false);
        InGroupDrawables.setVisible(false);
        show(OnSelectDrawables);
    } else {
        HotspotDrawables.setVisible(false);
        show(OnIdleDrawables);
    }
    if (chip.detonateCounter >= 1)
        show(OnDetonateDrawables);
    else
        OnDetonateDrawables.setVisible(false);
    return groups;
}

void Behavior::update(Chip* chip, float dt)
{
    OnIdleDrawables.update(dt);
    OnSelectDrawables.update(dt);
    InGroupDrawables.update(dt);
    OnDetonateDrawables.update(dt);
    if (!chip->selected)
        HotspotDrawables.update(dt);
}

void Behavior::draw(BoardRenderer& renderer, GameField* field, Chip* chip, int x, int y)
{
    for (DrawablesGroup* group : groupsToDraw(*field, *chip, currentLevelFade()))
        group->draw(renderer, chip, x, y);
}

void BehaviorsGroup::drawAll(BoardRenderer& renderer, GameField* field, Chip* chip, int x, int y)
{
    for (Behavior* layer : objects)
        layer->draw(renderer, field, chip, x, y);
}

std::vector<AE::ISceneNode*> Behavior::idleSceneRoots() const
{
    std::vector<AE::ISceneNode*> roots;
    for (Drawable* drawable : OnIdleDrawables.objects)
        if (auto* scene = dynamic_cast<SceneDrawable*>(drawable))
            if (scene->root)
                roots.push_back(scene->root.get());
    return roots;
}

void Behavior::playIdleMarker(const std::string& name)
{
    for (AE::ISceneNode* root : idleSceneRoots())
        if (AE::Marker* marker = root->getMarker(name))
            marker->start(true);
}

bool BehaviorsGroup::canFall() const
{
    for (const Behavior* layer : objects)
        if (!layer->CanFalling)
            return false;
    return true;
}

int BehaviorsGroup::countLevelGoals() const
{
    int count = 0;
    for (const Behavior* layer : objects)
        if (layer->LevelGoal)
            ++count;
    return count;
}

void BehaviorsGroup::update(Chip* chip, float dt)
{
    for (Behavior* layer : objects)
        layer->update(chip, dt);
}

DestroyResult BehaviorsGroup::popTopAndDestroy(GameField* field, Chip* chip, bool force)
{
    DestroyResult result;
    if (objects.empty())
        return result;
    Behavior* layer = objects.back();
    objects.pop_back();
    playLayerSound(layer->destroySound);
    const bool agreed = layer->OnDestroyActions.runAll(field, chip, 0.0f);
    if (agreed || force) {
        result.type = layer->type;
        result.score = layer->score;
        delete layer;
    } else {
        objects.push_back(layer);
    }
    return result;
}

std::vector<BehaviorRegistryEntry>& behaviorRegistry()
{
    static std::vector<BehaviorRegistryEntry> registry;
    return registry;
}

void registerBehaviorPrototype(const Behavior& behavior, int colour)
{
    auto& registry = behaviorRegistry();
    for (const BehaviorRegistryEntry& entry : registry)
        if (entry.type == behavior.type && entry.colour == colour)
            return;
    registry.push_back({behavior.type, static_cast<int8_t>(colour), behavior.clone()});
}

Behavior* createBehavior(int type, int colour)
{
    const Behavior* found = nullptr;
    for (const BehaviorRegistryEntry& entry : behaviorRegistry()) {
        if (entry.type != type)
            continue;
        if (!found || entry.colour == colour)
            found = entry.prototype;
        // The first exact match wins; registration keeps (type, colour) unique.
        if (entry.colour == colour)
            break;
    }
    if (!found)
        VQ::assertFailed("VQ", "Failed to create behavior", "Behavior", 373);
    return found->clone();
}

void clearBehaviorPrototypes()
{
    for (BehaviorRegistryEntry& entry : behaviorRegistry())
        delete entry.prototype;
    behaviorRegistry().clear();
}

void runIdleActions(BehaviorsGroup& group, GameField* field, Chip* chip, float dt)
{
    // Most chips have no idle action at all: they cost no copy each frame.
    if (std::all_of(group.objects.begin(), group.objects.end(),
                    [](const Behavior* layer) { return layer->OnIdleActions.empty(); }))
        return;
    // A copy: an action may put a layer on top while the walk runs.
    const std::vector<Behavior*> layers(group.objects.rbegin(), group.objects.rend());
    bool keep = true;
    for (Behavior* layer : layers)
        keep = layer->OnIdleActions.runAll(field, chip, dt) && keep;
    if (!keep)
        chip->destroyInField(field, true, true);
}
