#pragma once
// Behaviour layers: a chip is a stack of them. A layer gives the chip its
// type, says whether it may fall and join lines, carries its destroy and idle
// actions, the drawables of its states, a score and a destroy sound. Every
// layer read from the prototype script is also registered, by type and
// colour, so that actions and level rules can make further layers later.

#include <cstdint>
#include <string>
#include <vector>

#include "action.h"
#include "drawables_group.h"
#include "objects_group.h"

namespace VQ {
class LuaScript2;
}
namespace AE {
class ISceneNode;
}
class BoardRenderer;
class Chip;
class GameField;

// The type of a layer, from its "Name".
enum BehaviorType : int32_t {
    BEHAVIOR_SIMPLE = 1,
    BEHAVIOR_CHAIN = 2,
    BEHAVIOR_DCHAIN = 3,
    BEHAVIOR_WALL = 4,
    BEHAVIOR_DWALL = 5,
    BEHAVIOR_CWALL = 6,
    BEHAVIOR_STRONG_WALL = 7,
    BEHAVIOR_FALLING_LEVEL_GOAL = 8,
    BEHAVIOR_CHIP_UP = 9,
    BEHAVIOR_BOMB_STAGE1 = 10,
    BEHAVIOR_BOMB_STAGE2 = 11,
    BEHAVIOR_DESTROY_COLOR = 12,
    BEHAVIOR_SIMPLE_BOMB = 13,
    BEHAVIOR_WAVE_DSIDE = 14,
    BEHAVIOR_WAVE_VER = 15,
    BEHAVIOR_WAVE_HOR = 16,
    BEHAVIOR_CROSS = 17,
    BEHAVIOR_SUPER_BOMB = 18,
    BEHAVIOR_SUPER_WAVE_DSIDE = 19,
    BEHAVIOR_SUPER_WAVE_VER = 20,
    BEHAVIOR_SUPER_WAVE_HOR = 21,
    BEHAVIOR_SUPER_CROSS = 22,
    BEHAVIOR_STAR = 23,
    BEHAVIOR_SUPER_STAR = 24,
    BEHAVIOR_STORM = 25,
    BEHAVIOR_CELL = 26,
    BEHAVIOR_ICE = 27,
    BEHAVIOR_ICE_CHIP1 = 28,
    BEHAVIOR_ICE_CHIP2 = 29,
    BEHAVIOR_ICE_CHIP3 = 30,
    BEHAVIOR_CHAIN_BOMB = 31,
    BEHAVIOR_CHIP_GENERATOR = 32,
    BEHAVIOR_STUFF_CHIP = 33,
    BEHAVIOR_ANY_BONUS = 34,
};

// Exact names first, then any name beginning with "Cell"; anything else is
// a plain chip.
int behaviorTypeFromName(const std::string& name);

class ActionsGroup : public OwningObjectsGroup<Action> {
public:
    // Runs every action, refusals included; the AND of the results (true
    // for an empty group).
    bool runAll(GameField* field, Chip* chip, float dt);
    // Reads the array of action texts on the stack top; texts that name no
    // action are skipped.
    void load(VQ::LuaScript2& script);
};

class Behavior {
public:
    Behavior() = default;
    Behavior(const Behavior&) = default;
    Behavior& operator=(const Behavior&) = delete;
    virtual ~Behavior() = default;

    Behavior* clone() const { return new Behavior(*this); }

    // Shows, hides and fades the drawable groups for the chip's state, with
    // the level's fade factor as alpha, and returns the groups to draw, in
    // drawing order.
    std::vector<DrawablesGroup*> groupsToDraw(const GameField& field, const Chip& chip, float alpha);
    // Queues the groups for the chip's state on the renderer, faded by the
    // level's entry.
    void draw(BoardRenderer& renderer, GameField* field, Chip* chip, int x, int y);
    void update(Chip* chip, float dt);
    // Starts the named marker of every scene among the idle drawables.
    void playIdleMarker(const std::string& name);
    // The scene roots among the idle drawables (where a layer writes its
    // texts, "#limit" of a chain bomb).
    std::vector<AE::ISceneNode*> idleSceneRoots() const;

    ActionsGroup OnDestroyActions;
    ActionsGroup OnIdleActions;
    DrawablesGroup OnIdleDrawables;
    DrawablesGroup OnDetonateDrawables;
    DrawablesGroup OnSelectDrawables;
    DrawablesGroup OnDestroyDrawables;
    DrawablesGroup HotspotDrawables;
    DrawablesGroup InGroupDrawables;
    bool CanFalling = true;
    bool CanIterateWithGroup = true;
    bool LevelGoal = false;
    // The drawables come in one set per chip colour; a chip all of whose
    // layers are so keeps its colour when a booster turns it.
    bool MultipleColors = true;
    int32_t score = 0;
    int32_t type = BEHAVIOR_SIMPLE;
    // Sound manager resource id; 0 is none.
    uint32_t destroySound = 0;
};

// What destroying a layer gave: its type and score, {0, 0} when nothing was
// destroyed.
struct DestroyResult {
    int type = 0;
    int score = 0;
};

// Bottom layer first, top layer last.
class BehaviorsGroup : public OwningObjectsGroup<Behavior> {
public:
    // Reads the array of layer tables on the stack top.
    void load(VQ::LuaScript2& script, const std::string& suffix);
    bool canFall() const;
    int countLevelGoals() const;
    void update(Chip* chip, float dt);
    // Every layer draws, bottom first.
    void drawAll(BoardRenderer& renderer, GameField* field, Chip* chip, int x, int y);
    // Takes the top layer off, plays its sound and runs its destroy actions;
    // a refusal puts it back unless `force`.
    DestroyResult popTopAndDestroy(GameField* field, Chip* chip, bool force);

    Behavior* top() const { return objects.empty() ? nullptr : objects.back(); }
};

// Runs the idle actions of every layer, top layer first, all of them even
// after a refusal; a refusal then destroys the chip once (neighbours told,
// forced).
void runIdleActions(BehaviorsGroup& group, GameField* field, Chip* chip, float dt);

// Reads the layer table on the stack top and registers it under the colour
// of `suffix`.
Behavior* loadBehavior(VQ::LuaScript2& script, const std::string& suffix);

struct BehaviorRegistryEntry {
    int32_t type;
    int8_t colour;
    Behavior* prototype;  // owned
};

// The process-wide registry, in registration order.
std::vector<BehaviorRegistryEntry>& behaviorRegistry();
// Keeps a copy unless (type, colour) is registered already.
void registerBehaviorPrototype(const Behavior& behavior, int colour);
// A new copy of the registered layer of that type, preferring that colour;
// fatal when the type is not registered.
Behavior* createBehavior(int type, int colour);
void clearBehaviorPrototypes();
