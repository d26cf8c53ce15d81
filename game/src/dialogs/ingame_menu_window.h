#pragma once
// The in-level menu ("ingame_menu_ui", table "InGameMenu"): volume sliders,
// help, and leaving the level behind a question. Kept by the game mode,
// which reads `result` when it hides: 1 go on playing, 0 leave the level.

#include "dialogs/dialog_window.h"
#include "dialogs/volume_sliders.h"

class ConfirmWindow;
class HelpWindow;

class IngameMenuWindow : public DialogWindow, public ScrollBarListener, public DialogWindowListener {
public:
    IngameMenuWindow();
    // Gives up the question and the help window.
    ~IngameMenuWindow() override;

    // `result` 1, the volumes of this moment kept and shown; opens queued.
    void open();
    void update(float dt) override;
    void onScroll(ScrollBar* bar, float value) override;
    // The question accepted: the menu closes with `result` 0.
    void onHidden(DialogWindow* window) override;

    // The buttons.
    void accept();
    void close();
    void goToMap();
    void showHelp();

    VolumeSliders sliders;
    ConfirmWindow* exitQuestion;  // owned until marked
    HelpWindow* help;             // owned until marked
};
