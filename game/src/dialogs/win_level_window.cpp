#include "dialogs/win_level_window.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "localized_format.h"
#include "log_system.h"
#include "main_mode.h"

namespace {

constexpr const char* EFFECT_COUNT_PREFIX = "#effectCount:";

}  // namespace

WinLevelWindow::WinLevelWindow() : DialogWindow("win_level_window_ui", "WinLevelWindow", "gui")
{
    bindButton("btnClose", this, &WinLevelWindow::close);
    bindButton("btnNext", this, &WinLevelWindow::next);
    leftPanel = listenToMarker("leftPanel");
    bottomPanel = listenToMarker("bottomPanel");
    friendPanels.attach(this);
    if (scene)
        effectCount = effectCountOf(*scene);
    for (int i = 0; i <= 3; ++i)
        starMarkers.push_back(listenToMarker(VQ::formatString("stars%d", i)));
}

WinLevelWindow::~WinLevelWindow()
{
    for (AE::Marker* marker : starMarkers)
        if (marker)
            marker->removeListener(this);
    if (leftPanel)
        leftPanel->removeListener(this);
    if (bottomPanel)
        bottomPanel->removeListener(this);
}

int WinLevelWindow::effectCountOf(const AE::ISceneNode& scene)
{
    for (const auto& marker : scene.markers) {
        if (marker->name.rfind(EFFECT_COUNT_PREFIX, 0) != 0)
            continue;
        std::string digits;
        for (char c : marker->name.substr(std::char_traits<char>::length(EFFECT_COUNT_PREFIX))) {
            if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-')
                break;
            digits += c;
        }
        return std::atoi(digits.c_str());
    }
    return 0;
}

int WinLevelWindow::starsReached(const LevelInfo& level, int score)
{
    int reached = 0;
    while (reached < 3 && level.starScores[reached] <= score)
        ++reached;
    return reached;
}

void WinLevelWindow::open(LevelInfo* info, int levelScore, int coinsWon)
{
    darkenStars();
    phase = 0;
    setSceneText(sceneNode("#score"), "0", false);
    setSceneText(sceneNode("#money"), "0", false);
    score = levelScore;
    level = info;
    if (info)
        setSceneText(sceneNode("#levelNum"), formatLocalized("LEVEL_NUM", levelTitleText(*info)), false);
    friendPanels.setSocialButtons(socialSessionOpen());
    friendPanels.fillFriendRows(level, mode);
    show(true);
    remaining = COUNT_TIME;
    coins = coinsWon;
    effectIndex = 0;
    coinsShown = 0;
    stars = info ? starsReached(*info, levelScore == -1 ? info->bestScore : levelScore) : 0;
}

void WinLevelWindow::darkenStars()
{
    // The window is reused from level to level and a stars marker only
    // lights its own stars: put every star marker's nodes back on their
    // start frames, or the stars of the last win stay lit.
    for (AE::Marker* marker : starMarkers) {
        if (!marker)
            continue;
        marker->stop(true);
        for (const AE::MarkerEntry& entry : marker->entries) {
            entry.node->stop(entry.recursive);
            if (entry.from >= 0)
                entry.node->setTime(float(entry.from) * entry.node->animation->frameTime, entry.recursive);
        }
    }
}

void WinLevelWindow::hide()
{
    DialogWindow::hide();
    if (phase == 0) {
        phase = 1;
        remaining = COUNT_TIME;
    }
}

void WinLevelWindow::onMarkerFinished(AE::Marker* marker)
{
    if (marker == showMarker) {
        // The stars take the place of the shown signal: no onShown.
        if (state != SHOWN) {
            state = SHOWN;
            setButtonsEnabled(true, root);
        }
        if (AE::Marker* lit = starMarkers[static_cast<size_t>(stars)])
            lit->start(true);
        return;
    }
    if (marker->name.rfind("stars", 0) == 0 && phase == 0) {
        phase = 1;
        remaining = COUNT_TIME;
    }
    DialogWindow::onMarkerFinished(marker);
}

void WinLevelWindow::update(float dt)
{
    if (remaining <= 0.0f || state == HIDDEN || phase != 1)
        return;
    remaining = state == HIDING ? 0.0f : std::max(remaining - dt, 0.0f);
    const float f = 1.0f - remaining * 0.5f;
    setSceneText(sceneNode("#score"), VQ::formatString("%d", static_cast<int>(static_cast<float>(score) * f)), false);
    const int step = static_cast<int>(static_cast<float>(coins) * f) - coinsShown;
    if (step > 0 && (step >= COIN_STEP || remaining == 0.0f)) {
        coinsShown += step;
        setSceneText(sceneNode("#money"), VQ::formatString("%d", coinsShown), false);
        if (effectCount > 0) {
            if (scene)
                scene->playMarker(VQ::formatString("silverEffect[%d]", effectIndex));
            effectIndex = (effectIndex + 1) % effectCount;
        }
    }
    if (remaining == 0.0f)
        phase = 2;
}

void WinLevelWindow::next()
{
    if (state != SHOWN)
        return;
    result = NEXT;
    hide();
}

void WinLevelWindow::close()
{
    if (state != SHOWN)
        return;
    result = CLOSED;
    hide();
}
