#pragma once
// The program's one window over SDL2, with its OpenGL 3.3 core context, the
// display metrics the shell sizes it from, and the message pump that turns
// SDL's events into the window messages the shell's window procedure handles.

#include <cstdint>
#include <string>

struct SDL_Window;

namespace VQ {

struct IntSize {
    int width = 0;
    int height = 0;
};

struct IntPoint {
    int x = 0;
    int y = 0;
};

struct IntRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The frame thickness and caption height of a decorated window, in pixels.
struct FrameMetrics {
    int frame = 0;
    int caption = 0;
};

// Used before a window exists: the size of an ordinary desktop decoration.
constexpr FrameMetrics DEFAULT_FRAME_METRICS{4, 23};

// Brings SDL's video up once (later calls do nothing); false with SDL's
// reason when it cannot. `windowClass` names the program to the window
// manager (the X11 class of its windows).
bool initVideo(const std::string& windowClass, std::string* error);

IntSize desktopSize();
// The part of the desktop not covered by panels (the whole desktop when the
// system cannot say).
IntRect workArea();

// The messages the window procedure handles. Values other than the type are
// kept in the Windows layout (sizes packed into `lParam`, flags in `wParam`)
// so that the procedure reads like its table.
enum class WindowMessageType {
    None,      // an event the procedure does not handle (input, ...)
    Destroy,   // the window is being closed, or the process was asked to end
    Size,      // wParam: SIZE_*; lParam: width | height << 16
    Activate,  // wParam: non-zero when the window became active
    ActivateApp,
    NcActivate,
    Paint,
    SetCursor,  // the pointer moved over the client area
    SysCommand,  // wParam: SC_*
    Quit,       // posted by the procedure; ends the loop
};

constexpr uintptr_t SIZE_RESTORED = 0;
constexpr uintptr_t SIZE_MINIMIZED = 1;
constexpr uintptr_t SIZE_MAXIMIZED = 2;
constexpr uintptr_t SC_MINIMIZE = 0xF020;
constexpr uintptr_t SC_RESTORE = 0xF120;

struct WindowMessage {
    WindowMessageType type = WindowMessageType::None;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

class SdlWindow {
public:
    SdlWindow() = default;
    ~SdlWindow();
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    // Creates the shown, non-resizable window with its client area at
    // (x, y) and its GL context, current on this thread. False with SDL's
    // reason when either cannot be made.
    bool create(const std::string& title, int x, int y, int width, int height, std::string* error);
    void destroy();
    bool exists() const { return mWindow != nullptr; }
    SDL_Window* handle() const { return mWindow; }

    // The decorations of this window as the window manager reports them,
    // else the defaults.
    FrameMetrics frameMetrics() const;

    // Windowed form: decorated, the outer top-left corner at (x, y), the
    // client area width x height.
    void setWindowed(int x, int y, int width, int height);
    // Full-screen form over the desktop.
    void setFullscreen();
    // The outer top-left corner.
    IntRect outerRect() const;
    void setSizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight);

    void restore();
    void minimise();
    void raise();
    bool isMinimised() const;
    void setTitle(const std::string& title);

    // Hides the system cursor over the window while `hidden`.
    void setCursorHidden(bool hidden);
    // The screen saver and display sleep are held off while not allowed.
    void setScreenSaverAllowed(bool allowed);

private:
    SDL_Window* mWindow = nullptr;
    void* mContext = nullptr;
    bool mCursorHidden = false;
};

// Appends a message that the next `peekMessage` hands out before any new
// event (the quit message, the activation messages of one focus change).
void postMessage(const WindowMessage& message);
// Takes one message: a posted one first, else one SDL event, translated
// (input events also update the input state, platform/input_sdl.h). False
// when nothing is pending.
bool peekMessage(WindowMessage& out);
// Drops posted messages and SDL's queued events (tests).
void clearMessages();

}  // namespace VQ
