#include "support/gl_test_context.h"

#include <cstdlib>

namespace TestSupport {

GLTestContext::GLTestContext(int width, int height)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        mError = SDL_GetError();
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
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

GLTestContext::~GLTestContext()
{
    if (mContext)
        SDL_GL_DeleteContext(mContext);
    if (mWindow)
        SDL_DestroyWindow(mWindow);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace TestSupport
