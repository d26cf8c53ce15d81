#include "game_helpers/limit_helper.h"

#include <algorithm>
#include <cmath>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "board_renderer.h"
#include "chip_appearence.h"
#include "dialogs/buy_moves_time_window.h"
#include "dialogs/dialog_window_manager.h"
#include "fatal_error.h"
#include "function.h"
#include "game_field.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/helper_sound.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "log_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "task_manager.h"
#include "tutorial/tutorial_registry.h"
#include "ui/ui_manager.h"
#include "ui/ui_scene_node.h"
#include "ui/ui_widget.h"

namespace {

const char* const FLIGHT_SOUND = "flight_silver_star_the_level_sound";
// The panel starts warning at or below this many seconds.
constexpr float WARNING_SECONDS = 10.0f;

// The board's task manager and effect list wait while a preview flies in.
void setBoardRunning(bool running)
{
    GameField* field = currentGameField();
    if (!field)
        return;
    if (field->taskManager)
        field->taskManager->enabled = running;
    if (field->renderer)
        field->renderer->effectList().enabled = running;
}

void setText(AE::ISceneNode* node, const std::string& text)
{
    if (auto* textNode = dynamic_cast<AE::TextSceneNode*>(node))
        textNode->setText(text);
}

void setLocalizedText(AE::ISceneNode* node, const char* key)
{
    auto* textNode = dynamic_cast<AE::TextSceneNode*>(node);
    if (!textNode)
        return;
    textNode->localized = true;
    textNode->rawText.assign(key, key + std::char_traits<char>::length(key));
    textNode->updateText();
}

// The node itself and each of its direct children (the whole subtree
// follows with them).
void setEnabledWithChildren(AE::ISceneNode* node, bool enabled)
{
    if (!node)
        return;
    node->setEnabled(enabled);
    for (AE::ISceneNode* child : node->children)
        child->setEnabled(enabled);
}

}  // namespace

std::string formatLimitTime(float seconds)
{
    const int whole = static_cast<int>(seconds);
    return VQ::formatString("%02d:%02d", whole / 60, whole % 60);
}

// --- LimitHelper ---

LimitHelper::LimitHelper(const std::string& uiTable, const std::string& uiScript)
{
    root = VQ::UIManager::instance()->loadUI(uiScript, uiTable, nullptr, "default");
    root->show();
    if (auto* host = dynamic_cast<VQ::UISceneNode*>(root->findChild("scene")))
        panelScene = host->node;
    if (VQ::UIWidget* button = root->findChild("btnBuy"))
        button->connect("clicked", std::make_unique<VQ::Function<LimitHelper>>(this, &LimitHelper::onBuyClicked));
    counterText = panelScene ? dynamic_cast<AE::TextSceneNode*>(panelScene->findNode("#textNode")) : nullptr;
    if (!counterText)
        VQ::assertFailed("VQ", "#textNode node does not found", "game_helpers/limit_helper", 23);
    counterText->updateText();
    playPanelMarker("init");
}

LimitHelper::~LimitHelper()
{
    // The UI manager deletes the tree at its next update.
    if (root)
        root->deleteMark = true;
}

void LimitHelper::addListener(LimitHelperListener* listener)
{
    if (listener && !hasListener(listener))
        listeners.push_back(listener);
}

void LimitHelper::removeListener(LimitHelperListener* listener)
{
    auto it = std::find(listeners.begin(), listeners.end(), listener);
    if (it != listeners.end())
        listeners.erase(it);
}

bool LimitHelper::hasListener(const LimitHelperListener* listener) const
{
    return std::find(listeners.begin(), listeners.end(), listener) != listeners.end();
}

void LimitHelper::showCounter(const std::string& text)
{
    counterText->setText(text);
}

void LimitHelper::playPanelMarker(const std::string& name)
{
    if (AE::Marker* marker = panelScene->requireMarker(name))
        marker->start(true);
}

// --- FlyingLimitHelper ---

FlyingLimitHelper::FlyingLimitHelper(const std::string& uiTable, const std::string& uiScript, const char* titleKey,
                                     const char* iconSprite, const char* previewTitleKey) :
    LimitHelper(uiTable, uiScript)
{
    setLocalizedText(panelScene->findNode("#title"), titleKey);

    previewScene.reset(AE::loadScene("limit_preview_xml"));
    if (previewScene) {
        setEnabledWithChildren(previewScene.get(), false);
        if (AE::Marker* init = previewScene->requireMarker("init"))
            init->addListener(this);
    }
    centreNode = panelScene->findNode("#widget_center");

    if (previewScene) {
        if (auto* icon = dynamic_cast<AE::SpriteSceneNode*>(previewScene->findNode("#limit_icon"))) {
            VQ::Sprite* sprite = VQ::SpriteManager<VQ::Sprite>::instance()->tryCreateSpriteFromScript(
                "game_field_sprites", iconSprite, "default");
            if (sprite)
                icon->setSprite(sprite);
        }
        setLocalizedText(previewScene->findNode("#limit_title"), previewTitleKey);
    }

    flightSound = acquireHelperSound(FLIGHT_SOUND);

    // Nothing can be bought yet: the button stays off.
    buyNode = panelScene->findNode("btnBuy");
    setEnabledWithChildren(buyNode, false);
    buyWindow = std::make_unique<BuyMovesTimeWindow>();
    buyWindow->addListener(this);
}

FlyingLimitHelper::~FlyingLimitHelper()
{
    releaseHelperSound(flightSound);
    // A flight cut short gives the level and the board back.
    if (inFlight) {
        if (GameLevel* level = currentGameLevel())
            level->releaseBusy();
        setBoardRunning(true);
    }
}

void FlyingLimitHelper::setPosition(const float xy[2])
{
    startPosition[0] = xy[0];
    startPosition[1] = xy[1];
}

void FlyingLimitHelper::drawOverField()
{
    if (previewScene)
        AE::renderScene(previewScene.get());
}

void FlyingLimitHelper::onMarkerFinished(AE::Marker* marker)
{
    if (!previewScene || marker != previewScene->getMarker("init"))
        return;
    flyTimer = FLIGHT_TIME;
    state = PREVIEW_FLYING;
    playHelperSound(flightSound);
}

void FlyingLimitHelper::launchPreview(const std::string& text)
{
    if (!inFlight) {
        // One raise per flight: an addition joining a flight is lowered with
        // it when it lands.
        if (GameLevel* level = currentGameLevel())
            ++level->busyCount;
        inFlight = true;
    }
    if (BonusGoldHelper* panel = currentBonusPanel())
        panel->hold();
    setBoardRunning(false);
    if (previewScene) {
        setEnabledWithChildren(previewScene.get(), true);
        if (AE::Marker* init = previewScene->getMarker("init"))
            init->start(true);
        previewScene->setPosition(startPosition[0], startPosition[1]);
        setText(previewScene->findNode("#limit_text"), text);
    }
    state = PREVIEW_ENTRY;
}

bool FlyingLimitHelper::updateFlight(float dt)
{
    if (state != PREVIEW_FLYING)
        return false;
    if (flyTimer == 0.0f) {
        state = PREVIEW_LANDED;
        inFlight = false;
        if (BonusGoldHelper* panel = currentBonusPanel())
            panel->enabled = true;
        setBoardRunning(true);
        setEnabledWithChildren(previewScene.get(), false);
        playPanelMarker("showCounter");
        if (GameLevel* level = currentGameLevel())
            level->releaseBusy();
        return true;
    }
    flyTimer = std::max(flyTimer - dt, 0.0f);
    const float f = flyTimer / FLIGHT_TIME;
    if (previewScene) {
        const VQ::Vector2f centre = centreNode ? centreNode->worldPosition : VQ::Vector2f(0.0f, 0.0f);
        previewScene->setPosition(centre.x - f * (centre.x - startPosition[0]),
                                  centre.y - f * (centre.y - startPosition[1]));
    }
    return false;
}

// --- MoveLimitHelper ---

MoveLimitHelper::MoveLimitHelper(const std::string& uiTable, const std::string& uiScript, int movesLimit,
                                 float duration) :
    FlyingLimitHelper(uiTable, uiScript, "WINDOW_STROKES", "s_steps_levels_times_steps_psd",
                      "LIMIT_TITLE_MOVES"),
    countDuration(duration),
    pendingMoves(movesLimit)
{
}

void MoveLimitHelper::start()
{
    moves = 0;
    addMoves(pendingMoves);
    playPanelMarker("init");
}

void MoveLimitHelper::addMoves(int n)
{
    const int total = (inFlight ? pendingMoves : 0) + n;
    launchPreview(VQ::formatString("%d", total));
    previousMoves = moves;
    pendingMoves = total;
}

void MoveLimitHelper::update(float dt)
{
    if (previewScene)
        AE::ISceneNode::update(previewScene.get(), dt);
    if (updateFlight(dt)) {
        setMoves(moves + pendingMoves, true);
        pendingMoves = 0;
        tellListeners([&](LimitHelperListener& listener) { listener.onLimitShown(); });
    }
    const bool shown = dialogWindowActive();
    if (shown != dialogShown) {
        if (shown)
            playPanelMarker("normal");
        dialogShown = shown;
    }
    if (countTimer != 0.0f) {
        countTimer = std::max(countTimer - dt, 0.0f);
        const int value = moves - static_cast<int>((moves - previousMoves) * countTimer / countDuration + 0.5f);
        showCounter(VQ::formatString("%d", value));
    }
}

void MoveLimitHelper::setMoves(int n, bool immediate)
{
    previousMoves = moves;
    moves = std::max(n, 0);
    if (moves == 0)
        playPanelMarker("normal");
    if (immediate)
        showCounter(VQ::formatString("%d", moves));
    else
        countTimer = countDuration;
}

void MoveLimitHelper::consume()
{
    setMoves(moves - 1, false);
    tellListeners([&](LimitHelperListener& listener) { listener.onLimitChanged(previousMoves, moves); });
    if (moves == 0)
        tellListeners([&](LimitHelperListener& listener) { listener.onLimitReached(); });
}

void MoveLimitHelper::zero()
{
    previousMoves = moves;
    moves = 0;
    countTimer = countDuration;
}

bool MoveLimitHelper::isLimitReached()
{
    return moves == 0 && pendingMoves == 0;
}

bool MoveLimitHelper::isWarning()
{
    return moves + pendingMoves < 4;
}

void MoveLimitHelper::buy()
{
    if (moves <= 0)
        return;
    buyWindow->price = 250;
    buyWindow->setupForMoves();
    buyWindow->refreshScene();
    buyWindow->show(true);
    buyWindow->result = 0;
}

void MoveLimitHelper::onHidden(DialogWindow* window)
{
    if (window == buyWindow.get() && window->result == BuyMovesTimeWindow::BOUGHT)
        addMoves(5);
}

// --- TimerHelper ---

TimerHelper::TimerHelper(const std::string& uiTable, const std::string& uiScript, float seconds, float duration) :
    FlyingLimitHelper(uiTable, uiScript, "WINDOW_TIME", "s_time_levels_times_steps_psd", "LIMIT_TITLE_TIME"),
    pendingSeconds(seconds),
    countDuration(duration)
{
}

void TimerHelper::start()
{
    timeLeft = 0.0f;
    addTime(pendingSeconds);
    playPanelMarker("init");
}

void TimerHelper::addTime(float seconds)
{
    const float total = (inFlight ? pendingSeconds : 0.0f) + seconds;
    launchPreview(formatLimitTime(total));
    previousTime = timeLeft;
    pendingSeconds = total;
}

void TimerHelper::showTime()
{
    showCounter(formatLimitTime(timeLeft));
}

void TimerHelper::update(float dt)
{
    if (previewScene)
        AE::ISceneNode::update(previewScene.get(), dt);
    if (dialogWindowActive())
        return;
    if (updateFlight(dt)) {
        timeLeft = std::max(timeLeft + pendingSeconds, 0.0f);
        showCounter(formatLimitTime(timeLeft));
        pendingSeconds = 0.0f;
        // Time bought during the warning may lift the panel out of it.
        playPanelMarker(timeLeft > WARNING_SECONDS ? "normal" : "warning");
        tellListeners([&](LimitHelperListener& listener) { listener.onLimitShown(); });
    }
    GameField* field = currentGameField();
    if (field && field->appearance && field->appearance->isRunning())
        return;
    if (!running || tutorialLessonActive())
        return;
    if (countTimer > 0.0f) {
        countTimer = std::max(countTimer - dt, 0.0f);
        showCounter(formatLimitTime(std::trunc(countTimer / countDuration * previousTime)));
        return;
    }
    const GameLevel* level = currentGameLevel();
    if ((level && level->busyCount >= 1) || (field && field->taskManager && field->taskManager->count != 0))
        return;
    const float previous = timeLeft;
    timeLeft = std::max(timeLeft - dt, 0.0f);
    if (previous > WARNING_SECONDS && timeLeft <= WARNING_SECONDS)
        playPanelMarker("warning");
    else if (previous <= WARNING_SECONDS && timeLeft > WARNING_SECONDS)
        playPanelMarker("normal");
    showCounter(formatLimitTime(timeLeft));
    if (static_cast<int>(timeLeft) != static_cast<int>(previous))
        tellListeners([&](LimitHelperListener& listener) {
            listener.onLimitChanged(static_cast<int>(previous), static_cast<int>(timeLeft));
        });
    // Told once, as the last whole second goes.
    if (static_cast<int>(previous) != 0 && isLimitReached())
        tellListeners([&](LimitHelperListener& listener) { listener.onLimitReached(); });
}

void TimerHelper::zero()
{
    previousTime = timeLeft;
    timeLeft = 0.0f;
    countTimer = countDuration;
}

bool TimerHelper::isLimitReached()
{
    return static_cast<int>(timeLeft) == 0 && static_cast<int>(pendingSeconds) == 0;
}

bool TimerHelper::isWarning()
{
    return timeLeft + pendingSeconds <= 20.0f;
}

void TimerHelper::buy()
{
    if (timeLeft <= 0.0f || !buyWindow)
        return;
    buyWindow->price = 4;
    buyWindow->setupForTime();
    buyWindow->refreshScene();
    buyWindow->show(true);
    buyWindow->result = 0;
}

void TimerHelper::onHidden(DialogWindow* window)
{
    if (window == buyWindow.get() && window->result == BuyMovesTimeWindow::BOUGHT)
        addTime(15.0f);
}
