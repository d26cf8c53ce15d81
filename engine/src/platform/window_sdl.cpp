#include "platform/window_sdl.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <csignal>
#include <cstdlib>
#include <deque>

#include "platform/input_sdl.h"

namespace VQ {

namespace {

std::deque<WindowMessage> gPosted;
// Set by SIGHUP, which SDL does not turn into a quit as it does SIGINT and
// SIGTERM.
volatile sig_atomic_t gHangup = 0;

void onHangup(int)
{
    gHangup = 1;
}

// The terminal that started the game closed: the game ends the orderly way,
// unless it was started to ignore that (nohup).
void catchHangup()
{
    struct sigaction old{};
    if (sigaction(SIGHUP, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
        return;
    struct sigaction action{};
    action.sa_handler = onHangup;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &action, nullptr);
}

WindowMessage makeMessage(WindowMessageType type, uintptr_t wParam = 0, intptr_t lParam = 0)
{
    WindowMessage message;
    message.type = type;
    message.wParam = wParam;
    message.lParam = lParam;
    return message;
}

intptr_t packSize(int width, int height)
{
    return static_cast<intptr_t>((static_cast<uint32_t>(width) & 0xFFFF) |
                                 ((static_cast<uint32_t>(height) & 0xFFFF) << 16));
}

// A focus change arrives as one event; Windows tells the three parts of
// activation separately, in this order.
void postActivation(bool active)
{
    const uintptr_t flag = active ? 1 : 0;
    if (active) {
        gPosted.push_back(makeMessage(WindowMessageType::ActivateApp, flag));
        gPosted.push_back(makeMessage(WindowMessageType::NcActivate, flag));
        gPosted.push_back(makeMessage(WindowMessageType::Activate, flag));
    } else {
        gPosted.push_back(makeMessage(WindowMessageType::NcActivate, flag));
        gPosted.push_back(makeMessage(WindowMessageType::Activate, flag));
        gPosted.push_back(makeMessage(WindowMessageType::ActivateApp, flag));
    }
}

WindowMessage translateWindowEvent(const SDL_WindowEvent& event)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        return makeMessage(WindowMessageType::Destroy);
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        return makeMessage(WindowMessageType::Size, SIZE_RESTORED, packSize(event.data1, event.data2));
    case SDL_WINDOWEVENT_MAXIMIZED: {
        int width = 0;
        int height = 0;
        if (SDL_Window* window = SDL_GetWindowFromID(event.windowID))
            SDL_GetWindowSize(window, &width, &height);
        return makeMessage(WindowMessageType::Size, SIZE_MAXIMIZED, packSize(width, height));
    }
    case SDL_WINDOWEVENT_MINIMIZED:
        return makeMessage(WindowMessageType::Size, SIZE_MINIMIZED, 0);
    case SDL_WINDOWEVENT_EXPOSED:
        return makeMessage(WindowMessageType::Paint);
    case SDL_WINDOWEVENT_ENTER:
        return makeMessage(WindowMessageType::SetCursor);
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST: {
        postActivation(event.event == SDL_WINDOWEVENT_FOCUS_GAINED);
        WindowMessage first = gPosted.front();
        gPosted.pop_front();
        return first;
    }
    default:
        return makeMessage(WindowMessageType::None);
    }
}

WindowMessage translateEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        // SIGINT and SIGTERM arrive here (SIGHUP through peekMessage): end
        // the way closing the window does, so nothing the close saves is
        // lost.
        return makeMessage(WindowMessageType::Destroy);
    case SDL_WINDOWEVENT:
        return translateWindowEvent(event.window);
    case SDL_MOUSEMOTION:
        handleInputEvent(event);
        return makeMessage(WindowMessageType::SetCursor);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
        handleInputEvent(event);
        return makeMessage(WindowMessageType::None);
    default:
        return makeMessage(WindowMessageType::None);
    }
}

}  // namespace

bool initVideo(const std::string& windowClass, std::string* error)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // SDL reads the class when its video starts.
    setenv("SDL_VIDEO_X11_WMCLASS", windowClass.c_str(), 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        if (error)
            *error = SDL_GetError();
        return false;
    }
    catchHangup();
    return true;
}

IntSize desktopSize()
{
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return {};
    return {mode.w, mode.h};
}

IntRect workArea()
{
    SDL_Rect rect{};
    if (SDL_GetDisplayUsableBounds(0, &rect) == 0 && rect.w > 0 && rect.h > 0)
        return {rect.x, rect.y, rect.w, rect.h};
    const IntSize desktop = desktopSize();
    return {0, 0, desktop.width, desktop.height};
}

SdlWindow::~SdlWindow()
{
    destroy();
}

bool SdlWindow::create(const std::string& title, int x, int y, int width, int height, std::string* error)
{
    destroy();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    mWindow = SDL_CreateWindow(title.c_str(), x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!mWindow) {
        if (error)
            *error = SDL_GetError();
        return false;
    }
    mContext = SDL_GL_CreateContext(mWindow);
    if (!mContext) {
        if (error)
            *error = SDL_GetError();
        SDL_DestroyWindow(mWindow);
        mWindow = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(mWindow, mContext);
    return true;
}

void SdlWindow::destroy()
{
    if (mContext) {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
        mContext = nullptr;
    }
    if (mWindow) {
        SDL_DestroyWindow(mWindow);
        mWindow = nullptr;
    }
}

FrameMetrics SdlWindow::frameMetrics() const
{
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    if (!mWindow || SDL_GetWindowBordersSize(mWindow, &top, &left, &bottom, &right) != 0 || top <= 0)
        return DEFAULT_FRAME_METRICS;
    return {left, top - left};
}

void SdlWindow::setWindowed(int x, int y, int width, int height)
{
    if (!mWindow)
        return;
    SDL_SetWindowFullscreen(mWindow, 0);
    SDL_SetWindowBordered(mWindow, SDL_TRUE);
    SDL_SetWindowSize(mWindow, width, height);
    // SDL places the client area; the shell gives the outer corner.
    const FrameMetrics metrics = frameMetrics();
    SDL_SetWindowPosition(mWindow, x + metrics.frame, y + metrics.frame + metrics.caption);
    SDL_ShowWindow(mWindow);
}

void SdlWindow::setFullscreen()
{
    if (!mWindow)
        return;
    SDL_SetWindowFullscreen(mWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_ShowWindow(mWindow);
}

IntRect SdlWindow::outerRect() const
{
    IntRect rect;
    if (!mWindow)
        return rect;
    SDL_GetWindowPosition(mWindow, &rect.x, &rect.y);
    SDL_GetWindowSize(mWindow, &rect.width, &rect.height);
    const FrameMetrics metrics = frameMetrics();
    rect.x -= metrics.frame;
    rect.y -= metrics.frame + metrics.caption;
    rect.width += 2 * metrics.frame;
    rect.height += 2 * metrics.frame + metrics.caption;
    return rect;
}

void SdlWindow::setSizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight)
{
    if (!mWindow)
        return;
    SDL_SetWindowMinimumSize(mWindow, minWidth, minHeight);
    if (maxWidth > 0 && maxHeight > 0)
        SDL_SetWindowMaximumSize(mWindow, maxWidth, maxHeight);
}

void SdlWindow::restore()
{
    if (mWindow)
        SDL_RestoreWindow(mWindow);
}

void SdlWindow::minimise()
{
    if (mWindow)
        SDL_MinimizeWindow(mWindow);
}

void SdlWindow::raise()
{
    if (mWindow)
        SDL_RaiseWindow(mWindow);
}

bool SdlWindow::isMinimised() const
{
    return mWindow && (SDL_GetWindowFlags(mWindow) & SDL_WINDOW_MINIMIZED) != 0;
}

void SdlWindow::setTitle(const std::string& title)
{
    if (mWindow)
        SDL_SetWindowTitle(mWindow, title.c_str());
}

void SdlWindow::setCursorHidden(bool hidden)
{
    if (hidden == mCursorHidden)
        return;
    mCursorHidden = hidden;
    SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}

void SdlWindow::setScreenSaverAllowed(bool allowed)
{
    if (allowed)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
}

void postMessage(const WindowMessage& message)
{
    gPosted.push_back(message);
}

bool peekMessage(WindowMessage& out)
{
    if (!gPosted.empty()) {
        out = gPosted.front();
        gPosted.pop_front();
        return true;
    }
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return false;
    if (gHangup) {
        gHangup = 0;
        out = makeMessage(WindowMessageType::Destroy);
        return true;
    }
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0)
        return false;
    out = translateEvent(event);
    return true;
}

void clearMessages()
{
    gPosted.clear();
    if (SDL_WasInit(SDL_INIT_EVENTS))
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

}  // namespace VQ
