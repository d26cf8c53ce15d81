#pragma once
// The kinds of tutorial lesson the lesson scripts name: "DestroyChipLesson"
// (point at chips and let the player touch only them until one goes),
// "InfoLesson" (a hint at a cell, an interface slot or a screen point),
// "BonusLesson" (introduce a one-shot bonus: coins once, a free purchase,
// its first use), "PassiveBonusLesson" (a new booster in the level start
// window) and "MultiLesson" (lessons played in order as one).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tutorial/tutorial_lesson.h"
#include "vector2.h"

namespace VQ {
class LuaScript2;
}
class PlayerProfile;
class PlayLevelWindow;
class TutorialWindow;

// What the lessons read and change of the running game. The game's own
// unless a tool or test installs another.
class TutorialGame {
public:
    virtual ~TutorialGame() = default;
    static TutorialGame& current();
    // Null puts the game's own back.
    static void install(TutorialGame* game);

    virtual bool levelLoaded() const;
    virtual int levelBusyCount() const;
    // The level being played was completed before.
    virtual bool levelCompleted() const;
    virtual std::string levelScript() const;
    virtual void setLevelUiEnabled(bool on);
    virtual VQ::Vector2f boardOrigin() const;
    virtual float cellSize() const;
    // The field scene's layout anchor of that name in this orientation.
    virtual VQ::Vector2f anchor(const std::string& name) const;
    virtual VQ::Vector2f bonusButtonCenter(int kind) const;
    virtual void showFreeBonusWindow(int kind);
    virtual void activateBonus(int kind);
    // The booster slot of the start window holding `kind`: its "regular"
    // picture's position and scaled size. False when no slot shows it.
    virtual bool boosterSlot(PlayLevelWindow* window, int kind, VQ::Vector2f& position, VQ::Vector2f& size) const;
    virtual PlayerProfile* profile() const;
    // The profile's silver, which the game saves at once.
    virtual void setSilver(int value);
    virtual void saveProfile();
    virtual bool isPortrait() const;

    // The centre of board cell {column, row}.
    VQ::Vector2f cellPoint(int column, int row) const;
};

// A lesson built from the "data" table open in `script`; null for a class
// name the tutorial does not know.
std::unique_ptr<TutorialLesson> createTutorialLesson(const std::string& className, VQ::LuaScript2& script,
                                                     TutorialLessonListener* owner);

// A mask's image and placement as the scripts give them.
struct LessonMask {
    std::string file;
    std::string table;
    VQ::Vector2f padding;
    VQ::Vector2f offsets[2];  // landscape, portrait
};

// Common to the lessons that show a hint window.
class WindowTutorialLesson : public TutorialLesson, public TutorialWindowListener {
public:
    explicit WindowTutorialLesson(TutorialLessonListener* owner);
    ~WindowTutorialLesson() override;

    void deleteWindow();

    TutorialWindow* window = nullptr;  // owned
    std::string hor = "90";
    std::string ver = "90";
    LessonMask mask;
};

class DestroyChipTutorialLesson : public WindowTutorialLesson {
public:
    struct Cell {
        int32_t column;
        int32_t row;
    };

    DestroyChipTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner);

    void onEvent(GameEvent* event) override;
    void update(float dt) override;
    bool isCellAllowed(const int cell[2]) const override;
    void onWindowClosed() override;

    std::string text;
    std::string level;
    std::vector<Cell> chips;
    bool shown = false;

private:
    // The mask's corner: the board cell of the smallest column and row.
    void placeMask();
};

class InfoTutorialLesson : public WindowTutorialLesson {
public:
    InfoTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner);

    void onEvent(GameEvent* event) override;
    bool isCellAllowed(const int cell[2]) const override;
    void onBecomeCurrent() override;
    void onWindowClosed() override;

    VQ::Vector2f targetPoint() const;
    void show();

    std::string level;
    std::string text;
    std::string slot;
    bool isCell = false;
    VQ::Vector2f targets[2];  // landscape, portrait
};

class BonusTutorialLesson : public WindowTutorialLesson {
public:
    // The bonus names and the coins handed out once, by kind.
    static constexpr const char* NAMES[4] = {"gefest", "zeus", "artemoda", "ares"};
    static constexpr int32_t COINS[4] = {110, 200, 50, 90};

    BonusTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner);

    void setState(int s) override;
    void onEvent(GameEvent* event) override;
    bool isCellAllowed(const int cell[2]) const override;
    void onWindowClosed() override;

    // "MoneyHasBeenIssued:<name>".
    std::string coinsFlag() const;

    int32_t bonusKind = -1;  // -1: a name the tutorial does not know
    int32_t step = 0;        // 0 first window, 1 free offer, 2 bought, 3 finished
    std::string hor2 = "90";
    std::string ver2 = "90";
    std::string text1;
    std::string text2;
    std::string level;

private:
    void openWindow(const std::string& landscape, const std::string& portrait, const std::string& text);
    void placeAgain();
};

class PassiveBonusTutorialLesson : public WindowTutorialLesson {
public:
    PassiveBonusTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner);

    void onEvent(GameEvent* event) override;
    void onWindowClosed() override;

    int32_t booster = -1;  // -1: a name the tutorial does not know
    std::string text;
    VQ::Vector2f point;
};

class MultiTutorialLesson : public TutorialLesson, public TutorialLessonListener {
public:
    MultiTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner);

    void onEvent(GameEvent* event) override;
    void update(float dt) override;
    bool isCellAllowed(const int cell[2]) const override;
    void reset() override;
    void onBecomeCurrent() override;
    void onLessonFinished() override;

    std::vector<std::unique_ptr<TutorialLesson>> lessons;
    int32_t index = 0;  // -1 when finished
};
