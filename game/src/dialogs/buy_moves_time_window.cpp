#include "dialogs/buy_moves_time_window.h"

#include "animationeditor/scene_node.h"
#include "game_state_manager.h"
#include "sprite_manager.h"
#include "log_system.h"
#include "utils.h"

namespace {

VQ::Sprite* uiSprite(const char* name)
{
    return VQ::SpriteManager<VQ::Sprite>::instance()->tryCreateSpriteFromScript("ui_sprites", name, "default");
}

}  // namespace

BuyMovesTimeWindow::BuyMovesTimeWindow()
{
    if (!root)
        return;
    bindButton("btnBuy", this, &BuyMovesTimeWindow::buy);
    bindButton("btnClose", this, &BuyMovesTimeWindow::close);
}

void BuyMovesTimeWindow::setupForMoves()
{
    priceCurrency = GOLD;
    forTime = false;
    if (!root)
        return;
    fill(uiSprite("s_bonus_plus_step_pass_window_bonus_aktiv_psd"), "BUY_MOVES_TITLE", "BUY_MOVES_DESC");
    showPrice();
}

void BuyMovesTimeWindow::setupForTime()
{
    priceCurrency = GOLD;
    forTime = true;
    if (!root)
        return;
    fill(uiSprite("s_plus_15_time_icon_select_ui_p_psd"), "BUY_TIME_TITLE", "BUY_TIME_DESC");
    showPrice();
}

void BuyMovesTimeWindow::refreshScene()
{
    DialogWindow::refreshScene();
    const GameStateManager* states = GameStateManager::instancePtr();
    if (rootGroup && states) {
        const VQ::Vector2f size = states->getSceneSize();
        rootGroup->setPosition(size.x / 2.0f, size.y / 2.0f);
        AE::ISceneNode::update(rootGroup, 0.0f);
    }
    if (AE::ISceneNode* closeNode = sceneNode("btnClose"))
        closeNode->setEnabled(true);
    startLayout(VQ::formatString("center_%c", states && states->isPortrait() ? 'v' : 'h'));
}

void BuyMovesTimeWindow::show(bool queued)
{
    showOrClose(queued);
}

void BuyMovesTimeWindow::buy()
{
    if (state != SHOWN)
        return;
    result = 0;
    if (balance() < price) {
        openCurrencyShop();
        return;
    }
    pay();
    result = BOUGHT;
    refreshPurse();
    hide();
}

void BuyMovesTimeWindow::close()
{
    if (state != SHOWN)
        return;
    result = CLOSED;
    hide();
}
