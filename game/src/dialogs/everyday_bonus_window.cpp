#include "dialogs/everyday_bonus_window.h"

#include "animationeditor/scene_node.h"
#include "store.h"
#include "log_system.h"
#include "utils.h"

namespace {

void showAmount(AE::ISceneNode* day, const char* name, int amount)
{
    setSceneText(day->findNode(name), VQ::formatString("%d", amount), false);
}

}  // namespace

EverydayBonusWindow::EverydayBonusWindow() : DialogWindow("everyday_bonus_window_ui", "EverydayBonusWindow", "gui")
{
    bindButton("btnOk", this, &EverydayBonusWindow::close);
    const Store* store = Store::instancePtr();
    for (int d = 1; d <= 5 && store; ++d) {
        AE::ISceneNode* day = sceneNode(VQ::formatString("#day_%d", d));
        if (!day)
            continue;
        for (const CurrencyAmount& reward : store->everydayBonusReward(d)) {
            if (reward.kind == CURRENCY_SILVER)
                showAmount(day, "#amount_s", reward.amount);
            else if (reward.kind == CURRENCY_GOLD)
                showAmount(day, "#amount_g", reward.amount);
        }
    }
}
