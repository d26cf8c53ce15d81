#pragma once
// The first state: full-screen logo pictures from "logo_xml", each shown for
// its own time with a fade in and out, the skippable ones cut short by a
// click; then the main menu. The one state that loads synchronously.

#include <memory>
#include <string>

#include "game_state.h"
#include "vector2.h"

namespace VQ {
class Sprite;
}

class LogoGameState : public IGameState {
public:
    struct Item {
        VQ::Sprite* sprite = nullptr;  // made by the sprite manager; null when none
        float duration = 0.0f;
        int skippable = 0;
        float elapsed = 0.0f;
    };

    LogoGameState() = default;
    ~LogoGameState() override;

    void load() override;
    void unload() override;
    void update(float dt) override;
    void draw() override;
    void onDeactivate() override;
    std::string getName() const override { return "LogoGameState"; }

    // The fade level of an item `elapsed` seconds into its `duration`.
    static float fadeLevel(float elapsed, float duration);
    // Where a picture of `pictureSize` goes on a scene of `sceneSize`: its
    // scale and its top-left corner.
    static void placePicture(const VQ::Vector2f& pictureSize, const VQ::Vector2f& sceneSize,
                             float& scale, VQ::Vector2f& topLeft);

    std::unique_ptr<Item[]> items;
    int count = 0;
    int current = 0;

private:
    void readSequence();
};
