#pragma once
// The game's application object: brings the game's singletons up after the
// engine and down before it, and runs one game frame.

#include "application.h"

namespace AE {
class ISceneNode;
}

class GameApplication : public Application {
public:
    GameApplication();
    ~GameApplication() override;

    void update() override;
    void render() override;
    void create() override;
    void destroy() override;
    void updateWhileLoading() override;
    void renderWhileLoading() override;
    void drawCursor(float scale) override;

    // The frame step the game's parts get: the frame time capped at 0.1 s
    // and then at 0.033 s.
    static float gameStep(float frameTime);

    // The scene shown while a state loads; null when it could not be loaded.
    AE::ISceneNode* loadingScene() const { return mLoadingScene; }

private:
    // The profile's cursor flag and volumes, applied every frame.
    void applyProfileSettings();

    // The orientation last applied: the workspace at least as high as wide.
    bool mPortrait = false;
    AE::ISceneNode* mLoadingScene = nullptr;  // owned
};

// The one game application; null before it is constructed.
GameApplication*& gameApplication();
