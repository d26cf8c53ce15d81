// The camera transform and workspace fitting of the render system.

#include <gtest/gtest.h>

#include <memory>

#include "platform/recording_graphics_device.h"
#include "render_system.h"

using namespace VQ;

namespace {

Vector2f ndc(const Matrix4& m, float x, float y)
{
    float out[4];
    m.transformPoint(x, y, 0.0f, out);
    return Vector2f(out[0] / out[3], out[1] / out[3]);
}

void expectNear(const Vector2f& actual, const Vector2f& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

class RenderSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto device = std::make_unique<RecordingGraphicsDevice>();
        ASSERT_EQ(device->create(800, 600, VertexProcessing::Hardware), DeviceResult::Ok);
        mDevice = device.get();
        mRender.setDevice(std::move(device));
        mRender.setSettings(settings(800, 600));
    }

    static RenderSettings settings(int32_t w, int32_t h, uint32_t fit = 0, float zoom = 1.0f)
    {
        RenderSettings s;
        s.workspaceWidth = w;
        s.workspaceHeight = h;
        s.fullscreenFitType = fit;
        s.workspaceZoom = zoom;
        return s;
    }

    // Where workspace point p lands (normalised coordinates) under a camera.
    Vector2f mapped(const RenderCamera& camera, float x, float y)
    {
        mRender.setCamera(camera);
        mRender.applyTransform(800, 600);
        return ndc(mRender.transform(), x, y);
    }

    RecordingGraphicsDevice* mDevice = nullptr;
    RenderSystem mRender;
};

}  // namespace

TEST_F(RenderSystemTest, IdentityCameraMapsTheWorkspaceOntoTheTargetWithPixelCentresOnTexelCentres)
{
    mRender.applyTransform(800, 600);
    // Workspace y grows downwards; the centre of pixel (0, 0), at workspace
    // (0.5, 0.5), lands on the target's first pixel centre.
    expectNear(ndc(mRender.transform(), 0.5f, 0.5f), Vector2f(-1.0f, 1.0f));
    expectNear(ndc(mRender.transform(), 800.5f, 600.5f), Vector2f(1.0f, -1.0f));
    EXPECT_EQ(mDevice->transform(TransformKind::Projection), mRender.transform());
    EXPECT_EQ(mDevice->transform(TransformKind::View), Matrix4::identity());
    EXPECT_EQ(mRender.shaderTransform(), mRender.transform().transposed());
}

TEST_F(RenderSystemTest, CameraMovesScalesAndRotatesAboutTheCentre)
{
    const RenderCamera identity;
    RenderCamera moved;
    moved.position = Vector2f(10, 20);
    expectNear(mapped(moved, 5, 5), mapped(identity, 15, 25));

    RenderCamera scaled;
    scaled.scale = Vector2f(2, 2);
    expectNear(mapped(scaled, 410, 300), mapped(identity, 420, 300));
    expectNear(mapped(scaled, 400, 300), mapped(identity, 400, 300));

    RenderCamera rotated;
    rotated.angle = 90;
    expectNear(mapped(rotated, 410, 300), mapped(identity, 400, 290), 1e-4f);

    // A camera matrix applies before everything else: its translation row
    // moves like the position.
    RenderCamera withMatrix;
    withMatrix.hasMatrix = true;
    withMatrix.matrix[2][0] = 5;
    withMatrix.matrix[2][1] = 7;
    RenderCamera positioned;
    positioned.position = Vector2f(5, 7);
    expectNear(mapped(withMatrix, 30, 40), mapped(positioned, 30, 40));
}

TEST_F(RenderSystemTest, SettingTheSameCameraKeepsTheBatchButAMatrixCameraAlwaysFlushes)
{
    ASSERT_TRUE(mRender.createBatchBuffers());
    ASSERT_TRUE(mRender.lockBatchBuffer());
    RenderData data;
    uint8_t* v = data.allocateVertices(4, 24);
    for (int i = 0; i < 4; ++i)
        v[i * 24 + 15] = 0xFF;  // opaque
    mRender.drawRenderData(&data);
    RenderCamera camera;
    camera.position = Vector2f(1e-8f, 0);
    mRender.setCamera(camera);
    EXPECT_EQ(mRender.batchVertexCount(), 4u);
    EXPECT_TRUE(mDevice->draws().empty());

    camera.hasMatrix = true;
    mDevice->setTransform(TransformKind::Projection, Matrix4());
    mRender.setCamera(camera);
    EXPECT_EQ(mRender.batchVertexCount(), 0u);
    EXPECT_EQ(mDevice->draws().size(), 1u);
    EXPECT_EQ(mDevice->transform(TransformKind::Projection), mRender.transform());
    mRender.setCamera(camera);
    EXPECT_EQ(mDevice->draws().size(), 1u) << "nothing queued, nothing drawn";
    mRender.unlockBatchBuffer();
}

TEST(WorkspaceFit, FitsEveryAspectAndFitType)
{
    struct Case {
        const char* name;
        Vector2f source, window;
        uint32_t fit;
        float zoom;
        bool portrait;
        Vector2f offset, size;
        float scale;
    } cases[] = {
        {"same aspect, fit 0", {800, 600}, {1024, 768}, 0, 1, false, {0, 0}, {1024, 768}, 1.28f},
        {"same aspect, fit 1", {800, 600}, {1024, 768}, 1, 1, false, {0, 0}, {1024, 768}, 1.28f},
        {"same aspect, fit 2 zoom 1", {800, 600}, {1024, 768}, 2, 1, false, {0, 0}, {1024, 768}, 1.28f},
        {"fit 2 zoom 1.5", {800, 600}, {1024, 768}, 2, 1.5f, false, {-256, -192}, {1536, 1152}, 1.92f},
        {"fit 0 wider window: pillarbox", {800, 600}, {1000, 600}, 0, 1, false, {100, 0}, {800, 600}, 1},
        {"fit 0 taller window: letterbox", {800, 600}, {800, 800}, 0, 1, false, {0, 100}, {800, 600}, 1},
        {"unknown fit type fits inside", {800, 600}, {800, 800}, 7, 1, false, {0, 100}, {800, 600}, 1},
        {"fit 1 crops the sides", {1366, 768}, {1024, 768}, 1, 1, false, {-171, 0}, {1366, 768}, 1},
        {"fit 1 below the minimal aspect", {1366, 768}, {1280, 1024}, 1, 1, false, {-211.2f, 33.4337f},
         {1702.4f, 957.1326f}, 1.246266f},
        {"portrait workspace", {600, 800}, {1000, 800}, 0, 1, true, {200, 0}, {600, 800}, 1},
        {"minimised window", {800, 600}, {0, 0}, 1, 1, false, {0, 0}, {0, 0}, 1},
        {"zero-height window", {800, 600}, {640, 0}, 0, 1, false, {0, 0}, {0, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WorkspaceViewport v = RenderSystem::computeFit(c.source, c.window, c.fit, c.zoom, 1.33f, c.portrait);
        expectNear(v.offset, c.offset, 1e-3f);
        expectNear(v.size, c.size, 1e-3f);
        EXPECT_NEAR(v.scale, c.scale, 1e-5f);
    }
}

TEST(WorkspaceFit, ScreenToWorkspaceStartsAtTheViewportOffsetAndIsUnclamped)
{
    RenderSystem render;
    RenderSettings s;
    s.workspaceWidth = 1366;
    s.workspaceHeight = 768;
    s.fullscreenFitType = 1;
    render.setSettings(s);
    render.setWindowSize(1024, 768);
    Vector2f offset, size;
    float scale = 0;
    render.getWorkspaceViewport(offset, size, scale);
    EXPECT_EQ(offset, Vector2f(-171, 0));
    EXPECT_EQ(render.screenToWorkspace(-171, 0), (Vector2<int32_t>(0, 0)));
    EXPECT_EQ(render.screenToWorkspace(0, 0), (Vector2<int32_t>(171, 0)));
    EXPECT_EQ(render.screenToWorkspace(1200, 800), (Vector2<int32_t>(1371, 800)));

    // Letterboxed: half the window again as large, bars above and below.
    s.fullscreenFitType = 0;
    s.workspaceWidth = 800;
    s.workspaceHeight = 600;
    render.setSettings(s);
    render.setWindowSize(1200, 1000);
    EXPECT_EQ(render.screenToWorkspace(0, 50), (Vector2<int32_t>(0, 0)));
    EXPECT_EQ(render.screenToWorkspace(3, 0), (Vector2<int32_t>(2, -33)));  // truncated toward zero
    EXPECT_EQ(render.screenToWorkspace(1199, 949), (Vector2<int32_t>(799, 599)));

    render.setWindowSize(0, 0);
    EXPECT_EQ(render.screenToWorkspace(10, 10), (Vector2<int32_t>(0, 0)));
}
