#include "ui/ui_list_view.h"

#include <algorithm>

#include "sprite.h"
#include "sprite_manager.h"
#include "ui/ui_controller.h"
#include "ui/ui_script_keys.h"
#include "ui/ui_scroll_area.h"

namespace VQ {

namespace {

const char* const DEFAULT_FONT = "system_font_fnt";

}  // namespace

UIListView::~UIListView()
{
    if (selectionSprite)
        if (auto* sprites = SpriteManager<Sprite>::instancePtr())
            sprites->releaseSprite(selectionSprite);
    setPresetFont(nullptr);
}

void UIListView::setPresetFont(UIFont* font)
{
    if (textPreset.font)
        if (auto* fonts = UIFontManager::instancePtr())
            fonts->releaseFont(textPreset.font);
    textPreset.font = font;
}

void UIListView::loadProperties(LuaScript2& script)
{
    UIWidget::loadProperties(script);
    std::string presetName;
    TextPreset read;
    if (UIKeys::readString(script, "fontPreset", presetName) &&
        UIFontManager::instance()->loadTextPresetByName(presetName, &read) == 0) {
        UIFont* font = read.font;
        read.font = textPreset.font;
        textPreset = read;
        setPresetFont(font);
    } else if (!textPreset.font) {
        TextPreset fallback;
        fallback.halign = 1;
        fallback.valign = 1;
        textPreset = fallback;
        setPresetFont(UIFontManager::instance()->getFont(DEFAULT_FONT));
    }
    std::string image;
    std::string table;
    UIKeys::readString(script, "selectionImagename", image);
    UIKeys::readString(script, "selectionTablename", table);
    if (!image.empty() && !table.empty()) {
        auto* sprites = SpriteManager<Sprite>::instance();
        if (selectionSprite)
            sprites->releaseSprite(selectionSprite);
        selectionSprite = sprites->createSpriteFromScript(image, table, "default");
    }
    UIKeys::readFloat(script, "lineHeight", lineHeight);
}

int32_t UIListView::processMessage(uint32_t event)
{
    switch (UIEvent::kind(event)) {
    case UIEvent::POINTER_HELD:
        setState("onPress");
        capturePointer();
        break;
    case UIEvent::POINTER_RELEASED: {
        releasePointer();
        const UIPCController* input = pointerInput();
        if (!input || !scrollArea || !hitTest(input->cursor))
            break;
        const auto& items = scrollArea->children;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i]->hitTest(input->cursor)) {
                selectedIndex = int32_t(i);
                playClickSound();
                break;
            }
        break;
    }
    default:
        break;
    }
    return 1;
}

void UIListView::update(float dt)
{
    (void)dt;
    if (!scrollArea)
        return;
    size = scrollArea->viewportSize;
    const auto& items = scrollArea->children;
    if (selectedIndex < 0 || !selectionSprite || items.empty())
        return;
    selectedIndex = std::min(selectedIndex, int32_t(items.size()) - 1);
    const Vector2f at = items[size_t(selectedIndex)]->absolutePosition();
    const Vector2f spriteSize = selectionSprite->size();
    selectionSprite->setPosition(Vector2f(at.x + scrollArea->viewportSize.x * 0.5f - spriteSize.x * 0.5f,
                                          at.y + lineHeight * 0.5f - spriteSize.y * 0.5f));
    selectionSprite->setClipEnabled(true);
    selectionSprite->setClipRect(scrollArea->clipRect);
}

void UIListView::beginRender()
{
    if (selectedIndex < 0 || !selectionSprite)
        return;
    selectionSprite->setColor(Color(1.0f, 1.0f, 1.0f, std::clamp(transparency, 0.0f, 1.0f)));
    selectionSprite->updateVertices();
    selectionSprite->draw();
}

void UIListView::forgetSubtree(const UIWidget* gone)
{
    UIWidget::forgetSubtree(gone);
    if (scrollArea && (scrollArea == gone || gone->isDescendant(scrollArea)))
        scrollArea = nullptr;
}

}  // namespace VQ
