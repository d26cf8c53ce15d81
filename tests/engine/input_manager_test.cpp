#include <SDL.h>
#include <gtest/gtest.h>

#include "input_manager.h"
#include "platform/input_sdl.h"
#include "render_system.h"

using namespace VQ;

namespace {

void pushButton(bool down, int x, int y)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
    handleInputEvent(event);
}

void pushKey(SDL_Scancode scancode, SDL_Keycode keycode, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = keycode;
    handleInputEvent(event);
}

class InputManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetInputState();
        mInput.initDevices();
    }
    void TearDown() override { resetInputState(); }

    RenderSystem mRenderSystem;
    InputManager mInput{nullptr};
};

}  // namespace

TEST_F(InputManagerTest, ButtonIsPressedOnceDownWhileHeldAndReleasedAfter)
{
    MouseDevice& mouse = *mInput.mouse();
    struct Frame {
        int event;  // 1 down, 0 up, -1 none
        bool pressed;
        bool down;
        bool released;
    };
    const Frame frames[] = {
        {1, true, true, false}, {-1, false, true, false}, {-1, false, true, false},
        {0, false, false, true}, {-1, false, false, false},
    };
    int index = 0;
    for (const Frame& frame : frames) {
        if (frame.event >= 0)
            pushButton(frame.event == 1, 100 + index, 200);
        mouse.update();
        EXPECT_EQ(mInput.leftButtonPressed(), frame.pressed) << index;
        EXPECT_EQ(mInput.leftButtonDown(), frame.down) << index;
        EXPECT_EQ(mInput.leftButtonReleased(), frame.released) << index;
        ++index;
    }
    // Where the button went down, not where it went up.
    EXPECT_EQ(mouse.pressPosition, Vector2<int32_t>(100, 200));
    EXPECT_EQ(mouse.x, 103);
}

TEST_F(InputManagerTest, ClickBetweenTwoFramesIsNotSeen)
{
    pushButton(true, 5, 5);
    pushButton(false, 5, 5);
    mInput.mouse()->update();
    EXPECT_FALSE(mInput.leftButtonPressed());
    EXPECT_FALSE(mInput.leftButtonReleased());
}

TEST_F(InputManagerTest, KeyboardSnapshotKeepsThePreviousFrameAndNoMouseButtons)
{
    KeyboardDevice& keyboard = *mInput.keyboard();
    pushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true);
    pushButton(true, 0, 0);
    keyboard.update();
    EXPECT_EQ(keyboard.current[VirtualKey::ESCAPE], KEY_DOWN);
    EXPECT_EQ(keyboard.previous[VirtualKey::ESCAPE], 0);
    EXPECT_EQ(keyboard.current[VirtualKey::LBUTTON], 0);

    pushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, false);
    keyboard.update();
    EXPECT_EQ(keyboard.current[VirtualKey::ESCAPE], 0);
    EXPECT_EQ(keyboard.previous[VirtualKey::ESCAPE], KEY_DOWN);
}
