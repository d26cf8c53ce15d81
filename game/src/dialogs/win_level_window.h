#pragma once
// The won level's window ("win_level_window_ui"): the level's title, its
// stars lit one by one, and the score and the coins won counted up from 0
// over two seconds with a coin burst at every step. "btnNext" closes it
// with `result` 1, "btnClose" with 0.

#include "dialogs/dialog_window.h"

class MainMode;
struct LevelInfo;

#include "dialogs/friend_panels.h"

class WinLevelWindow : public DialogWindow {
public:
    static constexpr int32_t NEXT = 1;
    static constexpr int32_t CLOSED = 0;
    static constexpr float COUNT_TIME = 2.0f;
    // Smaller coin steps wait for the next frames, so bursts do not pile up.
    static constexpr int COIN_STEP = 10;

    WinLevelWindow();
    ~WinLevelWindow() override;

    // Opens queued for `level` with its score (-1: the best score's stars)
    // and the coins won.
    void open(LevelInfo* level, int score, int coins);
    void hide() override;
    void onMarkerFinished(AE::Marker* marker) override;
    void update(float dt) override;

    // The buttons.
    void next();
    void close();

    // The count of "#effectCount:<n>" among the scene's markers; 0 without.
    static int effectCountOf(const AE::ISceneNode& scene);
    // The leading star scores of `level` reached by `score`.
    static int starsReached(const LevelInfo& level, int score);

    AE::Marker* leftPanel = nullptr;    // the scene's
    AE::Marker* bottomPanel = nullptr;  // the scene's
    int stars = 0;
    MainMode* mode = nullptr;    // set by the owner
    LevelInfo* level = nullptr;  // the mode's
    int score = 0;
    float remaining = 0.0f;
    int effectIndex = 0;
    int effectCount = 0;
    int coins = 0;
    int coinsShown = 0;
    // 0 not started, 1 counting, 2 done.
    int phase = 0;
    FriendPanels friendPanels;

private:
    void darkenStars();

    std::vector<AE::Marker*> starMarkers;  // the scene's "stars0" to "stars3"
};
