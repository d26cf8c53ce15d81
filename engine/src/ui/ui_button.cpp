#include "ui/ui_button.h"

#include "ui/ui_controller.h"
#include "ui/ui_manager.h"
#include "ui/ui_script_keys.h"

namespace VQ {

UIButton::~UIButton()
{
    forgetSignal(clickedCallbacks);
}

void UIButton::connect(const std::string& signal, std::unique_ptr<IFunction> function)
{
    if (signal == "clicked")
        appendCallback(clickedCallbacks, std::move(function));
}

int32_t UIButton::processMessage(uint32_t event)
{
    const UIPCController* input = pointerInput();
    switch (UIEvent::kind(event)) {
    case UIEvent::POINTER_PRESSED:
        return 1;
    case UIEvent::POINTER_HELD:
        if (!input || !hitTest(input->pressPoint))
            return 0;
        setState("onPress");
        capturePointer();
        return 1;
    case UIEvent::POINTER_RELEASED:
        if (input && hitTest(input->cursor) && hitTest(input->pressPoint)) {
            emit(clickedCallbacks);
            playClickSound();
        }
        setState("onSelect");
        releasePointer();
        return 1;
    case UIEvent::CLICK:
        emit(clickedCallbacks);
        playClickSound();
        return 1;
    default:
        return 0;
    }
}

void UIButton::loadProperties(LuaScript2& script)
{
    UIWidget::loadProperties(script);
    UIWidget::loadProperties(script);
}

int32_t UICheckBox::processMessage(uint32_t event)
{
    const UIPCController* input = pointerInput();
    switch (UIEvent::kind(event)) {
    case UIEvent::POINTER_PRESSED:
        setState("onPress");
        capturePointer();
        return 1;
    case UIEvent::POINTER_RELEASED:
        if (input && hitTest(input->cursor)) {
            isChecked = !isChecked;
            playClickSound();
        }
        setState("onSelect");
        releasePointer();
        return 1;
    default:
        return 0;
    }
}

void UICheckBox::update(float dt)
{
    (void)dt;
    if (!indicatorResolved) {
        indicator = findChild(thumbName);
        indicatorResolved = true;
    }
    if (indicator)
        indicator->setVisible(isChecked);
}

void UICheckBox::forgetSubtree(const UIWidget* gone)
{
    UIWidget::forgetSubtree(gone);
    if (indicator && (indicator == gone || gone->isDescendant(indicator)))
        indicator = nullptr;
}

void UICheckBox::loadProperties(LuaScript2& script)
{
    UIWidget::loadProperties(script);
    UIKeys::readString(script, "thumb", thumbName);
}

}  // namespace VQ
