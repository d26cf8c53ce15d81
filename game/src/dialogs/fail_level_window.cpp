#include "dialogs/fail_level_window.h"

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "localized_format.h"


FailLevelWindow::FailLevelWindow() : DialogWindow("fail_level_window_ui", "FailLevelWindow", "gui")
{
    bindButton("btnClose", this, &FailLevelWindow::close);
    bindButton("btnReplay", this, &FailLevelWindow::replay);
    leftPanel = listenToMarker("leftPanel");
    bottomPanel = listenToMarker("bottomPanel");
    friendPanels.attach(this);
    // The score is a figure, never a key.
    if (auto* text = dynamic_cast<AE::TextSceneNode*>(sceneNode("#score")))
        text->localized = false;
}

FailLevelWindow::~FailLevelWindow()
{
    if (leftPanel)
        leftPanel->removeListener(this);
    if (bottomPanel)
        bottomPanel->removeListener(this);
}

void FailLevelWindow::open(LevelInfo* info, int score)
{
    level = info;
    if (scene)
        scene->playMarker("stars0");
    setSceneText(sceneNode("#score"), formatLocalized("FAIL_SCORE", score), false);
    if (info)
        setSceneText(sceneNode("#levelNum"), formatLocalized("LEVEL_NUM", levelTitleText(*info)), false);
    friendPanels.setSocialButtons(socialSessionOpen());
    friendPanels.fillFriendRows(level, mode);
    show(true);
}

void FailLevelWindow::replay()
{
    if (state != SHOWN)
        return;
    result = REPLAY;
    hide();
}

void FailLevelWindow::close()
{
    if (state != SHOWN)
        return;
    result = CLOSED;
    hide();
}
