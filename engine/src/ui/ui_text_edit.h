#pragma once
// A one-line text entry field. The text lives in its caption (the label
// child named "caption"); the edit adds a blinking caret, key handling, a
// length limit, an optional filter of punctuation and control characters,
// and the signal "textEntered" on Enter. There is no focus: every
// reachable edit receives the keys.

#include "ui/ui_widget.h"

namespace VQ {

class UILabel;

class UITextEdit : public UIWidget {
public:
    using UIWidget::UIWidget;
    ~UITextEdit() override;

    void connect(const std::string& signal, std::unique_ptr<IFunction> function) override;
    int32_t processMessage(uint32_t event) override;
    int32_t getType() const override { return TYPE_TEXT_EDIT; }
    void endRender() override;
    void update(float dt) override;
    void loadProperties(LuaScript2& script) override;
    void forgetSubtree(const UIWidget* gone) override;

    // Finds the caption once and lays the field out around it.
    void resolveCaption();
    // Whether the edit refuses `c` (the filter of special characters).
    bool refuses(char16_t c) const;

    UICallbackList textEnteredCallbacks;
    UILabel* caption = nullptr;  // a child
    bool captionResolved = false;
    uint32_t maxLength = 10;
    float caretPhase = 0.0f;
    uint32_t caretIndex = 0;
    bool filterSpecialCharacters = false;

private:
    void insertKey(uint8_t key);
    // Game code may shorten the caption's text: the caret never points past
    // it when an edit is made.
    size_t clampCaret();
};

}  // namespace VQ
