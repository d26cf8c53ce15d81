#pragma once
// Mouse and keyboard state over SDL2, kept in the form the engine reads:
// buttons as 0x80 when down, the cursor in client pixels, the wheel in
// DirectInput units, and the keyboard as 256 bytes indexed by Windows
// virtual-key codes (0x80 down, 0x01 the toggle of the lock keys). The state
// follows the events the message pump takes, so events pushed by a test
// driver count like real ones.

#include <cstdint>

union SDL_Event;

namespace VQ {

// The Windows virtual-key codes the engine and the game test by number.
namespace VirtualKey {
constexpr uint8_t LBUTTON = 0x01;
constexpr uint8_t RBUTTON = 0x02;
constexpr uint8_t CANCEL = 0x03;
constexpr uint8_t BACK = 0x08;
constexpr uint8_t TAB = 0x09;
constexpr uint8_t RETURN = 0x0D;
constexpr uint8_t SHIFT = 0x10;
constexpr uint8_t CONTROL = 0x11;
constexpr uint8_t MENU = 0x12;
constexpr uint8_t PAUSE = 0x13;
constexpr uint8_t CAPITAL = 0x14;
constexpr uint8_t ESCAPE = 0x1B;
constexpr uint8_t SPACE = 0x20;
constexpr uint8_t PRIOR = 0x21;
constexpr uint8_t NEXT = 0x22;
constexpr uint8_t END = 0x23;
constexpr uint8_t HOME = 0x24;
constexpr uint8_t LEFT = 0x25;
constexpr uint8_t UP = 0x26;
constexpr uint8_t RIGHT = 0x27;
constexpr uint8_t DOWN = 0x28;
constexpr uint8_t SNAPSHOT = 0x2C;
constexpr uint8_t INSERT = 0x2D;
constexpr uint8_t DELETE_KEY = 0x2E;
constexpr uint8_t LWIN = 0x5B;
constexpr uint8_t RWIN = 0x5C;
constexpr uint8_t APPS = 0x5D;
constexpr uint8_t NUMPAD0 = 0x60;
constexpr uint8_t MULTIPLY = 0x6A;
constexpr uint8_t ADD = 0x6B;
constexpr uint8_t SUBTRACT = 0x6D;
constexpr uint8_t DECIMAL = 0x6E;
constexpr uint8_t DIVIDE = 0x6F;
constexpr uint8_t F1 = 0x70;
constexpr uint8_t NUMLOCK = 0x90;
constexpr uint8_t SCROLL = 0x91;
constexpr uint8_t LSHIFT = 0xA0;
constexpr uint8_t RSHIFT = 0xA1;
constexpr uint8_t LCONTROL = 0xA2;
constexpr uint8_t RCONTROL = 0xA3;
constexpr uint8_t LMENU = 0xA4;
constexpr uint8_t RMENU = 0xA5;
constexpr uint8_t OEM_1 = 0xBA;       // ;:
constexpr uint8_t OEM_PLUS = 0xBB;    // =+
constexpr uint8_t OEM_COMMA = 0xBC;   // ,<
constexpr uint8_t OEM_MINUS = 0xBD;   // -_
constexpr uint8_t OEM_PERIOD = 0xBE;  // .>
constexpr uint8_t OEM_2 = 0xBF;       // /?
constexpr uint8_t OEM_3 = 0xC0;       // `~
constexpr uint8_t OEM_4 = 0xDB;       // [{
constexpr uint8_t OEM_5 = 0xDC;       // \|
constexpr uint8_t OEM_6 = 0xDD;       // ]}
constexpr uint8_t OEM_7 = 0xDE;       // '"
constexpr uint8_t OEM_102 = 0xE2;     // the extra key of ISO keyboards
}  // namespace VirtualKey

constexpr uint8_t KEY_DOWN = 0x80;
constexpr uint8_t KEY_TOGGLED = 0x01;
// DirectInput's wheel units for one notch.
constexpr int WHEEL_DELTA = 120;

// The virtual-key code of an SDL key (scancode and keycode as SDL gives
// them); 0 for keys the Windows table has no code for. Letters and digits
// follow the keyboard layout (the keycode), the other keys their position
// (the scancode), as Windows assigns them on a US layout.
uint8_t virtualKeyFromSdl(int scancode, int keycode);

// The character a key types with the given keyboard state (shift, caps
// lock); 0 when it types none. US layout for the keys outside letters.
char16_t keyToCharacter(uint8_t virtualKey, const uint8_t keyState[256]);

struct MouseSample {
    uint8_t left = 0;   // 0x80 when down
    uint8_t right = 0;
    int x = 0;          // client pixels
    int y = 0;
    int wheel = 0;      // since the previous sample; positive away from the user
};

// Feeds one event into the state (the message pump calls this).
void handleInputEvent(const SDL_Event& event);
// The mouse now; the wheel sum restarts from 0.
MouseSample takeMouseSample();
// The keyboard now, 256 bytes.
void readKeyboardState(uint8_t out[256]);
// Everything released, the wheel sum cleared (tests).
void resetInputState();

}  // namespace VQ
