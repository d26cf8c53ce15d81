#pragma once
// The engine's application object, the one class a game derives from to
// become a program. Its constructor brings every engine manager up in a
// fixed order; its frame operations decide what is updated and drawn each
// frame; `quit` deletes the managers in a fixed order and ends the process.

#include <atomic>
#include <memory>
#include <string>

#include "vector2.h"

namespace VQ {
class ConfigManager;
class RenderSystem;
template <typename T>
class SpriteManager;
class Sprite;
class FastSprite;
class FileSystem;
class TextureManager;
class LogSystem;
class TimerManager;
class InputManager;
class ParticleSystem;
class ObjectFactory;
class JobManager;
class ResourceGroupManager;
class UIManager;
class LexBindedFunctionManager;
class SoundManager;
class XmlCachedFilesManager;
class VideoSurfaceStreamer;
class VideoPlayer;
class Font;
class EngineAllocators;
class Benchmarker;
struct MainWindow;
}  // namespace VQ

class Application {
public:
    // Brings the engine up: managers, configuration, localisation, the
    // system font. The application is active and initialised afterwards.
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The game's per-frame work on normal frames.
    virtual void update() {}
    virtual void render() {}
    // The game's own start-up, once the window, the device and the memory
    // manager exist; and its shut-down, before any engine manager goes.
    virtual void create() {}
    virtual void destroy() {}
    // Instead of update and render while a loading job runs. The base draws
    // the frame rate and "Loading...".
    virtual void updateWhileLoading() {}
    virtual void renderWhileLoading();
    // Told by the render system when it sets the frame's viewport.
    virtual void onViewportSet(const VQ::Vector2f& size, const VQ::Vector2f& offset)
    {
        (void)size;
        (void)offset;
    }
    // Draws the game's own mouse cursor at the viewport's scale.
    virtual void drawCursor(float scale) { (void)scale; }

    void initEngine();
    // Once the window exists: the render device and the input devices.
    void startRenderer();
    void frameUpdate();
    void frameRender();
    void onActivate();
    void onDeactivate();
    // Deletes everything the engine created, in the fixed order.
    void shutdownEngine();
    // shutdownEngine, the leak report, then the process ends with 0.
    [[noreturn]] void quit();

    std::string title;
    // Read by the video thread.
    std::atomic<bool> active{false};
    bool initialised = false;
    std::unique_ptr<VQ::MainWindow> window;

    std::unique_ptr<VQ::ConfigManager> configManager;
    std::unique_ptr<VQ::RenderSystem> renderSystem;
    std::unique_ptr<VQ::SpriteManager<VQ::Sprite>> spriteManager;
    std::unique_ptr<VQ::SpriteManager<VQ::FastSprite>> fastSpriteManager;
    std::unique_ptr<VQ::FileSystem> fileSystem;
    std::unique_ptr<VQ::TextureManager> textureManager;
    std::unique_ptr<VQ::LogSystem> logSystem;
    std::unique_ptr<VQ::TimerManager> timerManager;
    std::unique_ptr<VQ::InputManager> inputManager;
    std::unique_ptr<VQ::ParticleSystem> particleSystem;
    std::unique_ptr<VQ::ObjectFactory> objectFactory;
    std::unique_ptr<VQ::JobManager> jobManager;
    std::unique_ptr<VQ::ResourceGroupManager> resourceGroupManager;
    std::unique_ptr<VQ::UIManager> uiManager;
    std::unique_ptr<VQ::LexBindedFunctionManager> lexBindedFunctionManager;
    std::unique_ptr<VQ::SoundManager> soundManager;
    std::unique_ptr<VQ::XmlCachedFilesManager> xmlCachedFilesManager;
    std::unique_ptr<VQ::VideoSurfaceStreamer> videoSurfaceStreamer;
    std::unique_ptr<VQ::VideoPlayer> videoPlayer;
    std::unique_ptr<VQ::Font> systemFont;
    std::unique_ptr<VQ::EngineAllocators> engineAllocators;
    std::unique_ptr<VQ::Benchmarker> benchmarker;

private:
    bool videoPlaying() const;
};

// The process's application object; null before the derived constructor
// has run and after the program's entry has given it up.
Application*& application();
