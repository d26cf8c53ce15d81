#pragma once
// A text drawn with a UI font inside the label's box; also the caption of
// buttons, check boxes and text edits. A text beginning with "#" (and
// longer than that) is a key of the localised texts.

#include "ui/ui_widget.h"

namespace VQ {

class UIFont;

class UILabel : public UIWidget {
public:
    using UIWidget::UIWidget;
    // Gives the font reference back.
    ~UILabel() override;

    int32_t processMessage(uint32_t event) override
    {
        (void)event;
        return 0;
    }
    int32_t getType() const override { return TYPE_LABEL; }
    void beginRender() override;
    void loadProperties(LuaScript2& script) override;
    // The label's own keys, without the common ones: what a button, check
    // box or text edit table configures its caption with.
    void loadLabelKeys(LuaScript2& script);

    void setText(const std::string& value);
    // Takes a reference the caller already holds; the previous one is
    // given back.
    void setFont(UIFont* newFont);

    UIFont* font = nullptr;  // one reference held
    std::u16string text;
    uint32_t halign = 0;
    uint32_t valign = 0;
    bool wordWrap = false;
    float xcoeff = 0.0f;
    float ycoeff = 0.0f;
    bool pixelPrecision = true;
    Color textColor;
};

}  // namespace VQ
