#pragma once
// The four bought bonuses the bonus panel fires: the comet clears three
// columns, the lightning every other row, the arrows five chosen chips and
// the detonator sets off every bonus chip on the board. A bonus plays its
// marker of the shared bonus scene over the board and holds the board;
// when that scene ends it queues its destruction and a task gives the
// board back afterwards.

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "field_effects.h"
#include "game_field_effect.h"
#include "task.h"

namespace AE {
class ISceneNode;
}
class BonusGoldHelper;
class Chip;
class GameField;
class PlayerProfile;
struct FieldCell;

enum BonusKind : int { BONUS_COMET = 0, BONUS_LIGHT = 1, BONUS_ARROWS = 2, BONUS_DETONATE = 3 };
constexpr int BONUS_KIND_COUNT = 4;

// The profile the level's bonuses and boosters read and spend: the game's
// player, when the game is up; null otherwise.
PlayerProfile* gameProfile();

// Board pixels of the board's centre, where the bonus scenes play.
VQ::Vector2f boardCentre(const GameField& field);
// Plays a marker of "bonus_effects_scene_xml" at the board's centre, on
// the board's effect list; `listener` hears when it ends. The effect, or
// null without a board renderer.
SceneEffect* playBonusScene(const char* marker, SceneEffectListener* listener);
// The listener stops listening to an effect it started, when the effect
// still lives on the board's effect list.
void forgetSceneEffect(SceneEffect*& effect, SceneEffectListener* listener);
// A chip of the one-shot bonuses' and the end run's detonations: a bomb,
// wave, colour or super chip (a layer of type 10 to 24).
bool hasBonusLayer(const Chip* chip);
// Sets off the first bonus chip of the chip manager's list (neighbours
// told, not forced). A chip still going off (BombStage2) is waited for;
// one whose destroy changed nothing joins `passedOver` and is never taken
// again. False when no chip is left to set off.
bool detonateNextBonusChip(GameField& field, std::set<const Chip*>& passedOver);

// A new chip of that prototype put into the cell, falling, at its centre;
// null when the chip manager has no such prototype (the cell is then empty).
Chip* putChipInCell(GameField& field, FieldCell& cell, const std::string& name);

class Bonus {
public:
    virtual ~Bonus() = default;
    // Plays the bonus's scene, holds the board and spends one of the stock;
    // answers the kind.
    virtual int activate();
    virtual int getType() = 0;
    virtual bool canActivate() { return true; }

    BonusGoldHelper* panel = nullptr;  // not owned

protected:
    // The shared start; `holdBoard` also stops matching and falling.
    int start(const char* marker, SceneEffectListener* listener, bool holdBoard);
    SceneEffect* effect = nullptr;  // the board's, while it plays
};

class CometBonus : public Bonus, public SceneEffectListener {
public:
    CometBonus(int goalKind1, int goalKind2);
    ~CometBonus() override;
    int activate() override { return start("meteor", this, true); }
    int getType() override { return BONUS_COMET; }
    void onSceneEffectFinished(SceneEffect* finished) override;

    int goalKinds[2];
    int sound = 0;
};

class LightBonus : public Bonus, public SceneEffectListener {
public:
    LightBonus();
    ~LightBonus() override;
    int activate() override { return start("light", this, true); }
    int getType() override { return BONUS_LIGHT; }
    void onSceneEffectFinished(SceneEffect* finished) override;

    int sound = 0;
};

class ArrowBonus : public Bonus, public SceneEffectListener {
public:
    static constexpr int TARGETS = 5;

    ArrowBonus(int goalKind1, int goalKind2);
    ~ArrowBonus() override;
    int activate() override { return start("artem", this, true); }
    int getType() override { return BONUS_ARROWS; }
    void onSceneEffectFinished(SceneEffect* finished) override;

    int goalKinds[2];
    std::unique_ptr<AE::ISceneNode> arrowScene;
};

class DetonateBonus : public Bonus, public SceneEffectListener {
public:
    DetonateBonus();
    ~DetonateBonus() override;
    int activate() override { return start("ares", this, false); }
    int getType() override { return BONUS_DETONATE; }
    bool canActivate() override;
    void onSceneEffectFinished(SceneEffect* finished) override;

    std::unique_ptr<AE::ISceneNode> detonateScene;
};

// Gives the board back after a bonus: the level's hold, matching and
// falling, and the panel.
class UnlockerTask : public Task {
public:
    UnlockerTask(BonusGoldHelper* panel, Bonus* bonus);
    bool run(float dt) override;

    BonusGoldHelper* panel;
    Bonus* bonus;
};

// The detonator's chips go off one at a time, each once the board has
// settled from the one before.
class DetonateTask : public Task {
public:
    static constexpr float START_DELAY = 1.0f;

    DetonateTask(BonusGoldHelper* panel, Bonus* bonus);
    bool run(float dt) override;

    BonusGoldHelper* panel;
    Bonus* bonus;
    std::set<const Chip*> passedOver;
};

// A scene that homes in on a chip and then rides on it until the chip goes.
class ChipSceneEffect : public GameFieldEffect {
public:
    static constexpr int LAYER = 1000;

    // Takes the scene, plays `marker` on it.
    ChipSceneEffect(std::unique_ptr<AE::ISceneNode> scene, Chip* target, const VQ::Vector2f& startPoint,
                    float seconds, const char* marker);
    void update(float dt) override;
    void draw() override;

    float duration;
    float remaining;
    VQ::Vector2f start;
    std::unique_ptr<AE::ISceneNode> scene;
    Chip* chip;  // the chip manager's
    int state = 0;  // 0 flying, 1 attached
};
