#include "input_manager.h"

#include <cstring>

#include "platform/input_sdl.h"
#include "render_system.h"

namespace VQ {

KeyboardDevice::KeyboardDevice()
{
    memset(current, 0, sizeof(current));
    memset(previous, 0, sizeof(previous));
}

void KeyboardDevice::update()
{
    memcpy(previous, current, sizeof(current));
    readKeyboardState(current);
    current[VirtualKey::LBUTTON] = 0;
    current[VirtualKey::RBUTTON] = 0;
    current[VirtualKey::CANCEL] = 0;
}

MouseDevice::MouseDevice(Application* application) : application(application) {}

void MouseDevice::update()
{
    previousLeft = left;
    previousRight = right;
    const MouseSample sample = takeMouseSample();
    left = sample.left;
    right = sample.right;
    x = sample.x;
    y = sample.y;
    wheel = sample.wheel;
    if ((left && !previousLeft) || (right && !previousRight))
        pressPosition = Vector2<int32_t>(x, y);
}

InputManager::InputManager(Application* application) : mApplication(application) {}

InputManager::~InputManager() = default;

void InputManager::initDevices()
{
    mMouse = std::make_unique<MouseDevice>(mApplication);
    mKeyboard = std::make_unique<KeyboardDevice>();
    cursorPosition();
}

const Vector2f& InputManager::cursorPosition()
{
    const Vector2<int32_t> point = RenderSystem::instance()->screenToWorkspace(mMouse->x, mMouse->y);
    mMouse->workspacePosition = Vector2f(static_cast<float>(point.x), static_cast<float>(point.y));
    return mMouse->workspacePosition;
}

bool InputManager::leftButtonPressed() const
{
    return mMouse && mMouse->left && !mMouse->previousLeft;
}

bool InputManager::leftButtonReleased() const
{
    return mMouse && mMouse->previousLeft && !mMouse->left;
}

bool InputManager::leftButtonDown() const
{
    return mMouse && mMouse->left;
}

}  // namespace VQ
