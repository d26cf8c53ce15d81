#pragma once
// Actions of a chip's behaviour layer, written as texts in the chip
// prototype script: "OnDestroyActions" run when the layer is destroyed (false
// refuses the destruction), "OnIdleActions" run every frame (false destroys
// the chip at once).

#include <memory>
#include <string>

class GameField;
class Chip;
struct LockState;

class Action {
public:
    virtual ~Action() = default;
    virtual bool run(GameField* field, Chip* chip, float dt) = 0;
    // A new action with the same parameters.
    virtual Action* clone() const = 0;
};

// Wave lane bits.
enum WaveLane { WAVE_UP = 1, WAVE_RIGHT = 2, WAVE_DOWN = 4, WAVE_LEFT = 8, WAVE_DIAGONALS = 16 };

// Blasts the eight neighbours; the super form also the ring at distance 2.
class BoomAction : public Action {
public:
    explicit BoomAction(int superValue) : super(superValue) {}
    bool run(GameField* field, Chip* chip, float dt) override;
    Action* clone() const override { return new BoomAction(super); }
    int super;
};

// Destroys along the lanes of `mask`; the super form three lanes wide.
class WaveAction : public Action {
public:
    WaveAction(int maskValue, int superValue) : mask(maskValue), super(superValue) {}
    bool run(GameField* field, Chip* chip, float dt) override;
    Action* clone() const override { return new WaveAction(mask, super); }
    int mask;
    int super;
};

// An idle countdown: the chip is destroyed when it runs out.
class DestroyTimerAction : public Action {
public:
    explicit DestroyTimerAction(float secondsLeft) : seconds(secondsLeft) {}
    bool run(GameField* field, Chip* chip, float dt) override;
    Action* clone() const override { return new DestroyTimerAction(seconds); }
    float seconds;
};

// Puts a new layer of `type`, in the chip's colour, on top of the chip.
class AddBehavior : public Action {
public:
    explicit AddBehavior(int typeValue) : type(typeValue) {}
    bool run(GameField* field, Chip* chip, float dt) override;
    Action* clone() const override { return new AddBehavior(type); }
    int type;
};

// Refuses every unforced destruction of its layer.
class CanNotBeDestoyed : public Action {
public:
    bool run(GameField*, Chip*, float) override { return false; }
    Action* clone() const override { return new CanNotBeDestoyed(); }
};

// Takes a chip that has reached the bottom of the board off it, holding the
// board (no clicks, no matching) from the moment it gets there until it has
// gone.
class DestroyIfFloorIsReached : public Action {
public:
    DestroyIfFloorIsReached() = default;
    // Lets go of the board when the layer goes before the chip has left.
    ~DestroyIfFloorIsReached() override;
    bool run(GameField* field, Chip* chip, float dt) override;
    // A copy holds no lock of its own until it needs one.
    Action* clone() const override { return new DestroyIfFloorIsReached(); }
    // Shared with the lock task in the board's task manager.
    std::shared_ptr<LockState> lock;
};

// Destroys every chip of one colour (the colour-destroyer chip).
class ColorDestroyer : public Action {
public:
    bool run(GameField* field, Chip* chip, float dt) override;
    Action* clone() const override { return new ColorDestroyer(); }
};

// Plays a marker of the level's background scene.
class ShakeBackField : public Action {
public:
    explicit ShakeBackField(std::string marker) : markerName(std::move(marker)) {}
    bool run(GameField* field, Chip* chip, float dt) override;
    Action* clone() const override { return new ShakeBackField(markerName); }
    std::string markerName;
};

// The action an action text names, or null for a text it does not know.
Action* createActionByName(const std::string& text);
