#include "board_drawing.h"

#include <SDL.h>
#include <png.h>

#include <cstdlib>
#include <vector>

#include "board_renderer.h"
#include "config_manager.h"
#include "image_writers.h"
#include "platform/graphics_device_gl.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"

BoardDrawing::BoardDrawing()
{
    const VQ::Platform* platform = VQ::ConfigManager::instance()->currentPlatform();
    mWidth = platform ? platform->width : 1726;
    mHeight = platform ? platform->height : 970;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        mError = SDL_GetError();
        return;
    }
    mVideo = true;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    mWindow = SDL_CreateWindow("board_sim", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, mWidth, mHeight,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (mWindow)
        mContext = SDL_GL_CreateContext(mWindow);
    if (!mContext) {
        mError = SDL_GetError();
        return;
    }
    mRender = std::make_unique<VQ::RenderSystem>();
    VQ::RenderSettings settings;
    settings.workspaceWidth = mWidth;
    settings.workspaceHeight = mHeight;
    if (platform) {
        settings.fullscreenFitType = platform->fullscreenFitType;
        settings.fullscreenMinimalAspect = platform->fullscreenMinimalAspect;
        settings.workspaceZoom = platform->workspaceZoom;
    }
    mRender->setSettings(settings);
    mRender->setWindowSize(uint32_t(mWidth), uint32_t(mHeight));
    mRender->setDevice(VQ::createGraphicsDeviceGL());
    mRender->createDevice();
    mRender->setupDistortionProgram();
    mBackdrop = VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromTexture(nullptr);
}

void BoardDrawing::releaseSprites()
{
    if (mBackdrop)
        VQ::SpriteManager<VQ::Sprite>::instance()->releaseSprite(mBackdrop);
    mBackdrop = nullptr;
}

BoardDrawing::~BoardDrawing()
{
    if (mRender)
        mRender->releaseBatches();
    mRender.reset();
    if (mContext)
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
    if (mWindow)
        SDL_DestroyWindow(mWindow);
    if (mVideo)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void BoardDrawing::setDistortion(bool on)
{
    if (mRender)
        mRender->setDistortionEnabled(on);
}

bool BoardDrawing::shot(BoardRenderer& renderer, const std::string& path, std::string& error)
{
    if (!mRender) {
        error = mError;
        return false;
    }
    if (mRender->distortionEnabled()) {
        // The render system moves a frame's scene into its scene texture
        // when the distortion pass first draws, and that first frame loses
        // what was drawn before the move; once a distortion frame has been
        // drawn, frames start in the texture. An empty one, drawn first,
        // leaves the shot whole.
        mRender->beginFrame();
        mRender->beginDistortion();
        mRender->endDistortion();
        mRender->endFrame();
    }
    mRender->beginFrame();
    // The indigo night behind the board, darker towards the bottom.
    mBackdrop->setSize(VQ::Vector2f(float(mWidth), float(mHeight)));
    mBackdrop->setPositionXY(0.0f, 0.0f);
    mBackdrop->setColor(VQ::Color(0xFF14112Eu));
    mBackdrop->setVertexColor(2, VQ::Color(0xFF0B0920u));
    mBackdrop->setVertexColor(3, VQ::Color(0xFF0B0920u));
    mBackdrop->updateVertices();
    mBackdrop->draw();
    renderer.render();
    mRender->endFrame();
    mRender->present();
    std::vector<uint32_t> argb;
    uint32_t width = 0, height = 0;
    if (!mRender->device()->readPixels(argb, width, height)) {
        error = "no frame to read";
        return false;
    }
    ImageWriters::PngDescription png;
    png.width = width;
    png.height = height;
    png.colourType = PNG_COLOR_TYPE_RGB;
    for (uint32_t pixel : argb) {
        png.rows.push_back(uint8_t(pixel >> 16));
        png.rows.push_back(uint8_t(pixel >> 8));
        png.rows.push_back(uint8_t(pixel));
    }
    ImageWriters::Bytes bytes;
    if (!ImageWriters::writePng(png, bytes, error))
        return false;
    if (!ImageWriters::writeFile(path, bytes)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
