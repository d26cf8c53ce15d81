#include "platform/input_sdl.h"

#include <SDL.h>

#include <cmath>
#include <cstring>
#include <mutex>

namespace VQ {

namespace {

struct InputState {
    uint8_t keys[256] = {};
    uint8_t left = 0;
    uint8_t right = 0;
    int x = 0;
    int y = 0;
    float wheel = 0.0f;
};

// Written by the message pump and read by the frame, both on the main
// thread; the mutex only keeps a test driver's reads honest.
std::mutex gMutex;
InputState gState;

struct ScancodeKey {
    SDL_Scancode scancode;
    uint8_t key;
};

// Keys Windows names by position.
constexpr ScancodeKey SCANCODE_KEYS[] = {
    {SDL_SCANCODE_BACKSPACE, VirtualKey::BACK},
    {SDL_SCANCODE_TAB, VirtualKey::TAB},
    {SDL_SCANCODE_RETURN, VirtualKey::RETURN},
    {SDL_SCANCODE_KP_ENTER, VirtualKey::RETURN},
    {SDL_SCANCODE_PAUSE, VirtualKey::PAUSE},
    {SDL_SCANCODE_CAPSLOCK, VirtualKey::CAPITAL},
    {SDL_SCANCODE_ESCAPE, VirtualKey::ESCAPE},
    {SDL_SCANCODE_SPACE, VirtualKey::SPACE},
    {SDL_SCANCODE_PAGEUP, VirtualKey::PRIOR},
    {SDL_SCANCODE_PAGEDOWN, VirtualKey::NEXT},
    {SDL_SCANCODE_END, VirtualKey::END},
    {SDL_SCANCODE_HOME, VirtualKey::HOME},
    {SDL_SCANCODE_LEFT, VirtualKey::LEFT},
    {SDL_SCANCODE_UP, VirtualKey::UP},
    {SDL_SCANCODE_RIGHT, VirtualKey::RIGHT},
    {SDL_SCANCODE_DOWN, VirtualKey::DOWN},
    {SDL_SCANCODE_PRINTSCREEN, VirtualKey::SNAPSHOT},
    {SDL_SCANCODE_INSERT, VirtualKey::INSERT},
    {SDL_SCANCODE_DELETE, VirtualKey::DELETE_KEY},
    {SDL_SCANCODE_LGUI, VirtualKey::LWIN},
    {SDL_SCANCODE_RGUI, VirtualKey::RWIN},
    {SDL_SCANCODE_APPLICATION, VirtualKey::APPS},
    {SDL_SCANCODE_KP_MULTIPLY, VirtualKey::MULTIPLY},
    {SDL_SCANCODE_KP_PLUS, VirtualKey::ADD},
    {SDL_SCANCODE_KP_MINUS, VirtualKey::SUBTRACT},
    {SDL_SCANCODE_KP_PERIOD, VirtualKey::DECIMAL},
    {SDL_SCANCODE_KP_DIVIDE, VirtualKey::DIVIDE},
    {SDL_SCANCODE_NUMLOCKCLEAR, VirtualKey::NUMLOCK},
    {SDL_SCANCODE_SCROLLLOCK, VirtualKey::SCROLL},
    {SDL_SCANCODE_LSHIFT, VirtualKey::LSHIFT},
    {SDL_SCANCODE_RSHIFT, VirtualKey::RSHIFT},
    {SDL_SCANCODE_LCTRL, VirtualKey::LCONTROL},
    {SDL_SCANCODE_RCTRL, VirtualKey::RCONTROL},
    {SDL_SCANCODE_LALT, VirtualKey::LMENU},
    {SDL_SCANCODE_RALT, VirtualKey::RMENU},
    {SDL_SCANCODE_SEMICOLON, VirtualKey::OEM_1},
    {SDL_SCANCODE_EQUALS, VirtualKey::OEM_PLUS},
    {SDL_SCANCODE_COMMA, VirtualKey::OEM_COMMA},
    {SDL_SCANCODE_MINUS, VirtualKey::OEM_MINUS},
    {SDL_SCANCODE_PERIOD, VirtualKey::OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VirtualKey::OEM_2},
    {SDL_SCANCODE_GRAVE, VirtualKey::OEM_3},
    {SDL_SCANCODE_LEFTBRACKET, VirtualKey::OEM_4},
    {SDL_SCANCODE_BACKSLASH, VirtualKey::OEM_5},
    {SDL_SCANCODE_RIGHTBRACKET, VirtualKey::OEM_6},
    {SDL_SCANCODE_APOSTROPHE, VirtualKey::OEM_7},
    {SDL_SCANCODE_NONUSBACKSLASH, VirtualKey::OEM_102},
};

// The US layout's characters of the keys outside the letters: unshifted,
// shifted.
struct KeyCharacters {
    uint8_t key;
    char plain;
    char shifted;
};

constexpr KeyCharacters KEY_CHARACTERS[] = {
    {'0', '0', ')'}, {'1', '1', '!'}, {'2', '2', '@'}, {'3', '3', '#'}, {'4', '4', '$'},
    {'5', '5', '%'}, {'6', '6', '^'}, {'7', '7', '&'}, {'8', '8', '*'}, {'9', '9', '('},
    {VirtualKey::SPACE, ' ', ' '},
    {VirtualKey::OEM_1, ';', ':'},
    {VirtualKey::OEM_PLUS, '=', '+'},
    {VirtualKey::OEM_COMMA, ',', '<'},
    {VirtualKey::OEM_MINUS, '-', '_'},
    {VirtualKey::OEM_PERIOD, '.', '>'},
    {VirtualKey::OEM_2, '/', '?'},
    {VirtualKey::OEM_3, '`', '~'},
    {VirtualKey::OEM_4, '[', '{'},
    {VirtualKey::OEM_5, '\\', '|'},
    {VirtualKey::OEM_6, ']', '}'},
    {VirtualKey::OEM_7, '\'', '"'},
    {VirtualKey::OEM_102, '\\', '|'},
    {VirtualKey::MULTIPLY, '*', '*'},
    {VirtualKey::ADD, '+', '+'},
    {VirtualKey::SUBTRACT, '-', '-'},
    {VirtualKey::DIVIDE, '/', '/'},
    {VirtualKey::BACK, '\b', '\b'},
    {VirtualKey::TAB, '\t', '\t'},
    {VirtualKey::RETURN, '\r', '\r'},
    {VirtualKey::ESCAPE, 0x1B, 0x1B},
};

bool isDown(const uint8_t keyState[256], uint8_t key)
{
    return (keyState[key] & KEY_DOWN) != 0;
}

// Windows reports the generic Shift, Control and Alt codes together with
// the sided ones.
void refreshGenericKey(uint8_t generic, uint8_t leftKey, uint8_t rightKey)
{
    const bool down = isDown(gState.keys, leftKey) || isDown(gState.keys, rightKey);
    gState.keys[generic] = static_cast<uint8_t>((gState.keys[generic] & ~KEY_DOWN) | (down ? KEY_DOWN : 0));
}

void setToggle(uint8_t key, bool on)
{
    gState.keys[key] = static_cast<uint8_t>((gState.keys[key] & ~KEY_TOGGLED) | (on ? KEY_TOGGLED : 0));
}

void handleKey(const SDL_KeyboardEvent& event)
{
    const uint8_t key = virtualKeyFromSdl(event.keysym.scancode, event.keysym.sym);
    if (key != 0) {
        if (event.state == SDL_PRESSED)
            gState.keys[key] |= KEY_DOWN;
        else
            gState.keys[key] &= static_cast<uint8_t>(~KEY_DOWN);
    }
    refreshGenericKey(VirtualKey::SHIFT, VirtualKey::LSHIFT, VirtualKey::RSHIFT);
    refreshGenericKey(VirtualKey::CONTROL, VirtualKey::LCONTROL, VirtualKey::RCONTROL);
    refreshGenericKey(VirtualKey::MENU, VirtualKey::LMENU, VirtualKey::RMENU);
    const uint16_t mod = event.keysym.mod;
    setToggle(VirtualKey::CAPITAL, (mod & KMOD_CAPS) != 0);
    setToggle(VirtualKey::NUMLOCK, (mod & KMOD_NUM) != 0);
    setToggle(VirtualKey::SCROLL, (mod & KMOD_SCROLL) != 0);
}

void handleButton(const SDL_MouseButtonEvent& event)
{
    const uint8_t value = event.state == SDL_PRESSED ? KEY_DOWN : 0;
    if (event.button == SDL_BUTTON_LEFT)
        gState.left = value;
    else if (event.button == SDL_BUTTON_RIGHT)
        gState.right = value;
    gState.x = event.x;
    gState.y = event.y;
}

}  // namespace

uint8_t virtualKeyFromSdl(int scancode, int keycode)
{
    if (keycode >= SDLK_a && keycode <= SDLK_z)
        return static_cast<uint8_t>('A' + (keycode - SDLK_a));
    if (keycode >= SDLK_0 && keycode <= SDLK_9)
        return static_cast<uint8_t>('0' + (keycode - SDLK_0));
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return static_cast<uint8_t>('A' + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return static_cast<uint8_t>('1' + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0)
        return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return static_cast<uint8_t>(VirtualKey::F1 + (scancode - SDL_SCANCODE_F1));
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return static_cast<uint8_t>(VirtualKey::F1 + 12 + (scancode - SDL_SCANCODE_F13));
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return static_cast<uint8_t>(VirtualKey::NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1));
    if (scancode == SDL_SCANCODE_KP_0)
        return VirtualKey::NUMPAD0;
    for (const ScancodeKey& entry : SCANCODE_KEYS) {
        if (entry.scancode == scancode)
            return entry.key;
    }
    return 0;
}

char16_t keyToCharacter(uint8_t virtualKey, const uint8_t keyState[256])
{
    const bool shift = isDown(keyState, VirtualKey::SHIFT) || isDown(keyState, VirtualKey::LSHIFT) ||
                       isDown(keyState, VirtualKey::RSHIFT);
    // Control and Alt combinations type no text.
    if (isDown(keyState, VirtualKey::CONTROL) || isDown(keyState, VirtualKey::MENU))
        return 0;
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        const bool capsOn = (keyState[VirtualKey::CAPITAL] & KEY_TOGGLED) != 0;
        return static_cast<char16_t>(shift != capsOn ? virtualKey : virtualKey - 'A' + 'a');
    }
    if (virtualKey >= VirtualKey::NUMPAD0 && virtualKey <= VirtualKey::NUMPAD0 + 9)
        return static_cast<char16_t>('0' + (virtualKey - VirtualKey::NUMPAD0));
    if (virtualKey == VirtualKey::DECIMAL)
        return u'.';
    for (const KeyCharacters& entry : KEY_CHARACTERS) {
        if (entry.key == virtualKey)
            return static_cast<char16_t>(shift ? entry.shifted : entry.plain);
    }
    return 0;
}

void handleInputEvent(const SDL_Event& event)
{
    std::lock_guard<std::mutex> lock(gMutex);
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        handleKey(event.key);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        handleButton(event.button);
        break;
    case SDL_MOUSEMOTION:
        gState.x = event.motion.x;
        gState.y = event.motion.y;
        break;
    case SDL_MOUSEWHEEL: {
        // Fractional steps of smooth wheels and touchpads add up.
        float steps = event.wheel.preciseY != 0.0f ? event.wheel.preciseY : static_cast<float>(event.wheel.y);
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            steps = -steps;
        gState.wheel += steps * WHEEL_DELTA;
        break;
    }
    default:
        break;
    }
}

MouseSample takeMouseSample()
{
    std::lock_guard<std::mutex> lock(gMutex);
    MouseSample sample;
    sample.left = gState.left;
    sample.right = gState.right;
    sample.x = gState.x;
    sample.y = gState.y;
    sample.wheel = static_cast<int>(std::lround(gState.wheel));
    gState.wheel = 0.0f;
    return sample;
}

void readKeyboardState(uint8_t out[256])
{
    std::lock_guard<std::mutex> lock(gMutex);
    memcpy(out, gState.keys, sizeof(gState.keys));
}

void resetInputState()
{
    std::lock_guard<std::mutex> lock(gMutex);
    gState = InputState();
}

}  // namespace VQ
