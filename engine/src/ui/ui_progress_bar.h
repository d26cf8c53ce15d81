#pragma once
// A bar drawn by cropping its sprite child ("bar") to the value, with an
// optional thumb child ("thumb") that the pointer drags like a slider. A
// kinetic bar swings smoothly to the value it is given. It is also the
// scroll bar of a scroll area, which reads `value`, `dragging` and `step`.

#include <string>

#include "rect.h"
#include "ui/ui_widget.h"

namespace VQ {

class UISprite;

class UIProgressBar : public UIWidget {
public:
    using UIWidget::UIWidget;

    int32_t processMessage(uint32_t event) override;
    int32_t getType() const override { return TYPE_PROGRESS_BAR; }
    void update(float dt) override;
    void loadProperties(LuaScript2& script) override;
    void forgetSubtree(const UIWidget* gone) override;

    // Clamped to 0..1; a kinetic bar moves towards it, another jumps.
    void setValue(float v);
    // Clamped to 0..1; jumps there, kinetic or not.
    void setValueAt(float v);

    std::string barName;
    UISprite* bar = nullptr;  // a descendant; only a sprite widget counts
    bool barResolved = false;
    float value = 0.0f;
    float targetValue = 0.0f;
    bool kinetic = false;
    float kineticSpeed = 10.0f;
    Rect barSourceRect;
    Vector2f barFullSize{0.0f, 0.0f};
    // x: the fixed start cap, y: the end cap.
    Vector2f lrOffsets{0.0f, 0.0f};
    UISprite* thumb = nullptr;  // a descendant; only a sprite widget counts
    bool thumbResolved = false;
    std::string thumbName;
    bool dragging = false;
    // Computed from the content at the first update while negative.
    float trackLength = -1.0f;
    // 0 horizontal, any other value vertical.
    uint32_t orientation = 0;
    float step = 0.15f;
    bool locked = false;

private:
    bool horizontal() const { return orientation == 0; }
    void moveKinetically(float dt);
    void resolveChildren();
    void cropBar();
    void placeThumb();
};

}  // namespace VQ
