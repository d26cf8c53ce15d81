#include "ui/ui_sprite.h"

#include <algorithm>

#include "fast_sprite.h"
#include "sprite_manager.h"
#include "ui/ui_script_keys.h"

namespace VQ {

UISprite::UISprite(std::string name, UIWidget* parent, const std::string& image, const std::string& table,
                   const std::string& package) :
    UIWidget(std::move(name), parent)
{
    if (!image.empty() && !table.empty())
        sprite = SpriteManager<FastSprite>::instance()->createSprite(image, table, package);
    if (sprite)
        size = sprite->size;
}

UISprite::~UISprite()
{
    if (sprite && ownsSprite)
        if (auto* sprites = SpriteManager<FastSprite>::instancePtr())
            sprites->releaseSprite(sprite);
}

Vector2f UISprite::getSize() const
{
    return Vector2f(size.x * scale.x, size.y * scale.y);
}

void UISprite::loadProperties(LuaScript2& script)
{
    UIWidget::loadProperties(script);
    Vector2f newSize = sprite ? sprite->size : size;
    UIKeys::readVector(script, "size", newSize);
    Color tint;
    if (sprite && UIKeys::readColor(script, "color", tint))
        sprite->setColor(tint);
    Vector2f newScale(1.0f, 1.0f);
    UIKeys::readVector(script, "scale", newScale);
    if (sprite) {
        sprite->size = newSize;
        sprite->scale = newScale;
    }
    size = newSize;
    scale = newScale;
}

void UISprite::beginRender()
{
    if (!sprite)
        return;
    const Color own = sprite->cornerColor(0);
    auto fraction = [](uint8_t a, uint8_t b) { return std::clamp(float(a) / 255.0f * (float(b) / 255.0f), 0.0f, 1.0f); };
    const Color drawing(fraction(own.r, color.r), fraction(own.g, color.g), fraction(own.b, color.b),
                        std::clamp(float(color.a) / 255.0f * transparency, 0.0f, 1.0f));
    sprite->setClipEnabled(clipEnabled);
    if (clipEnabled)
        sprite->setClipRect(clipRect);
    const Vector2f at = absolutePosition();
    const Vector2f ownPosition = sprite->position;
    const Vector2f ownScale = sprite->scale;
    sprite->position = Vector2f(at.x + ownPosition.x, at.y + ownPosition.y);
    sprite->scale = scale;
    sprite->setColor(drawing);
    sprite->draw();
    sprite->setColor(own);
    sprite->position = ownPosition;
    sprite->scale = ownScale;
}

}  // namespace VQ
