// Batched drawing through the recording device: which render data join one
// draw, which split it, and what reaches the device.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "log_system.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "support/render_helpers.h"
#include "support/test_support.h"

using namespace VQ;
using TestSupport::DeviceTexture;
using TestSupport::QuadSpec;
using TestSupport::VertexSpec;
using Draw = RecordingGraphicsDevice::DrawRecord;

namespace {

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto device = std::make_unique<RecordingGraphicsDevice>();
        ASSERT_EQ(device->create(800, 600, VertexProcessing::Hardware), DeviceResult::Ok);
        device->setRecordVertices(true);
        mDevice = device.get();
        mRender = std::make_unique<RenderSystem>();
        RenderSettings settings;
        settings.workspaceWidth = 800;
        settings.workspaceHeight = 600;
        mRender->setSettings(settings);
        mRender->setDevice(std::move(device));
        ASSERT_TRUE(mRender->createBatchBuffers());
        mRender->setFixedDeviceState();
        mRender->applyTransform(800, 600);
        ASSERT_TRUE(mRender->lockBatchBuffer());
        mA = texture();
        mB = texture();
        mDevice->clearRecords();
    }

    void TearDown() override
    {
        mData.clear();
        mTextures.clear();  // on the device, which the render system owns
        mRender.reset();
    }

    DeviceTexture* texture()
    {
        mTextures.push_back(std::make_unique<DeviceTexture>(*mDevice, 4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF)));
        return mTextures.back().get();
    }

    // Render data of `quads` one-pixel quads, kept alive for the test.
    RenderData* quads(TextureBase* tex, uint32_t count = 1, int32_t blend = BLEND_ALPHA,
                      int32_t address = ADDRESS_WRAP, uint32_t argb = 0xFFFFFFFF)
    {
        std::vector<QuadSpec> specs(count);
        for (uint32_t i = 0; i < count; ++i)
            specs[i] = QuadSpec{float(i % 100), float(i / 100), 1, 1, argb};
        mData.push_back(TestSupport::makeQuads(specs, tex, blend, address));
        return mData.back().get();
    }

    RenderData* lines(TextureBase* tex, uint32_t vertices)
    {
        std::vector<VertexSpec> specs(vertices);
        for (uint32_t i = 0; i < vertices; ++i)
            specs[i] = VertexSpec{float(i), 0};
        mData.push_back(TestSupport::makeVertices(specs, tex, PRIMITIVE_LINES));
        return mData.back().get();
    }

    const std::vector<Draw>& draws()
    {
        mRender->flushBatch();
        return mDevice->draws();
    }

    static float vertexX(const Draw& d, uint32_t i)
    {
        float x = 0;
        std::memcpy(&x, d.vertices.data() + i * TestSupport::kStride, sizeof(float));
        return x;
    }

    RecordingGraphicsDevice* mDevice = nullptr;
    std::unique_ptr<RenderSystem> mRender;
    std::vector<std::unique_ptr<DeviceTexture>> mTextures;
    std::vector<std::unique_ptr<RenderData>> mData;
    DeviceTexture* mA = nullptr;
    DeviceTexture* mB = nullptr;
};

}  // namespace

TEST_F(BatchTest, EqualStateJoinsOneDrawAndANewTextureStartsAnother)
{
    mRender->drawRenderData(quads(mA));
    mRender->drawRenderData(quads(mA));
    EXPECT_EQ(mDevice->draws().size(), 0u) << "nothing drawn before the flush";
    mRender->drawRenderData(quads(mB));
    const auto& d = draws();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0].primitiveCount, 4u);  // two quads, two triangles each
    EXPECT_EQ(d[0].vertexCount, 8u);
    EXPECT_EQ(d[0].textures[0], mA->mHandle);
    EXPECT_EQ(d[1].primitiveCount, 2u);
    EXPECT_EQ(d[1].textures[0], mB->mHandle);
    EXPECT_EQ(mRender->drawCallCount(), 2u);
    EXPECT_EQ(mRender->triangleCount(), 6u);
}

TEST_F(BatchTest, AChangeOfBlendAddressOrPrimitiveKindSplitsTheBatch)
{
    struct Case {
        const char* name;
        RenderData* second;
        RenderState state;
        uint32_t value;
    } cases[] = {
        {"blend color", quads(mA, 1, BLEND_COLOR), RenderState::DestBlend, uint32_t(Blend::InvSrcColor)},
        {"blend add", quads(mA, 1, BLEND_ADD), RenderState::DestBlend, uint32_t(Blend::One)},
        {"mirror", quads(mA, 1, BLEND_ALPHA, ADDRESS_MIRROR), RenderState::Count, uint32_t(Address::Mirror)},
        {"clamp", quads(mA, 1, BLEND_ALPHA, ADDRESS_CLAMP), RenderState::Count, uint32_t(Address::Clamp)},
        {"lines", lines(mA, 2), RenderState::Count, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mDevice->clearRecords();
        mRender->drawRenderData(quads(mA));
        mRender->drawRenderData(c.second);
        const auto& d = draws();
        ASSERT_EQ(d.size(), 2u);
        EXPECT_EQ(d[0].state(RenderState::DestBlend), uint32_t(Blend::InvSrcAlpha));
        EXPECT_EQ(d[0].stage(0, StageState::AddressU), uint32_t(Address::Wrap));
        EXPECT_EQ(d[0].state(RenderState::SrcBlend), uint32_t(Blend::SrcAlpha));
        if (c.state != RenderState::Count)
            EXPECT_EQ(d[1].state(c.state), c.value);
        else if (c.second->primitiveKind == PRIMITIVE_LINES)
            EXPECT_EQ(d[1].type, RecordingGraphicsDevice::PrimitiveType::Lines);
        else
            for (StageState s : {StageState::AddressU, StageState::AddressV, StageState::AddressW})
                EXPECT_EQ(d[1].stage(0, s), c.value);
    }
}

TEST_F(BatchTest, TheThousandAndFirstQuadStartsANewDraw)
{
    for (int i = 0; i < 1001; ++i)
        mRender->drawRenderData(quads(mA));
    const auto& d = draws();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0].primitiveCount, 2000u);
    EXPECT_EQ(d[1].primitiveCount, 2u);
}

TEST_F(BatchTest, RenderDataLargerThanTheBufferIsDrawnInChunksOfWholeQuads)
{
    mRender->drawRenderData(quads(mA, 2500));
    const auto& d = draws();
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].primitiveCount, 2000u);
    EXPECT_EQ(d[1].primitiveCount, 2000u);
    EXPECT_EQ(d[2].primitiveCount, 1000u);
    // The chunks follow on: the 1001st quad starts the second draw.
    EXPECT_EQ(vertexX(d[1], 0), float(1000 % 100));
    EXPECT_EQ(mRender->triangleCount(), 5000u);
}

TEST_F(BatchTest, UntexturedDataAlwaysFlushesAndBindsNoTexture)
{
    mRender->drawRenderData(quads(mA));
    mRender->drawRenderData(quads(nullptr));
    mRender->drawRenderData(quads(nullptr));
    const auto& d = draws();
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[1].textures[0], nullptr);
    EXPECT_EQ(d[2].textures[0], nullptr);
}

TEST_F(BatchTest, SkippedDataChangesNothing)
{
    DeviceTexture notReady(*mDevice, 4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF));
    notReady.mReady = false;
    mData.push_back(std::make_unique<RenderData>());  // no vertices
    RenderData* empty = mData.back().get();
    for (RenderData* skipped : {quads(mB, 1, BLEND_ADD, ADDRESS_CLAMP, 0x00FFFFFF), quads(&notReady), empty}) {
        mDevice->clearRecords();
        mRender->drawRenderData(quads(mA));
        mRender->flushBatch();
        mRender->drawRenderData(skipped);
        EXPECT_EQ(mDevice->texture(0), mA->mHandle);
        EXPECT_EQ(mDevice->renderState(RenderState::DestBlend), uint32_t(Blend::InvSrcAlpha));
        EXPECT_EQ(mDevice->stageState(0, StageState::AddressU), uint32_t(Address::Wrap));
        EXPECT_EQ(draws().size(), 1u);
    }
    mData.clear();  // gives its reference back before the texture goes
}

TEST_F(BatchTest, LineListsDrawWholeLinesOnly)
{
    mRender->drawRenderData(lines(mA, 4));
    mRender->drawRenderData(lines(mA, 3));  // the last vertex belongs to no line
    mRender->drawRenderData(lines(mA, 2));
    const auto& d = draws();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].type, RecordingGraphicsDevice::PrimitiveType::Lines);
    EXPECT_EQ(d[0].primitiveCount, 4u);
    // The line after the odd data starts at its own first vertex.
    EXPECT_EQ(vertexX(d[0], 6), 0.0f);
    EXPECT_EQ(vertexX(d[0], 7), 1.0f);
}

TEST_F(BatchTest, PartialQuadsAreNotQueued)
{
    // Six vertices: one quad and two stray corners, which must not shift the
    // next data's quads.
    std::vector<VertexSpec> six(6);
    for (int i = 0; i < 6; ++i)
        six[size_t(i)] = VertexSpec{float(10 + i), 0};
    mData.push_back(TestSupport::makeVertices(six, mA, PRIMITIVE_QUADS));
    mRender->drawRenderData(mData.back().get());
    mRender->drawRenderData(quads(mA));
    const auto& d = draws();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].primitiveCount, 4u);
    EXPECT_EQ(vertexX(d[0], 3), 13.0f);
    EXPECT_EQ(vertexX(d[0], 4), 0.0f);
}

TEST_F(BatchTest, AfterABatchStateResetTheNextDataSendsItsWholeState)
{
    // The device keeps another destination blend and texture than the reset
    // batch state claims.
    mRender->drawRenderData(quads(mB, 1, BLEND_ADD, ADDRESS_CLAMP));
    mRender->flushBatch();
    mRender->resetBatchState();
    mRender->drawRenderData(quads(mA, 1, BLEND_COLOR, ADDRESS_WRAP));
    const auto& d = draws();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[1].state(RenderState::DestBlend), uint32_t(Blend::InvSrcColor));
    EXPECT_EQ(d[1].stage(0, StageState::AddressU), uint32_t(Address::Wrap));
    EXPECT_EQ(d[1].textures[0], mA->mHandle);
}

TEST_F(BatchTest, StateChangesFlushWhatWasQueuedFirst)
{
    mRender->drawRenderData(quads(mA));
    mRender->beginStencilMask();
    mRender->drawRenderData(quads(mA));
    mRender->endStencilMask();
    mRender->useStencilMask();
    mRender->drawRenderData(quads(mA));
    mRender->disableStencil();
    const auto& d = draws();
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].state(RenderState::StencilEnable), 0u);
    EXPECT_EQ(d[0].state(RenderState::ColorWriteEnable), 0xFu);

    EXPECT_EQ(d[1].state(RenderState::StencilEnable), 1u);
    EXPECT_EQ(d[1].state(RenderState::StencilFunc), uint32_t(Cmp::Always));
    EXPECT_EQ(d[1].state(RenderState::StencilRef), 1u);
    EXPECT_EQ(d[1].state(RenderState::StencilPass), uint32_t(StencilOp::Replace));
    EXPECT_EQ(d[1].state(RenderState::StencilFail), uint32_t(StencilOp::Keep));
    EXPECT_EQ(d[1].state(RenderState::ColorWriteEnable), 0u);

    EXPECT_EQ(d[2].state(RenderState::StencilEnable), 1u);
    EXPECT_EQ(d[2].state(RenderState::StencilFunc), uint32_t(Cmp::Equal));
    EXPECT_EQ(d[2].state(RenderState::ColorWriteEnable), 0xFu);
    EXPECT_EQ(mDevice->renderState(RenderState::StencilEnable), 0u);

    mRender->clearStencil();
    ASSERT_EQ(mDevice->clears().size(), 1u);
    EXPECT_EQ(mDevice->clears()[0].flags, CLEAR_STENCIL);
    EXPECT_EQ(mDevice->clears()[0].stencil, 0u);
}

TEST_F(BatchTest, ShaderProgramsAreBoundAfterAFlush)
{
    mRender->setShaderSupport(true, true);
    ShaderProgram program;
    ASSERT_EQ(mRender->createPixelShader(&program.pixelShader, "vec4 vq_shade() { return vec4(1.0); }"), 0);
    mRender->drawRenderData(quads(mA));
    mRender->useShaderProgram(&program);
    mRender->drawRenderData(quads(mA));
    mRender->useFixedFunction();
    const auto& d = mDevice->draws();
    ASSERT_EQ(d.size(), 2u) << "each switch drew what was queued before it";
    EXPECT_EQ(d[0].pixelShader, 0u);
    EXPECT_EQ(d[1].pixelShader, program.pixelShader.handle);
    EXPECT_EQ(d[1].vertexShader, 0u) << "no vertex shader: fixed vertex processing";
    EXPECT_EQ(mDevice->pixelShader(), 0u);
    EXPECT_EQ(mRender->releaseShaderProgram(&program), 1);
    EXPECT_EQ(mDevice->liveShaders(), 0u);
}

TEST_F(BatchTest, IndexBufferLockFailureStopsBufferCreation)
{
    mRender->unlockBatchBuffer();
    mRender->releaseBatchBuffers();
    mDevice->failNextLock();
    EXPECT_FALSE(mRender->createBatchBuffers());
    mRender->releaseBatchBuffers();
    EXPECT_EQ(mDevice->liveDefaultPoolObjects(), 0u);
    // No vertex pointer: drawing is skipped instead of writing through it.
    mRender->drawRenderData(quads(mA));
    mRender->flushBatch();
    EXPECT_TRUE(mDevice->draws().empty());
}

TEST_F(BatchTest, RasterizedPixelsCountQuadAreasTimesCameraScale)
{
    mRender->setCountPixels(true);
    mData.push_back(TestSupport::makeQuads({{0, 0, 10, 20}}, mA));
    mRender->drawRenderData(mData.back().get());
    EXPECT_NEAR(mRender->rasterizedPixels(), 200.0f, 0.01f);
    RenderCamera camera;
    camera.scale = Vector2f(2, 3);
    mRender->setCamera(camera);
    mRender->drawRenderData(mData.back().get());
    EXPECT_NEAR(mRender->rasterizedPixels(), 200.0f + 1200.0f, 0.05f);
}

// --- Shader creation -------------------------------------------------------

TEST_F(BatchTest, ShaderCreationFailuresReportOne)
{
    TestSupport::TempDir dir;
    const std::string old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    auto* log = new LogSystem();
    PixelShader part;
    VertexShader vs;
    // Without shader support the device is not asked.
    EXPECT_EQ(mRender->createPixelShader(&part, "vec4 vq_shade() { return vec4(1.0); }"), 1);
    EXPECT_EQ(mRender->createVertexShader(&vs, "void main() {}"), 1);
    EXPECT_EQ(mDevice->liveShaders(), 0u);
    mRender->setShaderSupport(true, true);
    EXPECT_EQ(mRender->createPixelShader(nullptr, "x"), 1);
    EXPECT_EQ(mRender->createPixelShader(&part, nullptr), 1);
    EXPECT_EQ(mRender->createPixelShader(&part, "#error broken"), 1);
    EXPECT_FALSE(part.valid);
    EXPECT_EQ(mRender->deletePixelShader(&part), 1) << "nothing valid to delete";
    delete log;
    const std::string text = TestSupport::readFile(dir.file("VQ.log"));
    std::filesystem::current_path(old);
    EXPECT_NE(text.find("ERROR: Failed to create pixel shader: 0:1(1): error: #error in source"), std::string::npos)
        << text;
}

TEST_F(BatchTest, VertexShaderForAnUnknownVertexFormatIsFatal)
{
    mRender->setShaderSupport(true, true);
    RenderSettings settings = mRender->settings();
    settings.vertexFormat = 5;
    mRender->setSettings(settings);
    VertexShader vs;
    const FatalReport report = TestSupport::catchFatal([&] { mRender->createVertexShader(&vs, "void main() {}"); });
    EXPECT_EQ(report.description, "Unknown vertex shader declaration!");
    EXPECT_EQ(report.file, "render_system_dx8");
    EXPECT_EQ(report.line, 780);
    EXPECT_EQ(mDevice->liveShaders(), 0u);
    settings.vertexFormat = 23;
    mRender->setSettings(settings);
    EXPECT_EQ(mRender->createVertexShader(&vs, "void main() {}"), 0);
    EXPECT_TRUE(vs.valid);
    EXPECT_EQ(mRender->deleteVertexShader(&vs), 0);
}

TEST_F(BatchTest, DataWhollyOutsideTheViewIsNotDrawn)
{
    struct Case {
        const char* name;
        float x, y;
        bool drawn;
    } cases[] = {
        {"left", -40, 10, false},    {"right", 810, 10, false},         {"above", 10, -40, false},
        {"below", 10, 610, false},   {"across the left edge", -15, 10, true}, {"over a corner", 795, 595, true},
        {"inside", 400, 300, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mDevice->clearRecords();
        mData.push_back(TestSupport::makeQuads({{c.x, c.y, 20, 20}}, mA));
        mRender->drawRenderData(mData.back().get());
        EXPECT_EQ(draws().size(), c.drawn ? 1u : 0u);
    }
    // The view is the camera's: moved, it shows what lay beside it.
    RenderCamera camera;
    camera.position = Vector2f(100, 0);
    mRender->setCamera(camera);
    mDevice->clearRecords();
    mData.push_back(TestSupport::makeQuads({{-40, 10, 20, 20}}, mA));
    mRender->drawRenderData(mData.back().get());
    EXPECT_EQ(draws().size(), 1u);
}

TEST_F(BatchTest, OpaqueDataIsDrawnWithoutBlendingOrTheAlphaTest)
{
    DeviceTexture translucent(*mDevice, 2, 1, {0xFFFFFFFF, 0xFEFFFFFF});
    struct Case {
        const char* name;
        RenderData* data;
        bool opaque;
        size_t draws;  // between translucent data of the first texture
    } cases[] = {
        {"opaque texels at full alpha", quads(mA), true, 3},
        {"untextured at full alpha", quads(nullptr), true, 3},
        {"a vertex below full alpha", quads(mA, 1, BLEND_ALPHA, ADDRESS_WRAP, 0xFEFFFFFF), false, 1},
        {"a translucent texel", quads(&translucent), false, 3},
        {"additive", quads(mA, 1, BLEND_ADD), false, 3},
        {"colour blend", quads(mA, 1, BLEND_COLOR), false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mDevice->clearRecords();
        // Opaque data starts a draw of its own, and the states come back
        // after it.
        mRender->drawRenderData(quads(mA, 1, BLEND_ALPHA, ADDRESS_WRAP, 0x80FFFFFF));
        mRender->drawRenderData(c.data);
        mRender->drawRenderData(quads(mA, 1, BLEND_ALPHA, ADDRESS_WRAP, 0x80FFFFFF));
        const auto& d = draws();
        ASSERT_EQ(d.size(), c.draws);
        for (size_t i = 0; i < d.size(); ++i) {
            const uint32_t expected = c.opaque && i == 1 ? 0u : 1u;
            EXPECT_EQ(d[i].state(RenderState::AlphaBlendEnable), expected) << i;
            EXPECT_EQ(d[i].state(RenderState::AlphaTestEnable), expected) << i;
        }
    }
    mData.clear();  // gives its references back before the texture goes
}
