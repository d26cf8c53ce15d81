#pragma once
// An image: one fast sprite drawn at the widget's place, tinted by the
// widget's colour and faded by its transparency, scaled by `scale` (the
// target of "scale" property changes).

#include "ui/ui_widget.h"

namespace VQ {

class FastSprite;

class UISprite : public UIWidget {
public:
    // Creates the sprite from the sprite table `table` of `image` (both
    // non-empty, else no sprite).
    UISprite(std::string name, UIWidget* parent, const std::string& image, const std::string& table,
             const std::string& package);
    // Releases the sprite when it owns it.
    ~UISprite() override;

    Vector2f getSize() const override;
    int32_t getType() const override { return TYPE_SPRITE; }
    void beginRender() override;
    void loadProperties(LuaScript2& script) override;

    FastSprite* sprite = nullptr;
    bool ownsSprite = true;
    Vector2f scale{1.0f, 1.0f};
};

}  // namespace VQ
