#pragma once
// The graphics device on OpenGL 3.3 core (through libepoxy), drawing on the GL
// context current on the calling thread. The back buffer is an off-screen
// framebuffer of the last reset's size; present stretches it over the window
// of the current context and swaps.

#include <memory>

#include "platform/graphics_device.h"

namespace VQ {

std::unique_ptr<GraphicsDevice> createGraphicsDeviceGL();

}  // namespace VQ
