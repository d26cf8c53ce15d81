#include "board_drawing.h"

#include "board_renderer.h"
#include "config_manager.h"
#include "platform/graphics_device_gl.h"
#include "programs/back_buffer_png.h"
#include "support/gl_test_context.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"

BoardDrawing::BoardDrawing()
{
    const VQ::Platform* platform = VQ::ConfigManager::instance()->currentPlatform();
    mWidth = platform ? platform->width : 1726;
    mHeight = platform ? platform->height : 970;
    // A window with the depth and stencil buffers the game's window has.
    mContext = std::make_unique<TestSupport::GLTestContext>(mWidth, mHeight, true);
    if (!mContext->ok()) {
        mError = mContext->error();
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
    mContext.reset();
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
    if (mFrames == 0) {
        // Textures loaded for the level reach the device at the end of a
        // frame, and a sprite whose texture is not there yet is skipped: an
        // empty frame first lets the first shot show the whole board.
        mRender->beginFrame();
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
    if (!saveBackBuffer(path, ++mFrames)) {
        error = "the frame could not be saved";
        return false;
    }
    return true;
}
