#pragma once
// A container that shows its children through a viewport: clipped to it,
// and scrolled along one axis by the value of a progress bar serving as its
// scroll bar (dragged, or moved by the wheel over the area). The item
// container of the list view.

#include <string>

#include "ui/ui_widget.h"

namespace VQ {

class UIProgressBar;

class UIScrollArea : public UIWidget {
public:
    using UIWidget::UIWidget;

    int32_t processMessage(uint32_t event) override;
    void update(float dt) override;
    void loadProperties(LuaScript2& script) override;
    void forgetSubtree(const UIWidget* gone) override;
    // The area's own keys, without the common ones: what a list view's
    // table configures its child scroll area with.
    void loadScrollKeys(LuaScript2& script);

    UIProgressBar* progressBar = nullptr;  // not owned; found by name
    std::string progressBarName;
    float lastBarValue = 0.0f;
    bool barResolved = false;
    float previousPosition = 0.0f;
    // The scroll distance of the content from its start, along the axis.
    float scrollPosition = 0.0f;
    bool horizontal = false;
    // The children's extent, measured at the first update.
    Vector2f contentExtent{-1.0f, -1.0f};
    Vector2f viewportSize{0.0f, 0.0f};

private:
    void resolveBar();
    UIProgressBar* findBar();
};

}  // namespace VQ
