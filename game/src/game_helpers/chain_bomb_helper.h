#pragma once
// The level's chain bombs: each counts the steps down on itself ("#limit")
// and, when its count runs out, throws "chains" chains at plain chips and
// counts from "limit" again. A step is a kept move, or a whole second on a
// timed level.

#include <map>
#include <memory>
#include <vector>

#include "field_effects.h"
#include "game_helpers/game_helper.h"

namespace AE {
class ISceneNode;
}
class Chip;

class ChainBombHelper : public GameHelper, public SceneEffectListener, public SceneFlyingEffectListener {
public:
    static constexpr int FLIGHT_LAYER = 150;

    ChainBombHelper();
    ~ChainBombHelper() override;

    void collectChainBombs();
    void reset() override;
    void update(float dt) override;
    void onSceneEffectFinished(SceneEffect* effect) override;
    void onSceneFlyingEffectFinished(SceneFlyingEffect* effect) override;
    // The chip has left the board: no bomb counts on it, no chain lands on it.
    void onChipDestroyed(Chip* chip);
    // Shows the count on the bomb's "#limit".
    static void showCount(Chip* bomb, int count);

    std::vector<Chip*> chainBombs;
    std::map<SceneFlyingEffect*, Chip*> flights;
    std::map<SceneEffect*, Chip*> effects;
    bool stepPending = false;
    std::unique_ptr<AE::ISceneNode> destroyScene;

private:
    void step();
    void throwChains(Chip* bomb, int count, std::vector<Chip*>& candidates);
    // Gravity and matching run while nothing flies.
    void holdBoardWhileFlying();
    void detachFlights();
};
