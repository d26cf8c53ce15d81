#pragma once
// Boosters: chosen before a level, they act once when it begins. The colour
// booster puts three colour destroyers on the board, the moves booster adds
// 5 moves (15 seconds on a timed level), the bomb booster three bombs. One
// runs at a time; the others wait until it is over and the board is still.

#include <memory>
#include <vector>

#include "field_effects.h"
#include "game_helpers/game_helper.h"

class GoalsHelper;
class LimitHelper;
class PassiveBonusHelper;
class PlayerProfile;

enum PassiveBonusKind : int { BOOSTER_COLOR = 0, BOOSTER_MOVES = 1, BOOSTER_BOMB = 2 };
constexpr int BOOSTER_KIND_COUNT = 3;

class PassiveBonus : public SceneEffectListener {
public:
    static constexpr float SIZE = 90.0f;

    // Boosters are deleted through this base.
    ~PassiveBonus() override;
    virtual void update(float dt);
    virtual void draw() {}
    virtual VQ::Vector2f getSize() const = 0;
    virtual int getType() const = 0;
    virtual void start();

    void onSceneEffectFinished(SceneEffect* effect) override;

    PassiveBonusHelper* holder = nullptr;  // not owned
    bool blocked = false;
    bool used = false;
    bool started = false;
    float position[2] = {0.0f, 0.0f};
    float size[2] = {SIZE, SIZE};
    bool pendingStart = false;

protected:
    // Holds the level and the other boosters and plays the booster's scene.
    void run();
    virtual const char* marker() const = 0;
    // What the booster does once its scene has played; true when it held
    // the board's matching and falling.
    virtual bool act() = 0;

private:
    SceneEffect* effect = nullptr;  // the board's, while it plays
};

class ColorPassiveBonus : public PassiveBonus {
public:
    VQ::Vector2f getSize() const override { return {size[0], size[1]}; }
    int getType() const override { return BOOSTER_COLOR; }

protected:
    const char* marker() const override { return "color"; }
    bool act() override;
};

class MovesPassiveBonus : public PassiveBonus {
public:
    MovesPassiveBonus(LimitHelper* limit, GoalsHelper* goals);
    VQ::Vector2f getSize() const override { return {size[0], size[1]}; }
    int getType() const override { return BOOSTER_MOVES; }

    LimitHelper* limit;  // not owned
    GoalsHelper* goals;  // not owned
    bool timed;

protected:
    const char* marker() const override { return timed ? "times" : "moves"; }
    bool act() override;
};

class BoomPassiveBonus : public PassiveBonus {
public:
    VQ::Vector2f getSize() const override { return {0.0f, 0.0f}; }
    int getType() const override { return BOOSTER_BOMB; }

protected:
    const char* marker() const override { return "plus"; }
    bool act() override;
};

// Puts up to three chips named by `name(colour)` in the place of random
// plain single-layer chips, as the colour and bomb boosters do.
void placeBoosterChips(bool bombs);

class PassiveBonusHelper : public GameHelper {
public:
    static constexpr int CAPACITY = 3;

    PassiveBonusHelper();
    ~PassiveBonusHelper() override;

    // Takes the booster; nothing beyond three.
    void add(PassiveBonus* booster);
    void layoutBonuses();
    void startAll();
    void update(float dt) override;
    void drawOverField() override;
    void reset() override;
    int getType() override { return 6; }

    // Every booster but `running` is blocked (or unblocked).
    void blockOthers(const PassiveBonus* running, bool block);

    std::vector<std::unique_ptr<PassiveBonus>> boosters;
    bool enabled = true;
    float position[2] = {0.0f, 0.0f};
    PlayerProfile* profile;  // not owned; the game's player by default
};

// The boosters armed in the profile, in the order colour, moves (only with
// a limit), bomb, added to `boosters` and laid out: what the level's set-up
// does once the board holds the level.
void armBoosters(PassiveBonusHelper& boosters, LimitHelper* limit, GoalsHelper* goals);
