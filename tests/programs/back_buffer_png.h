#pragma once
// Saves the render device's back buffer as an RGB PNG, for the test
// drivers that capture frames of a headless run.

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image_writers.h"
#include "platform/graphics_device.h"
#include "render_system.h"

// Writes the PNG and says nothing on success; `width` and `height` receive
// the frame's size.
inline bool writeBackBufferPng(const std::string& path, uint32_t& width, uint32_t& height)
{
    std::vector<uint32_t> argb;
    VQ::GraphicsDevice* device = VQ::RenderSystem::instance()->device();
    if (!device || !device->readPixels(argb, width, height)) {
        fprintf(stderr, "frame capture: no frame to read\n");
        return false;
    }
    ImageWriters::PngDescription png;
    png.width = width;
    png.height = height;
    png.colourType = PNG_COLOR_TYPE_RGB;
    for (uint32_t pixel : argb) {
        png.rows.push_back(uint8_t(pixel >> 16));
        png.rows.push_back(uint8_t(pixel >> 8));
        png.rows.push_back(uint8_t(pixel));
    }
    ImageWriters::Bytes bytes;
    std::string error;
    if (!ImageWriters::writePng(png, bytes, error) || !ImageWriters::writeFile(path, bytes)) {
        fprintf(stderr, "frame capture failed: %s\n", error.c_str());
        return false;
    }
    return true;
}

inline bool saveBackBuffer(const std::string& path, uint64_t frameNumber)
{
    uint32_t width = 0;
    uint32_t height = 0;
    if (!writeBackBufferPng(path, width, height))
        return false;
    printf("frame %llu saved to %s (%u x %u)\n", (unsigned long long)frameNumber, path.c_str(), width, height);
    return true;
}
