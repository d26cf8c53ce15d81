#include "main_mode_map_state.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "animationeditor/mesh_scene_node.h"
#include "animationeditor/movie_camera.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "dialogs/blocker_message_window.h"
#include "dialogs/buy_heart_window.h"
#include "dialogs/buy_valuta_window.h"
#include "dialogs/dialog_window_manager.h"
#include "dialogs/everyday_bonus_window.h"
#include "dialogs/facebook_request_wnd.h"
#include "dialogs/help_random_friends_wnd.h"
#include "dialogs/holiday_purchase_window.h"
#include "dialogs/map_menu_window.h"
#include "dialogs/play_level_window.h"
#include "facebook_integration.h"
#include "function.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "input_manager.h"
#include "job_manager.h"
#include "lex_binded_function_manager.h"
#include "log_system.h"
#include "main_mode.h"
#include "platform/input_sdl.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "render_system.h"
#include "scene_layout.h"
#include "scene_markers.h"
#include "store.h"
#include "tutorial/tutorial_registry.h"
#include "ui/ui_manager.h"
#include "ui/ui_scene_node.h"
#include "ui/ui_widget.h"
#include "utils.h"

namespace {

using Binder = VQ::LexBinder<MainModeMapState>;

// In the order they are registered and removed.
const char* const COMMANDS[] = {"showMenu",           "showMail",           "showBuyGoldWindow",
                                "showBuySilverWindow", "showBuyStarsWindow", "buyHolidayPurchase"};

VQ::Vector2f sceneSize()
{
    return GameStateManager::exists() ? GameStateManager::instance()->getSceneSize() : VQ::Vector2f(1726.0f, 970.0f);
}

AE::TextSceneNode* findText(AE::ISceneNode* scene, const std::string& name)
{
    return scene ? dynamic_cast<AE::TextSceneNode*>(scene->findNode(name)) : nullptr;
}

void setNumber(AE::TextSceneNode* text, int value)
{
    if (text)
        text->setText(VQ::formatString("%d", value));
}

// The template's copy at the placeholder's place, named like it, under the
// placeholder's parent; the placeholder goes.
AE::ISceneNode* replacePlaceholder(AE::ISceneNode* placeholder, const AE::ISceneNode& source)
{
    AE::ISceneNode* copy = source.clone(nullptr);
    copy->name = placeholder->name;
    copy->setPosition(placeholder->worldPosition);
    copy->computeTransform();
    placeholder->parent->addChild(copy, false);
    delete placeholder;
    return copy;
}

PlayerProfile* profile()
{
    return GameProperties::exists() ? GameProperties::instance()->profile() : nullptr;
}

bool socialLoggedIn()
{
    return FacebookIntegration::exists() && FacebookIntegration::instance()->loggedIn != 0;
}

}  // namespace

int levelLook(const PartInfo& part, size_t index)
{
    const LevelInfo& level = *part.levels[index];
    if (level.completed)
        return level.stars();
    if (part.locked || (index > 0 && !part.levels[index - 1]->completed))
        return LEVEL_LOCKED;
    return LEVEL_OPEN;
}

int openMarkerCount(int displayedEpisode, int episodeIndex, int partIndex, int partCount)
{
    if (displayedEpisode == episodeIndex)
        return std::clamp(partIndex, 0, partCount);
    if (displayedEpisode < episodeIndex)
        return std::max(partCount - 1, 0);
    return 0;
}

MainModeMapState::MainModeMapState(MainMode* mode) : mode(mode)
{
    // Tools that build only the map's scene run without an interface.
    if (!VQ::UIManager::exists())
        return;
    buyHeart = std::make_unique<BuyHeartWindow>(mode);
    requestsWindow = std::make_unique<FacebookRequestWnd>();
    requestsWindow->addListener(this);
    helpFriendsWindow = std::make_unique<HelpRandomFriendsWnd>();
    everydayBonus = std::make_unique<EverydayBonusWindow>();
    everydayBonus->addListener(this);
}

MainModeMapState::~MainModeMapState()
{
    buyHeart.reset();
    requestsWindow.reset();
    helpFriendsWindow.reset();
    everydayBonus.reset();
    unload();
    partViews.clear();
}

void MainModeMapState::initializeAsync()
{
    VQ::log("void MainModeMapState::initializeAsync() -begin");
    VQ::JobManager::instance()
        ->addJob(std::make_unique<VQ::Function<MainModeMapState>>(this, &MainModeMapState::build))
        ->start();
    VQ::log("void MainModeMapState::initializeAsync() -end");
}

void MainModeMapState::build()
{
    if (isLoaded())
        return;
    // 1. The per-build windows and a clean slate for the animations.
    flightTime = 0.0f;
    mapMenu = new MapMenuWindow();
    mapMenu->addListener(this);
    socialTimer = 0.0f;
    hoveredLevel = nullptr;
    gateState = 0;
    gateMarker = nullptr;
    prevEpisodeButton.reset();
    nextEpisodeButton.reset();
    pendingEpisode = -1;
    blockerMessage = new BlockerMessageWindow();
    AE::dumpScenes();
    walkState = 0;
    awaitedMarker = nullptr;

    // 2, 3. The episode to show.
    mode->updatePosition();
    if (mode->episodes.empty())
        return;
    const int episodeCount = static_cast<int>(mode->episodes.size());
    if (displayedEpisode < 0 || displayedEpisode >= episodeCount)
        displayedEpisode = std::clamp(mode->episodeIndex, 0, episodeCount - 1);
    episode = mode->episodes[displayedEpisode];
    if (displayedEpisode > 0 && !episode->parts.empty() && episode->parts.front()->locked &&
        MainMode::isEpisodeCompleted(*mode->episodes[displayedEpisode - 1]) && Store::exists() && profile() &&
        Store::instance()->blockerStarPrice(episode->parts.front()->id) <= profile()->totalStars()) {
        --displayedEpisode;
        episode = mode->episodes[displayedEpisode];
    }

    buildEpisodeScene();

    // 14, 15, 16. Commands, then the interface that calls them.
    registerCommands();
    mapInterface = VQ::UIManager::instance()->loadUI("map_interface_ui", "MapInterface", nullptr, "default");
    mapInterface->show();
    VQ::UIWidget* gui = mapInterface->name == "gui" ? mapInterface : mapInterface->findChild("gui");
    auto* host = dynamic_cast<VQ::UISceneNode*>(gui);
    guiScene = host ? host->node : nullptr;
    if (!guiScene)
        VQ::log("ERROR: MainModeMapState: the map interface has no scene 'gui'");
    if (guiScene)
        guiScene->stop(true);
    topPanel = guiScene ? guiScene->findNode("top_panel") : nullptr;
    timeText = findText(guiScene, "#timeText");
    heartText = findText(guiScene, "#heartText");
    silverText = findText(guiScene, "#silver");
    goldText = findText(guiScene, "#gold");
    starsText = findText(guiScene, "#stars");

    // 17. Where the figure stands.
    selectedPart = mode->partIndex;
    selectedLevel = mode->levelIndex;
    if (playerLevel == -1) {
        playerPart = mode->partIndex;
        playerLevel = mode->levelIndex;
        if (autoAdvance)
            --playerLevel;
    }

    // 18, 19, 20. Layout and camera, the banners.
    applyOrientation(GameStateManager::exists() && GameStateManager::instance()->isPortrait());
    placeCamera();
    AE::convertMeshNodes(episodeScene);
    updateCamera(0.0f);

    // 21, 22, 23, 24, 25.
    silverIcon = guiScene ? guiScene->findNode("#silverIcon") : nullptr;
    starIcon = guiScene ? guiScene->findNode("#starIcon") : nullptr;
    for (AE::ISceneNode* award : {starAward, silverAward}) {
        if (!award)
            continue;
        award->visible = false;
        award->setEnabled(false);
    }
    if (PlayerProfile* player = profile())
        setCounters(player->silver - pendingSilver, player->totalStars() - pendingStars);
    ownPhotoShown = friendsShown = false;
    if (socialLoggedIn() && requestsWindow && !requestsWindow->empty() && guiScene)
        if (AE::Marker* scroll = guiScene->getMarker("scroll_open")) {
            scroll->setReverse(false);
            scroll->start(true);
        }
    actionPanel = guiScene ? guiScene->findNode("#action_panel") : nullptr;
    actionTitle = findText(guiScene, "#action_title");
    actionTime = findText(guiScene, "#action_time");
    holidayPurchase = new HolidayPurchaseWindow();

    // 26. The signposts to the other episodes.
    if (AE::ISceneNode* next = episodeScene->findNode("@nextEpisode")) {
        nextEpisodeButton = std::make_unique<MapButton>(next, MapButton::REGULAR, this);
        startMarkerIfPresent(next, "regular");
    }
    if (AE::ISceneNode* prev = episodeScene->findNode("@prevEpisode")) {
        prevEpisodeButton = std::make_unique<MapButton>(prev, MapButton::REGULAR, this);
        startMarkerIfPresent(prev, "regular");
    }
    setLoaded(true);
}

void MainModeMapState::buildEpisodeScene()
{
    // 4, 5, 6. The map scene, the awards in it, its "init".
    episodeScene = AE::loadScene(episode->mapScene);
    if (!episodeScene) {
        VQ::log(VQ::formatString("ERROR: MainModeMapState: can't load the map '%s'", episode->mapScene.c_str()));
        episodeScene = new AE::ISceneNode();
        AE::registerScene(episodeScene);
    }
    AE::ISceneNode::update(episodeScene, 0.0f);
    starAward = AE::loadScene("award_star_xml");
    silverAward = AE::loadScene("award_silver_xml");
    for (AE::ISceneNode* award : {starAward, silverAward}) {
        if (!award)
            continue;
        award->stop(true);
        episodeScene->addChild(award, false);
    }
    if (AE::Marker* init = episodeScene->requireMarker("init"))
        init->start(true);

    // 7. Level medallions.
    buildLevelButtons();

    // 8. The camera.
    cameraNode = dynamic_cast<AE::MovieCamera*>(episodeScene->findNode("#camera"));
    if (!cameraNode)
        VQ::log(VQ::formatString("ERROR: MainModeMapState: the map '%s' has no '#camera'", episode->mapScene.c_str()));
    episodeScene->activeCamera = cameraNode;
    readCameraBounds();

    // 9. The lantern-bearer.
    playerScene = AE::loadScene("player_scene_xml");
    if (playerScene) {
        startMarkerIfPresent(playerScene, "init");
        episodeScene->addChild(playerScene, true);
    }
    AE::ISceneNode::update(episodeScene, 0.0f);

    // 10, 11, 12, 13. Gates, the buttons' looks, the camera, the lit road.
    buildBlockers();
    refreshLevelButtons();
    camera.reset();
    startOpenMarkers();
}

void MainModeMapState::buildLevelButtons()
{
    partViews.clear();
    AE::ISceneNode* templateScene = AE::loadScene("level_scene_xml");
    AE::ISceneNode* templateNode = templateScene ? templateScene->findNode("level") : nullptr;
    if (!templateNode)
        VQ::log("ERROR: MainModeMapState: 'level_scene_xml' has no node 'level'");
    else
        templateNode->stop(true);
    for (PartInfo* part : episode->parts) {
        MapPartView view;
        view.part = part;
        for (const LevelInfo* level : part->levels) {
            const std::string place = VQ::formatString("#%s", level->file.c_str());
            AE::ISceneNode* placeholder = episodeScene->findNode(place);
            AE::ISceneNode* button = nullptr;
            if (!placeholder || !placeholder->parent) {
                // One slot per level all the same, so that level indices
                // keep naming the right medallion.
                VQ::log(VQ::formatString("ERROR: MainModeMapState: the map '%s' has no place '%s'",
                                         episode->mapScene.c_str(), place.c_str()));
            } else if (templateNode) {
                button = replacePlaceholder(placeholder, *templateNode);
                startMarkerIfPresent(button, "init");
            }
            view.levelNodes.push_back(button);
        }
        partViews.push_back(view);
    }
    if (displayedEpisode + 1 < static_cast<int>(mode->episodes.size()) &&
        !mode->episodes[displayedEpisode + 1]->parts.empty())
        partViews.push_back({{}, nullptr, mode->episodes[displayedEpisode + 1]->parts.front()});
    delete templateScene;
}

void MainModeMapState::buildBlockers()
{
    AE::ISceneNode* gate = AE::loadScene("blocker_scene_xml");
    for (size_t k = 0; k < partViews.size(); ++k) {
        AE::ISceneNode* placeholder = episodeScene->findNode(VQ::formatString("#blocker:%d", static_cast<int>(k)));
        if (!placeholder || !placeholder->parent || !gate)
            continue;
        partViews[k].blocker = replacePlaceholder(placeholder, *gate);
    }
    delete gate;
}

void MainModeMapState::startOpenMarkers()
{
    const int count = openMarkerCount(displayedEpisode, mode->episodeIndex, mode->partIndex,
                                      static_cast<int>(episode->parts.size()));
    for (int i = 0; i < count; ++i)
        if (!episode->parts[i]->openMarker.empty())
            startMarkerIfPresent(episodeScene, episode->parts[i]->openMarker);
}

void MainModeMapState::registerCommands()
{
    VQ::LexBindedFunctionManager* functions = VQ::LexBindedFunctionManager::instance();
    functions->registerFunction("showMenu", std::make_unique<Binder>(this, &MainModeMapState::showMenu));
    functions->registerFunction("showMail", std::make_unique<Binder>(this, &MainModeMapState::showMail));
    functions->registerFunction("showBuyGoldWindow",
                                std::make_unique<Binder>(this, &MainModeMapState::showBuyGoldWindow));
    functions->registerFunction("showBuySilverWindow",
                                std::make_unique<Binder>(this, &MainModeMapState::showBuySilverWindow));
    functions->registerFunction("showBuyStarsWindow",
                                std::make_unique<Binder>(this, &MainModeMapState::showBuyStarsWindow));
    functions->registerFunction("buyHolidayPurchase",
                                std::make_unique<Binder>(this, &MainModeMapState::buyHolidayPurchase));
}

void MainModeMapState::unregisterCommands()
{
    if (!VQ::LexBindedFunctionManager::exists())
        return;
    for (const char* name : COMMANDS)
        VQ::LexBindedFunctionManager::instance()->unregisterFunction(name);
}

void MainModeMapState::unload()
{
    if (!isLoaded())
        return;
    unregisterCommands();
    if (cameraNode)
        cameraPosition = {cameraNode->posX, cameraNode->posY};
    delete episodeScene;
    episodeScene = playerScene = nullptr;
    starAward = silverAward = nullptr;
    hoveredLevel = nullptr;
    awaitedMarker = gateMarker = nullptr;
    if (VQ::UIManager::exists())
        VQ::UIManager::instance()->removeRoot(mapInterface);
    mapInterface = nullptr;
    guiScene = topPanel = actionPanel = silverIcon = starIcon = nullptr;
    timeText = heartText = silverText = goldText = starsText = actionTitle = actionTime = nullptr;
    partViews.clear();
    cameraNode = nullptr;
    // The buttons' nodes went with the scene.
    prevEpisodeButton.reset();
    nextEpisodeButton.reset();
    // The dialog manager deletes marked windows at its next update; the
    // map never touches them again.
    for (DialogWindow* window : {static_cast<DialogWindow*>(holidayPurchase), static_cast<DialogWindow*>(mapMenu),
                                 static_cast<DialogWindow*>(blockerMessage)})
        if (window)
            window->removalMark = true;
    holidayPurchase = nullptr;
    mapMenu = nullptr;
    blockerMessage = nullptr;
    setLoaded(false);
    if (Store::exists()) {
        Store::instance()->clearOffers();
        Store::instance()->clearProducts();
    }
}

void MainModeMapState::update(float dt)
{
    if (!isLoaded())
        return;
    // 1. Social decorations.
    socialTimer -= dt;
    if (socialTimer <= 0.0f) {
        refreshSocial();
        socialTimer = SOCIAL_REFRESH_SECONDS;
    }
    // 2 - 5.
    AE::ISceneNode::update(episodeScene, dt);
    while (walkPending) {
        const bool before = walkPending;
        beginWalk();
        if (walkPending == before)
            break;
    }
    checkGate();
    updateAwards(dt);
    // 6. The offer to help friends, once.
    if (helpFriendsWindow && socialLoggedIn() && !helpFriendsShown && profile() &&
        profile()->daysSinceCreation() > 1) {
        helpFriendsWindow->open();
        helpFriendsShown = true;
    }
    // 7. Input, unless a window holds it.
    const bool windowActive = DialogWindowManager::exists() && DialogWindowManager::instance()->hasActiveWindow();
    if (!windowActive) {
        updateWalk(dt);
        updateGate(dt);
        if (camera.dragging)
            updateCamera(dt);
        else if (!handleMapInput())
            updateCamera(dt);
    }
    // 8. Counters, unless the awards count them up.
    if (!awardFlight)
        if (PlayerProfile* player = profile())
            setCounters(player->silver, player->totalStars());
    // 9. Escape opens the map menu on its release.
    bool escapeReleased = false;
    if (VQ::InputManager* input = VQ::InputManager::instancePtr())
        if (VQ::KeyboardDevice* keyboard = input->keyboard())
            escapeReleased = (keyboard->previous[VQ::VirtualKey::ESCAPE] & 0x80) != 0 &&
                             (keyboard->current[VQ::VirtualKey::ESCAPE] & 0x80) == 0;
    const bool lesson = TutorialRegistry::exists() && TutorialRegistry::instance()->isLessonActive();
    if (escapeReleased && !lesson && idle())
        showMenu();
    // 10. The signposts; a click only records the wanted episode.
    if (nextEpisodeButton)
        nextEpisodeButton->update();
    if (prevEpisodeButton)
        prevEpisodeButton->update();
    if (pendingEpisode >= 0)
        stepEpisode(std::exchange(pendingEpisode, -1));
}

void MainModeMapState::draw()
{
    if (!isLoaded())
        return;
    AE::renderScene(episodeScene);
    if (topPanel && DialogWindowManager::exists() && DialogWindowManager::instance()->hasActiveWindow())
        AE::renderScene(topPanel);
    VQ::UIManager::instance()->render();
}

void MainModeMapState::setCounters(int silver, int stars)
{
    setNumber(silverText, silver);
    setNumber(starsText, stars);
}

// --- Commands ---

void MainModeMapState::showMenu()
{
    if (idle() && mapMenu)
        mapMenu->open();
}

void MainModeMapState::showMail()
{
    if (requestsWindow && socialLoggedIn() && !requestsWindow->empty())
        requestsWindow->show(true);
}

namespace {

void openShop(int kind)
{
    if (BuyValutaWindowSingleton::exists())
        BuyValutaWindowSingleton::instance()->open(kind, true);
}

}  // namespace

void MainModeMapState::showBuyGoldWindow()
{
    openShop(CURRENCY_GOLD);
}

void MainModeMapState::showBuySilverWindow()
{
    openShop(CURRENCY_SILVER);
}

void MainModeMapState::showBuyStarsWindow()
{
    openShop(CURRENCY_STARS);
}

void MainModeMapState::buyHolidayPurchase()
{
    // Without its panel there is no offer on show to buy.
    if (actionPanel && actionPanel->visible && actionPanel->enabled && holidayPurchase)
        holidayPurchase->show(false);
}

// --- Windows and buttons ---

void MainModeMapState::onHidden(DialogWindow* window)
{
    if (window == mapMenu && mapMenu) {
        if (mapMenu->result == 0 && GameStateManager::exists())
            GameStateManager::instance()->setState("MainMenu");
    } else if (window == requestsWindow.get()) {
        setMailScroll(requestsWindow->empty());
    } else if (window == buyHeart.get()) {
        openLevelWindow(selectedPart, selectedLevel);
    } else if (window == everydayBonus.get()) {
        grantEverydayBonus();
    } else if (window == mode->playLevelWindow && mode->playLevelWindow) {
        if (mode->playLevelWindow->result == PlayLevelWindow::PLAY && selectedLevel != -1)
            mode->selectLevel(displayedEpisode, selectedPart, selectedLevel);
    }
}

void MainModeMapState::grantEverydayBonus()
{
    PlayerProfile* player = profile();
    if (!player || !Store::exists())
        return;
    for (const CurrencyAmount& reward : Store::instance()->everydayBonusReward(player->everydayBonusDay)) {
        if (reward.kind == CURRENCY_SILVER) {
            player->silver = std::max(0, player->silver + reward.amount);
            if (ProgressSaver::exists())
                ProgressSaver::instance()->saveNow();
            startMarkerIfPresent(guiScene, "getSilver");
        } else if (reward.kind == CURRENCY_GOLD) {
            player->setGold(player->gold + reward.amount);
            startMarkerIfPresent(guiScene, "getGold");
        }
    }
    if (GameProperties::exists())
        GameProperties::instance()->save();
}

void MainModeMapState::onButtonClicked(MapButton* button)
{
    const int episodeCount = static_cast<int>(mode->episodes.size());
    if (button == prevEpisodeButton.get()) {
        cameraJump = 2;
        if (displayedEpisode > 0)
            pendingEpisode = displayedEpisode - 1;
    } else if (button == nextEpisodeButton.get()) {
        cameraJump = 1;
        if (displayedEpisode + 1 < episodeCount)
            pendingEpisode = displayedEpisode + 1;
    }
}

void MainModeMapState::stepEpisode(int index)
{
    playerPart = playerLevel = -1;
    cameraPosition = {0.0f, 0.0f};
    displayedEpisode = index;
    onDeactivate();
    onActivate();
}

void MainModeMapState::onMarkerFinished(AE::Marker* marker)
{
    if (marker == awaitedMarker) {
        marker->removeListener(this);
        awaitedMarker = nullptr;
    } else if (marker && marker == gateMarker) {
        if (gateState == 4) {
            if (AE::ISceneNode* end = episodeScene ? episodeScene->findNode("#episodeEnd") : nullptr)
                figureTarget = end->worldPosition;
            walkState = 3;
            gateState = 0;
            autoAdvance = false;
        } else {
            gateState = 3;
        }
    }
}

// --- Walk, gate and awards ---

VQ::Vector2f MainModeMapState::userPoint(int part, int level, VQ::Vector2f fallback) const
{
    AE::ISceneNode* node = levelNode(part, level);
    AE::ISceneNode* user = node ? node->findNode("#user") : nullptr;
    return user ? user->worldPosition : fallback;
}

VQ::Vector2f MainModeMapState::mapPoint(VQ::Vector2f workspace) const
{
    return mapPointUnder(cameraNode, sceneSize(), workspace);
}

bool MainModeMapState::panCamera(float dt)
{
    walkTime = std::max(walkTime - dt, 0.0f);
    const VQ::Vector2f at = cameraTarget - (cameraTarget - cameraPosition) * (walkTime / WALK_SECONDS);
    if (cameraNode) {
        cameraNode->setPosition(at);
        cameraNode->view.position = VQ::Vector2f(-at.x, -at.y);
    }
    return walkTime == 0.0f;
}

void MainModeMapState::beginWalk()
{
    if (walkState != 0 || displayedEpisode != mode->episodeIndex)
        return;
    walkPending = false;
    const PartInfo* part = playerPart >= 0 && playerPart < static_cast<int>(partViews.size()) ? partViews[playerPart].part
                                                                                             : nullptr;
    const bool nextDone = part && playerLevel + 1 < static_cast<int>(part->levels.size()) &&
                          part->levels[playerLevel + 1]->completed;
    if (!walkToNewLevel || nextDone) {
        walkState = 4;
        return;
    }
    const int current = mode->partIndex;
    if (current >= 0 && current < static_cast<int>(partViews.size()) && partViews[current].part &&
        partViews[current].part->locked)
        return;
    AE::ISceneNode* target = levelNode(current, mode->levelIndex);
    if (!target || !target->getMarker("show")) {
        // Nowhere to walk to on this map: the figure stays.
        walkToNewLevel = false;
        walkState = 4;
        return;
    }
    walkToNewLevel = false;
    walkTime = WALK_SECONDS;
    walkState = 1;
    if (cameraNode)
        cameraPosition = VQ::Vector2f(cameraNode->posX, cameraNode->posY);
    figureStart = userPoint(playerPart, playerLevel, figureStart);
    if (playerScene)
        playerScene->setWorldPosition(figureStart);
    cameraTarget = cameraTargetForLevel(current, mode->levelIndex);
    figureTarget = userPoint(current, mode->levelIndex, figureStart);
    skipMarkerToEnd(target, "disable");
    awaitedMarker = target->getMarker("show");
    startMarkerIfPresent(levelNode(playerPart, playerLevel), "select");
}

void MainModeMapState::updateWalk(float dt)
{
    switch (walkState) {
    case 1:
        if (awardFlight)
            return;
        if (panCamera(dt)) {
            camera.settling = true;
            walkState = 2;
            if (awaitedMarker) {
                awaitedMarker->addListener(this);
                awaitedMarker->start(true);
            }
        }
        return;
    case 2:
        if (awaitedMarker)
            return;
        startMarkerIfPresent(levelNode(playerPart, playerLevel), "unselect");
        startMarkerIfPresent(levelNode(mode->partIndex, mode->levelIndex), "select");
        walkTime = WALK_SECONDS;
        walkState = 3;
        startMarkerIfPresent(playerScene, "move");
        return;
    case 3: {
        walkTime = std::max(walkTime - dt, 0.0f);
        if (playerScene)
            playerScene->setWorldPosition(figureTarget - (figureTarget - figureStart) * (walkTime / WALK_SECONDS));
        if (walkTime == 0.0f) {
            walkState = 4;
            figureStart = figureTarget;
        }
        return;
    }
    case 4: {
        walkState = 0;
        if (!autoAdvance)
            return;
        int part = playerPart;
        int level = playerLevel + 1;
        if (part < 0 || part >= static_cast<int>(partViews.size()) || !partViews[part].part ||
            level >= static_cast<int>(partViews[part].part->levels.size())) {
            ++part;
            level = 0;
        }
        if (part >= static_cast<int>(partViews.size())) {
            autoAdvance = false;
            return;
        }
        openLevelWindow(part, level);
        return;
    }
    default:
        return;
    }
}

void MainModeMapState::checkGate()
{
    if (gateState != 0 || partViews.empty())
        return;
    PlayerProfile* player = profile();
    const int stars = player ? player->totalStars() : 0;
    auto affordable = [&](const PartInfo* part) {
        return part && part->locked && Store::exists() && Store::instance()->blockerStarPrice(part->id) <= stars;
    };
    if (displayedEpisode == mode->episodeIndex) {
        const int current = mode->partIndex;
        if (current < 0 || current >= static_cast<int>(partViews.size()) || !affordable(partViews[current].part))
            return;
        gateState = 1;
        if (cameraNode)
            cameraPosition = VQ::Vector2f(cameraNode->posX, cameraNode->posY);
        const VQ::Vector2f scene = sceneSize();
        const VQ::Vector2f zoom = cameraNode ? VQ::Vector2f(cameraNode->scaleX != 0.0f ? cameraNode->scaleX : 1.0f,
                                                            cameraNode->scaleY != 0.0f ? cameraNode->scaleY : 1.0f)
                                             : VQ::Vector2f(1.0f, 1.0f);
        const AE::ISceneNode* blocker = partViews[current].blocker;
        const VQ::Vector2f at = blocker ? blocker->worldPosition : cameraPosition;
        cameraTarget = camera.clampToBounds(
            VQ::Vector2f(at.x - scene.x / 2.0f / zoom.x, at.y - scene.y / 2.0f / zoom.y));
        walkTime = WALK_SECONDS;
        return;
    }
    MapPartView& last = partViews.back();
    if (!affordable(last.part))
        return;
    last.part->locked = false;
    AE::Marker* open = last.blocker ? last.blocker->getMarker("open") : nullptr;
    if (!open)
        return;
    if (displayedEpisode + 1 >= static_cast<int>(mode->episodes.size())) {
        open->start(true);
        return;
    }
    gateMarker = open;
    open->addListener(this);
    open->start(true);
    gateState = 4;
}

void MainModeMapState::updateGate(float dt)
{
    if (gateState == 1) {
        if (!panCamera(dt))
            return;
        camera.settling = true;
        gateState = 2;
        const int current = mode->partIndex;
        AE::ISceneNode* blocker =
            current >= 0 && current < static_cast<int>(partViews.size()) ? partViews[current].blocker : nullptr;
        gateMarker = blocker ? blocker->getMarker("open") : nullptr;
        if (!gateMarker) {
            // A gate that cannot play its opening opens at once.
            gateState = 3;
            return;
        }
        gateMarker->addListener(this);
        gateMarker->start(true);
    } else if (gateState == 3) {
        gateState = 0;
        playerPart = std::max(mode->partIndex - 1, 0);
        playerLevel = playerPart < static_cast<int>(partViews.size()) && partViews[playerPart].part
                          ? static_cast<int>(partViews[playerPart].part->levels.size()) - 1
                          : 0;
        if (mode->partIndex >= 0 && mode->partIndex < static_cast<int>(partViews.size()) &&
            partViews[mode->partIndex].part)
            partViews[mode->partIndex].part->locked = false;
        if (gateMarker)
            gateMarker->removeListener(this);
        gateMarker = nullptr;
        walkToNewLevel = true;
        beginWalk();
    }
}

void MainModeMapState::updateAwards(float dt)
{
    if (!awardFlight)
        return;
    if (flightDelay > 0.0f) {
        flightDelay -= dt;
        return;
    }
    PlayerProfile* player = profile();
    if (flightTime > 0.0f) {
        flightTime = std::max(flightTime - dt, 0.0f);
        const bool star = starAward && starAward->enabled;
        AE::ISceneNode* award = star ? starAward : silverAward;
        AE::ISceneNode* icon = star ? starIcon : silverIcon;
        AE::ISceneNode* button = levelNode(playerPart, playerLevel);
        AE::ISceneNode* center = button ? button->findNode("#center") : nullptr;
        if (award && icon && center) {
            const VQ::Vector2f start = center->worldPosition;
            const VQ::Vector2f end = mapPoint(icon->worldPosition);
            award->setWorldPosition(end - (end - start) * (flightTime / FLIGHT_SECONDS));
        }
        return;
    }
    if (starAward && starAward->enabled)
        startMarkerIfPresent(guiScene, "getStar");
    else if (silverAward && silverAward->enabled)
        startMarkerIfPresent(guiScene, "getSilver");
    for (AE::ISceneNode* award : {starAward, silverAward})
        if (award)
            award->setEnabled(false);
    if (player)
        setCounters(player->silver - pendingSilver, player->totalStars() - pendingStars);
    if (pendingStars >= 1) {
        --pendingStars;
        if (starAward) {
            startMarkerIfPresent(starAward, "init");
            starAward->setEnabled(true);
        }
        flightTime = FLIGHT_SECONDS;
    } else if (pendingSilver >= 1) {
        flightDelay = SILVER_DELAY;
        pendingSilver = 0;
        if (silverAward) {
            startMarkerIfPresent(silverAward, "init");
            silverAward->setEnabled(true);
        }
        flightTime = FLIGHT_SECONDS;
    } else {
        awardFlight = false;
    }
}

void MainModeMapState::setMailScroll(bool empty)
{
    AE::Marker* scroll = guiScene ? guiScene->getMarker("scroll_open") : nullptr;
    if (!scroll || scroll->reverse == empty)
        return;
    scroll->setReverse(empty);
    scroll->start(false);
}

void MainModeMapState::onRequestsChanged(const std::vector<SocialRequest>& requests)
{
    if (requestsWindow)
        requestsWindow->setRequests(requests);
    if (isLoaded())
        setMailScroll(requests.empty());
}

// --- Social ---

void MainModeMapState::refreshSocial()
{
    if (!isLoaded())
        return;
    if (requestsWindow)
        requestsWindow->refreshPhotos();
    if (helpFriendsWindow)
        helpFriendsWindow->refreshPhotos();
    // The offline social layer has no user photo: the figure keeps its frame.
    ownPhotoShown = false;
    for (const MapPartView& view : partViews)
        for (AE::ISceneNode* node : view.levelNodes)
            if (node)
                showFriendsAtLevel(node);
    friendsShown = true;
}

void MainModeMapState::showFriendsAtLevel(AE::ISceneNode* node)
{
    AE::ISceneNode* slots[3] = {node->findNode("#portret"), node->findNode("#portret1"), node->findNode("#portret2")};
    if (!slots[0] || !slots[1] || !slots[2])
        return;
    const size_t friends = std::min<size_t>(mode->friendsWithoutValue().size(), 3);
    for (size_t i = 0; i < 3; ++i)
        slots[i]->setEnabled(i < friends);
    if (AE::ISceneNode* roller = node->findNode("#roller"))
        roller->setEnabled(friends > 1);
}

// --- Level buttons ---

AE::ISceneNode* MainModeMapState::levelNode(int part, int level) const
{
    if (part < 0 || part >= static_cast<int>(partViews.size()))
        return nullptr;
    const std::vector<AE::ISceneNode*>& nodes = partViews[part].levelNodes;
    if (level < 0 || level >= static_cast<int>(nodes.size()))
        return nullptr;
    return nodes[level];
}

void MainModeMapState::refreshLevelButtons()
{
    // 1. Gates with their prices; an opened one shows its open end.
    for (const MapPartView& view : partViews) {
        if (!view.blocker || !view.part)
            continue;
        const int price = Store::exists() ? Store::instance()->blockerStarPrice(view.part->id) : 0;
        setNumber(findText(view.blocker, "#stars"), price);
        startMarkerIfPresent(view.blocker, "init");
        if (!view.part->locked)
            skipMarkerToEnd(view.blocker, "open");
    }
    // 2. Each medallion: stars, locked or open, and its title.
    for (const MapPartView& view : partViews) {
        for (size_t j = 0; j < view.levelNodes.size(); ++j) {
            AE::ISceneNode* button = view.levelNodes[j];
            if (!button || j >= view.part->levels.size())
                continue;
            const LevelInfo& level = *view.part->levels[j];
            if (AE::Marker* select = button->getMarker("select")) {
                select->start(true);
                select->stop(true);
            }
            const int look = levelLook(*view.part, j);
            if (look >= 0) {
                if (AE::Marker* stars = button->requireMarker(VQ::formatString("star%d", look)))
                    stars->start(true);
            } else if (look == LEVEL_LOCKED) {
                startMarkerIfPresent(button, "disable");
            } else {
                skipMarkerToEnd(button, "show");
            }
            if (auto* text = dynamic_cast<AE::TextSceneNode*>(button->findNode("text"))) {
                text->rawText = VQ::utf8ToWide(level.title);
                text->localized = level.titleIsKey;
                text->updateText();
            }
        }
    }
    if (!playerScene)
        return;
    // 3, 4, 5. The figure: on the current episode at the level reached;
    // on the episode before it, waiting at the gate into it.
    const bool current = displayedEpisode == mode->episodeIndex;
    playerScene->setEnabled(current);
    if (current) {
        AE::ISceneNode* figureButton = nullptr;
        const int part = mode->partIndex;
        if (part > 0 && part < static_cast<int>(partViews.size()) && partViews[part].part->locked &&
            !partViews[part - 1].levelNodes.empty())
            figureButton = partViews[part - 1].levelNodes.back();
        else
            figureButton = levelNode(part, mode->levelIndex);
        if (figureButton && !walkPending) {
            startMarkerIfPresent(figureButton, "select");
            if (AE::ISceneNode* user = figureButton->findNode("#user"))
                figureStart = user->worldPosition;
        }
        playerScene->setWorldPosition(figureStart);
        walkTime = 0.0f;
        walkState = 0;
        awaitedMarker = nullptr;
        gateMarker = nullptr;
        gateState = 0;
    } else if (displayedEpisode + 1 == mode->episodeIndex && mode->episodeIndex < static_cast<int>(mode->episodes.size()) &&
               !mode->episodes[mode->episodeIndex]->parts.empty() &&
               mode->episodes[mode->episodeIndex]->parts.front()->locked) {
        playerScene->setEnabled(true);
        AE::ISceneNode* last = nullptr;
        for (const MapPartView& view : partViews)
            if (view.part && !view.levelNodes.empty() && view.levelNodes.back())
                last = view.levelNodes.back();
        if (last)
            if (AE::ISceneNode* user = last->findNode("#user"))
                playerScene->setWorldPosition(user->worldPosition);
    }
}

bool levelHoverable(const PartInfo& part, size_t index)
{
    return !part.locked && (index == 0 || part.levels[index - 1]->completed);
}

bool levelClickOpens(const PartInfo& part, size_t index, int currentLevel)
{
    return part.levels[index]->completed || (!part.locked && static_cast<int>(index) <= currentLevel);
}

bool MainModeMapState::handleMapInput()
{
    VQ::InputManager* input = VQ::InputManager::instancePtr();
    VQ::MouseDevice* mouse = input ? input->mouse() : nullptr;
    if (!mouse || camera.inertia || walkState != 0 || awaitedMarker)
        return false;
    if (DialogWindowManager::exists() && DialogWindowManager::instance()->hasActiveWindow())
        return false;
    const VQ::Vector2f pointer = input->cursorPosition();
    if (guiScene && guiScene->hitTest(pointer.x, pointer.y, false))
        return false;
    const bool down = (mouse->left & 0x80) != 0;
    const bool click = !down && (mouse->previousLeft & 0x80) != 0;
    const VQ::Vector2f m = mapPointUnder(cameraNode, sceneSize(), pointer);

    // Hover: the open medallions light up under the mouse.
    if (!hoveredLevel) {
        for (const MapPartView& view : partViews) {
            if (!view.part || view.part->locked)
                break;
            for (size_t j = 0; j < view.levelNodes.size() && j < view.part->levels.size(); ++j) {
                if (!levelHoverable(*view.part, j))
                    break;
                AE::ISceneNode* node = view.levelNodes[j];
                if (node && node->hitTest(m.x, m.y, true)) {
                    hoveredLevel = node;
                    startMarkerIfPresent(node, "onSelect");
                    break;
                }
            }
            if (hoveredLevel)
                break;
        }
    } else if (!hoveredLevel->hitTest(m.x, m.y, true)) {
        hoveredLevel->stopMarkers(true, false);
        startMarkerIfPresent(hoveredLevel, "onRegular");
        hoveredLevel = nullptr;
    }

    if (!down && !click)
        return false;
    for (size_t k = 0; k < partViews.size(); ++k) {
        const MapPartView& view = partViews[k];
        if (!view.part)
            continue;
        if (view.part->locked && k > 0 && view.blocker && partViews[k - 1].part &&
            MainMode::isPartCompleted(*partViews[k - 1].part) && view.blocker->hitTest(m.x, m.y, true)) {
            if (click && blockerMessage)
                blockerMessage->show(true);
            return true;
        }
        for (AE::ISceneNode* node : view.levelNodes) {
            AE::ISceneNode* roller = node ? node->findNode("#roller") : nullptr;
            if (roller && roller->enabled && roller->hitTest(m.x, m.y, true)) {
                if (click && roller->worldColor.a > 199)
                    startMarkerIfPresent(node, "expand");
                return true;
            }
        }
        for (size_t j = 0; j < view.levelNodes.size() && j < view.part->levels.size(); ++j) {
            AE::ISceneNode* node = view.levelNodes[j];
            if (!node || !node->hitTest(m.x, m.y, true))
                continue;
            if (click && levelClickOpens(*view.part, j, mode->levelIndex))
                openLevelWindow(static_cast<int>(k), static_cast<int>(j));
            return true;
        }
        if (view.part->locked)
            return false;
    }
    return false;
}

void MainModeMapState::openLevelWindow(int part, int level)
{
    selectedPart = part;
    selectedLevel = level;
    if (mode->playLevelWindow)
        mode->playLevelWindow->open(mode->levelAt(displayedEpisode, part, level), false);
    playerPart = part;
    playerLevel = level;
}

// --- Camera ---

void MainModeMapState::readCameraBounds()
{
    camera.orientationBounds[0] = camera.orientationBounds[1] = CameraBounds();
    camera.overscroll = {0.0f, 0.0f};
    if (!cameraNode)
        return;
    for (const auto& marker : cameraNode->markers)
        camera.readMarker(marker->name);
}

void MainModeMapState::applyOrientation(bool portrait)
{
    if (auto* host = dynamic_cast<VQ::UISceneNode*>(mapInterface))
        applySceneNodeLayout(host->node);
    if (mapInterface)
        for (VQ::UIWidget* child : mapInterface->children)
            applyWidgetLayout(child);
    if (episodeScene)
        applySceneNodeLayout(episodeScene);
    const VQ::WorkspaceViewport viewport =
        VQ::RenderSystem::exists() ? VQ::RenderSystem::instance()->workspaceViewport() : VQ::WorkspaceViewport();
    camera.applyBounds(portrait, sceneSize(), viewport);
    updateCamera(0.0f);
}

VQ::Vector2f MainModeMapState::cameraTargetForLevel(int part, int level) const
{
    const AE::ISceneNode* node = levelNode(part, level);
    if (!node)
        return camera.clampToBounds(cameraPosition);
    const VQ::Vector2f scene = sceneSize();
    const VQ::Vector2f zoom = cameraNode ? VQ::Vector2f(cameraNode->scaleX, cameraNode->scaleY) : VQ::Vector2f(1, 1);
    const VQ::Vector2f target(node->worldPosition.x - scene.x / 2.0f / (zoom.x != 0.0f ? zoom.x : 1.0f),
                              node->worldPosition.y - scene.y / 2.0f / (zoom.y != 0.0f ? zoom.y : 1.0f));
    return camera.clampToBounds(target);
}

void MainModeMapState::placeCamera()
{
    if (cameraPosition == VQ::Vector2f(0.0f, 0.0f)) {
        cameraPosition = cameraTargetForLevel(mode->partIndex, mode->levelIndex);
    } else if (cameraJump != 0) {
        const bool portrait = GameStateManager::exists() && GameStateManager::instance()->isPortrait();
        cameraPosition = camera.jumpPosition(cameraJump, portrait);
        cameraJump = 0;
    }
    // The orientation's settling ran before the camera was placed; a jump
    // puts it on a raw marker value, past its limits, and it must still
    // come back inside them.
    camera.settling = true;
    if (cameraNode) {
        cameraNode->setPosition(cameraPosition);
        cameraNode->view.position = VQ::Vector2f(-cameraPosition.x, -cameraPosition.y);
    }
}

void MainModeMapState::updateCamera(float dt)
{
    if (!cameraNode)
        return;
    CameraInput input;
    VQ::InputManager* manager = VQ::InputManager::instancePtr();
    if (VQ::MouseDevice* mouse = manager ? manager->mouse() : nullptr) {
        if (VQ::RenderSystem::exists()) {
            const VQ::Vector2<int32_t> at = VQ::RenderSystem::instance()->screenToWorkspace(mouse->x, mouse->y);
            input.pointer = {static_cast<float>(at.x), static_cast<float>(at.y)};
        }
        input.leftDown = (mouse->left & 0x80) != 0;
        input.leftWasDown = (mouse->previousLeft & 0x80) != 0;
        input.wheel = mouse->wheel;
    }
    input.guiHit = guiScene && guiScene->hitTest(input.pointer.x, input.pointer.y, false);
    input.episodeButtonActive = (nextEpisodeButton && nextEpisodeButton->state != MapButton::REGULAR) ||
                                (prevEpisodeButton && prevEpisodeButton->state != MapButton::REGULAR);
    input.inputAllowed = walkState == 0 && !awardFlight;
    input.walkIdle = walkState == 0;
    VQ::Vector2f position(cameraNode->posX, cameraNode->posY);
    if (!camera.update(position, dt, input))
        return;
    cameraNode->setPosition(position);
    // The camera stands at the scene's root: its view is its position, now
    // rather than after the scene's next update.
    cameraNode->view.position = VQ::Vector2f(-position.x, -position.y);
}
