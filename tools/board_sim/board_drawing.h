#pragma once
// What `board_sim --draw` adds: the render system on the OpenGL device of a
// hidden offscreen window at the configured workspace, a dark backdrop, and
// frames saved as PNG.

#include <memory>
#include <string>

namespace VQ {
class RenderSystem;
class Sprite;
}  // namespace VQ
class BoardRenderer;
struct SDL_Window;

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

    // Draws one frame of the board over the backdrop and saves it; false
    // (with the reason in `error`) when it cannot.
    bool shot(BoardRenderer& renderer, const std::string& path, std::string& error);
    void setDistortion(bool on);
    // Before the engine's sprite manager goes.
    void releaseSprites();
    int workspaceWidth() const { return mWidth; }
    int workspaceHeight() const { return mHeight; }

private:
    std::string mError;
    int mWidth = 0;
    int mHeight = 0;
    SDL_Window* mWindow = nullptr;
    void* mContext = nullptr;
    bool mVideo = false;
    std::unique_ptr<VQ::RenderSystem> mRender;
    VQ::Sprite* mBackdrop = nullptr;
};
