#pragma once
// The program's shell: its entry sequence, the one window in windowed and
// full-screen forms, the window procedure that turns window messages into
// activation and size changes, and the paced main loop that drives the
// application's frames.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/window_sdl.h"

class Application;

namespace VQ {

// The window record the application owns.
struct MainWindow {
    int32_t width = 0;   // client size
    int32_t height = 0;
    // While set, the system cursor is hidden over the client area of the
    // active window (the game draws its own).
    int32_t hideCursor = 0;
    SdlWindow handle;
};

// What the program's entry needs of the game, which the engine cannot name.
struct ProgramHooks {
    // Names the single-instance lock.
    const char* instanceName = "";
    Application* (*createApplication)() = nullptr;
    // Runs after the application exists and before the window does.
    void (*beforeWindow)() = nullptr;
    // The window form the player wants, read on every loop turn; windowed
    // when null.
    bool (*wantedFullscreen)() = nullptr;
    // Closing the window: what must be saved before the loop ends.
    void (*onWindowClosed)() = nullptr;
    // After each drawn frame (test drivers capture frames here; the game
    // leaves it null).
    void (*afterFrame)(uint64_t frameNumber) = nullptr;
    // The frame clock's counter reading, in the performance counter's
    // units; the performance counter itself when null. Drivers that replay
    // a game step it by a fixed amount a frame.
    uint64_t (*frameClock)() = nullptr;
    // Runs frames back to back, without the pause that keeps the loop at
    // about 60 frames a second.
    bool noPacing = false;
};

// The shell's process-wide state.
struct ShellState {
    bool fullscreen = false;
    IntSize maxTrackSize;
    IntSize desktopSize;
    uint32_t activationFlags = 14;
    ProgramHooks hooks;
};
ShellState& shellState();

constexpr uint32_t ACTIVATION_WINDOW = 2;
constexpr uint32_t ACTIVATION_APP = 4;
constexpr uint32_t ACTIVATION_NONCLIENT = 8;
constexpr uint32_t ACTIVATION_ALL = 14;
constexpr int MIN_TRACK_WIDTH = 640;
constexpr int MIN_TRACK_HEIGHT = 480;
constexpr unsigned FRAME_MILLISECONDS = 16;

// The program's entry: the single-instance lock first (a second start asks
// the first to come to the front and returns 0 having touched nothing),
// then the content root, the application, the window, the renderer, the
// memory manager, the game's start-up and the main loop; ends through
// Application::quit.
int runProgram(const ProgramHooks& hooks);

// Runs until the quit message; 0.
int mainLoop();
void createWindow();
void resetWindow(bool resetDevice, bool centre);
void windowSizeChanged(int width, int height);
void checkDisplayResolution();
// The window procedure: one message, handled as the shell's table says.
intptr_t windowProc(const WindowMessage& message);
std::string versionString();

// Everything the window's size depends on, so that the sizing is a pure
// function of it.
struct WindowSizeInputs {
    bool fullscreen = false;
    IntSize desktop;
    int configuredWidth = 0;
    int configuredHeight = 0;
    uint32_t fullscreenFitType = 0;
    float fullscreenMinimalAspect = 1.33f;
    IntRect workArea;
    FrameMetrics metrics;
    // The contents of "resolution.txt" when it could be opened.
    std::optional<std::string> resolutionFile;
};

struct WindowSizeResult {
    IntPoint position;  // the outer top-left corner
    IntSize renderSize;
    IntSize windowSize;
    // Set when "resolution.txt" was present but gave a size below 1 and was
    // therefore ignored.
    bool resolutionFileIgnored = false;
    IntSize ignoredSize;
};

WindowSizeResult computeWindowSizeFrom(const WindowSizeInputs& inputs);

// Fills what it is given from the current configuration, display and form,
// and records the largest size the user may drag the window to.
void computeWindowSize(IntPoint* position, IntSize* renderSize, IntSize* windowSize);

}  // namespace VQ
