#include "game_application.h"

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "config_manager.h"
#include "dialogs/dialog_window_manager.h"
#include "facebook_data_saver.h"
#include "facebook_message_dispatcher.h"
#include "game_properties.h"
#include "log_system.h"
#include "particle_system.h"
#include "progress_saver.h"
#include "render_system.h"
#include "shell.h"
#include "sound_system/sound_manager.h"
#include "store.h"
#include "timer_manager.h"
#include "tutorial/tutorial_registry.h"
#include "ui/text_manager.h"
#include "xml_cached_files_manager.h"

namespace {

GameApplication* gGameApplication = nullptr;

bool portraitWorkspace()
{
    const VQ::Platform* platform = VQ::ConfigManager::instance()->currentPlatform();
    return platform && platform->width <= platform->height;
}

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
    mPortrait = portraitWorkspace();
    createIfAbsent<Store>();
    createIfAbsent<DialogWindowManager>();
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
    createIfAbsent<GameProperties>();
    VQ::log("void GameApplication::create()");
    mLoadingScene = AE::loadScene("loading_scene_xml");
    if (mLoadingScene)
        mLoadingScene->play(true);
    // From here on every owner advances its own effects.
    VQ::ParticleSystem::instance()->liveUpdating = false;
    createIfAbsent<FacebookDataSaver>();
    createIfAbsent<ProgressSaver>();
    createIfAbsent<RemoteStorage>();
    std::vector<RemoteStorageListener*>& listeners = RemoteStorage::instance()->listeners;
    RemoteStorageListener* saver = ProgressSaver::instance();
    if (std::find(listeners.begin(), listeners.end(), saver) == listeners.end())
        listeners.push_back(saver);
    GameProperties::instance()->registerMainModeSocialListener();
    GameProperties::instance()->profile()->launchCount += 1;
    GameProperties::instance()->startModes();
}

void GameApplication::destroy()
{
    VQ::log("void GameApplication::destroy()");
    delete mLoadingScene;
    mLoadingScene = nullptr;
    GameProperties::instance()->save();
    if (Mode* mode = GameProperties::instance()->currentMode)
        mode->deactivate();
    deleteInstance<GameProperties>();
    deleteInstance<ProgressSaver>();
    deleteInstance<RemoteStorage>();
    deleteInstance<Store>();
    deleteInstance<FacebookDataSaver>();
    deleteInstance<DialogWindowManager>();
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

void GameApplication::update()
{
    applyProfileSettings();
    const float dt = gameStep(VQ::TimerManager::instance()->frameTime());
    DialogWindowManager::instance()->update(dt);
    const bool portrait = portraitWorkspace();
    if (portrait != mPortrait)
        mPortrait = portrait;
}

void GameApplication::render()
{
    VQ::RenderSystem* renderSystem = VQ::RenderSystem::instance();
    renderSystem->beginFrame();
    renderSystem->endFrame();
    renderSystem->present();
}

void GameApplication::updateWhileLoading()
{
    if (!mLoadingScene)
        return;
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
    renderSystem->present();
}

void GameApplication::drawCursor(float scale)
{
    (void)scale;
}
