#pragma once
// A selectable list: its items are the children of its scroll area (the
// child "childScrollArea"); a release over an item selects it, and a
// highlight sprite is drawn behind the selected item. The text style is
// kept for the items.

#include <string>

#include "ui/ui_font_manager.h"
#include "ui/ui_widget.h"

namespace VQ {

class Sprite;
class UIScrollArea;

class UIListView : public UIWidget {
public:
    using UIWidget::UIWidget;
    // Gives the highlight sprite and the preset's font back.
    ~UIListView() override;

    int32_t processMessage(uint32_t event) override;
    int32_t getType() const override { return TYPE_LIST_VIEW; }
    void beginRender() override;
    void update(float dt) override;
    void loadProperties(LuaScript2& script) override;
    void forgetSubtree(const UIWidget* gone) override;

    UIScrollArea* scrollArea = nullptr;  // also a child
    TextPreset textPreset;               // its font is a reference held
    int32_t selectedIndex = -1;
    Sprite* selectionSprite = nullptr;
    float lineHeight = 32.0f;

private:
    void setPresetFont(UIFont* font);
};

}  // namespace VQ
