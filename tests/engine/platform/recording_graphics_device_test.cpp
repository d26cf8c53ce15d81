// The recording device's simulated failures, which the render device's
// creation, loss and reset paths are tested against.

#include <gtest/gtest.h>

#include "platform/recording_graphics_device.h"

using namespace VQ;

TEST(RecordingGraphicsDevice, CreationFailsAsOftenAsAsked)
{
    RecordingGraphicsDevice device;
    device.failCreations(2);
    EXPECT_EQ(device.create(640, 480, VertexProcessing::Hardware), DeviceResult::Failed);
    EXPECT_EQ(device.create(640, 480, VertexProcessing::Mixed), DeviceResult::Failed);
    EXPECT_EQ(device.create(640, 480, VertexProcessing::Software), DeviceResult::Ok);
    EXPECT_EQ(device.createAttempts(), 3u);
    EXPECT_EQ(device.vertexProcessing(), VertexProcessing::Software);
    EXPECT_EQ(device.viewport().width, 640u);
}

TEST(RecordingGraphicsDevice, LostDeviceIsReportedByPresentThenRestorableAfterItsPolls)
{
    RecordingGraphicsDevice device;
    ASSERT_EQ(device.create(640, 480, VertexProcessing::Hardware), DeviceResult::Ok);
    device.loseDevice(2);
    EXPECT_EQ(device.testCooperativeLevel(), DeviceResult::Ok) << "lost at the next present";
    EXPECT_EQ(device.present(), DeviceResult::DeviceLost);
    EXPECT_EQ(device.testCooperativeLevel(), DeviceResult::DeviceLost);
    EXPECT_EQ(device.reset(640, 480), DeviceResult::DeviceLost);
    EXPECT_EQ(device.testCooperativeLevel(), DeviceResult::DeviceLost);
    EXPECT_EQ(device.testCooperativeLevel(), DeviceResult::DeviceNotReset);
    EXPECT_EQ(device.present(), DeviceResult::DeviceLost);
    EXPECT_EQ(device.reset(800, 600), DeviceResult::Ok);
    EXPECT_EQ(device.testCooperativeLevel(), DeviceResult::Ok);
    EXPECT_EQ(device.present(), DeviceResult::Ok);
    EXPECT_EQ(device.viewport().width, 800u);
}

TEST(RecordingGraphicsDevice, ResetRefusesWhileDefaultPoolObjectsLive)
{
    RecordingGraphicsDevice device;
    ASSERT_EQ(device.create(640, 480, VertexProcessing::Hardware), DeviceResult::Ok);
    GfxTexture* managed = device.createTexture(4, 4, GfxFormat::A8R8G8B8, false);
    GfxTexture* target = device.createTexture(4, 4, GfxFormat::X8R8G8B8, true);
    GfxSurface* depth = device.createDepthStencilSurface(4, 4, GfxFormat::D24S8);
    GfxSurface* back = device.getBackBuffer();
    EXPECT_EQ(device.liveDefaultPoolObjects(), 2u);
    EXPECT_EQ(device.reset(640, 480), DeviceResult::InvalidCall);
    device.release(target);
    device.release(depth);
    EXPECT_EQ(device.reset(640, 480), DeviceResult::InvalidCall) << "back-buffer reference still held";
    device.release(back);
    device.setRenderState(RenderState::StencilEnable, 1);
    EXPECT_EQ(device.reset(640, 480), DeviceResult::Ok) << "managed textures survive a reset";
    EXPECT_EQ(device.renderState(RenderState::StencilEnable), 0u) << "states return to their defaults";

    const auto& events = device.resourceEvents();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[1].kind, "rendertexture");
    EXPECT_FALSE(events[3].created);
    EXPECT_EQ(events[3].kind, "rendertexture");
    device.release(managed);
}

TEST(RecordingGraphicsDevice, LocksFailOnceWhenAskedAndScenesMustPair)
{
    RecordingGraphicsDevice device;
    ASSERT_EQ(device.create(64, 64, VertexProcessing::Hardware), DeviceResult::Ok);
    GfxTexture* t = device.createTexture(4, 4, GfxFormat::DXT5, false);
    uint32_t pitch = 0;
    device.failNextLock();
    EXPECT_EQ(device.lockTexture(t, true, pitch), nullptr);
    ASSERT_NE(device.lockTexture(t, true, pitch), nullptr);
    EXPECT_EQ(pitch, 16u) << "one row of 4x4 blocks";
    device.unlockTexture(t);
    device.release(t);

    device.beginScene();
    device.endScene();
    EXPECT_EQ(device.scenePairingErrors(), 0u);
    device.endScene();
    device.beginScene();
    device.beginScene();
    EXPECT_EQ(device.scenePairingErrors(), 2u);
}
