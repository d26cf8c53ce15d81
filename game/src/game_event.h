#pragma once
// What game code tells the tutorial has just happened. The poster creates
// an event on the heap and hands it to TutorialRegistry::dispatchEvent,
// which owns it from then on; a lesson reads the payload of the type it
// expects after checking `type`.

#include <cstdint>
#include <string>

#include "chip.h"

class PlayLevelWindow;

// The level state's result-effect scenes, by index.
enum GameLevelEffect : int {
    EFFECT_WIN = 0,
    EFFECT_FAIL = 1,
    EFFECT_NO_MORE_MOVES = 2,
    EFFECT_NO_POSSIBLE_MOVES = 3,
    EFFECT_TIME_UP = 4,
};
constexpr int GAME_LEVEL_EFFECT_COUNT = 5;
// The scene of each effect, in the order of GameLevelEffect.
extern const char* const GAME_LEVEL_EFFECT_SCENES[GAME_LEVEL_EFFECT_COUNT];

class GameEvent {
public:
    enum Type : int32_t {
        BEGIN_LEVEL = 0,
        DESTROY_CHIP = 1,
        ORIENTATION_CHANGED = 2,
        PLAY_LEVEL_WINDOW = 3,
        BONUS = 4,
    };

    explicit GameEvent(int32_t type) : type(type) {}
    virtual ~GameEvent() = default;
    GameEvent(const GameEvent&) = delete;
    GameEvent& operator=(const GameEvent&) = delete;

    int32_t type;
    // Set by a lesson: the sequences after its own do not see the event.
    bool consumed = false;
    // Handed back to the poster after the dispatch.
    bool allowed = true;
};

// A level has begun: the level script name (file + suffix + "_lua").
class BeginLevelGameEvent : public GameEvent {
public:
    explicit BeginLevelGameEvent(std::string levelScript) : GameEvent(BEGIN_LEVEL), levelScript(std::move(levelScript)) {}

    std::string levelScript;
};

// A chip left the board, after the goals counted it. The snapshot is a copy
// of its own, type list included, so the event outlives the board's.
class DestroyChipGameEvent : public GameEvent {
public:
    explicit DestroyChipGameEvent(const ChipSnapshot& snapshot) : GameEvent(DESTROY_CHIP), snapshot(snapshot) {}

    ChipSnapshot snapshot;
};

// The level start window has finished showing.
class PlayLevelWindowGameEvent : public GameEvent {
public:
    explicit PlayLevelWindowGameEvent(PlayLevelWindow* window) : GameEvent(PLAY_LEVEL_WINDOW), window(window) {}

    PlayLevelWindow* window;  // not owned
};

// A bonus button of the level was used.
class BonusEvent : public GameEvent {
public:
    enum Action : int {
        PRESSED_WITHOUT_BONUS = 0,
        BOUGHT = 1,
        PRESSED_WITH_BONUS = 2,
    };

    BonusEvent(int bonusKind, int action) : GameEvent(BONUS), bonusKind(bonusKind), action(action) {}

    int bonusKind;
    int action;
};
