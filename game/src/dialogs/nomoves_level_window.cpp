#include "dialogs/nomoves_level_window.h"

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "game_helpers/bonus.h"
#include "game_helpers/goals_helper.h"
#include "localized_format.h"
#include "log_system.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "sprite_manager.h"

namespace {

void showPanel(AE::ISceneNode* panel, int progress, int target)
{
    if (AE::ISceneNode* check = panel->findNode("check"))
        check->setEnabled(progress == target);
    if (AE::ISceneNode* uncheck = panel->findNode("uncheck"))
        uncheck->setEnabled(progress != target);
    setSceneText(panel->findNode("text"), VQ::formatString("%d/%d", progress, target), false);
}

}  // namespace

NomovesLevelWindow::NomovesLevelWindow() :
    DialogWindow("nomoves_level_window_ui", "NomovesLevelWindow", "gui"), profile(gameProfile())
{
    bindButton("btnContinue", this, &NomovesLevelWindow::buy);
    bindButton("btnEndLevel", this, &NomovesLevelWindow::endLevel);
    target1 = sceneNode("target1");
    target2 = sceneNode("target2");
    scoreTargetText = sceneNode("#score_target_text");
    goldText = sceneNode("#gold");
    silverText = sceneNode("#silver");
}

void NomovesLevelWindow::setGoals(int kind1, int target1Count, int kind2, int target2Count, int scoreTarget)
{
    panelsInUse = 0;
    targetCount1 = target1Count;
    targetCount2 = target2Count;
    AE::ISceneNode* panels[] = {target1, target2};
    for (int kind : {kind1, kind2}) {
        if (kind == 0)
            continue;
        if (AE::ISceneNode* panel = panels[panelsInUse]) {
            replaceWithGoalIcon(panel->findNode("icon"), kind);
            panel->setEnabled(true);
        }
        ++panelsInUse;
    }
    if (scene && panelsInUse > 0)
        scene->playMarker(panelsInUse == 2 ? "goals2" : "goals1");
    if (scoreTargetText) {
        scoreTargetText->setEnabled(panelsInUse == 0);
        if (panelsInUse == 0)
            setSceneText(scoreTargetText, formatLocalized("SCORE_TARGET", scoreTarget), false);
    }
}

void NomovesLevelWindow::setLevelTitle(const std::string& title)
{
    setSceneText(sceneNode("#levelNum"), substituteOne("%s", title), false);
}

void NomovesLevelWindow::setLimitKind(int kind)
{
    limitKind = kind;
    setSceneText(sceneNode("#title"), kind == 0 ? "NOMOVES_TITLE" : "NOTIME_TITLE", true);
    if (auto* icon = dynamic_cast<AE::SpriteSceneNode*>(sceneNode("#limit_icon"))) {
        if (VQ::Sprite* sprite = VQ::SpriteManager<VQ::Sprite>::instance()->tryCreateSpriteFromScript(
                "ui_sprites", kind == 0 ? "s_plus_5_icon_ui_p_psd" : "s_plus_5_time_icon_ui_p_psd", "default"))
            icon->setSprite(sprite);
    }
    setSceneText(sceneNode("#price"), VQ::formatString("%d", price()), false);
}

void NomovesLevelWindow::open(int progress1, int progress2)
{
    if (panelsInUse >= 1 && target1)
        showPanel(target1, progress1, targetCount1);
    if (panelsInUse == 2 && target2)
        showPanel(target2, progress2, targetCount2);
    show(true);
}

void NomovesLevelWindow::update(float)
{
    if (!profile)
        return;
    setSceneText(goldText, VQ::formatString("%d", profile->gold), false);
    setSceneText(silverText, VQ::formatString("%d", profile->silver), false);
}

void NomovesLevelWindow::buy()
{
    if (state != SHOWN || !profile || profile->silver < price())
        return;
    profile->silver = std::max(profile->silver - price(), 0);
    if (ProgressSaver::exists())
        ProgressSaver::instance()->saveNow();
    amountBought = limitKind == 0 ? MOVES_BOUGHT : SECONDS_BOUGHT;
    result = 1;
    hide();
}

void NomovesLevelWindow::endLevel()
{
    if (state != SHOWN)
        return;
    result = 0;
    hide();
}
