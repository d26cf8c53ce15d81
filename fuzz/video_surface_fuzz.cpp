// Feeds arbitrary bytes to a video surface as its resource: the header pass
// of the open (stream-beginning pages, the three Theora headers, the size
// and rate checks), then up to 30 frames decoded on the processor path,
// each taken as uploaded. Seeds: clips of the video generator (video_gen
// --small). The target works in a temporary folder of its own for its log.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "file.h"
#include "fuzz_support.h"
#include "file_system.h"
#include "log_system.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "video_surface.h"

namespace {

const uint8_t* gData = nullptr;
size_t gSize = 0;

// The current input as the resource's file.
class InputFile : public VQ::File {
public:
    int32_t read(void* buffer, int32_t count) override
    {
        const size_t n = std::min(size_t(std::max(count, 0)), gSize - mAt);
        if (n)
            std::memcpy(buffer, gData + mAt, n);
        mAt += n;
        return int32_t(n);
    }
    void close() override {}
    int32_t size() override { return int32_t(gSize); }
    int32_t tell() override { return int32_t(mAt); }
    bool open(const std::string&) override { return true; }

private:
    size_t mAt = 0;
};

class InputReader : public VQ::FileReader {
public:
    VQ::File* open(const std::string& path) override { return path == "fuzz.ogv" ? new InputFile() : nullptr; }
};

void startEngine()
{
    char folder[] = "/tmp/video_surface_fuzz.XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0)
        std::abort();
    new VQ::LogSystem();
    auto* files = new VQ::FileSystem(VQ::FileSystem::Readers::LooseFilesOnly);
    files->addReader(new InputReader());
    files->filesOfPackage("default")["fuzz_video"] = "fuzz.ogv";
    // No device: the shaders cannot be made, so the processor path runs.
    new VQ::RenderSystem();
    new VQ::TextureManager();
    new VQ::SpriteManager<VQ::Sprite>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool started = (startEngine(), true);
    (void)started;
    // Mutated pages keep their checksums, so that the Theora decoder is
    // reached and not only the page layer.
    static std::vector<uint8_t> input;
    input.assign(data, data + size);
    FuzzSupport::repairOggPages(input);
    gData = input.data();
    gSize = input.size();
    {
        VQ::VideoSurface surface;
        if (surface.gpuConversion != 0)
            std::abort();
        if (surface.open("fuzz_video") == 0) {
            // Large frames decode slowly: a few of them show the same paths.
            const int frames = surface.info.width * surface.info.height > (1u << 20) ? 2 : 30;
            for (int i = 0; i < frames && surface.playing && !surface.ended; ++i) {
                surface.decodeFrame();
                surface.uploadFrame();
            }
        }
    }
    VQ::TextureManager::instance()->processQueues();
    return 0;
}
