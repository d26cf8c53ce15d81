#pragma once
// The level state ("GameLevel"): the mode that plays the level, the busy
// counter with which the rest of the level holds the board's matching and
// the player's input back, the board's fade-in, the level effect scene that
// plays over the board and the level's rule components. As a state it
// builds nothing yet: loading it only marks it loaded.

#include <vector>

#include "game_state.h"

namespace AE {
class Marker;
}
class GameField;
class GameHelper;
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

    // Adds a component once; the list stays in ascending priority, ties in
    // the order they were added.
    void addHelper(GameHelper* helper);
    // Takes the component's first entry out; nothing when it has none.
    void removeHelper(GameHelper* helper);
    // After a component's priority changed.
    void sortHelpers();

    Mode* mode = nullptr;  // not owned
    GameField* field = nullptr;  // not owned
    // Above 0: the level is busy.
    int busyCount = 0;
    // The board's entry, 0 to 1; the renderer fades the board in by it.
    float introProgress = 1.0f;
    // The marker of the level effect scene while it plays; null otherwise.
    AE::Marker* effectMarker = nullptr;
    // Not owned: the mode owns the components.
    std::vector<GameHelper*> helpers;

    // Stand-ins until the level state plays its ambient sound and fades the
    // level in and out: the volume asked for, and the fade's flag.
    void setAmbientVolume(float volume) { ambientVolume = volume; }
    float ambientVolume = 1.0f;
    bool fading = false;
};
