#pragma once
// A clickable area with the signal "clicked": a press and a release both
// inside it click, play the click sound and queue the callbacks, which run
// after the input dispatch. A held press captures the pointer.

#include "ui/ui_widget.h"

namespace VQ {

class UIButton : public UIWidget {
public:
    using UIWidget::UIWidget;
    ~UIButton() override;

    void connect(const std::string& signal, std::unique_ptr<IFunction> function) override;
    int32_t processMessage(uint32_t event) override;
    int32_t getType() const override { return TYPE_BUTTON; }
    void loadProperties(LuaScript2& script) override;

    UICallbackList clickedCallbacks;
};

// A toggle: a release over the box ticks or clears it and shows or hides
// its indicator child (named by "thumb"). It emits no signal.
class UICheckBox : public UIWidget {
public:
    using UIWidget::UIWidget;

    int32_t processMessage(uint32_t event) override;
    int32_t getType() const override { return TYPE_CHECK_BOX; }
    void update(float dt) override;
    void loadProperties(LuaScript2& script) override;
    void forgetSubtree(const UIWidget* gone) override;

    bool isChecked = false;
    UIWidget* indicator = nullptr;  // a descendant
    bool indicatorResolved = false;
    std::string thumbName;
};

}  // namespace VQ
