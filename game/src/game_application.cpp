#include "game_application.h"

#include <lua.hpp>

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "config_manager.h"
#include "dialogs/buy_valuta_window.h"
#include "dialogs/dialog_window.h"
#include "dialogs/dialog_window_manager.h"
#include "dialogs/options_window.h"
#include "facebook_data_saver.h"
#include "facebook_data_streamer.h"
#include "facebook_integration.h"
#include "facebook_message_dispatcher.h"
#include "fatal_error.h"
#include "ff_icon.h"
#include "file_system.h"
#include "font.h"
#include "game_event.h"
#include "game_properties.h"
#include "game_state.h"
#include "game_state_manager.h"
#include "input_manager.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "mode.h"
#include "particle_system.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "render_system.h"
#include "scene_layout.h"
#include "shell.h"
#include "sound_system/sound_manager.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "store.h"
#include "timer_manager.h"
#include "tutorial/tutorial_registry.h"
#include "ui/text_manager.h"
#include "ui/ui_font_manager.h"
#include "user_data_serializer.h"
#include "xml_cached_files_manager.h"

namespace {

GameApplication* gGameApplication = nullptr;

constexpr const char* PACKAGE = "default";

template <typename T>
void createIfAbsent()
{
    if (!T::exists())
        new T();
}

template <typename T>
void deleteInstance()
{
    delete T::instancePtr();
}

// Start-up cannot go on without these; a missing one is named.
void requireResource(const std::string& package, const std::string& name)
{
    if (!VQ::FileSystem::instance()->contains(package, name))
        VQ::assertFailed("VQ", "Missing resource: " + name, "game_application", __LINE__);
}

// The sequences named by the script's table "load", in Lua's order.
void createTutorialSequences(VQ::LuaScript2& script)
{
    if (!script.load("tutorial_lua", PACKAGE))
        VQ::assertFailed("VQ", "Missing resource: tutorial_lua", "game_application", __LINE__);
    if (!script.openTable("load"))
        VQ::assertFailed("VQ", "tutorial_lua has no table load", "game_application", __LINE__);
    lua_State* state = script.state();
    TutorialRegistry* registry = TutorialRegistry::instance();
    lua_pushnil(state);
    while (lua_next(state, -2) != 0) {
        size_t length = 0;
        const char* text = lua_isstring(state, -1) ? lua_tolstring(state, -1, &length) : nullptr;
        registry->add(new TutorialSequence(text ? std::string(text, length) : std::string()));
        lua_pop(state, 1);
    }
    script.closeTable();
}

}  // namespace

GameApplication*& gameApplication()
{
    return gGameApplication;
}

GameApplication::GameApplication()
{
    gGameApplication = this;
    application() = this;
    VQ::log("Application started");
    title = VQ::wideToAnsi(VQ::TextManager::instance()->text("APP_WINDOW_TITLE"));
    VQ::ConfigManager::instance()->setVertexFormat(VQ::ConfigManager::DEFAULT_VERTEX_FORMAT);
    VQ::RenderSystem::instance()->setCountPixels(true);
    // Scene sprites read their XML descriptions first.
    AE::effectsLevel = 1;
    mPortrait = platformIsPortrait();
    createIfAbsent<Store>();
    createIfAbsent<DialogWindowManager>();
    createIfAbsent<UserDataSerializer>();
}

GameApplication::~GameApplication()
{
    if (gGameApplication == this)
        gGameApplication = nullptr;
}

float GameApplication::gameStep(float frameTime)
{
    return std::min(std::min(frameTime, 0.1f), 0.033f);
}

void GameApplication::create()
{
    createIfAbsent<FacebookIntegration>();
    VQ::LuaScript2 tutorialScript;
    createTutorialSequences(tutorialScript);
    createIfAbsent<GameProperties>();
    VQ::log("void GameApplication::create()");

    requireResource(PACKAGE, "font2_fnt");
    mLoadingFont = new VQ::Font();
    mLoadingFont->load("font2_fnt");
    // From here on every owner advances its own effects.
    VQ::ParticleSystem::instance()->liveUpdating = false;
    mLoadingScene = AE::loadScene("loading_scene_xml");
    if (mLoadingScene)
        mLoadingScene->play(true);

    VQ::SpriteManager<VQ::Sprite>* sprites = VQ::SpriteManager<VQ::Sprite>::instance();
    mLeftBorderSprite = sprites->createSpriteFromScript("screen_borders_sprites", "screen_leftborder", PACKAGE);
    mTopBorderSprite = sprites->createSpriteFromScript("screen_borders_sprites", "screen_topborder", PACKAGE);
    mCursorSprite = sprites->createSpriteFromScript("other_sprites", "s_cursor", PACKAGE);

    mStateManager = new GameStateManager();

    VQ::UIFontManager* fonts = VQ::UIFontManager::instance();
    requireResource(fonts->getFontPackage(), "font2_fnt");
    requireResource(fonts->getFontPackage(), "small_font_fnt");
    mUiFont = fonts->getFont("font2_fnt");
    mSmallUiFont = fonts->getFont("small_font_fnt");
    applySceneNodeLayout(mLoadingScene);

    createIfAbsent<ChipManager>();
    createIfAbsent<FacebookDataSaver>();
    createIfAbsent<ProgressSaver>();
    createIfAbsent<RemoteStorage>();
    std::vector<RemoteStorageListener*>& listeners = RemoteStorage::instance()->listeners;
    RemoteStorageListener* saver = ProgressSaver::instance();
    if (std::find(listeners.begin(), listeners.end(), saver) == listeners.end())
        listeners.push_back(saver);
    GameProperties::instance()->registerMainModeSocialListener();
    mSocialIcon = new FFIcon();
    createIfAbsent<OptionsWindow>();
    createIfAbsent<BuyValutaWindowSingleton>();
    GameProperties::instance()->profile()->launchCount += 1;
    GameProperties::instance()->startModes();
}

void GameApplication::destroy()
{
    VQ::log("void GameApplication::destroy()");
    VQ::SpriteManager<VQ::Sprite>* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr();
    for (VQ::Sprite** sprite : {&mLeftBorderSprite, &mTopBorderSprite, &mCursorSprite}) {
        if (sprites)
            sprites->releaseSprite(*sprite);
        *sprite = nullptr;
    }
    delete mLoadingScene;
    mLoadingScene = nullptr;
    delete mStateManager;
    mStateManager = nullptr;
    delete mSocialIcon;
    mSocialIcon = nullptr;
    delete mLoadingFont;
    mLoadingFont = nullptr;

    GameProperties::instance()->save();
    if (Mode* mode = GameProperties::instance()->currentMode)
        mode->deactivate();
    // The photo worker reads the social layer: it stops before the layer goes.
    deleteInstance<FacebookDataStreamer>();
    deleteInstance<GameProperties>();
    deleteInstance<ProgressSaver>();
    deleteInstance<RemoteStorage>();
    deleteInstance<ChipManager>();
    deleteInstance<FacebookIntegration>();
    clearChipSelectorCache();
    clearBehaviorPrototypes();
    deleteInstance<Store>();
    deleteInstance<FacebookDataSaver>();
    deleteInstance<OptionsWindow>();
    deleteInstance<BuyValutaWindowSingleton>();
    deleteInstance<DialogWindowManager>();
    deleteInstance<UserDataSerializer>();
    deleteInstance<FacebookMessageDispatcher>();
    TutorialRegistry::destroy();
    VQ::XmlCachedFilesManager::instance()->purge();
}

void GameApplication::applyProfileSettings()
{
    PlayerProfile* profile = GameProperties::instance()->profile();
    window->hideCursor = profile->gameCursor;
    VQ::SoundManager* sound = VQ::SoundManager::instance();
    sound->setGroup1Volume(profile->musicVolume);
    sound->setGroup0Volume(profile->soundVolume);
}

void runStateFrame(GameStateManager& states, float dt)
{
    if (IGameState* pending = states.getPending()) {
        states.switchTo(pending);
        return;
    }
    states.updating = true;
    if (IGameState* current = states.getCurrent(); current && current->isLoaded()) {
        current->update(dt);
        TutorialRegistry::instance()->update(dt);
    }
    states.updating = false;
}

void notifyOrientation(GameStateManager& states, bool portrait)
{
    states.portrait = portrait;
    if (IGameState* current = states.getCurrent(); current && current->isLoaded())
        current->applyOrientation(portrait);
    if (DialogWindowManager* windows = DialogWindowManager::instancePtr()) {
        for (DialogWindow* window : windows->windowsSnapshot()) {
            if (!window->removalMark)
                window->refreshScene();
        }
    }
    const GameProperties* properties = GameProperties::instancePtr();
    if (Mode* mode = properties ? properties->currentMode : nullptr)
        mode->layoutLevelUi(portrait);
    // The lessons' hints point at places that have just moved.
    if (TutorialRegistry::exists())
        TutorialRegistry::instance()->dispatchEvent(new GameEvent(GameEvent::ORIENTATION_CHANGED));
}

void GameApplication::update()
{
    applyProfileSettings();
    const float dt = gameStep(VQ::TimerManager::instance()->frameTime());
    DialogWindowManager::instance()->update(dt);
    runStateFrame(*mStateManager, dt);

    const bool portrait = platformIsPortrait();
    if (portrait != mStateManager->portrait) {
        notifyOrientation(*mStateManager, portrait);
        mPortrait = portrait;
        applySceneNodeLayout(mLoadingScene);
    }

    if (mSocialIcon && mSocialIcon->scene)
        AE::ISceneNode::update(mSocialIcon->scene, dt);
}

void GameApplication::present()
{
    VQ::RenderSystem::instance()->present();
}

void GameApplication::render()
{
    VQ::RenderSystem* renderSystem = VQ::RenderSystem::instance();
    renderSystem->beginFrame();
    if (IGameState* current = mStateManager->getCurrent(); current && current->isLoaded())
        current->draw();
    if (mSocialIcon && mSocialIcon->scene)
        AE::renderScene(mSocialIcon->scene);
    renderSystem->endFrame();
    present();
}

void GameApplication::updateWhileLoading()
{
    if (!mLoadingScene)
        return;
    const bool portrait = platformIsPortrait();
    if (portrait != mPortrait) {
        mPortrait = portrait;
        applySceneNodeLayout(mLoadingScene);
    }
    AE::ISceneNode::update(mLoadingScene, gameStep(VQ::TimerManager::instance()->frameTime()));
}

void GameApplication::renderWhileLoading()
{
    if (!mLoadingScene)
        return;
    VQ::RenderSystem* renderSystem = VQ::RenderSystem::instance();
    renderSystem->beginFrame();
    AE::renderScene(mLoadingScene);
    renderSystem->endFrame();
    present();
}

void GameApplication::drawCursor(float scale)
{
    if (!mCursorSprite)
        return;
    const GameProperties* properties = GameProperties::instancePtr();
    if (!properties || !properties->profile()->gameCursor)
        return;
    const VQ::MouseDevice* mouse = VQ::InputManager::instance()->mouse();
    if (!mouse)
        return;
    mCursorSprite->setScaleXY(scale, scale);
    mCursorSprite->setPositionXY(static_cast<float>(mouse->x), static_cast<float>(mouse->y));
    mCursorSprite->updateVertices();
    mCursorSprite->draw();
}
