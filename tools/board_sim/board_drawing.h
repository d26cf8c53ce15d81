#pragma once
// What `board_sim --draw` adds: the render system on the OpenGL device of a
// hidden offscreen window at the configured workspace (the window and the
// PNG writer the test drivers use), a dark backdrop, and frames saved as
// PNG.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace VQ {
class RenderSystem;
class Sprite;
}  // namespace VQ
namespace TestSupport {
class GLTestContext;
}
class BoardRenderer;
class GameHelper;

class BoardDrawing {
public:
    // Needs the engine's configuration, sprite and texture managers.
    BoardDrawing();
    // After the engine's textures: they are released on the device.
    ~BoardDrawing();
    BoardDrawing(const BoardDrawing&) = delete;
    BoardDrawing& operator=(const BoardDrawing&) = delete;

    // False (with the reason) when no OpenGL window could be made.
    bool ok() const { return mError.empty(); }
    const std::string& error() const { return mError; }

    // Draws one frame of the board over the backdrop, with the level's
    // components under and over it as the level draws them, and saves it;
    // false (with the reason in `error`) when it cannot.
    bool shot(BoardRenderer& renderer, const std::string& path, std::string& error,
              const std::vector<GameHelper*>& helpers = {});
    void setDistortion(bool on);
    // Before the engine's sprite manager goes.
    void releaseSprites();
    int workspaceWidth() const { return mWidth; }
    int workspaceHeight() const { return mHeight; }

private:
    std::string mError;
    int mWidth = 0;
    int mHeight = 0;
    std::unique_ptr<TestSupport::GLTestContext> mContext;
    uint64_t mFrames = 0;
    std::unique_ptr<VQ::RenderSystem> mRender;
    VQ::Sprite* mBackdrop = nullptr;
};
