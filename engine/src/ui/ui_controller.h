#pragma once
// The input controller: once per frame it turns the mouse and keyboard
// snapshot into at most one UI event and delivers it into the UI manager's
// trees, moving the hover states with the pointer; then the signal
// callbacks that the handling queued run.

#include <cstdint>

#include "vector2.h"

namespace VQ {

class UIWidget;

// An event is a 32-bit value: the kind in the low 16 bits, the virtual-key
// code of a key event in bits 16 to 23.
namespace UIEvent {
constexpr uint32_t NONE = 0;
constexpr uint32_t POINTER_PRESSED = 1;
constexpr uint32_t POINTER_HELD = 2;
constexpr uint32_t POINTER_RELEASED = 3;
constexpr uint32_t KEY_PRESSED = 4;
constexpr uint32_t KEY_HELD = 5;
constexpr uint32_t KEY_RELEASED = 6;
constexpr uint32_t WHEEL_UP = 7;
constexpr uint32_t WHEEL_DOWN = 8;
// Never produced by the controller; sent to a button to click it.
constexpr uint32_t CLICK = 9;

constexpr uint32_t kind(uint32_t event)
{
    return event & 0xFFFFu;
}
constexpr uint8_t keyCode(uint32_t event)
{
    return uint8_t(event >> 16);
}
constexpr uint32_t make(uint32_t kind, uint8_t key = 0)
{
    return kind | (uint32_t(key) << 16);
}
constexpr bool isKey(uint32_t event)
{
    return kind(event) >= KEY_PRESSED && kind(event) <= KEY_RELEASED;
}
}  // namespace UIEvent

class UIController {
public:
    virtual ~UIController() = default;
    virtual void poll() = 0;
    // A widget was shown or hidden; `widget` is the new topmost visible
    // root (or null).
    virtual void onTopmostChanged(UIWidget* widget) { (void)widget; }
};

// The mouse and keyboard of the input manager.
class UIPCController : public UIController {
public:
    // Reads the devices, dispatches one event (kind 0 included) and runs
    // the pending signals. Nothing without the input devices.
    void poll() override;

    // The event of the present snapshot; updates cursor, pressPoint and
    // leftDown.
    uint32_t chooseEvent();
    // Delivers one event into the trees and runs the pending signals.
    void dispatch(uint32_t event);

    Vector2f cursor{0.0f, 0.0f};
    Vector2f pressPoint{0.0f, 0.0f};
    bool leftDown = false;

private:
    int32_t visit(UIWidget* widget, uint32_t event);
};

}  // namespace VQ
