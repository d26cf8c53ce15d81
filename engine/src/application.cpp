#include "application.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "benchmarker.h"
#include "config_manager.h"
#include "engine_allocators.h"
#include "file_system.h"
#include "font.h"
#include "input_manager.h"
#include "job_manager.h"
#include "lex_binded_function_manager.h"
#include "log_system.h"
#include "memory_manager.h"
#include "notification_dispatcher.h"
#include "object_factory.h"
#include "particle_system.h"
#include "platform/crash_handler_posix.h"
#include "platform/graphics_device_gl.h"
#include "render_system.h"
#include "resource_group_manager.h"
#include "shell.h"
#include "sound_system/sound_manager.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "timer_manager.h"
#include "ui/text_manager.h"
#include "ui/ui_font_manager.h"
#include "ui/ui_manager.h"
#include "video_player.h"
#include "video_surface_streamer.h"
#include "xml_cached_files_manager.h"

using namespace VQ;

namespace {

Application* gApplication = nullptr;
// The object whose activation the sound follows; known from the start of the
// base constructor on, unlike the process's application pointer.
// Atomic: the video thread asks it.
std::atomic<Application*> gActivationSource{nullptr};

bool activationSourceIsActive()
{
    const Application* source = gActivationSource.load();
    return source && source->active;
}

void sendNotification(uint32_t id)
{
    Notification notification{id};
    EngineNotificationDispatcher::dispatch(notification);
}

}  // namespace

Application*& application()
{
    return gApplication;
}

Application::Application()
{
    gActivationSource = this;
    installCrashHandler();
    window = std::make_unique<MainWindow>();
    initEngine();
    TextManager::instance()->reload();
    configManager->setVertexFormat(ConfigManager::DEFAULT_VERTEX_FORMAT);
    systemFont = std::make_unique<Font>();
    systemFont->load("system_font_fnt");
}

Application::~Application()
{
    Application* self = this;
    gActivationSource.compare_exchange_strong(self, nullptr);
}

void Application::initEngine()
{
    if (!EngineNotificationDispatcher::exists())
        new EngineNotificationDispatcher();
    benchmarker = std::make_unique<Benchmarker>();
    objectFactory = std::make_unique<ObjectFactory>();
    logSystem = std::make_unique<LogSystem>();

    log("Init EngineAllocators ...");
    engineAllocators = std::make_unique<EngineAllocators>();
    engineAllocators->setUp();

    log("Init LexBindedFunctionManager...");
    lexBindedFunctionManager = std::make_unique<LexBindedFunctionManager>();

    log("Init JobManager...");
    jobManager = std::make_unique<JobManager>();

    log("Init TimerManager...");
    timerManager = std::make_unique<TimerManager>();

    log("Init FileSystem...");
    fileSystem = std::make_unique<FileSystem>();

    log("Init TextManager...");
    new TextManager();

    log("Init ConfigManager...");
    configManager = std::make_unique<ConfigManager>();
    configManager->load();

    log("Init RenderSystem...");
    renderSystem = std::make_unique<RenderSystem>();
    RenderSettings settings;
    if (const Platform* platform = configManager->currentPlatform()) {
        settings.workspaceWidth = platform->width;
        settings.workspaceHeight = platform->height;
        settings.fullscreenFitType = platform->fullscreenFitType;
        settings.fullscreenMinimalAspect = platform->fullscreenMinimalAspect;
        settings.workspaceZoom = platform->workspaceZoom;
    }
    settings.vertexFormat = configManager->vertexFormat();
    renderSystem->setSettings(settings);

    log("Init SoundManager...");
    setApplicationActiveQuery(activationSourceIsActive);
    soundManager = std::make_unique<SoundManager>();
    resourceGroupManager = std::make_unique<ResourceGroupManager>();

    log("Init ParticleSystem...");
    particleSystem = std::make_unique<ParticleSystem>();

    log("Init InputManager...");
    inputManager = std::make_unique<InputManager>(this);

    log("Init SpriteManager...");
    spriteManager = std::make_unique<SpriteManager<Sprite>>();
    fastSpriteManager = std::make_unique<SpriteManager<FastSprite>>();

    log("Init TextureManager...");
    textureManager = std::make_unique<TextureManager>();

    log("Init UIManager...");
    uiManager = std::make_unique<UIManager>();

    log("Init UIFontManager...");
    new UIFontManager();

    log("Init VideoSurfaceStreame...");
    VideoSurfaceStreamer::setActiveQuery(activationSourceIsActive);
    videoSurfaceStreamer = std::make_unique<VideoSurfaceStreamer>();

    log("Init VideoPlayer...");
    videoPlayer = std::make_unique<VideoPlayer>();

    xmlCachedFilesManager = std::make_unique<XmlCachedFilesManager>();

    fileSystem->loadFilesLocationInfo();

    initialised = true;
    onActivate();
}

void Application::startRenderer()
{
    // The window's OpenGL context is current: the device draws through it.
    renderSystem->setDevice(createGraphicsDeviceGL());
    renderSystem->setViewportHook(
        [this](const Vector2f& size, const Vector2f& offset) { onViewportSet(size, offset); });
    renderSystem->setCursorHook([this](float scale) { drawCursor(scale); });
    renderSystem->createDevice();
    renderSystem->setupDistortionProgram();
    inputManager->initDevices();
}

bool Application::videoPlaying() const
{
    return videoPlayer && videoPlayer->slotCount() != 0;
}

void Application::frameUpdate()
{
    if (!initialised || !active)
        return;
    if (videoPlayer)
        videoPlayer->update();
    if (uint64_t (*clock)() = shellState().hooks.frameClock)
        timerManager->tickAt(clock());
    else
        timerManager->tick();
    if (MouseDevice* mouse = inputManager->mouse())
        mouse->update();
    if (KeyboardDevice* keyboard = inputManager->keyboard())
        keyboard->update();
    particleSystem->update();
    soundManager->update();
    if (jobManager->update() != 0) {
        updateWhileLoading();
        return;
    }
    if (!videoPlaying()) {
        uiManager->update();
        update();
    }
}

void Application::frameRender()
{
    if (!initialised || !active)
        return;
    if (jobManager->update() != 0)
        renderWhileLoading();
    else if (videoPlaying())
        videoPlayer->render();
    else
        render();
}

void Application::renderWhileLoading()
{
    const float frameTime = std::min(timerManager->frameTime(), 0.1f);
    const Color white(1.0f, 1.0f, 1.0f, 1.0f);
    renderSystem->beginFrame();
    systemFont->drawText(0.0f, 0.0f, formatString("FPS %f", 1.0f / frameTime), 1.0f, white);
    systemFont->drawText(0.0f, 20.0f, "Loading...", 1.0f, white);
    renderSystem->endFrame();
    renderSystem->present();
}

void Application::onActivate()
{
    if (!active)
        sendNotification(NOTIFICATION_APP_ACTIVATED);
    active = true;
    if (SoundManager::exists())
        SoundManager::instance()->applyListenerGain();
}

void Application::onDeactivate()
{
    if (active)
        sendNotification(NOTIFICATION_APP_DEACTIVATED);
    active = false;
    if (SoundManager::exists())
        SoundManager::instance()->applyListenerGain();
}

void Application::shutdownEngine()
{
    jobManager->clear();
    destroy();
    initialised = false;
    systemFont.reset();
    renderSystem->releaseBatches();

    videoPlayer.reset();
    videoSurfaceStreamer.reset();
    uiManager.reset();
    delete UIFontManager::instancePtr();
    particleSystem.reset();
    spriteManager.reset();
    fastSpriteManager.reset();
    textureManager.reset();
    soundManager.reset();
    renderSystem.reset();
    resourceGroupManager.reset();
    inputManager.reset();
    configManager.reset();
    fileSystem.reset();
    delete TextManager::instancePtr();
    timerManager.reset();
    jobManager.reset();
    objectFactory.reset();
    logSystem.reset();
    lexBindedFunctionManager.reset();
    xmlCachedFilesManager.reset();
    engineAllocators.reset();
    benchmarker.reset();
    delete EngineNotificationDispatcher::instancePtr();
}

void Application::quit()
{
    shutdownEngine();
    if (MemoryManager* memory = MemoryManager::instancePtr())
        memory->dumpLeaks();
    exit(0);
}
