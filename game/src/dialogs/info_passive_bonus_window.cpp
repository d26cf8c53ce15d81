#include "dialogs/info_passive_bonus_window.h"

#include <algorithm>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "dialogs/buy_valuta_window.h"
#include "dialogs/play_level_window.h"
#include "game_helpers/passive_bonus.h"
#include "game_properties.h"
#include "game_time.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "store.h"
#include "ui/ui_widget.h"

namespace {

const BoosterLook LOOKS[] = {
    {"s_bonus_minus_tsvet_ui_p_psd", "s_bonus_minus_tsvet_pass_window_bonus_aktiv_psd", "PASSIVE_BONUS_COLOR_TITLE",
     "PASSIVE_BONUS_COLOR_DESC"},
    {"s_bonus_plus_step_ui_p_psd", "s_bonus_plus_step_pass_window_bonus_aktiv_psd", "PASSIVE_BONUS_MOVES_TITLE",
     "PASSIVE_BONUS_MOVES_DESC"},
    {"s_bonus_plus_time_ui_p_psd", "s_bonus_plus_time_pass_window_bonus_aktiv_psd", "PASSIVE_BONUS_TIME_TITLE",
     "PASSIVE_BONUS_TIME_DESC"},
    {"s_bonus_plus_bonus_ui_p_psd", "s_bonus_plus_bonus_pass_window_bonus_aktiv_psd", "BOOM_BONUS_TITLE",
     "BOOM_BONUS_DESC"},
};

}  // namespace

void placeWidgetOver(VQ::UIWidget* root, const std::string& name, AE::ISceneNode* node)
{
    VQ::UIWidget* widget = root ? root->findChild(name) : nullptr;
    if (!widget || !node || !widget->parent)
        return;
    widget->position = node->worldPosition - widget->parent->absolutePosition();
}

const BoosterLook& boosterLook(int kind, bool timeLimit)
{
    switch (kind) {
    case BOOSTER_COLOR:
        return LOOKS[0];
    case BOOSTER_MOVES:
        return LOOKS[timeLimit ? 2 : 1];
    default:
        return LOOKS[3];
    }
}

InfoPassiveBonusWindow::InfoPassiveBonusWindow()
    : DialogWindow("info_passive_bonus_window_ui", "InfoPassiveBonusWindow", "gui")
{
    bindButton("btnBuy", this, &InfoPassiveBonusWindow::buy);
    bindButton("btnClose", this, &InfoPassiveBonusWindow::close);
    rootGroup = sceneNode("root_group");
    icon = sceneNode("#icon");
    title = sceneNode("#title");
    desc = sceneNode("#desc");
}

void InfoPassiveBonusWindow::open(int bonusKind, const std::string& placement)
{
    if (state != SHOWN && state != SHOWING)
        show(false);
    if (auto* sprite = dynamic_cast<AE::SpriteSceneNode*>(icon))
        sprite->loadSprite("ui_sprites", boosterLook(bonusKind, timeLimit).windowIcon);
    const BoosterLook& look = boosterLook(bonusKind, timeLimit);
    setSceneText(title, look.titleKey, true);
    setSceneText(desc, look.descKey, true);
    setSceneText(sceneNode("#price"), std::to_string(boosterPrice(bonusKind)), false);
    if (auto* coin = dynamic_cast<AE::SpriteSceneNode*>(sceneNode("#priceIcon")))
        coin->loadSprite("ui_sprites", "s_bonus_valuta_silver_ui_p_psd");
    kind = bonusKind;
    if (scene)
        if (AE::Marker* marker = scene->getMarker(placement))
            marker->start(true);
}

void InfoPassiveBonusWindow::anchorAt(VQ::Vector2f at)
{
    if (!rootGroup)
        return;
    rootGroup->setWorldPosition(at);
    AE::ISceneNode::update(rootGroup, 0.0f);
    refreshScene();
}

void InfoPassiveBonusWindow::refreshScene()
{
    DialogWindow::refreshScene();
    placeWidgetOver(root, "btnBuy", sceneNode("btnBuyFace"));
    placeWidgetOver(root, "btnClose", sceneNode("btnCloseFace"));
}

void InfoPassiveBonusWindow::update(float dt)
{
    (void)dt;
    // The bubble's placement marker may still be moving it.
    refreshScene();
}

void InfoPassiveBonusWindow::buy()
{
    if (state != SHOWN)
        return;
    PlayerProfile* player = GameProperties::exists() ? GameProperties::instance()->profile() : nullptr;
    if (!player || kind < 0 || kind >= BOOSTER_KIND_COUNT)
        return;
    const int price = boosterPrice(kind);
    if (player->silver < price) {
        if (BuyValutaWindowSingleton* shop = BuyValutaWindowSingleton::instancePtr())
            shop->open(CURRENCY_SILVER, false);
        return;
    }
    player->passiveBonusPurchases[kind].count += 1;
    player->passiveBonusPurchases[kind].time = currentTime();
    player->passiveBonusArmed[kind] = 1;
    player->silver = std::max(player->silver - price, 0);
    if (ProgressSaver::exists())
        ProgressSaver::instance()->saveNow();
    result = BOUGHT;
    hide();
}

void InfoPassiveBonusWindow::close()
{
    if (state != SHOWN)
        return;
    result = 0;
    hide();
}
