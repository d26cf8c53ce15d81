#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/input_sdl.h"

using namespace VQ;

namespace {

SDL_Event keyEvent(SDL_Scancode scancode, SDL_Keycode keycode, bool down, uint16_t mod = KMOD_NONE)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = keycode;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event buttonEvent(uint8_t button, bool down, int x, int y)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event wheelEvent(float y, bool flipped = false)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = static_cast<Sint32>(y);
    event.wheel.preciseY = y;
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    return event;
}

class InputStateTest : public ::testing::Test {
protected:
    void SetUp() override { resetInputState(); }
    void TearDown() override { resetInputState(); }
};

}  // namespace

TEST(VirtualKeyMapping, KeysGetTheWindowsCodes)
{
    struct Case {
        SDL_Scancode scancode;
        SDL_Keycode keycode;
        uint8_t expected;
    };
    const Case cases[] = {
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0x1B},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, 0x0D},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0x0D},
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0x08},
        {SDL_SCANCODE_DELETE, SDLK_DELETE, 0x2E},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, 0x20},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, 0x25},
        {SDL_SCANCODE_UP, SDLK_UP, 0x26},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, 0x27},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, 0x28},
        {SDL_SCANCODE_A, SDLK_a, 'A'},
        {SDL_SCANCODE_Z, SDLK_z, 'Z'},
        // A French layout: the key in the place of Q types A, and Windows
        // names it by what it types.
        {SDL_SCANCODE_Q, SDLK_a, 'A'},
        {SDL_SCANCODE_0, SDLK_0, '0'},
        {SDL_SCANCODE_9, SDLK_9, '9'},
        // Digits on a layout that types other characters on that row.
        {SDL_SCANCODE_1, SDLK_AMPERSAND, '1'},
        {SDL_SCANCODE_F1, SDLK_F1, 0x70},
        {SDL_SCANCODE_F12, SDLK_F12, 0x7B},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, 0x60},
        {SDL_SCANCODE_KP_9, SDLK_KP_9, 0x69},
        {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 0xA0},
        {SDL_SCANCODE_RCTRL, SDLK_RCTRL, 0xA3},
        {SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, 0x14},
        {SDL_SCANCODE_PERIOD, SDLK_PERIOD, 0xBE},
        {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, 0xDE},
        {SDL_SCANCODE_MUTE, SDLK_MUTE, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtualKeyFromSdl(c.scancode, c.keycode), c.expected)
            << SDL_GetScancodeName(c.scancode);
    }
}

TEST(KeyToCharacter, FollowsShiftAndCapsLock)
{
    uint8_t keys[256] = {};
    EXPECT_EQ(keyToCharacter('A', keys), u'a');
    EXPECT_EQ(keyToCharacter('5', keys), u'5');
    EXPECT_EQ(keyToCharacter(VirtualKey::OEM_PERIOD, keys), u'.');
    EXPECT_EQ(keyToCharacter(VirtualKey::NUMPAD0 + 7, keys), u'7');
    EXPECT_EQ(keyToCharacter(VirtualKey::LEFT, keys), 0);
    EXPECT_EQ(keyToCharacter(VirtualKey::F1, keys), 0);

    keys[VirtualKey::SHIFT] = KEY_DOWN;
    EXPECT_EQ(keyToCharacter('A', keys), u'A');
    EXPECT_EQ(keyToCharacter('5', keys), u'%');
    EXPECT_EQ(keyToCharacter(VirtualKey::OEM_PERIOD, keys), u'>');

    keys[VirtualKey::CAPITAL] = KEY_TOGGLED;
    EXPECT_EQ(keyToCharacter('A', keys), u'a');  // shift undoes caps lock
    keys[VirtualKey::SHIFT] = 0;
    EXPECT_EQ(keyToCharacter('A', keys), u'A');
    EXPECT_EQ(keyToCharacter('5', keys), u'5');  // caps lock leaves digits

    keys[VirtualKey::CONTROL] = KEY_DOWN;
    EXPECT_EQ(keyToCharacter('A', keys), 0);
}

TEST_F(InputStateTest, KeysFollowTheEventsWithGenericCodesAndLockToggles)
{
    handleInputEvent(keyEvent(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true));
    handleInputEvent(keyEvent(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, true, KMOD_CAPS));
    uint8_t keys[256];
    readKeyboardState(keys);
    EXPECT_EQ(keys[VirtualKey::ESCAPE], KEY_DOWN);
    EXPECT_EQ(keys[VirtualKey::RSHIFT], KEY_DOWN);
    EXPECT_EQ(keys[VirtualKey::SHIFT], KEY_DOWN);
    EXPECT_EQ(keys[VirtualKey::LSHIFT], 0);
    EXPECT_EQ(keys[VirtualKey::CAPITAL], KEY_TOGGLED);

    handleInputEvent(keyEvent(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, false));
    handleInputEvent(keyEvent(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, false));
    readKeyboardState(keys);
    EXPECT_EQ(keys[VirtualKey::ESCAPE], 0);
    EXPECT_EQ(keys[VirtualKey::SHIFT], 0);
    EXPECT_EQ(keys[VirtualKey::CAPITAL], 0);
}

TEST_F(InputStateTest, MouseButtonsPositionAndWheelSum)
{
    handleInputEvent(buttonEvent(SDL_BUTTON_LEFT, true, 10, 20));
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 30;
    motion.motion.y = 40;
    handleInputEvent(motion);
    handleInputEvent(wheelEvent(1.0f));
    handleInputEvent(wheelEvent(2.0f));
    handleInputEvent(wheelEvent(0.5f, true));  // natural scrolling turns it round

    MouseSample sample = takeMouseSample();
    EXPECT_EQ(sample.left, KEY_DOWN);
    EXPECT_EQ(sample.right, 0);
    EXPECT_EQ(sample.x, 30);
    EXPECT_EQ(sample.y, 40);
    EXPECT_EQ(sample.wheel, 300);

    handleInputEvent(buttonEvent(SDL_BUTTON_LEFT, false, 31, 41));
    handleInputEvent(buttonEvent(SDL_BUTTON_RIGHT, true, 31, 41));
    handleInputEvent(wheelEvent(-1.0f));
    sample = takeMouseSample();
    EXPECT_EQ(sample.left, 0);
    EXPECT_EQ(sample.right, KEY_DOWN);
    EXPECT_EQ(sample.wheel, -120);
    EXPECT_EQ(takeMouseSample().wheel, 0);  // the sum restarts per sample
}
