#include "ui/ui_controller.h"

#include <mutex>

#include "input_manager.h"
#include "platform/input_sdl.h"
#include "ui/ui_manager.h"
#include "ui/ui_widget.h"

namespace VQ {

namespace {

bool down(uint8_t state)
{
    return (state & KEY_DOWN) != 0;
}

}  // namespace

void UIPCController::poll()
{
    InputManager* input = InputManager::instancePtr();
    if (!input || !input->mouse() || !input->keyboard())
        return;
    dispatch(chooseEvent());
}

uint32_t UIPCController::chooseEvent()
{
    InputManager* input = InputManager::instance();
    const MouseDevice& mouse = *input->mouse();
    const KeyboardDevice& keyboard = *input->keyboard();
    cursor = input->cursorPosition();
    leftDown = mouse.left != 0;
    const bool leftWentDown = mouse.left && !mouse.previousLeft;
    const bool rightWentDown = mouse.right && !mouse.previousRight;
    if (leftWentDown || rightWentDown)
        pressPoint = cursor;

    if (mouse.left)
        return mouse.previousLeft ? UIEvent::POINTER_HELD : UIEvent::POINTER_PRESSED;
    if (mouse.previousLeft)
        return UIEvent::POINTER_RELEASED;
    // Code 0 is no key.
    for (int code = 1; code < 256; ++code)
        if (down(keyboard.current[code]) && !down(keyboard.previous[code]))
            return UIEvent::make(UIEvent::KEY_PRESSED, uint8_t(code));
    for (int code = 1; code < 256; ++code)
        if (!down(keyboard.current[code]) && down(keyboard.previous[code]))
            return UIEvent::make(UIEvent::KEY_RELEASED, uint8_t(code));
    for (int code = 1; code < 256; ++code)
        if (down(keyboard.current[code]))
            return UIEvent::make(UIEvent::KEY_HELD, uint8_t(code));
    if (mouse.wheel > 0)
        return UIEvent::WHEEL_UP;
    if (mouse.wheel < 0)
        return UIEvent::WHEEL_DOWN;
    return UIEvent::NONE;
}

void UIPCController::dispatch(uint32_t event)
{
    UIManager* manager = UIManager::instance();
    // Deletions asked for by the handling or the callbacks wait for the end.
    UIManager::Pass pass(*manager);
    {
        std::lock_guard<std::recursive_mutex> lock(manager->mutex());
        if (manager->capturedWidget) {
            visit(manager->capturedWidget, event);
        } else {
            // A copy: a widget's handling may add roots (never delete them:
            // removal waits while the trees are walked).
            const std::vector<UIWidget*> roots = manager->roots();
            for (UIWidget* root : roots)
                if (root->shown)
                    visit(root, event);
        }
    }
    manager->runPendingSignals();
}

int32_t UIPCController::visit(UIWidget* widget, uint32_t event)
{
    UIManager* manager = UIManager::instance();
    const uint32_t kind = UIEvent::kind(event);
    const bool keyEvent = UIEvent::isKey(event);
    const bool reachable = manager->isReachable(widget);
    const bool captured = manager->capturedWidget == widget;
    int32_t result = 0;

    if (keyEvent && (captured || (reachable && !widget->isClippedOut())))
        result |= widget->processMessage(event);
    if (!widget->enabled || !widget->visible || widget->deleteMark)
        return result;

    if (!captured && (!reachable || (!keyEvent && !widget->hitTest(cursor)))) {
        if (widget->hovered) {
            widget->setState("onIdle");
            widget->hovered = false;
        }
    } else {
        // By index: handling may add children (never delete them).
        for (size_t i = 0; i < widget->children.size(); ++i)
            result |= visit(widget->children[i], event);
        if (!keyEvent && !widget->hovered) {
            widget->setState("onSelect");
            widget->hovered = true;
        }
        if (kind == UIEvent::POINTER_PRESSED || kind == UIEvent::POINTER_HELD || kind == UIEvent::POINTER_RELEASED ||
            kind == UIEvent::WHEEL_UP || kind == UIEvent::WHEEL_DOWN)
            result |= widget->processMessage(event);
    }

    if (widget->hideWidgetOnOutsideClick && reachable && widget->modal && !keyEvent &&
        kind == UIEvent::POINTER_PRESSED && !widget->hitTest(cursor))
        widget->hideOnOutsideClick();
    return result;
}

}  // namespace VQ
