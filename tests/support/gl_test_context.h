#pragma once
// A hidden SDL window with an OpenGL 3.3 core context for pixel tests and
// benchmarks. Uses the offscreen video driver (real GL on llvmpipe, no
// display) unless the environment chooses another. Header-only so that the
// benchmarks share it.

#include <SDL.h>

#include <cstdlib>
#include <string>

namespace TestSupport {

class GLTestContext {
public:
    // With `depthStencil`, the window has the depth and stencil buffers the
    // game's window asks for, and the device draws into it as its back
    // buffer; without, the device uses an off-screen back buffer.
    GLTestContext(int width = 64, int height = 64, bool depthStencil = false)
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            mError = SDL_GetError();
            return;
        }
        mVideo = true;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthStencil ? 24 : 16);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, depthStencil ? 8 : 0);
        mWindow = SDL_CreateWindow("test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                   SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!mWindow) {
            mError = SDL_GetError();
            return;
        }
        mContext = SDL_GL_CreateContext(mWindow);
        if (!mContext)
            mError = SDL_GetError();
    }
    ~GLTestContext()
    {
        if (mContext)
            SDL_GL_DeleteContext(mContext);
        if (mWindow)
            SDL_DestroyWindow(mWindow);
        if (mVideo)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    bool ok() const { return mContext != nullptr; }
    // Why the context could not be made.
    const std::string& error() const { return mError; }
    SDL_Window* window() const { return mWindow; }

private:
    bool mVideo = false;
    SDL_Window* mWindow = nullptr;
    SDL_GLContext mContext = nullptr;
    std::string mError;
};

}  // namespace TestSupport
