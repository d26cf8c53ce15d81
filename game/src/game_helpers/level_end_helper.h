#pragma once
// The show after a won level: the win scene plays, then every remaining
// move (or every 3 remaining seconds) turns a random plain chip into a bomb
// or a wave chip, and then every bonus chip on the board goes off, one at a
// time. The mode opens the win dialog once `done` is set.

#include <memory>
#include <set>
#include <vector>

#include "field_effects.h"
#include "game_helpers/game_helper.h"

namespace AE {
class ISceneNode;
}
class Chip;
class LimitHelper;
class PlayerProfile;
struct FieldCell;

class LevelEndHelper : public GameHelper, public SceneEffectListener {
public:
    enum State { WIN_SCENE = 0, WAITING = 1, SETTLING = 2, CONVERTING = 3, DETONATING = 4, FINISHED = 7 };
    static constexpr float STEP = 0.5f;
    static constexpr float SECONDS_PER_CONVERSION = 3.0f;

    LevelEndHelper();
    ~LevelEndHelper() override;

    // Once per level; a null limit counts as used up.
    void start(LimitHelper* limit);
    void reset() override;
    void update(float dt) override;
    void onSceneEffectFinished(SceneEffect* effect) override;

    // One chip turned into a bonus chip; false once nothing more is to be
    // converted.
    bool convert();
    // One bonus chip set off; false when none is left.
    bool detonate();

    bool started = false;
    bool done = false;
    int state = WIN_SCENE;
    int conversions = 0;
    LimitHelper* limit = nullptr;  // not owned
    float timer = 0.0f;
    std::vector<FieldCell*> cells;
    int sound = 0;
    std::unique_ptr<AE::ISceneNode> scene;
    PlayerProfile* profile;  // not owned; the game's player by default

private:
    bool limitReached() const;
    SceneEffect* effect = nullptr;  // the board's, while it plays
    std::set<const Chip*> passedOver;
};
