#pragma once
// The device a benchmark or test draws on: the recording device, or the
// OpenGL device over a hidden window of its own. Header-only so that the
// benchmarks share it.

#include <epoxy/gl.h>

#include <memory>
#include <string>

#include "platform/graphics_device_gl.h"
#include "platform/recording_graphics_device.h"
#include "gl_test_context.h"

namespace TestSupport {

// Null, with the reason in `error`, when no GL context can be made.
inline std::unique_ptr<VQ::GraphicsDevice> makeTestDevice(bool realDevice, int width, int height,
                                                          std::unique_ptr<GLTestContext>& context, std::string& error)
{
    if (!realDevice)
        return std::make_unique<VQ::RecordingGraphicsDevice>();
    context = std::make_unique<GLTestContext>(width, height);
    if (!context->ok()) {
        error = "no GL context: " + context->error();
        return nullptr;
    }
    return VQ::createGraphicsDeviceGL();
}

// Waits until the device has done the work handed to it (the GL device),
// or forgets what it recorded (the recording device).
inline void settleDevice(VQ::GraphicsDevice* device)
{
    if (auto* recording = dynamic_cast<VQ::RecordingGraphicsDevice*>(device))
        recording->clearRecords();
    else
        glFinish();
}

}  // namespace TestSupport
