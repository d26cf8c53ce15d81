// Fonts on the OpenGL device, by their pixels: the system font's text shows
// where it was placed, in the colour asked for, on the baked sheet.

#include <gtest/gtest.h>

#include "font.h"
#include "support/gl_test_context.h"
#include "support/sprite_fixture.h"
#include "ui/ui_font.h"

using namespace TestSupport;

namespace {

class FontGLTest : public SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        mUseGL = true;
        mSettings.workspaceWidth = 128;
        mSettings.workspaceHeight = 64;
    }
    bool startGL()
    {
        mContext = std::make_unique<GLTestContext>(128, 64);
        if (!mContext->ok())
            return false;
        startEngine(128, 64);
        return true;
    }
    void TearDown() override
    {
        SpriteTest::TearDown();
        mContext.reset();
    }
    // Draws `body` into a frame and returns the window's pixels (row 0 the
    // top); frames are drawn twice so that textures queued by the first
    // exist for the second.
    std::vector<uint32_t> frame(const std::function<void()>& body)
    {
        std::vector<uint32_t> pixels;
        for (int pass = 0; pass < 2; ++pass) {
            mRender->beginFrame();
            body();
            mRender->endFrame();
            uint32_t w = 0, h = 0;
            EXPECT_TRUE(mGfx->readPixels(pixels, w, h));
            mRender->present();
        }
        return pixels;
    }
    // Pixels of the rectangle whose green channel is above half.
    static int litIn(const std::vector<uint32_t>& p, int x0, int y0, int x1, int y1)
    {
        int lit = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                lit += ((p[size_t(y) * 128 + size_t(x)] >> 8) & 0xFF) > 128;
        return lit;
    }

    std::unique_ptr<GLTestContext> mContext;
};

}  // namespace

TEST_F(FontGLTest, SystemFontTextLandsWhereItWasPlaced)
{
    if (!startGL())
        GTEST_SKIP() << mContext->error();
    VQ::Font font;
    font.load("system_font_fnt");
    const std::vector<uint32_t> p = frame([&] { font.drawText(0.0f, 20.0f, "Loading...", 1.0f, VQ::Color(0xFFFFFFFFu)); });
    const float lineHeight = font.glyphs()['L' - 32].h;
    EXPECT_EQ(litIn(p, 0, 0, 128, 20), 0);
    EXPECT_GT(litIn(p, 0, 20, 80, 20 + int(lineHeight)), 40);
    EXPECT_EQ(litIn(p, 0, 20 + int(lineHeight), 128, 64), 0);
}
