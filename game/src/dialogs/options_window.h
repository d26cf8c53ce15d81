#pragma once
// The options window ("options_window_ui"), opened from the main menu:
// volumes, full screen, the game's cursor, the social login and the
// progress reset behind its question. Created once at start-up.

#include <memory>

#include "dialogs/dialog_window.h"
#include "singleton.h"

class FacebookMessageWnd;
class ResetQuestionWindow;

class OptionsWindow : public DialogWindow, public VQ::Singleton<OptionsWindow> {
public:
    // Builds the window, its social message window and its reset question,
    // all hidden.
    OptionsWindow();
    ~OptionsWindow() override;

    std::unique_ptr<FacebookMessageWnd> messageWindow;
    std::unique_ptr<ResetQuestionWindow> resetQuestion;
};
