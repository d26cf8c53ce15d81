#pragma once
// The interface brought up over the sample content: the sprite fixture's
// render system (recording device) and sprite managers, plus the script
// commands, the localised texts, the UI fonts, the input devices and the UI
// manager. Tests add UI scripts of their own and drive the mouse and the
// keyboard by writing the devices' snapshots before each frame.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "input_manager.h"
#include "lex_binded_function_manager.h"
#include "platform/input_sdl.h"
#include "support/sprite_fixture.h"
#include "ui/text_manager.h"
#include "ui/ui_controller.h"
#include "ui/ui_font_manager.h"
#include "ui/ui_manager.h"
#include "ui/ui_widget.h"

namespace TestSupport {

class UITest : public SpriteTest {
protected:
    void TearDown() override
    {
        stopUI();
        SpriteTest::TearDown();
    }

    // Call after adding the test's own scripts.
    void startUI()
    {
        startEngine();
        VQ::resetInputState();
        mFunctions = std::make_unique<VQ::LexBindedFunctionManager>();
        mTexts = std::make_unique<VQ::TextManager>();
        mTexts->reload();
        mInput = std::make_unique<VQ::InputManager>(nullptr);
        mInput->initDevices();
        mFonts = std::make_unique<VQ::UIFontManager>();
        mUI = std::make_unique<VQ::UIManager>();
    }
    void stopUI()
    {
        // The engine's order: the roots go before the fonts and sprites.
        mUI.reset();
        mFonts.reset();
        mInput.reset();
        mTexts.reset();
        mFunctions.reset();
    }

    VQ::UIWidget* load(const std::string& script, const std::string& table, VQ::UIWidget* parent = nullptr)
    {
        return mUI->loadUI(script, table, parent, "default");
    }
    template <typename T>
    T* find(VQ::UIWidget* root, const std::string& name)
    {
        return dynamic_cast<T*>(root->findChild(name));
    }

    VQ::UIPCController& controller() { return *static_cast<VQ::UIPCController*>(mUI->controller()); }

    // One frame of input: the pointer at (x, y) with the left button as
    // given, the keys in `keys` down; then the manager's update of `dt`.
    void frame(float x, float y, bool left, std::initializer_list<uint8_t> keys = {}, float dt = 0.0f,
               bool right = false, int wheel = 0)
    {
        VQ::MouseDevice& mouse = *mInput->mouse();
        VQ::KeyboardDevice& keyboard = *mInput->keyboard();
        mouse.previousLeft = mouse.left;
        mouse.previousRight = mouse.right;
        mouse.left = left ? 0x80 : 0;
        mouse.right = right ? 0x80 : 0;
        mouse.x = int32_t(x);
        mouse.y = int32_t(y);
        mouse.wheel = wheel;
        std::memcpy(keyboard.previous, keyboard.current, sizeof keyboard.current);
        std::memset(keyboard.current, 0, sizeof keyboard.current);
        for (uint8_t key : keys)
            keyboard.current[key] = VQ::KEY_DOWN;
        mUI->update(dt);
    }
    // A press and a release at one place, in two frames.
    void click(float x, float y)
    {
        frame(x, y, true);
        frame(x, y, false);
    }
    // A key typed: down in one frame, up in the next; with `shift`, Shift
    // is held around it.
    void type(uint8_t key, bool shift = false)
    {
        if (shift)
            frame(-100, -100, false, {VQ::VirtualKey::SHIFT});
        frame(-100, -100, false, {key, shift ? VQ::VirtualKey::SHIFT : key});
        frame(-100, -100, false, {shift ? VQ::VirtualKey::SHIFT : uint8_t(0)});
        frame(-100, -100, false);
    }

    std::unique_ptr<VQ::LexBindedFunctionManager> mFunctions;
    std::unique_ptr<VQ::TextManager> mTexts;
    std::unique_ptr<VQ::InputManager> mInput;
    std::unique_ptr<VQ::UIFontManager> mFonts;
    std::unique_ptr<VQ::UIManager> mUI;
};

}  // namespace TestSupport
