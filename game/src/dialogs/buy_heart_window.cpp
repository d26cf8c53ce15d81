#include "dialogs/buy_heart_window.h"

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "dialogs/buy_valuta_window.h"
#include "facebook_integration.h"
#include "game_properties.h"
#include "game_time.h"
#include "main_mode.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "ui/text_manager.h"
#include "ui/ui_widget.h"
#include "log_system.h"
#include "utils.h"

BuyHeartWindow::BuyHeartWindow(MainMode* mode)
    : DialogWindow("buy_heart_window_ui", "BuyHeartWindow", "gui"), mode(mode)
{
    timeText = sceneNode("#timeText");
    timeTextTitle = sceneNode("#timeTextTitle");
    buyNode = sceneNode("btnBuy");
    buyButton = requireWidget("btnBuy");
    setSceneText(sceneNode("#heart_price"), VQ::formatString("-%d", PRICE), false);
    bindButton("btnBuy", this, &BuyHeartWindow::buy);
    bindButton("btnClose", this, &BuyHeartWindow::close);
    bindButton("btnAskFriends", this, &BuyHeartWindow::askFriends);
}

int BuyHeartWindow::countdown() const
{
    if (!mode)
        return -1;
    const int lives = std::min(mode->lives, MainMode::MAX_LIVES);
    if (lives >= MainMode::MAX_LIVES)
        return -1;
    return static_cast<int>(std::max<int64_t>(mode->lastLifeChange + SECONDS_PER_LIFE - currentTime(), 0));
}

void BuyHeartWindow::update(float dt)
{
    (void)dt;
    const int seconds = countdown();
    if (seconds >= 0)
        setSceneText(timeText, VQ::formatString("%02d:%02d", seconds / 60, seconds % 60), false);
    if (timeText)
        timeText->setEnabled(seconds >= 0);
    if (timeTextTitle)
        timeTextTitle->setEnabled(seconds >= 0);
    const bool noLife = mode && mode->lives <= 0;
    if (buyButton) {
        if (noLife && !buyButton->enabled)
            buyButton->enable();
        else if (!noLife && buyButton->enabled)
            buyButton->disable();
        if (buyButton->parent)
            buyButton->parent->setVisible(noLife);
    }
    if (mode && mode->lives >= 1)
        hide();
}

void BuyHeartWindow::buy()
{
    if (state != SHOWN)
        return;
    PlayerProfile* profile = GameProperties::exists() ? GameProperties::instance()->profile() : nullptr;
    if (!profile)
        return;
    if (profile->gold < PRICE) {
        if (BuyValutaWindowSingleton* shop = BuyValutaWindowSingleton::instancePtr())
            shop->open(CURRENCY_GOLD, false);
        return;
    }
    profile->gold = std::max(profile->gold - PRICE, 0);
    if (ProgressSaver* saver = ProgressSaver::instancePtr())
        saver->saveNow();
    if (mode)
        mode->addLife();
    hide();
}

void BuyHeartWindow::askFriends()
{
    if (state != SHOWN)
        return;
    requestKind = "giveLife";
    requestParams = makeRequestParams(requestKind);
    if (requestParams.empty())
        return;
    const std::u16string text =
        VQ::TextManager::exists() ? VQ::TextManager::instance()->text("ASK_FOR_LIFES_REQUEST_TEXT") : u"";
    requestText = VQ::wideToAnsi(text);
}
