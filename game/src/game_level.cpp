#include "game_level.h"

#include <algorithm>
#include <cmath>

#include "animationeditor/scene_node.h"
#include "animationeditor/scene_node_animation.h"
#include "dialogs/dialog_window_manager.h"
#include "fatal_error.h"
#include "function.h"
#include "game_field.h"
#include "game_field_renderer.h"
#include "game_helpers/game_helper.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/limit_helper.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "input_manager.h"
#include "job_manager.h"
#include "lex_binded_function_manager.h"
#include "log_system.h"
#include "mode.h"
#include "player_profile.h"
#include "scene_layout.h"
#include "sound_system/sound_manager.h"
#include "tutorial/tutorial_registry.h"
#include "ui/ui_manager.h"
#include "ui/ui_widget.h"

namespace {

constexpr const char* SHOW_INGAME_MENU = "showIngameMenu";
// The shaker's keys are drawn for 72 frames a second.
constexpr float SHAKER_FRAME_TIME = 1.0f / 72.0f;

bool isPortrait()
{
    return GameStateManager::exists() && GameStateManager::instance()->isPortrait();
}

// A scene the level cannot do without: missing content is fatal, naming it.
AE::ISceneNode* requireScene(const std::string& name)
{
    AE::ISceneNode* scene = AE::loadScene(name);
    if (!scene)
        VQ::assertFailed("VQ", VQ::formatString("The level cannot load the scene '%s'", name.c_str()), "GameLevel",
                         0);
    return scene;
}

AE::ISceneNode* requireNode(AE::ISceneNode* scene, const std::string& name)
{
    AE::ISceneNode* node = scene->findNode(name);
    if (!node)
        VQ::assertFailed("VQ",
                         VQ::formatString("The scene '%s' has no node '%s'", scene->name.c_str(), name.c_str()),
                         "GameLevel", 0);
    return node;
}

void layOut(AE::ISceneNode* scene)
{
    applySceneNodeLayout(scene);
}

bool dialogsActive()
{
    const DialogWindowManager* dialogs = DialogWindowManager::instancePtr();
    return dialogs && dialogs->hasActiveWindow();
}

float musicVolume()
{
    if (!GameProperties::exists() || !GameProperties::instance()->profile())
        return 1.0f;
    return GameProperties::instance()->profile()->musicVolume;
}

bool widgetLive(const VQ::UIWidget* widget)
{
    return widget->enabled && widget->visible && !widget->deleteMark;
}

}  // namespace

// --- MoveWarning ---

MoveWarning::MoveWarning(bool portrait) : portrait(portrait)
{
    scene.reset(AE::loadScene("move_warning_xml"));
    if (scene) {
        layOut(scene.get());
        scene->stop(true);
    }
}

MoveWarning::~MoveWarning() = default;

void MoveWarning::update()
{
    if (!scene || !limit || (goals && goals->isComplete()))
        return;
    const int left = limit->moves + limit->pendingMoves;
    if (left < 0 || left > 5 || left == lastShown)
        return;
    lastShown = left;
    if (AE::Marker* marker = scene->getMarker(std::to_string(left)))
        marker->start(true);
}

// --- GameLevel ---

GameLevel::~GameLevel()
{
    if (isLoaded() && mode)
        mode->onStateLeave("GameLevel");
    mode = nullptr;
    helpers.clear();
    unload();
}

void GameLevel::initializeAsync()
{
    VQ::log("void GameLevel::initializeAsync() -begin");
    VQ::JobManager::instance()->addJob(std::make_unique<VQ::Function<GameLevel>>(this, &GameLevel::loadBody))->start();
    VQ::log("void GameLevel::initializeAsync() -end");
}

void GameLevel::loadBody()
{
    shakeMarker = nullptr;
    VQ::log("Loading gamefield...");
    field = new GameField(this);
    renderer = new GameFieldRenderer(field);
    field->renderer = renderer;
    VQ::log("Loading gui...");
    moveWarning = std::make_unique<MoveWarning>(isPortrait());
    introProgress = 0.0f;
    introRunning = true;
    onActivate();
    needsLayout = true;
    setLoaded(true);
}

void GameLevel::onActivate()
{
    if (!isLoaded()) {
        VQ::LexBindedFunctionManager::instance()->registerFunction(
            SHOW_INGAME_MENU, std::make_unique<VQ::LexBinder<GameLevel>>(this, &GameLevel::showIngameMenu));
        if (!interfaceRoot) {
            interfaceRoot = VQ::UIManager::instance()->loadUI("ingame_interface_ui", "IngameInterface", nullptr,
                                                              "default");
            if (!interfaceRoot)
                VQ::assertFailed("VQ", "The level cannot build its interface 'ingame_interface_ui'", "GameLevel", 0);
            interfaceRoot->show();
            applyWidgetLayout(interfaceRoot);
        }
        for (int i = 0; i < GAME_LEVEL_EFFECT_COUNT; ++i)
            effectScenes[i].reset(requireScene(GAME_LEVEL_EFFECT_SCENES[i]));
    }
    currentEffectScene = nullptr;
    effectMarker = nullptr;
    busyCount = 0;
    if (!mode)
        return;
    mode->onStateEnter("GameLevel");
    if (moveWarning) {
        moveWarning->limit = dynamic_cast<MoveLimitHelper*>(mode->getHelper(1));
        moveWarning->lastShown =
            moveWarning->limit ? moveWarning->limit->moves + moveWarning->limit->pendingMoves : -1;
        moveWarning->goals = dynamic_cast<GoalsHelper*>(mode->getHelper(7));
    }
}

void GameLevel::startLevel(const std::string& levelScript)
{
    levelLoadFailed = !field->loadLevel(levelScript);
    introProgress = 0.0f;
    introRunning = true;
    busyCount = 0;
    // The rules would count and place on a board that has no cells.
    if (levelLoadFailed)
        return;
    if (mode)
        mode->prepareLevel();

    VQ::SoundManager* sounds = VQ::SoundManager::instancePtr();
    if (!sounds)
        return;
    // A loop still playing from the level before would play on under the
    // new one.
    stopAmbient();
    if (ambientResource)
        sounds->releaseResource(ambientResource);
    const char* name =
        levelsStarted % 2 == 1 ? "game_level_ambient_sound_1_sound" : "game_level_ambient_sound_2_sound";
    ambientResource = sounds->acquireResource(name);
    if (!ambientResource)
        ambientResource = sounds->registerResource({name, 1, 1.0f, 1, 0});
    ambientHandle = ambientResource ? sounds->createAndPlay(ambientResource) : 0;
    ++levelsStarted;
}

void GameLevel::stopAmbient()
{
    if (ambientHandle)
        if (VQ::SoundManager* sounds = VQ::SoundManager::instancePtr())
            sounds->stop(ambientHandle);
    ambientHandle = 0;
}

void GameLevel::setAmbientVolume(float volume)
{
    if (ambientHandle)
        if (VQ::SoundManager* sounds = VQ::SoundManager::instancePtr())
            sounds->setSoundVolume(ambientHandle, volume);
}

void GameLevel::loadBackgroundScene(const std::string& name)
{
    backgroundScene.reset();
    if (name.empty())
        return;
    backgroundScene.reset(AE::loadScene(name));
    if (backgroundScene)
        backgroundScene->setPlaying(true, true);
}

void GameLevel::loadFieldScene(const std::string& name)
{
    if (shakeMarker)
        shakeMarker->removeListener(this);
    shakeMarker = nullptr;
    fieldNode = nullptr;
    fieldScene.reset();
    if (name.empty())
        return;
    fieldScene.reset(requireScene(name));
    fieldNode = requireNode(fieldScene.get(), "#game_field");
    AE::ISceneNode* shaker = requireNode(fieldScene.get(), "#shaker");
    if (shaker->animation)
        shaker->animation->frameTime = SHAKER_FRAME_TIME;
    if (AE::Marker* init = fieldScene->getMarker("init"))
        init->start(true);
    layOut(fieldScene.get());
    for (AE::ISceneNode* node : fieldScene->collectDescendants())
        if (!node->name.empty() && node->name[0] == '@')
            node->setEnabled(false);
    applyOrientation(isPortrait());
}

GameLevel::Anchor GameLevel::anchor(const std::string& name) const
{
    Anchor result;
    if (!fieldScene)
        return result;
    const std::string full = (isPortrait() ? "@v:" : "@h:") + name;
    const AE::ISceneNode* node = requireNode(fieldScene.get(), full);
    result.x = node->worldPosition.x;
    result.y = node->worldPosition.y;
    result.depth = static_cast<int>(node->posZ);
    result.rotation = node->rotation;
    return result;
}

void GameLevel::takeOriginFromFieldNode()
{
    if (!fieldNode || !renderer || !field)
        return;
    renderer->camera.position =
        VQ::Vector2f(fieldNode->worldPosition.x, fieldNode->worldPosition.y - static_cast<float>(field->cellSize));
}

void GameLevel::applyOrientation(bool portrait)
{
    (void)portrait;
    if (fieldScene) {
        layOut(fieldScene.get());
        AE::ISceneNode::update(fieldScene.get(), 0.0f);
        takeOriginFromFieldNode();
        if (interfaceRoot) {
            const Anchor menu = anchor("menuButton");
            interfaceRoot->offset = VQ::Vector2f(menu.x, menu.y);
        }
    }
    if (currentEffectScene && fieldScene) {
        const Anchor centre = anchor("fieldCenter");
        currentEffectScene->setPosition(centre.x, centre.y);
    }
}

void GameLevel::update(float dt)
{
    if (!isLoaded())
        return;
    if (levelLoadFailed) {
        // Switching states is the main thread's; the load job only noted it.
        levelLoadFailed = false;
        if (mode)
            mode->onLevelLoadFailed();
        return;
    }
    const bool portrait = isPortrait();
    if (needsLayout) {
        applyOrientation(portrait);
        if (mode)
            mode->layoutLevelUi(portrait);
        needsLayout = false;
    }

    if (introRunning) {
        introProgress += 0.5f * dt;
        if (introProgress >= 1.0f) {
            introProgress = 1.0f;
            introRunning = false;
        }
    } else if (!dialogsActive() && !clickedThisUpdate) {
        VQ::InputManager* input = VQ::InputManager::instancePtr();
        if (input && input->mouse() && input->leftButtonDown()) {
            if (busyCount <= 0 && renderer) {
                const VQ::Vector2f cursor = input->cursorPosition();
                clickAt(cursor.x - renderer->camera.position.x, cursor.y - renderer->camera.position.y);
            }
            clickedThisUpdate = true;
        }
    }

    if (currentEffectScene)
        currentEffectScene->update(dt);
    if (mode)
        mode->update(dt);
    for (GameHelper* helper : std::vector<GameHelper*>(helpers))
        helper->update(dt);
    if (backgroundScene)
        backgroundScene->update(dt);
    if (fieldScene) {
        fieldScene->update(dt);
        if (shakeMarker)
            takeOriginFromFieldNode();
    }
    if (field)
        field->update(dt);
    if (renderer)
        renderer->update(dt);
    if (moveWarning) {
        if (moveWarning->portrait != portrait && moveWarning->scene) {
            layOut(moveWarning->scene.get());
            moveWarning->portrait = portrait;
        }
        moveWarning->update();
        if (moveWarning->scene)
            moveWarning->scene->update(dt);
    }
    clickedThisUpdate = false;
}

void GameLevel::clickAt(float x, float y)
{
    if (x < 0.0f || y < 0.0f || !field || field->cellSize <= 0)
        return;
    const int cell[2] = {static_cast<int>(x / static_cast<float>(field->cellSize)),
                         static_cast<int>(y / static_cast<float>(field->cellSize))};
    field->onCellClicked(cell);
}

void GameLevel::draw()
{
    if (!isLoaded())
        return;
    if (backgroundScene)
        AE::renderScene(backgroundScene.get());
    if (fieldScene)
        AE::renderScene(fieldScene.get());
    for (GameHelper* helper : std::vector<GameHelper*>(helpers))
        helper->drawUnderField();
    if (renderer)
        renderer->render();
    for (GameHelper* helper : std::vector<GameHelper*>(helpers))
        helper->drawOverField();
    // Drawn here, over the board; the UI manager then leaves it alone this
    // frame.
    if (interfaceRoot)
        interfaceRoot->render();
    if (currentEffectScene)
        AE::renderScene(currentEffectScene);
    if (moveWarning && moveWarning->scene)
        AE::renderScene(moveWarning->scene.get());
    VQ::UIManager::instance()->render();
}

void GameLevel::playEffect(GameLevelEffect effect)
{
    if (effect < 0 || effect >= GAME_LEVEL_EFFECT_COUNT || !effectScenes[effect])
        return;
    currentEffect = effect;
    currentEffectScene = effectScenes[effect].get();
    effectMarker = currentEffectScene->getMarker("init");
    if (!effectMarker)
        VQ::assertFailed("VQ",
                         VQ::formatString("The effect scene '%s' has no marker 'init'",
                                          GAME_LEVEL_EFFECT_SCENES[effect]),
                         "GameLevel", 0);
    effectMarker->addListener(this);
    effectMarker->start(true);
    setAmbientVolume(0.0f);
    if (fieldScene) {
        const Anchor centre = anchor("fieldCenter");
        currentEffectScene->setPosition(centre.x, centre.y);
    }
}

void GameLevel::playShake(const std::string& markerName)
{
    if (!fieldScene)
        return;
    if (shakeMarker) {
        shakeMarker->removeListener(this);
        shakeMarker->stop(true);
    }
    shakeMarker = fieldScene->getMarker(markerName);
    if (!shakeMarker)
        return;
    shakeMarker->addListener(this);
    shakeMarker->start(true);
}

void GameLevel::onMarkerFinished(AE::Marker* marker)
{
    if (marker && marker == shakeMarker) {
        marker->removeListener(this);
        if (fieldNode)
            fieldNode->setTime(0.0f, false);
        takeOriginFromFieldNode();
        shakeMarker = nullptr;
    } else if (marker && marker == effectMarker) {
        marker->removeListener(this);
        effectMarker = nullptr;
        if (mode)
            mode->onEffectPlayed(currentEffect);
    }
    setAmbientVolume(musicVolume());
}

void GameLevel::showIngameMenu()
{
    if (TutorialRegistry::exists() && TutorialRegistry::instance()->isLessonActive())
        return;
    if (!interfaceRoot || !widgetLive(interfaceRoot))
        return;
    if (VQ::UIWidget* button = interfaceRoot->findChild("btnMenu"); button && !widgetLive(button))
        return;
    VQ::UIWidget* top = VQ::UIManager::instance()->topmostVisibleRoot();
    if (top && top->modal)
        return;
    if (mode)
        mode->showIngameMenu();
}

void GameLevel::onDeactivate()
{
    mode = nullptr;
    helpers.clear();
    unload();
}

void GameLevel::unload()
{
    if (!isLoaded())
        return;
    // Effects the renderer holds may point into the board.
    delete renderer;
    renderer = nullptr;
    delete field;
    field = nullptr;
    moveWarning.reset();
    backgroundScene.reset();
    if (shakeMarker)
        shakeMarker->removeListener(this);
    shakeMarker = nullptr;
    fieldNode = nullptr;
    fieldScene.reset();
    currentEffectScene = nullptr;
    effectMarker = nullptr;
    for (auto& scene : effectScenes)
        scene.reset();
    if (interfaceRoot && VQ::UIManager::exists())
        VQ::UIManager::instance()->removeRoot(interfaceRoot);
    interfaceRoot = nullptr;
    if (VQ::LexBindedFunctionManager::exists())
        VQ::LexBindedFunctionManager::instance()->unregisterFunction(SHOW_INGAME_MENU);
    stopAmbient();
    if (ambientResource)
        if (VQ::SoundManager* sounds = VQ::SoundManager::instancePtr())
            sounds->releaseResource(ambientResource);
    ambientResource = 0;
    setLoaded(false);
}

void GameLevel::addHelper(GameHelper* helper)
{
    if (!helper || std::find(helpers.begin(), helpers.end(), helper) != helpers.end())
        return;
    helpers.push_back(helper);
    sortHelpers();
}

void GameLevel::removeHelper(GameHelper* helper)
{
    auto it = std::find(helpers.begin(), helpers.end(), helper);
    if (it != helpers.end())
        helpers.erase(it);
}

void GameLevel::sortHelpers()
{
    std::stable_sort(helpers.begin(), helpers.end(),
                     [](const GameHelper* a, const GameHelper* b) { return a->priority < b->priority; });
}
