#pragma once
// The render system the fuzz targets draw with: a 1024 x 768 workspace in a
// window of that size, on the recording device. The device is created
// later, with createDevice, once the managers it needs exist.

#include <memory>

#include "platform/recording_graphics_device.h"
#include "render_system.h"

namespace FuzzSupport {

// Lives until the process ends; `device` receives the recording device.
inline VQ::RenderSystem* newRecordingRenderSystem(VQ::RecordingGraphicsDevice*& device)
{
    auto* render = new VQ::RenderSystem();
    VQ::RenderSettings settings;
    settings.workspaceWidth = 1024;
    settings.workspaceHeight = 768;
    render->setSettings(settings);
    render->setWindowSize(1024, 768);
    auto recording = std::make_unique<VQ::RecordingGraphicsDevice>();
    device = recording.get();
    render->setDevice(std::move(recording));
    return render;
}

}  // namespace FuzzSupport
