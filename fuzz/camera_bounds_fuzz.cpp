// Feeds arbitrary marker names to the level map camera's bound reader, with
// each of its prefixes before the text and alone, then applies the limits
// and runs a frame: nothing may crash, hang or read past the name, and the
// limits stay in order.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "map_camera.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    MapCamera camera;
    camera.readMarker(text);
    for (const char* prefix : {"#h:bound-hor:", "#h:bound-ver:", "#v:bound-hor:", "#v:bound-ver:", "#over:"})
        camera.readMarker(prefix + text);
    size_t used = 0;
    readCameraValue(text, used);
    if (used > text.size() || used > 31)
        std::abort();
    for (const CameraBounds& b : camera.orientationBounds)
        if (b.xMin > b.xMax || b.yMin > b.yMax)
            std::abort();
    VQ::WorkspaceViewport viewport;
    viewport.offset = {-static_cast<float>(size % 300), 0.0f};
    viewport.scale = 0.5f;
    camera.applyBounds(size % 2 != 0, {1726.0f, 970.0f}, viewport);
    VQ::Vector2f position(0.0f, 0.0f);
    CameraInput input;
    input.wheel = static_cast<int>(size % 3) - 1;
    camera.update(position, 1.0f / 60.0f, input);
    return 0;
}
