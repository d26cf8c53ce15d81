#pragma once
// The options window ("options_window_ui"), opened from the main menu:
// volumes, full screen, the game's cursor, the social login and the
// progress reset behind its question. Created once at start-up. The check
// boxes take effect at once; only the volumes go back on "btnClose".

#include "dialogs/dialog_window.h"
#include "dialogs/volume_sliders.h"
#include "singleton.h"

class FacebookMessageWnd;
class ResetQuestionWindow;

class OptionsWindow : public DialogWindow,
                      public VQ::Singleton<OptionsWindow>,
                      public DialogWindowListener,
                      public ScrollBarListener {
public:
    // Builds the window, its social message window and its reset question,
    // all hidden.
    OptionsWindow();
    // Gives up the message window and the question.
    ~OptionsWindow() override;

    // The check boxes and sliders from the profile; opens queued.
    void open();
    // The sliders, then the check boxes into the profile.
    void update(float dt) override;
    void onScroll(ScrollBar* bar, float value) override;
    // The reset question accepted: the progress is reset.
    void onHidden(DialogWindow* window) override;

    // The buttons.
    void showResetQuestion();
    void accept();
    void close();

    VolumeSliders sliders;
    FacebookMessageWnd* messageWindow;  // owned until marked
    AE::ISceneNode* facebookText;       // "#facebook_btn_text"; may be null
    ResetQuestionWindow* resetQuestion;  // owned until marked
};

// The progress of the current profile back to the start, the tutorial to
// its first lessons, and the profile saved.
void resetPlayerProgress();
