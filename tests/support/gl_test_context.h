#pragma once
// A hidden SDL window with an OpenGL 3.3 core context for pixel tests. Uses
// the offscreen video driver (real GL on llvmpipe, no display) unless the
// environment chooses another.

#include <SDL.h>

#include <string>

namespace TestSupport {

class GLTestContext {
public:
    GLTestContext(int width = 64, int height = 64);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    bool ok() const { return mContext != nullptr; }
    // Why the context could not be made.
    const std::string& error() const { return mError; }
    SDL_Window* window() const { return mWindow; }

private:
    SDL_Window* mWindow = nullptr;
    SDL_GLContext mContext = nullptr;
    std::string mError;
};

}  // namespace TestSupport
