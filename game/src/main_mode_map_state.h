#pragma once
// The campaign's level map, the game state "MainModeMap": where the player
// picks the level to play. For now it shows nothing and is loaded at once;
// the map's scenes, camera and buttons come with the map itself.

#include <string>

#include "game_state.h"

class MainMode;

class MainModeMapState : public IGameState {
public:
    static constexpr const char* NAME = "MainModeMap";

    explicit MainModeMapState(MainMode* mode) : mode(mode) {}

    void load() override { setLoaded(true); }
    void unload() override { setLoaded(false); }
    void update(float) override {}
    void draw() override {}
    std::string getName() const override { return NAME; }

    MainMode* mode;  // not owned
};
