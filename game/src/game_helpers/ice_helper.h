#pragma once
// The level's ice: every source freezes the plain chips around it one stage
// further at regular times (after each move, or every 3 seconds on a timed
// level); a fully frozen chip carries the cold on up to the radius, and a
// plain chip destroyed next to a frozen one cracks its ice.

#include <memory>

#include "game_helpers/game_helper.h"
#include "game_helpers/limit_helper.h"

namespace VQ {
class LuaContext;
}
class Behavior;
class Chip;

class IceHelper : public GameHelper, public LimitHelperListener {
public:
    static constexpr int DEFAULT_RADIUS = 5;
    // Seconds between two spreads on a timed level.
    static constexpr int SPREAD_PERIOD = 3;

    // Makes the three frost layers; fatal when they are not registered.
    IceHelper();
    ~IceHelper() override;

    // "LevelLimitType", "LevelLimit" and "radius" of the table "GameField".
    void readLevelSettings(VQ::LuaContext& script);
    void update(float dt) override;
    int getType() override { return 5; }
    void onLimitChanged(int previous, int current) override;
    // True when the destroyed chip cracked the neighbour's ice.
    bool onNeighbourDestroyed(Chip* neighbour, Chip* destroyed);
    void spread();

    bool timed = false;
    // On a timed level, the second at which the next spread comes.
    int spreadCounter = 0;
    int radius = DEFAULT_RADIUS;
    bool spreadPending = false;
    // IceChip1, IceChip2, IceChip3; every frozen chip gets a copy.
    std::unique_ptr<Behavior> frost[3];
};
