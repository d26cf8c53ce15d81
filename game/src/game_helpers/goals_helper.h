#pragma once
// The level's goals: a level is won by its score or by up to two goals
// (walls, tiles, falling target chips, strong walls, rising chips). The
// component reads them from the level script, counts their targets on the
// freshly loaded board, keeps the falling target chips coming, shows the goal
// panel with its counting "%d/%d" texts and answers whether the level is
// complete.

#include <memory>
#include <string>

#include "game_helpers/game_helper.h"

namespace AE {
class ISceneNode;
class TextSceneNode;
}  // namespace AE
namespace VQ {
class LuaContext;
class Sprite;
}  // namespace VQ
struct ChipSnapshot;

enum GoalKind : int {
    GOAL_NONE = 0,
    GOAL_WALLS = 1,
    GOAL_TILES = 2,
    GOAL_FALLING = 3,
    GOAL_SCORE = 4,  // the panel's third counter, never a level goal
    GOAL_STRONG_WALLS = 5,
    GOAL_CHIP_UP = 6,
};

// The text key and the "targets_sprites" icon of a goal kind; a kind not
// listed gives the walls' entries.
const std::string& goalTypeTextKey(int kind);
const std::string& goalTypeSpriteName(int kind);
// `old` (deleted unless it is a sprite node) gives its place, name, depth
// and scale to the goal icon of `kind`; nothing for null.
void replaceWithGoalIcon(AE::ISceneNode* old, int kind);
// A new "ui_sprites" sprite of a one-shot bonus kind (0 comet, 1 lightning,
// 2 arrows, 3 detonator); null for another kind or a missing table.
VQ::Sprite* createBonusSprite(int kind);

// The goal kind a destroyed or counted goal chip stands for.
int goalKindOfLayers(bool falling, bool strongWall, bool chipUp);

class GoalsHelper : public GameHelper {
public:
    static constexpr float COUNT_DURATION = 0.5f;

    // One of the panel's three counters: goal 1, goal 2, the score.
    struct Counter {
        int kind = GOAL_NONE;
        int target = 0;
        int count = 0;
        // What the counter shows at rest.
        int shown = 0;
        // Counting time left; negative: show once at the next update.
        float timer = 0.0f;
        AE::TextSceneNode* text = nullptr;
    };

    explicit GoalsHelper(const std::string& sceneName);
    ~GoalsHelper() override;

    void update(float dt) override;
    void drawOverField() override;
    // Counts the targets on the board and builds the panel.
    void reset() override;
    int getType() override { return 7; }

    // From the global table "GameField" of the level script.
    void readLevelGoals(VQ::LuaContext& script);
    void onChipDestroyed(const ChipSnapshot& snapshot);
    // Goal 0 or 1 advances by one.
    void addGoalProgress(int index);
    // No goal is set up: the level is won by its score.
    bool hasNoGoals() const;
    bool isComplete() const;
    // How many goals are set up (0, 1 or 2): the list ends at a kind 0 or 4.
    int goalCount() const;

    int goalKinds[2] = {GOAL_NONE, GOAL_NONE};
    std::unique_ptr<AE::ISceneNode> scene;
    float countDuration = COUNT_DURATION;
    Counter counters[3];
    // Falling target chips still to be released.
    int targetChips = 0;
    // How many may be on the board at once.
    int targetsInField = 1;
    int fallingChipsOnBoard = 0;

private:
    void topUpFallingChips();
    void replaceIcon(int index, int kind);
};
