#pragma once
// The offer when a level's moves or time have run out before its goals
// were met ("nomoves_level_window_ui"): the goals with their progress, the
// player's gold and silver, and 5 more moves for 250 silver or 15 more
// seconds for 4 silver. "btnContinue" buys (`result` 1, the amount in
// `amountBought`), "btnEndLevel" gives up (`result` 0).

#include "dialogs/dialog_window.h"

class PlayerProfile;

class NomovesLevelWindow : public DialogWindow {
public:
    static constexpr int MOVES_PRICE = 250;
    static constexpr int TIME_PRICE = 4;
    static constexpr int MOVES_BOUGHT = 5;
    static constexpr int SECONDS_BOUGHT = 15;

    NomovesLevelWindow();

    // Up to two goal panels for the goal kinds that are not 0; without any
    // the score target shows instead.
    void setGoals(int kind1, int target1, int kind2, int target2, int scoreTarget);
    void setLevelTitle(const std::string& title);
    // 0 moves, any other value time.
    void setLimitKind(int kind);
    // Opens queued with the goals' progress.
    void open(int progress1, int progress2);
    void update(float dt) override;

    // The buttons.
    void buy();
    void endLevel();

    int price() const { return limitKind == 0 ? MOVES_PRICE : TIME_PRICE; }

    AE::ISceneNode* target1 = nullptr;  // the scene's
    AE::ISceneNode* target2 = nullptr;
    AE::ISceneNode* scoreTargetText = nullptr;
    AE::ISceneNode* goldText = nullptr;
    AE::ISceneNode* silverText = nullptr;
    int panelsInUse = 0;
    int targetCount1 = 0;
    int targetCount2 = 0;
    int limitKind = 0;
    int amountBought = 0;
    PlayerProfile* profile;  // not owned; the game's player by default
};
