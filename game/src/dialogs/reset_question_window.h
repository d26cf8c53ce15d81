#pragma once
// The question before the progress is reset ("reset_question_window_ui"):
// its accept node "btnAccept" must be held for three seconds, counted down
// on "#timer"; releasing earlier cancels. `result` 0 means reset.

#include <cstdint>

#include "dialogs/dialog_window.h"

class ResetQuestionWindow : public DialogWindow {
public:
    static constexpr int64_t HOLD_SECONDS = 3;

    ResetQuestionWindow();

    // `result` 1 and not holding, then the window's show; the timer hidden.
    void show(bool queued) override;
    // The hold, each frame while on screen.
    void update(float dt) override;
    void close() { hide(); }

    AE::ISceneNode* acceptNode;  // the scene's
    AE::ISceneNode* timer;       // the scene's
    bool holding = false;
    int64_t holdStart = 0;

private:
    void showCount(int64_t seconds);
};
