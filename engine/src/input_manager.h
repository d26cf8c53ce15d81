#pragma once
// The mouse and keyboard, sampled once per frame into plain records that the
// interface and the game read: this frame's state and the previous one's.

#include <cstdint>
#include <memory>

#include "singleton.h"
#include "vector2.h"

class Application;

namespace VQ {

// 256 bytes per frame indexed by Windows virtual-key code; bit 0x80 is down.
class KeyboardDevice {
public:
    KeyboardDevice();
    virtual ~KeyboardDevice() = default;

    // previous := current; current := the keyboard now, with the mouse-button
    // codes 1, 2 and 3 cleared so that the buttons never read as keys.
    void update();

    uint8_t current[256];
    uint8_t previous[256];
};

class MouseDevice {
public:
    explicit MouseDevice(Application* application);

    // Samples the buttons, the cursor and the frame's wheel movement.
    void update();

    Application* application;
    int32_t x = 0;  // client pixels
    int32_t y = 0;
    Vector2f workspacePosition;
    Vector2<int32_t> pressPosition;  // where a button last went down
    uint8_t left = 0;                // 0x80 while down
    uint8_t right = 0;
    uint8_t previousLeft = 0;
    uint8_t previousRight = 0;
    int32_t wheel = 0;  // DirectInput units, positive away from the user
};

class InputManager : public Singleton<InputManager> {
public:
    explicit InputManager(Application* application);
    ~InputManager() override;

    // Creates the devices; called once when the window exists.
    void initDevices();

    // Null before initDevices.
    MouseDevice* mouse() const { return mMouse.get(); }
    KeyboardDevice* keyboard() const { return mKeyboard.get(); }

    // The cursor sampled at the last frame, in workspace units (once the
    // devices exist).
    const Vector2f& cursorPosition();

    bool leftButtonPressed() const;
    bool leftButtonReleased() const;
    bool leftButtonDown() const;

private:
    Application* mApplication;
    std::unique_ptr<KeyboardDevice> mKeyboard;
    std::unique_ptr<MouseDevice> mMouse;
};

}  // namespace VQ
