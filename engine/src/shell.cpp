#include "shell.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "application.h"
#include "config_manager.h"
#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"
#include "memory_manager.h"
#include "platform/performance_counter.h"
#include "platform/single_instance_posix.h"
#include "render_system.h"

namespace VQ {

namespace {

constexpr const char* CONTENT_ROOT = "./media/";
constexpr const char* WINDOW_CLASS = "Brightvale";
constexpr const char* RESOLUTION_FILE = "resolution.txt";
constexpr size_t RESOLUTION_LINE_BUFFER = 64;

// Lives until the process ends, so the lock is held until then and the
// socket file goes with the exit.
std::unique_ptr<SingleInstance> gInstance;

MainWindow& mainWindow()
{
    return *application()->window;
}

// One line as a 64-character line buffer reads it (at most 63 characters,
// or up to and including the line feed); "" at the end of the text.
std::string readLine(const std::string& text, size_t& pos)
{
    const size_t start = pos;
    while (pos < text.size() && pos - start < RESOLUTION_LINE_BUFFER - 1) {
        if (text[pos++] == '\n')
            break;
    }
    return text.substr(start, pos - start);
}

uint64_t tickCountMilliseconds()
{
    return performanceCounter() * 1000 / performanceFrequency();
}

std::optional<std::string> readResolutionFile()
{
    std::ifstream file(RESOLUTION_FILE, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void minimiseIfFullscreen(bool fullscreen)
{
    if (fullscreen)
        windowProc({WindowMessageType::SysCommand, SC_MINIMIZE, 0});
}

void activateIfComplete()
{
    Application* app = application();
    if (!app->active && shellState().activationFlags == ACTIVATION_ALL)
        app->onActivate();
}

}  // namespace

ShellState& shellState()
{
    static ShellState state;
    return state;
}

std::string versionString()
{
    return "v1.1";
}

WindowSizeResult computeWindowSizeFrom(const WindowSizeInputs& in)
{
    WindowSizeResult result;
    if (in.fullscreen) {
        result.renderSize = in.desktop;
        result.windowSize = in.desktop;
        return result;
    }

    const int configuredWidth = std::max(in.configuredWidth, 1);
    const int configuredHeight = std::max(in.configuredHeight, 1);
    const float aspect = static_cast<float>(configuredWidth) / static_cast<float>(configuredHeight);
    const int frame = in.metrics.frame;
    const int caption = in.metrics.caption;
    const int availableWidth = in.workArea.width - 2 * frame;
    const int availableHeight = in.workArea.height - 2 * frame - caption;
    // A work area smaller than the decorations still gives a window.
    const int w = std::max(std::min(availableWidth, configuredWidth), 1);
    const int h = std::max(std::min(availableHeight, configuredHeight), 1);
    const float availableAspect = static_cast<float>(w) / static_cast<float>(h);

    IntSize size;
    bool decided = false;
    if (in.resolutionFile) {
        size_t pos = 0;
        const int first = atoi(readLine(*in.resolutionFile, pos).c_str());
        const int second = atoi(readLine(*in.resolutionFile, pos).c_str());
        if (configuredWidth > configuredHeight)
            size = {first, second};
        else
            size = {second, first};
        // A zero or negative side would make a window that cannot be seen.
        if (size.width < 1 || size.height < 1) {
            result.resolutionFileIgnored = true;
            result.ignoredSize = size;
        } else {
            decided = true;
        }
    }
    if (!decided) {
        if (configuredWidth <= availableWidth && configuredHeight <= availableHeight) {
            size = {configuredWidth, configuredHeight};
        } else if (in.fullscreenFitType == 1) {
            const float a = std::min(std::max(availableAspect, in.fullscreenMinimalAspect), aspect);
            if (a <= availableAspect)
                size = {static_cast<int>(a * static_cast<float>(h)), h};
            else
                size = {w, static_cast<int>(static_cast<float>(w) / a)};
        } else if (aspect < availableAspect) {
            size = {static_cast<int>(aspect * static_cast<float>(h)), h};
        } else {
            size = {w, static_cast<int>(static_cast<float>(w) / aspect)};
        }
        size = {std::max(size.width, 1), std::max(size.height, 1)};
    }

    result.renderSize = size;
    result.windowSize = {size.width + 2 * frame, size.height + 2 * frame + caption};
    result.position.x = in.workArea.width / 2 + in.workArea.x - size.width / 2;
    result.position.y = in.workArea.height / 2 - caption / 2 + in.workArea.y - size.height / 2;
    return result;
}

void computeWindowSize(IntPoint* position, IntSize* renderSize, IntSize* windowSize)
{
    ShellState& shell = shellState();
    WindowSizeInputs in;
    in.fullscreen = shell.fullscreen;
    in.desktop = desktopSize();
    if (const Platform* platform = ConfigManager::instance()->currentPlatform()) {
        in.configuredWidth = platform->width;
        in.configuredHeight = platform->height;
        in.fullscreenFitType = platform->fullscreenFitType;
        in.fullscreenMinimalAspect = platform->fullscreenMinimalAspect;
    }
    in.workArea = workArea();
    in.metrics = mainWindow().handle.frameMetrics();
    if (!in.fullscreen)
        in.resolutionFile = readResolutionFile();

    const WindowSizeResult result = computeWindowSizeFrom(in);
    if (result.resolutionFileIgnored) {
        log(formatString("WARNING: %s gives the size %i x %i; it is ignored", RESOLUTION_FILE,
                         result.ignoredSize.width, result.ignoredSize.height));
    }
    if (position)
        *position = result.position;
    if (renderSize)
        *renderSize = result.renderSize;
    if (windowSize)
        *windowSize = result.windowSize;
    if (in.fullscreen)
        shell.maxTrackSize = renderSize ? result.renderSize : IntSize{};
    else
        shell.maxTrackSize = windowSize ? result.windowSize : IntSize{};
}

// The render system fits the workspace into the client size it is told.
static void recordClientSize(int width, int height)
{
    MainWindow& window = mainWindow();
    window.width = width;
    window.height = height;
    if (RenderSystem* renderSystem = RenderSystem::instancePtr())
        renderSystem->setWindowSize(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
}

void windowSizeChanged(int width, int height)
{
    if (width == 0 || height == 0)
        return;
    log(formatString("windowSizeChanged %i; %i", width, height));
    recordClientSize(width, height);
}

void resetWindow(bool resetDevice, bool centre)
{
    ShellState& shell = shellState();
    MainWindow& window = mainWindow();
    windowProc({WindowMessageType::SysCommand, SC_RESTORE, 0});

    if (!shell.fullscreen) {
        log("resetWindow, window");
        IntPoint position;
        IntSize renderSize;
        IntSize windowSize;
        computeWindowSize(&position, &renderSize, &windowSize);
        recordClientSize(renderSize.width, renderSize.height);
        log(formatString("Render target size: (%i, %i)", window.width, window.height));
        log(formatString("set window size %i %i ", windowSize.width, windowSize.height));
        if (!centre) {
            const IntRect current = window.handle.outerRect();
            position = {current.x, current.y};
        }
        window.handle.setSizeLimits(MIN_TRACK_WIDTH, MIN_TRACK_HEIGHT, renderSize.width, renderSize.height);
        window.handle.setWindowed(position.x, position.y, renderSize.width, renderSize.height);
    } else {
        log("resetWindow, fullscreen");
        IntSize renderSize;
        computeWindowSize(nullptr, &renderSize, nullptr);
        recordClientSize(renderSize.width, renderSize.height);
        log(formatString("set window size %i %i ", renderSize.width, renderSize.height));
        window.handle.setFullscreen();
    }

    if (resetDevice) {
        if (RenderSystem* renderSystem = RenderSystem::instancePtr(); renderSystem && renderSystem->device())
            renderSystem->reset();
    }

    window.handle.setScreenSaverAllowed(!shell.fullscreen);
    windowProc({WindowMessageType::ActivateApp, 1, 0});
}

void checkDisplayResolution()
{
    ShellState& shell = shellState();
    const IntSize desktop = desktopSize();
    if (desktop.width == shell.desktopSize.width && desktop.height == shell.desktopSize.height)
        return;
    log("resolution changed!!!! ");
    shell.desktopSize = desktop;
    resetWindow(true, true);
}

intptr_t windowProc(const WindowMessage& message)
{
    ShellState& shell = shellState();
    Application* app = application();
    MainWindow& window = *app->window;
    const bool fullscreen = shell.fullscreen;

    switch (message.type) {
    case WindowMessageType::Destroy:
        if (shell.hooks.onWindowClosed)
            shell.hooks.onWindowClosed();
        postMessage({WindowMessageType::Quit, 0, 0});
        return 0;
    case WindowMessageType::Size: {
        const int width = static_cast<int>(message.lParam & 0xFFFF);
        const int height = static_cast<int>((message.lParam >> 16) & 0xFFFF);
        windowSizeChanged(width, height);
        if (message.wParam == SIZE_MAXIMIZED && app->initialised)
            resetWindow(false, false);
        return 0;
    }
    case WindowMessageType::Activate:
        if (message.wParam != 0) {
            shell.activationFlags |= ACTIVATION_WINDOW;
            checkDisplayResolution();
            activateIfComplete();
        } else {
            shell.activationFlags &= ~ACTIVATION_WINDOW;
            if (app->active) {
                app->onDeactivate();
                minimiseIfFullscreen(fullscreen);
            }
        }
        return 0;
    case WindowMessageType::Paint:
        app->frameRender();
        return 0;
    case WindowMessageType::ActivateApp:
        if (message.wParam != 0)
            shell.activationFlags |= ACTIVATION_APP;
        else
            shell.activationFlags &= ~(ACTIVATION_APP | ACTIVATION_WINDOW);
        if (message.wParam == 1) {
            checkDisplayResolution();
            activateIfComplete();
        } else if (message.wParam == 0 && app->active) {
            log("wParam = FALSE");
            app->onDeactivate();
            minimiseIfFullscreen(fullscreen);
        }
        return 0;
    case WindowMessageType::SetCursor:
        window.handle.setCursorHidden(app->active && window.hideCursor != 0);
        return 0;
    case WindowMessageType::NcActivate:
        if (message.wParam != 0)
            shell.activationFlags |= ACTIVATION_NONCLIENT;
        else
            shell.activationFlags &= ~ACTIVATION_NONCLIENT;
        if (shell.activationFlags == ACTIVATION_ALL)
            app->onActivate();
        return 0;
    case WindowMessageType::SysCommand:
        if (message.wParam == SC_RESTORE)
            window.handle.restore();
        else if (message.wParam == SC_MINIMIZE)
            window.handle.minimise();
        return 0;
    case WindowMessageType::None:
    case WindowMessageType::Quit:
        return 0;
    }
    return 0;
}

void createWindow()
{
    std::string error;
    if (!initVideo(WINDOW_CLASS, &error))
        assertFailed("VQ", "Unable to start the video system: " + error, "shell", __LINE__);

    Application* app = application();
    MainWindow& window = *app->window;
    const IntSize screen = desktopSize();
    int width = 0;
    int height = 0;
    if (const Platform* platform = ConfigManager::instance()->currentPlatform()) {
        width = platform->width;
        height = platform->height;
    }
    window.width = width;
    window.height = height;
    const FrameMetrics metrics = DEFAULT_FRAME_METRICS;
    const int outerWidth = width + 2 * metrics.frame;
    const int outerHeight = height + 2 * metrics.frame + metrics.caption;
    const int x = (screen.width - outerWidth) / 2 + metrics.frame;
    const int y = (screen.height - outerHeight) / 2 + metrics.frame + metrics.caption;
    if (!window.handle.create(app->title, x, y, width, height, &error))
        assertFailed("VQ", "Unable to create the window: " + error, "shell", __LINE__);

    resetWindow(true, true);
}

int mainLoop()
{
    ShellState& shell = shellState();
    Application* app = application();
    uint64_t frameStart = tickCountMilliseconds();
    uint64_t frameNumber = 0;
    for (;;) {
        const bool wanted = shell.hooks.wantedFullscreen ? shell.hooks.wantedFullscreen() : false;
        if (wanted != shell.fullscreen) {
            shell.fullscreen = wanted;
            resetWindow(true, true);
        }

        if (gInstance && gInstance->takeRaiseRequest()) {
            SdlWindow& handle = app->window->handle;
            if (handle.isMinimised())
                handle.restore();
            handle.raise();
        }

        WindowMessage message;
        if (peekMessage(message)) {
            if (message.type == WindowMessageType::Quit)
                break;
            windowProc(message);
            continue;
        }

        const uint64_t elapsed = tickCountMilliseconds() - frameStart;
        if (!shell.hooks.noPacing && elapsed < FRAME_MILLISECONDS)
            sleepMilliseconds(static_cast<unsigned>(FRAME_MILLISECONDS - elapsed));
        frameStart = tickCountMilliseconds();

        app->frameUpdate();
        app->frameRender();
        if (shell.hooks.afterFrame)
            shell.hooks.afterFrame(++frameNumber);
    }
    app->initialised = false;
    return 0;
}

int runProgram(const ProgramHooks& hooks)
{
    ShellState& shell = shellState();
    shell.hooks = hooks;

    // Before anything else, so that a second start neither recreates the
    // running copy's log nor starts engine threads it then abandons.
    gInstance = std::make_unique<SingleInstance>(hooks.instanceName);
    if (gInstance->acquire() == SingleInstance::Result::AlreadyRunning) {
        gInstance.reset();
        return 0;
    }

    contentRoot() = CONTENT_ROOT;
    Application* app = hooks.createApplication();
    application() = app;

    app->initialised = false;
    if (hooks.beforeWindow)
        hooks.beforeWindow();
    createWindow();
    app->startRenderer();
    if (!MemoryManager::exists())
        new MemoryManager();
    app->create();
    app->initialised = true;
    mainLoop();
    app->quit();
}

}  // namespace VQ
