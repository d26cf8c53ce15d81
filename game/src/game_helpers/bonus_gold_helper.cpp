#include "game_helpers/bonus_gold_helper.h"

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "dialogs/buy_bonus_window.h"
#include "dialogs/dialog_window_manager.h"
#include "field_scene.h"
#include "game_event.h"
#include "game_field.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/limit_helper.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "input_manager.h"
#include "log_system.h"
#include "mode.h"
#include "player_profile.h"
#include "task_manager.h"
#include "tutorial/tutorial_registry.h"

namespace {

const char* const BUTTON_SCENES[BONUS_KIND_COUNT] = {"gefest_bonus_button_xml", "zeus_bonus_button_xml",
                                                     "artemida_bonus_button_xml", "ares_bonus_button_xml"};
const char* const BUTTON_ROOT = "#bonus_root";

void showNode(AE::ISceneNode* slot, const char* name, bool on)
{
    if (AE::ISceneNode* node = slot ? slot->findNode(name) : nullptr)
        node->setEnabled(on);
}

void postBonusEvent(int kind, int action)
{
    if (TutorialRegistry::exists())
        TutorialRegistry::instance()->dispatchEvent(new BonusEvent(kind, action));
}

std::unique_ptr<Bonus> createBonus(int kind, const GoalsHelper* goals)
{
    const int first = goals ? goals->goalKinds[0] : GOAL_NONE;
    const int second = goals ? goals->goalKinds[1] : GOAL_NONE;
    switch (kind) {
    case BONUS_COMET:
        return std::make_unique<CometBonus>(first, second);
    case BONUS_LIGHT:
        return std::make_unique<LightBonus>();
    case BONUS_ARROWS:
        return std::make_unique<ArrowBonus>(first, second);
    case BONUS_DETONATE:
        return std::make_unique<DetonateBonus>();
    default:
        return nullptr;
    }
}

LimitHelper* levelLimit()
{
    const GameLevel* level = currentGameLevel();
    Mode* mode = level ? level->mode : nullptr;
    if (!mode)
        return nullptr;
    if (auto* moves = dynamic_cast<LimitHelper*>(mode->getHelper(1)))
        return moves;
    return dynamic_cast<LimitHelper*>(mode->getHelper(2));
}

}  // namespace

BonusGoldHelper* currentBonusPanel()
{
    const GameLevel* level = currentGameLevel();
    return level && level->mode ? dynamic_cast<BonusGoldHelper*>(level->mode->getHelper(4)) : nullptr;
}

void BonusGoldHelper::Button::play(const char* marker)
{
    if (AE::Marker* found = scene ? scene->getMarker(marker) : nullptr)
        found->start(true);
}

BonusGoldHelper::BonusGoldHelper(const std::string& sceneName, GoalsHelper* goalsHelper)
    : goals(goalsHelper), profile(gameProfile()), buyWindow(std::make_unique<BuyBonusWindow>())
{
    panelScene = loadFieldScene(sceneName);
    for (int i = 0; i < SLOTS; ++i)
        slots[static_cast<size_t>(i)] = panelScene ? panelScene->findNode(VQ::formatString("#bonus:%d", i)) : nullptr;
    buyWindow->addListener(this);
}

BonusGoldHelper::~BonusGoldHelper()
{
    buyWindow->removeListener(this);
    for (auto& bonus : bonuses)
        bonus.reset();
}

void BonusGoldHelper::reset()
{
    buttonCount = 0;
    for (int i = 0; i < SLOTS; ++i) {
        const size_t slot = static_cast<size_t>(i);
        bonuses[slot].reset();
        buttons[slot].reset();
        if (slots[slot])
            while (AE::ISceneNode* root = slots[slot]->findNode(BUTTON_ROOT))
                delete root;
    }
    if (profile)
        for (const int32_t kind : profile->unlockedBonuses) {
            if (kind < 0 || kind >= BONUS_KIND_COUNT || buttonCount >= SLOTS)
                continue;
            const size_t slot = static_cast<size_t>(buttonCount);
            auto button = std::make_unique<Button>();
            std::unique_ptr<AE::ISceneNode> scene = loadFieldScene(BUTTON_SCENES[kind]);
            if (scene) {
                scene->name = BUTTON_ROOT;
                button->scene = scene.get();
                if (slots[slot])
                    slots[slot]->addChild(scene.release(), true);
                else
                    button->ownedScene = std::move(scene);
            }
            bonuses[slot] = createBonus(kind, goals);
            bonuses[slot]->panel = this;
            button->play("regular");
            button->play("enable");
            buttons[slot] = std::move(button);
            ++buttonCount;
        }
    enabled = true;
    refreshButtons();
    hintShown = false;
}

void BonusGoldHelper::resetButtons()
{
    for (auto& button : buttons)
        if (button) {
            button->play("regular");
            button->play("enable");
            button->state = 0;
            button->enabled = true;
        }
}

void BonusGoldHelper::hold()
{
    enabled = false;
    resetButtons();
}

int BonusGoldHelper::stockOf(int kind) const
{
    return profile && kind >= 0 && kind < BONUS_KIND_COUNT ? profile->bonusCounts[static_cast<size_t>(kind)] : 0;
}

void BonusGoldHelper::refreshButtons()
{
    for (size_t slot = 0; slot < SLOTS; ++slot) {
        showNode(slots[slot], "#lock_icon", !buttons[slot]);
        if (!buttons[slot])
            break;
        const int stock = stockOf(bonuses[slot]->getType());
        showNode(slots[slot], "#plus", stock <= 0);
        showNode(slots[slot], "#buy", stock <= 0);
        showNode(slots[slot], "#count", stock > 0);
        showNode(slots[slot], "#active", stock > 0);
        if (auto* count = dynamic_cast<AE::TextSceneNode*>(slots[slot] ? slots[slot]->findNode("#count") : nullptr))
            count->setText(VQ::formatString("%d", stock));
        if (buttons[slot]->enabled != (stock <= 0))
            refreshPending = true;
    }
}

void BonusGoldHelper::applyOrientation()
{
    const GameStateManager* states = GameStateManager::instancePtr();
    if (panelScene) {
        if (AE::Marker* marker = panelScene->getMarker(states && states->isPortrait() ? "ver" : "hor"))
            marker->start(true);
        panelScene->setPosition(position[0], position[1]);
        panelScene->setScaleX(scale);
        panelScene->setScaleY(scale);
    }
    update(0.0f);
    if (buyWindow->state != 1) {
        const int slot = slotOfKind(buyWindow->kind);
        const VQ::Vector2f centre = getButtonCenter(buyWindow->kind);
        if (slot >= 0)
            buyWindow->setPosition(centre.x, centre.y);
    }
}

int BonusGoldHelper::slotOfKind(int kind) const
{
    for (int slot = 0; slot < buttonCount; ++slot)
        if (bonuses[static_cast<size_t>(slot)] && bonuses[static_cast<size_t>(slot)]->getType() == kind)
            return slot;
    return -1;
}

VQ::Vector2f BonusGoldHelper::getButtonCenter(int kind) const
{
    const int slot = slotOfKind(kind);
    AE::ISceneNode* node = slot >= 0 && slots[static_cast<size_t>(slot)]
                               ? slots[static_cast<size_t>(slot)]->findNode("#center")
                               : nullptr;
    return node ? node->worldPosition : VQ::Vector2f(0.0f, 0.0f);
}

void BonusGoldHelper::openShop(int slot, int kind, bool free)
{
    const VQ::Vector2f centre = getButtonCenter(kind);
    buyWindow->setPosition(centre.x, centre.y);
    buyWindow->name = VQ::formatString("bonus%d", slot);
    // Held before it opens: a window may close within its opening.
    if (GameLevel* level = currentGameLevel())
        ++level->busyCount;
    buyWindow->open(kind, free);
}

void BonusGoldHelper::showFreeBonusWindow(int kind)
{
    const int slot = slotOfKind(kind);
    if (slot >= 0)
        openShop(slot, kind, true);
}

void BonusGoldHelper::startTimer()
{
    const GameLevel* level = currentGameLevel();
    Mode* mode = level ? level->mode : nullptr;
    auto* timer = mode ? dynamic_cast<TimerHelper*>(mode->getHelper(2)) : nullptr;
    if (!timer)
        return;
    timer->running = true;
    timer->tellListeners([](LimitHelperListener& listener) { listener.onTimerStarted(); });
}

void BonusGoldHelper::activateBonus(int kind)
{
    const int slot = slotOfKind(kind);
    if (slot < 0) {
        VQ::log(VQ::formatString("WARNING: no bonus button holds the bonus %d", kind));
        return;
    }
    bonuses[static_cast<size_t>(slot)]->activate();
    startTimer();
}

void BonusGoldHelper::press(int slot)
{
    if (slot < 0 || slot >= buttonCount)
        return;
    GameLevel* level = currentGameLevel();
    if ((level && (level->busyCount >= 1 || level->fading)))
        return;
    const int kind = bonuses[static_cast<size_t>(slot)]->getType();
    const int stock = stockOf(kind);
    postBonusEvent(kind, stock > 0 ? BonusEvent::PRESSED_WITH_BONUS : BonusEvent::PRESSED_WITHOUT_BONUS);
    if ((level && level->busyCount >= 1) || tutorialLessonActive())
        return;
    if (stock <= 0) {
        openShop(slot, kind, false);
        return;
    }
    bonuses[static_cast<size_t>(slot)]->activate();
    startTimer();
}

void BonusGoldHelper::onHidden(DialogWindow* window)
{
    if (GameLevel* level = currentGameLevel())
        level->releaseBusy();
    auto* shop = static_cast<BuyBonusWindow*>(window);
    const int slot = slotOfKind(shop->kind);
    if (slot >= 0) {
        Button& button = *buttons[static_cast<size_t>(slot)];
        button.play("regular");
        button.play("enable");
        button.state = 0;
        button.enabled = true;
        if (shop->result == BuyBonusWindow::BOUGHT) {
            postBonusEvent(shop->kind, BonusEvent::BOUGHT);
            button.play("buy");
        }
    }
    refreshButtons();
}

void BonusGoldHelper::updateButtons(const VQ::Vector2f& cursor, bool down, bool released)
{
    if (!enabled || dialogWindowActive())
        return;
    for (int slot = 0; slot < buttonCount; ++slot) {
        Button& button = *buttons[static_cast<size_t>(slot)];
        if (!button.enabled)
            continue;
        const bool over = button.scene && button.scene->hitTest(cursor.x, cursor.y, false);
        if (over) {
            if (button.state == 0) {
                button.state = 1;
                button.play("regular>select");
            } else if (button.state == 1 && down) {
                button.state = 2;
                button.play("select>pressed");
            } else if (button.state == 2 && released && !down) {
                button.state = 0;
                button.play("pressed>regular");
                press(slot);
            }
        } else if (button.state == 1 && !down) {
            button.state = 0;
            button.play("select>regular");
        } else if (button.state == 2 && released) {
            button.state = 0;
            button.play("pressed>regular");
        }
    }
}

void BonusGoldHelper::update(float dt)
{
    if (panelScene)
        AE::ISceneNode::update(panelScene.get(), dt);
    if (const VQ::InputManager* input = VQ::InputManager::instancePtr(); input && input->mouse()) {
        const VQ::MouseDevice* mouse = input->mouse();
        updateButtons(mouse->workspacePosition, mouse->left != 0, mouse->previousLeft && !mouse->left);
    }

    // The hint: once per level, as the limit starts warning.
    if (!hintShown && buttonCount > 0) {
        LimitHelper* limit = levelLimit();
        if (limit && limit->isWarning()) {
            for (int slot = 0; slot < buttonCount; ++slot)
                buttons[static_cast<size_t>(slot)]->play("hotspot");
            if (AE::Marker* marker = panelScene ? panelScene->getMarker("hotspot") : nullptr)
                marker->start(true);
            hintShown = true;
        }
    }
    updateAvailability();
}

void BonusGoldHelper::updateAvailability()
{
    const GameLevel* level = currentGameLevel();
    GameField* field = currentGameField();
    if (!level || !level->mode || !field || !level->mode->hasLevelBegun())
        return;
    const bool still = !field->isUnsettled() && !field->moving;
    if (!refreshPending)
        refreshPending = !still;
    if (!refreshPending || !still)
        return;
    for (int slot = 0; slot < buttonCount; ++slot) {
        Button& button = *buttons[static_cast<size_t>(slot)];
        Bonus& bonus = *bonuses[static_cast<size_t>(slot)];
        if (stockOf(bonus.getType()) <= 0)
            continue;
        const bool can = bonus.canActivate();
        if (button.enabled != can) {
            button.enabled = can;
            button.play(can ? "enable" : "disable");
        }
    }
    refreshPending = false;
}

void BonusGoldHelper::drawOverField()
{
    if (panelScene)
        AE::renderScene(panelScene.get());
}
