#pragma once
// The owner of the game's top-level states: knows the current one, switches
// between them (at once, or at the start of the next frame when asked in the
// middle of a state's update), keeps the orientation flag every layout reads
// and the size the game's scenes are laid out in.

#include <map>
#include <string>

#include "singleton.h"
#include "vector2.h"

class GameLevel;
class IGameState;
class MainMenu;
class MovieState;

class GameStateManager : public VQ::Singleton<GameStateManager> {
public:
    // The game's manager: registers "setState", creates and registers the
    // logo, cut-scene, main menu and level states, and loads the logo.
    GameStateManager();
    // A manager holding only `level` (not owned, not registered), for the
    // tools and tests that play a board without the game's states.
    explicit GameStateManager(GameLevel* level);
    // Deletes every registered state; removes "setState".
    ~GameStateManager() override;

    // Switches to the registered state of that name; "MainMenu" also ends
    // the current mode.
    void setState(std::string name);
    void switchTo(IGameState* state);
    void registerState(IGameState* state);
    void unregisterState(IGameState* state);

    // The current platform's workspace; a square one takes the game's
    // workspace in the present orientation. (1726, 970) before the
    // configuration is read.
    VQ::Vector2f getSceneSize() const;
    bool isPortrait() const { return portrait; }
    GameLevel* getGameLevel() const { return level; }
    MainMenu* getMainMenu() const { return menu; }
    MovieState* getMovieState() const { return movie; }
    IGameState* getCurrent() const { return current; }
    IGameState* getPending() const { return pending; }
    // The registered state of that name, or null.
    IGameState* findState(const std::string& name) const;

    std::map<std::string, IGameState*> states;
    IGameState* current = nullptr;
    GameLevel* level = nullptr;
    MainMenu* menu = nullptr;
    MovieState* movie = nullptr;
    bool portrait = false;
    // Set only while the application runs the current state's update.
    bool updating = false;
    IGameState* pending = nullptr;

private:
    bool mOwnsStates = false;
};

// The current platform's workspace is at least as high as wide.
bool platformIsPortrait();

// The cell size of the board of the level being played; 0 without one.
int currentBoardCellSize();
// The fade of the level being played (its entry progress); 1 without one.
float currentLevelFade();
