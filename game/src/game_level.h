#pragma once
// The level state ("GameLevel"): the mode that plays the level, the busy
// counter with which the rest of the level holds the board's matching and
// the player's input back, the board's fade-in and the level effect scene
// that plays over the board. As a state it builds nothing yet: loading it
// only marks it loaded.

#include "game_state.h"

namespace AE {
class Marker;
}
class GameField;
class Mode;

class GameLevel : public IGameState {
public:
    ~GameLevel() override { unload(); }

    void load() override { setLoaded(true); }
    void unload() override { setLoaded(false); }
    void update(float) override {}
    void draw() override {}
    void onDeactivate() override { unload(); }
    std::string getName() const override { return "GameLevel"; }

    // Lowers the busy counter by one, never below 0.
    void releaseBusy()
    {
        if (busyCount > 0)
            --busyCount;
    }

    Mode* mode = nullptr;  // not owned
    GameField* field = nullptr;  // not owned
    // Above 0: the level is busy.
    int busyCount = 0;
    // The board's entry, 0 to 1; the renderer fades the board in by it.
    float introProgress = 1.0f;
    // The marker of the level effect scene while it plays; null otherwise.
    AE::Marker* effectMarker = nullptr;
};
