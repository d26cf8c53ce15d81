#pragma once
// The game's application object: brings the game's singletons up after the
// engine and down before it, in a fixed order, and runs one game frame.

#include "application.h"

namespace AE {
class ISceneNode;
}
namespace VQ {
class Font;
class Sprite;
class UIFont;
}  // namespace VQ
class FFIcon;
class GameStateManager;

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
    GameStateManager* stateManager() const { return mStateManager; }
    FFIcon* socialIcon() const { return mSocialIcon; }
    VQ::Sprite* cursorSprite() const { return mCursorSprite; }

private:
    // The profile's cursor flag and volumes, applied every frame.
    void applyProfileSettings();
    void present();

    GameStateManager* mStateManager = nullptr;  // owned
    VQ::Font* mLoadingFont = nullptr;           // owned
    AE::ISceneNode* mLoadingScene = nullptr;    // owned
    VQ::Sprite* mLeftBorderSprite = nullptr;    // the sprite manager's
    VQ::Sprite* mTopBorderSprite = nullptr;
    VQ::Sprite* mCursorSprite = nullptr;
    // Held for the whole run, so that both fonts stay cached.
    VQ::UIFont* mUiFont = nullptr;
    VQ::UIFont* mSmallUiFont = nullptr;
    FFIcon* mSocialIcon = nullptr;  // owned
    // The orientation last applied to the loading scene: the workspace at
    // least as high as wide.
    bool mPortrait = false;
};

// The states' part of a game frame: a pending switch is carried out and
// nothing is updated; otherwise the current state, when loaded, and the
// tutorial are updated, and a switch they ask for is left pending.
void runStateFrame(GameStateManager& states, float dt);

// The orientation changed: the manager's flag, the current state when
// loaded, every window not marked for removal and the current mode.
void notifyOrientation(GameStateManager& states, bool portrait);

// The one game application; null before it is constructed.
GameApplication*& gameApplication();
