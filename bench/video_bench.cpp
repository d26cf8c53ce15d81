// The video path on a 640 x 368 clip of the video generator: frames per
// second of the video thread's decoding (processor conversion or plane copy
// included), the processor conversion and the plane copy alone, and the
// upload of one decoded frame into its textures on OpenGL.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "bench_engine.h"
#include "file_system.h"
#include "texture.h"
#include "video_surface.h"
#include "video_writer.h"

namespace {

constexpr uint32_t WIDTH = 640;
constexpr uint32_t HEIGHT = 368;

const std::vector<uint8_t>& benchClip()
{
    static const std::vector<uint8_t> clip = [] {
        VideoGen::Clip description;
        description.width = WIDTH;
        description.height = HEIGHT;
        description.frames = 50;
        description.pixel = [](uint32_t frame, uint32_t x, uint32_t y) {
            return VideoGen::lanternScene(frame, 50, x, y, WIDTH, HEIGHT);
        };
        return VideoGen::encodeTheora(description);
    }();
    return clip;
}

void writeFile(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The clip (and, for the shader path, the yuv2rgb shaders) as resources of
// the engine's working folder.
std::unique_ptr<VQ::FileSystem> videoContent(bool shaders)
{
    const std::vector<uint8_t>& clip = benchClip();
    writeFile("media/clip.ogv", std::string(clip.begin(), clip.end()));
    auto files = std::make_unique<VQ::FileSystem>(VQ::FileSystem::Readers::LooseFilesOnly);
    files->filesOfPackage("default")["bench_clip"] = "clip.ogv";
    if (shaders) {
        for (const char* name : {"yuv2rgb_ps", "yuv2rgb_vs"}) {
            const std::string source = std::string(LANTERRA_SOURCE_DIR) + "/media/shaders/" + name + ".glsl";
            std::filesystem::copy_file(source, std::string("media/") + name + ".glsl");
            files->filesOfPackage("default")[name] = std::string(name) + ".glsl";
        }
    }
    return files;
}

// The video thread's work per frame: decode, then convert (argument 0) or
// copy the planes (1); each frame is taken as uploaded at once.
void BM_VideoThreadFrames(benchmark::State& state)
{
    const bool shaders = state.range(0) == 1;
    std::unique_ptr<TestSupport::GLTestContext> context;
    Bench::Engine engine(Bench::deviceOrSkip(state, false, context));
    std::unique_ptr<VQ::FileSystem> files = videoContent(shaders);
    VQ::VideoSurface surface;
    if (surface.open("bench_clip") != 0 || surface.gpuConversion != (shaders ? 1 : 0)) {
        state.SkipWithError("the clip did not open on the wanted path");
        return;
    }
    surface.looping = true;
    for (auto _ : state) {
        surface.decodeFrame();
        std::lock_guard<std::recursive_mutex> lock(surface.pixelMutex);
        surface.frames->rgb.dirty = surface.frames->luma.dirty = surface.frames->chroma.dirty = false;
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
    state.SetLabel(shaders ? "plane copy" : "processor conversion");
}
BENCHMARK(BM_VideoThreadFrames)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Synthetic 4:2:0 planes of the clip's size.
struct Planes {
    std::vector<uint8_t> y = std::vector<uint8_t>(WIDTH * HEIGHT);
    std::vector<uint8_t> u = std::vector<uint8_t>(WIDTH * HEIGHT / 4);
    std::vector<uint8_t> v = std::vector<uint8_t>(WIDTH * HEIGHT / 4);
    yuv_buffer yuv{};
    Planes()
    {
        for (size_t i = 0; i < y.size(); ++i)
            y[i] = uint8_t(i * 7);
        for (size_t i = 0; i < u.size(); ++i) {
            u[i] = uint8_t(i * 3);
            v[i] = uint8_t(255 - i * 5);
        }
        yuv = {int(WIDTH), int(HEIGHT), int(WIDTH), int(WIDTH / 2), int(HEIGHT / 2), int(WIDTH / 2),
               y.data(), u.data(), v.data()};
    }
};

void BM_ProcessorConversion(benchmark::State& state)
{
    Planes planes;
    std::vector<uint8_t> rgba(WIDTH * HEIGHT * 4);
    for (auto _ : state) {
        VQ::convertYuvToRgba(planes.yuv, rgba.data(), WIDTH, HEIGHT);
        benchmark::DoNotOptimize(rgba.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_ProcessorConversion)->Unit(benchmark::kMicrosecond);

void BM_PlaneCopy(benchmark::State& state)
{
    Planes planes;
    std::vector<uint8_t> luma(WIDTH * HEIGHT), chroma(WIDTH * HEIGHT / 2);
    for (auto _ : state) {
        VQ::copyYuvPlanes(planes.yuv, luma.data(), WIDTH, HEIGHT, chroma.data());
        benchmark::DoNotOptimize(chroma.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_PlaneCopy)->Unit(benchmark::kMicrosecond);

// One decoded frame into its 1024 x 512 textures on OpenGL, waited for:
// RGBA (argument 0), or luma and chroma (1).
void BM_FrameUploadGL(benchmark::State& state)
{
    const bool shaders = state.range(0) == 1;
    std::unique_ptr<TestSupport::GLTestContext> context;
    std::unique_ptr<VQ::GraphicsDevice> device = Bench::deviceOrSkip(state, true, context);
    if (!device)
        return;
    Bench::Engine engine(std::move(device));
    VQ::TextureManager& textures = *engine.textures;
    VQ::Texture* rgb = textures.createEmptyTexture(1024, 512, VQ::TF_A8R8G8B8);
    VQ::Texture* luma = textures.createEmptyTexture(1024, 512, VQ::TF_L8);
    VQ::Texture* chroma = textures.createEmptyTexture(512, 256, VQ::TF_A8L8);
    textures.processQueues();
    std::vector<uint8_t> rgbPixels(WIDTH * HEIGHT * 4, 0x80), lumaPixels(WIDTH * HEIGHT, 0x80),
        chromaPixels(WIDTH * HEIGHT / 2, 0x80);
    for (auto _ : state) {
        if (shaders) {
            VQ::Texture::update(luma, VQ::PIXEL_KIND_L8, lumaPixels.data(), WIDTH, HEIGHT);
            VQ::Texture::update(chroma, VQ::PIXEL_KIND_A8L8, chromaPixels.data(), WIDTH / 2, HEIGHT / 2);
        } else {
            VQ::Texture::update(rgb, 2, rgbPixels.data(), WIDTH, HEIGHT);
        }
        TestSupport::settleDevice(engine.gfx);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
    state.SetLabel(shaders ? "luma and chroma" : "RGBA");
}
BENCHMARK(BM_FrameUploadGL)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
