#pragma once
// The map's menu ("map_menu_ui"): volume sliders, help and the way back to
// the main menu. Kept by the map state, which reads `result` when it hides:
// 1 stay on the map, 0 go to the main menu.

#include "dialogs/dialog_window.h"
#include "dialogs/volume_sliders.h"

class HelpWindow;

class MapMenuWindow : public DialogWindow, public ScrollBarListener {
public:
    MapMenuWindow();
    // Gives up the help window.
    ~MapMenuWindow() override;

    // The volumes of this moment kept and shown; opens queued.
    void open();
    void update(float dt) override;
    void onScroll(ScrollBar* bar, float value) override;

    // The buttons.
    void accept();
    void close();
    void goToMainMenu();
    void showHelp();

    VolumeSliders sliders;
    HelpWindow* help;  // owned until marked
};
