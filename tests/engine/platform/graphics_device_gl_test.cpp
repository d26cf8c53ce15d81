// Pixel tests: drawing through the render system on the real OpenGL device
// (offscreen driver) and reading the target back.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include <epoxy/gl.h>

#include "platform/graphics_device_gl.h"
#include "render_system.h"
#include "support/gl_test_context.h"
#include "support/render_helpers.h"

using namespace VQ;
using TestSupport::DeviceTexture;
using TestSupport::QuadSpec;

namespace {

constexpr uint32_t W = 32;
constexpr uint32_t H = 32;

int channel(uint32_t argb, int shift)
{
    return int((argb >> shift) & 0xFF);
}

::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance = 2)
{
    for (int shift : {16, 8, 0})
        if (std::abs(channel(actual, shift) - channel(expected, shift)) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
    return ::testing::AssertionSuccess();
}

// Run with either back buffer: off-screen, or the window's own framebuffer
// (whose rows run bottom-up).
class GLRenderTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        mContext = std::make_unique<TestSupport::GLTestContext>(int(W), int(H), GetParam());
        ASSERT_TRUE(mContext->ok()) << mContext->error();
        auto device = createGraphicsDeviceGL();
        ASSERT_EQ(device->create(W, H, VertexProcessing::Hardware), DeviceResult::Ok);
        mDevice = device.get();
        mRender = std::make_unique<RenderSystem>();
        RenderSettings settings;
        settings.workspaceWidth = int32_t(W);
        settings.workspaceHeight = int32_t(H);
        mRender->setSettings(settings);
        mRender->setDevice(std::move(device));
        mRender->setShaderSupport(true, true);
        ASSERT_TRUE(mRender->createBatchBuffers());
        mRender->setFixedDeviceState();
        mBackBuffer = mDevice->getBackBuffer();
        mDevice->clear(CLEAR_TARGET, 0xFF000000, 1.0f, 0);
        mRender->applyTransform(int32_t(W), int32_t(H));
        ASSERT_TRUE(mRender->lockBatchBuffer());
    }

    void TearDown() override
    {
        if (mRender) {
            mRender->unlockBatchBuffer();
            mTextures.clear();
            mDevice->release(mBackBuffer);
            mDevice->release(mSceneTexture);
            mDevice->release(mDepthStencil);
        }
        mRender.reset();
        mContext.reset();
    }

    DeviceTexture* texture(uint32_t w, uint32_t h, const std::vector<uint32_t>& argb)
    {
        mTextures.push_back(std::make_unique<DeviceTexture>(*mDevice, w, h, argb));
        return mTextures.back().get();
    }

    void draw(const std::vector<QuadSpec>& quads, TextureBase* tex, int32_t blend = BLEND_ALPHA,
              int32_t address = ADDRESS_WRAP)
    {
        auto data = TestSupport::makeQuads(quads, tex, blend, address);
        mRender->drawRenderData(data.get());
        mRender->flushBatch();
    }

    std::vector<uint32_t> read(uint32_t* width = nullptr, uint32_t* height = nullptr)
    {
        mRender->flushBatch();
        std::vector<uint32_t> pixels;
        uint32_t w = 0, h = 0;
        EXPECT_TRUE(mDevice->readPixels(pixels, w, h));
        if (width)
            *width = w;
        if (height)
            *height = h;
        return pixels;
    }

    // Draw into a render texture with a D24S8 surface, as the scene is.
    void useSceneTexture(uint32_t w, uint32_t h)
    {
        mSceneTexture = mDevice->createTexture(w, h, mDevice->backBufferFormat(), true);
        ASSERT_NE(mSceneTexture, nullptr);
        mDepthStencil = mDevice->createDepthStencilSurface(W, H, GfxFormat::D24S8);
        ASSERT_NE(mDepthStencil, nullptr);
        mDevice->setRenderTarget(mSceneTexture->surface(), mDepthStencil);
        mDevice->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        mRender->applyTransform(int32_t(w), int32_t(h));
    }

    std::unique_ptr<TestSupport::GLTestContext> mContext;
    GraphicsDevice* mDevice = nullptr;
    std::unique_ptr<RenderSystem> mRender;
    GfxSurface* mBackBuffer = nullptr;
    GfxTexture* mSceneTexture = nullptr;
    GfxSurface* mDepthStencil = nullptr;
    std::vector<std::unique_ptr<DeviceTexture>> mTextures;
};

std::vector<uint32_t> distinctTexels(uint32_t w, uint32_t h)
{
    std::vector<uint32_t> texels(size_t(w) * h);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            texels[y * w + x] = 0xFF000000u | (x * 30 + 10) << 16 | (y * 30 + 10) << 8 | ((x + y) * 15 + 5);
    return texels;
}

}  // namespace

TEST_P(GLRenderTest, TextureDrawnTexelForPixelReadsBackExactTexels)
{
    const auto texels = distinctTexels(8, 8);
    DeviceTexture* tex = texture(8, 8, texels);
    for (bool intoSceneTexture : {false, true}) {
        SCOPED_TRACE(intoSceneTexture ? "scene texture" : "back buffer");
        if (intoSceneTexture)
            useSceneTexture(W, H);
        draw({{4, 6, 8, 8}}, tex);
        uint32_t w = 0;
        const auto pixels = read(&w);
        ASSERT_EQ(w, W);
        // Row 0 of the read-back is the top, and every texel lands on exactly
        // one pixel: orientation and half-pixel alignment are right.
        for (uint32_t y = 0; y < 8; ++y)
            for (uint32_t x = 0; x < 8; ++x)
                EXPECT_EQ(pixels[(y + 6) * W + x + 4], texels[y * 8 + x]) << "texel " << x << "," << y;
        EXPECT_EQ(pixels[5 * W + 4], 0xFF000000u);
        EXPECT_EQ(pixels[6 * W + 3], 0xFF000000u);
        EXPECT_EQ(pixels[14 * W + 4], 0xFF000000u);
        EXPECT_EQ(pixels[6 * W + 12], 0xFF000000u);
    }
}

TEST_P(GLRenderTest, BlendModesCombineWithTheTarget)
{
    // Source (200, 100, 0) at alpha 128 over a (64, 128, 255) background.
    const uint32_t background = 0xFF4080FF;
    const float a = 128.0f / 255.0f;
    struct Case {
        int32_t blend;
        float r, g, b;
    } cases[] = {
        {BLEND_ALPHA, 200 * a + 64 * (1 - a), 100 * a + 128 * (1 - a), 255 * (1 - a)},
        {BLEND_COLOR, 200 * a + 64 * (1 - 200 / 255.0f), 100 * a + 128 * (1 - 100 / 255.0f), 255.0f},
        {BLEND_ADD, std::min(255.0f, 200 * a + 64), 100 * a + 128, 255.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blend);
        mDevice->clear(CLEAR_TARGET, background, 1.0f, 0);
        draw({{0, 0, 4, 4, 0x80C86400}}, nullptr, c.blend);
        const uint32_t expected = 0xFF000000u | uint32_t(c.r + 0.5f) << 16 | uint32_t(c.g + 0.5f) << 8 | uint32_t(c.b + 0.5f);
        EXPECT_TRUE(near(read()[W + 1], expected));
    }
}

TEST_P(GLRenderTest, AlphaTestDropsOnlyFullyTransparentTexels)
{
    // With blending off the texel colour lands as is wherever the test passes.
    mDevice->setRenderState(RenderState::AlphaBlendEnable, 0);
    DeviceTexture* tex = texture(2, 1, {0x00FF0000, 0x0100FF00});
    mDevice->clear(CLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    draw({{0, 0, 2, 1}}, tex);
    const auto pixels = read();
    EXPECT_EQ(pixels[0], 0xFF0000FFu);
    EXPECT_EQ(pixels[1], 0xFF00FF00u);
}

TEST_P(GLRenderTest, FragmentsTheAlphaTestDropsLeaveTheTargetUnderEveryBlend)
{
    // Texels with colour but little or no alpha over a coloured background:
    // what the test drops must leave the background, whichever program the
    // states pick (the colour blend would darken it otherwise).
    const uint32_t background = 0xFF4080FF;
    struct Case {
        const char* name;
        int32_t blend;
        uint32_t alphaRef;
        uint32_t texel;
    } cases[] = {
        {"alpha blend, alpha 0", BLEND_ALPHA, 1, 0x00FFFFFF},
        {"additive, alpha 0", BLEND_ADD, 1, 0x00FFFFFF},
        {"colour blend, alpha 0", BLEND_COLOR, 1, 0x00FFFFFF},
        {"alpha blend, under a higher reference", BLEND_ALPHA, 0x80, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mDevice->setRenderState(RenderState::AlphaRef, c.alphaRef);
        DeviceTexture* tex = texture(1, 1, {c.texel});
        mDevice->clear(CLEAR_TARGET, background, 1.0f, 0);
        draw({{0, 0, 4, 4}}, tex, c.blend);
        EXPECT_EQ(read()[W + 1], background);
    }
    // At the reference the texel blends in.
    DeviceTexture* tex = texture(1, 1, {0x80FFFFFF});
    mDevice->clear(CLEAR_TARGET, background, 1.0f, 0);
    draw({{0, 0, 4, 4}}, tex, BLEND_ALPHA);
    EXPECT_TRUE(near(read()[W + 1], 0xFFA0C0FF));
}

TEST_P(GLRenderTest, TextureStageOpsOtherThanModulateStillApply)
{
    // The renderer always modulates; other stage settings take the general
    // program: the texture's colour alone, then the vertex colour alone.
    DeviceTexture* tex = texture(1, 1, {0xFF00FF00});
    mDevice->setStageState(0, StageState::ColorOp, uint32_t(TextureOp::SelectArg1));
    draw({{0, 0, 4, 4, 0xFFFF0000}}, tex);
    EXPECT_EQ(read()[W + 1], 0xFF00FF00u);
    mDevice->setStageState(0, StageState::ColorArg1, uint32_t(TextureArg::Diffuse));
    draw({{0, 0, 4, 4, 0xFFFF0000}}, tex);
    EXPECT_EQ(read()[W + 1], 0xFFFF0000u);
    // Back to modulate.
    mDevice->setStageState(0, StageState::ColorOp, uint32_t(TextureOp::Modulate));
    mDevice->setStageState(0, StageState::ColorArg1, uint32_t(TextureArg::Texture));
    draw({{0, 0, 4, 4, 0xFFFF00FF}}, tex);
    EXPECT_EQ(read()[W + 1], 0xFF000000u);
}

TEST_P(GLRenderTest, StencilMaskLimitsDrawingToTheMaskShape)
{
    useSceneTexture(W, H);
    mRender->clearStencil();
    mRender->beginStencilMask();
    draw({{0, 0, 16, 32, 0xFFFFFFFF}}, nullptr);  // left half: the mask
    mRender->endStencilMask();
    EXPECT_EQ(read()[W + 1], 0xFF000000u) << "the mask itself writes no colour";

    mRender->useStencilMask();
    draw({{0, 0, 32, 32, 0xFFFF0000}}, nullptr);
    mRender->disableStencil();
    auto pixels = read();
    EXPECT_EQ(pixels[5 * W + 15], 0xFFFF0000u);
    EXPECT_EQ(pixels[5 * W + 16], 0xFF000000u);

    // Alpha-tested fragments write no stencil either: a mask texture with a
    // transparent half masks only its opaque half (away from the filtered
    // seam in the middle).
    DeviceTexture* shape = texture(2, 1, {0xFFFFFFFF, 0x00000000});
    mDevice->clear(CLEAR_TARGET, 0xFF000000, 1.0f, 0);
    mRender->clearStencil();
    mRender->beginStencilMask();
    draw({{0, 0, 32, 32}}, shape, BLEND_ALPHA, ADDRESS_CLAMP);
    mRender->endStencilMask();
    mRender->useStencilMask();
    draw({{0, 0, 32, 32, 0xFF00FF00}}, nullptr);
    mRender->disableStencil();
    pixels = read();
    EXPECT_EQ(pixels[5 * W + 3], 0xFF00FF00u);
    EXPECT_EQ(pixels[5 * W + 28], 0xFF000000u);

    // After a clear nothing passes the test.
    mRender->clearStencil();
    mRender->useStencilMask();
    draw({{0, 0, 32, 32, 0xFF0000FF}}, nullptr);
    mRender->disableStencil();
    EXPECT_EQ(read()[5 * W + 3], 0xFF00FF00u);
}

TEST_P(GLRenderTest, ColorWriteMaskKeepsMaskedChannels)
{
    mDevice->clear(CLEAR_TARGET, 0xFF102030, 1.0f, 0);
    mRender->setColorWriteMask(true, false, true, true);
    draw({{0, 0, 4, 4, 0xFFFFFFFF}}, nullptr);
    EXPECT_EQ(read()[W + 1], 0xFFFF20FFu);
    // A clear writes every channel whatever the mask.
    mDevice->clear(CLEAR_TARGET, 0xFF102030, 1.0f, 0);
    EXPECT_EQ(read()[W + 1], 0xFF102030u);
}

TEST_P(GLRenderTest, AddressModesRepeatMirrorOrClampTheTexture)
{
    DeviceTexture* tex = texture(2, 1, {0xFF000000, 0xFFFFFFFF});
    struct Case {
        int32_t address;
        uint32_t expected[4];
    } cases[] = {
        {ADDRESS_WRAP, {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
        {ADDRESS_MIRROR, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}},
        {ADDRESS_CLAMP, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
    };
    // Point sampling shows the texels themselves at the repeat seams.
    mDevice->setStageState(0, StageState::MinFilter, uint32_t(Filter::Point));
    mDevice->setStageState(0, StageState::MagFilter, uint32_t(Filter::Point));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        draw({{0, 0, 4, 1, 0xFFFFFFFF, 0, 0, 2, 1}}, tex, BLEND_ALPHA, c.address);
        const auto pixels = read();
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixels[size_t(x)], c.expected[x]) << "pixel " << x;
    }
}

TEST_P(GLRenderTest, WorkspaceFitsIntoOtherWindowShapesWithBars)
{
    // The scene (a white 16 x 8 workspace) composed onto back buffers of
    // other shapes, as the end of a frame does.
    struct Case {
        uint32_t windowW, windowH;
        uint32_t x0, y0, x1, y1;  // where the scene must land
    } cases[] = {
        {32, 32, 0, 8, 32, 24},  // taller window: bars above and below
        {32, 8, 8, 0, 24, 8},    // wider window: bars left and right
    };
    RenderSettings settings = mRender->settings();
    settings.workspaceWidth = 16;
    settings.workspaceHeight = 8;
    mRender->setSettings(settings);
    DeviceTexture* scene = texture(1, 1, {0xFFFFFFFF});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.windowW << "x" << c.windowH);
        mRender->unlockBatchBuffer();
        mRender->releaseBatchBuffers();
        mDevice->release(mBackBuffer);
        ASSERT_EQ(mDevice->reset(c.windowW, c.windowH), DeviceResult::Ok);
        ASSERT_TRUE(mRender->createBatchBuffers());
        mRender->setFixedDeviceState();
        mRender->resetBatchState();
        mBackBuffer = mDevice->getBackBuffer();
        mRender->setWindowSize(c.windowW, c.windowH);
        mDevice->clear(CLEAR_TARGET, 0x00000000, 1.0f, 0);
        mRender->applyTransform(int32_t(c.windowW), int32_t(c.windowH));
        ASSERT_TRUE(mRender->lockBatchBuffer());
        Vector2f offset, size;
        float scale = 0;
        mRender->getWorkspaceViewport(offset, size, scale);
        draw({{offset.x, offset.y, size.x, size.y}}, scene);
        uint32_t w = 0, h = 0;
        const auto pixels = read(&w, &h);
        ASSERT_EQ(w, c.windowW);
        ASSERT_EQ(h, c.windowH);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
                const bool inside = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
                ASSERT_EQ(pixels[y * w + x], inside ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
            }
        EXPECT_EQ(mDevice->present(), DeviceResult::Ok);
    }
}

TEST_P(GLRenderTest, TextureFormatsSampleAsTheirChannels)
{
    struct Case {
        const char* name;
        GfxFormat format;
        std::vector<uint8_t> bytes;
        uint32_t expected;  // drawn with blending off
    } cases[] = {
        {"X8R8G8B8", GfxFormat::X8R8G8B8, {0x30, 0x20, 0x10, 0x00}, 0xFF102030},
        {"L8", GfxFormat::L8, {0x60}, 0xFF606060},
        {"A8L8", GfxFormat::A8L8, {0x60, 0x01}, 0xFF606060},
        // One DXT1 block of solid colour 0 (pure red in 5:6:5) on all texels.
        {"DXT1", GfxFormat::DXT1, {0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0}, 0xFFFF0000},
    };
    mDevice->setRenderState(RenderState::AlphaBlendEnable, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t size = c.format == GfxFormat::DXT1 ? 4 : 1;
        mTextures.push_back(std::make_unique<DeviceTexture>(*mDevice, size, size, c.format, c.bytes));
        ASSERT_TRUE(mTextures.back()->mReady);
        mDevice->clear(CLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
        draw({{0, 0, 4, 4}}, mTextures.back().get());
        EXPECT_EQ(read()[W + 1], c.expected);
    }
}

TEST_P(GLRenderTest, DistortionShaderDisplacesTheSceneSample)
{
    // A scene texture with one distinct column per texel, sampled through a
    // distortion texture of red 0xFF (u moves by 0.15 * (1 - 127/255), about
    // 1.2 texels of 16) and of the neutral 0x7F (no move).
    std::vector<uint32_t> columns(16);
    for (uint32_t x = 0; x < 16; ++x)
        columns[x] = 0xFF000000u | (x * 16) << 16;
    DeviceTexture* scene = texture(16, 1, columns);
    ShaderProgram* program = mRender->distortionProgram();
    ASSERT_EQ(mRender->createPixelShader(&program->pixelShader, DISTORTION_PIXEL_SHADER_SOURCE), 0);
    mDevice->setStageState(0, StageState::MinFilter, uint32_t(Filter::Point));
    mDevice->setStageState(0, StageState::MagFilter, uint32_t(Filter::Point));
    for (uint32_t red : {0xFFu, 0x7Fu}) {
        SCOPED_TRACE(red);
        DeviceTexture* distortion = texture(1, 1, {0x00007FFF | red << 16});
        mDevice->clear(CLEAR_TARGET, 0xFF000000, 1.0f, 0);
        mRender->useShaderProgram(program);
        mDevice->setTexture(1, distortion->mHandle);
        draw({{0, 0, 16, 1}}, scene);
        mDevice->setTexture(1, nullptr);
        mRender->useFixedFunction();
        const auto pixels = read();
        const uint32_t shift = red == 0xFF ? 1 : 0;
        for (uint32_t x = 0; x + shift < 16; ++x)
            EXPECT_EQ(pixels[x], columns[x + shift]) << "pixel " << x;
    }
    // The program has no vertex shader, whose deletion reports 1.
    EXPECT_EQ(mRender->releaseShaderProgram(program), 1);
    EXPECT_FALSE(program->pixelShader.valid);
}

TEST_P(GLRenderTest, VertexShaderThroughTheShaderInterfaceMatchesTheFixedPath)
{
    // A vertex shader placing vertices by the transposed transform in vq_c,
    // the way the video colour conversion does.
    const char* vertexSource = R"(
void main()
{
    vec4 p = vec4(a_position, 1.0);
    vq_color = a_color;
    vq_texcoord0 = a_texcoord;
    vq_texcoord1 = vec2(a_color.r, a_color.g);
    gl_Position = vq_output(vec4(dot(p, vq_c[0]), dot(p, vq_c[1]), dot(p, vq_c[2]), dot(p, vq_c[3])));
}
)";
    ShaderProgram program;
    ASSERT_EQ(mRender->createVertexShader(&program.vertexShader, vertexSource), 0);
    const auto texels = distinctTexels(4, 4);
    DeviceTexture* tex = texture(4, 4, texels);
    mRender->useShaderProgram(&program);
    mDevice->setVertexShaderConstant(0, &mRender->shaderTransform().m[0][0], 4);
    draw({{3, 5, 4, 4}}, tex);
    mRender->useFixedFunction();
    const auto pixels = read();
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(pixels[(y + 5) * W + x + 3], texels[y * 4 + x]);
    EXPECT_EQ(mRender->releaseShaderProgram(&program), 1) << "no pixel shader to delete";
}

TEST_P(GLRenderTest, ShaderCompileErrorsAreReported)
{
    std::string errors;
    EXPECT_EQ(mDevice->createPixelShader("vec4 vq_shade() { return undefinedThing; }", errors), 0u);
    EXPECT_NE(errors.find("undefinedThing"), std::string::npos) << errors;
}

TEST_P(GLRenderTest, ResetIsRefusedWhileDefaultPoolObjectsLive)
{
    mRender->unlockBatchBuffer();
    EXPECT_EQ(mDevice->reset(W, H), DeviceResult::InvalidCall) << "batch buffers and back-buffer reference alive";
    mRender->releaseBatchBuffers();
    mDevice->release(mBackBuffer);
    mBackBuffer = nullptr;
    EXPECT_EQ(mDevice->reset(W, H), DeviceResult::Ok);
    // A size the GL refuses is a call the device cannot make, not a lack of
    // memory; the next reset at a size it takes works.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    EXPECT_EQ(mDevice->reset(uint32_t(largest) + 1, 1), DeviceResult::InvalidCall);
    EXPECT_EQ(mDevice->reset(W, H), DeviceResult::Ok);
    ASSERT_TRUE(mRender->createBatchBuffers());
    ASSERT_TRUE(mRender->lockBatchBuffer());
}

INSTANTIATE_TEST_SUITE_P(BackBuffer, GLRenderTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Window" : "Offscreen";
                         });
