#pragma once
// The owner of the game's top-level states. Here it answers what the board
// presentation and the layouts ask of it: the size scenes are laid out in,
// the orientation, and the level being played.

#include "singleton.h"
#include "vector2.h"

class GameLevel;

class GameStateManager : public VQ::Singleton<GameStateManager> {
public:
    // The workspace of the current platform; (1726, 970) before the
    // configuration is read.
    VQ::Vector2f getSceneSize() const;
    bool isPortrait() const { return portrait; }
    GameLevel* getGameLevel() const { return gameLevel; }

    bool portrait = false;
    GameLevel* gameLevel = nullptr;  // not owned
};

// The cell size of the board of the level being played; 0 without one.
int currentBoardCellSize();
// The fade of the level being played (its entry progress); 1 without one.
float currentLevelFade();
