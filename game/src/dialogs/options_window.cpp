#include "dialogs/options_window.h"

#include "animationeditor/scene_node.h"
#include "dialogs/facebook_message_wnd.h"
#include "dialogs/reset_question_window.h"
#include "game_properties.h"
#include "player_profile.h"
#include "tutorial/tutorial_registry.h"
#include "ui/ui_button.h"
#include "ui/ui_widget.h"

namespace {

VQ::UICheckBox* checkBox(VQ::UIWidget* root, const char* name)
{
    return root ? dynamic_cast<VQ::UICheckBox*>(root->findChild(name)) : nullptr;
}

}  // namespace

void resetPlayerProgress()
{
    GameProperties* properties = GameProperties::instance();
    properties->resetProgress();
    TutorialRegistry::instance()->reset();
    properties->save();
}

OptionsWindow::OptionsWindow() :
    DialogWindow("options_window_ui", "OptionsWindow", "gui"),
    sliders(*this, this),
    messageWindow(new FacebookMessageWnd()),
    facebookText(sceneNode("#facebook_btn_text")),
    resetQuestion(new ResetQuestionWindow())
{
    resetQuestion->addListener(this);
    setSceneText(facebookText, "FACEBOOK_BTN_TEXT_CONNECT", true);
    if (AE::ISceneNode* button = sceneNode("facebook_btn"))
        button->setEnabled(false);
    bindButton("btnReset", this, &OptionsWindow::showResetQuestion);
    bindButton("btnAccept", this, &OptionsWindow::accept);
    bindButton("btnClose", this, &OptionsWindow::close);
}

OptionsWindow::~OptionsWindow()
{
    messageWindow->removalMark = true;
    resetQuestion->removalMark = true;
}

void OptionsWindow::open()
{
    const PlayerProfile* profile = GameProperties::instance()->profile();
    if (VQ::UICheckBox* box = checkBox(root, "checkFullScreen"))
        box->isChecked = profile->fullscreen != 0;
    if (VQ::UICheckBox* box = checkBox(root, "checkGameCursor"))
        box->isChecked = profile->gameCursor != 0;
    if (AE::Marker* marker = scene->getMarker("main_menu"))
        marker->start(true);
    sliders.takeFromProfile();
    show(true);
}

void OptionsWindow::update(float dt)
{
    (void)dt;
    sliders.update(isTopmost());
    PlayerProfile* profile = GameProperties::instance()->profile();
    if (const VQ::UICheckBox* box = checkBox(root, "checkFullScreen"); box && box->isChecked != (profile->fullscreen != 0))
        profile->fullscreen = box->isChecked ? 1 : 0;
    // The application draws its own cursor by this flag from the next frame.
    if (const VQ::UICheckBox* box = checkBox(root, "checkGameCursor"); box && box->isChecked != (profile->gameCursor != 0))
        profile->gameCursor = box->isChecked ? 1 : 0;
}

void OptionsWindow::onScroll(ScrollBar* bar, float value)
{
    sliders.onScroll(bar, value);
}

void OptionsWindow::onHidden(DialogWindow* window)
{
    if (window == resetQuestion && resetQuestion->result == 0)
        resetPlayerProgress();
}

void OptionsWindow::showResetQuestion()
{
    if (state == SHOWN)
        resetQuestion->show(false);
}

void OptionsWindow::accept()
{
    if (state != SHOWN)
        return;
    saveProfileNow();
    hide();
}

void OptionsWindow::close()
{
    if (state != SHOWN)
        return;
    sliders.restore();
    hide();
}
